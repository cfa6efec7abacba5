// Editing in the main window: the gas grid's cells, the serial number and the file
// suffix. Every entry is checked in full before anything is stored (GasGridRules);
// an accepted one goes into gInstrument through its user door, raising the flags
// the next upload sends.
#include "mainwindow/frmMain.h"

#include "core/modMain.h"
#include "mainwindow/GasGridRules.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>

using namespace GasGrid;

void frmMain::SetFieldColor(QLineEdit *field, bool refused)
{
    QPalette p = field->palette();
    p.setColor(QPalette::Base, refused ? QColor(255, 0, 0) : QColor(255, 255, 255));
    field->setPalette(p);
}

void frmMain::vfgOption_BeforeEdit(int Row, int Col, bool &Cancel)
{
    if (mGridEditBusy) {
        Cancel = true;
        return;
    }
    mGridEditBusy = true;
    FlexGrid *g = vfgOption;
    g->setRow(Row);
    g->setCol(Col);
    // Cells in the header colour do not apply to their channel.
    Cancel = g->CellBackColor() == g->BackColorFixed() || Row < kHeaderRows
             || !CellApplies(ChannelOfRow(Row), Col);
    mGridEditBusy = false;
}

void frmMain::vfgOption_ValidateEdit(int Row, int Col, bool &Cancel)
{
    if (mGridEditBusy)
        return;
    Cancel = false;
    FlexGrid *g = vfgOption;
    const QString typed = g->EditText();
    mGridEditBusy = true;

    clsInstrument &inst = gInstrument();
    const Entry entry = CheckEntry(inst, Row, Col, typed, gCsaLimitEnabled);
    switch (entry.action) {
    case Entry::Action::KeepOld:
        // No gas on this channel: the cell cannot change.
        g->setEditText(g->TextMatrix(Row, Col));
        break;
    case Entry::Action::Refuse:
        // The editor stays open with what was typed; nothing is stored.
        Cancel = true;
        break;
    case Entry::Action::Store:
        if (StoreEntry(inst, Row, Col, entry))
            g->setEditText(CellText(inst, ChannelOfRow(Row), Col));
        else
            Cancel = true;
        break;
    }

    CheckAlarmCells();
    mGridEditBusy = false;
}

void frmMain::vfgOption_AfterEdit(int, int) {}

void frmMain::txtOption_Change(int Index)
{
    if (Index == 0)
        lblSpaceCount->setText(SerialField::SpaceCountText(txtOption[0]->text()));
    else
        lblSpaceCount->clear();
}

void frmMain::txtOption_GotFocus(int Index) { txtOption_Change(Index); }

void frmMain::txtOption_LostFocus(int) { lblSpaceCount->clear(); }

// Keys are only filtered here; the text is stored when the field is left and passes.
void frmMain::txtOption_KeyPress(int Index, int16_t &KeyAscii)
{
    if (Index != 0)
        return;
    QLineEdit *field = txtOption[0];
    const int key = SerialField::FilterKey(KeyAscii, int(field->text().size()), int(field->selectedText().size()));
    if (key == 0) {
        KeyAscii = 0;
        Beep();
        return;
    }
    KeyAscii = int16_t(key);
}

void frmMain::txtOption_Validate(int Index, bool &Cancel)
{
    if (Index != 0)
        return;
    QLineEdit *field = txtOption[0];
    if (!SerialField::Acceptable(field->text())) {
        SetFieldColor(field, true);
        Cancel = true;
        return;
    }
    SetFieldColor(field, false);
    // Only the user's own change is a new serial number: a field merely shown (or
    // emptied after a power-off) and left again is not.
    if (field->isModified()) {
        gInstrument().setSerialNo(field->text());
        field->setModified(false);
    }
    ApplyEntryStates(); // a field kept for its refusal follows the state again
}

void frmMain::txtSuffix_Validate(bool &Cancel)
{
    if (!FileSuffixAcceptable(txtSuffix->text())) {
        SetFieldColor(txtSuffix, true);
        Cancel = true;
        return;
    }
    SetFieldColor(txtSuffix, false);
    gFactorySuffix = txtSuffix->text();
    ApplyEntryStates();
}
