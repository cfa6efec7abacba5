#include "platform/FlexGrid.h"
#include "platform/Twips.h"
#include <QApplication>
#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

// Renders a gas-grid-like table (two header rows with a merged caption, colours,
// checks, a grey cell) to flexgrid.png beside the test program for a person to look at.
TEST(GridScreenshot, RendersColoursChecksAndMergedHeader)
{
    FlexGrid g;
    g.resize(640, 240);
    g.setRows(6);
    g.setCols(6);
    g.setFixedRows(2);
    g.setFixedCols(1);
    const QString wa = QStringLiteral("Warning and Alarm point");
    const QStringList h0{QString(), wa, wa, wa, wa, QString()};
    const QStringList h1{QStringLiteral("Gas"), QStringLiteral("Warning"), QStringLiteral("Alarm"), QStringLiteral("STEL"), QStringLiteral("TWA"), QStringLiteral("Select")};
    for (int c = 0; c < 6; ++c) {
        g.setTextMatrix(0, c, h0[c]);
        g.setTextMatrix(1, c, h1[c]);
    }
    g.setMergeCells(1);
    g.setMergeRow(0, true);
    g.setCell(FlexGrid::SetAlignment, 0, 1, FlexGrid::AlignCenterCenter);
    g.setCell(FlexGrid::SetAlignment, 1, 0, 5, 5, FlexGrid::AlignCenterCenter);
    const QStringList gases{QStringLiteral("OXY(25.0vol%)"), QStringLiteral("H2S(100.0ppm)"), QStringLiteral("CO (500ppm)"), QStringLiteral("CH4(100%LEL)")};
    for (int r = 0; r < 4; ++r) {
        g.setTextMatrix(r + 2, 0, gases[r]);
        g.setTextMatrix(r + 2, 1, QStringLiteral("%1.0").arg(10 * (r + 1)));
        g.setTextMatrix(r + 2, 2, QStringLiteral("%1.0").arg(20 * (r + 1)));
        g.setTextMatrix(r + 2, 3, QStringLiteral("-----"));
        g.setTextMatrix(r + 2, 4, QStringLiteral("*****"));
        g.setCell(FlexGrid::SetChecked, r + 2, 5, r % 2 ? FlexGrid::Unchecked : FlexGrid::Checked);
    }
    g.setCell(FlexGrid::SetBackColor, 3, 1, 3, 2, 255);                 // refused pair
    g.setCell(FlexGrid::SetBackColor, 2, 3, 2, 4, g.BackColorFixed());  // does not apply
    g.setCell(FlexGrid::SetBackColor, 5, 3, g.GreyColor());
    g.setCell(FlexGrid::SetForeColor, 5, 0, RGB(0, 255, 0));
    for (int c = 0; c < 6; ++c)
        g.setColWidth(c, c == 0 ? 2100 : 1500);
    g.setRow(4);
    g.setCol(2);
    g.show();
    QApplication::processEvents();

    const QImage img = g.grab().toImage();
    const QString out = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("flexgrid.png"));
    ASSERT_TRUE(img.save(out));
    EXPECT_TRUE(QImage(out).size() == img.size());
    // The merged caption is one cell across columns 1..4.
    EXPECT_NEAR(g.CellRect(0, 1).width(), 4 * TwipsToPixels(1500), 1);
    // The refused cells paint red, the not-applicable ones in the header colour.
    const QRect red = g.CellRect(3, 1);
    EXPECT_EQ(QColor(img.pixel(red.left() + 3, red.top() + 3)), QColor(255, 0, 0));
    const QRect fixedCol = g.CellRect(2, 3);
    EXPECT_EQ(QColor(img.pixel(fixedCol.left() + 3, fixedCol.top() + 3)), ColorFromRgb(g.BackColorFixed()));
    // A checked and an unchecked box differ.
    const QImage on = img.copy(g.CellRect(2, 5));
    const QImage off = img.copy(g.CellRect(3, 5));
    EXPECT_NE(on, off);
}
