#include "factory/FsRulesChannel.h"
#include "factory/FsRulesOther.h"
#include "mainwindow/modMainWindow.h"
#include "model/clsInstrument.h"

#include <gtest/gtest.h>

using FsChannel::Ticks;

TEST(ChannelRules, OneGasPerPositionAndNeverTheLastTick)
{
    clsInstrument inst;
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setUG_(0, 5);
        inst.setUG_(1, 2);
    }
    Ticks t = FsChannel::TicksOf(inst);
    EXPECT_TRUE(t[0][0] && t[0][2] && !t[0][1]);
    EXPECT_TRUE(t[1][1]);

    auto next = FsChannel::Toggle(t, 2, 2);           // H2S takes Ch2 from OXY
    ASSERT_TRUE(next);
    EXPECT_TRUE((*next)[2][1]);
    EXPECT_FALSE((*next)[1][1]);
    next = FsChannel::Toggle(t, 3, 4);                // a free position changes no other row
    ASSERT_TRUE(next);
    EXPECT_EQ(FsChannel::TicksOf(inst)[0], (*next)[0]);
    EXPECT_TRUE(FsChannel::Toggle(t, 0, 1));          // two other ticks remain

    Ticks one{};
    one[4][5] = true;
    EXPECT_FALSE(FsChannel::Toggle(one, 4, 6));       // the last tick stays
    EXPECT_FALSE(FsChannel::Toggle(one, 7, 1));
}

TEST(ChannelRules, ApplyKeepsHighBitsAndFlagsOnlyRealChanges)
{
    clsInstrument inst;
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setUG_(0, 0x41);   // bit 6 beyond the six positions
        inst.setUG_(1, 32);     // Ch6
        inst.setUG_(2, 0x80);   // high bit only: in no position
    }
    Ticks t = FsChannel::TicksOf(inst);
    FsChannel::ApplyChannelMap(inst, t);
    for (int g = 0; g < FsChannel::kGases; ++g) {
        EXPECT_FALSE(inst.Change_UG_(g)) << g;
        EXPECT_FALSE(inst.Change_GasEnable(g)) << g;
    }
    EXPECT_EQ(inst.UG_(0), 0x41);

    t[0] = {true, true, true, true, true, true};
    t[1] = {};
    FsChannel::ApplyChannelMap(inst, t);
    EXPECT_EQ(inst.UG_(0), 0x7F);
    EXPECT_EQ(inst.GasEnabled(0), -1);
    EXPECT_EQ(inst.UG_(1), 0);
    EXPECT_EQ(inst.GasEnabled(1), 0);
    EXPECT_TRUE(inst.Change_UG_(1));
    EXPECT_FALSE(inst.Change_UG_(2));
}

TEST(OtherRules, ZeroSuppressAndMEValues)
{
    for (const char *ok : {"0", "1", "2", "3"})
        EXPECT_TRUE(FsOther::ZeroSuppressAcceptable(ok));
    for (const char *bad : {"4", "-1", "10", "", "a"})
        EXPECT_FALSE(FsOther::ZeroSuppressAcceptable(bad)) << bad;

    EXPECT_EQ(FsOther::MEValue(1, 1, "29"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(1, 2, "256"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(1, 1, "030"), "30");
    EXPECT_EQ(FsOther::MEValue(1, 1, "29.5"), "30");   // half to even
    EXPECT_EQ(FsOther::MEValue(1, 1, "254.5"), "254");
    EXPECT_EQ(FsOther::MEValue(2, 1, "12.6"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(2, 2, "12.6"), "13");
    EXPECT_EQ(FsOther::MEValue(2, 2, "0"), "0");
    EXPECT_EQ(FsOther::MEValue(2, 2, "41"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(2, 3, "255"), "255");
    EXPECT_EQ(FsOther::MEValue(2, 3, "100.00"), std::nullopt); // six characters
    EXPECT_EQ(FsOther::MEValue(3, 1, "100"), std::nullopt);
    EXPECT_EQ(FsOther::MEValue(1, 1, "abc"), std::nullopt);
}

TEST(OtherRules, ApplyWritesChangedSwitchesAndLoadsRangeParameters)
{
    FillReferenceTables();
    clsInstrument inst;
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setAltRng(2, 0);
        inst.setAltRng(3, 7);   // a value the box cannot show
        inst.setZero(0, -1);
        inst.setZeroForce(0, 2);
        inst.setGasType(5, 5);
        inst.setPIDSmallRange(5, 1);
        inst.setAlarmO2(9);     // no oxygen pattern of that number
        inst.setHH_(0, 100);
    }
    const clsInstrument before = inst;
    FsOther::OtherSet grid;
    for (int ch = 0; ch < 7; ++ch) {
        grid.altRange[ch] = ch >= 1 && ch <= 3 ? 2 : 0;
        grid.zero[ch] = 2;
        grid.zeroSuppress[ch] = QString::number(inst.ZeroForce(ch));
        grid.pidHigh[ch] = inst.GasType(ch) == 5 ? 2 : 0;
    }
    grid.zeroSuppress[1] = "-----";
    FsOther::ApplyOtherSet(inst, grid);   // as shown: nothing changes
    EXPECT_FALSE(inst.AnyChangeFlag());

    grid.altRange[2] = 1;
    grid.altRange[1] = 1;
    grid.zeroSuppress[0] = "3";
    grid.pidHigh[5] = 1;
    FsOther::ApplyOtherSet(inst, grid);
    EXPECT_EQ(inst.AltRng(2), 1);
    const RangeSpec &s = gRangeSpecs[1][2];
    EXPECT_EQ(inst.GasFullScale(2), s.FullScale);
    EXPECT_EQ(inst.Warning(2), s.Warning);
    EXPECT_EQ(inst.AutoCalib(2), s.AutoCalib);
    EXPECT_EQ(inst.GasFullScale(1), gRangeSpecs[1][1].FullScale);
    EXPECT_EQ(inst.Warning(1), before.Warning(1));   // pattern 9 has no table entry
    EXPECT_FALSE(inst.Change_AltRng(3));
    EXPECT_EQ(inst.ZeroForce(0), 3);
    EXPECT_EQ(inst.PIDSmallRange(5), 0);
    EXPECT_FALSE(inst.Change_Zero(0));

    FsOther::MEGrid me;
    me[1] = {"", "100", "40", ""};
    me[2] = {"", "0", "0", "0"};
    FsOther::ApplyME(inst, me);
    EXPECT_FALSE(inst.Change_HH_(0));
    EXPECT_TRUE(inst.Change_HH_(1));
    EXPECT_EQ(inst.HH_(1), 40);
    EXPECT_FALSE(inst.Change_HE_(0));
    EXPECT_FALSE(inst.Change_SI_(0));   // empty cells write nothing
}
