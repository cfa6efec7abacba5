// Maintenance-data store and load (scrambled distribution files).
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"
#include <QPushButton>

void frmFsDialog::wireStoreCommands()
{
    connect(cmdStore, &QPushButton::clicked, this, [this] { cmdStore_Click(); });
    connect(cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
}

void frmFsDialog::cmdStore_Click() {}
void frmFsDialog::cmdLoad_Click() {}
