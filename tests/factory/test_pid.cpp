// The PID grids' rules without a window: the cell checks, the whole-grid check of an
// import and the apply step of OK.
#include "factory/FsRulesPID.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"

#include <gtest/gtest.h>

using namespace FsPid;

namespace {

// A High-range row: full scale 500, Point "1/10", Digit "0.2", factor 0.25.
QStringList highRow(const QString &first = QStringLiteral("10.0"), const QString &second = QStringLiteral("20.0"))
{
    return {"1", "AB", "SAMPLE", "500.0", "1/10", "ppm", "0.2", first, second, "*****", "*****", "*****", "0.25"};
}

// A PID table as the instrument reports it: entries "P0".."P16", High full scale 1000,
// Low full scale 10; channel 4 is a PID sensor on entry 3.
void FillPidTable(clsInstrument &rec)
{
    clsInstrument::DeviceDoor door(rec);
    for (int e = 0; e < kEntries; ++e) {
        rec.setPIDName(e, QStringLiteral("P%1").arg(e));
        rec.setPIDLongName(e, QStringLiteral("PID GAS %1").arg(e));
        const float fs[2] = {1000, 10}, digit[2] = {1, 0.01f}, factor[2] = {50, 20};
        const int point[2] = {0, 2};
        for (int j = 0; j < 2; ++j) {
            rec.setPIDFullScale(e, j, fs[j]);
            rec.setPIDPoint(e, j, point[j]);
            rec.setPIDUnit(e, j, "ppm");
            rec.setPIDDigit(e, j, digit[j]);
            rec.setPIDWarn(e, j, fs[j] / 10);
            rec.setPIDAlarm(e, j, fs[j] / 5);
            rec.setPIDStel(e, j, ReadingCode::NoValue);
            rec.setPIDTwa(e, j, ReadingCode::NoValue);
            rec.setPIDAutoCal(e, j, fs[j] / 10);
            rec.setPIDFactor(e, j, factor[j]);
        }
    }
    rec.setGasType(6, 5);
    rec.setGasName(6, "P3");
}

Texts gridOf(const QStringList &row)
{
    Texts t(kRows, QStringList(QVector<QString>(kCols)));
    for (int r = 1; r < kRows; ++r) {
        t[r] = row;
        t[r][0] = QString::number(r);
    }
    return t;
}

} // namespace

// One cell's entry in a High-range row (full scale 500, or 1000 where given; range 1: 10.00)
// with alarm points 12.4 / 20.0: the text it becomes, "" when refused.
TEST(PidRules, CellEdits)
{
    const struct { int range, row, col; const char *fullScale, *in, *out; } cases[] = {
        {0, 1, Col1st, "500.0", "12.34", "12.4"}, {0, 1, Col1st, "500.0", "600", ""},
        {0, 1, Col1st, "500.0", "-1", ""},        {0, 1, Col1st, "500.0", "x", "*****"},
        {0, 1, ColAutoCal, "500.0", "", "*****"}, {0, 1, Col1st, "500.0", "20.2", ""},   // above the 2nd
        {0, 1, Col1st, "500.0", "20.0", "20.0"},  {0, 1, Col2nd, "500.0", "12.2", ""},   // below the 1st
        {0, 1, Col2nd, "500.0", "12.4", "12.4"},  {0, 1, ColStel, "500.0", "1", "1.0"},  // no order rule
        {0, 1, ColFactor, "1000", "0.5", "0.50"}, {0, 1, ColFactor, "1000", "0.74", "0.74"},
        {0, 1, ColFactor, "1000", "0.75", ""},    {1, 1, ColFactor, "10.00", "0.29", "0.29"}, // as a float
        {0, 1, ColFactor, "700", "0", ""},        {0, 3, ColFactor, "500.0", "", ""},    // never "no value"
        {0, 17, ColName, "500.0", "ab", ""},      {0, 3, ColName, "500.0", "ab", "ab"},  // capitals: last row
        {0, 17, ColLongName, "500.0", " lead{ok", ""}, {0, 17, ColLongName, "500.0", "A,B", ""},
        {0, 17, ColLongName, "500.0", "A;B", ""}, {0, 17, ColLongName, "500.0", "A|B", "A|B"},
        {0, 17, ColLongName, "500.0", " lead: blank", " lead: blank"},
    };
    for (const auto &c : cases) {
        QStringList row = highRow("12.4", "20.0");
        row[ColFullScale] = c.fullScale;
        const CellEdit e = ValidateCell(c.range, c.row, c.col, c.in, row);
        EXPECT_EQ(e.accept ? e.text : QString(), QString::fromLatin1(c.out)) << c.in;
    }
    EXPECT_EQ(ValidateCell(0, 1, ColFactor, "zz", highRow()).paint, CellEdit::Paint::None);
    EXPECT_EQ(FilterKey(17, ColName, 'D', 3), 0);
    EXPECT_EQ(FilterKey(17, ColName, 8, 3), 8);
    EXPECT_EQ(FilterKey(17, ColLongName, 'x', 20), 0);
    EXPECT_EQ(FilterKey(5, ColName, 'a', 9), 'a') << "no filter elsewhere";
}

TEST(PidRules, WholeGridCheckMarksAndNormalises)
{
    Texts t = gridOf(highRow());
    t[1][ColFullScale] = "1000"; // Point "1/10" as imported: "1000.0" is no list entry
    t[1][ColDigit] = "1";
    t[2][ColUnit] = "ppb";
    t[3][Col1st] = "20";
    t[3][Col2nd] = "10";
    t[6][ColFullScale] = "50"; // "50" lies inside "500.0" but is no High full scale
    const auto bad = CheckPIDCells(0, t);
    EXPECT_EQ(t[1][ColFullScale], "1000.0");
    for (auto [r, c] : {std::pair{1, ColFullScale}, {1, ColPoint}, {2, ColUnit}, {3, Col1st}, {3, Col2nd}, {6, ColFullScale}})
        EXPECT_TRUE(bad[r][c]) << r << "." << c;
    EXPECT_FALSE(bad[1][ColDigit] || bad[17][ColFactor]);
    EXPECT_EQ(t[3][Col1st], "20.0");

    // Against the grid as the instrument filled it only what differs is judged; a new full
    // scale brings the row's numbers with it, not its words.
    const Texts given = gridOf({"1", "AB", "X", "1000", "1/1", "ppb", "1", "-----", "700", "9999", "", "", "0.01"});
    t = given;
    EXPECT_EQ(CheckPIDCells(0, t, &given), QVector<QVector<bool>>(kRows, QVector<bool>(kCols, false)));
    t[1][ColUnit] = "vol%";
    t[2][Col1st] = "800";
    t[3][ColFullScale] = "500";
    auto marks = CheckPIDCells(0, t, &given);
    EXPECT_TRUE(marks[1][ColUnit]);
    EXPECT_FALSE(marks[1][ColStel]);
    EXPECT_TRUE(marks[2][Col1st] && marks[2][Col2nd]) << "above the 2nd, which is unchanged";
    EXPECT_FALSE(marks[2][ColFactor]);
    EXPECT_TRUE(marks[3][ColPoint] && marks[3][Col2nd] && marks[3][ColFactor]);
    EXPECT_FALSE(marks[3][Col1st] || marks[3][ColUnit]);
    EXPECT_EQ(t[3][Col1st], "-----");

    Texts low = gridOf({"1", "AB", "X", "15", "1/100", "ppm", "0.005", "1", "2", "", "", "", "0.3"});
    auto lb = CheckPIDCells(1, low);
    EXPECT_EQ(low[1][ColFullScale], "15.00");
    EXPECT_EQ(low[1][ColFactor], "0.30");
    EXPECT_TRUE(lb[1][ColDigit]) << "below one unit of the last decimal";
    low = gridOf({"1", "AB", "X", "15", "1/100", "ppm", "3", "1", "2", "", "", "", "0.4"});
    lb = CheckPIDCells(1, low);
    EXPECT_TRUE(lb[1][ColDigit]) << "300 units";
    EXPECT_TRUE(lb[1][ColFactor]);
}

TEST(PidRules, ApplyWritesOnlyWhatDiffers)
{
    clsInstrument inst;
    FillPidTable(inst);
    Texts high(kRows), low(kRows);
    for (int e = 0; e < kEntries; ++e) {
        high[e + 1] = RowTexts(inst, e, 0);
        low[e + 1] = RowTexts(inst, e, 1);
    }
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setPIDFactor(0, 0, 98.5f);   // shown "0.99" (or "0.98"): more than the cell shows
        inst.setPIDFullScale(0, 1, 10.004f);
        high[1] = RowTexts(inst, 0, 0);
        low[1] = RowTexts(inst, 0, 1);
    }
    ApplyPidTables(inst, high, low);
    EXPECT_FALSE(inst.AnyChangeFlag()) << "an untouched table writes nothing";
    EXPECT_EQ(inst.PIDFactor(0, 0), 98.5f);

    high[3][Col2nd] = "300";
    high[3][ColFactor] = "1.25";
    low[4][Col1st] = "*****";
    high[5][ColName] = "HI";
    low[5][ColName] = "LO";
    low[6][ColPoint] = "1/1000";
    low[17][ColFactor] = "0.25";
    ApplyPidTables(inst, high, low);
    EXPECT_EQ(inst.PIDFactor(16, 1), 25.0f) << "the last entry";
    EXPECT_EQ(inst.PIDAlarm(2, 0), 300.0f);
    EXPECT_EQ(inst.PIDFactor(2, 0), 125.0f);
    EXPECT_EQ(inst.PIDWarn(3, 1), ReadingCode::NoValue);
    EXPECT_EQ(inst.PIDName(4), "LO") << "the low range's names are applied last";
    EXPECT_EQ(inst.PIDPoint(5, 1), 3);
    EXPECT_TRUE(inst.Change_PIDSpec(2, 0));
    EXPECT_FALSE(inst.Change_PIDSpec(2, 1));
    EXPECT_FALSE(inst.Change_PIDSpec(0, 0));
}

// --- The two grids in the dialog ------------------------------------------------------------

#include "FsFixture.h"
#include "ScratchDir.h"
#include "factory/ListFilesPid.h"
#include <QCheckBox>

namespace {

class PidDialog : public FsFixture, protected ScratchDir {
protected:
    void SetUp() override
    {
        FsFixture::SetUp();
        FillPidTable(rec());
    }
    QStringList Row(int i, int r) const
    {
        QStringList t;
        for (int c = 1; c < kCols; ++c)
            t << dlg->vfgPID[i]->TextMatrix(r, c);
        return t;
    }
};

} // namespace

TEST_F(PidDialog, FullScaleSetsPointDigitAndFactor)
{
    ASSERT_TRUE(Open());
    FlexGrid *high = dlg->vfgPID[0];
    EXPECT_EQ(high->TextMatrix(4, ColFullScale), "1000");
    EXPECT_FALSE(OpenCell(high, 4, ColFullScale)) << "entries 0..15 keep their full scale";
    // Entry 16 takes a name, a long name and a full scale by hand; Point, Unit and Digit stay
    // grey and follow the full scale.
    for (FlexGrid *g : dlg->vfgPID) {
        for (int c = ColName; c <= ColDigit; ++c) {
            const bool locked = c >= ColPoint;
            EXPECT_EQ(Back(g, 17, c) == dlg->vfgOtherSet->GreyColor(), locked) << c;
            EXPECT_EQ(OpenCell(g, 17, c), !locked) << c;
            g->CancelEdit();
        }
    }
    ASSERT_TRUE(Edit(high, 17, ColFullScale, "500.0"));
    EXPECT_EQ(high->TextMatrix(17, ColFullScale), "500");
    EXPECT_EQ(high->TextMatrix(17, ColPoint), "1/10");
    EXPECT_EQ(high->TextMatrix(17, ColDigit), "0.2");
    EXPECT_EQ(high->TextMatrix(17, ColFactor), "0.25");
    for (const char *t : {"0", "50001", "700"}) {
        EXPECT_FALSE(Edit(high, 17, ColFullScale, t)) << t;
        EXPECT_EQ(Back(high, 17, ColFullScale), 255) << t;
        EXPECT_EQ(high->TextMatrix(17, ColFactor), "0.25") << t;
    }
    ASSERT_TRUE(Edit(high, 17, ColFullScale, "50000"));
}

// What the dialog exports, it imports back unchanged, and OK then passes: the demo
// record ("-----" for a not-set STEL, factor 0.01), both ranges.
TEST_F(PidDialog, ListFilesRoundTripLeavesTheRecordAsItWas)
{
    rec() = DemoRecord();
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setPIDLongName(16, "A|B: C");   // "|" is an ordinary character
    }
    ASSERT_TRUE(Open());
    for (int i = 0; i < 2; ++i) {
        files->choose(file(PidListFile::DefaultName(i)));
        dlg->cmdPIDExport_Click(i);
    }
    ASSERT_EQ(boxes->prompts(), QStringList({"Export Complete", "Export Complete"}));
    for (int i = 0; i < 2; ++i) {
        dlg->vfgPID[i]->setTextMatrix(17, ColLongName, "X");   // the file's last line puts it back
        files->choose(file(PidListFile::DefaultName(i)));
        dlg->cmdPIDImport_Click(i);
    }
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_TRUE(Raised(rec()).isEmpty());
    const QByteArray bytes = ReadTestFile(file("PID_High.csv"));
    EXPECT_EQ(bytes.count("\r\n"), 17);

    // The same file with commas in that long name, as the list format carries them: the name
    // is read whole and the values stay in their columns; the name rule then marks it.
    ASSERT_TRUE(Open());
    const QStringList before = Row(0, 17);
    files->choose(file("comma.csv", QByteArray(bytes).replace("A|B: C", "A,B, C")));
    dlg->cmdPIDImport_Click(0);
    QStringList expected = before;
    expected[ColLongName - 1] = "A,B, C";
    EXPECT_EQ(Row(0, 17), expected);
    EXPECT_EQ(Back(dlg->vfgPID[0], 17, ColLongName), 255);
    dlg->cmdCancel_Click();
    ASSERT_TRUE(Closed());

    // A cell that would come back in another cell: the export names it, writes nothing.
    ASSERT_TRUE(Open());
    boxes->clear();
    dlg->vfgPID[1]->setTextMatrix(4, ColUnit, "p,m");
    dlg->cmdPIDExport_Click(1);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, "PID Sensor Settings: row 4, Unit")});

    // A write that fails keeps the old file whole and says why.
    EXPECT_TRUE(ExportFails(dlg->cmdPIDExport[0], file("PID_High.csv"), 512));
    EXPECT_EQ(ReadTestFile(file("PID_High.csv")), bytes);
}

// Imports respect what the instrument refuses.
TEST_F(PidDialog, ImportLeavesRefusedColumnsAlone)
{
    const QByteArray line = "1,NEW,NEW GAS,1000,1/1,ppm,1,300,400,*****,*****,100,0.60\r\n";
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setInvalidLI(true);
    }
    ASSERT_TRUE(Open());
    EXPECT_FALSE(OpenCell(dlg->vfgPID[0], 17, ColFullScale));
    EXPECT_FALSE(OpenCell(dlg->vfgPID[0], 3, Col1st));
    EXPECT_TRUE(Edit(dlg->vfgPID[0], 17, ColName, "ab"));
    EXPECT_EQ(dlg->vfgPID[0]->TextMatrix(17, ColName), "AB");
    files->choose(file("one.csv", line));
    dlg->cmdPIDImport_Click(1);
    EXPECT_EQ(Row(1, 1).mid(0, 2), QStringList({"NEW", "NEW GAS"}));
    EXPECT_EQ(Row(1, 1).mid(2), FsPid::RowTexts(rec(), 0, 1).mid(3)) << "the range columns stay";
    EXPECT_EQ(Raised(edit()), QStringList{"Change_PIDName(0,0)"});
    dlg->cmdCancel_Click();
    ASSERT_TRUE(Closed());
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setInvalidLJ(true);
    }
    ASSERT_TRUE(Open());
    EXPECT_EQ(dlg->vfgPID[1]->Editable(), FlexGrid::EditNone);
    files->choose(file("one.csv", line));
    dlg->cmdPIDImport_Click(0);
    EXPECT_EQ(Row(0, 1).first(), "P0");
    EXPECT_TRUE(Raised(edit()).isEmpty());
}

TEST_F(PidDialog, ImportIsAllOrNothingAndMirrorsNames)
{
    ASSERT_TRUE(Open());
    const QStringList low5 = Row(1, 5);
    files->choose(file("short.csv", "1,N1,NEW,1000,1/1,ppm,1,1,2,3,4,5,0.50\r\n2,N2,NEW 2,1000\r\n"));
    dlg->cmdPIDImport_Click(1);
    EXPECT_EQ(boxes->prompts(), QStringList{"Improper file"});
    EXPECT_EQ(dlg->vfgPID[1]->TextMatrix(1, ColName), "P0") << "nothing placed";
    EXPECT_FALSE(edit().Change_PIDName(0));

    // A value that does not convert is marked, and the check goes on after it.
    files->choose(file("names.csv", "1,N1,NEW 1,1000,1/1,ppm,1,x1,200,*****,*****,100,0.50\r\n"
                                       "2,N2,NEW 2,1000,1/1,ppm,1,100,200,*****,*****,100,0.50\r\n"));
    dlg->cmdPIDImport_Click(0);
    EXPECT_EQ(Back(dlg->vfgPID[0], 1, Col1st), 255);
    EXPECT_NE(Back(dlg->vfgPID[0], 1, Col2nd), 255);
    EXPECT_EQ(dlg->vfgPID[1]->TextMatrix(2, ColLongName), "NEW 2") << "names reach the other range";
    EXPECT_EQ(Row(1, 5), low5);
    dlg->cmdOK_Click();
    EXPECT_EQ(boxes->prompts().last(), "Improper data found  ( PID Sensor (High Range) Settings )");
    ASSERT_TRUE(Edit(dlg->vfgPID[0], 1, Col1st, "100"));
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().PIDName(1), "N2") << "names imported into the high range alone survive OK";
    EXPECT_EQ(rec().PIDLongName(0), "NEW 1");
    EXPECT_FALSE(rec().Change_PIDSpec(1, 1));
}

TEST_F(PidDialog, PidChannelWithoutAnEntryRefusesOk)
{
    ASSERT_TRUE(Open());
    const float fullScale = rec().GasFullScale(6);
    // Channel 6 is a PID sensor: its name list is the low range's names; typed text is allowed.
    ASSERT_TRUE(Edit(dlg->vfgGasName, 7, 1, "XYZ"));
    dlg->cmdOK_Click();
    ASSERT_FALSE(Closed()); // the dialog is read on below
    EXPECT_EQ(boxes->prompts().last(), "Improper data found  ( GAS Name && Ratio )");
    EXPECT_EQ(edit().GasName(6), "P3") << "nothing applied";
    EXPECT_EQ(rec().GasFullScale(6), fullScale);

    ASSERT_TRUE(Pick(dlg->vfgGasName, 7, 1, "P7"));
    EXPECT_EQ(dlg->vfgGasName->TextMatrix(7, 2), "PID GAS 7");
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().GasName(6), "P7");
    EXPECT_EQ(rec().GasFullScale(6), 1000.0f) << "the high range's entry";
    EXPECT_EQ(rec().Warning(6), 100.0f);
    EXPECT_FALSE(rec().Change_PIDSpec(7, 0));
}

// A 1st alarm above the 2nd makes both cells bad, also when the file changed only one of
// them (the other still shows the instrument's value); mending either clears both.
TEST_F(PidDialog, ImportedAlarmOrderMarksBothCells)
{
    ASSERT_TRUE(Open());
    // The record holds 1st 100, 2nd 200 in every High row.
    files->choose(file("order.csv", "1,P0,PID GAS 0,1000,1/1,ppm,1,300,200,*****,*****,100,0.50\r\n"
                                       "2,P1,PID GAS 1,1000,1/1,ppm,1,100,50,*****,*****,100,0.50\r\n"
                                       "3,P2,PID GAS 2,1000,1/1,ppm,1,150,200,*****,*****,100,0.50\r\n"));
    dlg->cmdPIDImport_Click(0);
    FlexGrid *high = dlg->vfgPID[0];
    for (int r : {1, 2})
        for (int c : {Col1st, Col2nd})
            EXPECT_EQ(Back(high, r, c), 255) << r << "." << c;
    EXPECT_EQ(Back(high, 3, Col1st), 16777215);
    dlg->cmdOK_Click();
    EXPECT_EQ(boxes->prompts().last(), "Improper data found  ( PID Sensor (High Range) Settings )");

    ASSERT_TRUE(Edit(high, 1, Col1st, "150"));
    ASSERT_TRUE(Edit(high, 2, Col2nd, "150"));
    for (int r : {1, 2})
        for (int c : {Col1st, Col2nd})
            EXPECT_EQ(Back(high, r, c), 16777215) << r << "." << c;
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_EQ(rec().PIDWarn(0, 0), 150.0f);
    EXPECT_EQ(rec().PIDAlarm(1, 0), 150.0f);
    EXPECT_EQ(rec().PIDAlarm(0, 0), 200.0f);
}

// As the conversion export: a long name from the instrument that the import would mark is
// named, never written; OK takes it back as it came.
TEST_F(PidDialog, LongNameTheImportWouldRefuseIsNotExported)
{
    rec() = DemoRecord();
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setPIDLongName(3, "X{Y");
    }
    ASSERT_TRUE(Open());
    EXPECT_TRUE(dlg->CheckPIDGrid(0));
    for (int i = 0; i < 2; ++i) {
        boxes->clear();
        dlg->cmdPIDExport_Click(i);
        EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, "PID Sensor Settings: row 4, Long Name")}) << i;
    }
    EXPECT_TRUE(files->calls().isEmpty());
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_EQ(rec().PIDLongName(3), "X{Y");
    EXPECT_TRUE(Raised(rec()).isEmpty());
}

// The store judges each ticked range by its own grid and names the range whose cell would
// not come back (the names are shared, so the range columns are where the grids differ).
TEST_F(PidDialog, StoreNamesTheRangeWhoseCellWouldNotComeBack)
{
    for (int bad : {0, 1}) {
        ASSERT_TRUE(Open());
        dlg->vfgPID[bad]->setTextMatrix(4, ColUnit, "p,m");
        for (QCheckBox *box : dlg->chkPID)
            box->setChecked(true);
        boxes->clear();
        const qsizetype asked = files->calls().size();
        dlg->cmdStore_Click();
        const QString range = bad == 0 ? "High" : "Low";
        EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, "PID Sensor (" + range + " Range) Settings: row 4, Unit")});
        EXPECT_EQ(files->calls().size(), asked) << "nothing asked, nothing written";
        dlg->cmdCancel_Click();
        ASSERT_TRUE(Closed());
    }
}
