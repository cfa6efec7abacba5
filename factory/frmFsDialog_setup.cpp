// SET UP, FACTORY SETTINGS and OTHER: the scalar settings as three lists, one row per
// setting. The rules (what a row shows, which code a text stands for, what an edit may
// hold) are FsSetup's; here they meet the grids.
#include "core/Messages.h"
#include "core/modMain.h"
#include "factory/FsRulesSetup.h"
#include "factory/frmFsDialog.h"
#include "model/Rounding.h"
#include "model/clsInstrument.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Twips.h"
#include <QLineEdit>

using namespace FsSetup;

namespace {
// Share of the SET UP grid's width that the caption column takes, in all three lists.
constexpr double kCaptionShare = 0.57;
// Rows the program font is set on (the last row of SET UP and OTHER keep the grid's own).
constexpr std::array<int, kLists> kFontRows = {22, 10, 2};

int CaptionWidth(const QWidget *setUpGrid) { return int(RoundHalfEven(WidthTwips(setUpGrid) * kCaptionShare)); }

// The caption column of a list, from the SET UP grid's width. A tab page gets its size only
// when shown: a list shown before the SET UP grid ever was takes its own width, which is the
// same (the three pages share one tab control).
void sizeList(const std::array<FlexGrid *, kLists> &grids, int index)
{
    const FlexGrid *setUp = grids[ListSetUp];
    const FlexGrid *basis = !setUp->isVisible() && grids[size_t(index)]->isVisible() ? grids[size_t(index)] : setUp;
    grids[size_t(index)]->setColWidth(ColCaption, CaptionWidth(basis));
}
} // namespace

void frmFsDialog::wireSetupTab()
{
    for (int i = 0; i < kLists; ++i) {
        FlexGrid *g = vfgDatas[i];
        connect(g, &FlexGrid::BeforeEdit, this, [this, i](int r, int c, bool &cancel) { vfgDatas_BeforeEdit(i, r, c, cancel); });
        connect(g, &FlexGrid::KeyPressEdit, this, [this, i](int r, int c, int &key) { vfgDatas_KeyPressEdit(i, r, c, key); });
        connect(g, &FlexGrid::ValidateEdit, this, [this, i](int r, int c, bool &cancel) { vfgDatas_ValidateEdit(i, r, c, cancel); });
        connect(g, &FlexGrid::ChangeEdit, this, [this, i] { vfgDatas_ChangeEdit(i); });
        connect(g, &FlexGrid::Click, this, [this, i] { vfgDatas_Click(i); });
        connect(g, &FlexGrid::RowColChange, this, [this, i] { vfgDatas_RowColChange(i); });
        connect(g, &FlexGrid::LeaveCell, this, [this, i] { vfgDatas_LeaveCell(i); });
    }
    // The SET UP grid's size sets every list's caption column.
    vfgDatas[ListSetUp]->setSizeRule([this] {
        for (int i = 0; i < kLists; ++i)
            sizeList(vfgDatas, i);
    });
    for (int i = 1; i < kLists; ++i)
        vfgDatas[i]->setSizeRule([this, i] { sizeList(vfgDatas, i); });
}

// ---- fills ----------------------------------------------------------------------------------

namespace {
void FillList(frmFsDialog &dlg, int index, const clsInstrument &rec)
{
    FlexGrid *g = dlg.vfgDatas[index];
    g->setVisible(false);
    g->Clear();
    g->setCols(3);
    g->setRows(kRows[index]);
    g->setColAlignment(ColValue, FlexGrid::AlignLeftCenter);
    QFont font;
    CopyFont(font, gFont);
    g->setCell(FlexGrid::SetFont, 0, 0, kFontRows[index], 2, font);
    for (int row = 0; row < kRows[index]; ++row) {
        const RowFill f = FillOf(index, row, rec);
        dlg.SetComboList(index, row, f.caption, f.value, f.kind, f.list);
    }
    sizeList(dlg.vfgDatas, index);
    g->setColWidth(ColList, 0);
    g->setExtendLastCol(true);
    g->setEditable(FlexGrid::EditKeyboardMouse);
    g->Refresh();
    g->setVisible(true);
}

const clsInstrument &RecordOf(const frmFsDialog &dlg)
{
    static const clsInstrument empty;
    return dlg.EditInstrument() ? *dlg.EditInstrument() : empty;
}
} // namespace

void frmFsDialog::SetSetUpGrid() { FillList(*this, ListSetUp, RecordOf(*this)); }
void frmFsDialog::SetFactoryGrid() { FillList(*this, ListFactory, RecordOf(*this)); }
void frmFsDialog::SetOtherGrid() { FillList(*this, ListOther, RecordOf(*this)); }

void frmFsDialog::SetComboList(int Index, int Row, const QVariant &Caption, const QVariant &Value, int Kind,
                               const QString &List)
{
    if (Index < 0 || Index >= kLists)
        return;
    FlexGrid *g = vfgDatas[Index];
    if (Row < 0 || Row >= g->Rows())
        return;
    g->setRow(Row);
    g->setTextMatrix(Row, ColCaption, Caption.toString());
    g->setComboList(QString());
    switch (Kind) {
    case KindText:
        g->setTextMatrix(Row, ColValue, Value.toString());
        break;
    case KindCheck:
        g->setCell(FlexGrid::SetChecked, Row, ColValue, Value.toBool() ? FlexGrid::Checked : FlexGrid::Unchecked);
        break;
    case KindList:
        g->setTextMatrix(Row, ColList, List);
        g->setTextMatrix(Row, ColValue, ListEntry(List, Value));
        break;
    default:
        break;
    }
}

// ---- parsers --------------------------------------------------------------------------------

int frmFsDialog::GetDatasValue(int Row) const
{
    return ParseCode(ListSetUp, Row, vfgDatas[ListSetUp]->TextMatrix(Row, ColValue), QString());
}

int frmFsDialog::GetDatasMode(int Row) const
{
    return ParseCode(ListFactory, Row, vfgDatas[ListFactory]->TextMatrix(Row, ColValue),
                     vfgDatas[ListFactory]->TextMatrix(FactoryRow::EditLogo, ColValue));
}

int frmFsDialog::GetDatasUnit(int Row) const
{
    return ParseCode(ListOther, Row, vfgDatas[ListOther]->TextMatrix(Row, ColValue), QString());
}

// ---- editing --------------------------------------------------------------------------------

void frmFsDialog::vfgDatas_BeforeEdit(int Index, int Row, int Col, bool &Cancel)
{
    if (Index < 0 || Index >= kLists)
        return;
    FlexGrid *g = vfgDatas[Index];
    // Only the value column holds a setting; the list column is hidden.
    if (Col != ColValue) {
        Cancel = true;
        return;
    }
    g->setComboList(g->TextMatrix(Row, ColList));
    const bool oxyAlt = vfgOtherSet->Cell(FlexGrid::SetChecked, 2, 1).toInt() == FlexGrid::Checked;
    if (m_edit && EditRefused(Index, Row, *m_edit, oxyAlt))
        Cancel = true;
}

void frmFsDialog::vfgDatas_KeyPressEdit(int Index, int Row, int Col, int &KeyAscii)
{
    if (Index < 0 || Index >= kLists || Col != ColValue)
        return;
    FlexGrid *g = vfgDatas[Index];
    const auto *line = qobject_cast<const QLineEdit *>(g->Editor());
    const int length = int(g->EditText().size());
    const int selected = line ? int(line->selectedText().size()) : 0;
    const int key = FilterKey(Index, Row, KeyAscii, length, selected);
    if (key == 0 && KeyAscii != 0)
        Beep();
    KeyAscii = key;
}

void frmFsDialog::vfgDatas_ValidateEdit(int Index, int Row, int Col, bool &Cancel)
{
    if (Index < 0 || Index >= kLists || m_datasBusy)
        return;
    FlexGrid *g = vfgDatas[Index];
    m_datasBusy = true;
    // Whatever way this handler ends, the flag is down and the cell painted.
    struct Done {
        frmFsDialog *dlg;
        FlexGrid *g;
        int row, col;
        bool &cancel;
        ~Done()
        {
            dlg->m_datasBusy = false;
            g->setCell(FlexGrid::SetBackColor, row, col, cancel ? kRed : kWhite);
        }
    } done{this, g, Row, Col, Cancel};

    const QString s = g->EditText();
    const Verdict v = CheckValue(Index, Row, Col, s);
    if (v.rewrite)
        g->setEditText(v.text);
    if (v.cancel) {
        Cancel = true;
        return;
    }
    if (Col != ColValue || TrimBlanks(s).isEmpty())
        return;
    if (v.raiseCalLimit && m_edit)
        m_edit->setChange_CalLimit(true);

    FlexGrid *setUp = vfgDatas[ListSetUp];
    FlexGrid *factory = vfgDatas[ListFactory];
    FlexGrid *other = vfgDatas[ListOther];
    if (Index == ListFactory && Row == FactoryRow::EditLogo) {
        // The logo list offers the new text; a logo row showing the old text follows it.
        const QString old = factory->TextMatrix(Row, ColValue);
        factory->setTextMatrix(FactoryRow::LogoDisplay, ColList, LogoChoices(s));
        if (factory->TextMatrix(FactoryRow::LogoDisplay, ColValue) == old)
            factory->setTextMatrix(FactoryRow::LogoDisplay, ColValue, s);
    } else if (Index == ListSetUp && Row == SetUpRow::CatUnits) {
        const QString unit = DisplayUnitFor(s);
        if (!unit.isEmpty())
            other->setTextMatrix(OtherRow::CatDisplayUnit, ColValue, unit);
    } else if (Index == ListOther && Row == OtherRow::CatDisplayUnit) {
        const QString units = CatUnitsFor(s);
        if (setUp->TextMatrix(SetUpRow::CatUnits, ColValue) != ChangeOk() && !units.isEmpty())
            setUp->setTextMatrix(SetUpRow::CatUnits, ColValue, units);
    } else if (Index == ListOther && Row == OtherRow::MethaneElimination) {
        vfgGasNameOther->setTextMatrix(1, 5, s);
    } else if (Index == ListSetUp && Row == SetUpRow::SpanFactor) {
        factory->setTextMatrix(FactoryRow::SpanFactor, ColValue, s);
    } else if (Index == ListFactory && Row == FactoryRow::SpanFactor) {
        setUp->setTextMatrix(SetUpRow::SpanFactor, ColValue, s);
    }
}

void frmFsDialog::vfgDatas_ChangeEdit(int Index)
{
    if (Index >= 0 && Index < kLists)
        LeftSpaceChangeEdit(vfgDatas[Index], ColValue);
}

void frmFsDialog::vfgDatas_Click(int Index)
{
    if (Index == ListOther)
        LeftSpaceClick(vfgDatas[Index], ColValue);
}

void frmFsDialog::vfgDatas_RowColChange(int Index)
{
    if (Index >= 0 && Index < kLists)
        LeftSpaceClick(vfgDatas[Index], ColValue);
}

void frmFsDialog::vfgDatas_LeaveCell(int) { LeftSpaceLeave(); }

// ---- apply ----------------------------------------------------------------------------------

bool frmFsDialog::GetDatasGrids(clsInstrument &rec, QString &failure)
{
    Cells cells;
    for (int i = 0; i < kLists; ++i)
        for (int row = 0; row < kRows[i]; ++row)
            cells[i] << vfgDatas[i]->TextMatrix(row, ColValue);
    return Apply(cells, rec, &failure);
}
