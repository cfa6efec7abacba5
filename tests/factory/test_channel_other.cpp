#include "factory/FsRulesChannel.h"
#include "factory/FsRulesOther.h"
#include "model/RangeTables.h"
#include "model/clsInstrument.h"

#include <gtest/gtest.h>

TEST(OtherRules, NothingIsReadOutsideTheRangeTables)
{
    clsInstrument inst;
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setAlarmO2(9);     // no oxygen pattern of that number
        inst.setWarning(1, 18);
        inst.setAltRng(2, 7);   // no range of that number
    }
    inst.setAltRng(1, 1);
    FsOther::GetOtherSetChannel(inst, 1);
    EXPECT_EQ(inst.GasFullScale(1), gRangeSpecs[1][1].FullScale);
    EXPECT_EQ(inst.Warning(1), 18.0f);
    FsOther::GetOtherSetChannel(inst, 2);
    EXPECT_FALSE(inst.Change_GasFullScale(2));

    FsOther::OtherSet ticked;
    ticked.altRange[3] = 1; // the last fixed channel's box ticked
    FsOther::ApplyOtherSet(inst, ticked);
    EXPECT_EQ(inst.AltRng(3), 1);
    EXPECT_EQ(inst.GasFullScale(3), gRangeSpecs[1][3].FullScale);
}

// ---- through the dialog -------------------------------------------------------------------

#include "FsFixture.h"
#include <tuple>

namespace {

class ChannelDialog : public FsFixture
{
protected:
    void SetUp() override
    {
        FsFixture::SetUp();
        clsInstrument::DeviceDoor door(rec());
        for (int g = 2; g < 7; ++g)
            rec().setUG_(g, 0);
        rec().setUG_(0, 0x41);   // Ch1 and a bit beyond the six positions
        rec().setUG_(1, 2);
        rec().setGasType(5, 5);
        rec().setGasName(5, "VOC");
        rec().setPIDName(3, "VOC");
        rec().setGasType(6, 5);
        rec().setGasName(6, "XYZ");
        rec().setHH_(0, 100);
        rec().setHH_(1, 20);
        rec().setInertOnOff(1);
        rec().setAltRng(3, 7);   // values the boxes cannot show
        rec().setZero(0, -1);
    }
    int checked(FlexGrid *g, int r, int c) { return g->Cell(FlexGrid::SetChecked, r, c).toInt(); }
    // Clicks a check cell as the user does (BeforeEdit, ValidateEdit, toggle, AfterEdit).
    void Toggle(FlexGrid *g, int r, int c)
    {
        g->setRow(r);
        g->setCol(c);
        g->SetFocus();
        QTest::keyClick(g->view(), Qt::Key_Space);
    }
};

} // namespace

TEST_F(ChannelDialog, OneGasPerPositionAndTheLastTickStays)
{
    rec().setInvalidHE_(true);
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(2);
    FlexGrid *g = dlg->vfgChannel;
    ASSERT_EQ(g->Rows(), 8);
    EXPECT_EQ(g->TextMatrix(0, 6), "Ch6");
    EXPECT_EQ(g->TextMatrix(4, 0), "CO ");
    EXPECT_EQ(checked(g, 1, 1), FlexGrid::Checked);
    EXPECT_EQ(checked(g, 2, 2), FlexGrid::Checked);
    Toggle(g, 3, 2);                                   // H2S takes Ch2 from OXY
    EXPECT_EQ(checked(g, 3, 2), FlexGrid::Checked);
    EXPECT_EQ(checked(g, 2, 2), FlexGrid::Unchecked);
    Toggle(g, 3, 2);
    EXPECT_EQ(checked(g, 3, 2), FlexGrid::Unchecked);  // Ch1 still ticked elsewhere
    Toggle(g, 1, 1);
    EXPECT_EQ(checked(g, 1, 1), FlexGrid::Checked);    // the last tick of the map
    Toggle(g, 7, 6);                                   // the last gas takes the last position
    EXPECT_EQ(checked(g, 7, 6), FlexGrid::Checked);
    EXPECT_TRUE(dlg->CheckChannelGrid());
    dlg->SSTab1->setTab(4);
    EXPECT_FALSE(OpenCell(dlg->vfgME, 2, 1)) << "the instrument refused HE";
    EXPECT_TRUE(OpenCell(dlg->vfgME, 1, 1)) << "EV VALUE is another command";
    dlg->vfgME->CancelEdit();

    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().UG_(0), 0x41);                      // the bit beyond the grid survives
    EXPECT_FALSE(rec().Change_UG_(0));
    EXPECT_EQ(rec().UG_(1), 0);
    EXPECT_EQ(rec().GasEnabled(1), 0);
    EXPECT_TRUE(rec().Change_UG_(1));
    EXPECT_EQ(rec().UG_(6), 0x20);
}

TEST_F(ChannelDialog, OtherSettingsAndMEValues)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(2);
    FlexGrid *o = dlg->vfgOtherSet;
    EXPECT_EQ(o->TextMatrix(0, 3), "Zero Suppress");
    EXPECT_EQ(o->TextMatrix(2, 3), "-----");
    EXPECT_FALSE(OpenCell(o, 2, 3));                   // OXY has no zero suppress
    for (const char *bad : {"4", "-1", "10", "a"})
        EXPECT_FALSE(Edit(o, 1, 3, bad)) << bad;
    EXPECT_TRUE(Edit(o, 1, 3, "3"));
    EXPECT_EQ(checked(o, 6, 4), FlexGrid::Checked);    // PID channel 5 in the high range
    EXPECT_EQ(checked(o, 5, 4), 0);                    // no PID: no box
    Toggle(o, 7, 4);                                   // "XYZ" is no PID entry: locked
    EXPECT_EQ(checked(o, 7, 4), FlexGrid::Checked);
    Toggle(o, 6, 4);
    EXPECT_EQ(checked(o, 6, 4), FlexGrid::Unchecked);
    Toggle(o, 3, 1);                                   // H2S alternate range: inert stays
    EXPECT_EQ(edit().InertOnOff(), 1);
    Toggle(o, 2, 1);                                   // OXY alternate range: inert off
    EXPECT_EQ(edit().InertOnOff(), 0);
    EXPECT_EQ(dlg->vfgDatas[1]->TextMatrix(10, 1), "Off");

    dlg->SSTab1->setTab(4);
    FlexGrid *me = dlg->vfgME;
    EXPECT_EQ(me->TextMatrix(1, 0), "EV VALUE");
    // Each ME limit itself passes, one past it is refused (red); a value taken is shown as a
    // whole number, halves to even.
    for (auto [r, c, text, shown] : {std::tuple{1, 1, "29", ""}, {1, 1, "256", ""}, {1, 1, "255", "255"},
                                     {1, 1, "030", "30"}, {1, 2, "254.5", "254"}, {2, 2, "41", ""}, {2, 2, "40", "40"},
                                     {2, 2, "12.6", "13"}}) {
        const bool ok = *shown != 0;
        EXPECT_EQ(Edit(me, r, c, text), ok) << text;
        EXPECT_EQ(Back(me, r, c), ok ? 16777215 : 255) << text;
        if (ok) {
            EXPECT_EQ(me->TextMatrix(r, c), shown) << text;
        }
    }
    EXPECT_FALSE(OpenCell(me, 3, 1));                  // readings only

    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().ZeroForce(0), 3);
    EXPECT_EQ(rec().PIDSmallRange(5), 1);
    EXPECT_EQ(rec().AltRng(1), 1);
    EXPECT_EQ(rec().GasFullScale(1), gRangeSpecs[1][1].FullScale);
    EXPECT_EQ(rec().Warning(1), gO2Warning[1][0]);
    EXPECT_EQ(rec().HH_(0), 30);
    EXPECT_EQ(rec().HE_(1), 13);
    EXPECT_EQ(rec().HH_(1), 254);
    EXPECT_FALSE(rec().Change_Zero(0));                // shown unticked, left unticked
    EXPECT_EQ(rec().AltRng(3), 7);
}
