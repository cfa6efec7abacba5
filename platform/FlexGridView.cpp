#include "platform/FlexGridView.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>

void FlexGridView::initFrozen(const std::function<QAbstractItemDelegate *()> &makeDelegate)
{
    for (QTableView *&o : m_overlay) {
        o = new QTableView(this);
        o->setModel(model());
        o->setItemDelegate(makeDelegate());
        o->horizontalHeader()->hide();
        o->verticalHeader()->hide();
        o->horizontalHeader()->setMinimumSectionSize(1);
        o->verticalHeader()->setMinimumSectionSize(1);
        o->horizontalHeader()->setDefaultSectionSize(horizontalHeader()->defaultSectionSize());
        o->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
        o->setSelectionMode(QAbstractItemView::NoSelection);
        o->setEditTriggers(QAbstractItemView::NoEditTriggers);
        o->setFocusPolicy(Qt::NoFocus);
        o->setHorizontalScrollMode(horizontalScrollMode());
        o->setVerticalScrollMode(verticalScrollMode());
        o->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        o->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        o->setGridStyle(gridStyle());
        o->setFrameShape(QFrame::NoFrame);
        o->setAttribute(Qt::WA_TransparentForMouseEvents);
        o->hide();
        // A range that changes after ours (their layout runs late) must not leave them off by some pixels.
        connect(o->horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { syncScroll(); });
        connect(o->verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { syncScroll(); });
    }
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { syncScroll(); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { syncScroll(); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int c, int, int) {
        for (QTableView *o : m_overlay)
            copyColumn(o, c);
        placeFrozen();
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int r, int, int size) {
        for (QTableView *o : m_overlay)
            o->setRowHeight(r, size);
        placeFrozen();
    });
}

void FlexGridView::setFrozen(int rows, int cols)
{
    m_frozenRows = rows;
    m_frozenCols = cols;
    placeFrozen();
}

void FlexGridView::syncFrozen()
{
    const int rows = model()->rowCount(), cols = model()->columnCount();
    for (QTableView *o : m_overlay) {
        for (int c = 0; c < cols; ++c)
            copyColumn(o, c);
        for (int r = 0; r < rows; ++r)
            o->setRowHeight(r, rowHeight(r));
    }
    placeFrozen();
}

void FlexGridView::updateAll()
{
    viewport()->update();
    for (QTableView *o : m_overlay)
        o->viewport()->update();
}

int FlexGridView::frozenHeight() const
{
    int h = 0;
    for (int r = 0; r < std::min(m_frozenRows, model()->rowCount()); ++r)
        h += isRowHidden(r) ? 0 : rowHeight(r);
    return std::min(h, viewport()->height());
}

int FlexGridView::frozenWidth() const
{
    int w = 0;
    for (int c = 0; c < std::min(m_frozenCols, model()->columnCount()); ++c)
        w += isColumnHidden(c) ? 0 : columnWidth(c);
    return std::min(w, viewport()->width());
}

QTableView *FlexGridView::overlayFor(int row, int col) const
{
    const bool inTop = row < m_frozenRows, inLeft = col < m_frozenCols;
    QTableView *o = inTop && inLeft ? corner() : inTop ? top() : inLeft ? left() : nullptr;
    return o && o->isVisible() ? o : nullptr;
}

bool FlexGridView::hiddenUnderFrozen(const QRect &r) const
{
    return r.bottom() < frozenHeight() || r.right() < frozenWidth();
}

QModelIndex FlexGridView::indexAt(const QPoint &p) const
{
    for (QTableView *o : {corner(), top(), left()})
        if (o->isVisible() && overlayRect(o).contains(p))
            return o->indexAt(p - overlayRect(o).topLeft());
    return QTableView::indexAt(p);
}

QRect FlexGridView::visualRect(const QModelIndex &index) const
{
    if (index.isValid())
        if (QTableView *o = overlayFor(index.row(), index.column())) {
            const QRect area = overlayRect(o);
            return o->visualRect(index).translated(area.topLeft());
        }
    return QTableView::visualRect(index);
}

void FlexGridView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (!index.isValid())
        return;
    const int row = index.row(), col = index.column();
    const bool inTop = row < m_frozenRows, inLeft = col < m_frozenCols;
    if (inTop && inLeft)
        return;
    // A fixed row scrolls only sideways, a fixed column only up and down.
    const int keepV = verticalScrollBar()->value(), keepH = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    if (inTop)
        verticalScrollBar()->setValue(keepV);
    if (inLeft)
        horizontalScrollBar()->setValue(keepH);
    // The base class counts the fixed area as visible; move the cell out from under it.
    const QRect r = QTableView::visualRect(index);
    const int h = frozenHeight(), w = frozenWidth();
    if (!inTop && r.top() < h) {
        int first = row, above = 0;
        while (first > 0 && above < h) {
            --first;
            above += isRowHidden(first) ? 0 : rowHeight(first);
        }
        verticalScrollBar()->setValue(std::min(verticalScrollBar()->value(), first));
    }
    if (!inLeft && r.left() < w)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - (w - r.left()));
}

void FlexGridView::updateGeometries()
{
    QTableView::updateGeometries();
    placeFrozen();
}

bool FlexGridView::viewportEvent(QEvent *e)
{
    const bool r = QTableView::viewportEvent(e);
    if (e->type() == QEvent::Resize)
        placeFrozen();
    return r;
}

void FlexGridView::copyColumn(QTableView *o, int c)
{
    const bool hidden = isColumnHidden(c);
    o->setColumnHidden(c, hidden);
    if (!hidden)
        o->setColumnWidth(c, columnWidth(c));
}

void FlexGridView::placeFrozen()
{
    if (!top())
        return;
    const QRect vp = viewport()->geometry();
    const int h = frozenHeight(), w = frozenWidth();
    top()->setGeometry(vp.x(), vp.y(), vp.width(), h);
    left()->setGeometry(vp.x(), vp.y(), w, vp.height());
    corner()->setGeometry(vp.x(), vp.y(), w, h);
    top()->setVisible(h > 0);
    left()->setVisible(w > 0);
    corner()->setVisible(h > 0 && w > 0);
    syncScroll();
}

void FlexGridView::syncScroll()
{
    if (!top())
        return;
    top()->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    top()->verticalScrollBar()->setValue(0);
    left()->horizontalScrollBar()->setValue(0);
    left()->verticalScrollBar()->setValue(verticalScrollBar()->value());
    corner()->horizontalScrollBar()->setValue(0);
    corner()->verticalScrollBar()->setValue(0);
}
