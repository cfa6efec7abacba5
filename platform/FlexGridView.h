#pragma once
#include <QTableView>
#include <QVector>
#include <functional>

class QAbstractItemDelegate;

// The main view shows every cell; three overlays sharing its model keep the fixed
// rows (top), the fixed columns (left) and their crossing (corner) in place while
// the body scrolls under them. The overlays let mouse events through to the main
// viewport, whose indexAt() answers with the fixed cell drawn at that point, so all
// clicks are handled in one place.
class FlexGridView : public QTableView {
public:
    using QTableView::QTableView;

    // Call once the main view is set up: overlays copy its settings.
    // Created after the viewport, they stack above it and any editor in it; the corner last, on top.
    void initFrozen(const std::function<QAbstractItemDelegate *()> &makeDelegate);
    void setFrozen(int rows, int cols);

    // The main view first, then the overlays: spans go on every one of them.
    QVector<QTableView *> allViews() { return {this, top(), left(), corner()}; }

    // Copies sizes and hidden columns after the model was reset or resized (spans: FlexGrid::updateSpans).
    void syncFrozen();
    void updateAll();

    // Height of the fixed rows and width of the fixed columns, as far as the viewport shows them.
    int frozenHeight() const;
    int frozenWidth() const;

    // The overlay that draws cell (row, col), or null for a body cell.
    QTableView *overlayFor(int row, int col) const;

    // True when the body cell's whole rectangle lies under the fixed area.
    bool hiddenUnderFrozen(const QRect &r) const;
    QModelIndex indexAt(const QPoint &p) const override;

    QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    void updateGeometries() override;
    bool viewportEvent(QEvent *e) override;

private:
    QTableView *top() const { return m_overlay[0]; }
    QTableView *left() const { return m_overlay[1]; }
    QTableView *corner() const { return m_overlay[2]; }

    // Overlay area in viewport coordinates.
    QRect overlayRect(const QTableView *o) const { return o->geometry().translated(-viewport()->pos()); }

    void copyColumn(QTableView *o, int c);
    void placeFrozen();

    void syncScroll();
    QTableView *m_overlay[3] = {nullptr, nullptr, nullptr};
    int m_frozenRows = 0;
    int m_frozenCols = 0;
};
