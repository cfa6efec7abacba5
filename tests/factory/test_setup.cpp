// The three setting lists: what a row shows and parses back to, the entry rules, the
// locks and mirrors, and how the lists reach the record.
#include "FsFixture.h"
#include "factory/FsRulesSetup.h"
#include <QLabel>

using namespace FsSetup;

namespace {
// The code a record's value comes back as after a fill and a parse.
int RoundTrip(int list, int row, const clsInstrument &rec)
{
    const RowFill f = FillOf(list, row, rec);
    return ParseCode(list, row, ShownText(f), rec.BNuserLogoName());
}

Cells ShownCells(const clsInstrument &rec)
{
    Cells cells;
    for (int i = 0; i < kLists; ++i)
        for (int row = 0; row < kRows[i]; ++row)
            cells[i] << ShownText(FillOf(i, row, rec));
    return cells;
}
} // namespace

TEST(FsSetupRules, ShownTextsParseBackToTheirCodes)
{
    clsInstrument rec;
    rec.setBNuserLogoName(QStringLiteral("  My Logo"));
    for (int code = 0; code <= 4; ++code) {
        rec.setLogoDisp(code);
        EXPECT_EQ(RoundTrip(ListFactory, FactoryRow::LogoDisplay, rec), code);
    }
    EXPECT_EQ(ShownText(FillOf(ListFactory, FactoryRow::LogoDisplay, rec)), QStringLiteral("  My Logo"));
    rec.setDispID(-1);
    EXPECT_EQ(RoundTrip(ListSetUp, SetUpRow::UserStationId, rec), -1);
    rec.setAlarmO2(1);
    EXPECT_EQ(RoundTrip(ListSetUp, SetUpRow::OxyPattern, rec), 1);
    EXPECT_EQ(ParseCode(ListSetUp, SetUpRow::BhTime, QStringLiteral("060"), QString()), 2); // read as a number
    for (int code = 0; code <= 2; ++code) {
        rec.setCurrHc(code);
        EXPECT_EQ(RoundTrip(ListOther, OtherRow::CatDisplayUnit, rec), code);
    }
    // Out of the list: an empty cell; parsers trim blanks only for their comparison.
    rec.setHcMode(7);
    EXPECT_EQ(ShownText(FillOf(ListSetUp, SetUpRow::CatUnits, rec)), QString());
    EXPECT_EQ(ParseCode(ListSetUp, SetUpRow::CatUnits, QStringLiteral("  %lel only "), QString()), 1);
    EXPECT_EQ(ParseCode(ListSetUp, SetUpRow::Password, QStringLiteral("1234"), QString()), -1);
    EXPECT_EQ(ParseCode(ListSetUp, SetUpRow::BhTime, QString(), QString()), 0);
}

TEST(FsSetupRules, EntryChecks)
{
    struct Case {
        int list, row;
        const char *text;
        bool refused;
        const char *shown; // editor text afterwards ("" unchanged)
    };
    const Case cases[] = {
        {ListSetUp, SetUpRow::CalInterval, "007", false, "7"},  {ListSetUp, SetUpRow::CalInterval, "0", true, "0"},
        {ListSetUp, SetUpRow::CalInterval, "366", true, "366"}, {ListSetUp, SetUpRow::CalInterval, "1000", true, ""},
        {ListSetUp, SetUpRow::CalInterval, "2.5", false, "2"}, {ListSetUp, SetUpRow::Backlight, "255", false, "255"},
        {ListSetUp, SetUpRow::Backlight, "256", true, "256"},   {ListSetUp, SetUpRow::Backlight, "-1", true, "-1"},
        {ListSetUp, SetUpRow::Backlight, "", false, ""},        {ListSetUp, SetUpRow::Contrast, "15", false, "15"},
        {ListSetUp, SetUpRow::Contrast, "16", true, "16"},      {ListSetUp, SetUpRow::Contrast, "0", true, "0"},
        {ListSetUp, SetUpRow::Contrast, "99999", true, ""},     {ListSetUp, SetUpRow::Contrast, "x", true, ""},
        {ListSetUp, SetUpRow::Password, "0042", false, ""},     {ListSetUp, SetUpRow::Password, "123", true, ""},
        {ListSetUp, SetUpRow::Password, "12345", true, ""},     {ListSetUp, SetUpRow::Password, "12a4", true, ""},
        {ListSetUp, SetUpRow::Password, "", true, ""},          {ListFactory, FactoryRow::EditLogo, " LOGO-2", false, ""},
        {ListFactory, FactoryRow::EditLogo, "ABCDEFGHIJKLMNOPQRSTU", true, ""},
        {ListFactory, FactoryRow::EditLogo, "small", true, ""}, {ListOther, OtherRow::Manufacture, "", false, ""},
    };
    for (const Case &c : cases) {
        const Verdict v = CheckValue(c.list, c.row, ColValue, QString::fromLatin1(c.text));
        EXPECT_EQ(v.cancel, c.refused) << c.text;
        EXPECT_EQ(v.rewrite ? v.text : QString(), QString::fromLatin1(c.shown)) << c.text;
    }
    EXPECT_TRUE(CheckValue(ListSetUp, SetUpRow::CalInterval, ColValue, QStringLiteral("7")).raiseCalLimit);
    EXPECT_FALSE(CheckValue(ListSetUp, SetUpRow::CalInterval, ColValue, QStringLiteral("0")).raiseCalLimit);
    EXPECT_FALSE(CheckValue(ListSetUp, SetUpRow::Password, ColCaption, QString()).cancel);
}

TEST(FsSetupRules, LocksFollowTheRefusedCommandGroupsAndTheOxygenRange)
{
    clsInstrument rec; // a fresh record reports no IF group
    EXPECT_TRUE(EditRefused(ListFactory, FactoryRow::InertSelect, rec, false));
    rec.setInvalidIF(false);
    EXPECT_FALSE(EditRefused(ListFactory, FactoryRow::InertSelect, rec, false));
    EXPECT_TRUE(EditRefused(ListFactory, FactoryRow::InertSelect, rec, true));
    EXPECT_FALSE(EditRefused(ListOther, OtherRow::LeakBuzzer, rec, false));
    rec.setInvalidWB(true);
    rec.setInvalidLP(true);
    for (auto [list, row] : {std::pair<int, int>{ListSetUp, SetUpRow::LcBhMode}, {ListSetUp, SetUpRow::BhTime}, {ListOther, OtherRow::LeakBuzzer},
                             {ListSetUp, SetUpRow::CatUnits}, {ListOther, OtherRow::CatDisplayUnit}})
        EXPECT_TRUE(EditRefused(list, row, rec, false)) << list << " " << row;
    EXPECT_FALSE(EditRefused(ListSetUp, SetUpRow::Battery, rec, false));
}

TEST(FsSetupRules, ApplyConvertsNumbersAndRefusesWhatDoesNotConvert)
{
    clsInstrument rec;
    rec.setAltRng(1, 1); // the oxygen channel's alternate range
    Cells cells = ShownCells(rec);
    cells[ListSetUp][SetUpRow::CalInterval] = QStringLiteral("12.5");
    cells[ListSetUp][SetUpRow::OxyPattern] = GetMsg(8062).toUpper();
    cells[ListSetUp][SetUpRow::Language] = QStringLiteral("ITALIAN");
    QString failed;
    ASSERT_TRUE(Apply(cells, rec, &failed));
    EXPECT_EQ(rec.CalLimit(), 12);
    EXPECT_EQ(rec.AlarmO2(), 2);
    EXPECT_FLOAT_EQ(rec.Warning(1), gO2Warning[1][2]);
    EXPECT_FLOAT_EQ(rec.Alarm(1), gO2Alarm[1][2]);
    EXPECT_EQ(rec.SpecType(), QStringLiteral("3"));
    cells[ListSetUp][SetUpRow::CalInterval] = QStringLiteral("13.5");
    ASSERT_TRUE(Apply(cells, rec, &failed));
    EXPECT_EQ(rec.CalLimit(), 14);

    for (auto [row, caption] : {std::pair<int, int>{SetUpRow::CalInterval, 8007}, {SetUpRow::Backlight, 8046}, {SetUpRow::Contrast, 8047}}) {
        Cells empty = ShownCells(rec);
        empty[ListSetUp][row] = QString();
        EXPECT_FALSE(Apply(empty, rec, &failed));
        EXPECT_EQ(failed, GetMsg(caption));
    }
}

// ---- through the dialog's grids ------------------------------------------------------------

TEST_F(FsFixture, KeyFiltersOfPasswordAndManufactureNumber)
{
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(4);
    FlexGrid *setUp = dlg->vfgDatas[ListSetUp];
    ASSERT_TRUE(OpenCell(setUp, SetUpRow::Password, 1));
    QLineEdit *line = EditorLine(setUp);
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("12a4"));
    QTest::keyClick(line, Qt::Key_Backspace);
    EXPECT_EQ(line->text(), QStringLiteral("124"));
    EXPECT_EQ(BeepCount(), 2);
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_TRUE(setUp->IsEditing());
    EXPECT_EQ(Back(setUp, SetUpRow::Password, 1), kRed);
    EXPECT_FALSE(dlg->DatasValidateBusy());
    QTest::keyClicks(line, QStringLiteral("8"));
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_FALSE(setUp->IsEditing());
    EXPECT_EQ(Back(setUp, SetUpRow::Password, 1), kWhite);

    dlg->SSTab4->setTab(ListOther);
    FlexGrid *other = dlg->vfgDatas[ListOther];
    ResetBeepCount();
    ASSERT_TRUE(OpenCell(other, OtherRow::Manufacture, 1));
    line = EditorLine(other);
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("abcdefghij0123456789X"));
    EXPECT_EQ(line->text(), QStringLiteral("ABCDEFGHIJ0123456789"));
    EXPECT_EQ(BeepCount(), 1);
    QTest::keyClick(line, Qt::Key_Backspace);
    QTest::keyClicks(line, QStringLiteral("Z"));
    EXPECT_EQ(line->text(), QStringLiteral("ABCDEFGHIJ012345678Z"));
    QTest::keyClick(line, Qt::Key_Return);
    EXPECT_EQ(other->TextMatrix(OtherRow::Manufacture, 1), QStringLiteral("ABCDEFGHIJ012345678Z"));
}

TEST_F(FsFixture, MirrorsAndLocks)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setInvalidIF(true);
        rec().setInvalidWB(true);
        rec().setHcMode(3);
    }
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(4);
    FlexGrid *setUp = dlg->vfgDatas[ListSetUp];
    FlexGrid *factory = dlg->vfgDatas[ListFactory];
    FlexGrid *other = dlg->vfgDatas[ListOther];
    // "CHANGE OK" leaves the display unit free; a fixed unit follows.
    dlg->SSTab4->setTab(ListOther);
    ASSERT_TRUE(Pick(other, OtherRow::CatDisplayUnit, 1, QStringLiteral("ppm")));
    EXPECT_EQ(setUp->TextMatrix(SetUpRow::CatUnits, 1), QStringLiteral("CHANGE OK"));
    dlg->SSTab4->setTab(ListSetUp);
    ASSERT_TRUE(Pick(setUp, SetUpRow::CatUnits, 1, QStringLiteral("%LEL ONLY")));
    EXPECT_EQ(other->TextMatrix(OtherRow::CatDisplayUnit, 1), QStringLiteral("%LEL"));
    ASSERT_TRUE(Pick(setUp, SetUpRow::SpanFactor, 1, QStringLiteral("Off")));
    EXPECT_EQ(factory->TextMatrix(FactoryRow::SpanFactor, 1), QStringLiteral("Off"));
    EXPECT_FALSE(OpenCell(setUp, SetUpRow::BhTime, 1)) << "the instrument refused WB";
    dlg->SSTab4->setTab(ListFactory);
    ASSERT_TRUE(Edit(factory, FactoryRow::EditLogo, 1, QStringLiteral("NEW LOGO")));
    EXPECT_EQ(factory->TextMatrix(FactoryRow::LogoDisplay, 1), QStringLiteral("NEW LOGO"));
    EXPECT_TRUE(factory->TextMatrix(FactoryRow::LogoDisplay, 2).endsWith(QStringLiteral("|CABLE SNIFFER|NEW LOGO")));
    EXPECT_FALSE(OpenCell(factory, FactoryRow::InertSelect, 1));

    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().HcMode(), 1);
    EXPECT_EQ(rec().CurrHc(), 0);
    EXPECT_EQ(rec().DispSpanFc(), 0);
    EXPECT_EQ(rec().BNuserLogoName(), QStringLiteral("NEW LOGO"));
    EXPECT_EQ(rec().LogoDisp(), 4);
    EXPECT_FALSE(rec().Change_LogoDisp());
}

// The label counts the leading blanks of the cell moved to, then of the text being typed.
TEST_F(FsFixture, LeftSpaceLabelFollowsTheValueColumn)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setBNuserLogoName(QStringLiteral("  ACME GAS"));
    }
    ASSERT_TRUE(Open());
    dlg->SSTab1->setTab(4);
    dlg->SSTab4->setTab(ListFactory);
    FlexGrid *factory = dlg->vfgDatas[ListFactory];
    ASSERT_TRUE(OpenCell(factory, FactoryRow::EditLogo, 1));
    EXPECT_EQ(dlg->lblSpaceCount->text(), QStringLiteral("(Left space 2)"));
    QLineEdit *line = EditorLine(factory);
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("   AB"));
    EXPECT_EQ(dlg->lblSpaceCount->text(), QStringLiteral("(Left space 3)"));
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral(" "));
    EXPECT_EQ(dlg->lblSpaceCount->text(), QStringLiteral("(Left space 1)"));
    QTest::keyClick(line, Qt::Key_Escape);
}
