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

class Columns
{
public:
    Columns(QStringList *labels, QStringList *fields) : m_labels(labels), m_fields(fields) {}
    void operator()(const QString &label, const QString &field)
    {
        if (m_labels)
            m_labels->append(label);
        if (m_fields)
            m_fields->append(field);
    }

private:
    QStringList *m_labels;
    QStringList *m_fields;
};

void settingColumns(Columns &col, const clsInstrument &r, bool isWrite, const QDateTime &now)
{
    col(GetMsg(9004), isWrite ? QStringLiteral("Write") : QStringLiteral("Read"));
    col(GetMsg(5212), dateText(now));
    col(GetMsg(5213), dateText(now.addSecs(-r.SysDateOffset())));
    col(GetMsg(5608), r.SerialNo());
    col(GetMsg(8003), r.DummySerial());
    col(GetMsg(5609), r.StationID());
    col(GetMsg(5610), r.UserID());
    col(GetMsg(8004), HistoryWordOf(kLatching, r.AlarmMode() == 0 ? 0 : 1));
    col(GetMsg(5655), num(r.CalLimit()));
    col(GetMsg(8010), onOff(r.DispCalLimit(), -1));
    col(GetMsg(8011), word(r.CalCheck(), kCalPastDue));
    col(GetMsg(5223), num(r.Intervals()));
    col(GetMsg(8048), onOff(r.DispID(), -1));
    col(GetMsg(8008), word(r.Confermation(), kConfirmation));
    col(GetMsg(8009), onOff(r.LogOverWrite(), 1));
    const QString language = r.SpecType();
    const int lang = language.size() == 1 && language.at(0).isDigit() ? language.at(0).digitValue() : -1;
    col(GetMsg(8015), word(lang, kLanguage));
    col(GetMsg(8044), onOff(r.LunchBreak(), 1));
    col(GetMsg(8045), onOff(r.AlarmSilence(), 1));
    col(GetMsg(8046), num(r.LcdBackLight()));
    col(GetMsg(8047), num(r.LcdContrast()));
    col(GetMsg(8042), word(r.HcMode(), kCatUnits));
    col(GetMsg(8043), HistoryWordOf(kOxyPattern, r.AlarmO2() == 0 || r.AlarmO2() == 1 ? r.AlarmO2() : 2));
    col(GetMsg(8028), onOff(r.LogaClear(), 1));
    col(GetMsg(8033), word(r.LBMode(), kLcBhMode));
    col(GetMsg(8034), word(r.BarHoleTime(), kBarHoleTime));
    col(GetMsg(8039), onOff(r.LeakBeep(), 1));
    col(GetMsg(8041), onOff(r.IRRange(), 1));
    col(GetMsg(8037), onOff(r.UsePasswd(), 1));
    col(GetMsg(8038), r.Password());
    col(GetMsg(8035), onOff(r.AutoZero(), 1));
    col(GetMsg(8036), onOff(r.ConvFc(), 1));
    // The derived channels' decimal places, the same that the settings lines scale with.
    col(QStringLiteral("CAT ppm 1st"), FormatReading(float(r.CATppm1st()), kCatPpmPoint));
    col(QStringLiteral("CAT ppm 2nd"), FormatReading(float(r.CATppm2nd()), kCatPpmPoint));
    col(QStringLiteral("CAT vol 1st"), FormatReading(r.CATvol1st(), kCatVolPoint));
    col(QStringLiteral("CAT vol 2nd"), FormatReading(r.CATvol2nd(), kCatVolPoint));
    col(GetMsg(8053), HistoryWordOf(kBattery, r.Battery() == 1 ? 1 : 0));
    col(GetMsg(8054), word(r.CurrHc(), kCatDisplayUnit));
    col(GetMsg(8057), onOff(r.DemandZero(), 1));
    col(GetMsg(8058), onOff(r.DispSpanFc(), 1));
    col(GetMsg(8055), logoWord(r));
    col(GetMsg(8059), onOff(r.MEDisp(), 1));
    col(GetMsg(8060), onOff(r.AliveDisp(), 1));
    col(GetMsg(8064), onOff(r.RemainTimeDisp(), 1));
}

void channelColumns(Columns &col, const clsInstrument &r)
{
    for (int i = 0; i <= 6; ++i) {
        const int p = r.GasPoint(i);
        col(GetMsg(5648) + QString::number(i), r.GasName(i).trimmed().isEmpty() ? kDash : r.GasName(i));
        col(GetMsg(5650), FormatReading(r.Warning(i), p));
        col(GetMsg(5651), FormatReading(r.Alarm(i), p));
        col(GetMsg(5652), FormatReading(r.Stel(i), p));
        col(GetMsg(5653), FormatReading(r.Twa(i), p));
        col(GetMsg(5654), FormatReading(r.AutoCalib(i), p));
        col(GetMsg(8049), onOff(r.Zero(i), 1));
        col(GetMsg(8050), r.ZeroForce(i) == 16 ? kDash : num(r.ZeroForce(i)));
        col(GetMsg(8051), FormatReading(r.Ratio(i), p));
        col(GetMsg(8052), onOff(r.AltRng(i), 1));
        col(GetMsg(9001), dateText(r.CalibDate(i)));
        col(GetMsg(9002), FormatReading(r.CalibBefore(i), p));
        col(GetMsg(9003), FormatReading(r.CalibAfter(i), p));
    }
    col(GetMsg(8069), onOff(r.AFapDisp(), 1));
    col(GetMsg(8070), onOff(r.UIgasDisp(), 1));
    col(GetMsg(8071), HistoryWordOf(kDateFormat, r.UWdateDisp() == 0 ? 0 : 1));
    col(GetMsg(8072), r.BNuserLogoName());
}

void portColumns(Columns &col, const clsInstrument &r)
{
    for (int i = 0; i <= 6; ++i) {
        QString bits;
        for (int b = 0; b < 6; ++b)
            bits += (r.UG_(i) >> b) & 1 ? QLatin1Char('1') : QLatin1Char('0');
        const int p = r.GasPoint(i);
        col(QStringLiteral("Port %1 Channel").arg(i), bits);
        col(QStringLiteral("Type "), typeWord(r.GasType(i)));
        col(QStringLiteral("GasName "), GasLabel(r.GasName(i), r.GasUnit(i), r.GasFullScale(i), p));
        col(QStringLiteral("Digit "), FormatPattern(r.GasDesit(i), DigitFormat(p)));
        col(QStringLiteral("Long Name "), (i == 1 || i == 5 || i == 6) ? kDash : r.G1_(i));
        QString ratio;
        if (i == 0)
            ratio = num(int64_t(r.FL_(0)));
        else
            ratio = r.GasType(i) == SensorType::ThermalConductivity ? FormatPattern(r.GasFullScale(i), DigitFormat(p)) : kDash;
        col(QStringLiteral("CAT Ratio/TC Full Scale "), ratio);
    }
    col(QStringLiteral("CAT Other"), r.CATOther());
    col(QStringLiteral("CAT Other Long Name"), r.G1_(1));
    col(QStringLiteral("CAT Other Ratio"), num(int64_t(r.FL_(1))));
    col(QStringLiteral("CAT Other CAT Factor"), hundredths(r.FL_(3)));
    col(QStringLiteral("CAT Other EV"), HistoryWordOf(kEvMode, r.CATOtherEV() == 1 ? 1 : 0));
    col(QStringLiteral("TC Other"), r.TCOther());
    col(QStringLiteral("TC Other Long Name"), r.G1_(5));
    col(QStringLiteral("TC Other Full Scale"), FormatPattern(double(r.FL_(2)) * 0.1, DigitFormat(1)));
    col(GetMsg(8055), logoWord(r));
    col(QStringLiteral("Normal EV Value"), num(r.HH_(0)));
    col(QStringLiteral("Normal EV D/A"), num(r.HE_(0)));
    col(QStringLiteral("ME EV Value"), num(r.HH_(1)));
    col(QStringLiteral("ME EV D/A"), num(r.HE_(1)));
    col(QStringLiteral("H2 EV D/A"), num(r.HE_(2)));
}

void listColumns(Columns &col, const clsInstrument &r)
{
    for (int n = 1; n <= 128; ++n)
        col(QStringLiteral("Station%1").arg(n), r.XS_(n - 1));
    for (int n = 1; n <= 32; ++n)
        col(QStringLiteral("User%1").arg(n), r.XZ_(n - 1));
    col(QStringLiteral("Conversion Available Count"), num(r.LN_()));

    const auto conversion = [&](const QString &prefix, int n, const QString &name, const QString &longName, int fc, int a) {
        col(QStringLiteral("%1-Name%2").arg(prefix).arg(n), name);
        col(QStringLiteral("%1-Long Name%2").arg(prefix).arg(n), longName);
        col(QStringLiteral("%1-Factor%2").arg(prefix).arg(n), hundredths(fc));
        col(QStringLiteral("%1-1st%2").arg(prefix).arg(n), FormatValue(r.LA_warn(a), 0));
        col(QStringLiteral("%1-2nd%2").arg(prefix).arg(n), FormatValue(r.LA_alarm(a), 0));
        col(QStringLiteral("%1-Ratio%2").arg(prefix).arg(n), num(r.LA_ratio(a)));
        col(QStringLiteral("%1-Volt%2").arg(prefix).arg(n), HistoryWordOf(kEvMode, r.LA_volt(a) == 1.0f ? 1 : 0));
    };
    for (int n = 1; n <= 30; ++n)
        conversion(QStringLiteral("PC"), n, r.LB_name(n - 1), r.LB_longname(n - 1), r.LB_fc(n - 1), n - 1);
    for (int n = 1; n <= 5; ++n)
        conversion(QStringLiteral("UC"), n, r.LO_name(n - 1), r.LO_longname(n - 1), r.LO_fc(n - 1), 30 + n - 1);
}

void pidColumns(Columns &col, const clsInstrument &r)
{
    for (int j = 0; j <= 1; ++j) {
        const QString pre = j == 0 ? QStringLiteral("PH-") : QStringLiteral("PL-");
        for (int k = 0; k <= 16; ++k) {
            const int p = r.PIDPoint(k, j);
            const auto label = [&](const char *what) { return pre + QLatin1String(what) + QString::number(k); };
            col(label("Name"), r.PIDName(k));
            col(label("Long Name"), r.PIDLongName(k));
            col(label("FullScale"), FormatValue(r.PIDFullScale(k, j), p));
            col(label("Point"), pointText(p));
            col(label("Unit"), r.PIDUnit(k, j));
            col(label("Digit"), num(r.PIDDigit(k, j)));
            col(label("1st"), FormatValue(r.PIDWarn(k, j), p));
            col(label("2nd"), FormatValue(r.PIDAlarm(k, j), p));
            col(label("STEL"), FormatValue(r.PIDStel(k, j), p));
            col(label("TWA"), FormatValue(r.PIDTwa(k, j), p));
            col(label("AutoCal"), FormatValue(r.PIDAutoCal(k, j), p));
            col(label("Factor"), hundredths(r.PIDFactor(k, j)));
        }
    }
    const bool noInert = r.InvalidIF();
    const QString none = QStringLiteral("---");
    col(QStringLiteral("Inert select"), noInert ? none : onOff(r.InertOnOff(), 1));
    col(QStringLiteral("Inert 1st"), noInert ? none : FormatReading(r.Inert1st(), kInertPoint));
    col(QStringLiteral("Inert 2nd"), noInert ? none : FormatReading(r.Inert2nd(), kInertPoint));
    col(QStringLiteral("CATOtherSelect"), num(r.CATOtherSelect()));
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
    Columns col(labels, fields);
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
