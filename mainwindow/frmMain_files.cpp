// Export and import of Config Data files (".seq"): the whole record as plain setting lines.
#include "core/Messages.h"
#include "mainwindow/frmMain.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include "platform/MsgBox.h"
#include "settingsfiles/SettingsFile.h"

namespace {
const QString kFilter = QStringLiteral("All files (*.*)|*.*|Config Data (*.seq)|*.seq|");
}

void frmMain::cmdExportSetting_Click()
{
    if (!ReadyForCommand())
        return;
    cdgFile.Filter = kFilter;
    cdgFile.FilterIndex = 2;
    cdgFile.Flags = fdlg::OverwritePrompt | fdlg::PathMustExist;
    cdgFile.CancelError = true;
    if (!cdgFile.ShowSave()) {
        MsgBox(cdgFile.ErrDescription(), vb::OKOnly, GetMsg(5001));
        return;
    }
    if (cdgFile.FileName.isEmpty())
        return;
    // Written to a temporary file and renamed when complete: an existing file survives a failure.
    const SettingsFileResult r = StoreConfig(gInstrument(), cdgFile.FileName, false);
    if (!r)
        MsgBox(r.error, vb::OKOnly, GetMsg(5001));
}

void frmMain::cmdImportSetting_Click()
{
    if (!ReadyForCommand())
        return;
    cdgFile.Filter = kFilter;
    cdgFile.FilterIndex = 2;
    cdgFile.CancelError = true;
    cdgFile.Flags = fdlg::FileMustExist;
    if (!cdgFile.ShowOpen()) {
        MsgBox(cdgFile.ErrDescription(), vb::OKOnly, GetMsg(5001));
        return;
    }
    if (cdgFile.FileName.isEmpty())
        return;
    // The reader checks the whole file before it touches the record: a bad line changes
    // nothing and is named in the message.
    clsInstrument &inst = gInstrument();
    const SettingsFileResult r = LoadConfig(inst, cdgFile.FileName, false);
    if (!r) {
        MsgBox(r.error, vb::OKOnly | vb::Critical, GetMsg(5001));
        return;
    }
    SetCatPpmCh(inst);
    SetCatVolCh(inst);
    inst.SetChangeFlags(true);
    {
        clsInstrument::DeviceDoor door(inst);
        inst.setImportFlag(-1);
    }
    SetCommandEnabled();
    ShowInstrument();
}
