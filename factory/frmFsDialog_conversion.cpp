// Pre-defined and user conversion tables and the available count.
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"
#include "platform/Tabs.h"
#include <QLineEdit>
#include <QPushButton>

void frmFsDialog::wireConversionTab()
{
    connect(vfgPreConv, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgPreConv_BeforeEdit);
    connect(vfgPreConv, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgPreConv_ValidateEdit);
    connect(vfgUserConv, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgUserConv_BeforeEdit);
    connect(vfgUserConv, &FlexGrid::KeyPressEdit, this, &frmFsDialog::vfgUserConv_KeyPressEdit);
    connect(vfgUserConv, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgUserConv_ValidateEdit);
    connect(vfgUserConv, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgUserConv_AfterEdit);
    connect(vfgUserConv, &FlexGrid::ChangeEdit, this, [this] { LeftSpaceChangeEdit(vfgUserConv, 2); });
    connect(vfgUserConv, &FlexGrid::Click, this, [this] { LeftSpaceClick(vfgUserConv, 2); });
    connect(vfgUserConv, &FlexGrid::RowColChange, this, [this] { LeftSpaceClick(vfgUserConv, 2); });
    connect(vfgUserConv, &FlexGrid::LeaveCell, this, [this] { LeftSpaceLeave(); });
    connect(txtCount, &QLineEdit::textChanged, this, [this] { txtCount_Change(); });
    connect(cmdConvImport, &QPushButton::clicked, this, [this] { cmdConvImport_Click(); });
    connect(cmdConvExport, &QPushButton::clicked, this, [this] { cmdConvExport_Click(); });
}

void frmFsDialog::SetConvGrids()
{
    if (EditInstrument())
        txtCount->setText(QString::number(EditInstrument()->LN_()));
}
void frmFsDialog::CheckConvCells() {}
void frmFsDialog::vfgPreConv_BeforeEdit(int, int, bool &) {}
void frmFsDialog::vfgPreConv_ValidateEdit(int, int, bool &) {}
void frmFsDialog::vfgUserConv_BeforeEdit(int, int, bool &) {}
void frmFsDialog::vfgUserConv_KeyPressEdit(int, int, int &) {}
void frmFsDialog::vfgUserConv_ValidateEdit(int, int, bool &) {}
void frmFsDialog::vfgUserConv_AfterEdit(int, int) {}
void frmFsDialog::txtCount_Change() {}
void frmFsDialog::txtCount_KeyPress(int &) {}
void frmFsDialog::txtCount_Validate(bool &) {}
void frmFsDialog::cmdConvImport_Click() {}
void frmFsDialog::cmdConvExport_Click() {}

bool frmFsDialog::GetPreConvNames(clsInstrument &, QString &) { return true; }
bool frmFsDialog::GetUserConvNames(clsInstrument &, QString &) { return true; }
bool frmFsDialog::GetPreConvAlarms(clsInstrument &, QString &) { return true; }
bool frmFsDialog::GetUserConvAlarms(clsInstrument &, QString &) { return true; }
bool frmFsDialog::GetConvCount(clsInstrument &, QString &) { return true; }
