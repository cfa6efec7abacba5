#include "platform/FlexGridDelegate.h"

#include "platform/FlexGrid.h"
#include "platform/FlexGridView.h"
#include "platform/Twips.h"

#include <QPainter>

namespace {
constexpr int kTextPadPx = 3;

Qt::Alignment qtAlign(int a, const QString &text)
{
    if (a < 0 || a > 8) { // general: numbers right, text left
        bool num = false;
        text.trimmed().toDouble(&num);
        return (num ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }
    static const Qt::Alignment h[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment v[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    return h[a / 3] | v[a % 3];
}
} // namespace

FlexGridDelegate::FlexGridDelegate(FlexGrid *g) : QStyledItemDelegate(g), m_grid(g) {}

QRect FlexGridDelegate::checkRect(const QRect &cell, int align, const QWidget *w)
{
    const int iw = w->style()->pixelMetric(QStyle::PM_IndicatorWidth);
    const int ih = w->style()->pixelMetric(QStyle::PM_IndicatorHeight);
    if (align < 0 || align > 8)
        align = FlexGrid::AlignLeftCenter;
    const int h = align / 3, v = align % 3;
    const int x = h == 0 ? cell.left() + kTextPadPx : h == 1 ? cell.center().x() - iw / 2 : cell.right() - kTextPadPx - iw;
    const int y = v == 0 ? cell.top() + 1 : v == 1 ? cell.center().y() - ih / 2 : cell.bottom() - ih;
    return QRect(x, y, iw, ih);
}

QRect FlexGridDelegate::checkRectFor(int row, int col, const QRect &cell) const
{
    const auto &c = m_grid->cellRef(row, col);
    int a = c.checkAlign;
    if (a < 0) {
        a = m_grid->effectiveAlign(row, col);
        if (a > 8)
            a = FlexGrid::AlignLeftCenter;
    }
    return checkRect(cell, a, m_grid->m_view);
}

void FlexGridDelegate::paint(QPainter *p, const QStyleOptionViewItem &opt, const QModelIndex &idx) const
{
    const int r = idx.row(), c = idx.column();
    if (!m_grid->valid(r, c))
        return;
    const auto &cell = m_grid->cellRef(r, c);
    p->save();
    p->fillRect(opt.rect, ColorFromRgb(m_grid->effectiveBack(r, c)));
    QRect textRect = opt.rect.adjusted(kTextPadPx, 0, -kTextPadPx, 0);
    if (cell.checked == FlexGrid::Checked || cell.checked == FlexGrid::Unchecked) {
        QStyleOptionButton b;
        b.rect = checkRectFor(r, c, opt.rect);
        b.state = QStyle::State_Enabled | (cell.checked == FlexGrid::Checked ? QStyle::State_On : QStyle::State_Off);
        m_grid->m_view->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &b, p, m_grid->m_view);
        if (b.rect.center().x() < opt.rect.center().x())
            textRect.setLeft(b.rect.right() + kTextPadPx);
    }
    if (!cell.text.isEmpty()) {
        p->setFont(cell.hasFont ? cell.font : m_grid->font());
        p->setPen(ColorFromRgb(m_grid->effectiveFore(r, c)));
        p->setClipRect(opt.rect);
        p->drawText(textRect, int(qtAlign(m_grid->effectiveAlign(r, c), cell.text)), ShownText(cell.text));
    }
    if (r == m_grid->m_row && c == m_grid->m_col && !m_grid->isFixed(r, c)) {
        QPen pen(Qt::black, 1, m_grid->m_view->hasFocus() ? Qt::SolidLine : Qt::DotLine);
        p->setClipping(false);
        p->setPen(pen);
        p->setBrush(Qt::NoBrush);
        p->drawRect(opt.rect.adjusted(1, 1, -2, -2));
    }
    p->restore();
}

QSize FlexGridDelegate::sizeHint(const QStyleOptionViewItem &opt, const QModelIndex &idx) const
{
    const int r = idx.row(), c = idx.column();
    if (!m_grid->valid(r, c))
        return {};
    const auto &cell = m_grid->cellRef(r, c);
    const QFontMetrics fm(cell.hasFont ? cell.font : m_grid->font());
    const QStringList lines = ShownText(cell.text).split(QLatin1Char('\n'));
    int w = 0;
    for (const QString &line : lines)
        w = std::max(w, fm.horizontalAdvance(line));
    w += 2 * kTextPadPx + 2;
    int h = int(lines.size()) * fm.height() + 4;
    if (cell.checked) {
        const QStyle *style = m_grid->m_view->style();
        w += style->pixelMetric(QStyle::PM_IndicatorWidth) + kTextPadPx;
        h = std::max(h, style->pixelMetric(QStyle::PM_IndicatorHeight) + 4);
    }
    Q_UNUSED(opt);
    return QSize(w, h);
}

QString FlexGridDelegate::ShownText(const QString &text)
{
    // A list entry may end in a line break (a message text that does); it draws nothing.
    QString shown = text;
    while (shown.endsWith(QLatin1Char('\n')) || shown.endsWith(QLatin1Char('\r')))
        shown.chop(1);
    shown.remove(QLatin1Char('\r'));
    return shown;
}
