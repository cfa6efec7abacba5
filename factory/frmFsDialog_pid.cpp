// PID sensor tables of the high and low range and their list files.
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"
#include <QPushButton>

void frmFsDialog::wirePidTab()
{
    for (int i = 0; i < 2; ++i) {
        FlexGrid *g = vfgPID[i];
        connect(g, &FlexGrid::BeforeEdit, this, [this, i](int r, int c, bool &cancel) { vfgPID_BeforeEdit(i, r, c, cancel); });
        connect(g, &FlexGrid::KeyPressEdit, this, [this, i](int r, int c, int &key) { vfgPID_KeyPressEdit(i, r, c, key); });
        connect(g, &FlexGrid::ValidateEdit, this, [this, i](int r, int c, bool &cancel) { vfgPID_ValidateEdit(i, r, c, cancel); });
        connect(g, &FlexGrid::AfterEdit, this, [this, i](int r, int c) { vfgPID_AfterEdit(i, r, c); });
        connect(g, &FlexGrid::ChangeEdit, this, [this, g] { LeftSpaceChangeEdit(g, 2); });
        connect(g, &FlexGrid::Click, this, [this, g] { LeftSpaceClick(g, 2); });
        connect(g, &FlexGrid::RowColChange, this, [this, g] { LeftSpaceClick(g, 2); });
        connect(g, &FlexGrid::LeaveCell, this, [this] { LeftSpaceLeave(); });
        connect(cmdPIDExport[i], &QPushButton::clicked, this, [this, i] { cmdPIDExport_Click(i); });
        connect(cmdPIDImport[i], &QPushButton::clicked, this, [this, i] { cmdPIDImport_Click(i); });
    }
}

void frmFsDialog::SetPIDGrid(int) {}
void frmFsDialog::vfgPID_BeforeEdit(int, int, int, bool &) {}
void frmFsDialog::vfgPID_KeyPressEdit(int, int, int, int &) {}
void frmFsDialog::vfgPID_ValidateEdit(int, int, int, bool &) {}
void frmFsDialog::vfgPID_AfterEdit(int, int, int) {}
void frmFsDialog::CheckPIDCells(int) {}
bool frmFsDialog::CheckPIDRange(int, int, int) const { return false; }
void frmFsDialog::cmdPIDExport_Click(int) {}
void frmFsDialog::cmdPIDImport_Click(int) {}

bool frmFsDialog::GetPIDGrids(clsInstrument &, QString &) { return true; }
bool frmFsDialog::GetPIDChannels(clsInstrument &, QString &) { return true; }
void frmFsDialog::GetPIDChannel(clsInstrument &, int) {}
