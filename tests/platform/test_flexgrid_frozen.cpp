#include "GridFixture.h"
#include "platform/Twips.h"
#include <QApplication>
#include <QImage>
#include <QScrollBar>

namespace {
QColor pixelAt(FlexGrid &g, const QPoint &p) { return QColor(g.grab().toImage().pixel(p)); }
} // namespace

// A grid far larger than its window, with two header rows (the first merged) and a label column.
class FrozenGridTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        grid->resize(320, 220);
        grid->setRows(40);
        grid->setCols(20);
        grid->setFixedRows(2);
        for (int r = 0; r < 40; ++r)
            for (int c = 0; c < 20; ++c)
                grid->setTextMatrix(r, c, r == 0 && c >= 1 && c <= 4 ? QStringLiteral("Alarm") : QStringLiteral("%1,%2").arg(r).arg(c));
        grid->setMergeCells(1);
        grid->setMergeRow(0, true);
        QApplication::processEvents();
    }
    // Sends a real click to whatever widget is under the point, as a user's click would reach.
    void clickAt(const QPoint &inGrid, bool twice = false)
    {
        QWidget *w = grid->childAt(inGrid);
        ASSERT_EQ(w, grid->view()->viewport()) << "the fixed area must let clicks through to the grid";
        if (twice)
            QTest::mouseDClick(w, Qt::LeftButton, {}, w->mapFrom(grid.get(), inGrid));
        else
            QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(grid.get(), inGrid));
    }
    QRect current() const { return grid->CellRect(grid->Row(), grid->Col()); }
};

TEST_F(FrozenGridTest, FixedCellsStayInPlaceWhileTheBodyScrollsAndBehaveAsBefore)
{
    const QRect corner = grid->CellRect(0, 0);
    const QRect label = grid->CellRect(1, 0);
    const QColor fixed = ColorFromRgb(grid->BackColorFixed());
    click(2, 1);
    press(gridKeys(), Qt::Key_PageDown);
    press(gridKeys(), Qt::Key_End);
    log.clear();
    ASSERT_EQ(grid->Row(), 39);
    ASSERT_EQ(grid->Col(), 19);
    ASSERT_TRUE(grid->view()->verticalScrollBar()->value() > 0 && grid->view()->horizontalScrollBar()->value() > 0);

    // The headers are where they were, the far cells line up with them and paint in the header colour.
    EXPECT_EQ(grid->CellRect(0, 0), corner);
    EXPECT_EQ(grid->CellRect(1, 19).top(), label.top());
    EXPECT_EQ(grid->CellRect(39, 0).left(), corner.left());
    EXPECT_EQ(grid->CellRect(39, 0).top(), current().top());
    EXPECT_GT(current().left(), label.right());
    EXPECT_NEAR(grid->CellRect(0, 1).width(), 4 * grid->view()->columnWidth(1), 1) << "the merged caption stays merged";
    EXPECT_EQ(pixelAt(*grid, grid->CellRect(1, 19).topLeft() + QPoint(2, 2)), fixed);
    EXPECT_EQ(pixelAt(*grid, grid->CellRect(39, 0).topLeft() + QPoint(2, 2)), fixed);

    // Clicks on them reach the header cell, not the body cell scrolled underneath.
    clickAt(grid->CellRect(1, 19).center());
    clickAt(grid->CellRect(30, 0).center(), true);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_TRUE(log.isEmpty()) << log.join(QLatin1Char(';')).toStdString();

    // Stepping up row by row never hides the current cell under the header.
    for (int r = 38; r >= 2; --r) {
        press(gridKeys(), Qt::Key_Up);
        ASSERT_EQ(grid->Row(), r);
        ASSERT_GT(current().top(), label.bottom()) << "row " << r;
    }
    press(gridKeys(), Qt::Key_Home);
    EXPECT_EQ(grid->Col(), 1);

    // Editing after scrolling: the editor sits on its cell.
    press(gridKeys(), Qt::Key_End);
    press(gridKeys(), Qt::Key_PageDown);
    QTest::keyClicks(gridKeys(), QStringLiteral("7"));
    ASSERT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->Editor()->geometry().topLeft(), grid->view()->viewport()->mapFrom(grid.get(), current().topLeft()));
    press(lineEditor(), Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(39, 19), QStringLiteral("7"));
}

TEST_F(FrozenGridTest, FixedAreaFollowsSizesAndFixedCounts)
{
    grid->setColWidth(0, 2400);
    grid->setColWidth(1, 0); // a hidden column must not shift the others in the header
    grid->setRowHeight(1, 600);
    QApplication::processEvents();
    grid->view()->scrollTo(grid->view()->model()->index(39, 19));
    QApplication::processEvents();
    const QRect label = grid->CellRect(39, 0);
    EXPECT_NEAR(label.width(), TwipsToPixels(2400), 1); // less the grid line
    EXPECT_NEAR(grid->CellRect(1, 0).height(), TwipsToPixels(600), 1);
    EXPECT_EQ(grid->CellRect(1, 19).top(), grid->CellRect(1, 0).top());
    EXPECT_EQ(grid->CellRect(1, 19).right(), grid->CellRect(39, 19).right());
    EXPECT_EQ(pixelAt(*grid, label.topRight() + QPoint(-3, 2)), ColorFromRgb(grid->BackColorFixed())) << "frozen whole";
    // A list with a label column but no fixed row: the first row scrolls away, the labels stay.
    grid->setFixedRows(0);
    QApplication::processEvents();
    EXPECT_LT(grid->CellRect(0, 19).bottom(), 0);
    EXPECT_EQ(grid->CellRect(39, 0), label);
}
