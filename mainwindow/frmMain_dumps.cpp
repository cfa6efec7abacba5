// Memory dumps of service mode: FLASH, FRAM and option-board memory into files in the
// program folder. The link writes each image to a temporary file and renames it only when
// complete, so a failed or cancelled dump keeps the last good image; the failure is logged.
#include "core/Messages.h"
#include "core/modMain.h"
#include "link/uclQlif.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmMain_commands_p.h"
#include "platform/MsgBox.h"
#include <QElapsedTimer>
#include <QRadioButton>

using namespace Commands;

bool frmMain::FlashDumpDownload()
{
    if (!uclQL7150->Connected()) {
        AddInfo(GetMsg(5422), kRed);
        uclQL7150->AddLog(GetMsg(5528, NowText()));
        return false;
    }
    AddInfo(GetMsg(5465), kGreen);
    uclQL7150->AddLog(GetMsg(5592, NowText()));
    gTransferMode = 1;
    EnableCommands(false);
    ShowUpload(GetMsg(6059));

    uclQL7150->setCancel(false);
    const bool ok = uclQL7150->GetBinDump(FlashDumpPath, 0, FlashDumpLastBlock);
    const bool cancelled = !ok && uclQL7150->Cancel();

    UnloadUpload();
    EnableCommands(true);
    repaint();
    gTransferMode = 0;
    if (ok) {
        AddInfo(GetMsg(5469), kGreen);
        uclQL7150->AddLog(GetMsg(5593, NowText()));
        return true;
    }
    if (cancelled) {
        AddInfo(GetMsg(5462), kRed);
        uclQL7150->AddLog(GetMsg(5589, NowText()));
    } else {
        AddInfo(ExpandMessage(QString::fromLatin1(kFlashFailed), {}), kRed);
        AddReasons({uclQL7150->DumpFailure(), uclQL7150->DumpFileError()});
        uclQL7150->AddLog(ExpandMessage(QString::fromLatin1(kFlashFailedLog), {NowText()}));
    }
    return false;
}

void frmMain::cmdFRAMDump_Click()
{
    if (!ReadyForCommand())
        return;
    if (uclQL7150->RunDensty() || gTransferMode == 4 || gTransferMode == 7) {
        MsgBox(GetMsg(5367), vb::OKOnly | vb::Information, GetMsg(5368));
        return;
    }
    BusyGuard guard(*this);
    if (!guard)
        return;
    if (MsgBox(GetMsg(5379), vb::YesNo | vb::Question, GetMsg(5378)) != vb::Yes)
        return;

    const QString area = QStringLiteral("EF");
    gTransferMode = 1;
    EnableCommands(false);
    const QString start = GetMsg(5463, area);
    ShowUpload(GetMsg(6019), start);
    AddInfo(start, kBrown);
    QElapsedTimer started;
    started.start();
    uclQL7150->AddLog(GetMsg(5569, NowText()));

    uclQL7150->setCancel(false);
    const bool ok = uclQL7150->GetBinDumpFRAM(AppFile(QStringLiteral("VANTIKF.DAT")));
    if (ok) {
        uclQL7150->AddLog(GetMsg(5570, NowText(), ElapsedText(started.elapsed())));
        AddInfo(GetMsg(5464, area), kBrown);
    } else if (uclQL7150->Cancel()) {
        AddInfo(GetMsg(5462), kRed);
        uclQL7150->AddLog(GetMsg(5589, NowText()));
    } else {
        AddInfo(ExpandMessage(QString::fromLatin1(kDumpFailed), {area}), kRed);
        AddReasons({uclQL7150->DumpFailure(), uclQL7150->DumpFileError()});
        uclQL7150->AddLog(ExpandMessage(QString::fromLatin1(kDumpFailedLog), {NowText(), ElapsedText(started.elapsed())}));
    }
    UnloadUpload();
    EnableCommands(true);
    gTransferMode = 0;
}

// The frame of a FLASH or option-board dump: transfer mode 1, command frames off, the
// progress window titled "Download"; and back.
void frmMain::BeginDumpTransfer()
{
    gTransferMode = 1;
    EnableCommands(false);
    ShowUpload(GetMsg(6056));
    repaint();
}

void frmMain::EndDumpTransfer()
{
    UnloadUpload();
    EnableCommands(true);
    gTransferMode = 0;
}

void frmMain::cmdOptData_Click() { OptionBoardDump(false); }

void frmMain::cmdOptFlash_Click() { OptionBoardDump(true); }

void frmMain::OptionBoardDump(bool Flash)
{
    if (!ReadyForCommand())
        return;
    BusyGuard guard(*this);
    if (!guard)
        return;
    BeginDumpTransfer();
    const int board = Opt[0]->isChecked() ? 1 : Opt[1]->isChecked() ? 2 : 3;
    const QString name = QStringLiteral("%1%2").arg(Flash ? QStringLiteral("VK_EF_OPT") : QStringLiteral("VK_ES_OPT")).arg(board);
    uclQL7150->setCancel(false);
    const bool inMode = uclQL7150->ByteArrayMode(board, QStringLiteral("S"));
    bool ok = false;
    bool cancelled = false;
    if (inMode) {
        ok = uclQL7150->GetOptBinDump(board, Flash ? QStringLiteral("EFR") : QStringLiteral("ESR"),
                                      AppFile(name + QStringLiteral(".DAT")), Flash ? 512 : 2048);
        cancelled = !ok && uclQL7150->Cancel(); // the next call clears it
    }
    uclQL7150->ByteArrayMode(board, QStringLiteral("E"));
    EndDumpTransfer();
    if (!inMode)
        AddInfo(ExpandMessage(QString::fromLatin1(kOptionRefused), {QString::number(board)}), kRed);
    else if (cancelled)
        AddInfo(GetMsg(5462), kRed);
    else if (!ok) {
        AddInfo(ExpandMessage(QString::fromLatin1(kDumpFailed), {name}), kRed);
        AddReasons({uclQL7150->DumpFailure(), uclQL7150->DumpFileError()});
    }
}
