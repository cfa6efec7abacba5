// Gas names, long names and ratios of the channels, and the two other gases.
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"

void frmFsDialog::wireGasNameTab()
{
    connect(vfgGasName, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgGasName_BeforeEdit);
    connect(vfgGasName, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgGasName_AfterEdit);
    connect(vfgGasName, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgGasName_ValidateEdit);
    connect(vfgGasName, &FlexGrid::ComboDropDown, this, &frmFsDialog::vfgGasName_ComboDropDown);
    connect(vfgGasName, &FlexGrid::ChangeEdit, this, [this] { LeftSpaceChangeEdit(vfgGasName, 2); });
    connect(vfgGasName, &FlexGrid::Click, this, [this] { LeftSpaceClick(vfgGasName, 2); });
    connect(vfgGasName, &FlexGrid::LeaveCell, this, [this] { LeftSpaceLeave(); });
    connect(vfgGasNameOther, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgGasNameOther_BeforeEdit);
    connect(vfgGasNameOther, &FlexGrid::KeyPressEdit, this, &frmFsDialog::vfgGasNameOther_KeyPressEdit);
    connect(vfgGasNameOther, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgGasNameOther_ValidateEdit);
    connect(vfgGasNameOther, &FlexGrid::ChangeEdit, this, [this] { LeftSpaceChangeEdit(vfgGasNameOther, 2); });
    connect(vfgGasNameOther, &FlexGrid::Click, this, [this] { LeftSpaceClick(vfgGasNameOther, 2); });
    connect(vfgGasNameOther, &FlexGrid::RowColChange, this, [this] { LeftSpaceClick(vfgGasNameOther, 2); });
    connect(vfgGasNameOther, &FlexGrid::LeaveCell, this, [this] { LeftSpaceLeave(); });
}

void frmFsDialog::SetGasNameGrids() {}
void frmFsDialog::vfgGasName_BeforeEdit(int, int, bool &) {}
void frmFsDialog::vfgGasName_AfterEdit(int, int) {}
void frmFsDialog::vfgGasName_ValidateEdit(int, int, bool &) {}
void frmFsDialog::vfgGasName_ComboDropDown(int, int) {}
void frmFsDialog::vfgGasNameOther_BeforeEdit(int, int, bool &) {}
void frmFsDialog::vfgGasNameOther_KeyPressEdit(int, int, int &) {}
void frmFsDialog::vfgGasNameOther_ValidateEdit(int, int, bool &) {}

bool frmFsDialog::GetGasNameGrid(clsInstrument &, QString &) { return true; }
bool frmFsDialog::GetChannel0Mirror(clsInstrument &, QString &) { return true; }
bool frmFsDialog::GetGasNameOtherGrid(clsInstrument &, QString &) { return true; }
