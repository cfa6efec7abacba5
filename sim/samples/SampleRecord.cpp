#include "sim/samples/SampleRecord.h"

#include "model/modGasCommon.h"

#include <cmath>
#include <random>

using M = clsInstrument::M;

namespace {

class Gen
{
public:
    explicit Gen(unsigned seed) : m_rng(seed) {}
    int range(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool chance(int percent) { return range(1, 100) <= percent; }
    template <typename T> T pick(std::initializer_list<T> list) { return *(list.begin() + range(0, int(list.size()) - 1)); }

    // Text of up to n characters without blanks at either end and without "," or ";".
    QString name(int n, bool upper = false)
    {
        static const QString chars = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -_./()#%&+*!?");
        const int len = range(0, n);
        QString s;
        for (int k = 0; k < len; ++k)
            s += chars.at(range(0, int(chars.size()) - 1));
        s = s.trimmed();
        return upper ? s.toUpper() : s;
    }
    QString exact(int n)
    {
        QString s = name(n);
        while (s.size() < n)
            s += QLatin1Char('X');
        return s;
    }
    // A whole number of last-place units that an instrument word carries back exactly.
    int64_t units()
    {
        switch (range(0, 5)) {
        case 0:
            return 0;
        case 1:
            return 50000;
        case 2:
            return 50001;
        case 3:
            return 50000 + 100 * int64_t(range(1, 3000));
        default:
            return range(1, 49999);
        }
    }
    float value(int decimals, bool codes = true)
    {
        if (codes && chance(15))
            return pick<float>({-101.0f, -118.0f, -121.0f});
        return float(double(units()) * std::pow(0.1, decimals));
    }
    float step(int decimals)
    {
        if (chance(10))
            return -101.0f;
        return float(double(range(1, 200)) * std::pow(0.1, decimals));
    }

private:
    std::mt19937 m_rng;
};

} // namespace

void FillChannels(clsInstrument &s, std::initializer_list<SampleChannel> channels)
{
    clsInstrument::DeviceDoor door(s);
    int ch = 0;
    for (const SampleChannel &c : channels) {
        s.setGasName(ch, QString::fromLatin1(c.name));
        s.setGasUnit(ch, QString::fromLatin1(c.unit));
        s.setGasPoint(ch, c.point);
        s.setGasFullScale(ch, c.fullScale);
        s.setGasDesit(ch, c.step);
        s.setGasType(ch, c.type);
        s.setWarning(ch, c.warn);
        s.setAlarm(ch, c.alarm);
        s.setStel(ch, c.stel);
        s.setTwa(ch, c.twa);
        s.setAutoCalib(ch, c.autoCal);
        ++ch;
    }
}

clsInstrument DemoRecord()
{
    clsInstrument s;
    s.ClearDatas();
    clsInstrument::DeviceDoor door(s);
    s.setSerialNo(QStringLiteral("VK2024-00042"));
    s.setDummySerial(QStringLiteral("M-7781"));
    s.setRomNumber(4810);
    s.setSUM(QStringLiteral("5A3C"));
    s.setSpecType(QStringLiteral("0"));
    using namespace SensorType;
    constexpr float NotSet = ReadingCode::NotSet;
    // Span values the upload accepts: at or above the warning point, at or below it for oxygen.
    FillChannels(s, {
        {"CH4", "%LEL", 100, 1, 0, Catalytic, 10, 50, NotSet, NotSet, 50},
        {"OXY", "vol%", 25, 0.1f, 1, Oxygen, 19.5f, 18, NotSet, NotSet, 12},
        {"H2S", "ppm", 30, 0.1f, 1, Toxic, 5, 10, 5, 1, 25},
        {"CO ", "ppm", 500, 1, 0, Esm, 25, 50, NotSet, NotSet, 50},
        {"NH3", "ppm", 100, 1, 0, ThermalConductivity, 25, 50, NotSet, NotSet, 25},
        {"---", "ppm", 0, 0, 0, EmptySlot, NotSet, NotSet, NotSet, NotSet, NotSet},
        {"---", "ppm", 0, 0, 0, EmptySlot, NotSet, NotSet, NotSet, NotSet, NotSet},
    });
    for (int ch = 0; ch < 7; ++ch) {
        s.setGasEnabled(ch, ch <= 4 ? -1 : 0);
        s.setZeroForce(ch, ch == 1 ? 0 : 1); // oxygen is never zero-forced: its line carries "@"
        s.setUG_(ch, ch <= 4 ? 1 << ch : 0); // gas ch on channel position ch + 1, as GE says
        s.setCalibBefore(ch, 10.0f + ch);
        s.setCalibAfter(ch, 10.0f + ch + 0.5f);
        s.setCalibDate(ch, QDateTime(QDate(2024, 5, 1), QTime(9, 30, 0)));
    }
    s.setGasPoint(7, 0);
    s.setGasPoint(8, 1);
    s.setGasPoint(9, 1);
    s.setFL_(0, 50000); // methane: 50000 ppm at 100 %LEL
    s.setRatio(0, 50000); // the instrument keeps the ratio with its FL line
    s.setFL_(1, 200);
    s.setIntervals(60);
    s.setAlarmMode(1);
    s.setAlarmO2(1); // falling oxygen alarm: the alarm point lies below the warning point
    s.setHcMode(1); // the instrument derives the current mode from it: 1 gives 0
    s.setCurrHc(0);
    s.setCalLimit(30);
    s.setLcdBackLight(5);
    s.setLcdContrast(12);
    s.setBNuserLogoName(QStringLiteral("VANTIK DEMO").leftJustified(20)); // kept as its line carries it
    s.setPassword(QStringLiteral("1234"));
    s.setInertOnOff(1);
    s.setInvalidIF(false);
    s.setInert1st(5.0f);
    s.setInert2nd(10.0f);
    // The ppm and vol% views of the combustible channel's 10 / 50 %LEL points.
    s.setCATppm1st(5000);
    s.setCATppm2nd(25000);
    s.setCATvol1st(0.5f);
    s.setCATvol2nd(2.5f);
    s.setHH_(0, 100);
    s.setHH_(1, 120);
    s.setHE_(0, 60);
    s.setHE_(1, 20);
    s.setHE_(2, 90);
    s.setLN_(3);
    for (int i = 0; i < 32; ++i)
        s.setXZ_(i, QStringLiteral("USER %1").arg(i + 1, 2, 10, QLatin1Char('0')));
    for (int i = 0; i < 128; ++i)
        s.setXS_(i, QStringLiteral("STATION %1").arg(i + 1, 3, 10, QLatin1Char('0')));
    s.setXV_(0, 3);
    s.setXV_(1, 2);
    for (int i = 0; i < 5; ++i) {
        s.setLO_longname(i, QStringLiteral("USER GAS %1").arg(i));
        s.setLO_name(i, QStringLiteral("U%1").arg(i));
        s.setLO_fc(i, 100 + i);
    }
    for (int i = 0; i < 30; ++i) {
        s.setLB_longname(i, QStringLiteral("PRESET GAS %1").arg(i));
        s.setLB_name(i, QStringLiteral("P%1").arg(i, 2, 10, QLatin1Char('0')));
        s.setLB_fc(i, 50 + i);
    }
    for (int i = 0; i < 35; ++i) {
        s.setLA_warn(i, 10 + i);
        s.setLA_alarm(i, 20 + i);
        s.setLA_ratio(i, 1000 + i);
        s.setLA_volt(i, 1.5f + float(i) / 4);
    }
    for (int e = 0; e < 17; ++e) {
        s.setPIDName(e, QStringLiteral("I%1").arg(e, 2, 10, QLatin1Char('0')));
        s.setPIDLongName(e, QStringLiteral("PID GAS %1").arg(e));
        for (int j = 0; j < 2; ++j) {
            s.setPIDPoint(e, j, j);
            s.setPIDUnit(e, j, QStringLiteral("ppm"));
            s.setPIDFullScale(e, j, j == 0 ? 1000 : 100);
            s.setPIDDigit(e, j, j == 0 ? 1 : 0.1f);
            s.setPIDWarn(e, j, j == 0 ? 100 : 10);
            s.setPIDAlarm(e, j, j == 0 ? 200 : 20);
            s.setPIDStel(e, j, ReadingCode::NotSet);
            s.setPIDTwa(e, j, ReadingCode::NotSet);
            s.setPIDAutoCal(e, j, j == 0 ? 100 : 10);
            s.setPIDFactor(e, j, 1);
        }
    }
    for (int i = 0; i < 6; ++i)
        s.setG1_(i, QStringLiteral("GROUP %1").arg(i));
    for (int i = 0; i < 27; ++i)
        s.setAnalogValue(i, 400 + 10 * i);
    for (int i = 0; i < 3; ++i)
        s.setRP_(i, 300 + i);
    for (int i = 0; i < 5; ++i)
        s.setSI_(i, 200 + i);
    for (int i = 0; i < 10; ++i)
        s.setSZ_(i, 100 + i);
    for (int i = 0; i < 8; ++i)
        s.setS1_(i, 900 + i);
    s.ClearChangeFlags();
    return s;
}

clsInstrument VariedRecord(unsigned seed)
{
    Gen g(seed);
    clsInstrument r;
    r.ClearDatas();
    clsInstrument::DeviceDoor door(r);

    for (int i = 0; i < 32; ++i)
        r.setXZ_(i, g.name(16));
    for (int i = 0; i < 128; ++i)
        r.setXS_(i, g.name(16));
    for (int e = 0; e < 30; ++e) {
        if (e < 5) {
            r.setLO_longname(e, g.name(20));
            r.setLO_name(e, g.name(3));
            r.setLO_fc(e, g.range(0, 32767));
        }
        r.setLB_longname(e, g.name(20));
        r.setLB_name(e, g.name(3));
        r.setLB_fc(e, g.range(0, 32767));
    }
    r.setLN_(g.range(0, 30));
    for (int e = 0; e < 35; ++e) {
        r.setLA_warn(e, g.value(0));
        r.setLA_alarm(e, g.value(0));
        r.setLA_ratio(e, float(g.range(0, 50000)));
        r.setLA_volt(e, g.pick<float>({0.0f, 1.0f, 0.5f, 1.5f, 10.0f, 2.25f, 123.75f}));
    }
    for (int e = 0; e < 17; ++e) {
        r.setPIDName(e, g.name(3, true));
        r.setPIDLongName(e, g.name(20));
        for (int j = 0; j < 2; ++j) {
            const int p = g.range(0, 3);
            r.setPIDPoint(e, j, p);
            for (M m : {M::PIDFullScale, M::PIDWarn, M::PIDAlarm, M::PIDStel, M::PIDTwa, M::PIDAutoCal})
                r.setNumber(m, g.value(p), e, j);
            r.setPIDUnit(e, j, g.pick<QString>({"vol%", "%LEL", "ppm", "ppb"}));
            r.setPIDDigit(e, j, float(double(g.range(0, 200)) * std::pow(0.1, p)));
            r.setPIDFactor(e, j, g.value(p, false));
        }
    }

    r.setXV_(0, g.range(1, 128));
    r.setXV_(1, g.range(1, 32));
    r.setCATOtherSelect(g.range(0, 5));
    r.setCATOther(g.name(3));
    r.setTCOther(g.name(3));
    for (int i = 0; i < 4; ++i)
        r.setFL_(i, g.chance(10) ? 0 : g.range(1, 50000));
    r.setRatio(0, float(r.FL_(0)));
    for (int ch = 0; ch < 7; ++ch) {
        const int p = g.range(0, 3);
        r.setGasPoint(ch, p);
        r.setGasName(ch, g.chance(10) ? QStringLiteral("---") : g.exact(3));
        r.setGasFullScale(ch, g.chance(10) ? 0.0f : g.value(p, false));
        r.setGasDesit(ch, g.step(p));
        r.setGasUnit(ch, g.pick<QString>({"vol%", "%LEL", "ppm", "ppb"}));
        r.setUG_(ch, g.range(0, 63));
        r.setGasEnabled(ch, r.UG_(ch) != 0 ? -1 : 0);
        r.setZeroForce(ch, ch == 1 ? 0 : g.pick<int>({0, 1, 5, 10, 16}));
        r.setZero(ch, g.range(0, 1));
        if (ch >= 1 && ch <= 3)
            r.setAltRng(ch, g.range(0, 1));
        const int type = ch >= 4 ? g.pick<int>({4, 5, 6, 16, 0}) : g.pick<int>({0, 1, 2, 3, 7, 9});
        r.setGasType(ch, type);
        if (ch >= 4 && type == 5)
            r.setPIDSmallRange(ch, g.range(0, 9));
        if (ch >= 4 && type == 4)
            r.setAutoRange(ch, g.range(0, 9));
        for (M m : {M::Warning, M::Alarm, M::Stel, M::Twa})
            r.setNumber(m, g.value(p), ch);
        float cal = g.value(p);
        if (type == 0 && cal >= 0 && r.FL_(0) != 0 && r.GasFullScale(ch) != 0)
            cal = float(double(r.GasFullScale(ch)) / r.FL_(0) * double(cal));
        r.setAutoCalib(ch, cal);
    }
    // Switches and small codes, each up to its highest value.
    const std::pair<M, int> codes[] = {
        {M::AlarmMode, 1}, {M::CalCheck, 2}, {M::LunchBreak, 1}, {M::AlarmSilence, 1}, {M::Confermation, 3},
        {M::LogOverWrite, 1}, {M::LcdBackLight, 255}, {M::LcdContrast, 255}, {M::LBMode, 3}, {M::BarHoleTime, 2},
        {M::LeakBeep, 1}, {M::CATOtherEV, 1}, {M::AlarmO2, 2}, {M::LogaClear, 1}, {M::CATppm1st, 50000},
        {M::CATppm2nd, 50000}, {M::AutoZero, 1}, {M::ConvFc, 1}, {M::InertOnOff, 1}, {M::LogoDisp, 4},
        {M::AFapDisp, 1}, {M::UIgasDisp, 1}, {M::UWdateDisp, 1}, {M::MEDisp, 1}, {M::AliveDisp, 1},
        {M::RemainTimeDisp, 1}, {M::UsePasswd, 1}, {M::IRRange, 1}, {M::Battery, 1}, {M::DemandZero, 1},
        {M::DispSpanFc, 1}};
    for (const auto &[m, hi] : codes)
        r.setNumber(m, g.range(0, hi));
    r.setIntervals(g.pick<int>({5, 10, 20, 30, 60, 180, 300, 600}));
    r.setDispID(g.pick<int>({0, -1}));
    r.setDispCalLimit(g.pick<int>({0, -1}));
    r.setCalLimit(g.pick<int>({0, 30, 365, -1, 1000}));
    r.setSpecType(QString::number(g.range(0, 4)));
    const int mode = g.range(0, 3);
    r.setHcMode(mode);
    r.setCurrHc(mode == 3 ? g.range(0, 2) : (mode == 0 ? 2 : mode == 1 ? 0 : 1));
    r.setCATvol1st(float(g.range(0, 10000) * 0.01));
    r.setCATvol2nd(float(g.range(0, 10000) * 0.01));
    for (int i = 0; i < 3; ++i) {
        r.setHE_(i, g.range(i == 2 ? 30 : 0, 255));
        if (i < 2)
            r.setHH_(i, g.range(0, 255));
    }
    r.setInert1st(float(g.range(0, 400) * 0.1));
    r.setInert2nd(float(g.range(0, 400) * 0.1));
    r.setInvalidIF(false);
    r.setBNuserLogoName(g.exact(20));
    r.setPassword(g.exact(4));
    for (int i = 0; i < 6; ++i)
        r.setG1_(i, g.name(20));
    return r;
}
