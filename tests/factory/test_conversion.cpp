#include "factory/FsRulesConversion.h"
#include "factory/ListFiles.h"
#include "model/clsInstrument.h"

#include "ScratchDir.h"
#include <gtest/gtest.h>

using namespace FsConv;

inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace {

RowTexts row(const QString &first, const QString &second, const QString &ratio)
{
    RowTexts r;
    r[ColName] = "CH4";
    r[ColLongName] = "METHANE";
    r[ColFactor] = "1.00";
    r[ColFirst] = first;
    r[ColSecond] = second;
    r[ColRatio] = ratio;
    r[ColVolt] = "Normal";
    return r;
}

} // namespace

// Halves, limits and the cells' refusals: a level against its row's ratio (pre-defined
// table), every other column in the user table; "" for refused.
TEST(ConversionRules, CellEdits)
{
    const struct { bool user; int col; const char *in, *ratio, *out; } cases[] = {
        {false, ColFirst, "1250", "2000", "1200"}, {false, ColFirst, "2000", "2000", "2000"},
        {false, ColFirst, "-1", "2000", ""},       {false, ColFirst, "60000", "70000", ""},
        {false, ColFirst, "1040", "1070", "1000"}, {false, ColFirst, "100", "abc", ""},
        {false, ColFirst, "", "2000", "*****"},    {false, ColFactor, "1000", "2000", ""},
        {false, ColFirst, "abc", "2000", "*****"}, {false, ColSecond, "1060", "1070", ""}, // 1100 would pass the ratio
        {true, ColRatio, "150001", "", ""},        {true, ColRatio, "500", "", ""},
        {true, ColRatio, "1000", "", "1000"},      {true, ColRatio, "120000", "", "120000"},
        {true, ColRatio, "2500", "", "2000"},      {true, ColRatio, "3500", "", "4000"},
        {true, ColRatio, "49500", "", "50000"},    {true, ColFactor, "0.01", "", "0.01"},
        {true, ColFactor, "25", "", "25.00"},      {true, ColFactor, "25.01", "", ""},
        {true, ColFactor, "0.005", "", ""},        {true, ColFactor, "", "", ""},
        {true, ColVolt, "me", "", ""},             {true, ColName, "ab", "", ""},
        {true, ColRatio, "1234567", "", ""},       {true, ColLongName, "", "", "--------------------"},
    };
    for (const auto &c : cases) {
        const Verdict v = c.user ? ValidateUserEdit(c.col, c.in, row("", "", "2000"))
                                 : ValidatePreEdit(c.col, c.in, row("", "", c.ratio));
        EXPECT_EQ(v.ok ? v.text : QString(), QString::fromLatin1(c.out)) << c.in;
    }
    EXPECT_TRUE(ValidatePreEdit(ColFirst, "400", row("", "400", "2000")).ok);   // equal levels
    EXPECT_FALSE(ValidatePreEdit(ColSecond, "400", row("500", "", "2000")).ok);
    EXPECT_EQ(FilterUserKey(ColLongName, 'a', QString(19, 'x')), 'a');
    EXPECT_EQ(FilterUserKey(ColLongName, 'a', QString(20, 'x')), 0);
}

TEST(ConversionRules, WholeRowCheckNormalisesAndMarks)
{
    RowTexts r = row("1500", "1200", "999");  // a ratio the editor refuses, crossed levels
    r[ColName] = "";
    r[ColLongName] = "*****";
    r[ColVolt] = "2.4";
    auto c = CheckRow(true, r);
    EXPECT_EQ(c[ColName].text, "---");
    EXPECT_EQ(c[ColLongName].text, QString(20, '-'));
    EXPECT_EQ(c[ColVolt].text, "Normal");
    EXPECT_TRUE(c[ColFirst].bad);             // above the ratio
    EXPECT_TRUE(c[ColRatio].bad);
    EXPECT_EQ(CheckRow(true, row("", "", "1234"))[ColRatio].text, "1000");  // as the editor rounds

    // Against the row as the instrument gave it, only what differs is judged; a new ratio
    // brings the row's numeric levels with it.
    const RowTexts given = row("1500", "1200", "999");
    EXPECT_FALSE(CheckRow(true, given, &given)[ColFirst].bad);
    EXPECT_FALSE(CheckRow(true, given, &given)[ColRatio].bad);
    r = given;
    r[ColRatio] = "2000";
    c = CheckRow(true, r, &given);
    EXPECT_FALSE(c[ColRatio].bad);
    EXPECT_TRUE(c[ColFirst].bad && c[ColSecond].bad);  // 1500 above 1200 now counts
    r[ColName] = "ch4";
    EXPECT_TRUE(CheckRow(true, r)[ColName].bad);   // capitals only in the user grid
    EXPECT_FALSE(CheckRow(false, r)[ColName].bad);

    c = CheckRow(false, row("1500", "1200", "2000"));
    EXPECT_TRUE(c[ColFirst].bad && c[ColSecond].bad);
    c = CheckRow(false, row("100", "200", "xyz"));   // a ratio an import left: no crash, red
    EXPECT_TRUE(c[ColFirst].bad && c[ColRatio].bad);
    EXPECT_TRUE(CheckRow(false, row("", "", "150001"))[ColRatio].bad);
}

TEST(ConversionRules, ApplyRoundsFactorsAndFollowsOnlyNamedRows)
{
    clsInstrument inst;
    QVector<RowTexts> pre(kPreRows, row("*****", "*****", "2000"));
    pre[0][ColFactor] = "0.125";         // 12.5 hundredths round to even
    pre[2][ColName] = " ";               // a blank name updates the name only
    pre[2][ColFactor] = "3.00";
    ApplyConversion(inst, pre, {}, "31");  // the checks refuse 31; the count stays
    EXPECT_EQ(inst.LB_fc(0), 12);
    EXPECT_EQ(inst.LB_name(2), " ");
    EXPECT_EQ(inst.LB_fc(2), 0);
    EXPECT_FALSE(inst.Change_LN_());
    EXPECT_EQ(inst.LA_warn(0), -121.0f);
    EXPECT_EQ(CountRows("45"), 30);      // no reader of the count goes past the table
    EXPECT_EQ(CountRows("x"), 0);
}

// A cell that would come back in another cell, and which one it is.
TEST(ConversionFile, RowsThatWouldNotReadBack)
{
    using Row = ConversionListFile::Row;
    EXPECT_TRUE(ConversionListFile::ReadsBack(Row{"ABC", "AB,CD", "1.00", "1200", "1400", "2000", "ME"}));
    EXPECT_TRUE(ConversionListFile::ReadsBack(Row{"", "", "", "", "", "", ""}));
    EXPECT_FALSE(ConversionListFile::ReadsBack(Row{"ABC", "L", "1,00", "1", "2", "2000", "ME"}));
    EXPECT_FALSE(ConversionListFile::ReadsBack(Row{"ABC", "A\tB", "1.00", "1", "2", "2000", "ME"}));
    EXPECT_EQ(ConversionListFile::FirstCellNotReadBack(Row{"ABC", "L", "1.00", "1", "2,5", "2000", "ME"}), 4);
    EXPECT_EQ(ConversionListFile::FirstCellNotReadBack(Row{"ABC", "AB,CD", "1.00", "1", "2", "2000", "ME"}), -1);
}

// ---- through the dialog -------------------------------------------------------------------

#include "FsFixture.h"
#include <QCheckBox>

namespace {

class ConvDialog : public FsFixture, protected ScratchDir
{
protected:
    void SetUp() override
    {
        FsFixture::SetUp();
        clsInstrument::DeviceDoor door(rec());
        for (int i = 0; i < kPreRows; ++i) {
            rec().setLB_name(i, QString("P%1").arg(i, 2, 10, QChar('0')));
            rec().setLB_longname(i, QString("PRESET %1").arg(i));
            rec().setLB_fc(i, 100);
            rec().setLA_warn(i, 1000);
            rec().setLA_alarm(i, 1400);
            rec().setLA_ratio(i, 2000);
        }
        rec().setLA_ratio(1, 30000);
        rec().setLA_ratio(2, 1070);
        rec().setLA_alarm(2, 1000);
        rec().setLA_warn(5, 1234);   // not on its step: shown and kept as it is
        for (int i = 0; i < kUserRows; ++i) {
            rec().setLO_name(i, QString("U%1").arg(i));
            rec().setLO_longname(i, QString("USER %1").arg(i));
            rec().setLO_fc(i, 150);
            rec().setLA_ratio(kUserLaBase + i, 5000);
            rec().setLA_warn(kUserLaBase + i, 100);
            rec().setLA_alarm(kUserLaBase + i, 200);
        }
        rec().setLN_(10);
    }
    QString cellsOf(FlexGrid *g, int r)
    {
        QStringList t;
        for (int c = 1; c < kCols; ++c)
            t << g->TextMatrix(r, c);
        return t.join('|');
    }
};

} // namespace

TEST_F(ConvDialog, LayoutLocksAndLevelEdits)
{
    rec().setInvalidLO_(true);
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(1);
    FlexGrid *pre = dlg->vfgPreConv;
    EXPECT_EQ(pre->TextMatrix(0, ColRatio), "Ratio");
    EXPECT_EQ(pre->TextMatrix(6, 4), "1234");
    EXPECT_EQ(dlg->txtCount->text(), "10");
    for (int c : {1, 2, 3, 6, 7})
        EXPECT_FALSE(OpenCell(pre, 1, c)) << c;

    EXPECT_TRUE(Edit(pre, 2, 4, "1130"));
    EXPECT_EQ(pre->TextMatrix(2, 4), "1250");        // ratio 30000: steps of 250
    EXPECT_FALSE(Edit(pre, 1, 4, "1500"));          // above the 2nd level
    EXPECT_EQ(Back(pre, 1, 4), 255);

    dlg->SSTab2->setTab(1);
    FlexGrid *user = dlg->vfgUserConv;
    EXPECT_FALSE(OpenCell(user, 1, 1));              // the instrument refused LO
    EXPECT_FALSE(OpenCell(user, 1, 3));
    EXPECT_TRUE(Edit(user, 1, 6, "78000"));
    EXPECT_EQ(user->TextMatrix(1, 6), "80000");
}

TEST_F(ConvDialog, UserNameKeysAndCountBox)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(1);
    dlg->SSTab2->setTab(1);
    FlexGrid *user = dlg->vfgUserConv;
    EXPECT_TRUE(Edit(user, 2, 1, ""));
    EXPECT_EQ(user->TextMatrix(2, 1), "---");
    ASSERT_TRUE(OpenCell(user, 2, 1));
    EditorLine(user)->selectAll();
    QTest::keyClick(EditorLine(user), Qt::Key_Backspace);
    QTest::keyClicks(EditorLine(user), "a|bcd");
    QTest::keyClick(EditorLine(user), Qt::Key_Return);
    EXPECT_EQ(user->TextMatrix(2, 1), "ABC");       // capitals; "|" and the fourth key refused
    EXPECT_EQ(BeepCount(), 2);
    EXPECT_TRUE(Edit(user, 2, 2, "A;B"));
    EXPECT_EQ(user->TextMatrix(2, 2), "AB");        // ";" refused as a key

    dlg->SSTab2->setTab(0);
    QLineEdit *count = dlg->txtCount;
    count->setFocus();
    count->end(false);
    QTest::keyClicks(count, "5");                    // two characters already: refused
    EXPECT_EQ(count->text(), "10");
    QTest::keyClick(count, Qt::Key_Backspace);
    QTest::keyClicks(count, "x2");
    EXPECT_EQ(count->text(), "12");
    for (auto [text, refused] : {std::pair{"31", true}, {"30", false}, {"05", false}}) {
        bool cancel = false;
        count->setText(text);
        dlg->txtCount_Validate(cancel);
        EXPECT_EQ(cancel, refused) << text;
    }
    EXPECT_EQ(count->text(), "5");
}

// A count the instrument holds above the table is shown as it is, red, and stops OK: no
// reader goes past the table and nothing is sent.
TEST_F(ConvDialog, CountAboveTheTableIsRefusedNotReadPast)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setLN_(45);
    }
    ASSERT_TRUE(Open());
    EXPECT_EQ(dlg->txtCount->text(), "45");
    EXPECT_FALSE(dlg->txtCount->styleSheet().isEmpty());   // shown red
    dlg->cmdOK_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("Pre-Defined Conversion Table"))});
    EXPECT_FALSE(rec().AnyChangeFlag());
}

// Untouched means unchanged: an OK rewrites no row nobody edited.
TEST_F(ConvDialog, UntouchedRowsStayAsTheInstrumentGaveThem)
{
    for (unsigned seed = 1; seed <= 5; ++seed) {
        rec() = VariedRecord(seed);   // factors, ratios and levels the editor would refuse
        ASSERT_TRUE(Open());
        dlg->cmdOK_Click();
        ASSERT_TRUE(Closed()) << seed << boxes->prompts().join('/').toStdString();
        EXPECT_EQ(Raised(rec()), QStringList()) << seed;
    }
}

TEST_F(ConvDialog, NewCountChangesOnlyTheCount)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(1);
    ASSERT_TRUE(Edit(dlg->vfgPreConv, 4, 5, "1900"));
    dlg->SSTab2->setTab(1);
    ASSERT_TRUE(Edit(dlg->vfgUserConv, 5, 5, "300"));   // the last user row
    dlg->txtCount->setText("11");
    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().LA_alarm(3), 1900.0f);
    EXPECT_EQ(rec().LN_(), 11);
    EXPECT_EQ(rec().LA_warn(5), 1234.0f);            // not rounded by the new count
    EXPECT_EQ(rec().LA_alarm(kUserLaBase + 4), 300.0f);
    EXPECT_EQ(Raised(rec()), QStringList({"Change_LN_(0,0)", "Change_LA_(3,0)", "Change_LA_(34,0)"}));
}

// A level edited writes that level alone: the row's other level stays as the instrument
// gave it, also where it lies off the grid's step.
TEST_F(ConvDialog, OneLevelEditedChangesThatLevelOnly)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setLA_alarm(3, 1456.5f);                   // shown 1457
        rec().setLA_warn(4, 987.5f);                     // shown 988
        rec().setLA_alarm(kUserLaBase + 1, 250.5f);      // shown 251
    }
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(1);
    ASSERT_TRUE(Edit(dlg->vfgPreConv, 4, ColFirst, "1100"));
    ASSERT_TRUE(Edit(dlg->vfgPreConv, 5, ColSecond, "1500"));
    dlg->SSTab2->setTab(1);
    ASSERT_TRUE(Edit(dlg->vfgUserConv, 2, ColFirst, "200"));
    QTest::mouseClick(dlg->cmdOK, Qt::LeftButton);
    ASSERT_TRUE(Closed());
    const struct { int k; float first, second; } rows[] = {
        {3, 1100, 1456.5f}, {4, 987.5f, 1500}, {kUserLaBase + 1, 200, 250.5f}};
    for (const auto &r : rows) {
        EXPECT_EQ(rec().LA_warn(r.k), r.first) << r.k;
        EXPECT_EQ(rec().LA_alarm(r.k), r.second) << r.k;
    }
}

// One rule per cell: what an import brings is judged as an edit, in every row.
TEST_F(ConvDialog, ImportedRowsAreJudgedAsEditsWhateverTheCount)
{
    ASSERT_TRUE(Open());
    // A ratio the editor refuses, a name the lists cannot carry; past the count of 10 a
    // factor, levels and a ratio out of range.
    QByteArray lines = "1,U0,U,1.50,100,200,500,Normal\r\n2,A|B,U,1.50,100,200,5000,Normal\r\n";
    for (int r = 3; r <= 5; ++r)
        lines += QByteArray::number(r) + ",U,U,1.50,100,200,5000,Normal\r\n";
    const QMap<int, QByteArray> odd = {{20, "30,1000,1400,2000"}, {21, "1.00,60000,60000,70000"}, {22, "1.00,*****,*****,9"}};
    for (int r = 1; r <= 30; ++r)
        lines += QByteArray::number(r) + ",P,P," + odd.value(r, "1.00,1000,1400,2000") + ",Normal\r\n";
    files->choose(file("bad.csv", lines));
    dlg->cmdConvImport->click();
    FlexGrid *pre = dlg->vfgPreConv, *user = dlg->vfgUserConv;
    auto foreRed = [pre](int r, int c) { return pre->Cell(FlexGrid::SetForeColor, r, c).toInt() == 255; };
    EXPECT_TRUE(foreRed(20, ColFactor));
    EXPECT_EQ(Back(pre, 21, ColFirst), 255);
    EXPECT_TRUE(foreRed(22, ColRatio));
    EXPECT_FALSE(foreRed(19, ColFactor));
    EXPECT_EQ(pre->TextMatrix(5, ColFirst), "1000"); // the instrument's 1234 replaced
    EXPECT_EQ(Back(user, 1, ColRatio), 255);
    EXPECT_EQ(Back(user, 2, ColName), 255);
    dlg->cmdOK_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("Pre-Defined Conversion Table"))});
    EXPECT_FALSE(Raised(rec()).size());
}

// Imports respect what the instrument refuses.
TEST_F(ConvDialog, ImportLeavesRefusedGroupsAlone)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setInvalidLB_(true);
        rec().setInvalidLA_(true);
    }
    ASSERT_TRUE(Open());
    files->choose(file("c.csv", "1,NEW,NEW USER,2.00,300,400,9000,ME\r\n2,U1,USER 1,1.50,100,200,5000,Normal\r\n"
                                 "3,U2,USER 2,1.50,100,200,5000,Normal\r\n4,U3,USER 3,1.50,100,200,5000,Normal\r\n"
                                 "5,U4,USER 4,1.50,100,200,5000,Normal\r\n6,NEW,NEW PRESET,2.00,300,400,9000,ME\r\n"));
    dlg->cmdConvImport->click();
    EXPECT_EQ(cellsOf(dlg->vfgUserConv, 1), "NEW|NEW USER|2.00|100|200|5000|Normal");
    EXPECT_EQ(cellsOf(dlg->vfgPreConv, 1), "P00|PRESET 0|1.00|1000|1400|2000|Normal");
    EXPECT_FALSE(OpenCell(dlg->vfgUserConv, 1, ColFirst)) << "no LA: the user levels are locked too";
    EXPECT_EQ(Raised(edit()), QStringList{"Change_LO_(0,0)"});
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed());
    EXPECT_EQ(Raised(rec()), QStringList{"Change_LO_(0,0)"});
    EXPECT_EQ(rec().LO_fc(0), 200);
}

// What the dialog exports, it imports back unchanged, and OK then passes.
TEST_F(ConvDialog, ListFileRoundTripLeavesTheRecordAsItWas)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setLO_longname(0, "AB|CD");        // "|" is an ordinary character
        rec().setLA_volt(0, 0.5f);               // shown "Normal", kept as it is
    }
    ASSERT_TRUE(Open());
    files->choose(file("Conversion.csv"));
    dlg->cmdConvExport->click();
    ASSERT_EQ(boxes->prompts(), QStringList{"Export Complete"});
    const QList<QByteArray> lines = ReadTestFile(file("Conversion.csv")).split('\n');
    ASSERT_EQ(lines.size(), 36);
    EXPECT_EQ(lines[0], "1,U0,AB|CD,1.50,100,200,5000,Normal\r");
    EXPECT_EQ(lines[5], "1,P00,PRESET 0,1.00,1000,1400,2000,Normal\r");
    files->choose(file("Conversion.csv"));
    dlg->cmdConvImport->click();
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_TRUE(Raised(rec()).isEmpty());

    // A write that fails says so; a cell that would come back in another cell: the export
    // names it, writes nothing.
    ASSERT_TRUE(Open());
    EXPECT_TRUE(ExportFails(dlg->cmdConvExport, file("Conversion.csv"), 100));
    boxes->clear();
    const int asked = int(files->calls().size());
    dlg->vfgUserConv->setTextMatrix(2, 1, "A,B");
    dlg->cmdConvExport->click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8056, QStringLiteral("User Defined Conversion Table: row 2, Name"))});
    EXPECT_EQ(files->calls().size(), asked);
}

TEST_F(ConvDialog, ImportTabsShortAndImproperFiles)
{
    ASSERT_TRUE(Open());
    // TABs for commas; missing fields are empty cells.
    files->choose(file("tab.csv", "1\tTAB\tTABBED\t2.5\t\t\t9000\tme\r\n2,X\r\n"));
    dlg->cmdConvImport->click();
    EXPECT_EQ(cellsOf(dlg->vfgUserConv, 1), "TAB|TABBED|2.50|*****|*****|9000|ME");
    EXPECT_EQ(dlg->vfgUserConv->TextMatrix(2, 1), "X");
    EXPECT_TRUE(edit().Change_LO_(0));
    EXPECT_FALSE(edit().Change_LO_(2));

    // A 36th line, levels with a ratio that is no number, a line without its number, no
    // line: nothing changes at all.
    QByteArray lines;
    for (int i = 1; i <= 36; ++i)
        lines += QByteArray::number(i) + ",NEW,NEW,1.00,100,200,2000,Normal\r\n";
    edit().ClearChangeFlags();
    for (const QByteArray &bytes : {lines, QByteArray("1,A,B,1.00,100,200,abc,ME\r\n"),
                                    QByteArray("1,A,B,1.00,100,200,2000,ME\r\nABC,B\r\n"), QByteArray("\r\n")}) {
        boxes->clear();
        files->choose(file("bad.csv", bytes));
        dlg->cmdConvImport->click();
        EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(8075)});
        EXPECT_EQ(cellsOf(dlg->vfgUserConv, 1), "TAB|TABBED|2.50|*****|*****|9000|ME");
        EXPECT_EQ(dlg->vfgPreConv->TextMatrix(1, 1), "P00");
        EXPECT_FALSE(edit().AnyChangeFlag());
    }
}

// A long name from the instrument that the name rule refuses is never marked and never
// blocks OK; the export and the store, which would carry it where it is judged, name it.
TEST_F(ConvDialog, LongNameTheImportWouldRefuseIsNotExported)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setLO_longname(1, "AB{CD");
        rec().setLB_longname(3, QStringLiteral("PRE\u00C9"));   // a byte above 126
    }
    ASSERT_TRUE(Open());
    EXPECT_TRUE(dlg->CheckUserConvGrid());
    EXPECT_TRUE(dlg->CheckPreConvGrid());
    const qsizetype asked = files->calls().size();
    dlg->cmdConvExport->click();
    EXPECT_EQ(boxes->prompts(),
              QStringList{GetMsg(8056, QStringLiteral("User Defined Conversion Table: row 2, Long Name"))});
    ASSERT_TRUE(Edit(dlg->vfgUserConv, 2, ColLongName, "AB|CD"));
    boxes->clear();
    dlg->cmdConvExport->click();
    EXPECT_EQ(boxes->prompts(),
              QStringList{GetMsg(8056, QStringLiteral("Pre-Defined Conversion Table: row 4, Long Name"))});
    boxes->clear();
    dlg->chkConvertion->setChecked(true);
    dlg->cmdStore_Click();
    EXPECT_EQ(boxes->prompts(),
              QStringList{GetMsg(8056, QStringLiteral("Pre-Defined Conversion Table: row 4, Long Name"))});
    EXPECT_EQ(files->calls().size(), asked) << "nothing asked, nothing written";
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed()) << boxes->prompts().join('/').toStdString();
    EXPECT_EQ(rec().LO_longname(1), "AB|CD");
    EXPECT_EQ(rec().LB_longname(3), QStringLiteral("PRE\u00C9"));
    EXPECT_FALSE(rec().Change_LB_(3));
}
