// Other settings (alternate ranges, zero follower and suppress, PID range), ME values and
// the zero / span readings.
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"

void frmFsDialog::wireOtherTab()
{
    connect(vfgOtherSet, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgOtherSet_BeforeEdit);
    connect(vfgOtherSet, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgOtherSet_ValidateEdit);
    connect(vfgOtherSet, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgOtherSet_AfterEdit);
    connect(vfgME, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgME_BeforeEdit);
    connect(vfgME, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgME_ValidateEdit);
    connect(vfgZeroSpan, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgZeroSpan_BeforeEdit);
}

void frmFsDialog::SetOtherSetGrid() {}
void frmFsDialog::SetMEGrid() {}
void frmFsDialog::vfgOtherSet_BeforeEdit(int, int, bool &) {}
void frmFsDialog::vfgOtherSet_ValidateEdit(int, int, bool &) {}
void frmFsDialog::vfgOtherSet_AfterEdit(int, int) {}
void frmFsDialog::vfgME_BeforeEdit(int, int, bool &) {}
void frmFsDialog::vfgME_ValidateEdit(int, int, bool &) {}
void frmFsDialog::vfgZeroSpan_BeforeEdit(int, int, bool &Cancel) { Cancel = true; }

bool frmFsDialog::GetMEGrid(clsInstrument &, QString &) { return true; }
bool frmFsDialog::GetOtherSetGrid(clsInstrument &, QString &) { return true; }
void frmFsDialog::GetOtherSetChannel(clsInstrument &, int) {}
