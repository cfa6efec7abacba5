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

TEST_F(View, ShowingChangesNothingTheUsersChoiceDoes)
{
    ASSERT_TRUE(StartWith());
    EXPECT_EQ(form->txtOption[1]->text(), "ST002");

    // An interval the list does not hold is not turned into 5 seconds.
    ShowAfter([&] { rec().setIntervals(15); });
    EXPECT_EQ(form->cmbInterval->currentIndex(), -1);
    // Selections outside the lists select nothing and stay as they are.
    for (int choice : {0, 129, -5}) {
        ShowAfter([&] { rec().setXV_(0, choice); rec().setXV_(1, choice); rec().setStationID("KEEP"); });
        EXPECT_EQ(form->cmbStation->currentIndex(), -1) << choice;
        EXPECT_EQ(form->cmbUser->currentIndex(), -1) << choice;
        EXPECT_TRUE(rec().XV_(0) == choice && rec().StationID().trimmed() == "KEEP") << choice;
    }
    ShowAfter([&] { rec().setXV_(0, 128); rec().setXV_(1, 32); });
    EXPECT_EQ(form->cmbStation->currentIndex(), 127);
    EXPECT_EQ(form->cmbUser->currentIndex(), 31);
    EXPECT_FALSE(rec().AnyChangeFlag()) << "display raised a flag";
    // The user's choice in a list is an edit.
    form->cmbStation->setCurrentIndex(5);
    EXPECT_TRUE(rec().XV_(0) == 6 && rec().Change_XV_(0));
    EXPECT_EQ(form->txtOption[1]->text().trimmed(), "ST005");
    // A choice in the user list likewise: the list counts from 0, the record's choice from 1.
    form->cmbUser->setCurrentIndex(form->cmbUser->currentIndex() == 3 ? 4 : 3);
    const int user = form->cmbUser->currentIndex();
    EXPECT_TRUE(rec().XV_(1) == user + 1 && rec().Change_XV_(1)) << rec().XV_(1);
    EXPECT_EQ(form->txtOption[2]->text(), rec().XZ_(user));
    form->cmbInterval->setCurrentIndex(form->cmbInterval->findText("180"));
    EXPECT_TRUE(rec().Intervals() == 180 && rec().Change_Interval());
    // Negative analog values keep their sign.
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setAnalogValue(25, -50);
        rec().setAnalogValue(0, 1234);
    }
    form->ShowAnalogValues();
    EXPECT_TRUE(HasLine(QStringLiteral("ch25 \t: -0.050V")));
    EXPECT_TRUE(HasLine(QStringLiteral("ch0 \t: 1.234V")));
    // Without channel 9 the grid loses its row.
    EXPECT_EQ(grid()->TextMatrix(11, 0), "OXY(40.0vol%)");
    ShowAfter([&] { rec().setInvalidIF(true); });
    EXPECT_EQ(grid()->Rows(), 11);
}

TEST_F(View, RedCellsForOrderAndAutoCalibration)
{
    ASSERT_TRUE(StartWith());
    EXPECT_TRUE(Back(4, 1) == kNormal && Back(4, 2) == kNormal);
    // Every validation recolours the order.
    EXPECT_TRUE(Edit(4, 1, "200"));
    EXPECT_TRUE(Back(4, 1) == kRed && Back(4, 2) == kRed);
    EXPECT_TRUE(Edit(4, 2, "300"));
    EXPECT_EQ(Back(4, 2), kNormal);
    EXPECT_EQ(Back(4, 5), kRed) << "auto-cal 100 now below warning 200";
    ShowAfter([&] { rec().setAlarmO2(0); rec().setWarning(2, 100); rec().setAutoCalib(7, 1); });
    EXPECT_TRUE(Back(3, 1) == kRed && Back(3, 2) == kRed) << "oxygen 19.5 over 18.0 in the plain order";
    EXPECT_EQ(Back(4, 5), kNormal) << "auto-cal 100 is not below warning 100";
    EXPECT_EQ(Back(9, 5), grid()->BackColorFixed()) << "channels 7..9 are not tested there";
}

TEST_F(View, ClearingAfterPowerOffKeepsTheRestAndUntouchedFieldsStoreNothing)
{
    ASSERT_TRUE(StartWith());
    Enter(serial()); // leaving an untouched field stores nothing
    Leave(serial());
    form->ClearInstrumentView();
    EXPECT_TRUE(form->lblInst[7]->text().isEmpty() && form->lblInst[9]->text().isEmpty() && serial()->text().isEmpty());
    EXPECT_EQ(form->txtOption[1]->text(), "ST002") << "the station ID stays";
    EXPECT_EQ(form->cmbStation->count() + form->cmbUser->count(), 0);
    EXPECT_EQ(grid()->TextMatrix(3, 0), "OXY(25.0vol%)");
    // After a power-off the serial field is empty: leaving it stores nothing either; station
    // and user ID fields never store.
    Enter(serial());
    Enter(form->txtOption[1]);
    QTest::keyClicks(form->txtOption[1], "xyz!");
    Leave(form->txtOption[1]);
    EXPECT_FALSE(rec().AnyChangeFlag());
}

// --- Editing the gas grid --------------------------------------------------------------

// The rules themselves are in the table of GasRules below; here the path through the widget.
TEST_F(View, GridEditsStoreWhatTheCellShowsAndRefusalsKeepTheEditor)
{
    ASSERT_TRUE(StartWith());
    EXPECT_TRUE(Edit(2, 1, "100"));
    EXPECT_TRUE(rec().Warning(0) == 100 && rec().Change_Warn(0));
    EXPECT_FALSE(Edit(3, 2, "25.1")) << "one step above full scale";
    EXPECT_EQ(refusedText, "25.1") << "the editor keeps what was typed";
    EXPECT_FALSE(rec().Change_Alarm(1));
    EXPECT_TRUE(Edit(7, 3, "12.5"));
    EXPECT_EQ(grid()->TextMatrix(7, 3), "10") << "the cell shows the stored value";
    EXPECT_TRUE(rec().Change_SubBoard()) << "option-board channel";
    gCsaLimitEnabled = true;
    EXPECT_FALSE(Edit(2, 2, "61"));
    gCsaLimitEnabled = false;
    // The derived rows store their second member with the channel's.
    EXPECT_TRUE(Edit(9, 1, "50000"));
    EXPECT_TRUE(rec().CATppm1st() == 50000 && rec().Change_Warn(7) && rec().Change_CATppm1());
    EXPECT_EQ(Back(9, 1), kRed) << "warning above alarm 25000";
    EXPECT_TRUE(Edit(10, 2, "3.01"));
    EXPECT_TRUE(Edit(11, 1, "2.5"));
    EXPECT_TRUE(rec().CATvol2nd() == 3.01f && rec().Inert1st() == 2.5f && rec().Change_Inert1st());
    EXPECT_TRUE(Edit(9, 1, ""));
    EXPECT_EQ(grid()->TextMatrix(9, 1), "*****");
    EXPECT_EQ(rec().CATppm1st(), -121);
    // No editor where nothing can change, nor while the view refills; a refill drops an open one.
    EXPECT_FALSE(OpenCell(2, 3));
    EXPECT_TRUE(Edit(6, 1, "5")) << "a channel without gas takes its old text back";
    EXPECT_EQ(grid()->TextMatrix(6, 1), "-----");
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
    EXPECT_TRUE(serial()->text() == "AB-1" && BeepCount() == 1);
    EXPECT_FALSE(rec().Change_SerialNo()) << "nothing is stored while typing";
    QTest::keyClicks(serial(), QString(17, QLatin1Char('9')));
    EXPECT_EQ(serial()->text().size(), 20) << "the 21st character is refused";
    Leave(serial());
    EXPECT_TRUE(rec().SerialNo() == "AB-1" + QString(16, QLatin1Char('9')) && rec().Change_SerialNo());
    // Choosing a user keeps the serial number's edit.
    Enter(serial());
    serial()->selectAll();
    QTest::keyClicks(serial(), "XY-77");
    form->cmbUser->setCurrentIndex(form->cmbUser->currentIndex() == 1 ? 2 : 1);
    EXPECT_TRUE(serial()->isModified());
    Leave(serial());
    EXPECT_EQ(rec().SerialNo().trimmed(), "XY-77");
    // A paste that fails (the key filter never saw it) turns red and keeps the focus.
    Enter(serial());
    serial()->selectAll();
    serial()->insert(QStringLiteral("ABCDEFGHIJKLMNOPQRSTU"));
    Leave(serial());
    EXPECT_TRUE(IsRed(serial()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return serial()->hasFocus(); }, 1000));
    EXPECT_EQ(rec().SerialNo().trimmed(), "XY-77");
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
    Press(form->cmdDown[5]);
    EXPECT_TRUE(grid()->IsEditing() && editor()->text() == "999");
    EXPECT_TRUE(boxes->calls().isEmpty() && HistoryActions().isEmpty()) << "neither command started";
    // Taken: stored first, then the command runs on the stored value.
    editor()->selectAll();
    QTest::keyClicks(editor(), "20");
    Press(form->cmdOption[0]);
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
    EXPECT_FALSE(form->txtOption[1]->isEnabled());

    boxes->clear();
    Press(form->cmdFactorySetting);
    EXPECT_TRUE(grid()->IsEditing());
    QTest::keyClick(editor(), Qt::Key_Escape); // dropped: the grid follows the state again
    EXPECT_TRUE(QTest::qWaitFor([this] { return !grid()->isEnabled(); }, 1000));
    Press(form->cmdFactorySetting);
    EXPECT_TRUE(QTest::qWaitFor([this] { return serial()->hasFocus(); }, 1000));
    EXPECT_TRUE(boxes->calls().isEmpty() && IsRed(serial())) << "held by the serial number";
    serial()->selectAll();
    serial()->insert(QStringLiteral("AB-9"));
    Enter(form->txtSuffix);
    EXPECT_TRUE(!serial()->isEnabled() && rec().SerialNo().trimmed() == "AB-9");
    Press(form->cmdFactorySetting);
    EXPECT_EQ(boxes->prompts(), QStringList{QString::fromLatin1(Commands::kSuffixRefused)});
    form->txtSuffix->setText(QStringLiteral("ok"));
    boxes->clear();
    Press(form->cmdFactorySetting);
    EXPECT_EQ(boxes->prompts(), QStringList{QString::fromLatin1(Commands::kFactoryDialogMissing)}) << "it ran";
    EXPECT_TRUE(!form->txtSuffix->isEnabled() && gFactorySuffix == "ok");
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
    EXPECT_TRUE(form->txtSuffix->hasFocus() && IsRed(form->txtSuffix) && gFactorySuffix.isEmpty());
    // Once the suffix is mended, leaving it lets the serial number's check run.
    form->txtSuffix->setText(QStringLiteral("ok"));
    Enter(serial());
    EXPECT_TRUE(gFactorySuffix == "ok" && !IsRed(form->txtSuffix) && serial()->hasFocus());
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
    EXPECT_TRUE(order(1, 18, 18));
    rec.setGasName(1, "OXY ");
    EXPECT_TRUE(order(1, 18, 19.5f)) << "only the exact name is oxygen";
    EXPECT_FALSE(order(9, 5, 3)) << "channel 9 keeps the plain order whatever its name";
}

TEST(GasRules, EveryKindOfCell)
{
    clsInstrument rec;
    FillGasRecord(rec);
    using A = Entry::Action;
    struct Case { int row, col; const char *text; bool csa; A action; float value; };
    const Case cases[] = {
        {3, ColAlarm, "25.1", false, A::Refuse, 0}, {3, ColAlarm, "-1", false, A::Refuse, 0},
        {7, ColStel, "12.5", false, A::Store, 10}, {7, ColTwa, "17.5", false, A::Store, 20}, // ties go to even
        {5, ColWarning, "12.34", false, A::Store, 12.3f},
        {2, ColAlarm, "61", true, A::Refuse, 0}, {2, ColAlarm, "60", true, A::Store, 60}, {2, ColAlarm, "61", false, A::Store, 61},
        {9, ColWarning, "50010", false, A::Refuse, 0}, {9, ColWarning, "50000", false, A::Store, 50000},
        {4, ColAutoCal, "40", false, A::Refuse, 0}, // below the CO warning point, within full scale
        {4, ColAutoCal, "", false, A::Store, 0}, {5, ColTwa, "*****", false, A::Store, -121},
        {6, ColWarning, "5", false, A::KeepOld, 0}, // no gas
        {2, ColStel, "1", false, A::Refuse, 0}, {3, ColTwa, "1", false, A::Refuse, 0}, {10, ColAutoCal, "1", false, A::Refuse, 0},
        {11, ColStel, "1", false, A::Refuse, 0}, {1, ColAlarm, "1", false, A::Refuse, 0}, {4, ColGas, "1", false, A::Refuse, 0},
    };
    for (const char *t : {"**", "abc", "1e3", "1,5", "1.2.3", "+", ".", "nan", "inf", "0x10"})
        EXPECT_EQ(CheckEntry(rec, 4, ColWarning, t, false).why, Refusal::NotNumeric) << t;
    for (const char *t : {"+5", "5.", ".5", " 007 "})
        EXPECT_EQ(CheckEntry(rec, 4, ColWarning, t, false).action, A::Store) << t;
    for (const Case &c : cases) {
        const Entry e = CheckEntry(rec, c.row, c.col, c.text, c.csa);
        EXPECT_EQ(e.action, c.action) << c.row << "," << c.col << " " << c.text;
        if (c.action == A::Store) {
            EXPECT_FLOAT_EQ(e.value, c.value) << c.row << "," << c.col << " " << c.text;
        }
    }
    // A step the grid cannot use refuses; a count of steps beyond 16 bits does not.
    clsInstrument::DeviceDoor door(rec);
    rec.setGasDesit(2, 0);
    rec.setGasFullScale(3, 100000);
    rec.setGasDesit(3, 1);
    rec.setGasDesit(7, 1);
    EXPECT_EQ(CheckEntry(rec, 4, ColWarning, "10", false).why, Refusal::BadStep);
    EXPECT_FLOAT_EQ(CheckEntry(rec, 5, ColStel, "40000", false).value, 40000);
    EXPECT_FLOAT_EQ(CheckEntry(rec, kCatPpmRow, ColWarning, "45000", false).value, 45000) << "the ppm row in steps of 1";
    // The CSA share of the catalytic rows follows each row's own full scale.
    rec.setGasFullScale(7, 20000);
    EXPECT_EQ(CheckEntry(rec, kCatPpmRow, ColWarning, "12000", true).action, A::Store);
    EXPECT_EQ(CheckEntry(rec, kCatPpmRow, ColWarning, "12010", true).why, Refusal::CsaLimit);
    EXPECT_EQ(CheckEntry(rec, kCatVolRow, ColAlarm, "3", true).action, A::Store);
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
