#pragma once
#include <QStyledItemDelegate>

class FlexGrid;

// Paints a FlexGrid cell from the grid's own data (colours, check box, alignment, the
// current-cell frame) and sizes it for AutoSize.
class FlexGridDelegate : public QStyledItemDelegate {
public:
    explicit FlexGridDelegate(FlexGrid *g);

    static QRect checkRect(const QRect &cell, int align, const QWidget *w);
    QRect checkRectFor(int row, int col, const QRect &cell) const;

    void paint(QPainter *p, const QStyleOptionViewItem &opt, const QModelIndex &idx) const override;
    QSize sizeHint(const QStyleOptionViewItem &opt, const QModelIndex &idx) const override;
    // The text as drawn: trailing line breaks dropped, CR LF as one break.
    static QString ShownText(const QString &text);

private:
    FlexGrid *m_grid;
};
