#pragma once
#include <initializer_list>
#include <QFont>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <QWidget>
#include <functional>
#include <memory>

class QTableView;
class QComboBox;
class QLineEdit;
class FlexGridModel;
class FlexGridView;
class QKeyEvent;
class QMouseEvent;

// The editable grid every form uses. Cells count from 0; the leading FixedRows()
// rows and FixedCols() columns are headers: ordinary cells that the user cannot
// select or edit. Colours are RGB numbers (R + G*256 + B*65536: 255 red,
// 16777215 white); 0 as a cell colour means "the grid's normal colour". Sizes
// given in twips use 15 twips per pixel.
//
// Events are signals carrying Cancel / KeyAscii by reference: connect them
// directly (the default for objects of the one GUI thread). Only the user raises
// events; every write from code (TextMatrix, Cell, Row, Col, Text, EditText ...)
// is silent.
//
// The fixed rows and columns stay in view while the body scrolls under them.
//
// Editing: BeforeEdit (Cancel refuses) -> editor open -> KeyPressEdit per typed
// key (0 drops it, another code replaces it) and ChangeEdit per text change ->
// on Enter, Tab, an arrow that leaves the text, a click elsewhere or focus loss:
// ValidateEdit (Cancel keeps the editor open with whatever EditText now holds)
// -> text stored -> AfterEdit. Escape drops the edit without ValidateEdit.
// A check cell (CellChecked 1 or 2) toggles on click or Space: BeforeEdit,
// then ValidateEdit while the cell still shows the old state (Cancel refuses
// the toggle), then the toggle, then AfterEdit.
class FlexGrid : public QWidget {
    Q_OBJECT
public:
    // Alignment codes (CellAlignment, ColAlignment, Cell setting 2 and 4).
    enum Alignment : int {
        AlignLeftTop = 0, AlignLeftCenter = 1, AlignLeftBottom = 2,
        AlignCenterTop = 3, AlignCenterCenter = 4, AlignCenterBottom = 5,
        AlignRightTop = 6, AlignRightCenter = 7, AlignRightBottom = 8,
        AlignGeneral = 9, // text left, numbers right, vertically centred
    };
    // Settings of Cell().
    enum CellSetting : int {
        SetText = 0,
        SetAlignment = 2,
        SetCheckAlignment = 4,
        SetChecked = 5,
        SetBackColor = 6,
        SetForeColor = 7,
        SetFont = 10,
    };
    // Check states.
    enum Check : int { NoCheckbox = 0, Checked = 1, Unchecked = 2 };
    // Editable values.
    enum EditMode : int { EditNone = 0, EditKeyboard = 1, EditKeyboardMouse = 2 };

    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    // --- size and headers ---
    int Rows() const;
    void setRows(int rows);
    int Cols() const;
    void setCols(int cols);
    void setFixedRows(int n);   // default 1
    void setFixedCols(int n);   // default 1
    // Empties every text and every cell format (colours, checks, alignment, fonts).
    // Sizes, column settings and the current cell stay.
    void Clear();
    // "|"-separated captions written into row 0 (Cols becomes their count). A caption
    // may start with "<", "^" or ">" for the column's alignment (left, centre, right).
    // Text after ";" gives captions of column 0 for rows 1, 2, ...
    void setFormatString(const QString &format);
    QString FormatString() const { return m_formatString; }

    // --- cell content ---
    QString TextMatrix(int row, int col) const;          // "" outside the grid
    void setTextMatrix(int row, int col, const QString &text); // ignored outside

    // --- the current cell ---
    int Row() const { return m_row; }
    void setRow(int row);       // any row 0..Rows-1 (fixed ones too); else ignored
    int Col() const { return m_col; }
    void setCol(int col);
    QString Text() const;
    void setText(const QString &text);
    int CellBackColor() const;
    void setCellBackColor(int rgb);
    void setCellForeColor(int rgb);
    int CellChecked() const;
    void setCellChecked(int state);
    int CellAlignment() const;
    void setCellAlignment(int align);
    void setCellFont(const QFont &font);

    // --- one setting of a cell or block ---
    // Reads the setting of cell (row, col); -1 means the current cell. Text as
    // QString, the font as QFont, everything else as int.
    QVariant Cell(int setting, int row = -1, int col = -1) const;
    // Writes it on the block row1..row2 x col1..col2 (ends in either order;
    // row2/col2 -1: a single cell). Unknown settings are ignored.
    void setCell(int setting, int row1, int col1, int row2, int col2, const QVariant &value);
    void setCell(int setting, int row, int col, const QVariant &value) { setCell(setting, row, col, -1, -1, value); }

    // --- columns and rows ---
    int ColWidth(int col) const;             // twips
    void setColWidth(int col, int twips);    // 0 hides the column, -1 back to the default
    int ColAlignment(int col) const;
    void setColAlignment(int col, int align);
    void setRowHeight(int row, int twips);   // -1 back to the default
    // Widens columns col1..col2 (col2 -1: just col1) to fit their texts.
    void AutoSize(int col1, int col2 = -1);
    // The last visible column takes the width left over.
    void setExtendLastCol(bool on);
    // Columns and rows never show less than their texts: a column is at least as wide as its
    // widest cell (header and check box included), a row as tall as its tallest; set widths
    // and heights count as the least they take. Hidden columns stay hidden.
    void setFitTexts(bool on);
    // Sizes that follow the grid's own size: the rule runs now and again whenever the grid
    // is shown or resized, so widths are taken from the size it really has on screen, never
    // from a widget that was not laid out yet.
    void setSizeRule(std::function<void()> rule);

    // --- merging equal neighbouring cells of chosen rows ---
    void setMergeCells(int mode); // 0 off, anything else on for the rows of setMergeRow
    void setMergeRow(int row, bool on);
    // Columns (first, last) of the merged block that holds (row, col); (col, col) when not merged.
    QPair<int, int> MergedSpan(int row, int col) const;

    // --- grid colours and behaviour ---
    int BackColor() const { return m_backColor; }             // normal cells, default white
    void setBackColor(int rgb);
    void setForeColor(int rgb);
    int BackColorFixed() const { return m_backColorFixed; }   // header cells
    void setBackColorFixed(int rgb);
    void setForeColorFixed(int rgb);
    int GreyColor() const { return m_greyColor; }             // colour of disabled cells
    void setGreyColor(int rgb);
    int Editable() const { return m_editable; }
    void setEditable(int mode);
    // Every combo list of this grid also accepts typed text (as a leading "|" does for one list).
    void setComboTyping(bool on) { m_comboTyping = on; }

    // --- the editor ---
    bool IsEditing() const { return m_editing; }
    int EditRow() const { return m_editRow; }
    int EditCol() const { return m_editCol; }
    // Text of the open editor (the last edit's text when none is open). Writing it
    // while an editor is open changes the editor; this is how ValidateEdit rewrites.
    QString EditText() const;
    void setEditText(const QString &text);
    // List for the next edit: "" free text; "a|b|c" choose from the list; "|a|b|c"
    // choose or type. Set it in BeforeEdit for the cell being edited.
    QString ComboList() const { return m_comboList; }
    void setComboList(const QString &list);
    // The same as entries, for lists whose entries may hold "|" (names from an instrument):
    // each stays one entry. typing: choose or type.
    void setComboItems(const QStringList &items, bool typing);
    int ComboCount() const { return m_comboItems.size(); }
    // Position of the editor's text in the list; -1 when none (or typed text that is not in it).
    int ComboIndex() const;
    void setComboIndex(int index);
    // Starts an edit of the current cell as the user would (BeforeEdit first).
    bool EditCell();
    // Ends the open edit as leaving the cell would: ValidateEdit, store, AfterEdit.
    // False when ValidateEdit kept the editor open.
    bool CommitEdit();
    // Drops the open edit without events (Escape).
    void CancelEdit();
    // The open editor (a QLineEdit or a QComboBox), for tests and focus handling.
    QWidget *Editor() const { return m_editor; }

    // --- widget helpers in twips ---
    void Refresh();
    void SetFocus();
    int Top() const;
    int Width() const;
    int Height() const;
    void Move(int left, int top);
    void Move(int left, int top, int width, int height);
    // Pixel rectangle of a cell inside this widget (empty when hidden or scrolled away).
    QRect CellRect(int row, int col) const;
    QTableView *view() const;

signals:
    void BeforeEdit(int row, int col, bool &cancel);
    void KeyPressEdit(int row, int col, int &keyAscii);
    void ChangeEdit();
    void ValidateEdit(int row, int col, bool &cancel);
    void AfterEdit(int row, int col);
    void Click();
    void RowColChange();   // the user moved the current cell
    void LeaveCell();      // the current cell is about to change, or the grid loses focus
    void ComboDropDown(int row, int col); // a drop-down list is being opened

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    friend class FlexGridModel;
    friend class FlexGridDelegate;
    struct CellData {
        QString text;
        int back = 0;
        int fore = 0;
        int align = -1;       // -1: the column's alignment
        int checkAlign = -1;  // -1: follow the cell alignment
        int checked = 0;
        bool hasFont = false;
        QFont font;
    };
    bool valid(int row, int col) const { return row >= 0 && row < m_rowCount && col >= 0 && col < m_colCount; }
    CellData &cellRef(int row, int col) { return m_cells[row * m_colCount + col]; }
    const CellData &cellRef(int row, int col) const { return m_cells[row * m_colCount + col]; }
    void resizeGrid(int rows, int cols);
    void cellChanged(int row, int col);
    void blockChanged(int r1, int c1, int r2, int c2);
    void updateSpans();
    void applyColumnWidths();
    void applyRowHeights();
    // Pixels the texts of a column (a row) need; 0 when it has none.
    int fitWidth(int col) const;
    int fitHeight(int row) const;
    // After a cell or block changed: columns and rows widen to what the texts now need.
    void growToFit(int r1, int c1, int r2, int c2);
    void runSizeRule();
    int effectiveAlign(int row, int col) const;
    int effectiveBack(int row, int col) const;
    int effectiveFore(int row, int col) const;
    bool isFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }
    bool isCheckCell(int row, int col) const;
    // user actions
    bool userMoveTo(int row, int col);
    bool beginEdit(int initialKey);
    void openEditor(const QString &text, bool selectAll);
    void closeEditor();
    void toggleCheck(int row, int col);
    bool handleGridKey(QKeyEvent *ke);
    bool handleEditorKey(QKeyEvent *ke);
    bool handleMousePress(QMouseEvent *me, bool doubleClick);
    void placeEditor();
    void onEditorTextChanged(const QString &text);
    void moveAfterCommit(int dRow, int dCol);
    int firstSelectableRow() const;
    int firstSelectableCol() const;

    FlexGridModel *m_model = nullptr;
    FlexGridView *m_view = nullptr;
    QVector<CellData> m_cells;
    int m_rowCount = 0;
    int m_colCount = 0;
    int m_fixedRows = 1;
    int m_fixedCols = 1;
    int m_row = -1;
    int m_col = -1;
    QVector<int> m_colWidth;      // twips, -1 default
    QVector<int> m_colAlign;      // -1 general
    QVector<int> m_rowHeight;     // twips, -1 default
    QVector<bool> m_mergeRow;
    int m_mergeCells = 0;
    bool m_extendLastCol = false;
    bool m_fitTexts = false;
    std::function<void()> m_sizeRule;
    bool m_inSizeRule = false;
    QString m_formatString;
    int m_backColor = 16777215;
    int m_foreColor = 0;
    int m_backColorFixed = 13160660; // RGB(212, 208, 200)
    int m_foreColorFixed = 0;
    int m_greyColor = 14737632;      // RGB(224, 224, 224)
    int m_editable = EditNone;
    bool m_comboTyping = false;
    // editing
    QString m_comboList;
    QStringList m_comboItems;
    bool m_comboEditable = false;
    int m_comboIndex = -1;
    bool m_editing = false;
    bool m_inEvent = false;   // a BeforeEdit / ValidateEdit handler is running
    int m_editRow = -1;
    int m_editCol = -1;
    QString m_editText;
    QWidget *m_editor = nullptr;
    QLineEdit *m_lineEdit = nullptr;
    QComboBox *m_combo = nullptr;
    bool m_settingEditor = false;
    bool m_pressed = false;
};

// No command runs past an open editor. Ends the open edit of each grid as leaving its cell
// would; true when every grid is free (nothing open, or the entry stored), false when an entry
// was refused: its editor stays open with what was typed and takes the focus, and the command
// must not run.
bool EndOpenEdits(std::initializer_list<FlexGrid *> grids);
