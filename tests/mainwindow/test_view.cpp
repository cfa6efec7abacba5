// The instrument view and its editing through the real widgets (the gas grid, the lists,
// the serial-number and suffix fields), and the checks behind them without a widget.
#include "MainFixture.h"

using namespace GasGrid;

namespace {

class View : public MainFixture {
protected:
    template <class F> void ShowAfter(F change)
    {
        {
            clsInstrument::DeviceDoor door(rec());
            change();
        }
        form->ShowInstrument();
    }
    QLineEdit *serial() const { return form->txtOption[0]; }
    bool IsRed(QLineEdit *f) const { return f->palette().color(QPalette::Base) == QColor(255, 0, 0); }
};

// --- Showing ---------------------------------------------------------------------------

TEST_F(View, WithoutChannelNineTheGridLosesItsRow)
{
    ASSERT_TRUE(StartWith(true));
    EXPECT_EQ(grid()->TextMatrix(11, 0), "OXY(40.0vol%)");
    ShowAfter([&] { rec().setInvalidIF(true); });
    EXPECT_EQ(grid()->Rows(), 11);
    EXPECT_EQ(grid()->TextMatrix(6, 1), "-----") << "no gas";
}

TEST_F(View, ShowingChangesNothingTheUsersChoiceDoes)
{
    ASSERT_TRUE(StartWith());
    EXPECT_EQ(form->cmbStation->currentIndex(), 2);
    EXPECT_EQ(form->txtOption[1]->text(), "ST002");

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
    // The user's choice in a list is an edit.
    form->cmbStation->setCurrentIndex(5);
    EXPECT_EQ(rec().XV_(0), 6);
    EXPECT_TRUE(rec().Change_XV_(0));
    EXPECT_EQ(form->txtOption[1]->text().trimmed(), "ST005");
    form->cmbInterval->setCurrentIndex(form->cmbInterval->findText("180"));
    EXPECT_EQ(rec().Intervals(), 180);
    EXPECT_TRUE(rec().Change_Interval());
    // Negative analog values keep their sign.
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setAnalogValue(25, -50);
        rec().setAnalogValue(0, 1234);
    }
    form->ShowAnalogValues();
    EXPECT_TRUE(HasLine(QStringLiteral("ch25 \t: -0.050V")));
    EXPECT_TRUE(HasLine(QStringLiteral("ch0 \t: 1.234V")));
}

TEST_F(View, RedCellsForOrderAndAutoCalibration)
{
    ASSERT_TRUE(StartWith());
    for (int r = 2; r <= 11; ++r)
        EXPECT_TRUE(Back(r, 1) == kNormal && Back(r, 2) == kNormal) << r;
    // Every validation recolours the order.
    EXPECT_TRUE(Edit(4, 1, "200"));
    EXPECT_TRUE(Back(4, 1) == kRed && Back(4, 2) == kRed);
    EXPECT_TRUE(Edit(4, 2, "300"));
    EXPECT_TRUE(Back(4, 1) == kNormal && Back(4, 2) == kNormal);
    EXPECT_EQ(Back(4, 5), kRed) << "auto-cal 100 now below warning 200";
    ShowAfter([&] { rec().setWarning(2, 100); rec().setAlarm(2, 50); });
    EXPECT_TRUE(Back(4, 1) == kRed && Back(4, 2) == kRed);
    EXPECT_EQ(Back(4, 5), kNormal) << "auto-cal 100 is not below warning 100";
    ShowAfter([&] { rec().setAlarmO2(0); rec().setAlarm(2, 100); });
    EXPECT_TRUE(Back(3, 1) == kRed && Back(3, 2) == kRed) << "oxygen 19.5 over 18.0 in the plain order";
    EXPECT_TRUE(Back(4, 1) == kNormal && Back(4, 2) == kNormal);
    ShowAfter([&] { rec().setAutoCalib(2, 40); rec().setAutoCalib(7, 1); });
    EXPECT_EQ(Back(4, 5), kRed);
    EXPECT_EQ(Back(9, 5), grid()->BackColorFixed()) << "channels 7..9 are not tested there";
}

TEST_F(View, ClearingAfterPowerOffKeepsTheRestAndUntouchedFieldsStoreNothing)
{
    ASSERT_TRUE(StartWith());
    Enter(serial()); // leaving an untouched field stores nothing
    Leave(serial());
    form->ClearInstrumentView();
    EXPECT_TRUE(form->lblInst[7]->text().isEmpty() && form->lblInst[9]->text().isEmpty());
    EXPECT_TRUE(form->txtOption[0]->text().isEmpty());
    EXPECT_EQ(form->cmbStation->count() + form->cmbUser->count(), 0);
    EXPECT_EQ(form->txtOption[1]->text(), "ST002");
    EXPECT_EQ(grid()->TextMatrix(3, 0), "OXY(25.0vol%)");
    EXPECT_EQ(rec().XV_(0), 3);
    // After a power-off the serial field is empty: leaving it stores nothing either.
    Enter(serial());
    Leave(serial());
    EXPECT_EQ(rec().SerialNo().trimmed(), "AB-1234");
    // Station and user ID fields never store.
    Enter(form->txtOption[1]);
    QTest::keyClicks(form->txtOption[1], "xyz!");
    Leave(form->txtOption[1]);
    EXPECT_FALSE(rec().AnyChangeFlag());
}

// --- Editing the gas grid --------------------------------------------------------------

TEST_F(View, GridEntriesWithinFullScaleAndOnTheStep)
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

    gCsaLimitEnabled = true;
    EXPECT_FALSE(Edit(2, 2, "61"));
    EXPECT_TRUE(Edit(2, 2, "60"));
    gCsaLimitEnabled = false;
    EXPECT_TRUE(Edit(2, 2, "61"));
}

TEST_F(View, AStepTheGridCannotUseRefusesTheEntry)
{
    ASSERT_TRUE(StartWith());
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setGasDesit(2, 0);
        rec().setGasFullScale(3, 100000);
        rec().setGasDesit(3, 1);
        rec().setGasDesit(7, 1);
    }
    EXPECT_FALSE(Edit(4, 1, "10"));
    EXPECT_TRUE(Edit(5, 3, "40000")) << "more steps than 16 bits count";
    EXPECT_TRUE(Edit(5, 3, "32767"));
    EXPECT_TRUE(Edit(9, 1, "45000")) << "the ppm row in steps of 1, up to its full scale";
    EXPECT_EQ(rec().CATppm1st(), 45000);
    EXPECT_FLOAT_EQ(rec().Warning(2), 50);
}

TEST_F(View, DerivedRowsUnusedPointsAndAutoCalibration)
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

    EXPECT_TRUE(Edit(5, 4, "*****"));
    EXPECT_FLOAT_EQ(rec().Twa(3), -121);
    EXPECT_FALSE(Edit(4, 5, "40")) << "below the CO warning point, within full scale";
    EXPECT_FLOAT_EQ(rec().AutoCalib(2), 100);
    EXPECT_TRUE(Edit(4, 5, ""));
    EXPECT_EQ(grid()->TextMatrix(4, 5), "0");
    EXPECT_FLOAT_EQ(rec().AutoCalib(2), 0);
}

TEST_F(View, CellsThatCannotChange)
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

// --- The serial-number and suffix fields -----------------------------------------------

TEST_F(View, SerialNumberKeysAndStoring)
{
    ASSERT_TRUE(StartWith());
    Enter(serial());
    serial()->selectAll();
    QTest::keyClicks(serial(), "ab-1!");
    EXPECT_EQ(serial()->text(), "AB-1");
    EXPECT_EQ(BeepCount(), 1);
    EXPECT_FALSE(rec().Change_SerialNo()) << "nothing is stored while typing";
    QTest::keyClicks(serial(), QString(17, QLatin1Char('9')));
    EXPECT_EQ(serial()->text().size(), 20) << "the 21st character is refused";
    Leave(serial());
    EXPECT_EQ(rec().SerialNo(), "AB-1" + QString(16, QLatin1Char('9')));
    EXPECT_TRUE(rec().Change_SerialNo());
    // Choosing a user keeps the serial number's edit.
    Enter(serial());
    serial()->selectAll();
    QTest::keyClicks(serial(), "XY-77");
    form->cmbUser->setCurrentIndex(form->cmbUser->currentIndex() == 1 ? 2 : 1);
    EXPECT_TRUE(serial()->isModified());
    Leave(serial());
    EXPECT_EQ(rec().SerialNo().trimmed(), "XY-77");
}

TEST_F(View, PastedSerialThatFailsTurnsRedAndKeepsTheFocus)
{
    ASSERT_TRUE(StartWith());
    for (const QString &bad : {QStringLiteral("ab"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTU")}) {
        Enter(serial());
        serial()->selectAll();
        serial()->insert(bad); // a paste: the key filter never saw it
        Leave(serial());
        EXPECT_TRUE(IsRed(serial())) << qPrintable(bad);
        EXPECT_TRUE(QTest::qWaitFor([&] { return serial()->hasFocus(); }, 1000)) << qPrintable(bad);
        EXPECT_EQ(rec().SerialNo().trimmed(), "AB-1234");
        EXPECT_FALSE(rec().Change_SerialNo());
    }
    serial()->selectAll();
    serial()->insert("  XY-1");
    Leave(serial());
    EXPECT_FALSE(IsRed(serial()));
    EXPECT_TRUE(rec().SerialNo().startsWith("  XY-1")) << "leading blanks are allowed";
}

// What the window shows is what the instrument gets: a refused entry in an open editor
// stops every command until it is taken or dropped.
TEST_F(View, NoCommandRunsPastARefusedCellEntry)
{
    ASSERT_TRUE(StartWith());
    ASSERT_TRUE(OpenCell(2, 1));
    editor()->selectAll();
    QTest::keyClicks(editor(), "999");
    boxes->clear();
    Press(form->cmdOption[0]); // the press takes the focus from the editor
    EXPECT_TRUE(grid()->IsEditing());
    EXPECT_EQ(editor()->text(), "999");
    EXPECT_TRUE(boxes->calls().isEmpty()) << "the upload did not start";
    Press(form->cmdDown[5]);
    EXPECT_TRUE(HistoryActions().isEmpty());
    // Taken: stored first, then the command runs on the stored value.
    editor()->selectAll();
    QTest::keyClicks(editor(), "20");
    Press(form->cmdOption[0]);
    EXPECT_FALSE(grid()->IsEditing());
    EXPECT_FLOAT_EQ(rec().Warning(0), 20);
    EXPECT_EQ(boxes->calls().size(), 1) << "the upload started (and stops at its own checks)";
}

// The line drops with refused entries in the grid, the serial number and the suffix: the
// controls they sit in stay open until each entry is dropped or mended, so the commands that
// work without an instrument are reached, and none runs past an entry still refused.
TEST_F(View, RefusedEntriesStayCorrectableAfterTheLinkDrops)
{
    ASSERT_TRUE(StartWith());
    ASSERT_TRUE(OpenCell(2, 1));
    editor()->selectAll();
    QTest::keyClicks(editor(), "999");
    serial()->selectAll();
    serial()->insert(QStringLiteral("ab")); // a paste, not yet left
    form->txtSuffix->setText(QStringLiteral("a;b"));
    sim->hangUp();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->uclQL7150->Connected(); }, 5000));
    EXPECT_TRUE(grid()->isEnabled() && serial()->isEnabled() && form->txtSuffix->isEnabled());
    EXPECT_FALSE(form->txtOption[1]->isEnabled() || form->cmbStation->isEnabled());

    boxes->clear();
    Press(form->cmdFactorySetting);
    EXPECT_TRUE(grid()->IsEditing());
    QTest::keyClick(editor(), Qt::Key_Escape); // dropped: the grid follows the state again
    EXPECT_TRUE(QTest::qWaitFor([this] { return !grid()->isEnabled(); }, 1000));
    Press(form->cmdFactorySetting);
    EXPECT_TRUE(boxes->calls().isEmpty()) << "held by the serial number";
    EXPECT_TRUE(IsRed(serial()));
    EXPECT_TRUE(QTest::qWaitFor([this] { return serial()->hasFocus(); }, 1000));
    serial()->selectAll();
    serial()->insert(QStringLiteral("AB-9"));
    Enter(form->txtSuffix);
    EXPECT_FALSE(serial()->isEnabled());
    EXPECT_EQ(rec().SerialNo().trimmed(), "AB-9");
    Press(form->cmdFactorySetting);
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_EQ(boxes->calls()[0].prompt, QString::fromLatin1(Commands::kSuffixRefused));
    form->txtSuffix->setText(QStringLiteral("ok"));
    boxes->clear();
    Press(form->cmdFactorySetting);
    EXPECT_EQ(boxes->prompts(), QStringList{QString::fromLatin1(Commands::kFactoryDialogMissing)}) << "it ran";
    EXPECT_FALSE(form->txtSuffix->isEnabled());
    EXPECT_EQ(gFactorySuffix, "ok");
}

TEST_F(View, TwoRefusedFieldsDoNotTradeTheFocus)
{
    ASSERT_TRUE(StartWith());
    ShowAfter([&] { rec().setSerialNo(QStringLiteral("ab_1")); }); // as an instrument may hold it
    form->txtSuffix->setText(QStringLiteral("a/b"));
    Enter(form->txtSuffix);
    Enter(serial()); // the suffix is refused and takes the focus back
    int changes = 0;
    auto conn = QObject::connect(qApp, &QApplication::focusChanged, [&] { ++changes; });
    QTest::qWait(200);
    QObject::disconnect(conn);
    EXPECT_LT(changes, 5);
    EXPECT_TRUE(form->txtSuffix->hasFocus());
    // Once the suffix is mended, leaving it lets the serial number's check run.
    form->txtSuffix->setText(QStringLiteral("ok"));
    Enter(serial());
    EXPECT_EQ(gFactorySuffix, "ok");
    EXPECT_TRUE(serial()->hasFocus());
}

TEST_F(View, SuffixMayNotLeaveTheFolder)
{
    ASSERT_TRUE(StartWith());
    QLineEdit *suffix = form->txtSuffix;
    for (const QString &bad : {QStringLiteral("../x"), QStringLiteral("a\\b"), QStringLiteral("c:d"), QStringLiteral("a,b")}) {
        Enter(suffix);
        suffix->setText(bad);
        Leave(suffix);
        EXPECT_TRUE(IsRed(suffix)) << qPrintable(bad);
        EXPECT_TRUE(gFactorySuffix.isEmpty()) << qPrintable(bad);
    }
    suffix->setText("_lab 2");
    Leave(suffix);
    EXPECT_FALSE(IsRed(suffix));
    EXPECT_EQ(gFactorySuffix, "_lab 2");
}

// --- The checks without a widget -------------------------------------------------------

TEST(GasRules, AlarmOrder)
{
    clsInstrument rec;
    FillGasRecord(rec);
    clsInstrument::DeviceDoor door(rec);
    auto order = [&](int ch, float w, float a) {
        rec.setWarning(ch, w);
        rec.setAlarm(ch, a);
        return CheckAlarmLevel(rec, ch);
    };
    EXPECT_FALSE(order(2, 100, 50));
    EXPECT_TRUE(order(2, 100, 100));
    EXPECT_TRUE(order(2, -101, 5)) << "not set";
    EXPECT_TRUE(order(2, 100, -121)) << "not used";
    // Oxygen: AlarmO2 = 1 wants the warning above the alarm, 0 the plain order.
    EXPECT_FALSE(order(1, 18, 19.5f));
    rec.setGasName(1, "OXY ");
    EXPECT_TRUE(order(1, 18, 19.5f)) << "only the exact name is oxygen";
    EXPECT_FALSE(order(9, 5, 3)) << "channel 9 keeps the plain order whatever its name";
}

TEST(GasRules, OnlyPlainDecimalNumbersAndTheCsaShare)
{
    clsInstrument rec;
    FillGasRecord(rec);
    for (const char *t : {"**", "abc", "1e3", "1,5", "1.2.3", "+", ".", "nan", "inf", "0x10"})
        EXPECT_EQ(CheckEntry(rec, 4, ColWarning, t, false).why, Refusal::NotNumeric) << t;
    for (const char *t : {"+5", "5.", ".5", " 007 "})
        EXPECT_EQ(CheckEntry(rec, 4, ColWarning, t, false).action, Entry::Action::Store) << t;
    {
        clsInstrument::DeviceDoor door(rec);
        rec.setGasFullScale(7, 20000);
    }
    EXPECT_EQ(CheckEntry(rec, kCatPpmRow, ColWarning, "12000", true).action, Entry::Action::Store);
    EXPECT_EQ(CheckEntry(rec, kCatPpmRow, ColWarning, "12010", true).why, Refusal::CsaLimit);
    EXPECT_EQ(CheckEntry(rec, kCatVolRow, ColAlarm, "3", true).action, Entry::Action::Store);
    EXPECT_EQ(CheckEntry(rec, kCatVolRow, ColAlarm, "3.01", true).why, Refusal::CsaLimit);
}

TEST(SerialFieldRules, KeysAndText)
{
    using namespace SerialField;
    for (int k : {int('\''), int('_'), int('{'), 9, 0xE9})
        EXPECT_EQ(FilterKey(k, 0), 0) << k;
    EXPECT_EQ(FilterKey(8, 20), 8);
    EXPECT_EQ(FilterKey('1', 20, 3), '1') << "typing over a selection";
    ResetCoreGlobals();
    EXPECT_TRUE(Acceptable("") && Acceptable("   AB-12") && Acceptable(QString(20, QLatin1Char('9'))));
    EXPECT_FALSE(Acceptable(QString(21, QLatin1Char('9'))));
    EXPECT_FALSE(Acceptable("ab") || Acceptable("AB_12"));
    EXPECT_FALSE(gAllowLeadBlank) << "the switch is put back";
}

TEST(FileSuffixRules, RefusesWhatAFileNameCannotHold)
{
    for (const char *s : {"", "_lab A", "-2024.v2", "(x)"})
        EXPECT_TRUE(FileSuffixAcceptable(s)) << s;
    for (const char *s : {"a/b", "..\\x", "c:", "a*", "a?", "\"", "<", ">", "a|b", "a\tb", "\r\n", "a,b", ";"})
        EXPECT_FALSE(FileSuffixAcceptable(s)) << s;
    EXPECT_FALSE(FileSuffixAcceptable(QString(QChar(0x20AC)))) << "not single-byte";
}

} // namespace
