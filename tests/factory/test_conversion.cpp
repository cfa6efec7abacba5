#include "factory/FsRulesConversion.h"
#include "factory/ListFiles.h"
#include "model/clsInstrument.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace FsConv;

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

QString level(const QString &s, const QString &ratio, int col = ColFirst)
{
    const Verdict v = ValidatePreEdit(col, s, row("", "", ratio));
    return v.ok ? v.text : QStringLiteral("refused");
}

QString user(int col, const QString &s)
{
    const Verdict v = ValidateUserEdit(col, s, row("", "", "2000"));
    return v.ok ? v.text : QStringLiteral("refused");
}

} // namespace

TEST(ConversionRules, LevelsRoundToTheirStepAndStayWithinTheRatio)
{
    EXPECT_EQ(level("1234", "2000"), "1200");
    EXPECT_EQ(level("1250", "2000"), "1200");
    EXPECT_EQ(level("1350", "2000"), "1400");
    EXPECT_EQ(level("1130", "30000"), "1250");
    EXPECT_EQ(level("2000", "2000"), "2000");
    EXPECT_EQ(level("2100", "2000"), "refused");
    EXPECT_EQ(level("-1", "2000"), "refused");
    EXPECT_EQ(level("60000", "70000"), "refused");
    EXPECT_EQ(level("1060", "1070"), "refused");     // 1100 would lie above the ratio
    EXPECT_EQ(level("1040", "1070"), "1000");
    EXPECT_EQ(level("100", "abc"), "refused");       // no ratio to check against
    EXPECT_EQ(level("", "2000"), "*****");
    EXPECT_EQ(level("abc", "2000"), "*****");
    EXPECT_EQ(level("1000", "2000", ColFactor), "refused"); // only the levels are edited
}

TEST(ConversionRules, FirstLevelMayNotPassTheSecond)
{
    EXPECT_FALSE(ValidatePreEdit(ColFirst, "500", row("", "400", "2000")).ok);
    EXPECT_TRUE(ValidatePreEdit(ColFirst, "400", row("", "400", "2000")).ok);
    EXPECT_FALSE(ValidatePreEdit(ColSecond, "400", row("500", "", "2000")).ok);
    EXPECT_TRUE(ValidatePreEdit(ColSecond, "600", row("500", "*****", "2000")).ok);
    EXPECT_TRUE(ValidatePreEdit(ColFirst, "500", row("", "*****", "2000")).ok);
}

TEST(ConversionRules, UserCells)
{
    EXPECT_EQ(user(ColRatio, "999"), "refused");
    EXPECT_EQ(user(ColRatio, "150001"), "refused");
    EXPECT_EQ(user(ColRatio, "1234567"), "refused");
    EXPECT_EQ(user(ColRatio, "78000"), "80000");
    EXPECT_EQ(user(ColRatio, "120000"), "120000");
    EXPECT_EQ(user(ColRatio, "2500"), "2000");
    EXPECT_EQ(user(ColRatio, "3500"), "4000");
    EXPECT_EQ(user(ColRatio, "49500"), "50000");
    EXPECT_EQ(user(ColFactor, "0.005"), "refused");
    EXPECT_EQ(user(ColFactor, "25"), "25.00");
    EXPECT_EQ(user(ColFactor, "0.01"), "0.01");
    EXPECT_EQ(user(ColFactor, "25.01"), "refused");
    EXPECT_EQ(user(ColVolt, "ME"), "ME");
    EXPECT_EQ(user(ColVolt, "me"), "refused");
    EXPECT_EQ(user(ColName, ""), "---");
    EXPECT_EQ(user(ColName, "ab"), "refused");
    EXPECT_EQ(user(ColLongName, ""), "");
    EXPECT_EQ(user(ColFactor, ""), "refused");

    EXPECT_EQ(FilterUserKey(ColName, 'a', "AB"), 'A');
    EXPECT_EQ(FilterUserKey(ColName, 'D', "ABC"), 0);
    EXPECT_EQ(FilterUserKey(ColName, 8, "ABC"), 8);
    EXPECT_EQ(FilterUserKey(ColLongName, 'a', QString(19, 'x')), 'a');
    EXPECT_EQ(FilterUserKey(ColLongName, 'a', QString(20, 'x')), 0);
}

TEST(ConversionRules, WholeRowCheckNormalisesAndMarks)
{
    RowTexts r = row("1234", "1350", "2000");
    r[ColName] = "";
    r[ColLongName] = "*****";
    r[ColFactor] = "1.5";
    r[ColVolt] = "me";
    auto c = CheckRow(true, r);
    EXPECT_EQ(c[ColName].text, "---");
    EXPECT_EQ(c[ColLongName].text, QString(20, '-'));
    EXPECT_EQ(c[ColFactor].text, "1.50");
    EXPECT_EQ(c[ColFirst].text, "1200");
    EXPECT_EQ(c[ColSecond].text, "1400");
    EXPECT_EQ(c[ColVolt].text, "ME");
    for (int col = ColName; col < kCols; ++col)
        EXPECT_FALSE(c[size_t(col)].bad) << col;

    r = row("1500", "1200", "999");  // crossed levels; small ratios pass the whole-grid check
    r[ColVolt] = "2.4";
    r[ColName] = "ch4";
    c = CheckRow(true, r);
    EXPECT_TRUE(c[ColName].bad);     // capitals only in the user grid
    EXPECT_FALSE(CheckRow(false, r)[ColName].bad);
    EXPECT_TRUE(c[ColFirst].bad);    // above the ratio
    EXPECT_FALSE(c[ColRatio].bad);
    EXPECT_EQ(c[ColVolt].text, "Normal");

    c = CheckRow(false, row("1500", "1200", "2000"));
    EXPECT_TRUE(c[ColFirst].bad);
    EXPECT_TRUE(c[ColSecond].bad);
    c = CheckRow(false, row("100", "200", "xyz"));   // a ratio an import left: no crash, red
    EXPECT_TRUE(c[ColFirst].bad);
    EXPECT_TRUE(c[ColRatio].bad);
    EXPECT_TRUE(CheckRow(false, row("", "", "150001"))[ColRatio].bad);
    EXPECT_TRUE(CheckRow(false, row("", "", "1000000"))[ColRatio].bad);
    r[ColFactor] = "";
    EXPECT_TRUE(CheckRow(false, r)[ColFactor].bad);
}

TEST(ConversionRules, CountBox)
{
    EXPECT_EQ(FilterCountKey('5', "1"), '5');
    EXPECT_EQ(FilterCountKey('5', "12"), 0);
    EXPECT_EQ(FilterCountKey('a', ""), 0);
    EXPECT_EQ(FilterCountKey(8, "12"), 8);
    EXPECT_EQ(CountValue("05"), 5);
    EXPECT_EQ(CountValue("30"), 30);
    EXPECT_EQ(CountValue("31"), std::nullopt);
    EXPECT_EQ(CountValue(""), std::nullopt);
    EXPECT_EQ(CountRows("45"), 30);   // a count read from an instrument never reaches past the grid
    EXPECT_EQ(CountRows("x"), 0);
    EXPECT_EQ(CountRows("7"), 7);
}

TEST(ConversionRules, ApplyWritesWhatDiffersAndTheCountOnlyWhenChanged)
{
    clsInstrument inst;
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setLN_(12);
        inst.setLB_name(0, "CH4");
        inst.setLB_longname(0, "METHANE");
        inst.setLB_fc(0, 100);
        inst.setLA_warn(0, 1200);
        inst.setLA_alarm(0, 1400);
        inst.setLA_ratio(0, 2000);
        inst.setLA_warn(1, -121);
        inst.setLA_alarm(1, 12.5f);
    }
    QVector<RowTexts> pre(kPreRows), usr(kUserRows);
    for (int i = 0; i < kPreRows; ++i) {
        pre[i][ColName] = inst.LB_name(i);
        pre[i][ColLongName] = inst.LB_longname(i);
        pre[i][ColFactor] = FactorText(inst.LB_fc(i));
        pre[i][ColFirst] = LevelText(inst.LA_warn(i));
        pre[i][ColSecond] = LevelText(inst.LA_alarm(i));
        pre[i][ColRatio] = RatioText(inst.LA_ratio(i));
        pre[i][ColVolt] = VoltText(inst.LA_volt(i));
    }
    for (int i = 0; i < kUserRows; ++i)
        usr[i] = pre[0], usr[i][ColName] = "", usr[i][ColFirst] = "0", usr[i][ColSecond] = "0",
        usr[i][ColRatio] = "0", usr[i][ColVolt] = "Normal";
    ApplyConversion(inst, pre, usr, "12");
    EXPECT_FALSE(inst.Change_LN_());
    EXPECT_FALSE(inst.Change_LB_(0));
    EXPECT_FALSE(inst.Change_LA_(0));
    EXPECT_FALSE(inst.Change_LA_(1));    // -121 shows "*****", 12.5 shows "13": both as shown
    EXPECT_FALSE(inst.Change_LO_(0));
    EXPECT_FALSE(inst.Change_LA_(30));

    clsInstrument edited = inst;
    edited.ClearChangeFlags();
    pre[0][ColFactor] = "0.125";         // 12.5 hundredths round to even
    pre[0][ColFirst] = "*****";
    pre[0][ColVolt] = "ME";
    pre[2][ColName] = "";                // a blank name updates the name only
    pre[2][ColFactor] = "3.00";
    ApplyConversion(edited, pre, usr, "13");
    EXPECT_EQ(edited.LB_fc(0), 12);
    EXPECT_EQ(edited.LA_warn(0), -121.0f);
    EXPECT_EQ(edited.LA_volt(0), 1.0f);
    EXPECT_EQ(edited.LB_fc(2), 0);
    EXPECT_TRUE(edited.Change_LN_());
    EXPECT_EQ(edited.LN_(), 13);
    edited.ClearChangeFlags();
    ApplyConversion(edited, pre, usr, "31");   // the checks refuse it; nothing is stored
    EXPECT_FALSE(edited.Change_LN_());
}

namespace {

class ConversionFileTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path(name);
    }
    static ConversionListFile::Row cells(const QString &longName)
    {
        return {"ABC", longName, "1.00", "1200", "1400", "2000", "ME"};
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ConversionFileTest, RoundTripKeepsEveryCellAlsoALongNameWithCommas)
{
    QVector<ConversionListFile::Row> usr(kUserRows, cells("USER")), pre(kPreRows, cells("PRE"));
    usr[0] = cells("AB,CD");
    pre[29] = {"", "", "", "*****", "*****", "", ""};
    ASSERT_TRUE(ConversionListFile::Write(path("Conversion.csv"), usr, pre).ok);
    QFile f(path("Conversion.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_EQ(lines.size(), 36);
    EXPECT_EQ(lines[0], "1,ABC,AB,CD,1.00,1200,1400,2000,ME\r");
    EXPECT_EQ(lines[5], "1,ABC,PRE,1.00,1200,1400,2000,ME\r");
    const auto back = ConversionListFile::Read(path("Conversion.csv"));
    ASSERT_TRUE(back.ok) << back.error.toStdString();
    EXPECT_EQ(back.rows, usr + pre);
}

TEST_F(ConversionFileTest, TabsShortFilesAndImproperFiles)
{
    auto r = ConversionListFile::Read(write("t.csv", "1\tABC\tAB\t1.00\t1200\t1400\t2000\tME\r\n2,X\r\n3,Y,,,,,,\r\n"));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    ASSERT_EQ(r.rows.size(), 3);
    EXPECT_EQ(r.rows[0], cells("AB"));
    EXPECT_EQ(r.rows[1][0], "X");
    EXPECT_EQ(r.rows[1][6], "");

    QByteArray lines;
    for (int i = 1; i <= 35; ++i)
        lines += QByteArray::number(i) + ",ABC,L,1.00,100,200,2000,Normal\r\n";
    EXPECT_TRUE(ConversionListFile::Read(write("35.csv", lines + "\r\n\r\n")).ok);
    r = ConversionListFile::Read(write("36.csv", lines + "36,ABC,L,1.00,100,200,2000,Normal\r\n"));
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.rows.isEmpty());
    EXPECT_FALSE(ConversionListFile::Read(write("r.csv", "1,A,B,1.00,100,200,abc,ME\r\n")).ok);
    EXPECT_FALSE(ConversionListFile::Read(write("n.csv", "1,A,B,1.00,100,200,2000,ME\r\nABC,B\r\n")).ok);
    EXPECT_FALSE(ConversionListFile::Read(write("e.csv", "\r\n")).ok);
}

TEST_F(ConversionFileTest, RowsThatWouldNotReadBack)
{
    EXPECT_TRUE(ConversionListFile::ReadsBack(cells("AB,CD")));
    EXPECT_TRUE(ConversionListFile::ReadsBack({"", "", "", "", "", "", ""}));
    EXPECT_FALSE(ConversionListFile::ReadsBack({"A,B", "L", "1.00", "1", "2", "2000", "ME"}));
    EXPECT_FALSE(ConversionListFile::ReadsBack({"ABC", "L", "1,00", "1", "2", "2000", "ME"}));
    EXPECT_FALSE(ConversionListFile::ReadsBack({"ABC", "A,B", "1.00", "1", "2", "2000", ""}));
    EXPECT_FALSE(ConversionListFile::ReadsBack({"ABC", "A\tB", "1.00", "1", "2", "2000", "ME"}));
}
