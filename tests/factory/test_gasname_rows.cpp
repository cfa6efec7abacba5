// The gas-name grids: what the fill shows, which cells open with which list, what a typed
// or chosen name brings along, what an untouched grid applies; and through the dialog, the
// list that opens on a channel's name cell.
#include "FsFixture.h"
#include "GasLists.h"
#include "factory/FsRulesGasNames.h"

using namespace FsGasNames;

namespace {

// Channel 0 catalytic, 4 thermal conductivity (H2, 100.0), 5 PID, 6 an empty slot.
class GasNameRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetCoreGlobals();
        SetTwoGasLists();
        clsInstrument::DeviceDoor door(inst);
        for (int ch : {0, 7, 8})
            inst.setGasName(ch, "CH4");
        inst.setFL_(0, 50000);
        inst.setGasType(4, kThermal);
        inst.setGasName(4, "H2");
        inst.setGasFullScale(4, 100);
        inst.setGasPoint(4, 1);
        inst.setGasType(5, kPid);
        inst.setGasType(6, kEmptySlot);
        inst.setFL_(2, 600);
        inst.setFL_(3, 115);
        inst.setFL_(1, 30000);
        inst.setCATOther("XX");
    }
    void TearDown() override { ResetCoreGlobals(); }
    clsInstrument inst;
};

} // namespace

TEST_F(GasNameRules, EntriesOfTheChannelAndOtherGasCells)
{
    EXPECT_EQ(ValidateName(5, ColName, kThermal, "H2XY").text, "H2X") << "cut to three";
    EXPECT_TRUE(ValidateName(1, ColLongName, kCatalytic, "Methane (low)").accept);
    EXPECT_EQ(ValidateOther(kCatRow, ColScale, "50000").text, "50000");
    EXPECT_EQ(ValidateOther(kTcRow, ColScale, "45").text, "40.0") << "halves to even";
    EXPECT_EQ(FilterOtherKey(ColLongName, 'b', 19), 'b');
}

TEST_F(GasNameRules, FillChoicesAndCompanions)
{
    const Fill f = FillTexts(inst);
    EXPECT_EQ(f.names[5][ColScale], "100.0");
    EXPECT_TRUE(f.namesGrey[3][ColScale]);
    EXPECT_EQ(f.other[kTcRow][ColScale], "60.0");
    EXPECT_EQ(f.other[kCatRow][ColFactor], "1.15");

    EXPECT_EQ(BeforeName(1, ColName, kCatalytic, false, false, f.other, {}).value_or(QStringList{"-"}),
              (QStringList{"CH4", "PRO", "XX"}));
    EXPECT_EQ(BeforeName(6, ColName, kPid, false, false, f.other, {"IBL", "TOL"}).value_or(QStringList{"-"}),
              (QStringList{"IBL", "TOL"}));
    EXPECT_FALSE(BeforeName(7, ColName, kEmptySlot, false, false, f.other, {}));
    EXPECT_FALSE(BeforeName(7, ColLongName, kEmptySlot, false, false, f.other, {}));
    EXPECT_FALSE(BeforeName(5, ColLongName, kThermal, false, false, f.other, {}));
    EXPECT_FALSE(BeforeName(1, ColName, kCatalytic, false, true, f.other, {})) << "invalidGN";
    EXPECT_EQ(BeforeOther(kCatRow, ColEV, false, inst).value_or("-"), "ME|Normal");

    // Typed outside the list: the companions stay as they are.
    for (int t : {kCatalytic, kPid, kThermal}) {
        const Companions c = CompanionsFor(t, -1, f.other, {"ISOBUTYLENE"});
        EXPECT_FALSE(c.longName || c.scale || c.desit) << t;
    }
    EXPECT_EQ(CompanionsFor(kCatalytic, -1, f.other, {}).catOtherSelect.value_or(-1), 0);
    EXPECT_EQ(CompanionsFor(kPid, 1, f.other, {"A", "B"}).longName.value_or(""), "B");
}

TEST_F(GasNameRules, UntouchedGridsApplyNothing)
{
    {
        // What the record holds behind the texts shown: more decimals, a code outside the
        // list, mirrors that differ from channel 0.
        clsInstrument::DeviceDoor door(inst);
        inst.setGasFullScale(4, 100.04f);
        inst.setCATOtherEV(2);
        inst.setGasName(7, "OLD");
    }
    Fill f = FillTexts(inst);
    const Fill shown = f;
    f.names[2][ColName] = "O2 "; // the fixed channels' names are shown, not applied
    EXPECT_TRUE(ApplyGasNames(inst, f.names, f.other, shown));
    EXPECT_FALSE(inst.AnyChangeFlag());
    EXPECT_EQ(inst.GasName(1), "");
    EXPECT_EQ(inst.CATOtherEV(), 2);
}

// --- Through the dialog ---------------------------------------------------------------------

namespace {

class GasNameList : public FsFixture {
protected:
    void SetUp() override
    {
        FsFixture::SetUp();
        SetTwoGasLists();
        // Channel 0 is the catalytic other gas; channel 4 a thermal-conductivity sensor.
        clsInstrument::DeviceDoor door(rec());
        rec().setCATOther("XX");
        rec().setG1_(1, "OTHER GAS");
        rec().setFL_(1, 30000);
        for (int ch : {0, 7, 8})
            rec().setGasName(ch, "XX");
        rec().setG1_(0, "OTHER GAS");
        rec().setFL_(0, 30000);
        rec().setCATOtherSelect(1);
        rec().setTCOther("TCX");
        rec().setGasName(4, "NH3");
    }
    // Opens the name cell's list as the user does; the entry then selected.
    QComboBox *DropDown(int row)
    {
        auto *combo = OpenCell(dlg->vfgGasName, row, ColName) ? qobject_cast<QComboBox *>(dlg->vfgGasName->Editor()) : nullptr;
        if (combo)
            combo->showPopup();
        return combo;
    }
};

} // namespace

// While channel 0 is the catalytic other gas, its list opens on the other gas (the last
// entry), whatever name that gas has by now; once another gas is chosen, and on any other
// row, the list opens on the cell's own name.
TEST_F(GasNameList, OtherGasStaysSelectedWhenTheListOpens)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(3);
    FlexGrid *g = dlg->vfgGasName;
    QComboBox *combo = DropDown(5);
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->currentText(), "NH3") << "only the catalytic row's list ends with its other gas";
    combo->hidePopup();
    g->CancelEdit();

    ASSERT_TRUE(Edit(dlg->vfgGasNameOther, kCatRow, ColName, "YY"));
    combo = DropDown(1);
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->currentIndex(), combo->count() - 1);
    EXPECT_EQ(combo->currentText(), "YY");
    combo->hidePopup();
    QTest::keyClick(combo, Qt::Key_Return);
    ASSERT_FALSE(g->IsEditing());
    EXPECT_EQ(g->TextMatrix(1, ColName), "YY");
    EXPECT_EQ(g->TextMatrix(1, ColLongName), "OTHER GAS");
    EXPECT_EQ(edit().CATOtherSelect(), 1);

    ASSERT_TRUE(Pick(g, 1, ColName, "PRO"));
    EXPECT_EQ(edit().CATOtherSelect(), 0);
    combo = DropDown(1);
    ASSERT_TRUE(combo);
    EXPECT_EQ(combo->currentText(), "PRO");
    combo->hidePopup();
    g->CancelEdit();

    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_EQ(rec().GasName(0), "PRO");
    EXPECT_EQ(rec().G1_(0), "PROPANE");
    EXPECT_EQ(rec().CATOther(), "YY");
    EXPECT_EQ(rec().CATOtherSelect(), 0);
}

// A chosen name reaches the channel map; a refused ratio of the other gas turns red, an
// accepted one white again.
TEST_F(GasNameList, ChosenNameReachesTheChannelMapAndRefusalsAreRed)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(3);
    ASSERT_TRUE(Pick(dlg->vfgGasName, 1, ColName, "PRO"));
    EXPECT_EQ(dlg->vfgChannel->TextMatrix(1, 0), "PRO");
    FlexGrid *o = dlg->vfgGasNameOther;
    EXPECT_FALSE(Edit(o, kCatRow, ColScale, "9999"));
    EXPECT_EQ(Back(o, kCatRow, ColScale), 255);
    ASSERT_TRUE(Edit(o, kCatRow, ColScale, "12345"));
    EXPECT_EQ(Back(o, kCatRow, ColScale), 16777215);
}
