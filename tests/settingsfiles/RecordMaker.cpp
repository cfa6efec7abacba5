#include "RecordMaker.h"

#include <QFile>
#include <gtest/gtest.h>
#include <cmath>
#include <random>

using M = clsInstrument::M;
using F = clsInstrument::F;

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

// Members a complete file does not carry, or carries only for some entries.
bool carried(M m, int i)
{
    switch (m) {
    case M::SerialNo: case M::DummySerial: case M::StationID: case M::UserID: case M::RomNumber:
    case M::SUM: case M::CommFlags: case M::ImportFlag: case M::FailLine: case M::SysDate:
    case M::SysDateOffset: case M::MessageString: case M::Key: case M::CalibBefore:
    case M::CalibAfter: case M::CalibDate: case M::changeDenst: case M::RP_: case M::SI_:
    case M::SZ_: case M::S1_: case M::AnalogValue:
    // Support flags describe the instrument: a load keeps those of the record it replaces.
    case M::invalidWB: case M::invalidFL_: case M::invalidGN: case M::invalidLP: case M::invalidHE_:
    case M::invalidFF: case M::invalidLO_: case M::invalidLB_: case M::invalidLA_: case M::invalidLI:
    case M::invalidG1: case M::invalidLJ: case M::InvalidIF:
        return false;
    case M::Ratio:
        return i == 0;
    case M::XS_:
        return i < 128;
    case M::XZ_:
        return i < 32;
    case M::XV_: case M::HH_:
        return i < 2;
    case M::HE_:
        return i < 3;
    case M::G1_:
        return i < 6;
    case M::FL_:
        return i < 4;
    case M::LO_longname: case M::LO_name: case M::LO_fc:
        return i < 5;
    case M::LB_longname: case M::LB_name: case M::LB_fc:
        return i < 30;
    case M::LA_warn: case M::LA_alarm: case M::LA_ratio: case M::LA_volt:
        return i < 35;
    case M::UG_:
        return i < 7;
    default:
        break;
    }
    // Per-channel members: channels 7..9 (10) are derived, not read.
    if (clsInstrument::info(m).count1 >= 10 && clsInstrument::info(m).count1 <= 11)
        return i < 7;
    return true;
}

} // namespace

clsInstrument makeRecord(unsigned seed)
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

QStringList carriedDifferences(const clsInstrument &expected, const clsInstrument &actual)
{
    QStringList out;
    for (int mi = 0; mi < int(M::Count); ++mi) {
        const M m = M(mi);
        const auto &info = clsInstrument::info(m);
        for (int i = 0; i < info.count1; ++i) {
            if (!carried(m, i))
                continue;
            for (int j = 0; j < info.count2; ++j) {
                const QVariant a = expected.value(m, i, j);
                const QVariant b = actual.value(m, i, j);
                bool same = a == b;
                if (!same && m == M::AutoCalib && expected.GasType(i) == 0) {
                    const double x = a.toDouble();
                    const double y = b.toDouble();
                    same = std::abs(x - y) <= 1e-5 * std::max(1.0, std::abs(x));
                }
                if (!same)
                    out << QStringLiteral("%1(%2,%3): %4 != %5").arg(QLatin1String(info.name)).arg(i).arg(j).arg(a.toString(), b.toString());
            }
        }
    }
    return out;
}

QStringList flagDifferences(const clsInstrument &loaded)
{
    static const QStringList neverSet = {"Change_SerialNo", "Change_DummySerial", "Change_StationID",
                                         "Change_UserID", "Change_RP_", "Change_SI_"};
    // Entries beyond what the file holds.
    static const QHash<QString, int> firstUnset = {
        {"Change_XS_", 128}, {"Change_XZ_", 32}, {"Change_XV_", 2}, {"Change_UG_", 7}, {"Change_HH_", 2},
        {"Change_HE_", 3}, {"Change_G1_", 6}, {"Change_FL_", 4}, {"Change_LO_", 5}, {"Change_LB_", 30},
        {"Change_LA_", 35}};
    QStringList out;
    for (int fi = 0; fi < int(F::Count); ++fi) {
        const F f = F(fi);
        const auto &info = clsInstrument::info(f);
        const QString name = QLatin1String(info.name);
        for (int i = 0; i < info.count1; ++i) {
            for (int j = 0; j < info.count2; ++j) {
                bool want = !neverSet.contains(name);
                if (firstUnset.contains(name))
                    want = i < firstUnset.value(name);
                else if (info.count1 >= 10 && info.count1 <= 11)
                    want = i < 7; // channels
                if (name == QLatin1String("Change_AltRng"))
                    want = i >= 1 && i <= 3;
                if (name == QLatin1String("Change_PIDSmallRange"))
                    want = i >= 4 && i <= 6 && loaded.GasType(i) == 5;
                if (loaded.flag(f, i, j) != want)
                    out << QStringLiteral("%1(%2,%3) is %4").arg(name).arg(i).arg(j).arg(want ? "clear" : "set");
            }
        }
    }
    return out;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QList<QByteArray> crlfLines(const QByteArray &bytes)
{
    QList<QByteArray> out = bytes.split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    for (QByteArray &l : out) {
        EXPECT_TRUE(l.endsWith('\r')) << l.toStdString();
        l.chop(1);
    }
    return out;
}
