// The gas-name grids' rules without a window: entry checks and the apply step of OK.
#include "core/modMain.h"
#include "GasLists.h"
#include "factory/FsRulesGasNames.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"

#include <gtest/gtest.h>

using namespace FsGasNames;

namespace {

class GasNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetCoreGlobals();
        SetTwoGasLists();
        clsInstrument::DeviceDoor door(inst);
        inst.setGasName(0, "CH4");
        inst.setGasName(7, "CH4");
        inst.setGasName(8, "CH4");
        inst.setFL_(0, 50000);
        inst.setGasType(4, kEmptySlot);
        inst.setGasType(5, kPid);
        inst.setGasType(6, kThermal); // the last channel
        inst.setGasName(6, "H2");
        inst.setGasFullScale(6, 100);
        inst.setGasPoint(6, 1);
        inst.setFL_(2, 600);
        inst.setFL_(3, 115);
        inst.setFL_(1, 30000);
        inst.setCATOther("XX");
        inst.setWarning(0, 10);
        inst.setAlarm(0, 20);
    }
    void TearDown() override { ResetCoreGlobals(); }
    clsInstrument inst;
};

} // namespace

TEST_F(GasNames, EntryChecks)
{
    EXPECT_FALSE(ValidateName(1, ColName, kCatalytic, "ABCD").accept);
    EXPECT_TRUE(ValidateName(1, ColName, kCatalytic, "").accept);
    EXPECT_FALSE(ValidateName(1, ColName, kCatalytic, "").paint) << "an empty name keeps its colour";
    EXPECT_FALSE(ValidateName(1, ColScale, kCatalytic, "").accept) << "an empty ratio cannot be applied";
    EXPECT_FALSE(ValidateName(1, ColScale, kCatalytic, "123456").accept);

    // The other grid; "" for refused. The names: what the files cannot carry ("|" is an
    // ordinary character: the choice lists are lists).
    struct { int row, col; const char *in, *out; } cases[] = {
        {kCatRow, ColScale, "9999", ""},        {kCatRow, ColScale, "150001", ""},   {kCatRow, ColScale, "", ""},
        {kCatRow, ColScale, "12345", "12000"},  {kCatRow, ColScale, "10000", "10000"},
        {kCatRow, ColScale, "145000", "140000"}, {kTcRow, ColScale, "105", ""},      {kTcRow, ColScale, "9", ""},
        {kTcRow, ColScale, "55", "60.0"},       {kTcRow, ColScale, "100", "100.0"},  {kCatRow, ColFactor, "1.5", "1.50"},
        {kCatRow, ColFactor, "25.01", ""},      {kCatRow, ColName, "abc", ""},       {kCatRow, ColLongName, "AB|CD", "AB|CD"},
        {kTcRow, ColLongName, "A;B", ""},       {kTcRow, ColName, "A,B", ""},        {kCatRow, ColLongName, "A{B", ""},
    };
    for (const auto &c : cases) {
        const CellEdit e = ValidateOther(c.row, c.col, c.in);
        EXPECT_EQ(e.accept ? e.text : QString(), c.out) << c.in;
        EXPECT_TRUE(e.paint);
    }
    EXPECT_EQ(FilterOtherKey(ColName, 'a', 0), 'A');
    EXPECT_EQ(FilterOtherKey(ColName, 'B', 3), 0);
    EXPECT_EQ(FilterOtherKey(ColLongName, 'b', 20), 0);
    for (int key : {'{', ',', ';'})
        EXPECT_EQ(FilterOtherKey(ColLongName, key, 0), 0) << char(key);
    EXPECT_EQ(FilterOtherKey(ColLongName, '|', 0), '|');
    EXPECT_EQ(FilterOtherKey(ColName, '|', 0), 0) << "a name is capitals, digits, blank and -";
}

TEST_F(GasNames, ThermalAndCatalyticDerivations)
{
    Fill f = FillTexts(inst);
    const Fill shown = f;
    f.names[7][ColScale] = "10";
    ApplyGasNames(inst, f.names, f.other, shown);
    EXPECT_EQ(inst.Warning(6), 1.0f);
    EXPECT_EQ(inst.Alarm(6), 5.0f);
    EXPECT_EQ(inst.Stel(6), ReadingCode::NoValue);
    EXPECT_EQ(inst.AutoCalib(6), 4.0f);

    f.names[7][ColName] = " CH4 ";
    f.names[7][ColScale] = "100";
    f.names[1][ColName] = "HEX";
    f.names[1][ColScale] = "5000";
    ApplyGasNames(inst, f.names, f.other, shown);
    EXPECT_EQ(inst.AutoCalib(6), 50.0f);
    EXPECT_EQ(inst.AutoCalib(0), 15.0f);
    EXPECT_EQ(inst.GasName(8), "HEX");
    EXPECT_EQ(inst.CATppm1st(), 500);
    EXPECT_FLOAT_EQ(inst.CATvol1st(), 0.05f);
    EXPECT_EQ(inst.FL_(0), 5000);

    f.other[kTcRow][ColScale] = "12.3";
    f.other[kCatRow][ColEV] = "ME";
    ApplyGasNames(inst, f.names, f.other, shown);
    EXPECT_EQ(inst.FL_(2), 123);
    EXPECT_EQ(inst.CATOtherEV(), 1);
}

TEST_F(GasNames, RenameOfChannel0WithLargePointsIsRoundedRightOrRefused)
{
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setWarning(0, 800);
        inst.setAlarm(0, ReadingCode::NotSet);
    }
    Fill f = FillTexts(inst);
    const Fill shown = f;
    f.names[1][ColName] = "PRO";
    f.names[1][ColScale] = "20000";
    ASSERT_TRUE(ApplyGasNames(inst, f.names, f.other, shown));
    EXPECT_EQ(inst.CATppm1st(), 20000) << "cut to the ratio";
    EXPECT_FLOAT_EQ(inst.CATvol1st(), 16.0f);
    EXPECT_EQ(inst.CATppm2nd(), qint64(ReadingCode::NotSet)) << "a point not set stays not set";
    EXPECT_EQ(inst.CATvol2nd(), ReadingCode::NotSet);

}

// --- The two grids in the dialog ------------------------------------------------------------

#include "FsFixture.h"
#include <QCheckBox>
#include <QTemporaryDir>
#include "settingsfiles/SettingsFile.h"

namespace {

class GasNameDialog : public FsFixture {
protected:
    void SetUp() override
    {
        FsFixture::SetUp();
        SetTwoGasLists();
        clsInstrument::DeviceDoor door(rec());
        rec().setGasType(4, kThermal);
        rec().setGasName(4, "H2");
        rec().setGasFullScale(4, 100);
        rec().setG1_(2, "HYDROGEN");
        rec().setCATOther("XX");
        rec().setG1_(1, "OTHER GAS");
        rec().setFL_(1, 30000);
    }
};

} // namespace

TEST_F(GasNameDialog, ChosenNamesBringTheirCompanionsAndMirrors)
{
    ASSERT_TRUE(Open());
    FlexGrid *g = dlg->vfgGasName;
    EXPECT_FALSE(OpenCell(g, 1, ColLongName)) << "a catalytic channel's long name follows its name";
    EXPECT_FALSE(OpenCell(g, 6, ColName)) << "an empty option slot";
    ASSERT_TRUE(Pick(g, 1, ColName, "XX"));
    EXPECT_EQ(g->TextMatrix(1, ColLongName), "OTHER GAS");
    EXPECT_EQ(edit().CATOtherSelect(), 1);
    EXPECT_EQ(dlg->vfgOtherSet->TextMatrix(1, 0), "XX");
    ASSERT_TRUE(Pick(g, 1, ColName, "PRO"));
    EXPECT_EQ(edit().CATOtherSelect(), 0);
    ASSERT_TRUE(Edit(g, 1, ColName, "ABC")); // typed: the companions stay
    EXPECT_EQ(g->TextMatrix(1, ColScale), "21000");

    ASSERT_TRUE(Pick(g, 5, ColName, "CH4"));
    EXPECT_EQ(edit().GasDesit(4), 0.5f);

    FlexGrid *o = dlg->vfgGasNameOther;
    ASSERT_TRUE(Edit(o, kCatRow, ColScale, "12345"));
    ASSERT_TRUE(Pick(o, kCatRow, ColEV, "ME"));
    EXPECT_EQ(dlg->vfgDatas[2]->TextMatrix(3, 1), "ME");

    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().GasName(0), "ABC");
    EXPECT_EQ(rec().GasName(7), "ABC");
    EXPECT_EQ(rec().GasName(4), "CH4");
    EXPECT_EQ(rec().AutoCalib(4), 50.0f);
    EXPECT_EQ(rec().FL_(1), 12000);
    EXPECT_TRUE(rec().Change_CATOtherSelect()) << "chosen, then typed over";
    EXPECT_EQ(rec().CATOtherSelect(), 0);
    EXPECT_FALSE(rec().Change_GasName(1));
}

TEST_F(GasNameDialog, RenameThatWouldOverflowIsRefusedInItsRow)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setWarning(0, 20000);
        rec().setFL_(0, 20000);
        rec().setG1_(1, "A|B"); // from the instrument, untouched: never marked
    }
    ASSERT_TRUE(Open());
    EXPECT_NE(Back(dlg->vfgGasNameOther, kCatRow, ColLongName), 255);
    FlexGrid *g = dlg->vfgGasName;
    EXPECT_FALSE(Edit(g, 1, ColName, "ABC"));
    EXPECT_EQ(Back(g, 1, ColName), 255);
    EXPECT_EQ(g->TextMatrix(1, ColName), rec().GasName(0));
}

// Names from the instrument may hold the "|" the choice lists were once joined with: every
// entry stays one entry, and what a pick copies is that entry's, whole. A copied name the
// name rule refuses (a brace) is marked, so OK waits until it is mended and picked again.
TEST_F(GasNameDialog, BarInANameFromTheInstrumentShiftsNoList)
{
    {
        clsInstrument::DeviceDoor door(rec());
        for (int e = 0; e < 17; ++e) {
            rec().setPIDName(e, QStringLiteral("I%1").arg(e));
            rec().setPIDLongName(e, QStringLiteral("PID GAS %1").arg(e));
        }
        rec().setPIDName(2, "A|B");
        rec().setPIDLongName(5, "P|Q");
        rec().setPIDLongName(6, "P{Q");
        rec().setGasType(6, kPid);
        rec().setGasName(6, "I1");
        rec().setG1_(4, "PID GAS 1");
        rec().setG1_(1, "AB|{CD");
    }
    ASSERT_TRUE(Open());
    FlexGrid *g = dlg->vfgGasName;
    EXPECT_FALSE(Pick(g, 7, ColName, "A|B")) << "the name rule refuses it, as typed";
    EXPECT_EQ(Back(g, 7, ColName), 255);
    g->CancelEdit();
    const struct { int row; const char *pick, *longName; bool red; } picks[] = {
        {7, "I3", "PID GAS 3", false}, {7, "I5", "P|Q", false}, {7, "I6", "P{Q", true},
        {7, "I16", "PID GAS 16", false}, {1, "XX", "AB|{CD", true}, {1, "PRO", "PROPANE", false},
    };
    for (const auto &p : picks) {
        ASSERT_TRUE(Pick(g, p.row, ColName, p.pick)) << p.pick;
        EXPECT_EQ(g->TextMatrix(p.row, ColLongName), QString::fromLatin1(p.longName)) << p.pick;
        EXPECT_EQ(Back(g, p.row, ColLongName) == 255, p.red) << p.pick;
    }
    EXPECT_EQ(edit().CATOtherSelect(), 0);

    // The other gas's long name is mended, then picked: OK stores what was picked.
    const QString refused = QStringLiteral("Improper data found  ( GAS Name && Ratio )");
    ASSERT_TRUE(Pick(g, 1, ColName, "XX"));
    ASSERT_TRUE(Edit(dlg->vfgGasNameOther, kCatRow, ColLongName, "ABCD"));
    boxes->clear();
    dlg->cmdOK_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{refused}) << "the copy made before the mend is still marked";
    ASSERT_TRUE(Pick(g, 1, ColName, "XX"));
    EXPECT_EQ(edit().CATOtherSelect(), 1);
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_EQ(rec().GasName(6), "I16");
    EXPECT_EQ(rec().G1_(4), "PID GAS 16");
    EXPECT_EQ(rec().G1_(0), "ABCD");
    EXPECT_EQ(rec().G1_(1), "ABCD");
    EXPECT_EQ(rec().PIDName(2), "A|B") << "untouched, goes back as it came";
}

// The catalytic other gas's long name as the instrument gave it, "|" or brace and all:
// never marked, not even after its cell was opened and left, and OK writes nothing for it.
// A typed one is judged; a store that would carry the brace away names the cell.
TEST_F(GasNameDialog, OtherGasNamesFromTheInstrumentNeverBlockOk)
{
    for (const char *longName : {"AB|CD", "AB{CD"}) {
        {
            clsInstrument::DeviceDoor door(rec());
            rec().setG1_(1, longName);
        }
        ASSERT_TRUE(Open());
        FlexGrid *o = dlg->vfgGasNameOther;
        EXPECT_NE(Back(o, kCatRow, ColLongName), 255) << longName;
        ASSERT_TRUE(OpenCell(o, kCatRow, ColLongName)) << longName;
        QTest::keyClick(EditorLine(o), Qt::Key_Return);
        EXPECT_FALSE(o->IsEditing()) << longName;
        EXPECT_NE(Back(o, kCatRow, ColLongName), 255) << longName;

        ASSERT_TRUE(OpenCell(o, kTcRow, ColLongName));
        EditorLine(o)->setText("T{C");                      // pasted past the key filter
        QTest::keyClick(EditorLine(o), Qt::Key_Return);
        EXPECT_EQ(Back(o, kTcRow, ColLongName), 255);
        ASSERT_TRUE(Edit(o, kTcRow, ColLongName, "T|C"));
        EXPECT_EQ(Back(o, kTcRow, ColLongName), 16777215);

        boxes->clear();
        dlg->chkAll->setChecked(true);
        dlg->cmdStore_Click();
        const QStringList refused{GetMsg(8056, QStringLiteral("Other Name: CAT, Long Name"))};
        if (QByteArray(longName).contains('{'))
            EXPECT_EQ(boxes->prompts(), refused);
        else
            EXPECT_NE(boxes->prompts(), refused);
        dlg->chkAll->setChecked(false);

        boxes->clear();
        dlg->cmdOK_Click();
        ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
        EXPECT_EQ(rec().G1_(1), longName);
        EXPECT_FALSE(rec().Change_G1_(1)) << longName;
        EXPECT_EQ(rec().G1_(5), "T|C");
    }
}

// The list of a thermal-conductivity channel's name cell ends with the thermal other gas,
// never the catalytic one; picking it brings that gas's long name and full scale.
TEST_F(GasNameDialog, ThermalChannelListEndsWithTheThermalOtherGas)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setTCOther("TCX");
        rec().setG1_(5, "TC OTHER");
        rec().setFL_(2, 800);
    }
    ASSERT_TRUE(Open());
    FlexGrid *g = dlg->vfgGasName;
    ASSERT_TRUE(OpenCell(g, 5, ColName));
    auto *combo = qobject_cast<QComboBox *>(g->Editor());
    ASSERT_TRUE(combo);
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(combo->count() - 1), "TCX");
    g->CancelEdit();
    ASSERT_TRUE(Pick(g, 5, ColName, "TCX"));
    EXPECT_EQ(g->TextMatrix(5, ColLongName), "TC OTHER");
    EXPECT_EQ(g->TextMatrix(5, ColScale), "80.0");
}

// A maintenance-data load brings a long name in: one the rule refuses is marked, OK waits.
TEST_F(GasNameDialog, LoadedOtherGasLongNameIsJudged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("all.vkx");
    clsInstrument other = rec();
    {
        clsInstrument::DeviceDoor door(other);
        other.setG1_(1, "L{D");
        other.setG1_(5, "T|C");
    }
    ASSERT_TRUE(StoreConfig(other, path, true, Distribution::everything()));
    ASSERT_TRUE(Open());
    files->choose(path);
    dlg->cmdLoad_Click();
    FlexGrid *o = dlg->vfgGasNameOther;
    EXPECT_EQ(o->TextMatrix(kCatRow, ColLongName), "L{D");
    EXPECT_EQ(Back(o, kCatRow, ColLongName), 255);
    EXPECT_NE(Back(o, kTcRow, ColLongName), 255);
    boxes->clear();
    dlg->cmdOK_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("Other Name"))});
}
