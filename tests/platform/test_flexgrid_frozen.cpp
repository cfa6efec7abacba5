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
                grid->setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
        for (int c = 1; c <= 4; ++c)
            grid->setTextMatrix(0, c, QStringLiteral("Alarm"));
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
    const int headerBottom = label.bottom();
    const int labelRight = label.right();
    const QColor fixed = ColorFromRgb(grid->BackColorFixed());

    click(2, 1);
    press(gridKeys(), Qt::Key_PageDown);
    press(gridKeys(), Qt::Key_End);
    log.clear();
    ASSERT_EQ(grid->Row(), 39);
    ASSERT_EQ(grid->Col(), 19);
    ASSERT_GT(grid->view()->verticalScrollBar()->value(), 0);
    ASSERT_GT(grid->view()->horizontalScrollBar()->value(), 0);

    // The headers are where they were; the far cells line up with them.
    EXPECT_EQ(grid->CellRect(0, 0), corner);
    EXPECT_EQ(grid->CellRect(1, 0), label);
    EXPECT_EQ(grid->CellRect(1, 19).top(), label.top());
    EXPECT_EQ(grid->CellRect(39, 0).left(), corner.left());
    EXPECT_EQ(grid->CellRect(39, 0).top(), current().top());
    EXPECT_GT(current().top(), headerBottom);
    EXPECT_GT(current().left(), labelRight);
    EXPECT_NEAR(grid->CellRect(0, 1).width(), 4 * grid->view()->columnWidth(1), 1) << "the merged caption stays merged";
    // ... and paint in the header colour over the body.
    EXPECT_EQ(pixelAt(*grid, grid->CellRect(1, 19).topLeft() + QPoint(2, 2)), fixed);
    EXPECT_EQ(pixelAt(*grid, grid->CellRect(39, 0).topLeft() + QPoint(2, 2)), fixed);
    EXPECT_EQ(pixelAt(*grid, current().topLeft() + QPoint(2, 2)), ColorFromRgb(grid->BackColor()));

    // Clicks on them reach the header cell, not the body cell scrolled underneath.
    clickAt(grid->CellRect(1, 19).center());
    clickAt(grid->CellRect(30, 0).center(), true);
    EXPECT_EQ(grid->Row(), 39);
    EXPECT_EQ(grid->Col(), 19);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_TRUE(log.isEmpty()) << log.join(QLatin1Char(';')).toStdString();

    // Stepping up row by row never hides the current cell under the header.
    for (int r = 38; r >= 2; --r) {
        press(gridKeys(), Qt::Key_Up);
        ASSERT_EQ(grid->Row(), r);
        ASSERT_FALSE(current().isEmpty()) << "row " << r;
        ASSERT_GT(current().top(), headerBottom) << "row " << r;
    }
    press(gridKeys(), Qt::Key_Home);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_GT(current().left(), labelRight);

    // Editing and clicks in the body still work after scrolling.
    press(gridKeys(), Qt::Key_End);
    press(gridKeys(), Qt::Key_PageDown);
    log.clear();
    QTest::keyClicks(gridKeys(), QStringLiteral("7"));
    ASSERT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->Editor()->geometry().topLeft(), grid->view()->viewport()->mapFrom(grid.get(), current().topLeft()));
    press(lineEditor(), Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(39, 19), QStringLiteral("7"));
    clickAt(grid->CellRect(38, 18).center());
    EXPECT_EQ(log, (QStringList{"Before 39,19", "Key 55", "Validate 39,19 7", "After 39,19", "Leave 39,19", "Change 38,18", "Click"}));
}

TEST_F(FrozenGridTest, FixedAreaFollowsSizesAndFixedCounts)
{
    const QColor fixed = ColorFromRgb(grid->BackColorFixed());
    grid->setColWidth(0, 2400);
    grid->setRowHeight(1, 600);
    grid->setColWidth(1, 0);   // a hidden column must not shift the others in the header
    QApplication::processEvents();
    grid->setRow(39);
    grid->setCol(19);
    grid->view()->scrollTo(grid->view()->model()->index(39, 19));
    QApplication::processEvents();

    const QRect label = grid->CellRect(39, 0);
    EXPECT_NEAR(label.width(), TwipsToPixels(2400), 1); // less the grid line
    EXPECT_NEAR(grid->CellRect(1, 0).height(), TwipsToPixels(600), 1);
    EXPECT_EQ(grid->CellRect(1, 19).top(), grid->CellRect(1, 0).top());
    EXPECT_EQ(grid->CellRect(1, 19).right(), grid->CellRect(39, 19).right());
    EXPECT_EQ(pixelAt(*grid, label.topRight() + QPoint(-3, 2)), fixed) << "the widened label column is frozen whole";
    EXPECT_EQ(pixelAt(*grid, grid->CellRect(1, 19).bottomLeft() + QPoint(2, -3)), fixed);

    // Without fixed rows and columns nothing is frozen: the first row and column scroll away.
    grid->setFixedRows(0);
    grid->setFixedCols(0);
    QApplication::processEvents();
    EXPECT_LT(grid->CellRect(39, 0).right(), 0);
    EXPECT_EQ(pixelAt(*grid, grid->CellRect(39, 19).topLeft() + QPoint(2, 2)), ColorFromRgb(grid->BackColor()));
    grid->setFixedRows(1);
    grid->setFixedCols(1);
    QApplication::processEvents();
    EXPECT_EQ(grid->CellRect(39, 0).left(), grid->CellRect(0, 0).left());
}
