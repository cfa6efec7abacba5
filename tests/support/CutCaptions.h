#pragma once
// The shared check of the window tests that every caption a technician sees is whole.
#include "platform/FlexGrid.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <algorithm>

// Captions a technician would see cut, as "name: text" lines. A caption is cut when its text
// is wider than its room: the control's text area, less what a control stacked above it or the
// edge of its frame hides; a list when an entry is wider than its text field; a grid cell when
// its text (and check box) is wider than its column less the cell's padding, or its lines
// taller than its row.
inline QStringList CutCaptions(QWidget *root)
{
    QStringList cut;
    auto check = [&](QWidget *w, const QString &shown, int textWidth, int room) {
        if (textWidth > room)
            cut << QStringLiteral("%1: \"%2\" needs %3 px, has %4").arg(w->objectName(), shown).arg(textWidth).arg(room);
    };
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(root) || w->objectName().isEmpty())
            continue;
        const QFontMetrics fm = w->fontMetrics();
        if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty() || l->wordWrap() || l->textFormat() == Qt::RichText)
                continue;
            const int tw = fm.horizontalAdvance(l->text());
            const QRect area = l->contentsRect();
            int left = area.left();
            if (l->alignment() & Qt::AlignRight)
                left = area.right() + 1 - tw;
            else if (l->alignment() & Qt::AlignHCenter)
                left = area.center().x() - tw / 2;
            const QRect text(l->mapToParent(QPoint(left, area.top())), QSize(tw, area.height()));
            int room = std::min(area.width(), l->parentWidget()->width() - text.left());
            const QObjectList siblings = l->parentWidget()->children();
            for (qsizetype i = siblings.indexOf(l) + 1; i < siblings.size(); ++i) {
                auto *above = qobject_cast<QWidget *>(siblings[i]);
                if (above && above->isVisibleTo(root) && above->geometry().intersects(text))
                    room = std::min(room, above->geometry().left() - text.left());
            }
            check(l, l->text(), tw, room);
        } else if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
            auto *b = static_cast<QAbstractButton *>(w);
            QStyleOptionButton opt;
            opt.initFrom(b);
            opt.text = b->text();
            const auto element = qobject_cast<QCheckBox *>(w) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
            const QString shown = QString(b->text()).remove(QLatin1Char('&'));
            check(b, shown, fm.horizontalAdvance(shown), b->style()->subElementRect(element, &opt, b).width());
        } else if (auto *b = qobject_cast<QPushButton *>(w)) {
            const QString shown = QString(b->text()).remove(QLatin1Char('&'));
            check(b, shown, fm.horizontalAdvance(shown), b->width() - 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b));
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            check(g, g->title(), fm.horizontalAdvance(g->title()), g->width() - 2 * fm.averageCharWidth());
        } else if (auto *g = qobject_cast<FlexGrid *>(w)) {
            const QTableView *view = g->view();
            const int indicator = view->style()->pixelMetric(QStyle::PM_IndicatorWidth);
            for (int r = 0; r < g->Rows(); ++r)
                for (int c = 0; c < g->Cols(); ++c) {
                    const bool box = g->Cell(FlexGrid::SetChecked, r, c).toInt() != FlexGrid::NoCheckbox;
                    QString shown = g->TextMatrix(r, c);
                    while (shown.endsWith(QLatin1Char('\n')) || shown.endsWith(QLatin1Char('\r')))
                        shown.chop(1); // a trailing line break draws nothing
                    if (view->isColumnHidden(c) || (shown.isEmpty() && !box))
                        continue;
                    const auto span = g->MergedSpan(r, c); // a merged block is checked once, whole
                    if (span.first != c)
                        continue;
                    int room = -6;
                    for (int k = span.first; k <= span.second; ++k)
                        room += view->isColumnHidden(k) ? 0 : view->columnWidth(k);
                    const QFontMetrics cellFm(g->Cell(FlexGrid::SetFont, r, c).value<QFont>());
                    const QString at = QStringLiteral("%1(%2,%3)").arg(g->objectName()).arg(r).arg(c);
                    const int tw = cellFm.horizontalAdvance(shown) + (box ? indicator + 3 : 0);
                    if (tw > room)
                        cut << QStringLiteral("%1: \"%2\" needs %3 px, has %4").arg(at, shown).arg(tw).arg(room);
                    const int th = std::max(cellFm.height() * int(shown.count(QLatin1Char('\n')) + 1),
                                            box ? view->style()->pixelMetric(QStyle::PM_IndicatorHeight) : 0);
                    if (th > view->rowHeight(r))
                        cut << QStringLiteral("%1: \"%2\" needs %3 px high, has %4").arg(at, shown).arg(th).arg(view->rowHeight(r));
                }
        } else if (auto *c = qobject_cast<QComboBox *>(w)) {
            QStyleOptionComboBox opt;
            opt.initFrom(c);
            const int room = c->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, c).width();
            int widest = -1; // the widest entry stands for the list
            for (int i = 0; i < c->count(); ++i)
                if (widest < 0 || fm.horizontalAdvance(c->itemText(i).trimmed()) > fm.horizontalAdvance(c->itemText(widest).trimmed()))
                    widest = i;
            if (widest >= 0)
                check(c, c->itemText(widest).trimmed(), fm.horizontalAdvance(c->itemText(widest).trimmed()), room);
        }
    }
    return cut;
}
