#include "model/clsInstrument.h"

#include <gtest/gtest.h>
#include <functional>

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

TEST(Instrument, SettersRaiseTheirOwnFlagUnderItsExactName)
{
    const struct {
        const char *what;
        std::function<void(clsInstrument &)> set;
        std::function<bool(const clsInstrument &)> flag;
    } cases[] = {
        {"Intervals", [](auto &r) { r.setIntervals(60); }, [](auto &r) { return r.Change_Interval(); }},
        {"HcMode", [](auto &r) { r.setHcMode(1); }, [](auto &r) { return r.Change_HCMode(); }},
        {"LBMode", [](auto &r) { r.setLBMode(2); }, [](auto &r) { return r.Change_LBmode(); }},
        {"CATvol2nd", [](auto &r) { r.setCATvol2nd(1.5f); }, [](auto &r) { return r.Change_CATvol2(); }},
        {"InvalidIF", [](auto &r) { r.setInvalidIF(false); }, [](auto &r) { return r.Change_invalidIF(); }},
        {"LN_", [](auto &r) { r.setLN_(12); }, [](auto &r) { return r.Change_LN_(); }},
        {"SerialNo", [](auto &r) { r.setSerialNo("A1"); }, [](auto &r) { return r.Change_SerialNo(); }},
        {"GasEnabled", [](auto &r) { r.setGasEnabled(3, -1); }, [](auto &r) { return r.Change_GasEnable(3); }},
        {"Warning", [](auto &r) { r.setWarning(10, 1); }, [](auto &r) { return r.Change_Warn(10); }},
        {"GasType", [](auto &r) { r.setGasType(2, 4); }, [](auto &r) { return r.Change_GasType(); }},
        {"XV_", [](auto &r) { r.setXV_(1, 3); }, [](auto &r) { return r.Change_XV_(1); }},
        {"XS_", [](auto &r) { r.setXS_(128, "Z"); }, [](auto &r) { return r.Change_XS_(128); }},
        {"PIDSmallRange", [](auto &r) { r.setPIDSmallRange(5, 1); }, [](auto &r) { return r.Change_PIDSmallRange(5); }},
    };
    for (const auto &c : cases) {
        clsInstrument r;
        c.set(r);
        EXPECT_TRUE(c.flag(r)) << c.what;
        EXPECT_EQ(setFlags(r).size(), 1) << c.what << ": " << setFlags(r).join(' ').toStdString();
    }
}

TEST(Instrument, GroupFlagsCoverTheirRowOnly)
{
    clsInstrument r;
    r.setLO_name(2, "ABC");
    r.setLO_fc(2, 150);
    r.setLO_longname(2, "LONG");
    EXPECT_EQ(setFlags(r), QStringList{"Change_LO_(2,0)"});

    clsInstrument b;
    b.setLB_fc(30, 100);
    b.setLA_volt(35, 1.5f);
    b.setLA_warn(0, -121);
    EXPECT_EQ(setFlags(b), (QStringList{"Change_LB_(30,0)", "Change_LA_(0,0)", "Change_LA_(35,0)"}));

    clsInstrument p;
    p.setPIDLongName(16, "ISOBUTYLENE");
    p.setPIDFactor(3, 1, 1.2f);
    p.setPIDUnit(3, 1, "ppm");
    EXPECT_EQ(setFlags(p), (QStringList{"Change_PIDName(16,0)", "Change_PIDSpec(3,1)"}));
    EXPECT_FALSE(p.Change_PIDSpec(3, 0));
}

TEST(Instrument, SubBoardFollowsOptionBoardChannelsAndLongNames)
{
    const std::function<void(clsInstrument &, int)> raising[] = {
        [](auto &r, int c) { r.setGasName(c, "X"); },    [](auto &r, int c) { r.setGasEnabled(c, -1); },
        [](auto &r, int c) { r.setGasFullScale(c, 5); }, [](auto &r, int c) { r.setTwa(c, 1); },
        [](auto &r, int c) { r.setAutoCalib(c, 1); },    [](auto &r, int c) { r.setZeroForce(c, 1); },
        [](auto &r, int c) { r.setRatio(c, 1); },
    };
    int n = 0;
    for (const auto &set : raising) {
        for (int ch = 0; ch <= 9; ++ch) {
            clsInstrument r;
            set(r, ch);
            EXPECT_EQ(r.Change_SubBoard(), ch >= 4 && ch <= 6) << "setter " << n << " channel " << ch;
        }
        ++n;
    }
    const std::function<void(clsInstrument &, int)> quiet[] = {
        [](auto &r, int c) { r.setGasType(c, 5); }, [](auto &r, int c) { r.setPIDSmallRange(c, 1); },
        [](auto &r, int c) { r.setCalibBefore(c, 1); },
    };
    for (const auto &set : quiet) {
        clsInstrument r;
        set(r, 5);
        EXPECT_FALSE(r.Change_SubBoard());
    }
    for (int i = 0; i <= 6; ++i) {
        clsInstrument r;
        r.setG1_(i, "NAME");
        EXPECT_EQ(r.Change_SubBoard(), i >= 2 && i <= 4) << i;
        EXPECT_TRUE(r.Change_G1_(i));
    }
}

TEST(Instrument, MembersWithoutFlagsRaiseNone)
{
    clsInstrument r;
    r.setAutoRange(4, 1);
    r.setInvalidWB(true);
    r.setInvalidLJ(true);
    r.setCommFlags(-1);
    r.setImportFlag(-1);
    r.setFailLine("HC,R");
    r.setRomNumber(123456);
    r.setSysDateOffset(3600);
    r.setAnalogValue(26, 1234);
    r.setCalibAfter(1, 20.8f);
    r.setCalibDate(1, QDateTime::currentDateTime());
    r.setS1_(7, 1);
    EXPECT_FALSE(r.AnyChangeFlag()) << setFlags(r).join(' ').toStdString();
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

TEST(Instrument, OutOfRangeAccessIsRefusedWithoutACrash)
{
    clsInstrument r;
    // Channels outside 0..9: quietly ignored.
    EXPECT_FALSE(r.setGasName(10, "X"));
    EXPECT_FALSE(r.setGasPoint(-1, 2));
    EXPECT_EQ(r.GasName(10), QString());
    EXPECT_FLOAT_EQ(r.GasFullScale(-1), 0);
    EXPECT_TRUE(r.lastError().isEmpty());
    EXPECT_FALSE(r.AnyChangeFlag());

    // Alarm points take 0..10; beyond is an error.
    EXPECT_TRUE(r.setWarning(10, 3));
    EXPECT_FLOAT_EQ(r.Warning(10), 3);
    r.ClearChangeFlags();
    EXPECT_FALSE(r.setAlarm(11, 3));
    EXPECT_FALSE(r.lastError().isEmpty());
    r.clearLastError();
    EXPECT_FLOAT_EQ(r.Twa(-1), 0);
    EXPECT_FALSE(r.lastError().isEmpty());

    // Lists: errors outside their bounds.
    const struct { std::function<bool(clsInstrument &)> set; } lists[] = {
        {[](auto &r) { return r.setXS_(129, "X"); }}, {[](auto &r) { return r.setXZ_(33, "X"); }},
        {[](auto &r) { return r.setXV_(3, 1); }},     {[](auto &r) { return r.setUG_(8, 1); }},
        {[](auto &r) { return r.setG1_(7, "X"); }},   {[](auto &r) { return r.setFL_(5, 1); }},
        {[](auto &r) { return r.setLO_fc(6, 1); }},   {[](auto &r) { return r.setLB_name(31, "X"); }},
        {[](auto &r) { return r.setLA_warn(36, 1); }}, {[](auto &r) { return r.setAnalogValue(27, 1); }},
        {[](auto &r) { return r.setSZ_(10, 1); }},    {[](auto &r) { return r.setPIDWarn(0, 2, 1); }},
    };
    int n = 0;
    for (const auto &l : lists) {
        r.clearLastError();
        EXPECT_FALSE(l.set(r)) << n;
        EXPECT_FALSE(r.lastError().isEmpty()) << n;
        ++n;
    }
    EXPECT_FALSE(r.AnyChangeFlag());

    // PID entries outside 0..16: ignored.
    r.clearLastError();
    EXPECT_FALSE(r.setPIDName(17, "X"));
    EXPECT_EQ(r.PIDName(17), QString());
    EXPECT_TRUE(r.lastError().isEmpty());
    EXPECT_FALSE(r.Change_PIDName(17));
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
        if (mi.flag == F::Count)
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

