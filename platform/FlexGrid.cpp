#include "platform/FlexGrid.h"
#include "platform/FlexGridDelegate.h"
#include "platform/FlexGridView.h"
#include "platform/Twips.h"
#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>

namespace {
constexpr int kDefaultColWidthPx = 64;

QStringList splitList(const QString &list, bool *typing)
{
    QString l = list;
    *typing = l.startsWith(QLatin1Char('|'));
    if (*typing)
        l.remove(0, 1);
    if (l.isEmpty())
        return {};
    return l.split(QLatin1Char('|'));
}
} // namespace

// Raises ComboDropDown before the list opens, so a handler can still pick the entry.
class FlexGridCombo : public QComboBox {
public:
    FlexGridCombo(FlexGrid *grid, QWidget *parent) : QComboBox(parent), m_grid(grid) {}
    void showPopup() override
    {
        emit m_grid->ComboDropDown(m_grid->EditRow(), m_grid->EditCol());
        QComboBox::showPopup();
    }
private:
    FlexGrid *m_grid;
};

class FlexGridModel : public QAbstractTableModel {
public:
    explicit FlexGridModel(FlexGrid *g) : QAbstractTableModel(g), m_grid(g) {}
    int rowCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : m_grid->m_rowCount; }
    int columnCount(const QModelIndex &p = {}) const override { return p.isValid() ? 0 : m_grid->m_colCount; }
    QVariant data(const QModelIndex &i, int role) const override
    {
        if (!i.isValid() || !m_grid->valid(i.row(), i.column()))
            return {};
        const auto &c = m_grid->cellRef(i.row(), i.column());
        if (role == Qt::DisplayRole)
            return c.text;
        if (role == Qt::FontRole && c.hasFont)
            return c.font;
        return {};
    }
    Qt::ItemFlags flags(const QModelIndex &) const override { return Qt::ItemIsEnabled; }
    void reset(const std::function<void()> &f) { beginResetModel(); f(); endResetModel(); }
    void changed(int r1, int c1, int r2, int c2) { emit dataChanged(index(r1, c1), index(r2, c2)); }
private:
    FlexGrid *m_grid;
};

// ---------------------------------------------------------------------------

FlexGrid::FlexGrid(QWidget *parent) : QWidget(parent)
{
    m_model = new FlexGridModel(this);
    m_view = new FlexGridView(this);
    m_view->setModel(m_model);
    m_view->setItemDelegate(new FlexGridDelegate(this));
    m_view->horizontalHeader()->hide();
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setMinimumSectionSize(1);
    m_view->verticalHeader()->setMinimumSectionSize(1);
    m_view->horizontalHeader()->setDefaultSectionSize(kDefaultColWidthPx);
    m_view->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    m_view->setSelectionMode(QAbstractItemView::NoSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setTabKeyNavigation(false);
    m_view->setFocusPolicy(Qt::StrongFocus);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_view->setGridStyle(Qt::SolidLine);
    m_view->initFrozen([this] { return new FlexGridDelegate(this); });
    m_view->setFrozen(m_fixedRows, m_fixedCols);
    m_view->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(m_view);
    setFocusProxy(m_view);
    auto follow = [this] { placeEditor(); };
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, this, follow);
    resizeGrid(2, 2);
}

FlexGrid::~FlexGrid() = default;

QTableView *FlexGrid::view() const { return m_view; }

// --- size -------------------------------------------------------------------

void FlexGrid::resizeGrid(int rows, int cols)
{
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    if (m_editing && (m_editRow >= rows || m_editCol >= cols))
        CancelEdit();
    m_model->reset([&] {
        QVector<CellData> cells(rows * cols);
        for (int r = 0; r < std::min(rows, m_rowCount); ++r)
            for (int c = 0; c < std::min(cols, m_colCount); ++c)
                cells[r * cols + c] = cellRef(r, c);
        m_cells = std::move(cells);
        m_rowCount = rows;
        m_colCount = cols;
        m_colWidth.resize(cols, -1);
        m_colAlign.resize(cols, -1);
        m_rowHeight.resize(rows, -1);
        m_mergeRow.resize(rows, false);
    });
    if (m_row < 0 || m_row >= rows)
        m_row = rows == 0 ? -1 : std::min(m_fixedRows, rows - 1);
    if (m_col < 0 || m_col >= cols)
        m_col = cols == 0 ? -1 : std::min(m_fixedCols, cols - 1);
    applyRowHeights();
    applyColumnWidths();
    m_view->syncFrozen();
    updateSpans();
}

int FlexGrid::Rows() const { return m_rowCount; }
void FlexGrid::setRows(int rows) { if (rows != m_rowCount) resizeGrid(rows, m_colCount); }
int FlexGrid::Cols() const { return m_colCount; }
void FlexGrid::setCols(int cols) { if (cols != m_colCount) resizeGrid(m_rowCount, cols); }
void FlexGrid::setFixedRows(int n) { m_fixedRows = std::max(0, n); m_view->setFrozen(m_fixedRows, m_fixedCols); Refresh(); }
void FlexGrid::setFixedCols(int n) { m_fixedCols = std::max(0, n); m_view->setFrozen(m_fixedRows, m_fixedCols); Refresh(); }

void FlexGrid::Clear()
{
    CancelEdit();
    for (auto &c : m_cells)
        c = CellData();
    if (m_rowCount && m_colCount)
        m_model->changed(0, 0, m_rowCount - 1, m_colCount - 1);
    updateSpans();
}

void FlexGrid::setFormatString(const QString &format)
{
    m_formatString = format;
    const int semi = format.indexOf(QLatin1Char(';'));
    const QString colPart = semi < 0 ? format : format.left(semi);
    const QStringList caps = colPart.split(QLatin1Char('|'));
    setCols(caps.size());
    if (m_rowCount == 0)
        setRows(1);
    for (int c = 0; c < caps.size(); ++c) {
        QString t = caps[c];
        if (t.startsWith(QLatin1Char('<'))) { setColAlignment(c, AlignLeftCenter); t.remove(0, 1); }
        else if (t.startsWith(QLatin1Char('^'))) { setColAlignment(c, AlignCenterCenter); t.remove(0, 1); }
        else if (t.startsWith(QLatin1Char('>'))) { setColAlignment(c, AlignRightCenter); t.remove(0, 1); }
        setTextMatrix(0, c, t);
    }
    if (semi >= 0) {
        const QStringList rowCaps = format.mid(semi + 1).split(QLatin1Char('|'));
        if (m_rowCount < rowCaps.size() + 1)
            setRows(rowCaps.size() + 1);
        for (int r = 0; r < rowCaps.size(); ++r)
            setTextMatrix(r + 1, 0, rowCaps[r]);
    }
}

// --- cells ------------------------------------------------------------------

QString FlexGrid::TextMatrix(int row, int col) const { return valid(row, col) ? cellRef(row, col).text : QString(); }

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    if (!valid(row, col))
        return;
    auto &c = cellRef(row, col);
    if (c.text == text)
        return;
    c.text = text;
    cellChanged(row, col);
}

void FlexGrid::cellChanged(int row, int col)
{
    m_model->changed(row, col, row, col);
    growToFit(row, col, row, col);
    if (m_mergeCells && row < m_mergeRow.size() && m_mergeRow[row])
        updateSpans();
}

void FlexGrid::blockChanged(int r1, int c1, int r2, int c2)
{
    m_model->changed(r1, c1, r2, c2);
    growToFit(r1, c1, r2, c2);
    if (m_mergeCells)
        updateSpans();
}

void FlexGrid::setRow(int row) { if (row >= 0 && row < m_rowCount && row != m_row) { m_row = row; Refresh(); } }
void FlexGrid::setCol(int col) { if (col >= 0 && col < m_colCount && col != m_col) { m_col = col; Refresh(); } }
QString FlexGrid::Text() const { return TextMatrix(m_row, m_col); }
void FlexGrid::setText(const QString &text) { setTextMatrix(m_row, m_col, text); }
int FlexGrid::CellBackColor() const { return Cell(SetBackColor).toInt(); }
void FlexGrid::setCellBackColor(int rgb) { setCell(SetBackColor, m_row, m_col, rgb); }
void FlexGrid::setCellForeColor(int rgb) { setCell(SetForeColor, m_row, m_col, rgb); }
int FlexGrid::CellChecked() const { return Cell(SetChecked).toInt(); }
void FlexGrid::setCellChecked(int state) { setCell(SetChecked, m_row, m_col, state); }
int FlexGrid::CellAlignment() const { return Cell(SetAlignment).toInt(); }
void FlexGrid::setCellAlignment(int align) { setCell(SetAlignment, m_row, m_col, align); }
void FlexGrid::setCellFont(const QFont &f) { setCell(SetFont, m_row, m_col, f); }

QVariant FlexGrid::Cell(int setting, int row, int col) const
{
    if (row < 0)
        row = m_row;
    if (col < 0)
        col = m_col;
    if (!valid(row, col))
        return setting == SetText ? QVariant(QString()) : setting == SetFont ? QVariant(font()) : QVariant(0);
    const auto &c = cellRef(row, col);
    switch (setting) {
    case SetText: return c.text;
    case SetAlignment: return effectiveAlign(row, col);
    case SetCheckAlignment: return c.checkAlign >= 0 ? c.checkAlign : effectiveAlign(row, col);
    case SetChecked: return c.checked;
    case SetBackColor: return c.back;
    case SetForeColor: return c.fore;
    case SetFont: return c.hasFont ? c.font : font();
    default: return 0;
    }
}

void FlexGrid::setCell(int setting, int row1, int col1, int row2, int col2, const QVariant &value)
{
    if (row2 < 0)
        row2 = row1;
    if (col2 < 0)
        col2 = col1;
    if (row1 > row2)
        std::swap(row1, row2);
    if (col1 > col2)
        std::swap(col1, col2);
    row1 = std::max(row1, 0);
    col1 = std::max(col1, 0);
    row2 = std::min(row2, m_rowCount - 1);
    col2 = std::min(col2, m_colCount - 1);
    if (row1 > row2 || col1 > col2)
        return;
    const int iv = value.toInt();
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c) {
            auto &cell = cellRef(r, c);
            switch (setting) {
            case SetText: cell.text = value.toString(); break;
            case SetAlignment: cell.align = (iv >= 0 && iv <= 9) ? iv : -1; break;
            case SetCheckAlignment: cell.checkAlign = (iv >= 0 && iv <= 8) ? iv : -1; break;
            case SetChecked: cell.checked = (iv == Checked || iv == Unchecked) ? iv : NoCheckbox; break;
            case SetBackColor: cell.back = iv & 0xFFFFFF; break;
            case SetForeColor: cell.fore = iv & 0xFFFFFF; break;
            case SetFont:
                cell.hasFont = value.canConvert<QFont>();
                cell.font = value.value<QFont>();
                break;
            default: return;
            }
        }
    blockChanged(row1, col1, row2, col2);
}

int FlexGrid::effectiveAlign(int row, int col) const
{
    const auto &c = cellRef(row, col);
    if (c.align >= 0)
        return c.align;
    if (col < m_colAlign.size() && m_colAlign[col] >= 0)
        return m_colAlign[col];
    return AlignGeneral;
}

int FlexGrid::effectiveBack(int row, int col) const
{
    const int b = cellRef(row, col).back;
    if (b != 0)
        return b;
    return isFixed(row, col) ? m_backColorFixed : m_backColor;
}

int FlexGrid::effectiveFore(int row, int col) const
{
    const int f = cellRef(row, col).fore;
    if (f != 0)
        return f;
    return isFixed(row, col) ? m_foreColorFixed : m_foreColor;
}

bool FlexGrid::isCheckCell(int row, int col) const
{
    return valid(row, col) && (cellRef(row, col).checked == Checked || cellRef(row, col).checked == Unchecked);
}

// --- columns and rows ---------------------------------------------------------

int FlexGrid::ColWidth(int col) const
{
    if (col < 0 || col >= m_colCount)
        return 0;
    // A set width reads back as set unless the texts made the column wider.
    const int shown = m_view->isColumnHidden(col) ? 0 : m_view->columnWidth(col);
    if (m_colWidth[col] >= 0 && (m_colWidth[col] == 0 || TwipsToPixels(m_colWidth[col]) >= shown))
        return m_colWidth[col];
    return PixelsToTwips(shown);
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= m_colCount)
        return;
    const bool wasHidden = m_colWidth[col] == 0;
    m_colWidth[col] = twips < 0 ? -1 : twips;
    // A hidden column's texts take no room, in its width or its rows' heights.
    if (m_fitTexts && wasHidden != (m_colWidth[col] == 0))
        applyRowHeights();
    applyColumnWidths();
}

void FlexGrid::applyColumnWidths()
{
    QVector<int> px(m_colCount, 0);
    int lastShown = -1, used = 0;
    for (int c = 0; c < m_colCount; ++c) {
        const int w = m_colWidth[c];
        if (w == 0)
            continue;
        px[c] = w < 0 ? kDefaultColWidthPx : std::max(1, TwipsToPixels(w));
        if (m_fitTexts)
            px[c] = std::max(px[c], fitWidth(c));
        lastShown = c;
        used += px[c];
    }
    // The header's own stretch knows nothing of the texts: the fitting grid extends itself.
    if (m_fitTexts && m_extendLastCol && lastShown >= 0)
        px[lastShown] = std::max(px[lastShown], m_view->viewport()->width() - (used - px[lastShown]));
    for (int c = 0; c < m_colCount; ++c) {
        m_view->setColumnHidden(c, m_colWidth[c] == 0);
        if (m_colWidth[c] != 0)
            m_view->setColumnWidth(c, px[c]);
    }
    m_view->syncFrozen(); // hiding a column need not report a resize
    placeEditor();
}

int FlexGrid::ColAlignment(int col) const
{
    return (col >= 0 && col < m_colCount && m_colAlign[col] >= 0) ? m_colAlign[col] : int(AlignGeneral);
}

void FlexGrid::setColAlignment(int col, int align)
{
    if (col < 0 || col >= m_colCount)
        return;
    m_colAlign[col] = (align >= 0 && align <= 9) ? align : -1;
    Refresh();
}

void FlexGrid::setRowHeight(int row, int twips)
{
    if (row < 0 || row >= m_rowCount)
        return;
    m_rowHeight[row] = twips < 0 ? -1 : twips;
    int px = twips < 0 ? m_view->verticalHeader()->defaultSectionSize() : std::max(1, TwipsToPixels(twips));
    if (m_fitTexts)
        px = std::max(px, fitHeight(row));
    m_view->setRowHeight(row, px);
    placeEditor();
}

void FlexGrid::applyRowHeights()
{
    const int def = m_view->verticalHeader()->defaultSectionSize();
    for (int r = 0; r < m_rowCount; ++r) {
        if (m_rowHeight[r] < 0 && !m_fitTexts)
            continue;
        const int px = m_rowHeight[r] < 0 ? def : std::max(1, TwipsToPixels(m_rowHeight[r]));
        m_view->setRowHeight(r, m_fitTexts ? std::max(px, fitHeight(r)) : px);
    }
}

void FlexGrid::setFitTexts(bool on)
{
    m_fitTexts = on;
    m_view->horizontalHeader()->setStretchLastSection(m_extendLastCol && !on);
    if (on)
        m_view->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
    applyRowHeights();
    applyColumnWidths();
}

int FlexGrid::fitWidth(int col) const
{
    auto *d = static_cast<FlexGridDelegate *>(m_view->itemDelegate());
    int w = 0;
    for (int r = 0; r < m_rowCount; ++r) {
        const auto &c = cellRef(r, col);
        if ((c.text.isEmpty() && !c.checked) || MergedSpan(r, col).first != MergedSpan(r, col).second)
            continue;
        w = std::max(w, d->sizeHint(QStyleOptionViewItem(), m_model->index(r, col)).width());
    }
    return w;
}

int FlexGrid::fitHeight(int row) const
{
    auto *d = static_cast<FlexGridDelegate *>(m_view->itemDelegate());
    int h = 0;
    for (int c = 0; c < m_colCount; ++c)
        if (m_colWidth[c] != 0 && (!cellRef(row, c).text.isEmpty() || cellRef(row, c).checked))
            h = std::max(h, d->sizeHint(QStyleOptionViewItem(), m_model->index(row, c)).height());
    return h;
}

void FlexGrid::growToFit(int r1, int c1, int r2, int c2)
{
    if (!m_fitTexts)
        return;
    auto *d = static_cast<FlexGridDelegate *>(m_view->itemDelegate());
    bool wider = false;
    for (int r = r1; r <= r2; ++r) {
        int tallest = 0;
        for (int c = c1; c <= c2; ++c) {
            const auto &cell = cellRef(r, c);
            if (m_colWidth[c] == 0 || (cell.text.isEmpty() && !cell.checked))
                continue;
            const QSize need = d->sizeHint(QStyleOptionViewItem(), m_model->index(r, c));
            wider = wider || (m_colWidth[c] != 0 && need.width() > m_view->columnWidth(c));
            tallest = std::max(tallest, need.height());
        }
        if (tallest > m_view->rowHeight(r))
            m_view->setRowHeight(r, tallest);
    }
    if (wider)
        applyColumnWidths();
}

void FlexGrid::setSizeRule(std::function<void()> rule)
{
    m_sizeRule = std::move(rule);
    runSizeRule();
}

void FlexGrid::runSizeRule()
{
    if (!m_sizeRule || m_inSizeRule)
        return;
    m_inSizeRule = true;
    m_sizeRule();
    m_inSizeRule = false;
}

void FlexGrid::AutoSize(int col1, int col2)
{
    if (col2 < 0)
        col2 = col1;
    auto *d = static_cast<FlexGridDelegate *>(m_view->itemDelegate());
    QStyleOptionViewItem opt;
    for (int c = std::max(0, col1); c <= std::min(col2, m_colCount - 1); ++c) {
        int w = 8;
        for (int r = 0; r < m_rowCount; ++r)
            w = std::max(w, d->sizeHint(opt, m_model->index(r, c)).width());
        m_colWidth[c] = PixelsToTwips(w);
    }
    applyColumnWidths();
}

void FlexGrid::setExtendLastCol(bool on)
{
    m_extendLastCol = on;
    m_view->horizontalHeader()->setStretchLastSection(on && !m_fitTexts);
    if (m_fitTexts)
        applyColumnWidths();
}

// --- merging ----------------------------------------------------------------

void FlexGrid::setMergeCells(int mode) { m_mergeCells = mode; updateSpans(); }
void FlexGrid::setMergeRow(int row, bool on)
{
    if (row < 0 || row >= m_rowCount)
        return;
    m_mergeRow[row] = on;
    updateSpans();
}

QPair<int, int> FlexGrid::MergedSpan(int row, int col) const
{
    if (!valid(row, col) || !m_mergeCells || !m_mergeRow[row] || cellRef(row, col).text.isEmpty())
        return {col, col};
    const QString &t = cellRef(row, col).text;
    int a = col, b = col;
    while (a > 0 && cellRef(row, a - 1).text == t)
        --a;
    while (b + 1 < m_colCount && cellRef(row, b + 1).text == t)
        ++b;
    return {a, b};
}

void FlexGrid::updateSpans()
{
    const auto views = m_view->allViews();
    for (QTableView *v : views)
        v->clearSpans();
    if (!m_mergeCells)
        return;
    for (int r = 0; r < m_rowCount; ++r) {
        if (!m_mergeRow[r])
            continue;
        for (int c = 0; c < m_colCount;) {
            const auto span = MergedSpan(r, c);
            if (span.second > c)
                for (QTableView *v : views)
                    v->setSpan(r, c, 1, span.second - c + 1);
            c = span.second + 1;
        }
    }
}

// --- grid colours -------------------------------------------------------------

void FlexGrid::setBackColor(int rgb) { m_backColor = rgb & 0xFFFFFF; Refresh(); }
void FlexGrid::setForeColor(int rgb) { m_foreColor = rgb & 0xFFFFFF; Refresh(); }
void FlexGrid::setBackColorFixed(int rgb) { m_backColorFixed = rgb & 0xFFFFFF; Refresh(); }
void FlexGrid::setForeColorFixed(int rgb) { m_foreColorFixed = rgb & 0xFFFFFF; Refresh(); }
void FlexGrid::setGreyColor(int rgb) { m_greyColor = rgb & 0xFFFFFF; Refresh(); }
void FlexGrid::setEditable(int mode)
{
    m_editable = (mode == EditKeyboard || mode == EditKeyboardMouse) ? mode : EditNone;
    if (m_editable == EditNone)
        CancelEdit();
}

// --- editor -----------------------------------------------------------------

QString FlexGrid::EditText() const
{
    if (m_editing) {
        if (m_combo)
            return m_combo->currentText();
        if (m_lineEdit)
            return m_lineEdit->text();
    }
    return m_editText;
}

void FlexGrid::setEditText(const QString &text)
{
    m_editText = text;
    if (!m_editing)
        return;
    m_settingEditor = true;
    if (m_combo)
        m_combo->setEditText(text);
    else if (m_lineEdit)
        m_lineEdit->setText(text);
    m_settingEditor = false;
}

void FlexGrid::setComboList(const QString &list)
{
    bool typing = false;
    const QStringList items = splitList(list, &typing);
    setComboItems(items, typing);
    m_comboList = list;
}

void FlexGrid::setComboItems(const QStringList &items, bool typing)
{
    m_comboList = (typing ? QStringLiteral("|") : QString()) + items.join(QLatin1Char('|'));
    m_comboItems = items;
    m_comboEditable = typing;
    if (!m_editing)
        m_comboIndex = -1;
}


int FlexGrid::ComboIndex() const
{
    if (m_editing && m_combo)
        return m_comboItems.indexOf(m_combo->currentText());
    return m_comboIndex;
}

void FlexGrid::setComboIndex(int index)
{
    if (index < -1 || index >= m_comboItems.size())
        index = -1;
    m_comboIndex = index;
    if (m_editing && m_combo) {
        m_settingEditor = true;
        m_combo->setCurrentIndex(index);
        if (index < 0)
            m_combo->setEditText(QString());
        m_settingEditor = false;
        m_editText = m_combo->currentText();
    }
}

int FlexGrid::firstSelectableRow() const { return m_fixedRows < m_rowCount ? m_fixedRows : -1; }
int FlexGrid::firstSelectableCol() const { return m_fixedCols < m_colCount ? m_fixedCols : -1; }

bool FlexGrid::EditCell() { return beginEdit(0); }

bool FlexGrid::beginEdit(int initialKey)
{
    if (m_editing || m_inEvent || m_editable == EditNone || !valid(m_row, m_col) || isFixed(m_row, m_col))
        return false;
    const int row = m_row, col = m_col;
    if (isCheckCell(row, col))
        return false;
    bool cancel = false;
    m_inEvent = true;
    emit BeforeEdit(row, col, cancel);
    m_inEvent = false;
    if (cancel || !valid(row, col))
        return false;
    m_editRow = row;
    m_editCol = col;
    openEditor(TextMatrix(row, col), initialKey == 0);
    if (initialKey > 0) {
        int key = initialKey;
        emit KeyPressEdit(row, col, key);
        if (key > 0 && m_editing) {
            if (m_combo && !m_comboEditable && !m_comboTyping) {
                for (int i = 0; i < m_comboItems.size(); ++i)
                    if (m_comboItems[i].startsWith(QChar(key), Qt::CaseInsensitive)) {
                        m_combo->setCurrentIndex(i);
                        break;
                    }
            } else if (m_combo) {
                m_combo->setEditText(QString(QChar(key)));
            } else if (m_lineEdit && key != 8) {
                m_lineEdit->setText(QString(QChar(key)));
            } else if (m_lineEdit) {
                m_lineEdit->clear();
            }
        }
    }
    return true;
}

void FlexGrid::openEditor(const QString &text, bool selectAll)
{
    m_editing = true;
    m_editText = text;
    m_settingEditor = true;
    if (!m_comboItems.isEmpty()) {
        m_combo = new FlexGridCombo(this, m_view->viewport());
        m_combo->setEditable(true);
        m_combo->setInsertPolicy(QComboBox::NoInsert);
        m_combo->setCompleter(nullptr);
        m_combo->addItems(m_comboItems);
        const bool typing = m_comboEditable || m_comboTyping;
        m_combo->lineEdit()->setReadOnly(!typing);
        const int idx = m_comboItems.indexOf(text);
        m_combo->setCurrentIndex(idx);
        m_combo->setEditText(text);
        m_comboIndex = idx;
        m_lineEdit = m_combo->lineEdit();
        m_editor = m_combo;
        connect(m_combo, &QComboBox::currentTextChanged, this, &FlexGrid::onEditorTextChanged);
    } else {
        m_lineEdit = new QLineEdit(m_view->viewport());
        m_lineEdit->setFrame(false);
        m_lineEdit->setText(text);
        m_editor = m_lineEdit;
        connect(m_lineEdit, &QLineEdit::textChanged, this, &FlexGrid::onEditorTextChanged);
    }
    m_settingEditor = false;
    m_lineEdit->installEventFilter(this);
    m_editor->installEventFilter(this);
    m_editor->setFont(valid(m_editRow, m_editCol) && cellRef(m_editRow, m_editCol).hasFont ? cellRef(m_editRow, m_editCol).font : font());
    if (selectAll)
        m_lineEdit->selectAll();
    m_view->scrollTo(m_model->index(m_editRow, m_editCol));
    placeEditor();
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void FlexGrid::placeEditor()
{
    if (!m_editing || !m_editor)
        return;
    const QRect r = m_view->visualRect(m_model->index(m_editRow, m_editCol));
    m_editor->setGeometry(r.adjusted(0, 0, -1, -1));
}

void FlexGrid::onEditorTextChanged(const QString &text)
{
    if (m_settingEditor || !m_editing)
        return;
    m_editText = text;
    emit ChangeEdit();
}

void FlexGrid::closeEditor()
{
    const bool hadFocus = m_editor && m_editor->isAncestorOf(QApplication::focusWidget());
    const bool selfFocus = m_editor && QApplication::focusWidget() == m_editor;
    m_editing = false;
    if (m_editor) {
        m_editor->removeEventFilter(this);
        if (m_lineEdit)
            m_lineEdit->removeEventFilter(this);
        m_editor->hide();
        m_editor->deleteLater();
    }
    m_editor = nullptr;
    m_lineEdit = nullptr;
    m_combo = nullptr;
    if (hadFocus || selfFocus)
        m_view->setFocus(Qt::OtherFocusReason);
}

bool FlexGrid::CommitEdit()
{
    if (!m_editing)
        return true;
    if (m_inEvent)
        return false;
    m_editText = EditText();
    if (m_combo)
        m_comboIndex = m_comboItems.indexOf(m_editText);
    const int row = m_editRow, col = m_editCol;
    bool cancel = false;
    m_inEvent = true;
    emit ValidateEdit(row, col, cancel);
    m_inEvent = false;
    if (!m_editing)
        return true; // the handler ended the edit itself
    if (cancel) {
        if (m_editor && m_view->hasFocus())
            m_editor->setFocus(Qt::OtherFocusReason);
        return false;
    }
    m_editText = EditText();
    if (m_combo)
        m_comboIndex = m_comboItems.indexOf(m_editText);
    closeEditor();
    setTextMatrix(row, col, m_editText);
    emit AfterEdit(row, col);
    return true;
}

void FlexGrid::CancelEdit()
{
    if (m_editing)
        closeEditor();
}

void FlexGrid::toggleCheck(int row, int col)
{
    if (m_inEvent || m_editing || m_editable == EditNone || isFixed(row, col) || !isCheckCell(row, col))
        return;
    bool cancel = false;
    m_inEvent = true;
    emit BeforeEdit(row, col, cancel);
    if (!cancel && isCheckCell(row, col)) {
        m_editText = TextMatrix(row, col);
        emit ValidateEdit(row, col, cancel);
    }
    m_inEvent = false;
    if (cancel || !isCheckCell(row, col))
        return;
    auto &c = cellRef(row, col);
    c.checked = c.checked == Checked ? Unchecked : Checked;
    cellChanged(row, col);
    emit AfterEdit(row, col);
}

// --- user moves and keys --------------------------------------------------------

bool FlexGrid::userMoveTo(int row, int col)
{
    if (!valid(row, col) || isFixed(row, col))
        return false;
    if (row == m_row && col == m_col)
        return true;
    if (m_editing && !CommitEdit())
        return false;
    emit LeaveCell();
    m_row = row;
    m_col = col;
    m_view->scrollTo(m_model->index(row, col));
    Refresh();
    emit RowColChange();
    return true;
}

void FlexGrid::moveAfterCommit(int dRow, int dCol)
{
    int r = m_row, c = m_col;
    for (;;) {
        r += dRow;
        c += dCol;
        if (!valid(r, c))
            return;
        if (!isFixed(r, c) && !m_view->isColumnHidden(c))
            break;
    }
    userMoveTo(r, c);
}

bool FlexGrid::handleGridKey(QKeyEvent *ke)
{
    if (m_inEvent)
        return true;
    const int key = ke->key();
    switch (key) {
    case Qt::Key_Up: moveAfterCommit(-1, 0); return true;
    case Qt::Key_Down: moveAfterCommit(1, 0); return true;
    case Qt::Key_Left: moveAfterCommit(0, -1); return true;
    case Qt::Key_Right: moveAfterCommit(0, 1); return true;
    case Qt::Key_Home: userMoveTo(m_row, firstSelectableCol()); return true;
    case Qt::Key_End: userMoveTo(m_row, m_colCount - 1); return true;
    case Qt::Key_PageUp: userMoveTo(firstSelectableRow(), m_col); return true;
    case Qt::Key_PageDown: userMoveTo(m_rowCount - 1, m_col); return true;
    case Qt::Key_Tab:
        if (valid(m_row, m_col + 1)) { moveAfterCommit(0, 1); return true; }
        return false;
    case Qt::Key_Backtab:
        if (m_col - 1 >= m_fixedCols) { moveAfterCommit(0, -1); return true; }
        return false;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        beginEdit(0);
        return true;
    case Qt::Key_Space:
        if (isCheckCell(m_row, m_col)) {
            toggleCheck(m_row, m_col);
            return true;
        }
        break;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        beginEdit(8);
        return true;
    default:
        break;
    }
    const QString t = ke->text();
    if (t.size() == 1 && t[0].unicode() >= 32 && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (isCheckCell(m_row, m_col))
            return true;
        beginEdit(t[0].unicode());
        return true;
    }
    return false;
}

bool FlexGrid::handleEditorKey(QKeyEvent *ke)
{
    const int key = ke->key();
    switch (key) {
    case Qt::Key_Escape: CancelEdit(); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CommitEdit();
        return true;
    case Qt::Key_Tab:
        if (CommitEdit())
            moveAfterCommit(0, 1);
        return true;
    case Qt::Key_Backtab:
        if (CommitEdit())
            moveAfterCommit(0, -1);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (m_combo && (ke->modifiers() & Qt::AltModifier))
            return false;
        if (CommitEdit())
            moveAfterCommit(key == Qt::Key_Up ? -1 : 1, 0);
        return true;
    default:
        break;
    }
    if (m_combo && !m_comboEditable && !m_comboTyping)
        return false; // a plain list: keys pick entries
    int code = 0;
    if (key == Qt::Key_Backspace)
        code = 8;
    else if (ke->text().size() == 1 && ke->text()[0].unicode() >= 32 && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        code = ke->text()[0].unicode();
    if (code == 0)
        return false;
    int changed = code;
    emit KeyPressEdit(m_editRow, m_editCol, changed);
    if (!m_editing || !m_lineEdit)
        return true;
    if (changed == code)
        return false;
    if (changed == 0)
        return true;
    if (changed == 8)
        m_lineEdit->backspace();
    else
        m_lineEdit->insert(QString(QChar(changed)));
    return true;
}

// One path for a press and the second press of a double click: commit any open edit,
// move to the cell, then a press toggles a check box hit on its box (or in an empty
// cell) and a double click toggles a check cell or opens the editor. True: swallowed.
bool FlexGrid::handleMousePress(QMouseEvent *me, bool doubleClick)
{
    if (m_inEvent)
        return true;
    if (!doubleClick && !m_editing)
        m_view->setFocus(Qt::MouseFocusReason);
    const QModelIndex idx = m_view->indexAt(me->position().toPoint());
    if (!idx.isValid() || me->button() != Qt::LeftButton)
        return true;
    if (m_editing && idx.row() == m_editRow && idx.column() == m_editCol)
        return false;
    if (m_editing && !CommitEdit())
        return true;
    if (!userMoveTo(idx.row(), idx.column()))
        return true;
    const bool mouseEdits = m_editable == EditKeyboardMouse;
    if (doubleClick) {
        if (mouseEdits) {
            if (isCheckCell(m_row, m_col))
                toggleCheck(m_row, m_col);
            else
                beginEdit(0);
        }
        return true;
    }
    if (mouseEdits && isCheckCell(idx.row(), idx.column())) {
        auto *d = static_cast<FlexGridDelegate *>(m_view->itemDelegate());
        const QRect cell = m_view->visualRect(idx);
        if (TextMatrix(idx.row(), idx.column()).isEmpty()
            || d->checkRectFor(idx.row(), idx.column(), cell).contains(me->position().toPoint()))
            toggleCheck(idx.row(), idx.column());
    }
    m_pressed = true;
    return true;
}

bool FlexGrid::eventFilter(QObject *watched, QEvent *event)
{
    const bool isEditor = m_editing && (watched == m_editor || watched == m_lineEdit);
    if (isEditor) {
        if (event->type() == QEvent::KeyPress)
            return handleEditorKey(static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::FocusOut) {
            auto *fe = static_cast<QFocusEvent *>(event);
            // Leaving the grid ends the edit; moves inside it (the view, the combo's
            // list) are handled where they happen.
            QWidget *now = QApplication::focusWidget();
            // The combo's list is a window of its own, so walk parents past windows.
            bool inside = false;
            for (QWidget *w = now; w && !inside; w = w->parentWidget())
                inside = w == this;
            // Another application or a popup taking the focus leaves the edit open.
            const bool away = fe->reason() == Qt::PopupFocusReason || fe->reason() == Qt::ActiveWindowFocusReason || !now;
            if (!away && !inside && !m_inEvent)
                CommitEdit();
        }
        return false;
    }
    if (watched == m_view) {
        if (event->type() == QEvent::KeyPress)
            return handleGridKey(static_cast<QKeyEvent *>(event));
        if (event->type() == QEvent::FocusOut) {
            QWidget *now = QApplication::focusWidget();
            if (!now || !isAncestorOf(now))
                emit LeaveCell();
            m_view->viewport()->update();
        } else if (event->type() == QEvent::FocusIn) {
            m_view->viewport()->update();
        }
        return false;
    }
    if (watched == m_view->viewport()) {
        switch (event->type()) {
        case QEvent::Resize:
            if (m_fitTexts && m_extendLastCol)
                applyColumnWidths();
            return false;
        case QEvent::MouseButtonPress:
            return handleMousePress(static_cast<QMouseEvent *>(event), false);
        case QEvent::MouseButtonRelease:
            if (m_pressed) {
                m_pressed = false;
                emit Click();
            }
            return true;
        case QEvent::MouseButtonDblClick:
            // The second press of a double click arrives as this event alone.
            return handleMousePress(static_cast<QMouseEvent *>(event), true);
        case QEvent::MouseMove:
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FlexGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    runSizeRule();
    placeEditor();
}

void FlexGrid::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    runSizeRule();
}

void FlexGrid::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Rows of a fitting grid are as tall as its font needs, whatever font it was given.
    if (event->type() == QEvent::FontChange && m_fitTexts) {
        m_view->verticalHeader()->setDefaultSectionSize(QFontMetrics(font()).height() + 6);
        applyRowHeights();
        applyColumnWidths();
    }
}

// --- widget helpers ---------------------------------------------------------------

void FlexGrid::Refresh() { m_view->updateAll(); }
void FlexGrid::SetFocus() { m_view->setFocus(Qt::OtherFocusReason); }
int FlexGrid::Top() const { return TopTwips(this); }
int FlexGrid::Width() const { return PixelsToTwips(width()); }
int FlexGrid::Height() const { return PixelsToTwips(height()); }
void FlexGrid::Move(int left, int top) { MoveTwips(this, left, top); }
void FlexGrid::Move(int left, int top, int width, int height) { MoveTwips(this, left, top, width, height); }

QRect FlexGrid::CellRect(int row, int col) const
{
    if (!valid(row, col))
        return {};
    const QRect r = m_view->visualRect(m_model->index(row, col));
    if (r.isEmpty() || (!isFixed(row, col) && m_view->hiddenUnderFrozen(r)))
        return {};
    return QRect(m_view->viewport()->mapTo(this, r.topLeft()), r.size());
}

bool EndOpenEdits(std::initializer_list<FlexGrid *> grids)
{
    for (FlexGrid *g : grids) {
        if (!g || g->CommitEdit())
            continue;
        if (QWidget *editor = g->Editor())
            editor->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}
