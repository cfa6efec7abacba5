// Channel gas mapping: which gas sits at which of the six channel positions.
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"

void frmFsDialog::wireChannelTab()
{
    connect(vfgChannel, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgChannel_ValidateEdit);
}

void frmFsDialog::SetChannelGrid() {}
void frmFsDialog::vfgChannel_ValidateEdit(int, int, bool &) {}

bool frmFsDialog::GetChannelGrid(clsInstrument &, QString &) { return true; }
