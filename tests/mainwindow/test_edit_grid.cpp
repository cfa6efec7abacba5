// Editing the gas grid through its real editor, as the technician does.
#include "ViewFixture.h"

using namespace GasGrid;

namespace {

class GridEditing : public ViewFixture {};

TEST_F(GridEditing, FullScaleAndStep)
{
    ASSERT_TRUE(StartWith());
    EXPECT_TRUE(Edit(2, 1, "100"));
    EXPECT_FLOAT_EQ(rec().Warning(0), 100);
    EXPECT_TRUE(rec().Change_Warn(0));
    EXPECT_FALSE(Edit(3, 2, "25.1")) << "one step above full scale";
    EXPECT_EQ(refusedText, "25.1") << "the editor keeps what was typed";
    EXPECT_FALSE(Edit(3, 2, "-1"));
    EXPECT_FALSE(Edit(3, 2, "**"));
    EXPECT_FALSE(rec().Change_Alarm(1));
    EXPECT_EQ(grid()->TextMatrix(3, 2), "18.0");

    // Ties of the quotient go to even; the cell shows the stored value.
    EXPECT_TRUE(Edit(7, 3, "12.5"));
    EXPECT_EQ(grid()->TextMatrix(7, 3), "10");
    EXPECT_TRUE(Edit(7, 4, "17.5"));
    EXPECT_FLOAT_EQ(rec().Twa(5), 20);
    EXPECT_TRUE(rec().Change_SubBoard()) << "option-board channel";
    EXPECT_TRUE(Edit(5, 1, "12.34"));
    EXPECT_EQ(grid()->TextMatrix(5, 1), "12.3");
}

TEST_F(GridEditing, AStepTheGridCannotUseRefusesTheEntry)
{
    ASSERT_TRUE(StartWith());
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setGasDesit(2, 0);
        rec().setGasFullScale(3, 100000);
        rec().setGasDesit(3, 1);
    }
    EXPECT_FALSE(Edit(4, 1, "10"));
    EXPECT_FALSE(Edit(5, 3, "40000")) << "more steps than 16 bits count";
    EXPECT_TRUE(Edit(5, 3, "32767"));
    EXPECT_FLOAT_EQ(rec().Warning(2), 50);
}

TEST_F(GridEditing, CsaLimitOnAndOff)
{
    ASSERT_TRUE(StartWith());
    gCsaLimitEnabled = true;
    EXPECT_FALSE(Edit(2, 2, "61"));
    EXPECT_TRUE(Edit(2, 2, "60"));
    gCsaLimitEnabled = false;
    EXPECT_TRUE(Edit(2, 2, "61"));
    EXPECT_FLOAT_EQ(rec().Alarm(0), 61);
}

TEST_F(GridEditing, DerivedRowsAndTheWideLimit)
{
    ASSERT_TRUE(StartWith());
    EXPECT_FALSE(Edit(9, 1, "50010"));
    EXPECT_FLOAT_EQ(rec().Warning(7), 5000) << "no half-stored entry";
    EXPECT_EQ(rec().CATppm1st(), 5000);
    EXPECT_FALSE(rec().AnyChangeFlag());

    EXPECT_TRUE(Edit(9, 1, "50000"));
    EXPECT_EQ(rec().CATppm1st(), 50000);
    EXPECT_TRUE(rec().Change_Warn(7) && rec().Change_CATppm1());
    EXPECT_EQ(Back(9, 1), kRed) << "warning above alarm 25000";
    EXPECT_TRUE(Edit(10, 2, "3.01"));
    EXPECT_FLOAT_EQ(rec().CATvol2nd(), 3.01f);
    EXPECT_TRUE(Edit(11, 1, "2.5"));
    EXPECT_TRUE(rec().Inert1st() == 2.5f && rec().Change_Inert1st());

    // Emptied: not used, on the extra member too.
    EXPECT_TRUE(Edit(9, 1, ""));
    EXPECT_EQ(grid()->TextMatrix(9, 1), "*****");
    EXPECT_EQ(rec().CATppm1st(), -121);
}

TEST_F(GridEditing, UnusedPointsAndAutoCalibration)
{
    ASSERT_TRUE(StartWith());
    EXPECT_TRUE(Edit(5, 4, "*****"));
    EXPECT_FLOAT_EQ(rec().Twa(3), -121);
    EXPECT_FALSE(Edit(4, 5, "40")) << "below the CO warning point, within full scale";
    EXPECT_FLOAT_EQ(rec().AutoCalib(2), 100);
    EXPECT_TRUE(Edit(4, 5, ""));
    EXPECT_EQ(grid()->TextMatrix(4, 5), "0");
    EXPECT_FLOAT_EQ(rec().AutoCalib(2), 0);
}

TEST_F(GridEditing, CellsThatCannotChange)
{
    ASSERT_TRUE(StartWith());
    for (auto [r, c] : {std::pair{2, 3}, {3, 4}, {10, 5}, {11, 3}, {1, 2}, {4, 0}})
        EXPECT_FALSE(OpenCell(r, c)) << r << "," << c;
    // A channel without gas takes its old text back.
    EXPECT_TRUE(Edit(6, 1, "5"));
    EXPECT_EQ(grid()->TextMatrix(6, 1), "-----");
    EXPECT_FALSE(rec().AnyChangeFlag());
    // No editor while the view refills; a refill drops an open one.
    form->mGridEditBusy = true;
    EXPECT_FALSE(OpenCell(4, 1));
    form->mGridEditBusy = false;
    ASSERT_TRUE(OpenCell(4, 1));
    editor()->setText("77");
    form->ShowInstrument();
    EXPECT_FALSE(grid()->IsEditing());
    EXPECT_EQ(grid()->TextMatrix(4, 1), "50");
}

TEST_F(GridEditing, EveryValidationRecoloursTheOrder)
{
    ASSERT_TRUE(StartWith());
    EXPECT_TRUE(Edit(4, 1, "200"));
    EXPECT_TRUE(Back(4, 1) == kRed && Back(4, 2) == kRed);
    EXPECT_TRUE(Edit(4, 2, "300"));
    EXPECT_TRUE(Back(4, 1) == kNormal && Back(4, 2) == kNormal);
    EXPECT_EQ(Back(4, 5), kRed) << "auto-cal 100 now below warning 200";
}

} // namespace
