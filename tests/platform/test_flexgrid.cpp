#include "GridFixture.h"
#include "platform/Twips.h"
#include <QApplication>
#include <QImage>

using Strings = QStringList;

TEST_F(GridTest, CodeWritesRaiseNoEvents)
{
    grid->setTextMatrix(1, 1, QStringLiteral("x"));
    at(2, 3);
    grid->setText(QStringLiteral("y"));
    grid->setCell(FlexGrid::SetBackColor, 1, 1, 3, 3, 255);
    grid->setCell(FlexGrid::SetChecked, 4, 4, FlexGrid::Checked);
    grid->setEditText(QStringLiteral("z"));
    grid->setComboList(QStringLiteral("a|b"));
    grid->setComboIndex(1);
    grid->setRows(8);
    grid->setCols(6);
    grid->setFormatString(QStringLiteral("A|B|C"));
    grid->Clear();
    QApplication::processEvents();
    EXPECT_TRUE(log.isEmpty()) << log.join(QLatin1Char(';')).toStdString();
    EXPECT_EQ(changes, 0);
}

TEST_F(GridTest, ColoursReadBackExactlyAndPaintAsRgbNumbers)
{
    // A block given with its ends swapped is the same block; unset cells read 0.
    grid->setCell(FlexGrid::SetBackColor, 3, 2, 2, 1, RGB(0, 0, 255));
    grid->setCell(FlexGrid::SetForeColor, 2, 1, 255);
    for (int r = 2; r <= 3; ++r)
        for (int c = 1; c <= 2; ++c)
            EXPECT_EQ(grid->Cell(FlexGrid::SetBackColor, r, c).toInt(), 16711680);
    EXPECT_EQ(grid->Cell(FlexGrid::SetBackColor, 4, 1).toInt(), 0);
    EXPECT_EQ(grid->Cell(FlexGrid::SetForeColor, 2, 1).toInt(), 255);

    // 255 must paint red, not blue; 0 paints the grid's normal colour.
    grid->setTextMatrix(1, 1, QString());
    grid->setTextMatrix(2, 2, QString());
    grid->setCell(FlexGrid::SetBackColor, 1, 1, 255);
    grid->setRow(5);
    const QPoint red = grid->CellRect(1, 1).center() + QPoint(0, 3);
    const QImage img = grid->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(red)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(grid->CellRect(2, 2).center() + QPoint(0, 3))), QColor(0, 0, 255));
    grid->setCell(FlexGrid::SetBackColor, 1, 1, 0);
    EXPECT_EQ(QColor(grid->grab().toImage().pixel(red)), ColorFromRgb(grid->BackColor()));
}

TEST_F(GridTest, TypingF2AndEnterEditEscapeDropsAndAClickElsewhereCommits)
{
    at(1, 1);
    QTest::keyClicks(gridKeys(), QStringLiteral("4"));
    EXPECT_EQ(grid->EditText(), QStringLiteral("4")) << "the first key replaces the old text";
    typeIntoEditor(QStringLiteral("2"));
    press(lineEditor(), Qt::Key_Return);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("42"));
    EXPECT_EQ(log, (Strings{"Before 1,1", "Key 52", "Key 50", "Validate 1,1 42", "After 1,1"}));
    EXPECT_EQ(changes, 2);
    // F2 and Enter open on the cell text; Escape drops the entry unchecked.
    for (Qt::Key k : {Qt::Key_F2, Qt::Key_Return}) {
        press(gridKeys(), k);
        EXPECT_EQ(grid->EditText(), QStringLiteral("42"));
        typeIntoEditor(QStringLiteral("9"));
        press(lineEditor(), Qt::Key_Escape);
        EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("42"));
    }
    EXPECT_EQ(log.filter(QStringLiteral("Validate")).size(), 1);

    QTest::mouseDClick(grid->view()->viewport(), Qt::LeftButton, {}, cellCenter(2, 2));
    ASSERT_TRUE(grid->IsEditing()) << log.join(QLatin1Char(';')).toStdString();
    lineEditor()->selectAll();
    typeIntoEditor(QStringLiteral("77"));
    click(4, 1);
    EXPECT_EQ(grid->TextMatrix(2, 2), QStringLiteral("77"));
    EXPECT_EQ(grid->Row(), 4);
    const auto pos = [&](const char *entry) { return log.indexOf(QLatin1String(entry)); };
    ASSERT_GE(pos("Validate 2,2 77"), 0);
    EXPECT_LT(pos("Validate 2,2 77"), pos("After 2,2"));
    EXPECT_LT(pos("After 2,2"), pos("Leave 2,2")) << "the edit ends before the cell is left";
}

TEST_F(GridTest, NoEditorWhenRefusedOnFixedCellsOrInANotEditableGrid)
{
    onBefore = [](int, int, bool &cancel) { cancel = true; };
    at(1, 1);
    press(gridKeys(), Qt::Key_F2);
    QTest::keyClicks(gridKeys(), QStringLiteral("7"));
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(log, (Strings{"Before 1,1", "Before 1,1"}));
    onBefore = nullptr;

    grid->setRow(0); // code may point at a header cell, which never edits
    press(gridKeys(), Qt::Key_F2);
    EXPECT_FALSE(grid->IsEditing());
    grid->setRow(1);
    click(0, 3); // header cells cannot be selected, by click, arrow or Shift+Tab
    click(3, 0);
    press(gridKeys(), Qt::Key_Up);
    press(gridKeys(), Qt::Key_Left);
    press(gridKeys(), Qt::Key_Backtab);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);
    grid->setCol(2);
    press(gridKeys(), Qt::Key_Backtab);
    EXPECT_EQ(grid->Col(), 1) << "Shift+Tab reaches the first column that is not fixed";

    grid->setEditable(FlexGrid::EditNone);
    grid->setCell(FlexGrid::SetChecked, 2, 2, FlexGrid::Unchecked);
    log.clear();
    press(gridKeys(), Qt::Key_F2);
    click(2, 2);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->Cell(FlexGrid::SetChecked, 2, 2).toInt(), FlexGrid::Unchecked);
    EXPECT_TRUE(log.filter(QStringLiteral("Before")).isEmpty());
}

// Handlers rewrite the editor, select cells and write other cells while the editor is open.
TEST_F(GridTest, ValidateCancelKeepsTheEditorWithTheRewrittenTextAndHandlersMoveNothing)
{
    int round = 0;
    onBefore = [&](int r, int c, bool &) { at(r, c); };
    onValidate = [&](int, int, bool &cancel) {
        if (++round == 1) {
            grid->setEditText(QStringLiteral("*****"));
            cancel = true;
        }
        grid->setRow(5);
        grid->setTextMatrix(5, 4, QStringLiteral("mirror"));
    };
    at(3, 2);
    QTest::keyClicks(gridKeys(), QStringLiteral("x"));
    press(lineEditor(), Qt::Key_Return);
    ASSERT_TRUE(grid->IsEditing()) << "a refused entry keeps the editor";
    EXPECT_EQ(lineEditor()->text(), QStringLiteral("*****"));
    EXPECT_EQ(grid->TextMatrix(3, 2), QStringLiteral("3,2")) << "nothing stored yet";
    // Moving away is refused as well while the check fails.
    round = 0;
    click(4, 4);
    EXPECT_TRUE(grid->IsEditing());
    press(lineEditor(), Qt::Key_Return);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->TextMatrix(3, 2), QStringLiteral("*****"));
    EXPECT_EQ(grid->TextMatrix(5, 4), QStringLiteral("mirror"));
    EXPECT_EQ(log.filter(QStringLiteral("After")), Strings{"After 3,2"});
    EXPECT_EQ(log.last(), QStringLiteral("After 3,2"));
}

TEST_F(GridTest, KeyPressEditChangesOrDropsKeys)
{
    onKey = [](int, int, int &key) {
        if (key >= 'a' && key <= 'z')
            key -= 32; // to capitals
        else if (key >= '0' && key <= '9')
            key = 0; // digits refused
    };
    at(1, 2);
    QTest::keyClicks(gridKeys(), QStringLiteral("1"));
    ASSERT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->EditText(), QStringLiteral("1,2")) << "a dropped first key leaves the cell text";
    lineEditor()->selectAll();
    typeIntoEditor(QStringLiteral("a1b2c"));
    EXPECT_EQ(grid->EditText(), QStringLiteral("ABC"));
    press(lineEditor(), Qt::Key_Backspace);
    EXPECT_EQ(grid->EditText(), QStringLiteral("AB"));
    EXPECT_TRUE(log.contains(QStringLiteral("Key 8"))) << "Backspace is offered to the filter";
    press(lineEditor(), Qt::Key_Tab);
    EXPECT_EQ(grid->TextMatrix(1, 2), QStringLiteral("AB"));
    EXPECT_EQ(grid->Col(), 3) << "Tab stores and moves right";
}

TEST_F(GridTest, ClickAndArrowsMoveTheCurrentCellWithLeaveThenChange)
{
    at(1, 1);
    click(2, 3);
    EXPECT_EQ(log, (Strings{"Leave 1,1", "Change 2,3", "Click"}));
    log.clear();
    press(gridKeys(), Qt::Key_Down);
    click(3, 3); // same cell: a click, no move
    EXPECT_EQ(log, (Strings{"Leave 2,3", "Change 3,3", "Click"}));
}

TEST_F(GridTest, CheckToggleIsSeenBeforeItAppliesAndCanBeRefused)
{
    grid->setTextMatrix(2, 1, QString());
    grid->setCell(FlexGrid::SetChecked, 2, 1, FlexGrid::Unchecked);
    // A ticked box and an empty one look different.
    grid->setTextMatrix(3, 1, QString());
    grid->setTextMatrix(4, 1, QString());
    grid->setCell(FlexGrid::SetChecked, 3, 1, FlexGrid::Checked);
    grid->setCell(FlexGrid::SetChecked, 4, 1, FlexGrid::Unchecked);
    const QImage boxes = grid->grab().toImage();
    EXPECT_NE(boxes.copy(grid->CellRect(3, 1)), boxes.copy(grid->CellRect(4, 1)));
    const auto checked = [&] { return grid->Cell(FlexGrid::SetChecked, 2, 1).toInt(); };
    int seen = -1;
    bool refuse = true;
    onValidate = [&](int, int, bool &cancel) {
        seen = checked();
        cancel = refuse;
    };
    click(2, 1);
    EXPECT_EQ(seen, FlexGrid::Unchecked) << "the handler sees the state before the toggle";
    EXPECT_EQ(checked(), FlexGrid::Unchecked) << "refused";
    refuse = false;
    log.clear();
    press(gridKeys(), Qt::Key_Space);
    EXPECT_EQ(checked(), FlexGrid::Checked);
    EXPECT_EQ(log, (Strings{"Before 2,1", "Validate 2,1 ", "After 2,1"}));
    log.clear();
    onBefore = [](int, int, bool &cancel) { cancel = true; };
    press(gridKeys(), Qt::Key_Space);
    EXPECT_EQ(checked(), FlexGrid::Checked);
    EXPECT_EQ(log, (Strings{"Before 2,1"}));
    EXPECT_FALSE(grid->IsEditing()) << "a check cell never opens a text editor";
}

TEST_F(GridTest, CombosTakeAChoiceOrTypedTextWhereTheListAllowsIt)
{
    int indexAfter = -2;
    onBefore = [&](int, int, bool &) { grid->setComboList(QStringLiteral("|CH4|H2|OTHER")); };
    onAfter = [&](int, int) { indexAfter = grid->ComboIndex(); };
    at(1, 1);
    // Typed text is index -1; an entry's exact text is that entry, kept after the edit.
    for (const auto &[typed, index] : {std::pair{"XYZ", -1}, std::pair{"H2", 1}}) {
        press(gridKeys(), Qt::Key_F2);
        EXPECT_EQ(grid->ComboCount(), 3);
        lineEditor()->selectAll();
        typeIntoEditor(QLatin1String(typed));
        press(lineEditor(), Qt::Key_Return);
        EXPECT_EQ(grid->TextMatrix(1, 1), QLatin1String(typed));
        EXPECT_EQ(indexAfter, index);
        EXPECT_EQ(grid->ComboIndex(), index);
    }
    // Before the list opens its handler may pick the entry; closing the list keeps the editor.
    onBefore = [&](int, int, bool &) { grid->setComboList(QStringLiteral("ME|Normal")); };
    QStringList dropped;
    QObject::connect(grid.get(), &FlexGrid::ComboDropDown, grid.get(), [&](int r, int c) {
        dropped << QStringLiteral("%1,%2").arg(r).arg(c);
        grid->setComboIndex(grid->ComboCount() - 1);
    });
    press(gridKeys(), Qt::Key_F2);
    auto *combo = qobject_cast<QComboBox *>(grid->Editor());
    ASSERT_TRUE(combo);
    EXPECT_TRUE(combo->lineEdit()->isReadOnly()) << "a plain list takes no typed text";
    combo->showPopup();
    EXPECT_EQ(dropped, Strings{"1,1"});
    EXPECT_EQ(grid->EditText(), QStringLiteral("Normal"));
    combo->hidePopup();
    QApplication::processEvents();
    ASSERT_EQ(grid->Editor(), combo);
    combo->setCurrentIndex(0); // the user picks "ME"
    press(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("ME"));
    EXPECT_EQ(log.filter(QStringLiteral("Validate")).last(), QStringLiteral("Validate 1,1 ME"));
}

TEST_F(GridTest, MergedRowJoinsEqualNeighboursOnlyInChosenRows)
{
    grid->setFixedRows(2);
    const QString w = QStringLiteral("Warning and Alarm point");
    for (int c = 0; c < 5; ++c) {
        grid->setTextMatrix(0, c, c ? w : QString());
        grid->setTextMatrix(1, c, QStringLiteral("same"));
    }
    grid->setMergeCells(1);
    grid->setMergeRow(0, true);
    EXPECT_EQ(grid->MergedSpan(0, 2), qMakePair(1, 4)) << "up to the last column";
    EXPECT_EQ(grid->view()->columnSpan(0, 1), 4);
    EXPECT_EQ(grid->MergedSpan(0, 0), qMakePair(0, 0)) << "empty cells stay apart";
    EXPECT_EQ(grid->view()->columnSpan(1, 0), 1) << "row 1 is not merged";
    grid->setTextMatrix(0, 3, QStringLiteral("other"));
    EXPECT_EQ(grid->view()->columnSpan(0, 1), 2) << "a changed text splits the block at once";
}

TEST_F(GridTest, SizesKeepContentClearKeepsSizesAndOutOfRangeIsHarmless)
{
    grid->setColWidth(2, 1500);
    grid->setCell(FlexGrid::SetBackColor, 1, 1, 255);
    grid->setRows(3);
    grid->setCols(3);
    EXPECT_EQ(grid->TextMatrix(2, 2), QStringLiteral("2,2"));
    EXPECT_EQ(grid->TextMatrix(3, 0), QString());
    grid->setTextMatrix(-1, 0, QStringLiteral("x"));
    grid->setTextMatrix(0, 99, QStringLiteral("x"));
    grid->setRows(5);
    EXPECT_EQ(grid->TextMatrix(4, 1), QString());
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("1,1"));
    grid->setRow(4);
    grid->setRows(2);
    EXPECT_LT(grid->Row(), 2) << "the current row follows a shrinking grid";
    EXPECT_EQ(grid->Cell(FlexGrid::SetBackColor, 10, 10).toInt(), 0);
    grid->setCell(FlexGrid::SetChecked, 1, 2, FlexGrid::Checked);
    grid->Clear();
    EXPECT_EQ(QPair(grid->Rows(), grid->Cols()), QPair(2, 3));
    EXPECT_EQ(grid->TextMatrix(1, 1), QString());
    EXPECT_EQ(grid->Cell(FlexGrid::SetBackColor, 1, 1).toInt(), 0);
    EXPECT_EQ(grid->Cell(FlexGrid::SetChecked, 1, 2).toInt(), 0);
    EXPECT_EQ(grid->ColWidth(2), 1500);
    grid->setRows(0);
    EXPECT_EQ(grid->Row(), -1);
    EXPECT_EQ(grid->Text(), QString());
}

TEST_F(GridTest, FormatStringAlignmentsAndWidthsInTwips)
{
    grid->setFormatString(QStringLiteral("Gas|^Select|>Auto Cal.|Current Reading"));
    EXPECT_EQ(grid->Cols(), 4);
    EXPECT_EQ(grid->TextMatrix(0, 3), QStringLiteral("Current Reading"));
    EXPECT_EQ(grid->ColAlignment(1), FlexGrid::AlignCenterCenter);
    EXPECT_EQ(grid->ColAlignment(2), FlexGrid::AlignRightCenter);
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("1,1")) << "body rows untouched";
    EXPECT_EQ(grid->Cell(FlexGrid::SetAlignment, 4, 2).toInt(), FlexGrid::AlignRightCenter) << "body cells take their column's";
    grid->setCell(FlexGrid::SetAlignment, 1, 1, 5, 3, FlexGrid::AlignLeftCenter);
    EXPECT_EQ(grid->Cell(FlexGrid::SetAlignment, 5, 3).toInt(), FlexGrid::AlignLeftCenter);

    grid->setColWidth(1, 1500);
    EXPECT_EQ(grid->view()->columnWidth(1), 100);
    grid->setColWidth(2, 0);
    EXPECT_TRUE(grid->view()->isColumnHidden(2));
    grid->setColWidth(2, 900);
    EXPECT_FALSE(grid->view()->isColumnHidden(2));
    grid->setTextMatrix(1, 3, QStringLiteral("a rather long cell text to fit"));
    grid->AutoSize(3);
    EXPECT_GT(grid->view()->columnWidth(3), grid->fontMetrics().horizontalAdvance(QStringLiteral("a rather long cell text")));
}

// A size rule sees the size the grid has on screen, also when it was filled before its page
// was ever shown; a fitting grid never shows less than its texts (the layout tests check every
// caption of the dialogs that use it), and only the texts it shows set its sizes.
TEST(GridFit, TheSizeRuleFollowsTheShownSizeAndTextsSetTheLeastSize)
{
    QWidget page;
    auto *g = new FlexGrid(&page);
    g->setFitTexts(true);
    g->setCols(4);
    g->setRows(3);
    g->setSizeRule([g] { g->setColWidth(1, g->Width() / 2); });
    const QString wide = QStringLiteral("a header far wider than its column");
    g->setTextMatrix(0, 2, wide);
    g->setColWidth(2, 100);
    EXPECT_GT(g->view()->columnWidth(2), g->fontMetrics().horizontalAdvance(wide));
    EXPECT_EQ(g->ColWidth(2), PixelsToTwips(g->view()->columnWidth(2))) << "reads back as shown";
    const int oneLine = 2 * g->fontMetrics().height();
    g->setTextMatrix(1, 2, QStringLiteral("BOTH ALARMS FALLING\r\n")); // draws one line
    EXPECT_LT(g->view()->rowHeight(1), oneLine);
    g->setTextMatrix(2, 3, QStringLiteral("one\r\ntwo\r\nthree"));
    ASSERT_GT(g->view()->rowHeight(2), oneLine);
    g->setColWidth(3, 0); // hidden: its texts take no room
    EXPECT_LT(g->view()->rowHeight(2), oneLine);
    g->setTextMatrix(1, 3, QStringLiteral("one\r\ntwo\r\nthree"));
    EXPECT_LT(g->view()->rowHeight(1), oneLine);
    page.resize(800, 400);
    g->setGeometry(0, 0, 600, 200);
    page.show();
    QApplication::processEvents();
    EXPECT_EQ(g->view()->columnWidth(1), 300);
    g->resize(400, 200);
    EXPECT_EQ(g->view()->columnWidth(1), 200);
}

// A check box is drawn where its own alignment puts it: the factory grids centre theirs.
TEST_F(GridTest, CheckBoxIsDrawnWhereItsAlignmentSays)
{
    grid->setColWidth(1, 2400);
    grid->setTextMatrix(2, 1, QString());
    grid->setCell(FlexGrid::SetChecked, 2, 1, FlexGrid::Checked);
    // Where the ink of the box lies, as a fraction of the cell's width from its left edge.
    const auto inkAt = [&] {
        QApplication::processEvents();
        const QRect cell = grid->CellRect(2, 1);
        const QImage img = grid->grab().toImage().copy(cell);
        const QRgb back = img.pixel(img.width() - 3, img.height() / 2);
        int first = -1, last = -1;
        for (int x = 3; x < img.width() - 3; ++x) // inside any frame of the current cell
            for (int y = 3; y < img.height() - 3; ++y)
                if (img.pixel(x, y) != back) {
                    first = first < 0 ? x : first;
                    last = x;
                }
        return first < 0 ? -1.0 : (first + last) / 2.0 / img.width();
    };
    grid->setCell(FlexGrid::SetCheckAlignment, 2, 1, FlexGrid::AlignLeftCenter);
    EXPECT_LT(inkAt(), 0.25);
    grid->setCell(FlexGrid::SetCheckAlignment, 2, 1, FlexGrid::AlignCenterCenter);
    const double centre = inkAt();
    EXPECT_GT(centre, 0.4);
    EXPECT_LT(centre, 0.6);
}
