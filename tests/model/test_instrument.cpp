#include "model/clsInstrument.h"

#include <gtest/gtest.h>

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

} // namespace

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
