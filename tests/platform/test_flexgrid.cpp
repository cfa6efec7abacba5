#include "GridFixture.h"
#include "platform/Twips.h"
#include <QApplication>
#include <QImage>

using Strings = QStringList;

TEST_F(GridTest, CodeWritesRaiseNoEvents)
{
    grid->setTextMatrix(1, 1, QStringLiteral("x"));
    grid->setRow(2);
    grid->setCol(3);
    grid->setText(QStringLiteral("y"));
    grid->setCell(FlexGrid::SetBackColor, 1, 1, 3, 3, 255);
    grid->setCell(FlexGrid::SetChecked, 4, 4, FlexGrid::Checked);
    grid->setCellAlignment(FlexGrid::AlignCenterCenter);
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
    grid->setRow(1);
    grid->setCol(1);
    grid->setCellBackColor(255);
    EXPECT_EQ(grid->CellBackColor(), 255);
    grid->setCellBackColor(16777215);
    EXPECT_EQ(grid->CellBackColor(), 16777215);
    grid->setCell(FlexGrid::SetBackColor, 2, 1, 3, 2, RGB(0, 0, 255));
    grid->setCell(FlexGrid::SetForeColor, 2, 1, 255);
    for (int r = 2; r <= 3; ++r)
        for (int c = 1; c <= 2; ++c)
            EXPECT_EQ(grid->Cell(FlexGrid::SetBackColor, r, c).toInt(), 16711680);
    EXPECT_EQ(grid->Cell(FlexGrid::SetBackColor, 4, 1).toInt(), 0) << "unset cells read 0";
    EXPECT_EQ(grid->Cell(FlexGrid::SetForeColor, 2, 1).toInt(), 255);
    // A block given with its ends swapped is the same block.
    grid->setCell(FlexGrid::SetBackColor, 5, 4, 4, 3, RGB(0, 255, 0));
    EXPECT_EQ(grid->Cell(FlexGrid::SetBackColor, 4, 3).toInt(), 65280);

    // 255 must paint red, not blue; 0 paints the grid's normal colour.
    grid->setTextMatrix(1, 1, QString());
    grid->setTextMatrix(2, 2, QString());
    grid->setCell(FlexGrid::SetBackColor, 1, 1, 255);
    grid->setRow(5);
    const QImage img = grid->grab().toImage();
    const QPoint red = grid->CellRect(1, 1).center() + QPoint(0, 3);
    const QPoint blue = grid->CellRect(2, 2).center() + QPoint(0, 3);
    EXPECT_EQ(QColor(img.pixel(red)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(blue)), QColor(0, 0, 255));
    grid->setCell(FlexGrid::SetBackColor, 1, 1, 0);
    const QImage img2 = grid->grab().toImage();
    EXPECT_EQ(QColor(img2.pixel(red)), ColorFromRgb(grid->BackColor()));
}

TEST_F(GridTest, TypingStartsAnEditAndEnterStoresIt)
{
    grid->setRow(1);
    grid->setCol(1);
    QTest::keyClicks(gridKeys(), QStringLiteral("4"));
    ASSERT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->EditText(), QStringLiteral("4")) << "the first key replaces the old text";
    typeIntoEditor(QStringLiteral("2"));
    press(lineEditor(), Qt::Key_Return);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("42"));
    EXPECT_EQ(log, (Strings{"Before 1,1", "Key 52", "Key 50", "Validate 1,1 42", "After 1,1"}));
    EXPECT_EQ(changes, 2);
}

TEST_F(GridTest, F2AndEnterOpenOnTheCellTextAndEscapeDropsWithoutValidation)
{
    grid->setRow(2);
    grid->setCol(3);
    press(gridKeys(), Qt::Key_F2);
    ASSERT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->EditText(), QStringLiteral("2,3"));
    typeIntoEditor(QStringLiteral("9"));
    press(lineEditor(), Qt::Key_Escape);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->TextMatrix(2, 3), QStringLiteral("2,3"));
    EXPECT_TRUE(log.filter(QStringLiteral("Validate")).isEmpty());
    press(gridKeys(), Qt::Key_Return);
    EXPECT_TRUE(grid->IsEditing());
}

TEST_F(GridTest, NoEditorWhenRefusedOnFixedCellsOrInANotEditableGrid)
{
    onBefore = [](int, int, bool &cancel) { cancel = true; };
    grid->setRow(1);
    grid->setCol(1);
    press(gridKeys(), Qt::Key_F2);
    QTest::keyClicks(gridKeys(), QStringLiteral("7"));
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("1,1"));
    EXPECT_EQ(log, (Strings{"Before 1,1", "Before 1,1"}));
    onBefore = nullptr;
    log.clear();

    grid->setRow(0);    // code may point at a header cell
    grid->setCol(2);
    press(gridKeys(), Qt::Key_F2);
    QTest::keyClicks(gridKeys(), QStringLiteral("5"));
    EXPECT_FALSE(grid->IsEditing());
    grid->setRow(1);
    grid->setCol(1);
    click(0, 3);        // header cells cannot be selected
    click(3, 0);
    press(gridKeys(), Qt::Key_Up);
    press(gridKeys(), Qt::Key_Left);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 1);

    grid->setEditable(FlexGrid::EditNone);
    grid->setCell(FlexGrid::SetChecked, 2, 2, FlexGrid::Unchecked);
    press(gridKeys(), Qt::Key_F2);
    QTest::keyClicks(gridKeys(), QStringLiteral("5"));
    click(2, 2);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->Cell(FlexGrid::SetChecked, 2, 2).toInt(), FlexGrid::Unchecked);
    EXPECT_TRUE(log.filter(QStringLiteral("Before")).isEmpty());
}

TEST_F(GridTest, ValidateCancelKeepsTheEditorWithTheRewrittenText)
{
    int round = 0;
    onValidate = [&](int, int, bool &cancel) {
        if (++round == 1) {
            grid->setEditText(QStringLiteral("*****"));
            cancel = true;
        }
    };
    grid->setRow(3);
    grid->setCol(2);
    QTest::keyClicks(gridKeys(), QStringLiteral("x"));
    press(lineEditor(), Qt::Key_Return);
    ASSERT_TRUE(grid->IsEditing()) << "a refused entry keeps the editor";
    EXPECT_EQ(lineEditor()->text(), QStringLiteral("*****"));
    EXPECT_EQ(grid->TextMatrix(3, 2), QStringLiteral("3,2")) << "nothing stored yet";
    EXPECT_FALSE(log.contains(QStringLiteral("After 3,2")));
    // Moving away is refused as well while the check fails.
    round = 0;
    click(4, 4);
    EXPECT_TRUE(grid->IsEditing());
    EXPECT_EQ(grid->Row(), 3);
    press(lineEditor(), Qt::Key_Return);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->TextMatrix(3, 2), QStringLiteral("*****"));
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.last(), QStringLiteral("After 3,2"));
}

TEST_F(GridTest, KeyPressEditChangesOrDropsKeys)
{
    onKey = [](int, int, int &key) {
        if (key >= 'a' && key <= 'z')
            key -= 32;            // to capitals
        else if (key >= '0' && key <= '9')
            key = 0;              // digits refused
    };
    grid->setRow(1);
    grid->setCol(2);
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
    grid->setRow(1);
    grid->setCol(1);
    click(2, 3);
    EXPECT_EQ(log, (Strings{"Leave 1,1", "Change 2,3", "Click"}));
    log.clear();
    press(gridKeys(), Qt::Key_Down);
    EXPECT_EQ(log, (Strings{"Leave 2,3", "Change 3,3"}));
    log.clear();
    click(3, 3);        // same cell: a click, no move
    EXPECT_EQ(log, (Strings{"Click"}));
}

TEST_F(GridTest, DoubleClickEditsAndClickElsewhereCommits)
{
    QTest::mouseDClick(grid->view()->viewport(), Qt::LeftButton, {}, cellCenter(2, 2));
    ASSERT_TRUE(grid->IsEditing()) << log.join(QLatin1Char(';')).toStdString();
    lineEditor()->selectAll();
    typeIntoEditor(QStringLiteral("77"));
    click(4, 1);
    EXPECT_FALSE(grid->IsEditing());
    EXPECT_EQ(grid->TextMatrix(2, 2), QStringLiteral("77"));
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Col(), 1);
    const int v = int(log.indexOf(QStringLiteral("Validate 2,2 77")));
    const int a = int(log.indexOf(QStringLiteral("After 2,2")));
    const int l = int(log.indexOf(QStringLiteral("Leave 2,2")));
    ASSERT_GE(v, 0);
    EXPECT_LT(v, a);
    EXPECT_LT(a, l) << "the edit ends before the cell is left";
}

TEST_F(GridTest, CheckToggleIsSeenBeforeItAppliesAndCanBeRefused)
{
    grid->setTextMatrix(2, 1, QString());
    grid->setCell(FlexGrid::SetChecked, 2, 1, FlexGrid::Unchecked);
    grid->setCell(FlexGrid::SetCheckAlignment, 2, 1, FlexGrid::AlignCenterCenter);
    int seen = -1;
    bool refuse = true;
    onValidate = [&](int r, int c, bool &cancel) {
        seen = grid->Cell(FlexGrid::SetChecked, r, c).toInt();
        cancel = refuse;
    };
    click(2, 1);
    EXPECT_EQ(seen, FlexGrid::Unchecked) << "the handler sees the state before the toggle";
    EXPECT_EQ(grid->Cell(FlexGrid::SetChecked, 2, 1).toInt(), FlexGrid::Unchecked) << "refused";
    EXPECT_FALSE(log.contains(QStringLiteral("After 2,1")));
    refuse = false;
    log.clear();
    press(gridKeys(), Qt::Key_Space);
    EXPECT_EQ(grid->Cell(FlexGrid::SetChecked, 2, 1).toInt(), FlexGrid::Checked);
    EXPECT_EQ(log, (Strings{"Before 2,1", "Validate 2,1 ", "After 2,1"}));
    log.clear();
    onBefore = [](int, int, bool &cancel) { cancel = true; };
    press(gridKeys(), Qt::Key_Space);
    EXPECT_EQ(grid->Cell(FlexGrid::SetChecked, 2, 1).toInt(), FlexGrid::Checked);
    EXPECT_EQ(log, (Strings{"Before 2,1"}));
    EXPECT_FALSE(grid->IsEditing()) << "a check cell never opens a text editor";

    // AfterEdit may force the check back.
    onBefore = nullptr;
    onAfter = [&](int r, int c) { grid->setCell(FlexGrid::SetChecked, r, c, FlexGrid::Checked); };
    press(gridKeys(), Qt::Key_Space);
    EXPECT_EQ(grid->Cell(FlexGrid::SetChecked, 2, 1).toInt(), FlexGrid::Checked);
    EXPECT_TRUE(log.contains(QStringLiteral("After 2,1")));
}

TEST_F(GridTest, ComboWithTypedTextGivesIndexMinusOne)
{
    int indexAfter = -2;
    onBefore = [&](int, int, bool &) { grid->setComboList(QStringLiteral("|CH4|H2|OTHER")); };
    onAfter = [&](int, int) { indexAfter = grid->ComboIndex(); };
    grid->setRow(1);
    grid->setCol(1);
    press(gridKeys(), Qt::Key_F2);
    ASSERT_TRUE(qobject_cast<QComboBox *>(grid->Editor()));
    EXPECT_EQ(grid->ComboCount(), 3);
    lineEditor()->selectAll();
    typeIntoEditor(QStringLiteral("XYZ"));
    EXPECT_EQ(grid->ComboIndex(), -1);
    press(lineEditor(), Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("XYZ"));
    EXPECT_EQ(indexAfter, -1);

    // Typing an entry's exact text is that entry.
    press(gridKeys(), Qt::Key_F2);
    lineEditor()->selectAll();
    typeIntoEditor(QStringLiteral("H2"));
    press(lineEditor(), Qt::Key_Return);
    EXPECT_EQ(indexAfter, 1);
    EXPECT_EQ(grid->ComboIndex(), 1) << "kept after the edit";

    // With typing switched on, a plain list takes typed text too.
    grid->setComboTyping(true);
    onBefore = [&](int, int, bool &) { grid->setComboList(QStringLiteral("CO|H2S")); };
    press(gridKeys(), Qt::Key_F2);
    ASSERT_TRUE(lineEditor());
    EXPECT_FALSE(lineEditor()->isReadOnly());
    lineEditor()->selectAll();
    typeIntoEditor(QStringLiteral("NH3"));
    press(lineEditor(), Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("NH3"));
    EXPECT_EQ(indexAfter, -1);
}

TEST_F(GridTest, ComboChoiceAndDropDownHandlerCanPickTheEntry)
{
    onBefore = [&](int, int, bool &) { grid->setComboList(QStringLiteral("ME|Normal")); };
    onDropDown = [&] { grid->setComboIndex(grid->ComboCount() - 1); };
    grid->setRow(2);
    grid->setCol(2);
    press(gridKeys(), Qt::Key_F2);
    auto *combo = qobject_cast<QComboBox *>(grid->Editor());
    ASSERT_TRUE(combo);
    EXPECT_TRUE(combo->lineEdit()->isReadOnly()) << "a plain list takes no typed text";
    combo->showPopup();
    EXPECT_TRUE(log.contains(QStringLiteral("DropDown 2,2")));
    EXPECT_EQ(grid->EditText(), QStringLiteral("Normal"));
    combo->hidePopup();
    QApplication::processEvents();
    ASSERT_EQ(grid->Editor(), combo) << "closing the list keeps the editor" << log.join(QLatin1Char(';')).toStdString();
    combo->setCurrentIndex(0);    // the user picks "ME"
    EXPECT_EQ(combo->currentText(), QStringLiteral("ME"));
    EXPECT_EQ(grid->ComboIndex(), 0);
    press(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(2, 2), QStringLiteral("ME"));
    ASSERT_FALSE(log.filter(QStringLiteral("Validate")).isEmpty());
    EXPECT_EQ(log.filter(QStringLiteral("Validate")).last(), QStringLiteral("Validate 2,2 ME"));
}

TEST_F(GridTest, MergedRowJoinsEqualNeighboursOnlyInChosenRows)
{
    grid->setFixedRows(2);
    grid->setCols(6);
    const QString w = QStringLiteral("Warning and Alarm point");
    const QStringList row0{QString(), w, w, w, w, QString()};
    for (int c = 0; c < 6; ++c) {
        grid->setTextMatrix(0, c, row0[c]);
        grid->setTextMatrix(1, c, QStringLiteral("same"));
    }
    grid->setMergeCells(1);
    grid->setMergeRow(0, true);
    EXPECT_EQ(grid->MergedSpan(0, 2), qMakePair(1, 4));
    EXPECT_EQ(grid->view()->columnSpan(0, 1), 4);
    EXPECT_EQ(grid->MergedSpan(0, 0), qMakePair(0, 0)) << "empty cells stay apart";
    EXPECT_EQ(grid->view()->columnSpan(1, 0), 1) << "row 1 is not merged";
    grid->setTextMatrix(0, 3, QStringLiteral("other"));
    EXPECT_EQ(grid->view()->columnSpan(0, 1), 2) << "a changed text splits the block at once";
}

TEST_F(GridTest, SizesKeepContentAndOutOfRangeIsHarmless)
{
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
    grid->setRows(0);
    EXPECT_EQ(grid->Row(), -1);
    EXPECT_EQ(grid->Text(), QString());
}

TEST_F(GridTest, ClearEmptiesTextsAndFormatsButKeepsSizes)
{
    grid->setCell(FlexGrid::SetBackColor, 1, 1, 255);
    grid->setCell(FlexGrid::SetChecked, 2, 2, FlexGrid::Checked);
    grid->setColWidth(2, 1500);
    grid->Clear();
    EXPECT_EQ(grid->Rows(), 6);
    EXPECT_EQ(grid->Cols(), 5);
    EXPECT_EQ(grid->TextMatrix(1, 1), QString());
    EXPECT_EQ(grid->Cell(FlexGrid::SetBackColor, 1, 1).toInt(), 0);
    EXPECT_EQ(grid->Cell(FlexGrid::SetChecked, 2, 2).toInt(), 0);
    EXPECT_EQ(grid->ColWidth(2), 1500);
}

TEST_F(GridTest, FormatStringAndCellAlignment)
{
    grid->setFormatString(QStringLiteral("Gas|^Select|>Auto Cal.|Current Reading"));
    EXPECT_EQ(grid->Cols(), 4);
    EXPECT_EQ(grid->TextMatrix(0, 1), QStringLiteral("Select"));
    EXPECT_EQ(grid->TextMatrix(0, 3), QStringLiteral("Current Reading"));
    EXPECT_EQ(grid->ColAlignment(1), FlexGrid::AlignCenterCenter);
    EXPECT_EQ(grid->ColAlignment(2), FlexGrid::AlignRightCenter);
    EXPECT_EQ(grid->TextMatrix(1, 1), QStringLiteral("1,1")) << "body rows untouched";
    EXPECT_EQ(grid->Cell(FlexGrid::SetAlignment, 1, 3).toInt(), FlexGrid::AlignGeneral);
    grid->setColAlignment(1, FlexGrid::AlignLeftCenter);
    EXPECT_EQ(grid->Cell(FlexGrid::SetAlignment, 1, 1).toInt(), FlexGrid::AlignLeftCenter);
    grid->setCell(FlexGrid::SetAlignment, 1, 1, 5, 3, FlexGrid::AlignCenterCenter);
    EXPECT_EQ(grid->Cell(FlexGrid::SetAlignment, 3, 1).toInt(), FlexGrid::AlignCenterCenter);
}

TEST_F(GridTest, WidthsAreTwipsAndZeroHides)
{
    grid->setColWidth(1, 1500);
    EXPECT_EQ(grid->ColWidth(1), 1500);
    EXPECT_EQ(grid->view()->columnWidth(1), 100);
    grid->setColWidth(2, 0);
    EXPECT_TRUE(grid->view()->isColumnHidden(2));
    grid->setColWidth(2, 900);
    EXPECT_FALSE(grid->view()->isColumnHidden(2));
    grid->setTextMatrix(1, 3, QStringLiteral("a rather long cell text to fit"));
    grid->AutoSize(3);
    EXPECT_GT(grid->view()->columnWidth(3), grid->fontMetrics().horizontalAdvance(QStringLiteral("a rather long cell text")));
}

// A fitting grid never shows less than its texts; a size rule sees the size the grid has on
// screen, also when it was filled before its page was ever shown.
TEST(GridFit, TextsSetTheLeastSizeAndTheRuleFollowsTheShownSize)
{
    QWidget page;
    auto *g = new FlexGrid(&page);
    g->setFitTexts(true);
    g->setCols(4);
    g->setRows(3);
    g->setSizeRule([g] { g->setColWidth(1, g->Width() / 2); });
    g->setColWidth(2, 100);
    g->setColWidth(3, 0);
    const QString wide = QStringLiteral("a header far wider than its column");
    g->setTextMatrix(0, 2, wide);
    g->setTextMatrix(1, 2, QStringLiteral("BOTH ALARMS FALLING\r\n")); // draws one line
    g->setTextMatrix(2, 3, QStringLiteral("one\r\ntwo\r\nthree"));       // hidden: takes no room
    EXPECT_GT(g->view()->columnWidth(2), g->fontMetrics().horizontalAdvance(wide));
    EXPECT_EQ(g->ColWidth(2), PixelsToTwips(g->view()->columnWidth(2)));
    EXPECT_LT(g->view()->rowHeight(1), 2 * g->fontMetrics().height());
    EXPECT_LT(g->view()->rowHeight(2), 2 * g->fontMetrics().height());
    g->setTextMatrix(0, 2, QStringLiteral("short"));
    g->setColWidth(2, 100); // set again: back to what the texts left need
    EXPECT_LT(g->view()->columnWidth(2), g->fontMetrics().horizontalAdvance(wide));

    page.resize(800, 400);
    g->setGeometry(0, 0, 600, 200);
    page.show();
    QApplication::processEvents();
    EXPECT_EQ(g->view()->columnWidth(1), 300);
    g->resize(400, 200);
    EXPECT_EQ(g->view()->columnWidth(1), 200);
}


TEST_F(GridTest, HandlerRewritingTheCurrentCellDoesNotMoveTheEdit)
{
    // Handlers select the edited cell and write other cells while the editor is open.
    onBefore = [&](int r, int c, bool &) {
        grid->setRow(r);
        grid->setCol(c);
    };
    onValidate = [&](int, int, bool &) {
        grid->setRow(5);
        grid->setTextMatrix(5, 4, QStringLiteral("mirror"));
    };
    grid->setRow(2);
    grid->setCol(1);
    QTest::keyClicks(gridKeys(), QStringLiteral("8"));
    press(lineEditor(), Qt::Key_Return);
    EXPECT_EQ(grid->TextMatrix(2, 1), QStringLiteral("8"));
    EXPECT_EQ(grid->TextMatrix(5, 4), QStringLiteral("mirror"));
    ASSERT_FALSE(log.isEmpty());
    EXPECT_EQ(log.last(), QStringLiteral("After 2,1"));
}
