// The instrument view: what a fill shows, what it leaves alone, and the lists.
#include "ViewFixture.h"

using namespace GasGrid;

namespace {

class InstrumentView : public ViewFixture {
protected:
    template <class F> void ShowAfter(F change)
    {
        {
            clsInstrument::DeviceDoor door(rec());
            change();
        }
        form->ShowInstrument();
    }
};

TEST_F(InstrumentView, GridLayoutWithAndWithoutChannelNine)
{
    ASSERT_TRUE(StartWith(true));
    FlexGrid *g = grid();
    ASSERT_EQ(g->Rows(), 12);
    ASSERT_EQ(g->Cols(), 6);
    EXPECT_EQ(g->TextMatrix(0, 3), "Warning and Alarm point");
    EXPECT_EQ(g->MergedSpan(0, 2), qMakePair(1, 4));
    EXPECT_EQ(g->MergedSpan(1, 2), qMakePair(2, 2));
    EXPECT_EQ(g->TextMatrix(1, 5), "Auto Cal.");
    EXPECT_EQ(g->TextMatrix(3, 0), "OXY(25.0vol%)");
    EXPECT_EQ(g->TextMatrix(3, 2), "18.0");
    EXPECT_EQ(g->TextMatrix(10, 1), "0.50");
    EXPECT_EQ(g->TextMatrix(11, 0), "OXY(40.0vol%)");
    // No gas: label and auto-calibration are dashes, the points show what they hold.
    EXPECT_EQ(g->TextMatrix(6, 0), "---(---)");
    EXPECT_EQ(g->TextMatrix(6, 1), "-----");
    EXPECT_EQ(g->TextMatrix(6, 5), "-----");

    // Cells that do not apply wear the header colour; the derived labels are green.
    for (int r = 2; r <= 11; ++r)
        for (int c = 3; c <= 5; ++c) {
            const bool applies = CellApplies(r - 2, c);
            EXPECT_EQ(Back(r, c) == g->BackColorFixed(), !applies) << r << "," << c;
        }
    EXPECT_EQ(g->Cell(FlexGrid::SetForeColor, 9, 0).toInt(), kDerivedLabel);
    EXPECT_EQ(g->Cell(FlexGrid::SetForeColor, 11, 0).toInt(), kDerivedLabel);
    EXPECT_EQ(g->Cell(FlexGrid::SetForeColor, 8, 0).toInt(), 0);
    EXPECT_EQ(g->Cell(FlexGrid::SetAlignment, 5, 3).toInt(), FlexGrid::AlignCenterCenter);

    ShowAfter([&] { rec().setInvalidIF(true); });
    EXPECT_EQ(g->Rows(), 11);
    EXPECT_EQ(g->TextMatrix(10, 0), "CH4(5.00vol%)");
}

TEST_F(InstrumentView, IdentityFields)
{
    ASSERT_TRUE(StartWith());
    EXPECT_EQ(form->lblInst[7]->text(), "00123");
    EXPECT_EQ(form->lblInst[9]->text(), "5A3C");
    EXPECT_EQ(form->txtOption[0]->text(), "AB-1234");
    ShowAfter([&] { rec().setRomNumber(123456); });
    EXPECT_EQ(form->lblInst[7]->text(), "123456");
    ShowAfter([&] { rec().setRomNumber(0); });
    EXPECT_EQ(form->lblInst[7]->text(), "");
}

TEST_F(InstrumentView, ShowingChangesNothingInTheRecord)
{
    ASSERT_TRUE(StartWith());
    EXPECT_EQ(form->cmbStation->count(), 128);
    EXPECT_EQ(form->cmbStation->currentIndex(), 2);
    EXPECT_EQ(form->txtOption[1]->text(), "ST002");
    EXPECT_EQ(form->cmbUser->currentIndex(), 1);
    EXPECT_EQ(form->cmbInterval->currentText(), "60");

    // An interval the list does not hold is not turned into 5 seconds.
    ShowAfter([&] { rec().setIntervals(15); });
    EXPECT_EQ(rec().Intervals(), 15);
    EXPECT_EQ(form->cmbInterval->currentIndex(), -1);

    // Selections outside the lists select nothing and stay as they are.
    for (int choice : {0, 129, -5}) {
        ShowAfter([&] { rec().setXV_(0, choice); rec().setXV_(1, choice); rec().setStationID("KEEP"); });
        EXPECT_EQ(form->cmbStation->currentIndex(), -1) << choice;
        EXPECT_EQ(form->cmbUser->currentIndex(), -1) << choice;
        EXPECT_EQ(rec().XV_(0), choice);
        EXPECT_EQ(rec().StationID().trimmed(), "KEEP");
    }
    ShowAfter([&] { rec().setXV_(0, 128); rec().setXV_(1, 32); });
    EXPECT_EQ(form->cmbStation->currentIndex(), 127);
    EXPECT_EQ(form->cmbUser->currentIndex(), 31);
    EXPECT_FALSE(rec().AnyChangeFlag()) << "display raised a flag";
}

TEST_F(InstrumentView, TheUsersChoiceInAListIsAnEdit)
{
    ASSERT_TRUE(StartWith());
    form->cmbStation->setCurrentIndex(5);
    EXPECT_EQ(rec().XV_(0), 6);
    EXPECT_TRUE(rec().Change_XV_(0));
    EXPECT_EQ(form->txtOption[1]->text().trimmed(), "ST005");
    form->cmbUser->setCurrentIndex(0);
    EXPECT_TRUE(rec().XV_(1) == 1 && rec().Change_XV_(1));
    EXPECT_EQ(rec().UserID().trimmed(), "USER0");
    form->cmbInterval->setCurrentIndex(form->cmbInterval->findText("180"));
    EXPECT_EQ(rec().Intervals(), 180);
    EXPECT_TRUE(rec().Change_Interval());
}

TEST_F(InstrumentView, RedCellsForOrderAndAutoCalibration)
{
    ASSERT_TRUE(StartWith());
    for (int r = 2; r <= 11; ++r)
        EXPECT_TRUE(Back(r, 1) == kNormal && Back(r, 2) == kNormal) << r;
    ShowAfter([&] { rec().setWarning(2, 100); rec().setAlarm(2, 50); });
    EXPECT_TRUE(Back(4, 1) == kRed && Back(4, 2) == kRed);
    EXPECT_EQ(Back(4, 5), kNormal) << "auto-cal 100 is not below warning 100";
    EXPECT_FALSE(form->CheckAlarmLevel(2));
    ShowAfter([&] { rec().setAlarmO2(0); rec().setAlarm(2, 100); });
    EXPECT_TRUE(Back(3, 1) == kRed && Back(3, 2) == kRed) << "oxygen 19.5 over 18.0 in the plain order";
    EXPECT_TRUE(Back(4, 1) == kNormal && Back(4, 2) == kNormal);
    ShowAfter([&] { rec().setAutoCalib(2, 40); rec().setAutoCalib(7, 1); });
    EXPECT_EQ(Back(4, 5), kRed);
    EXPECT_EQ(Back(4, 1), kNormal);
    EXPECT_EQ(Back(9, 5), grid()->BackColorFixed()) << "channels 7..9 are not tested there";
}

TEST_F(InstrumentView, AnalogValuesInTheLog)
{
    ASSERT_TRUE(StartWith());
    {
        clsInstrument::DeviceDoor door(rec());
        for (int i = 0; i <= 26; ++i)
            rec().setAnalogValue(i, 1000 + i);
        rec().setAnalogValue(0, 1234);
        rec().setAnalogValue(25, -50);
    }
    const int before = LogLines().size();
    form->ShowAnalogValues();
    const QStringList lines = LogLines().mid(before);
    ASSERT_EQ(lines.size(), 28);
    EXPECT_EQ(lines[0], "VANTIK Analog to Digital Converter Values List");
    EXPECT_EQ(lines[1], "ch0 \t: 1.234V");
    EXPECT_EQ(lines[15], "");
    EXPECT_EQ(lines[16], "ch14 \t: 1.014V");
    EXPECT_EQ(lines[27], "ch25 \t: -0.050V");
    EXPECT_EQ(LogColor("ch0 \t"), form->kBlueGreen);
}

TEST_F(InstrumentView, ClearingAfterPowerOffKeepsTheRest)
{
    ASSERT_TRUE(StartWith());
    form->ClearInstrumentView();
    EXPECT_TRUE(form->lblInst[7]->text().isEmpty() && form->lblInst[9]->text().isEmpty());
    EXPECT_TRUE(form->txtOption[0]->text().isEmpty());
    EXPECT_EQ(form->cmbStation->count() + form->cmbUser->count(), 0);
    EXPECT_EQ(form->txtOption[1]->text(), "ST002");
    EXPECT_EQ(grid()->TextMatrix(3, 0), "OXY(25.0vol%)");
    EXPECT_EQ(rec().XV_(0), 3);
    EXPECT_FALSE(rec().AnyChangeFlag());
}

} // namespace
