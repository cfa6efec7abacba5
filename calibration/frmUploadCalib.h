#pragma once
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class QTimer;
class Animation;

// The run window of one zero (gTransferMode 3) or span (4) calibration. Shown modally by
// frmCalibration; the first tick of its timer runs the calibration through the link, hands
// the outcome to frmCalibration.CalResult / CalReport and unloads the window.
// One run per window: later ticks do nothing, and the window cannot be closed before the
// run has finished.
class frmUploadCalib : public QDialog {
    Q_OBJECT
public:
    explicit frmUploadCalib(QWidget *parent = nullptr);
    ~frmUploadCalib() override;

    // The default instance "frmUploadCalib", created (not loaded) on first use.
    static frmUploadCalib *Default();
    static frmUploadCalib *Find();

    QLabel *lblUpload = nullptr;
    Animation *amnUpload = nullptr;
    QPushButton *cmdUpload = nullptr;
    QTimer *tmrInter = nullptr;

    // The 42-character span request.
    QString SpanConStr() const { return m_spanConStr; }
    void setSpanConStr(const QString &request) { m_spanConStr = request; }

    // Outcome of this window's run (also handed to frmCalibration).
    bool Result() const { return m_result; }
    QString Report() const { return m_report; }
    bool Started() const { return m_started; }
    bool Finished() const { return m_finished; }

    void Form_Load();
    void Form_Resize();
    void tmrInter_Timer();

    // File of the animation, in the program folder.
    static constexpr const char *kAnimationFile = "Filemove.avi";

public slots:
    void reject() override;

protected:
    void setVisible(bool visible) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool runZero();
    bool runSpan();
    void logFailure();
    void finish();

    QString m_spanConStr;
    QString m_report;
    bool m_result = false;
    bool m_loaded = false;
    bool m_started = false;
    bool m_finished = false;
    bool m_inResize = false;
};
