#pragma once
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;
class Animation;

// The progress window beside every transfer of the main window. Modeless; created when a
// command first touches it (Load picks its texts by gTransferMode), unloaded by the command
// when the operation returns. Default instance through the form registry.
class frmUpload : public QWidget {
    Q_OBJECT
public:
    explicit frmUpload(QWidget *parent = nullptr);

    // Default instance: created (and loaded) on first use.
    static frmUpload *Default();
    // The loaded instance or nullptr; never creates one.
    static frmUpload *Find();
    // Unloads the default instance when loaded.
    static void UnloadDefault();

    Animation *amnUpload = nullptr;
    QLabel *lblUpload = nullptr;
    QPushButton *cmdUpload = nullptr;
    QTimer *tmrInter = nullptr;

    bool Canceled() const { return m_canceled; }
    void setCanceled(bool v) { m_canceled = v; }

    // The cancel button: asks the running link operation to stop, once.
    void cmdUpload_Click();
    // Sets size and the child layout by the fixed formulas (run on resize and repaint).
    void Form_Resize();

    // Inner size the window keeps, in twips.
    int ComputedWidthTwips() const;
    int ComputedHeightTwips() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    // Only the command that showed the window closes it (UnloadDefault); a close request of
    // the user is refused, so the window stays as long as its transfer runs.
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Load();
    bool m_canceled = false;
    bool m_inResize = false;
    bool m_unloading = false;
};
