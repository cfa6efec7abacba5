// SET UP, FACTORY SETTINGS and OTHER: the scalar settings as three lists.
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"

void frmFsDialog::wireSetupTab()
{
    for (int i = 0; i < 3; ++i) {
        FlexGrid *g = vfgDatas[i];
        connect(g, &FlexGrid::BeforeEdit, this, [this, i](int r, int c, bool &cancel) { vfgDatas_BeforeEdit(i, r, c, cancel); });
        connect(g, &FlexGrid::KeyPressEdit, this, [this, i](int r, int c, int &key) { vfgDatas_KeyPressEdit(i, r, c, key); });
        connect(g, &FlexGrid::ValidateEdit, this, [this, i](int r, int c, bool &cancel) { vfgDatas_ValidateEdit(i, r, c, cancel); });
        connect(g, &FlexGrid::ChangeEdit, this, [this, i] { vfgDatas_ChangeEdit(i); });
        connect(g, &FlexGrid::Click, this, [this, i] { vfgDatas_Click(i); });
        connect(g, &FlexGrid::RowColChange, this, [this, i] { vfgDatas_RowColChange(i); });
        connect(g, &FlexGrid::LeaveCell, this, [this, i] { vfgDatas_LeaveCell(i); });
    }
}

void frmFsDialog::SetSetUpGrid() {}
void frmFsDialog::SetFactoryGrid() {}
void frmFsDialog::SetOtherGrid() {}
void frmFsDialog::SetComboList(int, int, const QVariant &, const QVariant &, int, const QString &) {}
int frmFsDialog::GetDatasValue(int) const { return -1; }
int frmFsDialog::GetDatasMode(int) const { return -1; }
int frmFsDialog::GetDatasUnit(int) const { return -1; }
void frmFsDialog::vfgDatas_BeforeEdit(int, int, int, bool &) {}
void frmFsDialog::vfgDatas_KeyPressEdit(int, int, int, int &) {}
void frmFsDialog::vfgDatas_ValidateEdit(int, int, int, bool &) {}
void frmFsDialog::vfgDatas_ChangeEdit(int) {}
void frmFsDialog::vfgDatas_Click(int) {}
void frmFsDialog::vfgDatas_RowColChange(int) {}
void frmFsDialog::vfgDatas_LeaveCell(int) {}
bool frmFsDialog::GetDatasGrids(clsInstrument &, QString &) { return true; }
