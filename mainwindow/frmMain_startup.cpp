#include "core/Messages.h"
#include "core/Settings.h"
#include "core/modMain.h"
#include "link/modAddLib.h"
#include "link/uclQlif.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmUpload.h"
#include "mainwindow/modMainWindow.h"
#include "platform/Controls.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

namespace {
QString serialLogName(int generation)
{
    return generation == 0 ? QStringLiteral("SerialLog.log") : QStringLiteral("SerialLog%1.log").arg(generation);
}

QSize screenTwips(const QWidget *w)
{
    const QScreen *s = w->screen();
    const QSize px = s ? s->geometry().size() : QSize(1024, 768);
    return {PixelsToTwips(px.width()), PixelsToTwips(px.height())};
}
} // namespace

void frmMain::Form_Load()
{
    if (mLoaded)
        return;
    mLoaded = true;
    FirstActivate = true;
    InitDefaults();
    gRetry = 3;
    gTimeout = 3;
    gDelay = 0;
    ReadSettings();
    if (gMainWidth > 0 && gMainHeight > 0)
        resize(TwipsToPixels(gMainWidth), TwipsToPixels(gMainHeight));
    if (gMainWindowState == 2)
        setWindowState(Qt::WindowMaximized);
    CopyFontToAll(this, gFont);
    SetCaptions();

    uclQL7150->setRetry(gRetry);
    uclQL7150->setTimeout(gTimeout);
    uclQL7150->setSerialComm(false);
    SetupIrdaAdapter();

    const QSize screen = screenTwips(this);
    if (gExecuteCount == 1) {
        const int w = std::max(12300, int(0.8 * screen.width()));
        const int h = std::max(11025, int(0.6 * screen.height()));
        resize(TwipsToPixels(w), TwipsToPixels(h));
    }
    const QSize outer = frameGeometry().size();
    move((TwipsToPixels(screen.width()) - outer.width()) / 2, (TwipsToPixels(screen.height()) - outer.height()) / 2);

    lblOption[5]->setProperty("Tag", QDateTime::currentDateTime().toString(Qt::ISODate));
    mGridEditBusy = false;

    if (gSerialLogFile)
        RotateSerialLog();
    // One try: a log that cannot be removed is reported and start-up goes on.
    const QString current = AppFile(serialLogName(0));
    if (QFile::exists(current) && !QFile::remove(current))
        AddInfo(QStringLiteral("Serial log could not be deleted: %1").arg(current), kRed);

    uclQL7150->serialLog().setStopNotice(
        [this](const QString &why) { AddInfo(QStringLiteral("Serial log stopped: %1").arg(why), kRed); });
    uclQL7150->setSerialFileNo(1);
    if (!uclQL7150->serialLog().isEnabled())
        AddInfo(QStringLiteral("Serial log is off: %1").arg(uclQL7150->serialLog().offReason()), kRed);
    uclQL7150->setDumpListFileNo(2);
    txtSuffix->setText(gFactorySuffix);
    FlashDumpPath = AppFile(QStringLiteral("VANTIK.DAT"));

    if (!gDebugMode) {
        cmdDown[2]->setVisible(false);
        cmdFRAMDump->setVisible(false);
        cmdOption[3]->setVisible(false);
        frmOPT->setVisible(false);
        for (QCheckBox *c : chkUx)
            c->setVisible(false);
    }
}

void frmMain::SetupIrdaAdapter()
{
    SetAdapterWarningHook([](const QString &text, const QString &title) {
        MsgBox(text, vb::OKOnly | vb::Critical, title);
    });
    FindIrDAPort(QStringLiteral("VID_10C4&PID_EA60"));
    if (gIrCommNum != 0) {
        uclQL7150->setSerialComm(true);
        uclQL7150->setCommPort(gIrCommNum);
        uclQL7150->setRTSEnable(true);
        uclQL7150->setDTREnable(true);
        uclQL7150->setHandshaking(2);
        uclQL7150->setSettings(gCommSettings);
    } else {
        uclQL7150->setSerialComm(false);
    }
    uclQL7150->setPortOpen(true);
}

// Moves every earlier log one generation up (the ninth is discarded) and the current one
// to generation 1. Each file operation is tried once; a failure is reported in red and the
// rest goes on, so a locked file never holds up start-up. A generation that could not move
// up keeps its place, and the one below it stays too rather than overwrite it.
void frmMain::RotateSerialLog()
{
    auto report = [this](const QString &what, const QString &path) {
        AddInfo(QStringLiteral("Serial log could not be %1: %2").arg(what, path), kRed);
    };
    for (int n = 8; n >= 0; --n) {
        const QString from = AppFile(serialLogName(n));
        if (!QFile::exists(from))
            continue;
        const QString to = AppFile(serialLogName(n + 1));
        if (QFile::exists(to)) {
            if (n < 8) {
                report(QStringLiteral("moved up"), from);
                continue;
            }
            if (!QFile::remove(to)) {
                report(QStringLiteral("deleted"), to);
                continue;
            }
        }
        if (!QFile::rename(from, to))
            report(QStringLiteral("renamed"), from);
    }
}

void frmMain::Form_Activate()
{
    if (!FirstActivate)
        return;
    uclQL7150->AddLog(GetMsg(5541, FormatGeneralDate(QDateTime::currentDateTime())));
    uclQL7150->AddLog(QStringLiteral("Comm = ") + (uclQL7150->SerialComm() ? QStringLiteral("True") : QStringLiteral("False")));
    uclQL7150->AddLog(QStringLiteral("Delay = ") + QString::number(double(gDelay), 'g', 7));
    ShowInstrument();
    Form_Resize();
    cmdExit->setEnabled(true);
    cmdExit->setFocus(Qt::OtherFocusReason);
    FirstActivate = false;
}

void frmMain::Form_QueryUnload(bool &Cancel)
{
    // A blocking call runs its nested loop under this window: closing now would pull the
    // window away from under it.
    if (TransferRunning()) {
        Cancel = true;
        return;
    }
    // The power off holds the exit button off for the length of its sequence.
    if (cmdExit->testAttribute(Qt::WA_ForceDisabled)) {
        Cancel = true;
        return;
    }
    if (MsgBox(GetMsg(5373), vb::YesNo | vb::Question, GetMsg(5001)) != vb::Yes)
        Cancel = true;
}

// The window's state and size as the program settings keep them ("Size Values").
void frmMain::KeepWindowSize()
{
    gMainWindowState = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    if (gMainWindowState == 0) {
        gMainWidth = PixelsToTwips(width());
        gMainHeight = PixelsToTwips(height());
    }
}

void frmMain::Form_Unload()
{
    uclQL7150->setTimerEnabled(false);
    tmrInter->stop();
    frmUpload::UnloadDefault();
    KeepWindowSize();
    QString error;
    if (!WriteSettings(&error))
        qWarning("%s", qPrintable(error));
}

void frmMain::closeEvent(QCloseEvent *event)
{
    if (mLoaded) {
        bool cancel = false;
        Form_QueryUnload(cancel);
        if (cancel) {
            event->ignore();
            return;
        }
        Form_Unload();
        mLoaded = false;
    }
    event->accept();
}

void frmMain::showEvent(QShowEvent *event)
{
    if (!mLoaded)
        Form_Load();
    QWidget::showEvent(event);
    Form_Activate();
}

void frmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && mLoaded)
        Form_Activate();
    else if (event->type() == QEvent::WindowStateChange && !isMinimized())
        Form_Resize();
}
