#include "support/TestFiles.h"
#include "core/Wait.h"
#include "core/modMain.h"
#include "platform/CommonDialog.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/RichLog.h"
#include "platform/StatusLamp.h"
#include "platform/Tabs.h"
#include "platform/Twips.h"
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QPointer>
#include <gtest/gtest.h>

TEST(CommonDialogService, FilterTurnsIntoQtNameFilters)
{
    const QStringList f = CommonDialog::NameFilters(QStringLiteral("All files (*.*)|*.*|Config Data (*.seq)|*.seq|Lists|*.csv;*.txt|"));
    EXPECT_EQ(f, (QStringList{QStringLiteral("All files (*.*)"), QStringLiteral("Config Data (*.seq)"), QStringLiteral("Lists (*.csv *.txt)")}));
    EXPECT_TRUE(CommonDialog::NameFilters(QString()).isEmpty());
    EXPECT_EQ(CommonDialog::NameFilters(QStringLiteral("odd")).size(), 0) << "a description without pattern is dropped";
}

TEST(CommonDialogService, ScriptedChoiceCancelErrorAndAFileThatMustExist)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("a.csv"));
    WriteTestFile(existing, "");
    ScriptedCommonDialog script;
    script.choose(existing, 2);
    script.cancel();
    script.choose(dir.filePath(QStringLiteral("missing.csv")));
    CommonDialog dlg;
    dlg.Flags = fdlg::FileMustExist;
    dlg.CancelError = true;
    EXPECT_TRUE(dlg.ShowOpen());
    EXPECT_EQ(dlg.FileName, existing);
    EXPECT_FALSE(dlg.ShowOpen());
    EXPECT_EQ(dlg.ErrNumber(), fdlg::CancelErrorNumber);
    EXPECT_EQ(dlg.FileName, existing) << "cancel keeps the name";
    EXPECT_FALSE(dlg.ShowOpen()) << "an open that must find the file refuses a missing one";
    dlg.CancelError = false; // nothing scripted: Cancel, without an error
    EXPECT_FALSE(dlg.ShowSave());
    EXPECT_EQ(dlg.ErrNumber(), 0);
}

namespace {
class RefusingForm : public QWidget {
public:
    bool refuse = false;
protected:
    void closeEvent(QCloseEvent *e) override { e->setAccepted(!refuse); }
};
} // namespace

TEST(FormRegistry, DefaultInstanceFindUnloadAndTheCloseBox)
{
    ResetForms();
    int made = 0;
    RegisterForm(QStringLiteral("frmUpload"), [&] { ++made; return new QWidget; });
    EXPECT_EQ(FindForm(QStringLiteral("frmUpload")), nullptr) << "FindForm never creates";
    QPointer<QWidget> guard(Form(QStringLiteral("frmUpload")));
    ASSERT_NE(guard, nullptr);
    EXPECT_EQ(Form(QStringLiteral("frmUpload")), guard) << "one default instance";
    EXPECT_TRUE(Unload(QStringLiteral("frmUpload")));
    EXPECT_EQ(FindForm(QStringLiteral("frmUpload")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull()) << "Unload destroys the instance";
    EXPECT_NE(Form(QStringLiteral("frmUpload")), nullptr);
    EXPECT_EQ(made, 2) << "the next use loads a fresh window";

    auto *f = DefaultForm<RefusingForm>(QStringLiteral("frmMain"));
    f->show();
    f->refuse = true;
    EXPECT_FALSE(Unload(f));
    EXPECT_EQ(FindForm(QStringLiteral("frmMain")), f);
    f->refuse = false;
    f->close(); // the close box
    EXPECT_EQ(FindForm(QStringLiteral("frmMain")), nullptr);
    ResetForms();
}

TEST(FormRegistry, UnloadFromTheFormsOwnHandlerIsSafe)
{
    ResetForms();
    RegisterForm(QStringLiteral("frmUploadCalib"), [] { return new QDialog; });
    auto *d = qobject_cast<QDialog *>(Form(QStringLiteral("frmUploadCalib")));
    ASSERT_NE(d, nullptr);
    QTimer::singleShot(0, d, [] { Unload(QStringLiteral("frmUploadCalib")); });
    d->exec(); // the unload ends the modal wait
    EXPECT_EQ(FindForm(QStringLiteral("frmUploadCalib")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetForms();
}

TEST(Twips, ConversionAndGeometry)
{
    EXPECT_EQ(QList<int>({TwipsToPixels(1500), TwipsToPixels(22), TwipsToPixels(7), PixelsToTwips(288)}), QList<int>({100, 1, 0, 4320}));
    EXPECT_EQ(ColorFromRgb(RGB(128, 32, 0)), QColor(128, 32, 0));
    EXPECT_EQ(RGB(0, 0, 255), 16711680);
    QWidget parent;
    QWidget child(&parent);
    MoveTwips(&child, 150, 300, 4500, -1500);
    EXPECT_EQ(child.geometry(), QRect(10, 20, 300, 0)) << "a negative layout height ends as an empty widget";
    MoveTwips(&child, 300, 450);
    EXPECT_EQ(QList<int>({LeftTwips(&child), WidthTwips(&child), child.y()}), QList<int>({300, 4500, 30})) << "a move alone keeps the size";
}

TEST(Controls, CopyFontTakesEveryAttributeAndAPlainFontClearsThem)
{
    QWidget form;
    auto *edit = new QLineEdit(&form);
    CopyFontToAll(&form, FontSpec{QStringLiteral("DejaVu Sans"), 11, true, true, true, true, 700, 0});
    QFont f = edit->font();
    EXPECT_EQ(f.families().value(0), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(f.bold() && f.italic() && f.underline() && f.strikeOut() && f.pointSizeF() == 11);
    CopyFont(f, FontSpec{QStringLiteral("DejaVu Sans"), 9});
    EXPECT_FALSE(f.bold() || f.italic() || f.underline() || f.strikeOut());
}

TEST(Controls, SetTextEnabledSwitchesColoursAndTheHourglassNests)
{
    QLineEdit box;
    SetTextEnabled(&box, false);
    EXPECT_FALSE(box.isEnabled());
    const QPalette sys = QApplication::palette();
    EXPECT_EQ(box.palette().color(QPalette::Disabled, QPalette::Base), sys.color(QPalette::Active, QPalette::Button));
    EXPECT_EQ(box.palette().color(QPalette::Disabled, QPalette::Text), sys.color(QPalette::Disabled, QPalette::Text));
    SetTextEnabled(&box, true);
    EXPECT_EQ(box.palette().color(QPalette::Active, QPalette::Base), sys.color(QPalette::Active, QPalette::Base));
    {
        HourglassCursor a;
        HourglassCursor b;
        EXPECT_TRUE(IsHourglass());
    }
    SetHourglass(false); // one too many: ignored
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(RichLogPane, LinesAreColouredAndTheInsertionPointEndsAtTheEnd)
{
    RichLog log;
    log.AddLine(QStringLiteral("first"), RGB(0, 192, 0));
    log.AddLine(QString(), 255);
    log.AddLine(QStringLiteral("ends in a break\r\n"), RGB(0, 0, 192));
    EXPECT_EQ(log.Text(), QStringLiteral("first\r\n\r\nends in a break\r\n\r\n"));
    EXPECT_EQ(log.SelStart(), log.TextLength());
    EXPECT_EQ(log.ColorAt(0), RGB(0, 192, 0));
    EXPECT_EQ(log.ColorAt(int(log.Text().indexOf(QLatin1String("ends")))), RGB(0, 0, 192));
    // Offsets count each line end as two characters, however many lines come before (the
    // main window's tests read the colours through them).
    RichLog lines;
    const int colours[] = {RGB(0, 192, 0), 255, RGB(0, 0, 192)};
    for (int k = 0; k < 3; ++k)
        lines.AddLine(QString(QChar('a' + k)), colours[k]);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(lines.ColorAt(3 * k), colours[k]) << k;
        lines.setSelStart(3 * k);
        EXPECT_EQ(lines.SelStart(), 3 * k);
    }
    // A user's selection is replaced by the next line, which still ends the pane.
    log.setSelStart(0);
    QTextCursor c = log.textCursor();
    c.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    log.setTextCursor(c);
    log.AddLine(QStringLiteral("X"), 255);
    EXPECT_TRUE(log.Text().startsWith(QStringLiteral("X\r\n\r\n\r\n"))) << log.Text().toStdString();
    EXPECT_EQ(log.SelStart(), log.TextLength());
}

TEST(Lamp, FacePaintsItsColour)
{
    StatusLamp lamp;
    lamp.resize(16, 16);
    lamp.setColors(RGB(254, 0, 0), RGB(192, 0, 0));
    EXPECT_EQ(QColor(lamp.grab().toImage().pixel(8, 8)), QColor(254, 0, 0));
}

TEST(Spinner, StepsTheBuddyWithinItsRange)
{
    QLineEdit box;
    UpDown up;
    up.setBuddy(&box);
    up.setMax(30);
    // From the buddy's text (or the last value when it holds none), never past the ends.
    const struct { const char *text; bool upward; const char *out; } steps[] = {
        {"29", true, "30"}, {"30", true, "30"}, {"05", false, "4"}, {"junk", false, "3"}, {"0", false, "0"},
    };
    for (const auto &c : steps) {
        box.setText(QLatin1String(c.text));
        c.upward ? up.StepUp() : up.StepDown();
        EXPECT_EQ(box.text(), QLatin1String(c.out)) << c.text;
    }
    box.setText(QStringLiteral("2"));
    up.downButton()->click();
    EXPECT_EQ(box.text(), QStringLiteral("1"));
}

TEST(NestedWait, RunsEventsUntilDoneAndRefusesASecondWait)
{
    WaitResult inner = WaitResult::Done;
    QTimer::singleShot(0, [&] {
        inner = WaitUntil([] { return true; }, 1000);
        WaitNotify();
    });
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    EXPECT_EQ(WaitUntil([&] { return ran; }, 5000), WaitResult::Done);
    EXPECT_EQ(inner, WaitResult::Busy) << "a wait inside a wait is refused";
    EXPECT_FALSE(IsWaiting());
    EXPECT_EQ(WaitUntil([] { return false; }, 0), WaitResult::Timeout);
}
