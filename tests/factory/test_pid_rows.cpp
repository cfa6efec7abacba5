// The PID full-scale table as the range rules give it (the factor limits of every full
// scale of both ranges, the lists offered, Point and Digit); the whole-grid check's empty
// cells; the copy of an entry into a PID channel; and through the dialog, the names shared
// by both grids, the list files' names and what an import marks.
#include "factory/FsRulesPID.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "sim/samples/SampleRecord.h"
#include <gtest/gtest.h>
#include <span>

using namespace FsPid;

TEST(PidRangeLimits, EveryFullScaleOfBothRangesGivesItsFactorLimits)
{
    struct Row {
        float fullScale, lower, upper;
    };
    const Row high[] = {
        {500, 0.25f, 0.49f},   {1000, 0.5f, 0.74f},  {1500, 0.75f, 0.99f},  {2000, 1.0f, 1.24f},
        {2500, 1.25f, 1.49f},  {3000, 1.5f, 1.99f},  {4000, 2.0f, 2.49f},   {5000, 2.5f, 4.99f},
        {10000, 5.0f, 7.49f},  {15000, 7.5f, 9.99f}, {20000, 10.0f, 14.99f}, {30000, 15.0f, 24.99f},
        {50000, 25.0f, 25.0f},
    };
    const Row low[] = {
        {10, 0.2f, 0.29f},  {15, 0.3f, 0.39f},  {20, 0.4f, 0.49f},  {25, 0.5f, 0.59f},  {30, 0.6f, 0.79f},
        {40, 0.8f, 0.99f},  {50, 1.0f, 1.99f},  {100, 2.0f, 2.99f}, {150, 3.0f, 3.99f}, {200, 4.0f, 5.99f},
        {300, 6.0f, 7.99f}, {400, 8.0f, 9.99f}, {500, 10.0f, 10.0f},
    };
    for (int index : {0, 1, 2}) { // any index but 1 is the High range
        for (const Row &r : index == 1 ? std::span<const Row>(low) : std::span<const Row>(high)) {
            float lower = -1, upper = -1;
            EXPECT_TRUE(PIDRangeLimits(index, r.fullScale, lower, upper)) << index << " " << r.fullScale;
            EXPECT_EQ(lower, r.lower) << index << " " << r.fullScale;
            EXPECT_EQ(upper, r.upper) << index << " " << r.fullScale;
        }
    }
    // Looked up as a whole number, halves to even; a full scale without a row leaves the
    // limits as they were.
    struct Lookup {
        int index;
        float fullScale;
        float lower; // -1: no row
    };
    const Lookup lookups[] = {
        {0, 500.4f, 0.25f}, {0, 999.5f, 0.5f}, {0, 1000.5f, 0.5f}, {0, 1499.5f, 0.75f}, {0, 700, -1},
        {0, 10, -1},        {1, 9.5f, 0.2f},   {1, 10.5f, 0.2f},   {1, 15.4f, 0.3f},    {1, 14.5f, -1},
        {1, 15.5f, -1},     {1, 1000, -1},     {1, 0, -1},         {0, -500, -1},
    };
    for (const Lookup &l : lookups) {
        float lower = -1, upper = -1;
        EXPECT_EQ(PIDRangeLimits(l.index, l.fullScale, lower, upper), l.lower >= 0) << l.index << " " << l.fullScale;
        EXPECT_EQ(lower, l.lower) << l.index << " " << l.fullScale;
        if (l.lower < 0) {
            EXPECT_EQ(upper, -1.0f) << l.index << " " << l.fullScale;
        }
    }
}

TEST(PidRangeRules, ListsPointAndDigitOfTheTable)
{
    EXPECT_EQ(FullScaleList(0), "500.0|1000|1500|2000|2500|3000|4000|5000|10000|15000|20000|30000|50000");
    EXPECT_EQ(FullScaleList(1), "10.00|15.00|20.00|25.00|30.00|40.00|50.00|100.0|150.0|200.0|300.0|400.0|500.0");
    EXPECT_TRUE(CheckPIDRange(1, "30.00", ColDigit, "0.02"));
    EXPECT_FALSE(CheckPIDRange(1, "30.00", ColDigit, "0.01"));
    EXPECT_TRUE(CheckPIDRange(0, "1000", ColPoint, "1/1"));
    EXPECT_FALSE(CheckPIDRange(0, "1000", ColPoint, "1/10"));
    EXPECT_FALSE(CheckPIDRange(0, "700", ColDigit, "1"));
    EXPECT_EQ(PointDecimals("1/1000"), 3);
    EXPECT_EQ(PointDecimals("1/20"), -1);
}

// An empty name, full scale or factor has no "no value": the whole-grid check marks it.
TEST(PidRangeRules, WholeGridCheckMarksEmptyCellsThatNeedAValue)
{
    const QStringList row = {"1", "AB", "SAMPLE", "500.0", "1/10", "ppm", "0.2", "10.0", "20.0", "*****", "*****", "*****", "0.25"};
    Texts t(kRows, row);
    t[2][ColName] = "";
    t[3][ColFactor] = "";
    t[4][Col1st] = "abc"; // does not convert: bad, and the check goes on
    const auto bad = CheckPIDCells(0, t);
    EXPECT_TRUE(bad[2][ColName]);
    EXPECT_TRUE(bad[3][ColFactor]);
    EXPECT_TRUE(bad[4][Col1st]);
    EXPECT_FALSE(bad[4][Col2nd]);
    EXPECT_FALSE(bad[5][ColName] || bad[5][ColFactor]);
}

TEST(PidRangeRules, RowTextsAndTheCopyIntoAPidChannel)
{
    clsInstrument inst = DemoRecord(); // high range 1000 ppm, low 100.0 ppm
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setPIDFactor(0, 0, 50);
        inst.setPIDPoint(0, 1, 2);
        inst.setPIDWarn(0, 1, 1);
        inst.setGasType(4, 5);
        inst.setGasName(4, "I03");
    }
    EXPECT_EQ(RowTexts(inst, 0, 0)[ColFactor], "0.50");
    EXPECT_EQ(RowTexts(inst, 0, 1)[Col1st], "1.00");

    EXPECT_FALSE(PidChannelDue(inst, 4));
    inst.setPIDSmallRange(4, 1);
    EXPECT_TRUE(PidChannelDue(inst, 4));
    EXPECT_FALSE(PidChannelDue(inst, 5));
    ASSERT_TRUE(GetPIDChannel(inst, 4));
    EXPECT_EQ(inst.GasFullScale(4), 100.0f) << "the low range's entry";
    EXPECT_EQ(inst.GasPoint(4), 1);
    inst.setGasName(4, "XYZ");
    EXPECT_FALSE(GetPIDChannel(inst, 4)) << "no entry: nothing copied";
    inst.setGasName(4, "I03");
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setInvalidLJ(true);
    }
    inst.setGasFullScale(4, 5);
    EXPECT_FALSE(GetPIDChannel(inst, 4));
    EXPECT_EQ(inst.GasFullScale(4), 5.0f);
}

// --- The two grids in the dialog ------------------------------------------------------------

#include "FsFixture.h"
#include "ScratchDir.h"

namespace {
class PidGrids : public FsFixture, protected ScratchDir {};
} // namespace

TEST_F(PidGrids, NamesAreSharedAndEachRangeHasItsOwnFile)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(5);
    dlg->SSTab3->setTab(1);
    ASSERT_TRUE(Edit(dlg->vfgPID[1], 17, ColLongName, "Low name"));
    EXPECT_EQ(dlg->vfgPID[0]->TextMatrix(17, ColLongName), "Low name") << "the names are shared";

    for (int i = 0; i < 2; ++i) {
        files->choose(file(QStringLiteral("pid%1.csv").arg(i)));
        dlg->cmdPIDExport_Click(i);
    }
    ASSERT_EQ(files->calls().size(), 2);
    EXPECT_EQ(files->calls().at(0).fileName, "PID_High.csv");
    EXPECT_EQ(files->calls().at(1).fileName, "PID_Low.csv");
    for (const CommonDialogCall &c : files->calls())
        EXPECT_EQ(c.flags, 0x802); // ask before overwriting; the folder must exist
}

// What an import brings is judged in both grids (the names are shared); the rows it changed
// stay marked changed even when the grids are filled again.
TEST_F(PidGrids, ImportedEntriesAreJudgedAndMarkedChanged)
{
    ASSERT_TRUE(Open());
    QStringList first = RowTexts(rec(), 0, 0).mid(1), second = RowTexts(rec(), 1, 0).mid(1);
    first[ColName - 1] = "ABCD"; // a name of four
    second[ColFactor - 1] = "*****";
    files->choose(file("bad.csv", ("1," + first.join(',') + "\r\n2," + second.join(',') + "\r\n").toLatin1()));
    dlg->cmdPIDImport_Click(0);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(dlg->vfgPID[i]->Cell(FlexGrid::SetForeColor, 1, ColName).toInt(), 255) << i;
    EXPECT_EQ(Back(dlg->vfgPID[0], 2, ColFactor), 255) << "a factor is never \"no value\"";
    EXPECT_FALSE(dlg->CheckPIDGrid(0));
    dlg->SetPIDGrid(0);
    dlg->SetPIDGrid(1);
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_EQ(Raised(rec()), QStringList({"Change_PIDName(0,0)", "Change_PIDSpec(1,0)"})) << "the rows the import changed";
}
