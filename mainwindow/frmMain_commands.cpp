// The read-side commands (download, read and save, power off, the clock check), the
// write-side commands (upload, clock, calibration, DEFAULT, factory restore), exit and the
// detail-settings dialog.
//
// Every failure is reported as a failure: red line, failure text. A read goes into a
// scratch record and replaces the target only when it succeeded, so a failed or cancelled
// read never leaves a half-filled record behind for the next upload.
#include "core/Messages.h"
#include "core/Settings.h"
#include "core/modMain.h"
#include "link/uclQlif.h"
#include "mainwindow/GasGridRules.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmMain_commands_p.h"
#include "mainwindow/frmUpload.h"
#include "mainwindow/modMainWindow.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "settingsfiles/SettingsHistory.h"
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

namespace Commands {

QString NowText() { return FormatGeneralDate(QDateTime::currentDateTime()); }

QString ElapsedText(qint64 ms)
{
    const qint64 s = qMax<qint64>(0, ms) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg((s / 60) % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

bool ClockFarOff(qint64 offsetSeconds) { return offsetSeconds > kSecondsPerDay || offsetSeconds < -kSecondsPerDay; }

QString FailedBoards(const QString &status)
{
    bool ok = false;
    const QString digits = status.trimmed();
    const uint value = digits.size() <= 4 ? digits.toUInt(&ok, 16) : 0;
    if (!ok || digits.isEmpty())
        return status;
    QString boards;
    for (int bit = 1; bit <= 3; ++bit)
        if (value & (1u << bit))
            boards += QStringLiteral("OPT%1 ").arg(bit);
    return boards;
}

int16_t CatTableVersion(int32_t romNumber)
{
    // Only compared with 4770: a number beyond 16 bits keeps its side of it.
    return int16_t(qBound(int32_t(std::numeric_limits<int16_t>::min()), romNumber, int32_t(std::numeric_limits<int16_t>::max())));
}

void RefuseBusy()
{
    MsgBox(GetMsg(5367), vb::OKOnly | vb::Information, GetMsg(5368));
}

bool ShowFormModal(const QString &name)
{
    QWidget *w = Form(name);
    if (!w)
        return false;
    if (auto *dlg = qobject_cast<QDialog *>(w)) {
        dlg->exec();
        return true;
    }
    // A plain window: modal by hand, back here when it hides or goes away.
    QPointer<QWidget> guard(w);
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    QEventLoop loop;
    QObject::connect(w, &QObject::destroyed, &loop, &QEventLoop::quit);
    struct HideWatch : QObject {
        QEventLoop *loop;
        explicit HideWatch(QEventLoop *l) : loop(l) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Hide)
                loop->quit();
            return false;
        }
    } watch(&loop);
    w->installEventFilter(&watch);
    if (w->isVisible())
        loop.exec();
    if (guard)
        guard->removeEventFilter(&watch);
    return true;
}

} // namespace Commands

using namespace Commands;

// ---- read side ---------------------------------------------------------------------------

void frmMain::CheckInstrumentClock(const clsInstrument &Inst)
{
    if (ClockFarOff(Inst.SysDateOffset()))
        AddInfo(GetMsg(5591), kRed);
}

bool frmMain::ReadyForCommand()
{
    if (!EndOpenEdits({vfgOption}))
        return false;
    // A click can arrive before a refused field has taken the focus back (a tap delivers
    // press and release at once): the fields are checked again on what they show now.
    bool refused = false;
    if (txtOption[0]->isModified()) {
        txtOption_Validate(0, refused);
        if (refused) {
            holdFocus(txtOption[0]);
            return false;
        }
    }
    txtSuffix_Validate(refused);
    if (refused) {
        MsgBox(QString::fromLatin1(kSuffixRefused), vb::OKOnly | vb::Critical, GetMsg(5001));
        holdFocus(txtSuffix);
        return false;
    }
    return true;
}

void frmMain::cmdDown_Click(int16_t Index)
{
    if (!ReadyForCommand())
        return;
    switch (Index) {
    case 1:
        DownloadCommand();
        break;
    case 2:
        FlashDumpCommand();
        break;
    case 4:
        PowerOffCommand();
        break;
    case 5:
        ReadAndSaveCommand();
        break;
    default:
        CheckInstrumentClock(gInstrument());
        break;
    }
}

void frmMain::DownloadCommand()
{
    BusyGuard guard(*this);
    if (!guard)
        return;
    EnableCommands(false);
    ShowUpload(GetMsg(6056));
    DownloadInstrument(gInstrument());
    UnloadUpload();
    EnableCommands(true);
    CheckInstrumentClock(gInstrument());
}

void frmMain::FlashDumpCommand()
{
    BusyGuard guard(*this);
    if (!guard)
        return;
    BeginDumpTransfer();
    FlashDumpDownload();
    EndDumpTransfer();
    CheckInstrumentClock(gInstrument());
}

void frmMain::PowerOffCommand()
{
    BusyGuard guard(*this);
    if (!guard)
        return;
    if (MsgBox(GetMsg(5347), vb::YesNo | vb::Question, GetMsg(5348)) != vb::Yes)
        return;
    cmdExit->setEnabled(false);
    if (!uclQL7150->Connected()) {
        AddInfo(GetMsg(5409), kRed);
    } else {
        AddInfo(GetMsg(5406), kGreen);
        if (uclQL7150->BodyPowerOff()) {
            AddInfo(GetMsg(5407), kGreen);
            // Back to the state after start-up; the port is opened again at the end.
            clsInstrument &inst = gInstrument();
            {
                // Neither read nor imported any more: ClearDatas leaves both marks.
                clsInstrument::DeviceDoor door(inst);
                inst.setCommFlags(0);
                inst.setImportFlag(0);
            }
            inst.ClearDatas();
            ClearInstrumentView();
            QString error;
            KeepWindowSize();
            if (!WriteSettings(&error))
                AddInfo(error, kRed);
            InitDefaults();
            ReadSettings();
            uclQL7150->Reset();
            FirstActivate = true;
            Form_Activate();
            SetupIrdaAdapter();
        } else {
            AddInfo(GetMsg(5408), kRed);
            AddReasons({uclQL7150->CommandFailure()});
        }
    }
    cmdExit->setEnabled(true);
    CheckInstrumentClock(gInstrument());
}

void frmMain::ReadAndSaveCommand()
{
    BusyGuard guard(*this);
    if (!guard)
        return;
    if (!FileSuffixAcceptable(gFactorySuffix)) {
        MsgBox(QString::fromLatin1(kSuffixRefused), vb::OKOnly | vb::Critical, GetMsg(5001));
        txtSuffix->setFocus(Qt::OtherFocusReason);
        return;
    }
    EnableCommands(false);
    ShowUpload(GetMsg(6056));
    clsInstrument saved; // the save-only read's own record
    clsInstrument &target = chkSaveOnly->isChecked() ? saved : gInstrument();
    const clsInstrument *clockOf = &gInstrument();
    if (DownloadInstrument(target)) {
        const HistoryFile::Outcome row = deviceUpdateLog(target, false);
        if (!row.ok)
            AddInfo(QString::fromLatin1(kHistoryFailed).arg(row.error), kRed);
        if (!row.notice.isEmpty())
            AddInfo(row.notice, kRed);
        clockOf = &target; // the clock just read, not the main record's
    }
    UnloadUpload();
    EnableCommands(true);
    CheckInstrumentClock(*clockOf);
}

bool frmMain::DownloadInstrument(clsInstrument &Inst)
{
    if (!uclQL7150->Connected()) {
        AddInfo(GetMsg(5417), kRed);
        uclQL7150->AddLog(GetMsg(5522, NowText()));
        return false;
    }
    AddInfo(GetMsg(5414), kGreen);
    uclQL7150->AddLog(GetMsg(5517, NowText()));
    QElapsedTimer started;
    started.start();

    uclQL7150->setCancel(false);
    clsInstrument read(Inst);
    if (!uclQL7150->GetInstrument(read)) {
        if (uclQL7150->Cancel()) {
            AddInfo(GetMsg(5462), kRed);
            uclQL7150->AddLog(GetMsg(5589, NowText()));
            return false;
        }
        AddInfo(GetMsg(5416), kRed);
        // Where and why, in the pane the technician reads, not only in the serial log.
        AddReasons({uclQL7150->ReadFailure()});
        uclQL7150->AddLog(GetMsg(5520) + QLatin1Char(' ') + read.FailLine());
        if (read.FailLine() == QLatin1String("HC,R"))
            AddInfo(GetMsg(5590), kRed);
        uclQL7150->AddLog(GetMsg(5521, NowText(), ElapsedText(started.elapsed())));
        return false;
    }

    Inst = read;
    {
        clsInstrument::DeviceDoor door(Inst);
        Inst.setCommFlags(-1);
    }
    RestoreGasEnable();
    uclQL7150->GetLatestHistory(Inst);
    for (int board = 1; board <= 3; ++board) {
        if (Inst.GasType(board + 3) == SensorType::EmptySlot)
            continue;
        if (uclQL7150->ByteArrayMode(board, QStringLiteral("S")))
            lblOptROM[board - 1]->setText(uclQL7150->getOptData(board, QStringLiteral("VPR"), 5));
        uclQL7150->ByteArrayMode(board, QStringLiteral("E"));
    }
    ShowAnalogValues(Inst);
    AddInfo(GetMsg(5415), kGreen);
    // What the read went on past stays unread; say which, or the blanks pass for names.
    for (const QString &gap : uclQL7150->ReadGaps())
        AddInfo(gap, kRed);
    uclQL7150->AddLog(GetMsg(5519, NowText(), ElapsedText(started.elapsed())));
    return true;
}

void frmMain::cmdExit_Click() { Unload(this); }

void frmMain::cmdFactorySetting_Click()
{
    if (!ReadyForCommand())
        return;
    const QString name = QStringLiteral("frmFsDialog");
    QWidget *dlg = IsFormRegistered(name) ? Form(name) : nullptr;
    // The dialog works on the record it is handed; one that cannot take it is not opened.
    if (!dlg || dlg->metaObject()->indexOfMethod("setInstrument(clsInstrument*)") < 0) {
        MsgBox(QString::fromLatin1(kFactoryDialogMissing), vb::OKOnly | vb::Information, GetMsg(5001));
        return;
    }
    clsInstrument *inst = &gInstrument();
    QMetaObject::invokeMethod(dlg, "setInstrument", Qt::DirectConnection, Q_ARG(clsInstrument *, inst));
    SetCatTable(CatTableVersion(inst->RomNumber()));
    ShowFormModal(name);
    ShowInstrument();
}

// ---- write side --------------------------------------------------------------------------

void frmMain::cmdOption_Click(int16_t Index)
{
    if (!ReadyForCommand())
        return;
    switch (Index) {
    case 0:
        UploadCommand();
        break;
    case 1:
        ClockCommand();
        break;
    case 2:
        CalibrationCommand();
        break;
    case 3:
        DefaultCommand();
        break;
    case 4:
        RestoreCommand();
        break;
    default:
        break;
    }
}

// The calibration window runs the upload, the clock and the restore itself (gTransferMode 4
// or 7): then only the log lines of the command stay, the window's frame and boxes are its own.
static bool FromCalibration() { return gTransferMode == 4 || gTransferMode == 7; }

void frmMain::EndWriteCommand(bool ok)
{
    if (FromCalibration())
        return;
    UnloadUpload();
    EnableCommands(true);
    if (ok)
        MsgBox(GetMsg(5311), vb::OKOnly | vb::Information, GetMsg(5312));
}

void frmMain::UploadCommand()
{
    BusyGuard guard(*this);
    if (!guard)
        return;
    clsInstrument &inst = gInstrument();
    if (!FromCalibration()) {
        const int lastChannel = inst.InvalidIF() ? 9 : 10;
        for (int ch = 0; ch <= lastChannel; ++ch) {
            if (!CheckAlarmLevel(int16_t(ch))) {
                MsgBox(GetMsg(5361), vb::OKOnly | vb::Critical, GetMsg(5362));
                return;
            }
        }
        for (int ch = 0; ch <= 6; ++ch) {
            if (!PointReached(inst, ch, inst.AutoCalib(ch))) {
                MsgBox(GetMsg(5380), vb::OKOnly | vb::Critical, GetMsg(5381));
                return;
            }
        }
        bool anySensor = false;
        for (int ch = 0; ch <= 6; ++ch)
            anySensor = anySensor || inst.GasEnabled(ch) != 0;
        if (!anySensor) {
            MsgBox(GetMsg(5365), vb::OKOnly | vb::Critical, GetMsg(5366));
            return;
        }
        if (MsgBox(GetMsg(5309), vb::YesNo | vb::Question, GetMsg(5310)) != vb::Yes)
            return;
        EnableCommands(false);
        ShowUpload(GetMsg(6057), GetMsg(6001));
    }
    uclQL7150->AddLog(GetMsg(5535, NowText()));
    AddInfo(GetMsg(5428), kGreen);
    gFactorySave = chkFactorySave->isChecked();
    inst.SetChangeFlags(true);
    uclQL7150->setCancel(false);
    const bool ok = uclQL7150->SetInstrument(inst);
    const HistoryFile::Outcome row = deviceUpdateLog(inst, true);
    // Which settings did not reach the instrument, and why: the serial log is not enough.
    for (const QString &problem : uclQL7150->UploadProblems())
        AddInfo(problem, kRed);
    if (ok)
        AddInfo(GetMsg(5429), kGreen);
    else
        AddInfo(ExpandMessage(QString::fromLatin1(kUploadFailed), {}), kRed);
    if (!row.ok)
        AddInfo(QString::fromLatin1(kHistoryFailed).arg(row.error), kRed);
    if (!row.notice.isEmpty())
        AddInfo(row.notice, kRed);
    EndWriteCommand(ok);
}

void frmMain::ClockCommand()
{
    BusyGuard guard(*this);
    if (!guard)
        return;
    if (!FromCalibration()) {
        if (MsgBox(GetMsg(5384), vb::YesNo | vb::Question, GetMsg(5310)) != vb::Yes)
            return;
        EnableCommands(false);
        ShowUpload(GetMsg(6057), GetMsg(6001));
    }
    uclQL7150->AddLog(GetMsg(5535, NowText()));
    AddInfo(GetMsg(5428), kGreen);
    uclQL7150->setCancel(false);
    const bool ok = uclQL7150->SetDateTime(QDateTime::currentDateTime());
    if (ok) {
        // The instrument now runs on the PC clock.
        clsInstrument::DeviceDoor door(gInstrument());
        gInstrument().setSysDateOffset(0);
        AddInfo(GetMsg(5429), kGreen);
    } else {
        AddInfo(ExpandMessage(QString::fromLatin1(kClockFailed), {}), kRed);
        AddReasons({uclQL7150->CommandFailure()});
    }
    EndWriteCommand(ok);
}

// The calibration window is modal and runs its own transfers (which may come back here for
// the upload and the clock): it is not held as one of this window's transfers.
void frmMain::CalibrationCommand()
{
    if (TransferRunning()) {
        RefuseBusy();
        return;
    }
    const QString name = QStringLiteral("frmCalibration");
    if (!IsFormRegistered(name)) {
        MsgBox(QString::fromLatin1(kCalibrationMissing), vb::OKOnly | vb::Information, GetMsg(5001));
        return;
    }
    ShowFormModal(name);
    // Whatever happened in the window: the poll and the pump stop.
    uclQL7150->setRunDensty(false);
    uclQL7150->SetPump(false);
}

void frmMain::DefaultCommand()
{
    BusyGuard guard(*this);
    if (!guard)
        return;
    int16_t mask = 0;
    for (int i = 0; i < 4; ++i)
        if (chkUx[i]->isChecked())
            mask = int16_t(mask | (1 << i));
    if (mask == 0) {
        MsgBox(GetMsg(5382), vb::OKOnly);
        return;
    }
    if (MsgBox(GetMsg(5374), vb::YesNo | vb::Question, QStringLiteral("DEFAULT")) != vb::Yes)
        return;
    if (!uclQL7150->Connected()) {
        AddInfo(GetMsg(5436), kRed);
        uclQL7150->AddLog(GetMsg(5559));
        return;
    }
    AddInfo(GetMsg(5466), kGreen);
    HourglassCursor hourglass;
    uclQL7150->setCancel(false);
    if (uclQL7150->DefaultInstrument(mask)) {
        AddInfo(GetMsg(5467), kGreen);
    } else {
        AddInfo(GetMsg(5468), kRed);
        AddReasons({uclQL7150->CommandFailure()});
        const QString status = uclQL7150->DefaultStatus();
        if (!status.isEmpty())
            AddInfo(GetMsg(5383, FailedBoards(status)), kRed);
    }
}

void frmMain::RestoreCommand()
{
    BusyGuard guard(*this);
    if (!guard)
        return;
    if (MsgBox(GetMsg(5337), vb::YesNo | vb::Question, GetMsg(5338)) != vb::Yes)
        return;
    clsInstrument &inst = gInstrument();
    EnableCommands(false);
    ShowUpload(GetMsg(6057), GetMsg(6001));
    AddInfo(GetMsg(5428), kGreen);
    uclQL7150->setCancel(false);
    const bool restored = uclQL7150->RestoreFactorySet();
    if (!restored) {
        AddInfo(ExpandMessage(QString::fromLatin1(kRestoreFailed), {}), kRed);
        AddReasons({uclQL7150->CommandFailure()});
    }
    // Read back whatever the instrument now holds; only a complete read replaces the record.
    clsInstrument read(inst);
    const bool reread = uclQL7150->GetInstrument(read);
    if (reread) {
        inst = read;
        clsInstrument::DeviceDoor door(inst);
        inst.setCommFlags(-1);
        for (const QString &gap : uclQL7150->ReadGaps())
            AddInfo(gap, kRed);
    } else {
        AddInfo(QString::fromLatin1(kRereadFailed), kRed);
    }
    RestoreGasEnable();
    if (FromCalibration())
        return;
    UnloadUpload();
    EnableCommands(true);
    if (restored && reread)
        MsgBox(GetMsg(5311), vb::OKOnly | vb::Information, GetMsg(5312));
}
