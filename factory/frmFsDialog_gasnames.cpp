// Gas names, long names and ratios of the channels, and the two other gases.
#include "core/modMain.h"
#include "factory/FsRulesGasNames.h"
#include "factory/FsRulesPID.h"
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include <QHeaderView>
#include <QTableView>

namespace {

constexpr int kRed = 255;
constexpr int kWhite = 16777215;

FsGasNames::Texts gridTexts(const FlexGrid *g)
{
    FsGasNames::Texts t(g->Rows());
    for (int r = 0; r < g->Rows(); ++r)
        for (int c = 0; c < g->Cols(); ++c)
            t[r] << g->TextMatrix(r, c);
    return t;
}

QStringList column(const FlexGrid *g, int col)
{
    QStringList out;
    for (int r = 1; r < g->Rows(); ++r)
        out << g->TextMatrix(r, col);
    return out;
}

void fill(FlexGrid *g, const FsGasNames::Texts &texts, const QVector<QVector<bool>> &grey)
{
    for (int r = 0; r < texts.size(); ++r)
        for (int c = 0; c < texts.at(r).size(); ++c) {
            g->setTextMatrix(r, c, texts.at(r).at(c));
            if (grey.at(r).at(c))
                g->setCell(FlexGrid::SetBackColor, r, c, g->GreyColor());
        }
}

bool isGrey(const FlexGrid *g, int r, int c) { return g->Cell(FlexGrid::SetBackColor, r, c).toInt() == g->GreyColor(); }

// The other gases line up under the channels' columns; the ratio column takes what the
// channels' last column spans less the factor and EV columns, so all six stay in view.
void sizeGasNameOther(const FlexGrid *names, FlexGrid *other)
{
    for (int c = 0; c < 3; ++c)
        other->setColWidth(c, names->ColWidth(c));
    other->setColWidth(4, 1100);
    other->setColWidth(5, 900);
    other->setColWidth(3, qMax(names->ColWidth(3) - other->ColWidth(4) - other->ColWidth(5), 900));
}

} // namespace

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
    vfgGasName->setExtendLastCol(true);
    vfgGasNameOther->setSizeRule([this] { sizeGasNameOther(vfgGasName, vfgGasNameOther); });
    connect(vfgGasName->view()->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { sizeGasNameOther(vfgGasName, vfgGasNameOther); });
}

void frmFsDialog::SetGasNameGrids()
{
    using namespace FsGasNames;
    if (!m_edit)
        m_edit = std::make_unique<clsInstrument>();
    const Fill f = FillTexts(*m_edit);
    QFont font;
    CopyFont(font, gFont);

    vfgGasName->Clear();
    vfgGasName->setRows(kNameRows);
    vfgGasName->setCols(kNameCols);
    vfgGasName->setCell(FlexGrid::SetFont, 0, 0, kNameRows - 1, kNameCols - 1, font);
    vfgGasName->setCell(FlexGrid::SetAlignment, 0, 1, kNameRows - 1, kNameCols - 1, int(FlexGrid::AlignLeftCenter));
    fill(vfgGasName, f.names, f.namesGrey);

    // Refilled whole as well: a red mark must not outlive the values it was about.
    vfgGasNameOther->Clear();
    vfgGasNameOther->setRows(kOtherRows);
    vfgGasNameOther->setCols(kOtherCols);
    vfgGasNameOther->setCell(FlexGrid::SetFont, 0, 0, kOtherRows - 1, kOtherCols - 1, font);
    sizeGasNameOther(vfgGasName, vfgGasNameOther);
    fill(vfgGasNameOther, f.other, f.otherGrey);

    // A name as the instrument gave it goes back as it came and is never marked, whatever it
    // holds; one a load brought in is judged as a typed one, and marked where the technician
    // can mend it (a locked cell goes back as it came).
    const Fill given = FillTexts(InstrumentValues());
    for (const EditableNameCell &k : EditableGasNameCells()) {
        const Texts &shown = k.other ? f.other : f.names;
        const Texts &was = k.other ? given.other : given.names;
        if (NameCellRefused(k.other, k.row, k.col, k.gasType, shown[k.row][k.col], was[k.row][k.col]))
            (k.other ? vfgGasNameOther : vfgGasName)->setCell(FlexGrid::SetBackColor, k.row, k.col, kRed);
    }
}

QVector<frmFsDialog::EditableNameCell> frmFsDialog::EditableGasNameCells() const
{
    using namespace FsGasNames;
    QVector<EditableNameCell> cells;
    if (!m_edit)
        return cells;
    const Texts other = gridTexts(vfgGasNameOther);
    const QStringList pidNames = column(vfgPID[1], FsPid::ColName);
    for (int r = 1; r < kNameRows; ++r)
        for (int c : {int(ColName), int(ColLongName)}) {
            const int t = m_edit->GasType(r - 1);
            if (BeforeName(r, c, t, isGrey(vfgGasName, r, c), m_edit->invalidGN(), other, pidNames))
                cells.append({false, r, c, t});
        }
    for (int r = 1; r < kOtherRows; ++r)
        for (int c : {int(ColName), int(ColLongName)})
            if (BeforeOther(r, c, isGrey(vfgGasNameOther, r, c), *m_edit))
                cells.append({true, r, c, 0});
    return cells;
}

void frmFsDialog::vfgGasName_BeforeEdit(int Row, int Col, bool &Cancel)
{
    vfgGasName->setRow(Row);
    vfgGasName->setCol(Col);
    const auto list = FsGasNames::BeforeName(Row, Col, m_edit->GasType(Row - 1), isGrey(vfgGasName, Row, Col),
                                             m_edit->invalidGN(), gridTexts(vfgGasNameOther),
                                             column(vfgPID[1], FsPid::ColName));
    Cancel = !list;
    if (list)
        vfgGasName->setComboItems(*list, true); // choose or type
}

void frmFsDialog::vfgGasName_ValidateEdit(int Row, int Col, bool &Cancel)
{
    using namespace FsGasNames;
    CellEdit e = KeptAsGiven(ValidateName(Row, Col, m_edit->GasType(Row - 1), vfgGasName->EditText()), Col,
                             vfgGasName->EditText(), FillTexts(InstrumentValues()).names.value(Row).value(Col));
    // A rename of channel 0 recomputes the CAT range points from its alarm points and the
    // ratio: one that would not fit is refused here, where it is typed.
    if (e.accept && Row == kCatRow && (Col == ColName || Col == ColScale)) {
        const QString name = Col == ColName ? e.text : vfgGasName->TextMatrix(Row, ColName);
        const QString ratio = Col == ColScale ? e.text : vfgGasName->TextMatrix(Row, ColScale);
        if (Channel0Renamed(*m_edit, name, FillTexts(*m_edit)) && !Channel0CatPoints(*m_edit, ratio)) {
            e.accept = false;
            e.paint = true;
        }
    }
    if (e.text != vfgGasName->EditText())
        vfgGasName->setEditText(e.text);
    Cancel = !e.accept;
    if (e.paint)
        vfgGasName->setCell(FlexGrid::SetBackColor, Row, Col, e.accept ? kWhite : kRed);
}

void frmFsDialog::vfgGasName_AfterEdit(int Row, int Col)
{
    using namespace FsGasNames;
    if (Col != ColName)
        return;
    const int ch = Row - 1;
    const int t = m_edit->GasType(ch);
    if (t == kThermal)
        vfgGasName->setTextMatrix(Row, Col, vfgGasName->TextMatrix(Row, Col).left(3));
    const QString name = vfgGasName->TextMatrix(Row, Col);
    vfgChannel->setTextMatrix(Row, 0, name);
    vfgOtherSet->setTextMatrix(Row, 0, name);

    const Companions c = CompanionsFor(t, vfgGasName->ComboIndex(), gridTexts(vfgGasNameOther),
                                       column(vfgPID[1], FsPid::ColLongName));
    if (c.longName) {
        // The copy is a new value of the channel's long name, unless it is the one the
        // instrument gave this channel.
        const QString given = FillTexts(InstrumentValues()).names.value(Row).value(ColLongName);
        vfgGasName->setTextMatrix(Row, ColLongName, *c.longName);
        vfgGasName->setCell(FlexGrid::SetBackColor, Row, ColLongName,
                            c.longNameRefused && *c.longName != given ? kRed : kWhite);
    }
    if (c.scale)
        vfgGasName->setTextMatrix(Row, ColScale, *c.scale);
    if (c.desit && *c.desit != m_edit->GasDesit(ch))
        m_edit->setGasDesit(ch, *c.desit);
    if (c.catOtherSelect && *c.catOtherSelect != m_edit->CATOtherSelect())
        m_edit->setCATOtherSelect(*c.catOtherSelect);
}

void frmFsDialog::vfgGasName_ComboDropDown(int Row, int Col)
{
    // Only the catalytic row's list ends with the catalytic other gas.
    if (Row == FsGasNames::kCatRow && Col == FsGasNames::ColName && m_edit->CATOtherSelect() == 1)
        vfgGasName->setComboIndex(vfgGasName->ComboCount() - 1);
}

void frmFsDialog::vfgGasNameOther_BeforeEdit(int Row, int Col, bool &Cancel)
{
    const auto list = FsGasNames::BeforeOther(Row, Col, isGrey(vfgGasNameOther, Row, Col), *m_edit);
    Cancel = !list;
    if (list)
        vfgGasNameOther->setComboList(*list);
}

void frmFsDialog::vfgGasNameOther_KeyPressEdit(int, int Col, int &KeyAscii)
{
    const int key = FsGasNames::FilterOtherKey(Col, KeyAscii, TypedLength(vfgGasNameOther));
    if (key == 0 && KeyAscii != 0)
        Beep();
    KeyAscii = key;
}

void frmFsDialog::vfgGasNameOther_ValidateEdit(int Row, int Col, bool &Cancel)
{
    using namespace FsGasNames;
    const QString text = vfgGasNameOther->EditText();
    const CellEdit e = KeptAsGiven(ValidateOther(Row, Col, text), Col, text,
                                   FillTexts(InstrumentValues()).other.value(Row).value(Col));
    if (e.text != vfgGasNameOther->EditText())
        vfgGasNameOther->setEditText(e.text);
    Cancel = !e.accept;
    if (e.accept && Row == kCatRow && Col == ColEV)
        vfgDatas[2]->setTextMatrix(3, 1, e.text); // METHANE ELIMINATION
    if (e.paint)
        vfgGasNameOther->setCell(FlexGrid::SetBackColor, Row, Col, e.accept ? kWhite : kRed);
}

QString frmFsDialog::GasNamesNotComingBack() const
{
    // Judged as a load of them would be elsewhere, the cells the technician can mend.
    for (const EditableNameCell &k : EditableGasNameCells()) {
        const FlexGrid *g = k.other ? vfgGasNameOther : vfgGasName;
        if (FsGasNames::NameCellAcceptable(k.other, k.row, k.col, k.gasType, g->TextMatrix(k.row, k.col)))
            continue;
        return QStringLiteral("%1: %2, %3")
            .arg(k.other ? QStringLiteral("Other Name") : QStringLiteral("GAS Name && Ratio"),
                 g->TextMatrix(k.row, 0).trimmed(), g->TextMatrix(0, k.col));
    }
    return QString();
}

// The grids were filled from the working copy, which keeps those values until the next
// fill: its fill texts are what the grids showed.
void frmFsDialog::GetGasNameGrid(clsInstrument &rec)
{
    FsGasNames::ApplyChannelNames(rec, gridTexts(vfgGasName), FsGasNames::FillTexts(*m_edit));
}

bool frmFsDialog::GetChannel0Mirror(clsInstrument &rec, QString &failure)
{
    if (FsGasNames::ApplyChannel0Mirror(rec, gridTexts(vfgGasName), FsGasNames::FillTexts(*m_edit)))
        return true;
    failure = QStringLiteral("GAS Name && Ratio, STD1");
    return false;
}

void frmFsDialog::GetGasNameOtherGrid(clsInstrument &rec)
{
    FsGasNames::ApplyOtherNames(rec, gridTexts(vfgGasName), gridTexts(vfgGasNameOther),
                                FsGasNames::FillTexts(*m_edit));
}
