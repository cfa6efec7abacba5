#include "settingsfiles/SettingsHistory.h"

#include "core/CharChecks.h"
#include "core/Messages.h"
#include "core/modMain.h"
#include "model/clsInstrument.h"
#include "model/SettingWords.h"
#include "model/modGasCommon.h"

#include <cmath>

namespace {

using namespace SettingWords;
using M = clsInstrument::M;

const QString kDash = QStringLiteral("-----");

QString dateText(const QDateTime &d)
{
    // A date never set (no calibration yet) stays empty.
    return d.isValid() ? d.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")) : QString();
}

// Anything but the on code reads OFF.
QString onOff(int v, int on) { return HistoryWordOf(kOffOn, v == on ? 1 : 0); }

// Word of a code from a table; a code outside the table has no word.
QString word(int v, Table t)
{
    if (v < 0 || v >= int(t.size()))
        return kDash;
    return HistoryWordOf(t, v);
}

QString hundredths(double v) { return FormatDecimals(v / 100.0, 2); }

QString num(float v) { return GeneralNumber(v); }
QString num(int64_t v) { return QString::number(v); }
QString num(int16_t v) { return QString::number(v); }

QString logoWord(const clsInstrument &r)
{
    if (r.LogoDisp() == 4)
        return r.BNuserLogoName();
    return word(r.LogoDisp(), kLogo);
}

QString typeWord(int t)
{
    if (t == SensorType::EmptySlot)
        return QStringLiteral("NONE");
    return word(t, kSensorType);
}

QString pointText(int p)
{
    if (p >= 0 && p <= 15)
        return QStringLiteral("1/1") + QString(p, QLatin1Char('0'));
    return QStringLiteral("1/") + GeneralNumber(float(std::pow(10.0, p)));
}

// A member a cell is built from: the value it shows, or the decimal places it is shown with.
struct From {
    From(M member, int index = 0, int range = 0) : m(member), i(index), j(range) {}
    M m;
    int i;
    int j;
};
using Sources = std::initializer_list<From>;

// Collects labels and fields. A cell built from a value the download could not read holds
// kHistoryNotRead: the record's cleared value there is nobody's.
class Columns
{
public:
    Columns(const clsInstrument &r, QStringList *labels, QStringList *fields) : m_r(r), m_labels(labels), m_fields(fields)
    {
    }
    void operator()(const QString &label, const QString &field, Sources from = {})
    {
        (*this)(label, field, unread(from));
    }
    void operator()(const QString &label, const QString &field, bool notRead)
    {
        if (m_labels)
            m_labels->append(label);
        if (m_fields)
            m_fields->append(notRead ? QString::fromLatin1(kHistoryNotRead) : field);
    }
    bool unread(Sources from) const
    {
        if (!m_fields || !m_r.AnyUnread())
            return false;
        for (const From &f : from)
            if (m_r.isUnread(f.m, f.i, f.j))
                return true;
        return false;
    }

private:
    const clsInstrument &m_r;
    QStringList *m_labels;
    QStringList *m_fields;
};

// The ID fields show the selected station's or user's name (the main window keeps them in
// step): not known when the selection, or the name it selects, was not read.
bool selectedUnread(const Columns &col, const clsInstrument &r, M id, int list, M names, int count)
{
    const int chosen = r.XV_(list) - 1;
    return col.unread({id, {M::XV_, list}}) || (chosen >= 0 && chosen < count && col.unread({{names, chosen}}));
}

bool logoUnread(const Columns &col, const clsInstrument &r)
{
    return col.unread({M::LogoDisp}) || (r.LogoDisp() == 4 && col.unread({M::BNuserLogoName}));
}

void settingColumns(Columns &col, const clsInstrument &r, bool isWrite, const QDateTime &now)
{
    col(GetMsg(9004), isWrite ? QStringLiteral("Write") : QStringLiteral("Read"));
    col(GetMsg(5212), dateText(now));
    col(GetMsg(5213), dateText(now.addSecs(-r.SysDateOffset())), {M::SysDateOffset});
    col(GetMsg(5608), r.SerialNo(), {M::SerialNo});
    col(GetMsg(8003), r.DummySerial(), {M::DummySerial});
    col(GetMsg(5609), r.StationID(), selectedUnread(col, r, M::StationID, 0, M::XS_, 128));
    col(GetMsg(5610), r.UserID(), selectedUnread(col, r, M::UserID, 1, M::XZ_, 32));
    col(GetMsg(8004), HistoryWordOf(kLatching, r.AlarmMode() == 0 ? 0 : 1), {M::AlarmMode});
    col(GetMsg(5655), num(r.CalLimit()), {M::CalLimit});
    col(GetMsg(8010), onOff(r.DispCalLimit(), -1), {M::DispCalLimit});
    col(GetMsg(8011), word(r.CalCheck(), kCalPastDue), {M::CalCheck});
    col(GetMsg(5223), num(r.Intervals()), {M::Intervals});
    col(GetMsg(8048), onOff(r.DispID(), -1), {M::DispID});
    col(GetMsg(8008), word(r.Confermation(), kConfirmation), {M::Confermation});
    col(GetMsg(8009), onOff(r.LogOverWrite(), 1), {M::LogOverWrite});
    const QString language = r.SpecType();
    const int lang = language.size() == 1 && language.at(0).isDigit() ? language.at(0).digitValue() : -1;
    col(GetMsg(8015), word(lang, kLanguage), {M::SpecType});
    col(GetMsg(8044), onOff(r.LunchBreak(), 1), {M::LunchBreak});
    col(GetMsg(8045), onOff(r.AlarmSilence(), 1), {M::AlarmSilence});
    col(GetMsg(8046), num(r.LcdBackLight()), {M::LcdBackLight});
    col(GetMsg(8047), num(r.LcdContrast()), {M::LcdContrast});
    col(GetMsg(8042), word(r.HcMode(), kCatUnits), {M::HcMode});
    col(GetMsg(8043), HistoryWordOf(kOxyPattern, r.AlarmO2() == 0 || r.AlarmO2() == 1 ? r.AlarmO2() : 2), {M::AlarmO2});
    col(GetMsg(8028), onOff(r.LogaClear(), 1), {M::LogaClear});
    col(GetMsg(8033), word(r.LBMode(), kLcBhMode), {M::LBMode});
    col(GetMsg(8034), word(r.BarHoleTime(), kBarHoleTime), {M::BarHoleTime});
    col(GetMsg(8039), onOff(r.LeakBeep(), 1), {M::LeakBeep});
    col(GetMsg(8041), onOff(r.IRRange(), 1), {M::IRRange});
    col(GetMsg(8037), onOff(r.UsePasswd(), 1), {M::UsePasswd});
    col(GetMsg(8038), r.Password(), {M::Password});
    col(GetMsg(8035), onOff(r.AutoZero(), 1), {M::AutoZero});
    col(GetMsg(8036), onOff(r.ConvFc(), 1), {M::ConvFc});
    // The derived channels' decimal places, the same that the settings lines scale with.
    col(QStringLiteral("CAT ppm 1st"), FormatReading(float(r.CATppm1st()), kCatPpmPoint), {M::CATppm1st});
    col(QStringLiteral("CAT ppm 2nd"), FormatReading(float(r.CATppm2nd()), kCatPpmPoint), {M::CATppm2nd});
    col(QStringLiteral("CAT vol 1st"), FormatReading(r.CATvol1st(), kCatVolPoint), {M::CATvol1st});
    col(QStringLiteral("CAT vol 2nd"), FormatReading(r.CATvol2nd(), kCatVolPoint), {M::CATvol2nd});
    col(GetMsg(8053), HistoryWordOf(kBattery, r.Battery() == 1 ? 1 : 0), {M::Battery});
    col(GetMsg(8054), word(r.CurrHc(), kCatDisplayUnit), {M::CurrHc});
    col(GetMsg(8057), onOff(r.DemandZero(), 1), {M::DemandZero});
    col(GetMsg(8058), onOff(r.DispSpanFc(), 1), {M::DispSpanFc});
    col(GetMsg(8055), logoWord(r), logoUnread(col, r));
    col(GetMsg(8059), onOff(r.MEDisp(), 1), {M::MEDisp});
    col(GetMsg(8060), onOff(r.AliveDisp(), 1), {M::AliveDisp});
    col(GetMsg(8064), onOff(r.RemainTimeDisp(), 1), {M::RemainTimeDisp});
}

void channelColumns(Columns &col, const clsInstrument &r)
{
    for (int i = 0; i <= 6; ++i) {
        const int p = r.GasPoint(i);
        // A value of the channel, shown with its decimal places.
        const auto reading = [&](int label, M m) {
            col(GetMsg(label), FormatReading(float(r.number(m, i)), p), {{m, i}, {M::GasPoint, i}});
        };
        col(GetMsg(5648) + QString::number(i), r.GasName(i).trimmed().isEmpty() ? kDash : r.GasName(i),
            {{M::GasName, i}});
        reading(5650, M::Warning);
        reading(5651, M::Alarm);
        reading(5652, M::Stel);
        reading(5653, M::Twa);
        reading(5654, M::AutoCalib);
        col(GetMsg(8049), onOff(r.Zero(i), 1), {{M::Zero, i}});
        col(GetMsg(8050), r.ZeroForce(i) == 16 ? kDash : num(r.ZeroForce(i)), {{M::ZeroForce, i}});
        reading(8051, M::Ratio);
        col(GetMsg(8052), onOff(r.AltRng(i), 1), {{M::AltRng, i}});
        col(GetMsg(9001), dateText(r.CalibDate(i)), {{M::CalibDate, i}});
        reading(9002, M::CalibBefore);
        reading(9003, M::CalibAfter);
    }
    col(GetMsg(8069), onOff(r.AFapDisp(), 1), {M::AFapDisp});
    col(GetMsg(8070), onOff(r.UIgasDisp(), 1), {M::UIgasDisp});
    col(GetMsg(8071), HistoryWordOf(kDateFormat, r.UWdateDisp() == 0 ? 0 : 1), {M::UWdateDisp});
    col(GetMsg(8072), r.BNuserLogoName(), {M::BNuserLogoName});
}

void portColumns(Columns &col, const clsInstrument &r)
{
    for (int i = 0; i <= 6; ++i) {
        QString bits;
        for (int b = 0; b < 6; ++b)
            bits += (r.UG_(i) >> b) & 1 ? QLatin1Char('1') : QLatin1Char('0');
        const int p = r.GasPoint(i);
        col(QStringLiteral("Port %1 Channel").arg(i), bits, {{M::UG_, i}});
        col(QStringLiteral("Type "), typeWord(r.GasType(i)), {{M::GasType, i}});
        col(QStringLiteral("GasName "), GasLabel(r.GasName(i), r.GasUnit(i), r.GasFullScale(i), p),
            {{M::GasName, i}, {M::GasUnit, i}, {M::GasFullScale, i}, {M::GasPoint, i}});
        col(QStringLiteral("Digit "), FormatPattern(r.GasDesit(i), DigitFormat(p)), {{M::GasDesit, i}, {M::GasPoint, i}});
        const bool longName = !(i == 1 || i == 5 || i == 6);
        col(QStringLiteral("Long Name "), longName ? r.G1_(i) : kDash, longName && col.unread({{M::G1_, i}}));
        if (i == 0) {
            col(QStringLiteral("CAT Ratio/TC Full Scale "), num(int64_t(r.FL_(0))), {{M::FL_, 0}});
        } else {
            const bool tc = r.GasType(i) == SensorType::ThermalConductivity;
            col(QStringLiteral("CAT Ratio/TC Full Scale "), tc ? FormatPattern(r.GasFullScale(i), DigitFormat(p)) : kDash,
                col.unread({{M::GasType, i}}) || (tc && col.unread({{M::GasFullScale, i}, {M::GasPoint, i}})));
        }
    }
    col(QStringLiteral("CAT Other"), r.CATOther(), {M::CATOther});
    col(QStringLiteral("CAT Other Long Name"), r.G1_(1), {{M::G1_, 1}});
    col(QStringLiteral("CAT Other Ratio"), num(int64_t(r.FL_(1))), {{M::FL_, 1}});
    col(QStringLiteral("CAT Other CAT Factor"), hundredths(r.FL_(3)), {{M::FL_, 3}});
    col(QStringLiteral("CAT Other EV"), HistoryWordOf(kEvMode, r.CATOtherEV() == 1 ? 1 : 0), {M::CATOtherEV});
    col(QStringLiteral("TC Other"), r.TCOther(), {M::TCOther});
    col(QStringLiteral("TC Other Long Name"), r.G1_(5), {{M::G1_, 5}});
    col(QStringLiteral("TC Other Full Scale"), FormatPattern(double(r.FL_(2)) * 0.1, DigitFormat(1)), {{M::FL_, 2}});
    col(GetMsg(8055), logoWord(r), logoUnread(col, r));
    col(QStringLiteral("Normal EV Value"), num(r.HH_(0)), {{M::HH_, 0}});
    col(QStringLiteral("Normal EV D/A"), num(r.HE_(0)), {{M::HE_, 0}});
    col(QStringLiteral("ME EV Value"), num(r.HH_(1)), {{M::HH_, 1}});
    col(QStringLiteral("ME EV D/A"), num(r.HE_(1)), {{M::HE_, 1}});
    col(QStringLiteral("H2 EV D/A"), num(r.HE_(2)), {{M::HE_, 2}});
}

void listColumns(Columns &col, const clsInstrument &r)
{
    for (int n = 1; n <= 128; ++n)
        col(QStringLiteral("Station%1").arg(n), r.XS_(n - 1), {{M::XS_, n - 1}});
    for (int n = 1; n <= 32; ++n)
        col(QStringLiteral("User%1").arg(n), r.XZ_(n - 1), {{M::XZ_, n - 1}});
    col(QStringLiteral("Conversion Available Count"), num(r.LN_()), {M::LN_});

    // name, long name and factor members of entry e; a: the alarm-table entry
    const auto conversion = [&](const QString &prefix, int n, M name, M longName, M fc, int e, int a) {
        col(QStringLiteral("%1-Name%2").arg(prefix).arg(n), r.text(name, e), {{name, e}});
        col(QStringLiteral("%1-Long Name%2").arg(prefix).arg(n), r.text(longName, e), {{longName, e}});
        col(QStringLiteral("%1-Factor%2").arg(prefix).arg(n), hundredths(r.number(fc, e)), {{fc, e}});
        col(QStringLiteral("%1-1st%2").arg(prefix).arg(n), FormatValue(r.LA_warn(a), 0), {{M::LA_warn, a}});
        col(QStringLiteral("%1-2nd%2").arg(prefix).arg(n), FormatValue(r.LA_alarm(a), 0), {{M::LA_alarm, a}});
        col(QStringLiteral("%1-Ratio%2").arg(prefix).arg(n), num(r.LA_ratio(a)), {{M::LA_ratio, a}});
        col(QStringLiteral("%1-Volt%2").arg(prefix).arg(n), HistoryWordOf(kEvMode, r.LA_volt(a) == 1.0f ? 1 : 0),
            {{M::LA_volt, a}});
    };
    for (int n = 1; n <= 30; ++n)
        conversion(QStringLiteral("PC"), n, M::LB_name, M::LB_longname, M::LB_fc, n - 1, n - 1);
    for (int n = 1; n <= 5; ++n)
        conversion(QStringLiteral("UC"), n, M::LO_name, M::LO_longname, M::LO_fc, n - 1, 30 + n - 1);
}

void pidColumns(Columns &col, const clsInstrument &r)
{
    for (int j = 0; j <= 1; ++j) {
        const QString pre = j == 0 ? QStringLiteral("PH-") : QStringLiteral("PL-");
        for (int k = 0; k <= 16; ++k) {
            const int p = r.PIDPoint(k, j);
            const auto label = [&](const char *what) { return pre + QLatin1String(what) + QString::number(k); };
            // A value of the range, shown with its decimal places.
            const auto value = [&](const char *what, M m) {
                col(label(what), FormatValue(float(r.number(m, k, j)), p), {{m, k, j}, {M::PIDPoint, k, j}});
            };
            col(label("Name"), r.PIDName(k), {{M::PIDName, k}});
            col(label("Long Name"), r.PIDLongName(k), {{M::PIDLongName, k}});
            value("FullScale", M::PIDFullScale);
            col(label("Point"), pointText(p), {{M::PIDPoint, k, j}});
            col(label("Unit"), r.PIDUnit(k, j), {{M::PIDUnit, k, j}});
            col(label("Digit"), num(r.PIDDigit(k, j)), {{M::PIDDigit, k, j}});
            value("1st", M::PIDWarn);
            value("2nd", M::PIDAlarm);
            value("STEL", M::PIDStel);
            value("TWA", M::PIDTwa);
            value("AutoCal", M::PIDAutoCal);
            col(label("Factor"), hundredths(r.PIDFactor(k, j)), {{M::PIDFactor, k, j}});
        }
    }
    const bool noInert = r.InvalidIF();
    const QString none = QStringLiteral("---");
    col(QStringLiteral("Inert select"), noInert ? none : onOff(r.InertOnOff(), 1), !noInert && col.unread({M::InertOnOff}));
    col(QStringLiteral("Inert 1st"), noInert ? none : FormatReading(r.Inert1st(), kInertPoint),
        !noInert && col.unread({M::Inert1st}));
    col(QStringLiteral("Inert 2nd"), noInert ? none : FormatReading(r.Inert2nd(), kInertPoint),
        !noInert && col.unread({M::Inert2nd}));
    col(QStringLiteral("CATOtherSelect"), num(r.CATOtherSelect()), {M::CATOtherSelect});
}

QString historyName(const QString &extra)
{
    const QString base = QStringLiteral("VANTIK_Setting.csv");
    return base.left(base.size() - 4) + gFactorySuffix + extra + base.right(4);
}

} // namespace

QString HistoryFilePath() { return AppFile(historyName(QString())); }
QString HistorySwapPath() { return AppFile(historyName(QStringLiteral("_swap"))); }

void HistoryColumns(const clsInstrument &Inst, bool IsWrite, const QDateTime &now, QStringList *labels,
                    QStringList *fields)
{
    Columns col(Inst, labels, fields);
    settingColumns(col, Inst, IsWrite, now);
    channelColumns(col, Inst);
    portColumns(col, Inst);
    listColumns(col, Inst);
    pidColumns(col, Inst);
}

HistoryFile::Outcome deviceUpdateLog(const clsInstrument &Inst, bool IsWrite)
{
    if (!FileSuffixAcceptable(gFactorySuffix)) {
        HistoryFile::Outcome o;
        o.ok = false;
        o.error = QStringLiteral("The factory record suffix \"%1\" is not a plain name").arg(gFactorySuffix);
        return o;
    }
    QStringList labels;
    QStringList fields;
    HistoryColumns(Inst, IsWrite, QDateTime::currentDateTime(), &labels, &fields);
    Q_ASSERT(labels.size() == kHistoryColumns && fields.size() == kHistoryColumns);
    return HistoryFile::appendRow(HistoryFilePath(), HistorySwapPath(), HistoryFile::joinFields(labels),
                                  HistoryFile::joinFields(fields), GetMsg(9004).toLatin1());
}
