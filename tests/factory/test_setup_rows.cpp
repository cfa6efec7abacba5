// Every row of the three setting lists through the dialog: the words it shows for each
// code, the code OK stores for each word chosen (or number typed), and the parsers' reading
// of a row's text. The words are written out here as the technician reads them, not taken
// from the tables the dialog fills its lists from.
#include "FsFixture.h"
#include "factory/FsRulesSetup.h"
#include <set>
#include <vector>

using namespace FsSetup;
using M = clsInstrument::M;

namespace {

struct Word {
    const char *text;
    int code;
};

// One setting: its cell (a second cell for the row shown twice, used every other round),
// its member and its words in the order the list shows them. Numbers are typed, not
// chosen: their "words" are the numbers. half: the rounds that touch it (the other
// half it is left alone).
struct SettingRow {
    int list, row;
    M member;
    std::vector<Word> words;
    int half;
    int list2 = -1, row2 = -1;
    bool typed = false;
};

const std::vector<Word> kOffOn = {{"Off", 0}, {"On", 1}};

const std::vector<SettingRow> &Rows()
{
    static const std::vector<SettingRow> rows = {
        {ListSetUp, SetUpRow::DateFormat, M::UWdateDisp, {{"MM/DD/YYYY", 0}, {"DD/MM/YYYY", 1}}, 0},
        {ListSetUp, SetUpRow::Battery, M::Battery, {{"ALKALINE", 0}, {"NI-MH", 1}}, 1},
        {ListSetUp, SetUpRow::CatUnits, M::HcMode,
         {{"ppm ONLY", 0}, {"%LEL ONLY", 1}, {"vol% ONLY", 2}, {"CHANGE OK", 3}}, 0},
        {ListSetUp, SetUpRow::RelativeResponse, M::ConvFc, kOffOn, 1},
        {ListSetUp, SetUpRow::OxyPattern, M::AlarmO2,
         {{"FALLING AND RISING", 0}, {"BOTH ALARMS FALLING\r\n", 1}, {"BOTH ALARMS RISING\r\n", 2}}, 1},
        {ListSetUp, SetUpRow::Latching, M::AlarmMode, {{"Latch", 0}, {"Reset", 1}}, 0},
        {ListSetUp, SetUpRow::Silence, M::AlarmSilence, kOffOn, 0},
        {ListSetUp, SetUpRow::UserStationId, M::DispID, {{"Off", 0}, {"On", -1}}, 1},
        {ListSetUp, SetUpRow::Backlight, M::LcdBackLight, {{"5", 5}, {"0", 0}, {"255", 255}}, 0, -1, -1, true},
        {ListSetUp, SetUpRow::AutoFreshAir, M::AutoZero, kOffOn, 0},
        {ListSetUp, SetUpRow::LogOverwrite, M::LogOverWrite, kOffOn, 1},
        {ListSetUp, SetUpRow::LogMemory, M::LogaClear, kOffOn, 0},
        {ListSetUp, SetUpRow::Contrast, M::LcdContrast, {{"12", 12}, {"1", 1}, {"15", 15}}, 1, -1, -1, true},
        {ListSetUp, SetUpRow::CalRemainder, M::DispCalLimit, {{"Off", 0}, {"On", -1}}, 0},
        {ListSetUp, SetUpRow::CalPastDue, M::CalCheck,
         {{"NOTIFICATION ONLY", 0}, {"MUST CALIBRATE", 1}, {"CONFIRM TO CAL", 2}}, 1},
        {ListSetUp, SetUpRow::CalInterval, M::CalLimit, {{"30", 30}, {"1", 1}, {"365", 365}, {"7", 7}}, 0, -1, -1, true},
        {ListSetUp, SetUpRow::LcBhMode, M::LBMode,
         {{"OFF", 0}, {"LEAK CHECK ONLY", 1}, {"BAR HOLE ONLY", 2}, {"LC & BH", 3}}, 1},
        {ListSetUp, SetUpRow::BhTime, M::BarHoleTime, {{"30", 0}, {"45", 1}, {"60", 2}}, 0},
        {ListSetUp, SetUpRow::Confirmation, M::Confermation,
         {{"OFF", 0}, {"LIGHT ONLY", 1}, {"BEEP ONLY", 2}, {"LIGHT & BEEP", 3}}, 0},
        {ListSetUp, SetUpRow::PasswordProtection, M::UsePasswd, kOffOn, 1},
        {ListSetUp, SetUpRow::LunchBreak, M::LunchBreak, kOffOn, 1},
        {ListSetUp, SetUpRow::Language, M::SpecType,
         {{"ENGLISH", 0}, {"SPANISH", 1}, {"FRENCH", 2}, {"ITALIAN", 3}, {"GERMAN", 4}}, 0},
        {ListFactory, FactoryRow::IrAutoRange, M::IRRange, kOffOn, 1},
        // Code 4 is the record's own logo text (the fixture's "ACME GAS").
        {ListFactory, FactoryRow::LogoDisplay, M::LogoDisp,
         {{"LOGO DISPLAY", 1}, {"GAS MONITOR", 0}, {"FAULT SNIFFER", 2}, {"CABLE SNIFFER", 3}, {"ACME GAS", 4}}, 1},
        {ListFactory, FactoryRow::DemandZero, M::DemandZero, kOffOn, 0},
        // Shown twice; chosen on either, it reaches the record.
        {ListFactory, FactoryRow::SpanFactor, M::DispSpanFc, kOffOn, 1, ListSetUp, SetUpRow::SpanFactor},
        {ListFactory, FactoryRow::MethaneMark, M::MEDisp, kOffOn, 0},
        {ListFactory, FactoryRow::SymbolMark, M::AliveDisp, kOffOn, 1},
        {ListFactory, FactoryRow::RemainDisplay, M::RemainTimeDisp, kOffOn, 0},
        {ListFactory, FactoryRow::ActiveGases, M::UIgasDisp, kOffOn, 1},
        {ListFactory, FactoryRow::AlarmDisplay, M::AFapDisp, kOffOn, 0},
        {ListFactory, FactoryRow::InertSelect, M::InertOnOff, kOffOn, 1},
        // Chosen before CATALYTIC UNITS, which may set it again (same half).
        {ListOther, OtherRow::CatDisplayUnit, M::CurrHc, {{"%LEL", 0}, {"vol%", 1}, {"ppm", 2}}, 0},
        {ListOther, OtherRow::LeakBuzzer, M::LeakBeep, kOffOn, 1},
        // Reaches the record through the other-gas grid's EV cell.
        {ListOther, OtherRow::MethaneElimination, M::CATOtherEV, {{"Normal", 0}, {"ME", 1}}, 0},
    };
    return rows;
}

// A value the row's list has no word for (Off for the two On = -1 rows): an empty cell
// (or "Off") that OK must leave as it came.
QVariant Unlisted(const SettingRow &r)
{
    if (r.member == M::SpecType)
        return QStringLiteral("9");
    if (r.member == M::DispID || r.member == M::DispCalLimit)
        return 5;
    if (r.typed) // numbers the editor would refuse
        return r.member == M::CalLimit ? 400 : r.member == M::LcdBackLight ? 300 : 20;
    return 9;
}
QString UnlistedShown(const SettingRow &r)
{
    if (r.member == M::DispID || r.member == M::DispCalLimit)
        return QStringLiteral("Off");
    return r.typed ? Unlisted(r).toString() : QString();
}

QVariant CodeValue(M m, int code)
{
    return m == M::SpecType ? QVariant(QString::number(code)) : QVariant(code);
}

QString FlagOf(M m, int i = 0)
{
    return QStringLiteral("%1(%2,0)").arg(QLatin1String(clsInstrument::info(clsInstrument::info(m).flag).name)).arg(i);
}

// The display unit that each fixed CATALYTIC UNITS choice sets (code order of HcMode).
constexpr int kUnitOfCatUnits[] = {2, 0, 1}; // ppm, %LEL, vol%

std::string Where(const QString &round, const SettingRow &r)
{
    return QStringLiteral("%1, %2").arg(round, QLatin1String(clsInstrument::info(r.member).name)).toStdString();
}

class SetupRows : public FsFixture {
protected:
    FlexGrid *grid(int list) { return dlg->vfgDatas[size_t(list)]; }
};

} // namespace

// Ten rounds: in each, half the rows hold code k and get the next word of their list, the
// other half hold a value no word stands for and are left alone. Over the rounds every
// word is shown and every word chosen once.
TEST_F(SetupRows, EveryRowShowsItsWordsAndOkStoresTheCodeOfTheChosenOne)
{
    const clsInstrument base = rec();
    ASSERT_EQ(base.AltRng(1), 0);
    for (int k = 0; k < 5; ++k) {
        for (int half = 0; half < 2; ++half) {
            const QString round = QStringLiteral("round %1.%2").arg(k).arg(half);
            rec() = base;
            std::vector<QVariant> before;
            {
                clsInstrument::DeviceDoor door(rec());
                for (const SettingRow &r : Rows())
                    rec().setValue(r.member, r.half == half ? CodeValue(r.member, r.words[size_t(k) % r.words.size()].code)
                                                             : Unlisted(r));
                for (const SettingRow &r : Rows())
                    before.push_back(rec().value(r.member));
            }
            ASSERT_TRUE(Open());
            dlg->SSTab1->setTab(4);
            for (const SettingRow &r : Rows()) {
                const QString shown = r.half == half ? QLatin1String(r.words[size_t(k) % r.words.size()].text) : UnlistedShown(r);
                EXPECT_EQ(grid(r.list)->TextMatrix(r.row, 1), shown) << Where(round, r);
                if (r.list2 >= 0) {
                    EXPECT_EQ(grid(r.list2)->TextMatrix(r.row2, 1), shown) << Where(round, r);
                }
            }
            // OTHER first: CATALYTIC UNITS, chosen later, may set the display unit again.
            int pickedCatUnits = -1;
            for (int list : {ListOther, ListFactory, ListSetUp}) {
                for (const SettingRow &r : Rows()) {
                    if (r.list != list || r.half != half)
                        continue;
                    const Word &chosen = r.words[size_t(k + 1) % r.words.size()];
                    const bool second = r.list2 >= 0 && k % 2;
                    FlexGrid *g = grid(second ? r.list2 : r.list);
                    dlg->SSTab4->setTab(second ? r.list2 : r.list);
                    if (r.typed)
                        EXPECT_TRUE(Edit(g, second ? r.row2 : r.row, 1, QLatin1String(chosen.text))) << Where(round, r);
                    else
                        EXPECT_TRUE(Pick(g, second ? r.row2 : r.row, 1, QLatin1String(chosen.text))) << Where(round, r);
                    if (r.member == M::HcMode)
                        pickedCatUnits = chosen.code;
                }
            }
            dlg->cmdOK_Click();
            ASSERT_TRUE(Closed()) << round.toStdString() << boxes->prompts().join('/').toStdString();

            std::set<QString> expectedFlags;
            for (size_t i = 0; i < Rows().size(); ++i) {
                const SettingRow &r = Rows()[i];
                QVariant expected = before[i];
                if (r.half == half)
                    expected = CodeValue(r.member, r.words[size_t(k + 1) % r.words.size()].code);
                if (r.member == M::CurrHc && pickedCatUnits >= 0 && pickedCatUnits < 3)
                    expected = kUnitOfCatUnits[pickedCatUnits];
                EXPECT_EQ(rec().value(r.member), expected) << Where(round, r);
                if (expected != before[i])
                    expectedFlags.insert(FlagOf(r.member));
                if (r.member == M::AlarmO2 && r.half == half) {
                    // A new oxygen pattern brings the oxygen channel's points (normal range).
                    EXPECT_EQ(rec().Warning(1), gO2Warning[0][size_t(expected.toInt())]) << Where(round, r);
                    EXPECT_EQ(rec().Alarm(1), gO2Alarm[0][size_t(expected.toInt())]) << Where(round, r);
                    expectedFlags.insert(FlagOf(M::Warning, 1));
                    expectedFlags.insert(FlagOf(M::Alarm, 1));
                }
            }
            const QStringList raised = Raised(rec());
            EXPECT_EQ(std::set<QString>(raised.begin(), raised.end()), expectedFlags) << round.toStdString();
        }
    }
}

// The three parsers each read column 1 of their own list: trimmed of blanks and in
// capitals, the row's words give their codes, anything else the row's fallback; a row
// without a parser (a number, a text, a row read elsewhere, no row at all) gives -1.
TEST_F(FsFixture, ParsersGiveTheCodeOfTheTextInTheirRow)
{
    ASSERT_TRUE(Open());
    struct Case {
        int list, row;
        const char *text;
        int code;
    };
    const Case cases[] = {
        {ListSetUp, SetUpRow::DateFormat, " mm/dd/yyyy ", 0}, {ListSetUp, SetUpRow::DateFormat, "DD/MM/YYYY", 1},
        {ListSetUp, SetUpRow::DateFormat, "", 1},
        {ListSetUp, SetUpRow::Battery, "ALKALINE", 0}, {ListSetUp, SetUpRow::Battery, "NI-MH", 1},
        {ListSetUp, SetUpRow::Battery, "LITHIUM", 1},
        {ListSetUp, SetUpRow::CatUnits, "PPM ONLY", 0}, {ListSetUp, SetUpRow::CatUnits, "%lel only", 1},
        {ListSetUp, SetUpRow::CatUnits, "VOL% ONLY", 2}, {ListSetUp, SetUpRow::CatUnits, "CHANGE OK", 3},
        {ListSetUp, SetUpRow::CatUnits, "", 3},
        {ListSetUp, SetUpRow::RelativeResponse, "OFF", 0}, {ListSetUp, SetUpRow::RelativeResponse, "x", 1},
        {ListSetUp, SetUpRow::OxyPattern, "FALLING AND RISING", 0},
        {ListSetUp, SetUpRow::OxyPattern, "BOTH ALARMS FALLING\r\n", 1},
        {ListSetUp, SetUpRow::OxyPattern, "BOTH ALARMS RISING\r\n", 2}, {ListSetUp, SetUpRow::OxyPattern, "x", 0},
        {ListSetUp, SetUpRow::Latching, "LATCH", 0}, {ListSetUp, SetUpRow::Latching, "Reset", 1},
        {ListSetUp, SetUpRow::Latching, "", 1},
        {ListSetUp, SetUpRow::Silence, " off", 0}, {ListSetUp, SetUpRow::Silence, "On", 1},
        {ListSetUp, SetUpRow::UserStationId, "Off", 0}, {ListSetUp, SetUpRow::UserStationId, "On", -1},
        {ListSetUp, SetUpRow::UserStationId, "", -1},
        {ListSetUp, SetUpRow::Backlight, "5", -1},
        {ListSetUp, SetUpRow::AutoFreshAir, "OFF", 0}, {ListSetUp, SetUpRow::LogOverwrite, "On", 1},
        {ListSetUp, SetUpRow::LogMemory, "Off", 0},
        {ListSetUp, SetUpRow::Contrast, "12", -1},
        {ListSetUp, SetUpRow::CalRemainder, "On", -1}, {ListSetUp, SetUpRow::CalRemainder, "off", 0},
        {ListSetUp, SetUpRow::CalPastDue, "NOTIFICATION ONLY", 0}, {ListSetUp, SetUpRow::CalPastDue, "Must Calibrate", 1},
        {ListSetUp, SetUpRow::CalPastDue, "CONFIRM TO CAL", 2}, {ListSetUp, SetUpRow::CalPastDue, "", 2},
        {ListSetUp, SetUpRow::CalInterval, "30", -1},
        {ListSetUp, SetUpRow::LcBhMode, "OFF", 0}, {ListSetUp, SetUpRow::LcBhMode, "LEAK CHECK ONLY", 1},
        {ListSetUp, SetUpRow::LcBhMode, "BAR HOLE ONLY", 2}, {ListSetUp, SetUpRow::LcBhMode, "LC & BH", 3},
        {ListSetUp, SetUpRow::LcBhMode, "x", 0},
        {ListSetUp, SetUpRow::BhTime, "30", 0}, {ListSetUp, SetUpRow::BhTime, " 45 ", 1},
        {ListSetUp, SetUpRow::BhTime, "060", 2}, {ListSetUp, SetUpRow::BhTime, "50", 0},
        {ListSetUp, SetUpRow::BhTime, "", 0},
        {ListSetUp, SetUpRow::Confirmation, "OFF", 0}, {ListSetUp, SetUpRow::Confirmation, "LIGHT ONLY", 1},
        {ListSetUp, SetUpRow::Confirmation, "BEEP ONLY", 2}, {ListSetUp, SetUpRow::Confirmation, "light & beep", 3},
        {ListSetUp, SetUpRow::Confirmation, "x", 0},
        {ListSetUp, SetUpRow::PasswordProtection, "Off", 0}, {ListSetUp, SetUpRow::Password, "1234", -1},
        {ListSetUp, SetUpRow::LunchBreak, "On", 1}, {ListSetUp, SetUpRow::SpanFactor, "OFF", 0},
        {ListSetUp, SetUpRow::Language, "ENGLISH", 0}, {ListSetUp, SetUpRow::Language, "SPANISH", 1},
        {ListSetUp, SetUpRow::Language, "French", 2}, {ListSetUp, SetUpRow::Language, "ITALIAN", 3},
        {ListSetUp, SetUpRow::Language, "GERMAN", 4}, {ListSetUp, SetUpRow::Language, "DUTCH", 0},
        {ListSetUp, 24, "On", -1},
        {ListFactory, FactoryRow::IrAutoRange, "Off", 0}, {ListFactory, FactoryRow::IrAutoRange, "x", 1},
        {ListFactory, FactoryRow::LogoDisplay, "LOGO DISPLAY", 1}, {ListFactory, FactoryRow::LogoDisplay, "GAS MONITOR", 0},
        {ListFactory, FactoryRow::LogoDisplay, "fault sniffer", 2}, {ListFactory, FactoryRow::LogoDisplay, "CABLE SNIFFER", 3},
        {ListFactory, FactoryRow::LogoDisplay, " acme gas ", 4}, {ListFactory, FactoryRow::LogoDisplay, "OTHER LOGO", 0},
        {ListFactory, FactoryRow::EditLogo, "ACME GAS", -1},
        {ListFactory, FactoryRow::DemandZero, "OFF", 0}, {ListFactory, FactoryRow::SpanFactor, "On", 1},
        {ListFactory, FactoryRow::MethaneMark, "Off", 0}, {ListFactory, FactoryRow::SymbolMark, "On", 1},
        {ListFactory, FactoryRow::RemainDisplay, "Off", 0}, {ListFactory, FactoryRow::ActiveGases, "", 1},
        {ListFactory, FactoryRow::AlarmDisplay, "Off", 0}, {ListFactory, FactoryRow::InertSelect, "OFF", 0},
        {ListFactory, 11, "Off", -1},
        {ListOther, OtherRow::Manufacture, "M-7781", -1},
        {ListOther, OtherRow::CatDisplayUnit, "%LEL", 0}, {ListOther, OtherRow::CatDisplayUnit, "vol%", 1},
        {ListOther, OtherRow::CatDisplayUnit, "PPM", 2}, {ListOther, OtherRow::CatDisplayUnit, "ppb", 0},
        {ListOther, OtherRow::LeakBuzzer, "Off", 0}, {ListOther, OtherRow::LeakBuzzer, "On", 1},
        {ListOther, OtherRow::MethaneElimination, "ME", -1},
    };
    for (const Case &c : cases) {
        FlexGrid *g = dlg->vfgDatas[size_t(c.list)];
        // Each parser reads its own list: the same text in the other lists must not count.
        for (FlexGrid *any : dlg->vfgDatas)
            if (c.row < any->Rows())
                any->setTextMatrix(c.row, 1, any == g ? QString::fromLatin1(c.text) : QStringLiteral("##"));
        if (c.list != ListFactory || c.row != FactoryRow::EditLogo)
            dlg->vfgDatas[ListFactory]->setTextMatrix(FactoryRow::EditLogo, 1, QStringLiteral("  Acme Gas"));
        const int code = c.list == ListSetUp ? dlg->GetDatasValue(c.row)
                         : c.list == ListFactory ? dlg->GetDatasMode(c.row) : dlg->GetDatasUnit(c.row);
        EXPECT_EQ(code, c.code) << c.list << " " << c.row << " \"" << c.text << "\"";
    }
    // With no logo text of its own, an empty logo row is the user's logo.
    dlg->vfgDatas[ListFactory]->setTextMatrix(FactoryRow::EditLogo, 1, QStringLiteral("  "));
    dlg->vfgDatas[ListFactory]->setTextMatrix(FactoryRow::LogoDisplay, 1, QString());
    EXPECT_EQ(dlg->GetDatasMode(FactoryRow::LogoDisplay), 4);
}

// INERT SELECT follows the OXY alternate-range box of the other-settings grid: locked while
// the box is ticked, free again once it is cleared.
TEST_F(FsFixture, InertSelectIsLockedWhileTheOxyAlternateRangeIsTicked)
{
    ASSERT_TRUE(Open());
    FlexGrid *factory = dlg->vfgDatas[ListFactory];
    auto inertEditable = [&] {
        dlg->SSTab1->setTab(4);
        dlg->SSTab4->setTab(ListFactory);
        const bool open = OpenCell(factory, FactoryRow::InertSelect, 1);
        factory->CancelEdit();
        return open;
    };
    auto toggleOxy = [&] {
        dlg->SSTab1->setTab(2);
        dlg->vfgOtherSet->setRow(2);
        dlg->vfgOtherSet->setCol(1);
        dlg->vfgOtherSet->SetFocus();
        QTest::keyClick(dlg->vfgOtherSet->view(), Qt::Key_Space);
    };
    EXPECT_TRUE(inertEditable());
    toggleOxy();
    EXPECT_FALSE(inertEditable());
    toggleOxy();
    EXPECT_TRUE(inertEditable());
}
