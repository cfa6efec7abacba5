// Pre-defined and user conversion tables and the available count. The entry rules are
// FsConv's; here they meet the grids, the count box and the list file.
#include "core/modMain.h"
#include "factory/FsRulesConversion.h"
#include "factory/ListFiles.h"
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Tabs.h"
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

using namespace FsConv;

namespace {

constexpr int kWhite = 16777215;
constexpr int kRed = 255;
constexpr int kBlack = 0;
constexpr std::array<int, kCols> kWidths = {400, 900, 2970, 900, 900, 900, 900, 100};
const QString kCaptions = QStringLiteral("No|Name|Long Name|Factor|1st|2nd|Ratio|Volt");

RowTexts rowOf(const FlexGrid *g, int r)
{
    RowTexts row;
    for (int c = 0; c < kCols; ++c)
        row[size_t(c)] = g->TextMatrix(r, c);
    return row;
}

QVector<RowTexts> rowsOf(const FlexGrid *g)
{
    QVector<RowTexts> rows;
    for (int r = 1; r < g->Rows(); ++r)
        rows.append(rowOf(g, r));
    return rows;
}

// Clears the grid and writes the header, the layout and one row per entry.
void fillConv(FlexGrid *g, int rows, const std::function<RowTexts(int)> &row)
{
    g->Clear();
    g->setCols(kCols);
    g->setRows(rows + 1);
    g->setFormatString(kCaptions);
    for (int c = 0; c < kCols; ++c)
        g->setColWidth(c, kWidths[size_t(c)]);
    g->setCell(FlexGrid::SetAlignment, 1, ColName, rows, ColLongName, FlexGrid::AlignLeftCenter);
    g->setEditable(FlexGrid::EditKeyboardMouse);
    for (int i = 0; i < rows; ++i) {
        const RowTexts t = row(i);
        g->setTextMatrix(i + 1, ColNo, QString::number(i + 1));
        for (int c = ColName; c < kCols; ++c)
            g->setTextMatrix(i + 1, c, t[size_t(c)]);
    }
}

// Both grids in the order of the list file: the user rows, then the pre-defined ones.
struct ConvGrid {
    const FlexGrid *grid;
    bool user;
    const char *list;
};
std::array<ConvGrid, 2> convGrids(const FlexGrid *user, const FlexGrid *pre)
{
    return {{{user, true, "User Defined Conversion Table"}, {pre, false, "Pre-Defined Conversion Table"}}};
}
// A cell as the refusals name it: "User Defined Conversion Table: row 2, 1st".
QString cellName(const ConvGrid &g, int r, int c)
{
    return QStringLiteral("%1: row %2, %3").arg(QLatin1String(g.list)).arg(r).arg(g.grid->TextMatrix(0, c));
}

bool grey(const FlexGrid *g, int r, int c) { return g->Cell(FlexGrid::SetBackColor, r, c).toInt() == g->GreyColor(); }

// A row as nobody entered it: the instrument's values, but the edit record's where it
// marks no change (what a loaded file did not hold, which OK never sends either).
RowTexts givenRow(const clsInstrument &inst, const clsInstrument &edit, bool user, int i)
{
    RowTexts t = RecordRow(inst, user, i);
    const RowTexts shown = RecordRow(edit, user, i);
    const bool names = user ? edit.Change_LO_(i) : edit.Change_LB_(i);
    const bool levels = edit.Change_LA_(user ? kUserLaBase + i : i);
    for (int c = ColName; c < kCols; ++c)
        if (!(c <= ColFactor ? names : levels))
            t[size_t(c)] = shown[size_t(c)];
    return t;
}

// The whole-grid check of one grid: what differs from the row as nobody entered it is
// judged by the editor's rule and normalised when asked; every row, whatever the count.
// The pre-defined grid's grey cells show a refusal in their text.
void checkConvGrid(FlexGrid *g, bool user, const clsInstrument &inst, const clsInstrument &edit, bool normalise)
{
    for (int r = 1; r < g->Rows(); ++r) {
        const RowTexts given = givenRow(inst, edit, user, r - 1);
        const auto cells = CheckRow(user, rowOf(g, r), &given);
        for (int c = ColName; c < kCols; ++c) {
            const CellCheck &cell = cells[size_t(c)];
            if (normalise)
                g->setTextMatrix(r, c, cell.text);
            if (user || c == ColFirst || c == ColSecond)
                g->setCell(FlexGrid::SetBackColor, r, c, cell.bad ? kRed : kWhite);
            else
                g->setCell(FlexGrid::SetForeColor, r, c, cell.bad ? kRed : kBlack);
        }
    }
}

// A count the box may not hold (one above 30 read from an instrument) shows red; the
// checks then refuse OK, and nothing reads past the table.
void paintCount(QLineEdit *box)
{
    const bool good = CountValue(box->text()).has_value();
    box->setStyleSheet(good ? QString() : QStringLiteral("QLineEdit { background-color: red; }"));
}

// False once the dialog is being destroyed: its widgets may still send events then.
bool alive(frmFsDialog *dlg) { return qobject_cast<frmFsDialog *>(static_cast<QObject *>(dlg)) != nullptr; }

// The count box's own events: the key filter and Validate (a refusal keeps the focus).
class CountBoxEvents : public QObject {
public:
    CountBoxEvents(frmFsDialog *dlg) : QObject(dlg), m_dlg(dlg) {}
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!alive(m_dlg))
            return false;
        if (event->type() == QEvent::KeyPress) {
            auto *ke = static_cast<QKeyEvent *>(event);
            int key = 0;
            if (ke->key() == Qt::Key_Backspace)
                key = 8;
            else if (ke->text().size() == 1 && ke->text().at(0).unicode() >= 32)
                key = ke->text().at(0).unicode();
            else
                return false;
            m_dlg->txtCount_KeyPress(key);
            if (key == 0)
                return true;
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                return false;
            bool cancel = false;
            m_dlg->txtCount_Validate(cancel);
            if (cancel) {
                QPointer<QWidget> box = static_cast<QWidget *>(watched);
                QTimer::singleShot(0, m_dlg, [box] {
                    if (box)
                        box->setFocus(Qt::OtherFocusReason);
                });
            }
        }
        return false;
    }

private:
    frmFsDialog *m_dlg;
};

} // namespace

void frmFsDialog::wireConversionTab()
{
    txtCount->setText(QStringLiteral("30"));
    updCount->setMin(0);
    updCount->setMax(CountMax());
    txtCount->installEventFilter(new CountBoxEvents(this));
    connect(vfgPreConv, &FlexGrid::BeforeEdit, this, &frmFsDialog::vfgPreConv_BeforeEdit);
    connect(vfgPreConv, &FlexGrid::ValidateEdit, this, &frmFsDialog::vfgPreConv_ValidateEdit);
    connect(vfgPreConv, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgPreConv_AfterEdit);
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
    static const clsInstrument empty;
    const clsInstrument &rec = EditInstrument() ? *EditInstrument() : empty;
    fillConv(vfgPreConv, kPreRows, [&rec](int i) { return RecordRow(rec, false, i); });
    vfgPreConv->setCell(FlexGrid::SetBackColor, 1, ColNo, kPreRows, ColFactor, vfgPreConv->GreyColor());
    vfgPreConv->setCell(FlexGrid::SetBackColor, 1, ColRatio, kPreRows, ColVolt, vfgPreConv->GreyColor());
    {
        const QSignalBlocker quiet(txtCount);
        txtCount->setText(QString::number(rec.LN_()));
        paintCount(txtCount);
    }
    fillConv(vfgUserConv, kUserRows, [&rec](int i) { return RecordRow(rec, true, i); });
    // The instrument's own values are shown as they are; what a loaded file brought is
    // judged as an edit would be.
    MarkConvCells();
}

const clsInstrument &frmFsDialog::InstrumentValues() const
{
    static const clsInstrument empty;
    return m_instrument ? *m_instrument : m_edit ? *m_edit : empty;
}

const clsInstrument &frmFsDialog::EditValues() const { return m_edit ? *m_edit : InstrumentValues(); }

void frmFsDialog::CheckConvCells()
{
    const clsInstrument &edit = EditValues();
    checkConvGrid(vfgUserConv, true, InstrumentValues(), edit, true);
    checkConvGrid(vfgPreConv, false, InstrumentValues(), edit, true);
}

void frmFsDialog::MarkConvCells()
{
    const clsInstrument &edit = EditValues();
    checkConvGrid(vfgUserConv, true, InstrumentValues(), edit, false);
    checkConvGrid(vfgPreConv, false, InstrumentValues(), edit, false);
}

void frmFsDialog::vfgPreConv_BeforeEdit(int Row, int Col, bool &Cancel)
{
    const clsInstrument *rec = EditInstrument();
    if (Row == 0 || Col == 0 || grey(vfgPreConv, Row, Col) || (rec && !ColumnTaken(*rec, false, Col)))
        Cancel = true;
}

void frmFsDialog::vfgUserConv_BeforeEdit(int Row, int Col, bool &Cancel)
{
    // The user rows' levels are LA entries too: an instrument that refuses LA takes none.
    const clsInstrument *rec = EditInstrument();
    if (Row == 0 || Col == 0 || grey(vfgUserConv, Row, Col) || (rec && !ColumnTaken(*rec, true, Col))) {
        Cancel = true;
        return;
    }
    vfgUserConv->setComboList(Col == ColVolt ? kVoltME + QLatin1Char('|') + kVoltNormal : QString());
}

void frmFsDialog::vfgUserConv_KeyPressEdit(int, int Col, int &KeyAscii)
{
    KeyAscii = FilterUserKey(Col, KeyAscii, vfgUserConv->EditText());
    if (KeyAscii == 0)
        Beep();
}

namespace {
void validateConv(FlexGrid *g, int Row, int Col, bool &Cancel, bool user)
{
    const QString s = g->EditText();
    const RowTexts row = rowOf(g, Row);
    const Verdict v = user ? ValidateUserEdit(Col, s, row) : ValidatePreEdit(Col, s, row);
    if (v.text != s)
        g->setEditText(v.text);
    Cancel = !v.ok;
    g->setCell(FlexGrid::SetBackColor, Row, Col, Cancel ? kRed : kWhite);
}
} // namespace

void frmFsDialog::vfgPreConv_ValidateEdit(int Row, int Col, bool &Cancel) { validateConv(vfgPreConv, Row, Col, Cancel, false); }
void frmFsDialog::vfgUserConv_ValidateEdit(int Row, int Col, bool &Cancel) { validateConv(vfgUserConv, Row, Col, Cancel, true); }

// An accepted edit can leave the row's other cells out of their rule (a ratio below the
// levels): the row is judged again, nothing rewritten.
void frmFsDialog::vfgPreConv_AfterEdit(int, int) { MarkConvCells(); }
void frmFsDialog::vfgUserConv_AfterEdit(int, int) { MarkConvCells(); }

// Every row is checked whatever the count, so a new count only changes what OK sends.
void frmFsDialog::txtCount_Change() { paintCount(txtCount); }

void frmFsDialog::txtCount_KeyPress(int &KeyAscii)
{
    KeyAscii = FilterCountKey(KeyAscii, txtCount->text());
    if (KeyAscii == 0)
        Beep();
}

void frmFsDialog::txtCount_Validate(bool &Cancel)
{
    const std::optional<int> n = CountValue(txtCount->text());
    if (!n) {
        Cancel = true;
        return;
    }
    if (txtCount->text() != QString::number(*n))
        txtCount->setText(QString::number(*n));
}

// ---- list file ------------------------------------------------------------------------------

void frmFsDialog::cmdConvExport_Click()
{
    const QString pre = QStringLiteral("Pre-Defined Conversion Table");
    const QString user = QStringLiteral("User Defined Conversion Table");
    if (!CheckPreConvGrid()) {
        ShowImproperData(pre);
        return;
    }
    if (!CheckUserConvGrid()) {
        ShowImproperData(user);
        return;
    }
    if (const QString cell = ConvNotComingBack(); !cell.isEmpty()) {
        ShowImproperData(cell);
        return;
    }
    if (const UnreadCell unread = UnreadConv(false); !unread.where.isEmpty()) {
        ShowImproperData(unread.where, unread.reason);
        return;
    }
    auto fileRows = [](const FlexGrid *g) {
        QVector<ConversionListFile::Row> rows;
        for (const RowTexts &t : rowsOf(g)) {
            ConversionListFile::Row row;
            std::copy(t.begin() + 1, t.end(), row.begin());
            rows.append(row);
        }
        return rows;
    };
    const QString file = AskListFile(true, QStringLiteral("Conversion.csv"));
    if (file.isEmpty())
        return;
    ShowExportResult(ConversionListFile::Write(file, fileRows(vfgUserConv), fileRows(vfgPreConv)));
}

QString frmFsDialog::ConvNotComingBack() const
{
    // Every cell written must come back as itself: into its own cell (not a line end), and
    // a name or long name past the name rule an import or a load judges it by wherever it
    // is read (one from the instrument holding a brace or "," would be red there). The
    // numbers go as the instrument gave them.
    for (const ConvGrid &g : convGrids(vfgUserConv, vfgPreConv)) {
        const QVector<RowTexts> rows = rowsOf(g.grid);
        for (int i = 0; i < rows.size(); ++i) {
            ConversionListFile::Row row;
            std::copy(rows.at(i).begin() + 1, rows.at(i).end(), row.begin());
            int c = ConversionListFile::FirstCellNotReadBack(row) + 1;
            if (c == 0) {
                const auto judged = CheckRow(g.user, rows.at(i), nullptr);
                for (int col : {ColName, ColLongName})
                    if (c == 0 && judged[size_t(col)].bad)
                        c = col;
            }
            if (c > 0)
                return cellName(g, i + 1, c);
        }
    }
    return QString();
}

frmFsDialog::UnreadCell frmFsDialog::UnreadConv(bool withCount) const
{
    // A value the download could not read, shown as it was left, is nobody's: it goes nowhere.
    const clsInstrument &edit = EditValues();
    for (const ConvGrid &g : convGrids(vfgUserConv, vfgPreConv)) {
        const GridCell at = FirstUnreadCell(
            edit, g.grid, g.grid->Rows() - 1, ColName, kCols, [&g](int e, int c) { return ValueOf(g.user, e, c); },
            [&](int e, int c) { return RecordRow(edit, g.user, e)[size_t(c)]; });
        if (at.entry >= 0)
            return {cellName(g, at.entry + 1, at.col), UnreadReason(LineOf(g.user, at.entry, at.col))};
    }
    if (withCount && edit.isUnread(clsInstrument::M::LN_) && txtCount->text() == QString::number(edit.LN_()))
        return {QStringLiteral("Pre-Defined Conversion Table: Available Count"),
                UnreadReason({QStringLiteral("LN"), -1})};
    return {};
}

void frmFsDialog::cmdConvImport_Click()
{
    const QString file = AskListFile(false, QString());
    if (file.isEmpty())
        return;
    const ConversionListFile::ReadResult read = ConversionListFile::Read(file);
    if (!read) {
        ShowImproperFile();
        return;
    }
    static const clsInstrument none;
    clsInstrument *edit = EditInstrument();
    const clsInstrument &rec = edit ? *edit : none;
    vfgUserConv->CancelEdit();
    vfgPreConv->CancelEdit();
    for (int n = 0; n < read.rows.size(); ++n) {
        const bool user = n < kUserRows;
        FlexGrid *g = user ? vfgUserConv : vfgPreConv;
        const int i = user ? n : n - kUserRows;
        // Columns of a group the instrument refuses are not filled; an entry is marked
        // changed only where the file changed what the grid showed of the record, or gave
        // a value the download could not read.
        const RowTexts shown = RecordRow(rec, user, i);
        bool names = false, levels = false;
        for (int c = ColName; c < kCols; ++c) {
            if (!ColumnTaken(rec, user, c))
                continue;
            const QString &text = read.rows.at(n)[size_t(c - 1)];
            g->setTextMatrix(i + 1, c, text);
            (c <= ColFactor ? names : levels) |= text != shown[size_t(c)];
            if (edit)
                TakeGiven(*edit, ValueOf(user, i, c));
        }
        if (!edit)
            continue;
        if (names)
            user ? edit->setChange_LO_(i, true) : edit->setChange_LB_(i, true);
        if (levels)
            edit->setChange_LA_(user ? kUserLaBase + i : i, true);
    }
    CheckConvCells();
}

// ---- apply ----------------------------------------------------------------------------------

void frmFsDialog::GetPreConvNames(clsInstrument &rec) { ApplyConvNames(rec, rowsOf(vfgPreConv), false); }

void frmFsDialog::GetUserConvNames(clsInstrument &rec) { ApplyConvNames(rec, rowsOf(vfgUserConv), true); }

void frmFsDialog::GetPreConvAlarms(clsInstrument &rec) { ApplyConvAlarms(rec, rowsOf(vfgPreConv), false); }

void frmFsDialog::GetUserConvAlarms(clsInstrument &rec) { ApplyConvAlarms(rec, rowsOf(vfgUserConv), true); }

bool frmFsDialog::GetConvCount(clsInstrument &rec, QString &failure)
{
    if (!CountValue(txtCount->text())) {
        failure = QStringLiteral("Pre-Defined Conversion Table");
        return false;
    }
    ApplyConvCount(rec, txtCount->text());
    return true;
}
