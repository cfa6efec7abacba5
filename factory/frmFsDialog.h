#pragma once
#include "platform/CommonDialog.h"
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <array>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class FlexGrid;
class TabControl;
class UpDown;
class clsInstrument;
struct FileResult;

// The factory-setting dialog: edits a working copy of the instrument record in grids on
// tabs and, on OK, copies the changed members back into the record it was handed.
// One class, its members in files by tab:
//   frmFsDialog.cpp             controls, opening, OK / Cancel, whole-grid checks, GetAllGrids
//   frmFsDialog_setup.cpp       SET UP, FACTORY SETTINGS, OTHER lists (vfgDatas)
//   frmFsDialog_names.cpp       station and user lists
//   frmFsDialog_conversion.cpp  pre-defined and user conversion tables, available count
//   frmFsDialog_channel.cpp     channel gas mapping
//   frmFsDialog_other.cpp       other settings, ME values, zero / span
//   frmFsDialog_pid.cpp         PID sensor tables
//   frmFsDialog_gasnames.cpp    gas names and the other gases
//   frmFsDialog_store.cpp       maintenance-data store and load
//
// The main window opens it as the default form "frmFsDialog", hands it gInstrument through
// setInstrument() and shows it modally. Control arrays are std::array indexed like the
// originals; every control's objectName is its name, "_<index>" for array members.
class frmFsDialog : public QDialog {
    Q_OBJECT
public:
    explicit frmFsDialog(QWidget *parent = nullptr);
    ~frmFsDialog() override;

    // ---- frame (frmFsDialog.cpp) -------------------------------------------------------------

    // Registers the default instance's factory under "frmFsDialog" (app start-up, tests).
    static void Register();
    // The default instance, created (not shown) on first use.
    static frmFsDialog *Default();
    // The loaded default instance, or nullptr; never creates one.
    static frmFsDialog *Find();

    // The caller's record (a reference, not a copy). Set before the dialog is shown.
    Q_INVOKABLE void setInstrument(clsInstrument *inst);
    clsInstrument *Instrument() const { return m_instrument; }
    // The record every grid shows and edits; created at the first activation.
    clsInstrument *EditInstrument() const { return m_edit.get(); }

    // Outer tabs: 0 station & user, 1 conversion, 2 channel gas, 3 gas name, 4 parameter, 5 PID.
    TabControl *SSTab1 = nullptr;
    TabControl *SSTab2 = nullptr; // 0 pre-defined, 1 user-defined conversion table
    TabControl *SSTab3 = nullptr; // 0 PID high range, 1 PID low range
    TabControl *SSTab4 = nullptr; // 0 SET UP, 1 FACTORY SETTINGS, 2 OTHER

    // Tab 0
    QLabel *lblStation = nullptr;
    FlexGrid *vfgStation = nullptr;
    QLabel *lblUser = nullptr;
    FlexGrid *vfgUser = nullptr;
    QPushButton *cmdStationImport = nullptr;
    QPushButton *cmdStationExport = nullptr;
    QPushButton *cmdUserImport = nullptr;
    QPushButton *cmdUserExport = nullptr;
    QCheckBox *chkStation = nullptr;
    QCheckBox *chkUser = nullptr;
    // Tab 1
    FlexGrid *vfgPreConv = nullptr;
    QLabel *lblCount = nullptr;
    QLineEdit *txtCount = nullptr;
    UpDown *updCount = nullptr;
    FlexGrid *vfgUserConv = nullptr;
    QPushButton *cmdConvImport = nullptr;
    QPushButton *cmdConvExport = nullptr;
    QCheckBox *chkConvertion = nullptr;
    // Tab 2
    QLabel *lblChannel = nullptr;
    FlexGrid *vfgChannel = nullptr;
    QLabel *lblOtherSet = nullptr;
    FlexGrid *vfgOtherSet = nullptr;
    // Tab 3
    QLabel *lblGasName = nullptr;
    FlexGrid *vfgGasName = nullptr;
    QLabel *lblGasNameOther = nullptr;
    FlexGrid *vfgGasNameOther = nullptr;
    // Tab 4
    std::array<FlexGrid *, 3> vfgDatas{};
    QLabel *lblME = nullptr;
    FlexGrid *vfgME = nullptr;
    FlexGrid *vfgZeroSpan = nullptr;
    // Tab 5
    std::array<FlexGrid *, 2> vfgPID{};
    std::array<QCheckBox *, 2> chkPID{};
    std::array<QPushButton *, 2> cmdPIDExport{};
    std::array<QPushButton *, 2> cmdPIDImport{};
    // Outside the tabs
    QCheckBox *chkAll = nullptr;
    QPushButton *cmdLoad = nullptr;
    QPushButton *cmdStore = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QLabel *lblSpaceCount = nullptr;
    CommonDialog cmddlg;

    // Life cycle: Load on every showing, Activate once per showing (the first activation).
    void Form_Load();
    void Form_Activate();
    bool FirstActivate() const { return m_firstActivate; }
    void cmdOK_Click();
    void cmdCancel_Click();
    void chkAll_Click();
    void chkPID_Click(int Index);

    // Whole-grid checks: True when no inspected cell is red (back or text colour 255).
    bool CheckStationGrid() const;
    bool CheckUserGrid() const;
    bool CheckPreConvGrid() const;
    bool CheckUserConvGrid() const;
    bool CheckPIDGrid(int Index) const;
    bool CheckChannelGrid() const;
    bool CheckOtherSetGrid() const;
    bool CheckGasNameGrid() const;
    bool CheckGasNameOtherGrid() const;
    bool CheckDatasGrid() const;
    bool CheckMEGrid() const;
    // Ends every open cell editor as leaving the cell would (the platform's EndOpenEdits over
    // all grids). False when one of them holds an entry its grid refuses (that editor stays
    // open and takes the focus): no command may run past it.
    bool EndOpenEdits();

    // Applies every grid to the edit record, sections in order, each writing a member only
    // when the grid's value differs. The sections work on a scratch copy that replaces the
    // edit record only when all of them succeeded; False with the failing list or row in
    // failure (the edit record then unchanged).
    bool GetAllGrids(QString *failure = nullptr);
    // The sections of GetAllGrids applied to rec (a scratch copy of the edit record): what
    // the grids show. False with the failing list or row in failure. A section that can
    // refuse returns bool and takes the failure; one that cannot returns nothing.
    bool ApplyAllGrids(clsInstrument &rec, QString &failure);

    // Leading-blanks label "(Left space n)" of the text columns (one family for all grids).
    void ShowLeftSpace(FlexGrid *Grid);
    void LeftSpaceChangeEdit(FlexGrid *Grid, int TextCol);
    void LeftSpaceClick(FlexGrid *Grid, int TextCol);
    void LeftSpaceLeave();

    // ---- SET UP / FACTORY SETTINGS / OTHER lists (frmFsDialog_setup.cpp) ---------------------

    void SetSetUpGrid();
    void SetFactoryGrid();
    void SetOtherGrid();
    // Writes one row of vfgDatas(Index). Kind 0 text, 1 check box, 2 list.
    void SetComboList(int Index, int Row, const QVariant &Caption, const QVariant &Value, int Kind, const QString &List);
    int GetDatasValue(int Row) const;
    int GetDatasMode(int Row) const;
    int GetDatasUnit(int Row) const;
    void vfgDatas_BeforeEdit(int Index, int Row, int Col, bool &Cancel);
    void vfgDatas_KeyPressEdit(int Index, int Row, int Col, int &KeyAscii);
    void vfgDatas_ValidateEdit(int Index, int Row, int Col, bool &Cancel);
    void vfgDatas_ChangeEdit(int Index);
    void vfgDatas_Click(int Index);
    void vfgDatas_RowColChange(int Index);
    void vfgDatas_LeaveCell(int Index);
    bool DatasValidateBusy() const { return m_datasBusy; }
    // GetAllGrids section 1: refuses a row it cannot store, naming its caption.
    bool GetDatasGrids(clsInstrument &rec, QString &failure);

    // ---- station and user lists (frmFsDialog_names.cpp) -------------------------------------

    void SetStationUserGrids();
    void vfgStation_AfterEdit(int Row, int Col);
    void vfgStation_KeyPressEdit(int Row, int Col, int &KeyAscii);
    void vfgUser_AfterEdit(int Row, int Col);
    void vfgUser_KeyPressEdit(int Row, int Col, int &KeyAscii);
    void cmdStationImport_Click();
    void cmdStationExport_Click();
    void cmdUserImport_Click();
    void cmdUserExport_Click();
    // The name of row Row of vfgStation or vfgUser as the instrument gave it.
    QString GivenName(const FlexGrid *Grid, int Row) const;
    // "" when every name of vfgStation or vfgUser comes back as itself from its list file
    // and from a maintenance-data file (and none is red); else the first that would not,
    // named ("Station List, No. 5"). An export and the store refuse then.
    QString NamesNotComingBack(const FlexGrid *Grid) const;
    // GetAllGrids sections 2 and 3.
    void GetStationGrid(clsInstrument &rec);
    void GetUserGrid(clsInstrument &rec);
    // The file dialog of a list-file command ("Comma separated (*.csv)" preselected):
    // the chosen file, or "" when none was chosen (a cancel is reported here).
    QString AskListFile(bool Save, const QString &DefaultName);
    // Message 8075 "Improper file": a list file that changed nothing.
    void ShowImproperFile();
    // Refuses a list export or the store with message 8056 naming the list or cell, and
    // Reason, when given, on a line of its own.
    void ShowImproperData(const QString &List, const QString &Reason = QString());
    // A cell that still shows a value the instrument refused to read (nobody typed or
    // loaded one since): where it is, named as the ...NotComingBack checks name a cell, and
    // why with what to do (UnreadReason). An export or the store holding it refuses.
    struct UnreadCell {
        QString where; // "" when there is none
        QString reason;
    };
    // The first such name of vfgStation or vfgUser, by that list's own marks.
    UnreadCell UnreadNames(const FlexGrid *Grid) const;
    // How a list export ended: the writer's error, or "Export Complete".
    void ShowExportResult(const FileResult &Written);

    // ---- conversion tables (frmFsDialog_conversion.cpp) -------------------------------------

    void SetConvGrids();
    // Judges what differs from the instrument's values (InstrumentValues) by the editor's
    // rules, in every row: CheckConvCells normalises those cells too (an import), Mark
    // only paints them (a fill, an edit).
    void CheckConvCells();
    void MarkConvCells();
    // The values as the instrument gave them (the caller's record): a cell still showing
    // its value is nobody's entry and never judged.
    const clsInstrument &InstrumentValues() const;
    // The edit record; before the first activation, the instrument's values.
    const clsInstrument &EditValues() const;
    void vfgPreConv_BeforeEdit(int Row, int Col, bool &Cancel);
    void vfgPreConv_ValidateEdit(int Row, int Col, bool &Cancel);
    void vfgPreConv_AfterEdit(int Row, int Col);
    void vfgUserConv_BeforeEdit(int Row, int Col, bool &Cancel);
    void vfgUserConv_KeyPressEdit(int Row, int Col, int &KeyAscii);
    void vfgUserConv_ValidateEdit(int Row, int Col, bool &Cancel);
    void vfgUserConv_AfterEdit(int Row, int Col);
    void txtCount_Change();
    void txtCount_KeyPress(int &KeyAscii);
    void txtCount_Validate(bool &Cancel);
    void cmdConvImport_Click();
    void cmdConvExport_Click();
    // "" when every cell of both conversion grids comes back as itself from the list file
    // and a maintenance-data file; else the first that would not, named ("User Defined
    // Conversion Table: row 2, Long Name"). The export and the store refuse then.
    QString ConvNotComingBack() const;
    // The first cell of both conversion grids (user rows first) still showing a value the
    // download could not read ("User Defined Conversion Table: row 2, 1st"); withCount,
    // the available count as well (the store writes it, the list file does not).
    UnreadCell UnreadConv(bool withCount) const;
    // GetAllGrids sections 8 to 12; only the count refuses (one that is no number).
    void GetPreConvNames(clsInstrument &rec);
    void GetUserConvNames(clsInstrument &rec);
    void GetPreConvAlarms(clsInstrument &rec);
    void GetUserConvAlarms(clsInstrument &rec);
    bool GetConvCount(clsInstrument &rec, QString &failure);

    // ---- channel gas mapping (frmFsDialog_channel.cpp) --------------------------------------

    void SetChannelGrid();
    void vfgChannel_ValidateEdit(int Row, int Col, bool &Cancel);
    // GetAllGrids section 7.
    void GetChannelGrid(clsInstrument &rec);

    // ---- other settings, ME, zero / span (frmFsDialog_other.cpp) ----------------------------

    void SetOtherSetGrid();
    void SetMEGrid();
    void vfgOtherSet_BeforeEdit(int Row, int Col, bool &Cancel);
    void vfgOtherSet_ValidateEdit(int Row, int Col, bool &Cancel);
    void vfgOtherSet_AfterEdit(int Row, int Col);
    void vfgME_BeforeEdit(int Row, int Col, bool &Cancel);
    void vfgME_ValidateEdit(int Row, int Col, bool &Cancel);
    void vfgZeroSpan_BeforeEdit(int Row, int Col, bool &Cancel);
    // GetAllGrids sections 13 and 14, and the range load of a fixed channel.
    void GetMEGrid(clsInstrument &rec);
    void GetOtherSetGrid(clsInstrument &rec);
    void GetOtherSetChannel(clsInstrument &rec, int Channel);

    // ---- PID sensor tables (frmFsDialog_pid.cpp) --------------------------------------------

    void SetPIDGrid(int Index);
    void vfgPID_BeforeEdit(int Index, int Row, int Col, bool &Cancel);
    void vfgPID_KeyPressEdit(int Index, int Row, int Col, int &KeyAscii);
    void vfgPID_ValidateEdit(int Index, int Row, int Col, bool &Cancel);
    void vfgPID_AfterEdit(int Index, int Row, int Col);
    // As CheckConvCells / MarkConvCells for vfgPID(Index).
    void CheckPIDCells(int Index);
    void MarkPIDCells(int Index);
    bool CheckPIDRange(int Index, int Row, int Col) const;
    void cmdPIDExport_Click(int Index);
    // As ConvNotComingBack for vfgPID(Index): "" or the first cell ("row 3, Long Name").
    QString PidNotComingBack(int Index) const;
    // The same for vfgPID(Index): where is "row 3, Name", as PidNotComingBack gives it.
    UnreadCell UnreadPid(int Index) const;
    void cmdPIDImport_Click(int Index);
    // GetAllGrids sections 15 and 16, and the copy of a PID entry into a channel. Section 16
    // refuses a channel due a PID entry that no entry names.
    void GetPIDGrids(clsInstrument &rec);
    bool GetPIDChannels(clsInstrument &rec, QString &failure);
    void GetPIDChannel(clsInstrument &rec, int Channel);
    // Length of the open editor's text less the selection a typed key replaces.
    static int TypedLength(const FlexGrid *Grid);

    // ---- gas names (frmFsDialog_gasnames.cpp) -----------------------------------------------

    void SetGasNameGrids();
    void vfgGasName_BeforeEdit(int Row, int Col, bool &Cancel);
    void vfgGasName_AfterEdit(int Row, int Col);
    void vfgGasName_ValidateEdit(int Row, int Col, bool &Cancel);
    void vfgGasName_ComboDropDown(int Row, int Col);
    void vfgGasNameOther_BeforeEdit(int Row, int Col, bool &Cancel);
    void vfgGasNameOther_KeyPressEdit(int Row, int Col, int &KeyAscii);
    void vfgGasNameOther_ValidateEdit(int Row, int Col, bool &Cancel);
    // As ConvNotComingBack for the names and long names of both gas-name grids that the
    // technician can edit: "" or the first cell ("Other Name: CAT, Long Name").
    QString GasNamesNotComingBack() const;
    // The name and long-name cells of vfgGasName (other false) and vfgGasNameOther (other
    // true) that the technician can edit, in grid order; gasType is the row's channel's.
    struct EditableNameCell {
        bool other;
        int row;
        int col;
        int gasType;
    };
    QVector<EditableNameCell> EditableGasNameCells() const;
    // GetAllGrids sections 4 to 6; the CAT channel's rename refuses when its alarm points
    // cannot follow the ratio.
    void GetGasNameGrid(clsInstrument &rec);
    bool GetChannel0Mirror(clsInstrument &rec, QString &failure);
    void GetGasNameOtherGrid(clsInstrument &rec);

    // ---- maintenance-data store and load (frmFsDialog_store.cpp) ----------------------------

    void cmdStore_Click();
    void cmdLoad_Click();
    // Fills every grid from the edit record, in the order of the first activation.
    void SetAllGrids();
    // The record a store writes: the edit record with the grids of the chosen lists (every
    // grid with chkAll) applied. False, naming the list or row, when a grid cannot be.
    bool ShownRecord(clsInstrument &rec, QString &failure);
    // Shows the open or save dialog with the filter "All files" and the given entry
    // preselected. False, after saying so for a cancelled dialog, when no file was chosen.
    bool ChooseFile(bool Save, const QString &Entry, const QString &FileName, int Flags);

    // ---- end of sections ---------------------------------------------------------------------

protected:
    void setVisible(bool visible) override;
    bool event(QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void createControls();
    void layoutControls();
    // Widens every button to its caption in the font it now has.
    void fitButtons();
    void setCaptions();
    // Signal wiring, one per tab file.
    void wireFrame();
    void wireSetupTab();
    void wireNamesTab();
    void wireConversionTab();
    void wireChannelTab();
    void wireOtherTab();
    void wirePidTab();
    void wireGasNameTab();
    void wireStoreCommands();
    // True when no cell in rows r1..r2, columns c1..c2 of grid has back or text colour 255.
    static bool NoRedCell(const FlexGrid *grid, int r1, int r2, int c1, int c2);
    // Every grid of the dialog, in the order of the whole-grid checks.
    QList<FlexGrid *> allGrids() const;

    clsInstrument *m_instrument = nullptr;
    std::unique_ptr<clsInstrument> m_edit;
    bool m_firstActivate = false;
    bool m_datasBusy = false;
};
