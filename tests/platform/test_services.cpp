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
#include <QFile>
#include <gtest/gtest.h>

TEST(MsgBoxService, ScriptedAnswersComeInOrderAndCallsAreRecorded)
{
    ScriptedMsgBox box({vb::No, vb::Yes});
    EXPECT_EQ(MsgBox(QStringLiteral("End ?"), vb::YesNo | vb::Question, QStringLiteral("T")), vb::No);
    EXPECT_EQ(MsgBox(QStringLiteral("Again ?"), vb::YesNo | vb::Question), vb::Yes);
    // Queue empty: the default button answers.
    EXPECT_EQ(MsgBox(QStringLiteral("x"), vb::YesNoCancel | vb::DefaultButton3), vb::Cancel);
    EXPECT_EQ(MsgBox(QStringLiteral("z")), vb::OK);
    ASSERT_EQ(box.calls().size(), 4);
    EXPECT_EQ(box.calls()[0].title, QStringLiteral("T"));
    EXPECT_EQ(box.calls()[0].buttons(), vb::YesNo);
    EXPECT_EQ(box.calls()[0].icon(), vb::Question);
    EXPECT_EQ(box.prompts().first(), QStringLiteral("End ?"));
}

TEST(CommonDialogService, FilterTurnsIntoQtNameFilters)
{
    const QStringList f = CommonDialog::NameFilters(QStringLiteral("All files (*.*)|*.*|Config Data (*.seq)|*.seq|Lists|*.csv;*.txt|"));
    EXPECT_EQ(f, (QStringList{QStringLiteral("All files (*.*)"), QStringLiteral("Config Data (*.seq)"), QStringLiteral("Lists (*.csv *.txt)")}));
    EXPECT_TRUE(CommonDialog::NameFilters(QString()).isEmpty());
    EXPECT_EQ(CommonDialog::NameFilters(QStringLiteral("odd")).size(), 0) << "a description without pattern is dropped";
}

TEST(CommonDialogService, ScriptedChoiceAndCancelError)
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("a.csv"));
    WriteTestFile(existing, "");
    ScriptedCommonDialog script;
    script.choose(existing, 2);
    script.cancel();
    script.choose(dir.filePath(QStringLiteral("missing.csv")));
    script.choose(dir.filePath(QStringLiteral("new.csv")));

    CommonDialog dlg;
    dlg.Filter = QStringLiteral("All files (*.*)|*.*|Station (*.csv)|*.csv|");
    dlg.FilterIndex = 2;
    dlg.Flags = fdlg::FileMustExist;
    dlg.CancelError = true;
    EXPECT_TRUE(dlg.ShowOpen());
    EXPECT_EQ(dlg.FileName, existing);
    EXPECT_EQ(dlg.ErrNumber(), 0);

    EXPECT_FALSE(dlg.ShowOpen());
    EXPECT_EQ(dlg.ErrNumber(), fdlg::CancelErrorNumber);
    EXPECT_EQ(dlg.ErrDescription(), QStringLiteral("Cancel was selected."));
    EXPECT_EQ(dlg.FileName, existing) << "cancel keeps the name";

    EXPECT_FALSE(dlg.ShowOpen()) << "an open that must find the file refuses a missing one";

    dlg.Flags = fdlg::OverwritePrompt | fdlg::PathMustExist;
    dlg.CancelError = false;
    EXPECT_TRUE(dlg.ShowSave());
    EXPECT_EQ(dlg.FileName, dir.filePath(QStringLiteral("new.csv")));

    ASSERT_EQ(script.calls().size(), 4);
    EXPECT_EQ(script.calls()[0].filterIndex, 2);
    EXPECT_TRUE(script.calls()[3].save);

    // Nothing scripted: Cancel, without an error when CancelError is off.
    EXPECT_FALSE(dlg.ShowSave());
    EXPECT_EQ(dlg.ErrNumber(), 0);
}

namespace {
class RefusingForm : public QWidget {
public:
    bool refuse = false;
protected:
    void closeEvent(QCloseEvent *e) override
    {
        if (refuse)
            e->ignore();
    }
};
} // namespace

TEST(FormRegistry, DefaultInstanceFindAndUnload)
{
    ResetForms();
    int made = 0;
    RegisterForm(QStringLiteral("frmUpload"), [&] { ++made; return new QWidget; });
    EXPECT_EQ(FindForm(QStringLiteral("frmUpload")), nullptr) << "FindForm never creates";
    EXPECT_EQ(made, 0);
    QWidget *a = Form(QStringLiteral("frmUpload"));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->objectName(), QStringLiteral("frmUpload"));
    EXPECT_EQ(Form(QStringLiteral("frmUpload")), a) << "one default instance";
    EXPECT_EQ(FindForm(QStringLiteral("frmUpload")), a);
    EXPECT_EQ(FindForm(QStringLiteral("FRMUPLOAD")), nullptr) << "names are case-sensitive";
    EXPECT_EQ(made, 1);

    QPointer<QWidget> guard(a);
    EXPECT_TRUE(Unload(QStringLiteral("frmUpload")));
    EXPECT_EQ(FindForm(QStringLiteral("frmUpload")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull()) << "Unload destroys the instance";
    QWidget *b = Form(QStringLiteral("frmUpload"));
    EXPECT_EQ(made, 2) << "the next use loads a fresh window";
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(Form(QStringLiteral("frmNothing")), nullptr);
    ResetForms();
}

TEST(FormRegistry, ClosingByTheUserUnloadsAndARefusalKeepsTheForm)
{
    ResetForms();
    auto *f = DefaultForm<RefusingForm>(QStringLiteral("frmMain"));
    ASSERT_NE(f, nullptr);
    f->show();
    f->refuse = true;
    EXPECT_FALSE(Unload(f));
    EXPECT_EQ(FindForm(QStringLiteral("frmMain")), f);
    f->refuse = false;
    f->close();   // the close box
    EXPECT_EQ(FindForm(QStringLiteral("frmMain")), nullptr);
    EXPECT_EQ(LoadedForms(), QStringList());
    ResetForms();
}

TEST(FormRegistry, UnloadFromTheFormsOwnHandlerIsSafe)
{
    ResetForms();
    RegisterForm(QStringLiteral("frmUploadCalib"), [] { return new QDialog; });
    auto *d = qobject_cast<QDialog *>(Form(QStringLiteral("frmUploadCalib")));
    ASSERT_NE(d, nullptr);
    QTimer::singleShot(0, d, [] { Unload(QStringLiteral("frmUploadCalib")); });
    d->exec();    // the unload ends the modal wait
    EXPECT_EQ(FindForm(QStringLiteral("frmUploadCalib")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ResetForms();
}

TEST(Twips, ConversionAndGeometry)
{
    EXPECT_EQ(TwipsToPixels(1500), 100);
    EXPECT_EQ(TwipsToPixels(22), 1);
    EXPECT_EQ(TwipsToPixels(7), 0);
    EXPECT_EQ(PixelsToTwips(288) + 240, 4560);
    EXPECT_EQ(RGB(128, 32, 0), 8320);
    EXPECT_EQ(ColorFromRgb(255), QColor(255, 0, 0));
    EXPECT_EQ(RgbFromColor(QColor(0, 128, 64)), RGB(0, 128, 64));
    QWidget parent;
    QWidget child(&parent);
    MoveTwips(&child, 150, 300, 4500, -1500);
    EXPECT_EQ(child.geometry(), QRect(10, 20, 300, 0));
    EXPECT_EQ(child.height(), 0) << "a negative layout height ends as an empty widget";
    EXPECT_EQ(WidthTwips(&child), 4500);
    EXPECT_EQ(LeftTwips(&child), 150);
    MoveTwips(&child, 300, 450);
    EXPECT_EQ(child.geometry(), QRect(20, 30, 300, 0)) << "a move alone keeps the size";
    MoveTwips(&child, 0, 0, 600, 450);
    MoveTwips(&child, 15, 15, -30);
    EXPECT_EQ(child.geometry(), QRect(1, 1, 0, 30)) << "a width alone keeps the height";
}

TEST(Controls, CopyFontTakesEveryAttribute)
{
    FontSpec s;
    s.name = QStringLiteral("DejaVu Sans");
    s.size = 11;
    s.bold = true;
    s.italic = true;
    s.strikethrough = true;
    s.weight = 700;
    QFont f;
    CopyFont(f, s);
    EXPECT_EQ(f.families().value(0), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(f.bold());
    EXPECT_TRUE(f.strikeOut());
    s.bold = false;
    s.italic = false;
    s.weight = 400;
    CopyFont(f, s);
    EXPECT_FALSE(f.bold()) << "a plain font clears what an earlier copy set";
    EXPECT_FALSE(f.italic());

    QWidget form;
    auto *edit = new QLineEdit(&form);
    s.size = 9;
    CopyFontToAll(&form, s);
    EXPECT_DOUBLE_EQ(edit->font().pointSizeF(), 9.0);
}

TEST(Controls, SetTextEnabledSwitchesColoursWithTheState)
{
    QLineEdit box;
    const QPalette sys = QApplication::palette();
    SetTextEnabled(&box, false);
    EXPECT_FALSE(box.isEnabled());
    EXPECT_EQ(box.palette().color(QPalette::Disabled, QPalette::Base), sys.color(QPalette::Active, QPalette::Button));
    EXPECT_EQ(box.palette().color(QPalette::Disabled, QPalette::Text), sys.color(QPalette::Disabled, QPalette::Text));
    SetTextEnabled(&box, true);
    EXPECT_TRUE(box.isEnabled());
    EXPECT_EQ(box.palette().color(QPalette::Active, QPalette::Base), sys.color(QPalette::Active, QPalette::Base));
    SetTextEnabled(nullptr, true); // harmless
}

TEST(Controls, HourglassNestsAndUnderflowIsIgnored)
{
    {
        HourglassCursor a;
        HourglassCursor b;
        EXPECT_TRUE(IsHourglass());
    }
    EXPECT_FALSE(IsHourglass());
    SetHourglass(false);
    EXPECT_FALSE(IsHourglass());
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
    const QImage img = lamp.grab().toImage();
    EXPECT_EQ(QColor(img.pixel(8, 8)), QColor(254, 0, 0));
}

TEST(Spinner, StepsTheBuddyWithinItsRange)
{
    QLineEdit box;
    UpDown up;
    up.setBuddy(&box);
    up.setMin(0);
    up.setMax(30);
    int changes = 0;
    QObject::connect(&up, &UpDown::Change, [&] { ++changes; });
    box.setText(QStringLiteral("29"));
    up.StepUp();
    EXPECT_EQ(box.text(), QStringLiteral("30"));
    up.StepUp();
    EXPECT_EQ(box.text(), QStringLiteral("30"));
    box.setText(QStringLiteral("05"));
    up.StepDown();
    EXPECT_EQ(box.text(), QStringLiteral("4"));
    box.setText(QStringLiteral("junk"));
    up.StepDown();
    EXPECT_EQ(box.text(), QStringLiteral("3")) << "steps from the last value";
    up.downButton()->click();
    EXPECT_EQ(box.text(), QStringLiteral("2"));
    EXPECT_EQ(changes, 5);
}

TEST(NestedWait, RunsEventsUntilDoneAndRefusesASecondWait)
{
    bool flag = false;
    WaitResult inner = WaitResult::Done;
    QTimer::singleShot(20, [&] {
        inner = WaitUntil([] { return true; }, 1000);
        EXPECT_TRUE(IsWaiting());
    });
    QTimer::singleShot(40, [&] { flag = true; WaitNotify(); });
    EXPECT_EQ(WaitUntil([&] { return flag; }, 5000), WaitResult::Done);
    EXPECT_EQ(inner, WaitResult::Busy) << "a wait inside a wait is refused";
    EXPECT_FALSE(IsWaiting());
    EXPECT_EQ(WaitUntil([] { return false; }, 30), WaitResult::Timeout);
    EXPECT_EQ(WaitUntil([] { return false; }, 0), WaitResult::Timeout);
    EXPECT_EQ(WaitUntil([] { return true; }, 0), WaitResult::Done);
}
