#include "model/clsInstrument.h"

#include <gtest/gtest.h>
#include <QHash>

using M = clsInstrument::M;
using F = clsInstrument::F;
using Kind = clsInstrument::Kind;

namespace {

// Every (flag, i, j) that is set on the record.
QStringList setFlags(const clsInstrument &r)
{
    QStringList out;
    for (int f = 0; f < int(F::Count); ++f) {
        const auto &fi = clsInstrument::info(F(f));
        for (int i = 0; i < fi.count1; ++i)
            for (int j = 0; j < fi.count2; ++j)
                if (r.flag(F(f), i, j))
                    out << QStringLiteral("%1(%2,%3)").arg(QLatin1String(fi.name)).arg(i).arg(j);
    }
    return out;
}

QVariant sample(Kind k)
{
    switch (k) {
    case Kind::Text: return QStringLiteral("AB");
    case Kind::Date: return QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5));
    case Kind::Bool: return true;
    case Kind::Single: return 1.5f;
    default: return 7;
    }
}

// What the record must do per member, written out here rather than taken from the code:
// the flag a set raises (by name), the index bounds, whether an index outside is an error,
// and the indices whose set also raises Change_SubBoard.
struct Want {
    int n1 = 1, n2 = 1;
    bool error = true;    // an index outside is an error (else quietly ignored)
    int subFrom = -1, subTo = -1;
    bool wholeFlag = false; // one flag entry covers every index
    QString flag{};         // "" for a member without a flag
};

QHash<QString, Want> wanted()
{
    QHash<QString, Want> w;
    const auto add = [&](std::initializer_list<const char *> names, const Want &shape, const char *flag = nullptr) {
        for (const char *n : names) {
            Want x = shape;
            x.flag = flag ? QLatin1String(flag) : QStringLiteral("Change_") + QLatin1String(n);
            w.insert(QLatin1String(n), x);
        }
    };
    const Want scalar;
    add({"SerialNo", "DummySerial", "StationID", "UserID", "SpecType", "AlarmMode", "DispID", "DispCalLimit",
         "CalCheck", "CalLimit", "LunchBreak", "AlarmSilence", "Confermation", "LogOverWrite", "LcdBackLight",
         "LcdContrast", "AlarmO2", "CurrHc", "BarHoleTime", "LeakBeep", "IRRange", "UsePasswd", "Password",
         "AutoZero", "ConvFc", "Battery", "DemandZero", "DispSpanFc", "LogoDisp", "MEDisp", "AliveDisp",
         "RemainTimeDisp", "AFapDisp", "UIgasDisp", "UWdateDisp", "BNuserLogoName", "CATOtherEV", "InertOnOff",
         "CATOtherSelect", "CATOther", "TCOther", "Inert1st", "Inert2nd", "LN_"},
        scalar);
    add({"Intervals"}, scalar, "Change_Interval");
    add({"HcMode"}, scalar, "Change_HCMode");
    add({"LogaClear"}, scalar, "Change_logaClear");
    add({"LBMode"}, scalar, "Change_LBmode");
    add({"InvalidIF"}, scalar, "Change_invalidIF");
    add({"CATppm1st"}, scalar, "Change_CATppm1");
    add({"CATppm2nd"}, scalar, "Change_CATppm2");
    add({"CATvol1st"}, scalar, "Change_CATvol1");
    add({"CATvol2nd"}, scalar, "Change_CATvol2");
    add({"RomNumber", "SUM", "CommFlags", "ImportFlag", "FailLine", "SysDate", "SysDateOffset", "MessageString",
         "Key", "invalidWB", "invalidFL_", "invalidGN", "invalidLP", "invalidHE_", "invalidFF", "invalidLO_",
         "invalidLB_", "invalidLA_", "invalidLI", "invalidG1", "invalidLJ"},
        scalar, "");

    const Want channel{.n1 = 10, .error = false};
    const Want board{.n1 = 10, .error = false, .subFrom = 4, .subTo = 6};
    add({"GasName", "GasUnit", "GasFullScale", "GasDesit", "GasPoint", "Zero", "ZeroForce"}, board);
    add({"GasEnabled"}, board, "Change_GasEnable");
    add({"AutoCalib"}, board, "Change_AutoCal");
    add({"Ratio"}, board, "");
    add({"GasType"}, Want{.n1 = 10, .error = false, .wholeFlag = true});
    add({"AltRng", "PIDSmallRange"}, channel);
    add({"CalibBefore", "CalibAfter", "CalibDate", "AutoRange", "changeDenst"}, channel, "");
    const Want point{.n1 = 11, .subFrom = 4, .subTo = 6};
    add({"Warning"}, point, "Change_Warn");
    add({"Alarm", "Stel", "Twa"}, point);

    add({"XS_"}, Want{.n1 = 129});
    add({"XZ_"}, Want{.n1 = 33});
    add({"XV_", "HH_", "RP_"}, Want{.n1 = 3});
    add({"UG_"}, Want{.n1 = 8});
    add({"HE_"}, Want{.n1 = 4});
    add({"SI_"}, Want{.n1 = 5});
    add({"SZ_"}, Want{.n1 = 10}, "");
    add({"S1_"}, Want{.n1 = 8}, "");
    add({"G1_"}, Want{.n1 = 7, .subFrom = 2, .subTo = 4});
    add({"FL_"}, Want{.n1 = 5});
    add({"AnalogValue"}, Want{.n1 = 27}, "");
    add({"LO_longname", "LO_name", "LO_fc"}, Want{.n1 = 6}, "Change_LO_");
    add({"LB_longname", "LB_name", "LB_fc"}, Want{.n1 = 31}, "Change_LB_");
    add({"LA_warn", "LA_alarm", "LA_ratio", "LA_volt"}, Want{.n1 = 36}, "Change_LA_");
    add({"PIDName", "PIDLongName"}, Want{.n1 = 17, .error = false}, "Change_PIDName");
    add({"PIDUnit", "PIDPoint", "PIDFullScale", "PIDDigit", "PIDWarn", "PIDAlarm", "PIDStel", "PIDTwa",
         "PIDAutoCal", "PIDFactor"},
        Want{.n1 = 17, .n2 = 2, .error = false}, "Change_PIDSpec");
    return w;
}

QString entry(const QString &flag, int i, int j) { return QStringLiteral("%1(%2,%3)").arg(flag).arg(i).arg(j); }

} // namespace

// A set of each member at every index raises the flag of its name (one entry for the whole
// member where one flag covers it) and, on the option boards, Change_SubBoard; nothing else.
TEST(Instrument, EverySetterRaisesExactlyTheFlagOfItsNameWithinItsBounds)
{
    const QHash<QString, Want> want = wanted();
    EXPECT_EQ(want.size(), int(M::Count));
    for (int k = 0; k < int(M::Count); ++k) {
        const auto &mi = clsInstrument::info(M(k));
        SCOPED_TRACE(mi.name);
        const QString name = QLatin1String(mi.name);
        ASSERT_TRUE(want.contains(name));
        const Want &w = want[name];
        EXPECT_EQ(mi.count1, w.n1);
        EXPECT_EQ(mi.count2, w.n2);
        EXPECT_EQ(mi.outsideIsError, w.error);
        for (int i = 0; i < w.n1; ++i) {
            for (int j = 0; j < w.n2; ++j) {
                clsInstrument r;
                ASSERT_TRUE(r.setValue(M(k), sample(mi.kind), i, j)) << i << "," << j;
                QStringList expected;
                if (!w.flag.isEmpty())
                    expected << (w.wholeFlag ? entry(w.flag, 0, 0) : entry(w.flag, i, j));
                if (i >= w.subFrom && i <= w.subTo)
                    expected << entry(QStringLiteral("Change_SubBoard"), 0, 0);
                ASSERT_EQ(setFlags(r), expected) << i << "," << j;
            }
        }
    }
}

// The widths the grids and files hold texts to, and the top of the catalytic ppm points (the
// widest value their instrument word carries).
TEST(Instrument, TextWidthsAndTheCatalyticLimit)
{
    for (const auto &[m, width] : {std::pair{M::SerialNo, 20}, {M::XS_, 16}, {M::XZ_, 16}, {M::GasName, 3},
                                   {M::G1_, 20}, {M::Password, 4}, {M::BNuserLogoName, 20}})
        EXPECT_EQ(clsInstrument::info(m).width, width) << clsInstrument::info(m).name;
    for (const M m : {M::CATppm1st, M::CATppm2nd}) {
        EXPECT_TRUE(clsInstrument::info(m).inRange(50000));
        EXPECT_FALSE(clsInstrument::info(m).inRange(50001));
    }
}

// Walked from the member list: a set at the first and the last entry keeps its value and raises
// its own flag entry and no other (Change_SubBoard aside); the device door raises none; an
// index outside fails, reported where the member says so.
TEST(Instrument, EverySetRaisesOnlyItsOwnFlagEntryAndNoneThroughTheDeviceDoor)
{
    for (int k = 0; k < int(M::Count); ++k) {
        const M m = M(k);
        const auto &mi = clsInstrument::info(m);
        SCOPED_TRACE(mi.name);
        EXPECT_EQ(clsInstrument::memberByName(QLatin1String(mi.name)), m);
        const QVariant v = sample(mi.kind);
        for (const auto &[i, j] : {std::pair{0, 0}, std::pair{mi.count1 - 1, mi.count2 - 1}}) {
            clsInstrument r;
            ASSERT_TRUE(r.setValue(m, v, i, j)) << i << "," << j;
            EXPECT_EQ(r.value(m, i, j).toString(), v.toString()) << i << "," << j;
            const int raised = int(setFlags(r).size()) - (r.Change_SubBoard() ? 1 : 0);
            EXPECT_EQ(raised, mi.flag == F::NoFlag ? 0 : 1) << i << "," << j;
            EXPECT_EQ(r.isChanged(m, i, j), mi.flag != F::NoFlag) << i << "," << j;

            clsInstrument d;
            clsInstrument::DeviceDoor door(d);
            ASSERT_TRUE(d.setValue(m, v, i, j));
            EXPECT_FALSE(d.AnyChangeFlag());
        }
        for (const auto &[i, j] : {std::pair{int(mi.count1), 0}, std::pair{-1, 0}, std::pair{0, int(mi.count2)}}) {
            clsInstrument r;
            EXPECT_FALSE(r.setValue(m, v, i, j)) << i << "," << j;
            EXPECT_EQ(r.lastError().isEmpty(), !mi.outsideIsError && j == 0) << i << "," << j;
            EXPECT_FALSE(r.AnyChangeFlag());
        }
    }
    // The option board's channels 4..6 and the list entries on it raise Change_SubBoard too.
    const struct { M m; int i; bool sub; } board[] = {
        {M::GasName, 3, false}, {M::GasName, 4, true}, {M::GasName, 6, true}, {M::GasName, 7, false},
        {M::Warning, 6, true},  {M::G1_, 1, false},    {M::G1_, 4, true},     {M::G1_, 5, false},
    };
    for (const auto &b : board) {
        clsInstrument r;
        r.setValue(b.m, sample(clsInstrument::info(b.m).kind), b.i);
        EXPECT_EQ(r.Change_SubBoard(), b.sub) << clsInstrument::info(b.m).name << " " << b.i;
    }
    // One flag entry covers every member of a PID row and range.
    clsInstrument r;
    EXPECT_TRUE(r.setValue(M::PIDUnit, QStringLiteral("ppm"), 4, 1));
    EXPECT_TRUE(r.isChanged(M::PIDDigit, 4, 1));
    EXPECT_FALSE(r.isChanged(M::PIDDigit, 4, 0));
}

TEST(Instrument, DeviceDoorStoresWithoutFlags)
{
    clsInstrument r;
    {
        clsInstrument::DeviceDoor door(r);
        {
            clsInstrument::DeviceDoor inner(r);
            r.setWarning(5, 12);
        }
        EXPECT_TRUE(r.deviceDoorOpen());
        r.setChange_XZ_(4, true); // flags set directly still land
    }
    EXPECT_FALSE(r.deviceDoorOpen());
    EXPECT_FLOAT_EQ(r.Warning(5), 12);
    EXPECT_EQ(setFlags(r), QStringList{"Change_XZ_(4,0)"});
    r.setAlarmMode(0);
    EXPECT_TRUE(r.Change_AlarmMode());

    clsInstrument copy(r);
    EXPECT_TRUE(copy.Change_AlarmMode()); // flags travel with a copy
}

TEST(Instrument, IntegerMembersRefuseValuesThatDoNotFit)
{
    clsInstrument r;
    r.setAlarmMode(7);
    r.ClearChangeFlags();
    EXPECT_FALSE(r.setAlarmMode(32768) || r.setLcdContrast(-32769) || r.setCATppm1st(2147483648LL));
    EXPECT_EQ(r.AlarmMode(), 7);
    EXPECT_FALSE(r.AnyChangeFlag());
    EXPECT_TRUE(r.setAlarmMode(-32768) && r.setAlarmMode(32767) && r.setFL_(0, -2147483647LL - 1));
    EXPECT_EQ(r.FL_(0), -2147483647 - 1);
    EXPECT_FALSE(r.setNumber(M::GasPoint, 1.5, 0)); // a fraction is no 16-bit value
    EXPECT_FALSE(r.setValue(M::CalLimit, QStringLiteral("abc")));
    EXPECT_TRUE(r.setValue(M::CalLimit, QStringLiteral("30")));
    EXPECT_EQ(r.CalLimit(), 30);
}

TEST(Instrument, BlankTextsBecomeBlanksOfTheirWidth)
{
    clsInstrument r;
    r.setStationID("");
    r.setUserID("BOB");
    r.setSerialNo(" ");
    r.setXS_(0, ""); // list names have no such rule
    EXPECT_EQ(QStringList({r.StationID(), r.UserID(), r.SerialNo(), r.XS_(0)}),
              QStringList({QString(16, ' '), "BOB", QString(20, ' '), QString()}));
}

TEST(Instrument, ClearDatasResetsEverythingButTheSessionAndFullScale)
{
    clsInstrument r;
    r.setGasFullScale(2, 100);
    r.setGasPoint(2, 1);
    r.setGasName(2, "H2S");
    r.setWarning(10, 5);
    r.setInvalidIF(false);
    r.setXV_(0, 5);
    r.setXS_(128, "PLANT");
    r.setPIDAutoCal(16, 1, 100);
    r.setCommFlags(-1);
    r.setImportFlag(-1);
    r.setCalibDate(0, QDateTime::currentDateTime());

    r.ClearDatas();
    EXPECT_FLOAT_EQ(r.GasFullScale(2), 100);
    EXPECT_EQ(r.CommFlags() + r.ImportFlag(), -2);
    EXPECT_EQ(r.GasName(2) + r.XS_(128), QString());
    EXPECT_EQ(r.GasPoint(2), 0);
    EXPECT_FLOAT_EQ(r.Warning(10) + r.PIDAutoCal(16, 1), 0);
    EXPECT_FALSE(r.CalibDate(0).isValid());
    EXPECT_TRUE(setFlags(r).isEmpty());
    // A new record starts the same way, and no flag raised.
    for (const clsInstrument &c : {r, clsInstrument()}) {
        EXPECT_TRUE(c.InvalidIF());
        EXPECT_EQ(c.XV_(0) + c.XV_(1), 2);
        EXPECT_EQ(c.StationID(), QString(16, ' '));
        EXPECT_TRUE(setFlags(c).isEmpty());
    }
}

TEST(Instrument, SetChangeFlagsLeavesTheSerialFlagsAlone)
{
    clsInstrument r;
    r.SetChangeFlags(true);
    const QStringList raised = setFlags(r);
    EXPECT_FALSE(raised.contains(QStringLiteral("Change_SerialNo(0,0)")));
    EXPECT_FALSE(raised.contains(QStringLiteral("Change_DummySerial(0,0)")));
    int entries = 0;
    for (int f = 0; f < int(F::Count); ++f)
        entries += clsInstrument::info(F(f)).count1 * clsInstrument::info(F(f)).count2;
    EXPECT_EQ(raised.size(), entries - 2) << "every other entry, to the last";

    r.setSerialNo("123");
    r.setChange_DummySerial(true);
    r.SetChangeFlags(false);
    EXPECT_EQ(setFlags(r), (QStringList{"Change_SerialNo(0,0)", "Change_DummySerial(0,0)"}));
    r.ClearChangeFlags();
    EXPECT_FALSE(r.AnyChangeFlag());
}
