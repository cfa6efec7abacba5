#pragma once
#include <QDialog>

class QLabel;

// Splash window: shows the program title and closes itself after a short time.
class frmOpen : public QDialog {
    Q_OBJECT
public:
    static constexpr int kShowMs = 500;
    explicit frmOpen(int closeAfterMs = kShowMs, QWidget *parent = nullptr);

    // Shows the splash modally; returns once it has closed itself.
    static void ShowSplash(int closeAfterMs = kShowMs);

protected:
    void showEvent(QShowEvent *event) override;

private:
    int m_closeAfterMs;
    QLabel *m_lblTitle;
};
