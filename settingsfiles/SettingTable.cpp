#include "settingsfiles/SettingTable.h"

#include "model/Rounding.h"
#include "model/modGasCommon.h"
#include "settingsfiles/FieldCodec.h"

#include <QHash>
#include <cmath>

namespace SettingLines::detail {

using namespace FieldCodec;

bool setNum(clsInstrument &r, M m, double v, int i, int j, QString *why)
{
    const clsInstrument::Kind k = clsInstrument::info(m).kind;
    if (k == clsInstrument::Kind::Int16 || k == clsInstrument::Kind::Int32 || k == clsInstrument::Kind::Int64)
        v = RoundHalfEven(v);
    r.clearLastError();
    if (r.setNumber(m, v, i, j))
        return true;
    if (why)
        *why = r.lastError().isEmpty() ? QStringLiteral("%1 refused %2").arg(QLatin1String(clsInstrument::info(m).name)).arg(v)
                                       : r.lastError();
    return false;
}

bool setTxt(clsInstrument &r, M m, const QString &v, int i, int j, QString *why)
{
    r.clearLastError();
    if (r.setText(m, v, i, j))
        return true;
    if (why)
        *why = r.lastError();
    return false;
}

namespace {

// ---- field lists
// A text field is as wide as its member (clsInstrument::info).
Field F(Enc enc, M m, int i = 0, int j = 0, Scale s = Scale::None)
{
    return Field{enc, m, i, j, s, clsInstrument::info(m).width, false};
}

Fields channels(Enc enc, M m, std::initializer_list<int> chs, Scale s = Scale::None)
{
    Fields out;
    for (int ch : chs)
        out << F(enc, m, ch, 0, s);
    return out;
}
constexpr std::initializer_list<int> kCh06 = {0, 1, 2, 3, 4, 5, 6};
constexpr std::initializer_list<int> kChOpt = {0, 4, 5, 6};

Fields fXZ(int e) { return {F(Enc::Text, M::XZ_, e)}; }
Fields fXS(int e) { return {F(Enc::Text, M::XS_, e)}; }
Fields fLO(int e)
{
    return {F(Enc::Text, M::LO_longname, e), F(Enc::Text, M::LO_name, e),
            F(Enc::Factor, M::LO_fc, e)};
}
Fields fLN(int) { return {F(Enc::Hex2, M::LN_)}; }
Fields fLB(int e)
{
    return {F(Enc::Text, M::LB_longname, e), F(Enc::Text, M::LB_name, e),
            F(Enc::Factor, M::LB_fc, e)};
}
Fields fLA(int e)
{
    return {F(Enc::LaLevel, M::LA_warn, e), F(Enc::LaLevel, M::LA_alarm, e), F(Enc::Hex4, M::LA_ratio, e),
            F(Enc::Real, M::LA_volt, e)};
}
Fields fLS(int e)
{
    return {F(Enc::Text, M::PIDLongName, e), F(Enc::TextUpper, M::PIDName, e)};
}
Fields pidRange(int e, int j)
{
    Field point = F(Enc::Dec, M::PIDPoint, e, j);
    point.first = true;
    return {F(Enc::Value, M::PIDFullScale, e, j, Scale::Pid), point, F(Enc::Unit, M::PIDUnit, e, j),
            F(Enc::Small, M::PIDDigit, e, j, Scale::Pid), F(Enc::Value, M::PIDWarn, e, j, Scale::Pid),
            F(Enc::Value, M::PIDAlarm, e, j, Scale::Pid), F(Enc::Value, M::PIDStel, e, j, Scale::Pid),
            F(Enc::Value, M::PIDTwa, e, j, Scale::Pid), F(Enc::Value, M::PIDAutoCal, e, j, Scale::Pid),
            F(Enc::Value, M::PIDFactor, e, j, Scale::Pid)};
}
Fields fLI(int e) { return pidRange(e, 1); }
Fields fLJ(int e) { return pidRange(e, 0); }

Fields fXV(int) { return {F(Enc::Hex2, M::XV_, 0), F(Enc::Hex2, M::XV_, 1)}; }
Fields fOC(int) { return {F(Enc::Dec, M::CATOtherSelect)}; }
Fields fGN(int)
{
    return {F(Enc::Text, M::GasName), F(Enc::Text, M::CATOther),
            F(Enc::Text, M::GasName, 4), F(Enc::Text, M::GasName, 5),
            F(Enc::Text, M::GasName, 6), F(Enc::Text, M::TCOther)};
}
Fields fGP(int) { return channels(Enc::Dec, M::GasPoint, kCh06); }
Fields fGF(int) { return channels(Enc::Value, M::GasFullScale, kChOpt, Scale::Channel); }
Fields fGD(int) { return channels(Enc::Small, M::GasDesit, kChOpt, Scale::Channel); }
Fields fGU(int) { return channels(Enc::Unit, M::GasUnit, kChOpt); }
Fields fGJ(int)
{
    Fields out;
    for (int ch : kCh06)
        out << F(Enc::TextKeep, M::GasName, ch) << F(Enc::Value, M::GasFullScale, ch, 0, Scale::Channel)
            << F(Enc::Small, M::GasDesit, ch, 0, Scale::Channel) << F(Enc::UnitHexRead, M::GasUnit, ch);
    return out;
}
Fields fUG(int) { return channels(Enc::DigitChar, M::UG_, kCh06); }
Fields fUS(int)
{
    Fields out = channels(Enc::ZeroOrAt, M::ZeroForce, kCh06);
    out[1].enc = Enc::AtOnly;
    return out;
}
Fields one(M m) { return {F(Enc::Dec, m)}; }
Fields fAP(int) { return one(M::AlarmMode); }
Fields fXP(int) { return {F(Enc::Interval, M::Intervals)}; }
Fields fXI(int) { return {F(Enc::Flag, M::DispID)}; }
Fields fSD(int) { return {F(Enc::Flag, M::DispCalLimit)}; }
Fields fSM(int) { return one(M::CalCheck); }
Fields fSC(int) { return {F(Enc::Hex4Raw, M::CalLimit)}; }
Fields fXL(int) { return one(M::LunchBreak); }
Fields fXA(int) { return one(M::AlarmSilence); }
Fields fXB(int) { return one(M::Confermation); }
Fields fXW(int) { return one(M::LogOverWrite); }
Fields fXT(int) { return {F(Enc::Hex2, M::LcdBackLight)}; }
Fields fUL(int) { return {F(Enc::HexPlain, M::LcdContrast)}; }
Fields fIT(int) { return channels(Enc::TypeOrAt, M::GasType, kCh06); }
Fields fA1(int) { return channels(Enc::Value, M::Warning, kCh06, Scale::Channel); }
Fields fA2(int) { return channels(Enc::Value, M::Alarm, kCh06, Scale::Channel); }
Fields fAS(int) { return channels(Enc::Value, M::Stel, kCh06, Scale::Channel); }
Fields fAW(int) { return channels(Enc::Value, M::Twa, kCh06, Scale::Channel); }
Fields fWB(int) { return {F(Enc::Dec, M::LBMode), F(Enc::Dec, M::BarHoleTime), F(Enc::Dec, M::LeakBeep)}; }
Fields fFL(int)
{
    return {F(Enc::Hex4, M::FL_, 0), F(Enc::Hex4, M::FL_, 1), F(Enc::Hex4, M::FL_, 2), F(Enc::Hex4, M::FL_, 3)};
}
Fields fFH(int) { return one(M::CATOtherEV); }
Fields fSA(int) { return channels(Enc::Value, M::AutoCalib, kCh06, Scale::Channel); }
Fields fUZ(int) { return channels(Enc::Dec, M::Zero, kCh06); }
Fields fAT(int) { return one(M::AlarmO2); }
Fields fUJ(int) { return {F(Enc::TextRaw, M::SpecType)}; }
Fields fLP(int) { return {F(Enc::Dec, M::HcMode), F(Enc::Dec, M::CurrHc)}; }
Fields fXC(int) { return one(M::LogaClear); }
Fields fAC(int)
{
    return {F(Enc::Value, M::CATppm1st, 0, 0, Scale::CatPpm), F(Enc::Value, M::CATppm2nd, 0, 0, Scale::CatPpm),
            F(Enc::Value, M::CATvol1st, 0, 0, Scale::CatVol), F(Enc::Value, M::CATvol2nd, 0, 0, Scale::CatVol)};
}
Fields fHH(int) { return {F(Enc::Hex2, M::HH_, 0), F(Enc::Hex2, M::HH_, 1)}; }
Fields fHE(int) { return {F(Enc::Hex2, M::HE_, 0), F(Enc::Hex2, M::HE_, 1), F(Enc::Hex2, M::HE_, 2)}; }
Fields fSJ(int) { return one(M::AutoZero); }
Fields fLF(int) { return one(M::ConvFc); }
Fields fIF(int) { return one(M::InertOnOff); }
Fields fI1(int) { return {F(Enc::Value, M::Inert1st, 0, 0, Scale::Inert)}; }
Fields fI2(int) { return {F(Enc::Value, M::Inert2nd, 0, 0, Scale::Inert)}; }
Fields fUV(int) { return one(M::LogoDisp); }
Fields fAF(int) { return one(M::AFapDisp); }
Fields fUI(int) { return one(M::UIgasDisp); }
Fields fUW(int) { return one(M::UWdateDisp); }
Fields fBN(int) { return {F(Enc::TextKeep, M::BNuserLogoName)}; }
Fields fXE(int) { return {F(Enc::Dec, M::MEDisp), F(Enc::Dec, M::AliveDisp)}; }
Fields fXD(int) { return one(M::RemainTimeDisp); }
Fields fLR(int) { return channels(Enc::Dec, M::AltRng, {1, 2, 3}); }
Fields fAL(int) { return one(M::UsePasswd); }
Fields fAQ(int) { return {F(Enc::TextRaw, M::Password)}; }
// FF: IRRange, then per option channel the range that its gas type uses (written by hand).
Fields fFF(int) { return {F(Enc::Dec, M::IRRange), F(Enc::Dec, M::PIDSmallRange, 4), F(Enc::Dec, M::PIDSmallRange, 5), F(Enc::Dec, M::PIDSmallRange, 6)}; }
Fields fG1(int e) { return {F(Enc::Text, M::G1_, e)}; }
Fields fHB(int) { return one(M::Battery); }
Fields fSG(int) { return {F(Enc::Dec, M::DemandZero), F(Enc::Dec, M::DispSpanFc)}; }

// ---- lines with rules of their own

// The catalytic auto-calibration value is kept against the channel's full scale and
// written against FL_(0). Without a usable ratio (no full scale or FL_(0) yet, as in a
// cleared record) and for the not-set codes the value is carried unscaled on both sides.
std::optional<double> saRatio(const clsInstrument &r, int ch)
{
    if (r.GasType(ch) != SensorType::Catalytic)
        return std::nullopt;
    const double fs = r.GasFullScale(ch);
    const double fl = r.FL_(0);
    if (fs == 0 || fl == 0 || !std::isfinite(fs))
        return std::nullopt;
    return fs / fl;
}

std::optional<QStringList> writeSA(const clsInstrument &r, QString *why)
{
    QStringList out;
    for (int ch : kCh06) {
        float a = r.AutoCalib(ch);
        const auto ratio = saRatio(r, ch);
        if (ratio && a >= 0)
            a = float(double(a) / *ratio);
        const auto w = valueWord(a, r.GasPoint(ch), why);
        if (!w)
            return std::nullopt;
        out << *w;
    }
    return out;
}

bool readSA(clsInstrument &r, const QStringList &f, QString *why)
{
    for (int ch : kCh06) {
        const auto v = readValue(f.at(ch), r.GasPoint(ch), why);
        if (!v)
            return false;
        double a = *v;
        const auto ratio = saRatio(r, ch);
        if (ratio && a >= 0)
            a = *ratio * a;
        if (!setNum(r, M::AutoCalib, float(a), ch, 0, why))
            return false;
    }
    return true;
}

std::optional<QStringList> writeUZ(const clsInstrument &r, QString *why)
{
    int mask = 0;
    for (int ch : kCh06)
        if (r.Zero(ch) == 1)
            mask |= 1 << ch;
    const auto w = hex2(mask, why);
    if (!w)
        return std::nullopt;
    return QStringList{*w};
}

bool readUZ(clsInstrument &r, const QStringList &f, QString *why)
{
    const auto m = readHexL(f.at(0), why, 2);
    if (!m)
        return false;
    for (int ch : kCh06)
        if (!setNum(r, M::Zero, (*m >> ch) & 1, ch, 0, why))
            return false;
    return true;
}

std::optional<QStringList> writeLR(const clsInstrument &r, QString *)
{
    int mask = 0;
    for (int ch : {1, 2, 3})
        if (r.AltRng(ch) == 1)
            mask |= 1 << ch;
    return QStringList{hexPlain(mask)};
}

bool readLR(clsInstrument &r, const QStringList &f, QString *why)
{
    const auto m = readHex(f.at(0), why, 1);
    if (!m)
        return false;
    for (int ch : {1, 2, 3})
        if (!setNum(r, M::AltRng, (*m >> ch) & 1, ch, 0, why))
            return false;
    return true;
}

std::optional<QStringList> writeFF(const clsInstrument &r, QString *why)
{
    QStringList out{dec(r.IRRange())};
    for (int ch : {4, 5, 6}) {
        const int type = r.GasType(ch);
        const int range = type == SensorType::Pid ? r.PIDSmallRange(ch) : type == SensorType::Infrared ? r.AutoRange(ch) : 0;
        // Written in decimal, read as hex: only 0..9 come back as they went.
        if (range < 0 || range > 9) {
            if (why)
                *why = QStringLiteral("range %1 of channel %2 would not read back (0..9 only)").arg(range).arg(ch);
            return std::nullopt;
        }
        out << dec(range);
    }
    return out;
}

bool readFF(clsInstrument &r, const QStringList &f, QString *why)
{
    const auto ir = readDec(f.at(0), why);
    if (!ir)
        return false;
    QVector<int16_t> ranges;
    const bool full = f.size() == 4;
    if (full) {
        for (int k = 1; k < 4; ++k) {
            const auto v = readDigit(f.at(k), why);
            if (!v)
                return false;
            ranges << *v;
        }
    }
    if (!setNum(r, M::IRRange, *ir, 0, 0, why))
        return false;
    if (full) {
        for (int ch : {4, 5, 6}) {
            const int type = r.GasType(ch);
            const M m = type == SensorType::Pid ? M::PIDSmallRange : type == SensorType::Infrared ? M::AutoRange : M::Count;
            if (m != M::Count && !setNum(r, m, ranges[ch - 4], ch, 0, why))
                return false;
        }
    }
    return r.setInvalidFF(!full);
}

bool readLP(clsInstrument &r, const QStringList &f, QString *why)
{
    const auto mode = readDec(f.at(0), why);
    if (!mode)
        return false;
    std::optional<int16_t> curr;
    if (f.size() == 2) {
        QString ignore;
        curr = readDec(f.at(1), &ignore); // a non-numeric unit is simply not taken
    }
    if (!setNum(r, M::HcMode, *mode, 0, 0, why))
        return false;
    if (f.size() != 2)
        return r.setInvalidLP(true);
    if (curr && !setNum(r, M::CurrHc, *curr, 0, 0, why))
        return false;
    // The unit shown follows the catalytic mode unless the user may change it (3).
    static const int kUnitOfMode[] = {2, 0, 1};
    if (*mode >= 0 && *mode <= 2 && !setNum(r, M::CurrHc, kUnitOfMode[*mode], 0, 0, why))
        return false;
    return r.setInvalidLP(false);
}

bool postUG(clsInstrument &r, int)
{
    for (int ch : kCh06)
        if (!r.setGasEnabled(ch, r.UG_(ch) != 0 ? -1 : 0))
            return false;
    return true;
}
bool postFL(clsInstrument &r, int) { return r.setRatio(0, float(r.FL_(0))); }
bool postHE(clsInstrument &r, int)
{
    // The instrument cannot run the H2 valve below 30; such a value means "use the default".
    return r.HE_(2) >= 30 || r.setHE_(2, 170);
}
bool postInert(clsInstrument &r, int) { return r.setInvalidIF(false); }

const Def kDefs[] = {
    {"XZ", 32, Key::Hex2Plus1, fXZ, 1, M::Count, M::Count},
    {"XS", 128, Key::Hex2Plus1, fXS, 1, M::Count, M::Count},
    {"LO", 5, Key::Dec, fLO, 3, M::invalidLO_, M::invalidLO_},
    {"LN", 1, Key::None, fLN, 1, M::Count, M::Count},
    {"LB", 30, Key::Hex2, fLB, 3, M::invalidLB_, M::invalidLB_},
    {"LA", 35, Key::Hex2, fLA, 4, M::Count, M::invalidLA_},
    {"LS", 17, Key::Hex2, fLS, 2, M::Count, M::Count},
    {"LI", 17, Key::Hex2, fLI, 9, M::invalidLI, M::invalidLI},
    {"LJ", 17, Key::Hex2, fLJ, 10, M::Count, M::invalidLJ},
    {"XV", 1, Key::None, fXV, 2, M::Count, M::Count},
    {"OC", 1, Key::None, fOC, 1, M::Count, M::Count},
    {"GN", 1, Key::None, fGN, 5, M::invalidGN, M::invalidGN},
    {"GP", 1, Key::None, fGP, 7, M::Count, M::Count},
    {"GF", 1, Key::None, fGF, 4, M::Count, M::Count},
    {"GD", 1, Key::None, fGD, 4, M::Count, M::Count},
    {"GU", 1, Key::None, fGU, 4, M::Count, M::Count},
    {"GJ", 1, Key::None, fGJ, 28, M::Count, M::Count, nullptr, nullptr, nullptr, false},
    {"UG", 1, Key::None, fUG, 7, M::Count, M::Count, nullptr, nullptr, postUG},
    {"US", 1, Key::None, fUS, 7, M::Count, M::Count},
    {"AP", 1, Key::None, fAP, 1, M::Count, M::Count},
    {"XP", 1, Key::None, fXP, 1, M::Count, M::Count},
    {"XI", 1, Key::None, fXI, 1, M::Count, M::Count},
    {"SD", 1, Key::None, fSD, 1, M::Count, M::Count},
    {"SM", 1, Key::None, fSM, 1, M::Count, M::Count},
    {"SC", 1, Key::None, fSC, 1, M::Count, M::Count},
    {"XL", 1, Key::None, fXL, 1, M::Count, M::Count},
    {"XA", 1, Key::None, fXA, 1, M::Count, M::Count},
    {"XB", 1, Key::None, fXB, 1, M::Count, M::Count},
    {"XW", 1, Key::None, fXW, 1, M::Count, M::Count},
    {"XT", 1, Key::None, fXT, 1, M::Count, M::Count},
    {"UL", 1, Key::None, fUL, 1, M::Count, M::Count},
    {"IT", 1, Key::None, fIT, 7, M::Count, M::Count},
    {"A1", 1, Key::None, fA1, 7, M::Count, M::Count},
    {"A2", 1, Key::None, fA2, 7, M::Count, M::Count},
    {"AS", 1, Key::None, fAS, 7, M::Count, M::Count},
    {"AW", 1, Key::None, fAW, 7, M::Count, M::Count},
    {"WB", 1, Key::None, fWB, 2, M::invalidWB, M::invalidWB},
    {"FL", 1, Key::None, fFL, 2, M::invalidFL_, M::invalidFL_, nullptr, nullptr, postFL},
    {"FH", 1, Key::None, fFH, 1, M::Count, M::Count},
    {"SA", 1, Key::None, fSA, 7, M::Count, M::Count, writeSA, readSA},
    {"UZ", 1, Key::None, fUZ, 1, M::Count, M::Count, writeUZ, readUZ, nullptr, true, 1},
    {"AT", 1, Key::None, fAT, 1, M::Count, M::Count},
    {"UJ", 1, Key::None, fUJ, 1, M::Count, M::Count},
    {"LP", 1, Key::None, fLP, 1, M::Count, M::invalidLP, nullptr, readLP},
    {"XC", 1, Key::None, fXC, 1, M::Count, M::Count},
    {"AC", 1, Key::None, fAC, 4, M::Count, M::Count},
    {"HH", 1, Key::None, fHH, 2, M::Count, M::Count},
    {"HE", 1, Key::None, fHE, 2, M::invalidHE_, M::invalidHE_, nullptr, nullptr, postHE},
    {"SJ", 1, Key::None, fSJ, 1, M::Count, M::Count},
    {"LF", 1, Key::None, fLF, 1, M::Count, M::Count},
    {"IF", 1, Key::None, fIF, 1, M::Count, M::InvalidIF, nullptr, nullptr, postInert},
    {"I1", 1, Key::None, fI1, 1, M::Count, M::InvalidIF, nullptr, nullptr, postInert},
    {"I2", 1, Key::None, fI2, 1, M::Count, M::InvalidIF, nullptr, nullptr, postInert},
    {"UV", 1, Key::None, fUV, 1, M::Count, M::Count},
    {"AF", 1, Key::None, fAF, 1, M::Count, M::Count},
    {"UI", 1, Key::None, fUI, 1, M::Count, M::Count},
    {"UW", 1, Key::None, fUW, 1, M::Count, M::Count},
    {"BN", 1, Key::None, fBN, 1, M::Count, M::Count},
    {"XE", 1, Key::None, fXE, 2, M::Count, M::Count},
    {"XD", 1, Key::None, fXD, 1, M::Count, M::Count},
    {"LR", 1, Key::None, fLR, 1, M::Count, M::Count, writeLR, readLR, nullptr, true, 1},
    {"AL", 1, Key::None, fAL, 1, M::Count, M::Count},
    {"AQ", 1, Key::None, fAQ, 1, M::Count, M::Count},
    {"FF", 1, Key::None, fFF, 1, M::Count, M::invalidFF, writeFF, readFF},
    {"G1", 6, Key::Dec, fG1, 1, M::Count, M::invalidG1},
    {"HB", 1, Key::None, fHB, 1, M::Count, M::Count},
    {"SG", 1, Key::None, fSG, 2, M::Count, M::Count},
};

} // namespace

std::span<const Def> allDefs() { return std::span<const Def>(kDefs); }

const QHash<QString, const Def *> &defsByCode()
{
    static const QHash<QString, const Def *> map = [] {
        QHash<QString, const Def *> m;
        for (const Def &d : allDefs())
            m.insert(QLatin1String(d.code), &d);
        return m;
    }();
    return map;
}

const Def *defOf(const QString &code) { return defsByCode().value(code.toUpper(), nullptr); }


} // namespace SettingLines::detail
