#include "model/clsInstrument.h"

#include <QDebug>
#include <cmath>
#include <limits>

namespace {

using Kind = clsInstrument::Kind;
using F = clsInstrument::F;

// One row per member, in the order of clsInstrument::M.
const clsInstrument::MemberInfo kMembers[] = {
    {"SerialNo", Kind::Text, 1, 1, true, F::Change_SerialNo, -1, -1, 20},
    {"DummySerial", Kind::Text, 1, 1, true, F::Change_DummySerial, -1, -1, 20},
    {"StationID", Kind::Text, 1, 1, true, F::Change_StationID, -1, -1, 16},
    {"UserID", Kind::Text, 1, 1, true, F::Change_UserID, -1, -1, 16},
    {"RomNumber", Kind::Int32, 1, 1, true, F::Count, -1, -1, 0},
    {"SUM", Kind::Text, 1, 1, true, F::Count, -1, -1, 0},
    {"SpecType", Kind::Text, 1, 1, true, F::Change_SpecType, -1, -1, 0},
    {"CommFlags", Kind::Int16, 1, 1, true, F::Count, -1, -1, 0},
    {"ImportFlag", Kind::Int16, 1, 1, true, F::Count, -1, -1, 0},
    {"FailLine", Kind::Text, 1, 1, true, F::Count, -1, -1, 0},
    {"SysDate", Kind::Date, 1, 1, true, F::Count, -1, -1, 0},
    {"SysDateOffset", Kind::Int64, 1, 1, true, F::Count, -1, -1, 0},
    {"MessageString", Kind::Text, 1, 1, true, F::Count, -1, -1, 0},
    {"Key", Kind::Text, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidWB", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidFL_", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidGN", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidLP", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidHE_", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidFF", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidLO_", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidLB_", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidLA_", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidLI", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidG1", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"invalidLJ", Kind::Bool, 1, 1, true, F::Count, -1, -1, 0},
    {"InvalidIF", Kind::Bool, 1, 1, true, F::Change_invalidIF, -1, -1, 0},
    {"AlarmMode", Kind::Int16, 1, 1, true, F::Change_AlarmMode, -1, -1, 0},
    {"Intervals", Kind::Int16, 1, 1, true, F::Change_Interval, -1, -1, 0},
    {"DispID", Kind::Int16, 1, 1, true, F::Change_DispID, -1, -1, 0},
    {"DispCalLimit", Kind::Int16, 1, 1, true, F::Change_DispCalLimit, -1, -1, 0},
    {"CalCheck", Kind::Int16, 1, 1, true, F::Change_CalCheck, -1, -1, 0},
    {"CalLimit", Kind::Int16, 1, 1, true, F::Change_CalLimit, -1, -1, 0},
    {"LunchBreak", Kind::Int16, 1, 1, true, F::Change_LunchBreak, -1, -1, 0},
    {"AlarmSilence", Kind::Int16, 1, 1, true, F::Change_AlarmSilence, -1, -1, 0},
    {"Confermation", Kind::Int16, 1, 1, true, F::Change_Confermation, -1, -1, 0},
    {"LogOverWrite", Kind::Int16, 1, 1, true, F::Change_LogOverWrite, -1, -1, 0},
    {"LcdBackLight", Kind::Int16, 1, 1, true, F::Change_LcdBackLight, -1, -1, 0},
    {"LcdContrast", Kind::Int16, 1, 1, true, F::Change_LcdContrast, -1, -1, 0},
    {"AlarmO2", Kind::Int16, 1, 1, true, F::Change_AlarmO2, -1, -1, 0},
    {"HcMode", Kind::Int16, 1, 1, true, F::Change_HCMode, -1, -1, 0},
    {"CurrHc", Kind::Int16, 1, 1, true, F::Change_CurrHc, -1, -1, 0},
    {"LogaClear", Kind::Int16, 1, 1, true, F::Change_logaClear, -1, -1, 0},
    {"LBMode", Kind::Int16, 1, 1, true, F::Change_LBmode, -1, -1, 0},
    {"BarHoleTime", Kind::Int16, 1, 1, true, F::Change_BarHoleTime, -1, -1, 0},
    {"LeakBeep", Kind::Int16, 1, 1, true, F::Change_LeakBeep, -1, -1, 0},
    {"IRRange", Kind::Int16, 1, 1, true, F::Change_IRRange, -1, -1, 0},
    {"UsePasswd", Kind::Int16, 1, 1, true, F::Change_UsePasswd, -1, -1, 0},
    {"Password", Kind::Text, 1, 1, true, F::Change_Password, -1, -1, 0},
    {"AutoZero", Kind::Int16, 1, 1, true, F::Change_AutoZero, -1, -1, 0},
    {"ConvFc", Kind::Int16, 1, 1, true, F::Change_ConvFc, -1, -1, 0},
    {"Battery", Kind::Int16, 1, 1, true, F::Change_Battery, -1, -1, 0},
    {"DemandZero", Kind::Int16, 1, 1, true, F::Change_DemandZero, -1, -1, 0},
    {"DispSpanFc", Kind::Int16, 1, 1, true, F::Change_DispSpanFc, -1, -1, 0},
    {"LogoDisp", Kind::Int16, 1, 1, true, F::Change_LogoDisp, -1, -1, 0},
    {"MEDisp", Kind::Int16, 1, 1, true, F::Change_MEDisp, -1, -1, 0},
    {"AliveDisp", Kind::Int16, 1, 1, true, F::Change_AliveDisp, -1, -1, 0},
    {"RemainTimeDisp", Kind::Int16, 1, 1, true, F::Change_RemainTimeDisp, -1, -1, 0},
    {"AFapDisp", Kind::Int16, 1, 1, true, F::Change_AFapDisp, -1, -1, 0},
    {"UIgasDisp", Kind::Int16, 1, 1, true, F::Change_UIgasDisp, -1, -1, 0},
    {"UWdateDisp", Kind::Int16, 1, 1, true, F::Change_UWdateDisp, -1, -1, 0},
    {"BNuserLogoName", Kind::Text, 1, 1, true, F::Change_BNuserLogoName, -1, -1, 0},
    {"CATOtherEV", Kind::Int16, 1, 1, true, F::Change_CATOtherEV, -1, -1, 0},
    {"InertOnOff", Kind::Int16, 1, 1, true, F::Change_InertOnOff, -1, -1, 0},
    {"CATOtherSelect", Kind::Int16, 1, 1, true, F::Change_CATOtherSelect, -1, -1, 0},
    {"CATOther", Kind::Text, 1, 1, true, F::Change_CATOther, -1, -1, 0},
    {"TCOther", Kind::Text, 1, 1, true, F::Change_TCOther, -1, -1, 0},
    {"CATppm1st", Kind::Int32, 1, 1, true, F::Change_CATppm1, -1, -1, 0},
    {"CATppm2nd", Kind::Int32, 1, 1, true, F::Change_CATppm2, -1, -1, 0},
    {"CATvol1st", Kind::Single, 1, 1, true, F::Change_CATvol1, -1, -1, 0},
    {"CATvol2nd", Kind::Single, 1, 1, true, F::Change_CATvol2, -1, -1, 0},
    {"Inert1st", Kind::Single, 1, 1, true, F::Change_Inert1st, -1, -1, 0},
    {"Inert2nd", Kind::Single, 1, 1, true, F::Change_Inert2nd, -1, -1, 0},
    {"LN_", Kind::Int16, 1, 1, true, F::Change_LN_, -1, -1, 0},
    {"GasName", Kind::Text, 10, 1, false, F::Change_GasName, 4, 6, 0},
    {"GasUnit", Kind::Text, 10, 1, false, F::Change_GasUnit, 4, 6, 0},
    {"GasFullScale", Kind::Single, 10, 1, false, F::Change_GasFullScale, 4, 6, 0},
    {"GasDesit", Kind::Single, 10, 1, false, F::Change_GasDesit, 4, 6, 0},
    {"GasPoint", Kind::Int16, 10, 1, false, F::Change_GasPoint, 4, 6, 0},
    {"GasEnabled", Kind::Int16, 10, 1, false, F::Change_GasEnable, 4, 6, 0},
    {"GasType", Kind::Int16, 10, 1, false, F::Change_GasType, -1, -1, 0},
    {"AutoCalib", Kind::Single, 10, 1, false, F::Change_AutoCal, 4, 6, 0},
    {"Ratio", Kind::Single, 10, 1, false, F::Count, 4, 6, 0},
    {"CalibBefore", Kind::Single, 10, 1, false, F::Count, -1, -1, 0},
    {"CalibAfter", Kind::Single, 10, 1, false, F::Count, -1, -1, 0},
    {"CalibDate", Kind::Date, 10, 1, false, F::Count, -1, -1, 0},
    {"Zero", Kind::Int16, 10, 1, false, F::Change_Zero, 4, 6, 0},
    {"ZeroForce", Kind::Int16, 10, 1, false, F::Change_ZeroForce, 4, 6, 0},
    {"AltRng", Kind::Int16, 10, 1, false, F::Change_AltRng, -1, -1, 0},
    {"PIDSmallRange", Kind::Int16, 10, 1, false, F::Change_PIDSmallRange, -1, -1, 0},
    {"AutoRange", Kind::Int16, 10, 1, false, F::Count, -1, -1, 0},
    {"changeDenst", Kind::Single, 10, 1, false, F::Count, -1, -1, 0},
    {"Warning", Kind::Single, 11, 1, true, F::Change_Warn, 4, 6, 0},
    {"Alarm", Kind::Single, 11, 1, true, F::Change_Alarm, 4, 6, 0},
    {"Stel", Kind::Single, 11, 1, true, F::Change_Stel, 4, 6, 0},
    {"Twa", Kind::Single, 11, 1, true, F::Change_Twa, 4, 6, 0},
    {"XS_", Kind::Text, 129, 1, true, F::Change_XS_, -1, -1, 0},
    {"XZ_", Kind::Text, 33, 1, true, F::Change_XZ_, -1, -1, 0},
    {"XV_", Kind::Int16, 3, 1, true, F::Change_XV_, -1, -1, 0},
    {"UG_", Kind::Int16, 8, 1, true, F::Change_UG_, -1, -1, 0},
    {"HH_", Kind::Int16, 3, 1, true, F::Change_HH_, -1, -1, 0},
    {"HE_", Kind::Int16, 4, 1, true, F::Change_HE_, -1, -1, 0},
    {"RP_", Kind::Int16, 3, 1, true, F::Change_RP_, -1, -1, 0},
    {"SI_", Kind::Int16, 5, 1, true, F::Change_SI_, -1, -1, 0},
    {"SZ_", Kind::Int16, 10, 1, true, F::Count, -1, -1, 0},
    {"S1_", Kind::Int16, 8, 1, true, F::Count, -1, -1, 0},
    {"G1_", Kind::Text, 7, 1, true, F::Change_G1_, 2, 4, 0},
    {"FL_", Kind::Int32, 5, 1, true, F::Change_FL_, -1, -1, 0},
    {"AnalogValue", Kind::Int32, 27, 1, true, F::Count, -1, -1, 0},
    {"LO_longname", Kind::Text, 6, 1, true, F::Change_LO_, -1, -1, 0},
    {"LO_name", Kind::Text, 6, 1, true, F::Change_LO_, -1, -1, 0},
    {"LO_fc", Kind::Int16, 6, 1, true, F::Change_LO_, -1, -1, 0},
    {"LB_longname", Kind::Text, 31, 1, true, F::Change_LB_, -1, -1, 0},
    {"LB_name", Kind::Text, 31, 1, true, F::Change_LB_, -1, -1, 0},
    {"LB_fc", Kind::Int16, 31, 1, true, F::Change_LB_, -1, -1, 0},
    {"LA_warn", Kind::Single, 36, 1, true, F::Change_LA_, -1, -1, 0},
    {"LA_alarm", Kind::Single, 36, 1, true, F::Change_LA_, -1, -1, 0},
    {"LA_ratio", Kind::Single, 36, 1, true, F::Change_LA_, -1, -1, 0},
    {"LA_volt", Kind::Single, 36, 1, true, F::Change_LA_, -1, -1, 0},
    {"PIDName", Kind::Text, 17, 1, false, F::Change_PIDName, -1, -1, 0},
    {"PIDLongName", Kind::Text, 17, 1, false, F::Change_PIDName, -1, -1, 0},
    {"PIDUnit", Kind::Text, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
    {"PIDPoint", Kind::Int16, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
    {"PIDFullScale", Kind::Single, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
    {"PIDDigit", Kind::Single, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
    {"PIDWarn", Kind::Single, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
    {"PIDAlarm", Kind::Single, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
    {"PIDStel", Kind::Single, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
    {"PIDTwa", Kind::Single, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
    {"PIDAutoCal", Kind::Single, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
    {"PIDFactor", Kind::Single, 17, 2, false, F::Change_PIDSpec, -1, -1, 0},
};

const clsInstrument::FlagInfo kFlags[] = {
    {"Change_SerialNo", 1, 1},
    {"Change_DummySerial", 1, 1},
    {"Change_StationID", 1, 1},
    {"Change_UserID", 1, 1},
    {"Change_SpecType", 1, 1},
    {"Change_invalidIF", 1, 1},
    {"Change_AlarmMode", 1, 1},
    {"Change_Interval", 1, 1},
    {"Change_DispID", 1, 1},
    {"Change_DispCalLimit", 1, 1},
    {"Change_CalCheck", 1, 1},
    {"Change_CalLimit", 1, 1},
    {"Change_LunchBreak", 1, 1},
    {"Change_AlarmSilence", 1, 1},
    {"Change_Confermation", 1, 1},
    {"Change_LogOverWrite", 1, 1},
    {"Change_LcdBackLight", 1, 1},
    {"Change_LcdContrast", 1, 1},
    {"Change_AlarmO2", 1, 1},
    {"Change_HCMode", 1, 1},
    {"Change_CurrHc", 1, 1},
    {"Change_logaClear", 1, 1},
    {"Change_LBmode", 1, 1},
    {"Change_BarHoleTime", 1, 1},
    {"Change_LeakBeep", 1, 1},
    {"Change_IRRange", 1, 1},
    {"Change_UsePasswd", 1, 1},
    {"Change_Password", 1, 1},
    {"Change_AutoZero", 1, 1},
    {"Change_ConvFc", 1, 1},
    {"Change_Battery", 1, 1},
    {"Change_DemandZero", 1, 1},
    {"Change_DispSpanFc", 1, 1},
    {"Change_LogoDisp", 1, 1},
    {"Change_MEDisp", 1, 1},
    {"Change_AliveDisp", 1, 1},
    {"Change_RemainTimeDisp", 1, 1},
    {"Change_AFapDisp", 1, 1},
    {"Change_UIgasDisp", 1, 1},
    {"Change_UWdateDisp", 1, 1},
    {"Change_BNuserLogoName", 1, 1},
    {"Change_CATOtherEV", 1, 1},
    {"Change_InertOnOff", 1, 1},
    {"Change_CATOtherSelect", 1, 1},
    {"Change_CATOther", 1, 1},
    {"Change_TCOther", 1, 1},
    {"Change_CATppm1", 1, 1},
    {"Change_CATppm2", 1, 1},
    {"Change_CATvol1", 1, 1},
    {"Change_CATvol2", 1, 1},
    {"Change_Inert1st", 1, 1},
    {"Change_Inert2nd", 1, 1},
    {"Change_LN_", 1, 1},
    {"Change_GasName", 10, 1},
    {"Change_GasUnit", 10, 1},
    {"Change_GasFullScale", 10, 1},
    {"Change_GasDesit", 10, 1},
    {"Change_GasPoint", 10, 1},
    {"Change_GasEnable", 10, 1},
    {"Change_GasType", 1, 1},
    {"Change_AutoCal", 10, 1},
    {"Change_Zero", 10, 1},
    {"Change_ZeroForce", 10, 1},
    {"Change_AltRng", 10, 1},
    {"Change_PIDSmallRange", 10, 1},
    {"Change_Warn", 11, 1},
    {"Change_Alarm", 11, 1},
    {"Change_Stel", 11, 1},
    {"Change_Twa", 11, 1},
    {"Change_XS_", 129, 1},
    {"Change_XZ_", 33, 1},
    {"Change_XV_", 3, 1},
    {"Change_UG_", 8, 1},
    {"Change_HH_", 3, 1},
    {"Change_HE_", 4, 1},
    {"Change_RP_", 3, 1},
    {"Change_SI_", 5, 1},
    {"Change_G1_", 7, 1},
    {"Change_FL_", 5, 1},
    {"Change_LO_", 6, 1},
    {"Change_LB_", 31, 1},
    {"Change_LA_", 36, 1},
    {"Change_PIDName", 17, 1},
    {"Change_PIDSpec", 17, 2},
    {"Change_SubBoard", 1, 1},
};

static_assert(std::size(kMembers) == size_t(clsInstrument::M::Count), "one row per member");
static_assert(std::size(kFlags) == size_t(clsInstrument::F::Count), "one row per flag");

bool isNumeric(Kind k) { return k != Kind::Text && k != Kind::Date; }

// A blank text of a member with a width rule reads and stores as that many blanks.
QString applyBlankRule(const QString &v, int width)
{
    if (width > 0 && v.trimmed().isEmpty())
        return QString(width, QLatin1Char(' '));
    return v;
}

} // namespace

const clsInstrument::MemberInfo &clsInstrument::info(M m) { return kMembers[size_t(m)]; }
const clsInstrument::FlagInfo &clsInstrument::info(F f) { return kFlags[size_t(f)]; }

std::optional<clsInstrument::M> clsInstrument::memberByName(const QString &name)
{
    for (size_t k = 0; k < std::size(kMembers); ++k)
        if (name == QLatin1String(kMembers[k].name))
            return M(k);
    return std::nullopt;
}

std::optional<clsInstrument::F> clsInstrument::flagByName(const QString &name)
{
    for (size_t k = 0; k < std::size(kFlags); ++k)
        if (name == QLatin1String(kFlags[k].name))
            return F(k);
    return std::nullopt;
}

clsInstrument::clsInstrument()
{
    for (size_t k = 0; k < m_members.size(); ++k) {
        const MemberInfo &mi = kMembers[k];
        const size_t n = size_t(mi.count1) * size_t(mi.count2);
        if (mi.kind == Kind::Text)
            m_members[k].txt.assign(n, QString());
        else if (mi.kind == Kind::Date)
            m_members[k].dat.assign(n, QDateTime());
        else
            m_members[k].num.assign(n, 0.0);
    }
    for (size_t k = 0; k < m_flags.size(); ++k)
        m_flags[k].assign(size_t(kFlags[k].count1) * size_t(kFlags[k].count2), false);
    ClearDatas();
}

clsInstrument::clsInstrument(const clsInstrument &other)
    : m_members(other.m_members), m_flags(other.m_flags), m_lastError(other.m_lastError)
{
}

clsInstrument &clsInstrument::operator=(const clsInstrument &other)
{
    if (this != &other) {
        m_members = other.m_members;
        m_flags = other.m_flags;
        m_lastError = other.m_lastError;
    }
    return *this;
}

void clsInstrument::ClearDatas()
{
    for (size_t k = 0; k < m_members.size(); ++k) {
        const M m = M(k);
        // These describe the session rather than the instrument; their owners reset them.
        if (m == M::GasFullScale || m == M::CommFlags || m == M::ImportFlag)
            continue;
        Slot &s = m_members[k];
        std::fill(s.num.begin(), s.num.end(), 0.0);
        std::fill(s.txt.begin(), s.txt.end(), QString());
        std::fill(s.dat.begin(), s.dat.end(), QDateTime());
    }
    m_members[size_t(M::InvalidIF)].num[0] = -1.0;
    m_members[size_t(M::XV_)].num[0] = 1.0;
    m_members[size_t(M::XV_)].num[1] = 1.0;
    ClearChangeFlags();
}

void clsInstrument::SetChangeFlags(bool Value)
{
    for (size_t k = 0; k < m_flags.size(); ++k) {
        if (F(k) == F::Change_SerialNo || F(k) == F::Change_DummySerial)
            continue;
        std::fill(m_flags[k].begin(), m_flags[k].end(), Value);
    }
}

void clsInstrument::ClearChangeFlags()
{
    for (auto &f : m_flags)
        std::fill(f.begin(), f.end(), false);
}

bool clsInstrument::AnyChangeFlag() const
{
    for (const auto &f : m_flags)
        for (bool b : f)
            if (b)
                return true;
    return false;
}

void clsInstrument::refuse(const QString &what) const
{
    m_lastError = what;
    qWarning().noquote() << "clsInstrument:" << what;
}

int clsInstrument::slotIndex(M m, int i, int j, bool write) const
{
    if (size_t(m) >= size_t(M::Count))
        return -1;
    const MemberInfo &mi = kMembers[size_t(m)];
    if (j < 0 || j >= mi.count2) {
        refuse(QStringLiteral("%1(%2, %3): range outside 0 to %4")
                   .arg(QLatin1String(mi.name)).arg(i).arg(j).arg(mi.count2 - 1));
        return -1;
    }
    if (i < 0 || i >= mi.count1) {
        if (mi.outsideIsError)
            refuse(QStringLiteral("%1(%2): %3 outside 0 to %4")
                       .arg(QLatin1String(mi.name)).arg(i)
                       .arg(write ? QStringLiteral("write") : QStringLiteral("read"))
                       .arg(mi.count1 - 1));
        return -1;
    }
    return i * mi.count2 + j;
}

void clsInstrument::raise(M m, int i, int j)
{
    if (m_deviceDepth > 0)
        return;
    const MemberInfo &mi = kMembers[size_t(m)];
    if (mi.flag != F::Count) {
        const FlagInfo &fi = kFlags[size_t(mi.flag)];
        // A flag with one entry covers every index of its members (Change_GasType).
        const int fi1 = fi.count1 == 1 ? 0 : i;
        const int fj = fi.count2 == 1 ? 0 : j;
        m_flags[size_t(mi.flag)][size_t(fi1 * fi.count2 + fj)] = true;
    }
    if (mi.subBoardFrom >= 0 && i >= mi.subBoardFrom && i <= mi.subBoardTo)
        m_flags[size_t(F::Change_SubBoard)][0] = true;
}

double clsInstrument::number(M m, int i, int j) const
{
    const int k = slotIndex(m, i, j, false);
    if (k < 0 || !isNumeric(kMembers[size_t(m)].kind))
        return 0.0;
    return m_members[size_t(m)].num[size_t(k)];
}

bool clsInstrument::setNumber(M m, double v, int i, int j)
{
    const int k = slotIndex(m, i, j, true);
    if (k < 0)
        return false;
    const MemberInfo &mi = kMembers[size_t(m)];
    double lo = 0, hi = 0;
    switch (mi.kind) {
    case Kind::Int16: lo = std::numeric_limits<int16_t>::min(); hi = std::numeric_limits<int16_t>::max(); break;
    case Kind::Int32: lo = std::numeric_limits<int32_t>::min(); hi = std::numeric_limits<int32_t>::max(); break;
    case Kind::Int64: lo = -9007199254740992.0; hi = 9007199254740992.0; break; // exact in a double
    case Kind::Single:
        if (std::isfinite(v) && std::fabs(v) > double(std::numeric_limits<float>::max())) {
            refuse(QStringLiteral("%1: %2 outside single precision").arg(QLatin1String(mi.name), QString::number(v, 'g', 17)));
            return false;
        }
        v = double(float(v));
        break;
    case Kind::Bool: v = (v != 0) ? -1.0 : 0.0; break;
    case Kind::Text:
    case Kind::Date:
        refuse(QStringLiteral("%1 is not a number").arg(QLatin1String(mi.name)));
        return false;
    }
    if (mi.kind == Kind::Int16 || mi.kind == Kind::Int32 || mi.kind == Kind::Int64) {
        if (!std::isfinite(v) || v != std::trunc(v) || v < lo || v > hi) {
            refuse(QStringLiteral("%1: %2 does not fit the member").arg(QLatin1String(mi.name), QString::number(v, 'g', 17)));
            return false;
        }
    }
    m_members[size_t(m)].num[size_t(k)] = v;
    raise(m, i, j);
    return true;
}

QString clsInstrument::text(M m, int i, int j) const
{
    const int k = slotIndex(m, i, j, false);
    if (k < 0 || kMembers[size_t(m)].kind != Kind::Text)
        return QString();
    return applyBlankRule(m_members[size_t(m)].txt[size_t(k)], kMembers[size_t(m)].blankWidth);
}

bool clsInstrument::setText(M m, const QString &v, int i, int j)
{
    const int k = slotIndex(m, i, j, true);
    if (k < 0)
        return false;
    const MemberInfo &mi = kMembers[size_t(m)];
    if (mi.kind != Kind::Text) {
        refuse(QStringLiteral("%1 is not a text").arg(QLatin1String(mi.name)));
        return false;
    }
    m_members[size_t(m)].txt[size_t(k)] = applyBlankRule(v, mi.blankWidth);
    raise(m, i, j);
    return true;
}

QDateTime clsInstrument::date(M m, int i, int j) const
{
    const int k = slotIndex(m, i, j, false);
    if (k < 0 || kMembers[size_t(m)].kind != Kind::Date)
        return QDateTime();
    return m_members[size_t(m)].dat[size_t(k)];
}

bool clsInstrument::setDate(M m, const QDateTime &v, int i, int j)
{
    const int k = slotIndex(m, i, j, true);
    if (k < 0)
        return false;
    if (kMembers[size_t(m)].kind != Kind::Date) {
        refuse(QStringLiteral("%1 is not a date").arg(QLatin1String(kMembers[size_t(m)].name)));
        return false;
    }
    m_members[size_t(m)].dat[size_t(k)] = v;
    raise(m, i, j);
    return true;
}

QVariant clsInstrument::value(M m, int i, int j) const
{
    if (size_t(m) >= size_t(M::Count))
        return QVariant();
    switch (kMembers[size_t(m)].kind) {
    case Kind::Int16:
    case Kind::Int32: return QVariant(int(number(m, i, j)));
    case Kind::Int64: return QVariant(qint64(number(m, i, j)));
    case Kind::Single: return QVariant(float(number(m, i, j)));
    case Kind::Bool: return QVariant(number(m, i, j) != 0);
    case Kind::Text: return QVariant(text(m, i, j));
    case Kind::Date: return QVariant(date(m, i, j));
    }
    return QVariant();
}

bool clsInstrument::setValue(M m, const QVariant &v, int i, int j)
{
    if (size_t(m) >= size_t(M::Count))
        return false;
    const MemberInfo &mi = kMembers[size_t(m)];
    switch (mi.kind) {
    case Kind::Text:
        return setText(m, v.toString(), i, j);
    case Kind::Date:
        if (!v.canConvert<QDateTime>()) {
            refuse(QStringLiteral("%1: not a date").arg(QLatin1String(mi.name)));
            return false;
        }
        return setDate(m, v.toDateTime(), i, j);
    case Kind::Bool:
        return setNumber(m, v.toBool() ? -1.0 : 0.0, i, j);
    default: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok) {
            refuse(QStringLiteral("%1: %2 is not a number").arg(QLatin1String(mi.name), v.toString()));
            return false;
        }
        return setNumber(m, d, i, j);
    }
    }
}

bool clsInstrument::flag(F f, int i, int j) const
{
    if (size_t(f) >= size_t(F::Count))
        return false;
    const FlagInfo &fi = kFlags[size_t(f)];
    if (i < 0 || i >= fi.count1 || j < 0 || j >= fi.count2)
        return false;
    return m_flags[size_t(f)][size_t(i * fi.count2 + j)];
}

void clsInstrument::setFlag(F f, bool v, int i, int j)
{
    if (size_t(f) >= size_t(F::Count))
        return;
    const FlagInfo &fi = kFlags[size_t(f)];
    if (i < 0 || i >= fi.count1 || j < 0 || j >= fi.count2) {
        refuse(QStringLiteral("%1(%2, %3): outside its bounds").arg(QLatin1String(fi.name)).arg(i).arg(j));
        return;
    }
    m_flags[size_t(f)][size_t(i * fi.count2 + j)] = v;
}

bool clsInstrument::isChanged(M m, int i, int j) const
{
    if (size_t(m) >= size_t(M::Count))
        return false;
    const F f = kMembers[size_t(m)].flag;
    if (f == F::Count)
        return false;
    const FlagInfo &fi = kFlags[size_t(f)];
    return flag(f, fi.count1 == 1 ? 0 : i, fi.count2 == 1 ? 0 : j);
}
