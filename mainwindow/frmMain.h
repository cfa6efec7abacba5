#pragma once
#include "platform/CommonDialog.h"
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class FlexGrid;
class RichLog;
class StatusLamp;
class clsInstrument;
class frmUpload;
class uclQlif;

// The main window: one class, its members split into files by concern.
//   frmMain.cpp            controls, signal wiring (every handler below is connected there)
//   frmMain_startup.cpp    Load, Activate, QueryUnload, Unload, adapter, serial-log rotation
//   frmMain_defaults.cpp   InitDefaults
//   frmMain_state.cpp      command state, log pane, clock timer, busy guard, progress window
//   frmMain_linkevents.cpp the link's events
//   frmMain_layout.cpp     Form_Resize, SetCaptions
//   frmMain_view.cpp, frmMain_edit.cpp         instrument view, grid and field editing
//   frmMain_commands.cpp, _dumps.cpp, _files.cpp  the operator commands
//
// Control arrays are std::array indexed like the originals; an index the window does not
// have holds nullptr (cmdDown[0], cmdDown[3], lblInst[0..5]). Every control's objectName is
// its name, with "_<index>" for array members ("cmdDown_1", "shpStatus_0").
class frmMain : public QWidget {
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // ---- frame ------------------------------------------------------------------------------

    // Default instance: created and loaded on first use (Load runs once per instance).
    static frmMain *Default();
    // The loaded default instance, or nullptr; never creates one.
    static frmMain *Find();
    // Registers the default instance's factory under "frmMain" (app start-up, tests).
    static void Register();

    // The link. Its signals are connected to the uclQL7150_* handlers below.
    uclQlif *uclQL7150 = nullptr;

    // Status band (top left).
    QGroupBox *fraTransStatus = nullptr;
    std::array<StatusLamp *, 4> shpStatus{};
    std::array<QLabel *, 4> lblStatus{};
    QLabel *lblTitle = nullptr;
    RichLog *rtbLog = nullptr;

    // Command frames (top right): 0 download, 1 write, 2 setting commands.
    std::array<QGroupBox *, 3> fraCommand{};
    std::array<QWidget *, 3> fraInCommand{};
    // fraCommand 0
    std::array<QPushButton *, 6> cmdDown{};   // 1 download, 2 FLASH dump, 4 power off, 5 read and save
    QCheckBox *chkSaveOnly = nullptr;
    QLabel *lblSuffix = nullptr;
    QLineEdit *txtSuffix = nullptr;
    QPushButton *cmdFRAMDump = nullptr;
    QGroupBox *frmOPT = nullptr;              // option-board dumps
    std::array<QRadioButton *, 3> Opt{};
    QPushButton *cmdOptData = nullptr;
    QPushButton *cmdOptFlash = nullptr;
    // fraCommand 1
    std::array<QPushButton *, 5> cmdOption{}; // 0 upload, 1 clock, 2 calibration, 3 DEFAULT, 4 factory restore
    QCheckBox *chkFactorySave = nullptr;
    std::array<QCheckBox *, 4> chkUx{};       // DEFAULT boards: MAIN, OPT1..OPT3
    // fraCommand 2
    QPushButton *cmdFactorySetting = nullptr;
    QPushButton *cmdImportSetting = nullptr;
    QPushButton *cmdExportSetting = nullptr;
    QPushButton *cmdExit = nullptr;

    // Instrument view (bottom band).
    QGroupBox *fraStatus = nullptr;
    std::array<QLabel *, 10> lblInst{};       // 6 "Program Number", 7 its value, 8 "SUM", 9 its value
    std::array<QLabel *, 8> lblOption{};      // 0..4, 7 captions; 5 PC clock, 6 instrument clock
    std::array<QLineEdit *, 3> txtOption{};   // 0 serial number, 1 station ID, 2 user ID
    QLabel *lblSpaceCount = nullptr;
    QComboBox *cmbStation = nullptr;
    QComboBox *cmbUser = nullptr;
    QComboBox *cmbInterval = nullptr;         // "5" .. "600"
    std::array<QLabel *, 3> lblOptROM{};      // ROM versions of option boards 1..3
    QLabel *lblSubBoard = nullptr;
    FlexGrid *vfgOption = nullptr;

    QTimer *tmrInter = nullptr;               // the 1 s clock
    CommonDialog cdgFile;                     // file dialog of export and import

    // Status-lamp colour pairs: [0] face, [1] border (element 2 unused).
    std::array<int, 3> StatusGreen{};
    std::array<int, 3> StatusGrey{};
    std::array<int, 3> StatusRed{};

    bool FirstActivate = false;
    QString FlashDumpPath;

    // Life cycle. Form_Load runs once, from Default() (or show() of an instance not yet loaded).
    void Form_Load();
    void Form_Activate();
    // Cancel is set when the window must stay open.
    void Form_QueryUnload(bool &Cancel);
    void Form_Unload();
    void KeepWindowSize();
    bool IsLoaded() const { return mLoaded; }
    void SetupIrdaAdapter();
    void RotateSerialLog();
    void InitDefaults();

    // Command state and log.
    void AddInfo(const QString &Text, int Color);
    // Under a failure line, where and why, in red: each of the link's reasons that is not empty.
    void AddReasons(std::initializer_list<QString> reasons);
    void SetCommandEnabled();
    // The fields, the suffix and the grid as the command state wants them, except that one
    // holding a refused entry stays enabled until the entry is mended or dropped: every
    // command checks it first, so a disabled one would block them with no way to correct it.
    void ApplyEntryStates();
    void EnableCommands(bool Flag);
    void tmrInter_Timer();
    // Calls Refresh_InstMoment of the open "frmCalibration" by name (a slot or Q_INVOKABLE there).
    void RefreshCalibMoment();

    // Busy guard: one for every blocking link call of this window. While any transfer runs
    // (guard held, or the link inside an operation) the window refuses to close and no other
    // command may start.
    bool TransferRunning() const;
    class BusyGuard {
    public:
        // A refused guard tells the user (message 5367) unless tellUser is false.
        explicit BusyGuard(frmMain &form, bool tellUser = true);
        ~BusyGuard();
        BusyGuard(const BusyGuard &) = delete;
        BusyGuard &operator=(const BusyGuard &) = delete;
        // False when another transfer already runs: the command must not start.
        explicit operator bool() const { return m_ok; }
    private:
        QPointer<frmMain> m_form;
        bool m_ok = false;
    };

    // Progress window around a transfer: loads frmUpload (its Load picks texts by
    // gTransferMode), sets the caption (and label when given) and shows it modeless.
    frmUpload *ShowUpload(const QString &caption, const QString &label = QString());
    // Unloads the progress window when it is loaded.
    void UnloadUpload();

    // Link events.
    void uclQL7150_OnConnect();
    void uclQL7150_Densty(float Value1, float Value2, float Value3, float Value4, float Value5, float Value6,
                          float Value7);
    void uclQL7150_ConnectRetry(int16_t RetryCount);
    void uclQL7150_InstMessage(const QString &MessageString);
    void uclQL7150_InterMessage(const QString &MessageString);
    void uclQL7150_AlarmMessage(const QString &MessageString);
    void uclQL7150_DumpMessage(const QString &MessageString);
    void uclQL7150_LinkLost();
    void uclQL7150_IrDAError(int16_t ErrorNumber);
    void uclQL7150_StsTransmit();
    void uclQL7150_StsIdle();

    // Layout and captions.
    void SetCaptions();
    void Form_Resize();

    // Log colours.
    static constexpr int kGreen = 0x00C000;      // RGB(0, 192, 0)
    static constexpr int kRed = 0x0000FF;        // RGB(255, 0, 0)
    static constexpr int kDarkBlue = 0xC00000;   // RGB(0, 0, 192)
    static constexpr int kBlue = 0xFF0000;       // RGB(0, 0, 255)
    static constexpr int kBrown = 0x002080;      // RGB(128, 32, 0)
    static constexpr int kBlueGreen = 0x408000;  // RGB(0, 128, 64)

    // ---- instrument view and editing ---------------------------------------------------------

    void ShowInstrument();
    void RestoreGasEnable();
    void ClearInstrumentView();
    void CheckAlarmCells();
    bool CheckAlarmLevel(int16_t Channel);
    void ShowAnalogValues();
    void ShowAnalogValues(const clsInstrument &Inst); // the record just read
    void cmbStation_Click();
    void cmbUser_Click();
    void cmbInterval_Click();
    void vfgOption_BeforeEdit(int Row, int Col, bool &Cancel);
    void vfgOption_ValidateEdit(int Row, int Col, bool &Cancel);
    void vfgOption_AfterEdit(int Row, int Col);
    void txtOption_Change(int Index);
    void txtOption_GotFocus(int Index);
    void txtOption_LostFocus(int Index);
    void txtOption_KeyPress(int Index, int16_t &KeyAscii);
    void txtOption_Validate(int Index, bool &Cancel);
    void txtSuffix_Validate(bool &Cancel);
    bool mGridEditBusy = false;

    // ---- commands ----------------------------------------------------------------------------

    // Before any command: the open grid edit is ended and the serial-number and suffix fields
    // are checked on their present text. False (the command must not run) when an entry or a
    // field is refused; it then keeps the focus.
    bool ReadyForCommand();
    void cmdDown_Click(int16_t Index);
    bool DownloadInstrument(clsInstrument &Inst);
    bool FlashDumpDownload();
    void cmdFRAMDump_Click();
    void cmdOptData_Click();
    void cmdOptFlash_Click();
    void cmdExit_Click();
    void cmdFactorySetting_Click();
    void cmdOption_Click(int16_t Index);
    // The commands behind cmdDown (1, 2, 4, 5) and cmdOption (0 to 4), one each.
    void DownloadCommand();
    void FlashDumpCommand();
    void PowerOffCommand();
    void ReadAndSaveCommand();
    void UploadCommand();
    void ClockCommand();
    void CalibrationCommand();
    void DefaultCommand();
    void RestoreCommand();
    // The end of the upload and the clock command: progress window, frames, success box.
    void EndWriteCommand(bool ok);
    void cmdExportSetting_Click();
    void cmdImportSetting_Click();
    // Message 5591 when Inst's clock is more than a day away from the PC's.
    void CheckInstrumentClock(const clsInstrument &Inst);
    // cmdOptData (data memory) and cmdOptFlash (Flash true) of the board chosen in Opt.
    void OptionBoardDump(bool Flash);
    void BeginDumpTransfer();
    void EndDumpTransfer();
    // Last 1024-byte block of the FLASH dump (4 MiB); tests shorten it.
    int FlashDumpLastBlock = 4095;

    // ---- end of sections ---------------------------------------------------------------------

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void wireControls();
    void setLamp(int index, const std::array<int, 3> &pair);
    bool mLoaded = false;
    int mBusyDepth = 0;
    // What SetCommandEnabled last chose for the entry controls.
    bool mRecordEntries = false;
    bool mSuffixEntry = false;
    // The open grid editor kept past a state change; its end applies the state.
    QPointer<QWidget> mKeptEditor;
    // The one refused text field that holds the focus; leaving another field waits with its check.
    QPointer<QWidget> mHeldField;
    void holdFocus(QWidget *field);
    // Red for a refused text, white otherwise.
    static void SetFieldColor(QLineEdit *field, bool refused);
};
