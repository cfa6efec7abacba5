#include "model/clsInstrument.h"

#include <gtest/gtest.h>
#include <QHash>
#include <functional>
#include <utility>

using M = clsInstrument::M;
using F = clsInstrument::F;

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

} // namespace

namespace {

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

// Every member with a call of its own named setter, walked from the member list.
using SetCall = std::function<bool(clsInstrument &, int, int)>;
struct Named {
    const char *name;
    bool indexed;
    SetCall set;
};
#define SAMPLE_Int16 7
#define SAMPLE_Int32 qint64(7)
#define SAMPLE_Int64 qint64(7)
#define SAMPLE_Single 1.5f
#define SAMPLE_Bool true
#define SAMPLE_Text QStringLiteral("AB")
#define SAMPLE_Date QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))
#define CALL_D0(r, S, K) r.S(SAMPLE_##K)
#define CALL_D1(r, S, K) r.S(i, SAMPLE_##K)
#define CALL_D2(r, S, K) r.S(i, j, SAMPLE_##K)
#define VANTIK_MEMBER(Name, Setter, K, Shape, ...)                                                 \
    {#Name, #Shape[1] != '0', [](clsInstrument &r, [[maybe_unused]] int i, [[maybe_unused]] int j) { \
         return CALL_##Shape(r, Setter, K);                                                          \
     }},
const Named kNamed[] = {
#include "model/InstrumentMembers.def"
};
#undef VANTIK_MEMBER

QString entry(const QString &flag, int i, int j) { return QStringLiteral("%1(%2,%3)").arg(flag).arg(i).arg(j); }

} // namespace

TEST(Instrument, EverySetterRaisesExactlyTheFlagOfItsNameWithinItsBounds)
{
    const QHash<QString, Want> want = wanted();
    ASSERT_EQ(std::size(kNamed), size_t(M::Count));
    EXPECT_EQ(want.size(), int(M::Count));
    for (const Named &n : kNamed) {
        const QString name = QLatin1String(n.name);
        SCOPED_TRACE(n.name);
        ASSERT_TRUE(want.contains(name));
        const Want &w = want[name];
        const auto m = clsInstrument::memberByName(name);
        ASSERT_TRUE(m);
        const auto &mi = clsInstrument::info(*m);
        EXPECT_EQ(mi.count1, w.n1);
        EXPECT_EQ(mi.count2, w.n2);
        if (!w.flag.isEmpty()) {
            ASSERT_TRUE(clsInstrument::flagByName(w.flag)) << w.flag.toStdString();
        }
        for (int i = 0; i < w.n1; ++i) {
            for (int j = 0; j < w.n2; ++j) {
                clsInstrument r;
                ASSERT_TRUE(n.set(r, i, j)) << i << "," << j;
                QStringList expected;
                if (!w.flag.isEmpty())
                    expected << (w.wholeFlag ? entry(w.flag, 0, 0) : entry(w.flag, i, j));
                if (i >= w.subFrom && i <= w.subTo)
                    expected << entry(QStringLiteral("Change_SubBoard"), 0, 0);
                ASSERT_EQ(setFlags(r), expected) << i << "," << j;

                clsInstrument d;
                clsInstrument::DeviceDoor door(d);
                ASSERT_TRUE(n.set(d, i, j));
                ASSERT_FALSE(d.AnyChangeFlag());
            }
        }
        if (!n.indexed)
            continue;
        for (const auto &[i, j] : {std::pair{w.n1, 0}, std::pair{-1, 0}}) {
            clsInstrument r;
            EXPECT_FALSE(n.set(r, i, j)) << i;
            EXPECT_EQ(r.lastError().isEmpty(), !w.error) << i;
            EXPECT_FALSE(r.AnyChangeFlag());
        }
        if (w.n2 > 1) {
            clsInstrument r;
            EXPECT_FALSE(n.set(r, 0, w.n2)); // a second index outside its bounds is always an error
            EXPECT_FALSE(r.lastError().isEmpty());
        }
    }
}

TEST(Instrument, MetadataOfTheGridsAndFiles)
{
    const auto info = [](M m) { return clsInstrument::info(m); };
    EXPECT_EQ(info(M::SerialNo).width, 20);
    EXPECT_EQ(info(M::XS_).width, 16);
    EXPECT_EQ(info(M::GasName).width, 3);
    EXPECT_EQ(info(M::G1_).width, 20);
    EXPECT_EQ(info(M::Password).width, 4);
    EXPECT_TRUE(info(M::CalLimit).inRange(365));
    EXPECT_FALSE(info(M::CalLimit).inRange(0));
    EXPECT_FALSE(info(M::LcdContrast).inRange(16));
    EXPECT_TRUE(info(M::LcdBackLight).inRange(255));
    EXPECT_FALSE(info(M::CATppm1st).inRange(50001));
    EXPECT_EQ(info(M::LO_fc).scaleDigits, 2);
    EXPECT_EQ(info(M::CATvol1st).decimals, 2);
    EXPECT_FALSE(info(M::Warning).hasRange()); // follows the channel's full scale
    EXPECT_TRUE(info(M::Warning).inRange(1e9));
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
        r.setAlarmMode(1);
        r.setXS_(3, "NORTH");
        r.setChange_XZ_(4, true); // flags set directly still land
    }
    EXPECT_FALSE(r.deviceDoorOpen());
    EXPECT_FLOAT_EQ(r.Warning(5), 12);
    EXPECT_EQ(r.AlarmMode(), 1);
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
    EXPECT_FALSE(r.setAlarmMode(32768));
    EXPECT_FALSE(r.setLcdContrast(-32769));
    EXPECT_EQ(r.AlarmMode(), 7);
    EXPECT_FALSE(r.Change_AlarmMode());
    EXPECT_TRUE(r.setAlarmMode(-32768));
    EXPECT_FALSE(r.setCATppm1st(2147483648LL));
    EXPECT_TRUE(r.setFL_(0, -2147483647LL - 1));
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
    EXPECT_EQ(r.StationID(), QString(16, ' '));
    r.setUserID("BOB");
    EXPECT_EQ(r.UserID(), QStringLiteral("BOB"));
    r.setSerialNo(" ");
    EXPECT_EQ(r.SerialNo(), QString(20, ' '));
    r.setXS_(0, "");
    EXPECT_EQ(r.XS_(0), QString()); // list names have no such rule
}

TEST(Instrument, ClearDatasResetsEverythingButTheSessionAndFullScale)
{
    clsInstrument r;
    r.setGasFullScale(2, 100);
    r.setGasPoint(2, 1);
    r.setGasName(2, "H2S");
    r.setWarning(10, 5);
    r.setInvalidIF(false);
    r.setInvalidWB(true);
    r.setXV_(0, 5);
    r.setXS_(100, "PLANT");
    r.setPIDAutoCal(16, 1, 100);
    r.setCommFlags(-1);
    r.setImportFlag(-1);
    r.setCalibDate(0, QDateTime::currentDateTime());

    r.ClearDatas();
    EXPECT_FLOAT_EQ(r.GasFullScale(2), 100);
    EXPECT_EQ(r.CommFlags(), -1);
    EXPECT_EQ(r.ImportFlag(), -1);
    EXPECT_EQ(r.GasPoint(2), 0);
    EXPECT_EQ(r.GasName(2), QString());
    EXPECT_FLOAT_EQ(r.Warning(10), 0);
    EXPECT_TRUE(r.InvalidIF());
    EXPECT_FALSE(r.invalidWB());
    EXPECT_EQ(r.XV_(0), 1);
    EXPECT_EQ(r.XS_(100), QString());
    EXPECT_FLOAT_EQ(r.PIDAutoCal(16, 1), 0);
    EXPECT_FALSE(r.CalibDate(0).isValid());
    EXPECT_TRUE(setFlags(r).isEmpty());
    // A new record starts the same way, and no flag raised.
    const clsInstrument fresh;
    EXPECT_TRUE(fresh.InvalidIF());
    EXPECT_EQ(fresh.XV_(1), 1);
    EXPECT_EQ(fresh.StationID(), QString(16, ' '));
    EXPECT_TRUE(setFlags(fresh).isEmpty());
}

TEST(Instrument, SetChangeFlagsLeavesTheSerialFlagsAlone)
{
    clsInstrument r;
    r.SetChangeFlags(true);
    EXPECT_FALSE(r.Change_SerialNo());
    EXPECT_FALSE(r.Change_DummySerial());
    for (int f = 0; f < int(F::Count); ++f) {
        if (F(f) == F::Change_SerialNo || F(f) == F::Change_DummySerial)
            continue;
        const auto &fi = clsInstrument::info(F(f));
        for (int i = 0; i < fi.count1; ++i)
            for (int j = 0; j < fi.count2; ++j)
                ASSERT_TRUE(r.flag(F(f), i, j)) << fi.name << " " << i << " " << j;
    }
    EXPECT_TRUE(r.Change_SubBoard());

    r.setSerialNo("123");
    r.setChange_DummySerial(true);
    r.SetChangeFlags(false);
    EXPECT_EQ(setFlags(r), (QStringList{"Change_SerialNo(0,0)", "Change_DummySerial(0,0)"}));
    r.ClearChangeFlags();
    EXPECT_TRUE(setFlags(r).isEmpty());
}

TEST(Instrument, MemberTableIsConsistent)
{
    for (int m = 0; m < int(M::Count); ++m) {
        const auto &mi = clsInstrument::info(M(m));
        EXPECT_EQ(clsInstrument::memberByName(QLatin1String(mi.name)), M(m)) << mi.name;
        if (mi.flag == F::NoFlag)
            continue;
        // A flag either covers the whole member or has one entry per entry of the member.
        const auto &fi = clsInstrument::info(mi.flag);
        EXPECT_TRUE(fi.count1 == 1 || fi.count1 == mi.count1) << mi.name;
        EXPECT_TRUE(fi.count2 == 1 || fi.count2 == mi.count2) << mi.name;
    }
    EXPECT_EQ(clsInstrument::flagByName(QStringLiteral("Change_Warn")), F::Change_Warn);
    EXPECT_FALSE(clsInstrument::memberByName(QStringLiteral("NoSuchMember")));

    clsInstrument r;
    EXPECT_TRUE(r.setValue(M::PIDUnit, QStringLiteral("ppm"), 4, 1));
    EXPECT_EQ(r.PIDUnit(4, 1), QStringLiteral("ppm"));
    EXPECT_TRUE(r.isChanged(M::PIDUnit, 4, 1));
    EXPECT_TRUE(r.isChanged(M::PIDDigit, 4, 1)); // same row flag
    EXPECT_FALSE(r.isChanged(M::AutoRange, 0));
    EXPECT_EQ(r.value(M::Warning, 3).typeId(), QMetaType::Float);
}

