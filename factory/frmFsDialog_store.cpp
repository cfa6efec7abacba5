// Maintenance-data store and load (scrambled distribution files).
#include "core/Messages.h"
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBox.h"
#include "settingsfiles/SettingsFile.h"
#include <QCheckBox>
#include <QPushButton>
#include <functional>

namespace {

const QString kEntry = QStringLiteral("Vantik Maintenance Data(*.vkx)|*.vkx|");

bool ticked(const QCheckBox *box) { return box->isChecked(); }

} // namespace

void frmFsDialog::wireStoreCommands()
{
    connect(cmdStore, &QPushButton::clicked, this, [this] { cmdStore_Click(); });
    connect(cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
}

void frmFsDialog::cmdStore_Click()
{
    const struct {
        const QCheckBox *box;
        std::function<bool()> clean;
        const char *list;
    } checks[] = {
        {chkStation, [this] { return CheckStationGrid(); }, "Station List"},
        {chkUser, [this] { return CheckUserGrid(); }, "User List"},
        {chkConvertion, [this] { return CheckPreConvGrid(); }, "Pre-Defined Conversion Table"},
        {chkConvertion, [this] { return CheckUserConvGrid(); }, "User Defined Conversion Table"},
        {chkPID[0], [this] { return CheckPIDGrid(0); }, "PID Sensor (High Range) Settings"},
        {chkPID[1], [this] { return CheckPIDGrid(1); }, "PID Sensor (Low Range) Settings"},
    };
    for (const auto &c : checks) {
        if (ticked(c.box) && !c.clean()) {
            MsgBox(GetMsg(8056, QString::fromLatin1(c.list)), vb::OKOnly | vb::Critical, GetMsg(5001));
            return;
        }
    }
    if (!ticked(chkStation) && !ticked(chkUser) && !ticked(chkConvertion) && !ticked(chkPID[0]) && !ticked(chkPID[1])) {
        MsgBox(QStringLiteral("No Selection Of The Distribution"), vb::OKOnly | vb::Information, GetMsg(5001));
        return;
    }
    if (!ChooseFile(true, kEntry, QString(), fdlg::OverwritePrompt | fdlg::PathMustExist) || !m_instrument)
        return;
    Distribution blocks;
    blocks.user = ticked(chkUser);
    blocks.station = ticked(chkStation);
    blocks.conversion = ticked(chkConvertion);
    blocks.pidHigh = ticked(chkPID[0]);
    blocks.pidLow = ticked(chkPID[1]);
    blocks.all = ticked(chkAll);
    const SettingsFileResult stored = StoreConfig(*m_instrument, cmddlg.FileName, true, blocks);
    if (!stored) {
        MsgBox(stored.error, vb::OKOnly | vb::Critical, GetMsg(5001));
        return;
    }
    MsgBox(QStringLiteral("Stored."), vb::OKOnly, GetMsg(5001));
}

void frmFsDialog::cmdLoad_Click()
{
    if (!ChooseFile(false, kEntry, QString(), fdlg::FileMustExist))
        return;
    if (!m_edit)
        m_edit = std::make_unique<clsInstrument>();
    // Into a scratch record: the working copy and the grids change only when the whole
    // file was read. The reader keeps the record's support flags (the instrument's).
    clsInstrument loaded(*m_edit);
    const SettingsFileResult read = LoadConfig(loaded, cmddlg.FileName, true);
    if (!read) {
        MsgBox(read.error, vb::OKOnly | vb::Critical, GetMsg(5001));
        return;
    }
    for (FlexGrid *g : allGrids())
        g->CancelEdit();
    *m_edit = loaded;
    SetAllGrids();
}

void frmFsDialog::SetAllGrids()
{
    SetSetUpGrid();
    SetFactoryGrid();
    SetOtherGrid();
    SetStationUserGrids();
    SetGasNameGrids();
    SetChannelGrid();
    SetConvGrids();
    SetMEGrid();
    SetOtherSetGrid();
    SetPIDGrid(0);
    SetPIDGrid(1);
}

bool frmFsDialog::ChooseFile(bool Save, const QString &Entry, const QString &FileName, int Flags)
{
    cmddlg.Filter = QStringLiteral("All files (*.*)|*.*|") + Entry;
    cmddlg.FilterIndex = 2;
    cmddlg.FileName = FileName;
    cmddlg.Flags = Flags;
    cmddlg.CancelError = true;
    if (!(Save ? cmddlg.ShowSave() : cmddlg.ShowOpen())) {
        MsgBox(cmddlg.ErrDescription(), vb::OKOnly, GetMsg(5001));
        return false;
    }
    return !cmddlg.FileName.isEmpty();
}
