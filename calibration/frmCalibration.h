#pragma once
#include <QDialog>
#include <QString>
#include <array>

class QGroupBox;
class QPushButton;
class FlexGrid;
class uclQlif;

// The calibration window: one row per gas channel with its selection, span value and live
// reading; zero of all channels or span of the ticked ones, run in frmUploadCalib.
// Shown modally (exec) as the default form "frmCalibration"; Load runs just before it is
// first shown. It reads gInstrument and never writes it.
class frmCalibration : public QDialog {
    Q_OBJECT
public:
    explicit frmCalibration(QWidget *parent = nullptr);
    ~frmCalibration() override;

    // Registers the default instance's factory under "frmCalibration" (app start-up, tests).
    static void Register();
    // The default instance, created (not loaded, not shown) on first use.
    static frmCalibration *Default();
    // The loaded default instance, or nullptr; never creates one.
    static frmCalibration *Find();

    QGroupBox *fraCalibration = nullptr;
    FlexGrid *vfgCal = nullptr;
    std::array<QPushButton *, 3> cmdCal{}; // 0 Zero, 1 Span, 2 Exit

    // Outcome of the last run, written by the run window before it unloads.
    bool CalResult = false;
    QString CalReport;

    // Column 3 from gMomentValues. The main window calls it by name on every reading.
    Q_INVOKABLE void Refresh_InstMoment();

    void Form_Load();
    bool IsLoaded() const { return m_loaded; }
    void Form_Resize();
    void cmdCal_Click(int Index);
    void vfgCal_BeforeEdit(int Row, int Col, bool &Cancel);
    void vfgCal_AfterEdit(int Row, int Col);
    void vfgCal_ValidateEdit(int Row, int Col, bool &Cancel);
    // True while a zero or span run is under way (the window then refuses to close).
    bool RunActive() const { return m_running; }

    // Smallest inner size, twips.
    static constexpr int kMinWidth = 6900;
    static constexpr int kMinHeight = 3600;
    // Check cell of a switched-off channel while instrument data is loaded.
    static constexpr int kDisabledCheckColor = 0xC0C0C0; // RGB(192, 192, 192)

public slots:
    void reject() override;

protected:
    void setVisible(bool visible) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void SetCalCaptions();
    void FillCalGrid();
    void setColumnWidths();
    bool dataPresent() const;
    bool endOpenEdit();
    void runZero();
    void runSpan();
    // The link's state: readings shown only while they are live, runs only while it is up.
    void linkUp();
    void linkDown();
    // Says in red, in the log pane and on the frame, that the pump did not confirm and why.
    void pumpNotConfirmed(const QString &failure);
    // Shows the run window modally for the mode and returns when it has unloaded.
    void showRun(int mode, const QString &caption, const QString &request);

    bool m_loaded = false;
    bool m_running = false;
    bool m_closing = false;
    bool m_inResize = false;
    bool m_linkDown = false;
};

// The link of the main window, or nullptr when the main window is not loaded.
uclQlif *CalLink();
