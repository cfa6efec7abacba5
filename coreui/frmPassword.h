#pragma once
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// Login window. The typed text is compared with gPassword regardless of case; a match
// shows the main window (gShowMainWindow, else the registered form "frmMain", else none)
// and closes the login. Closing it any other way
// asks first (message 5373).
class frmPassword : public QWidget {
    Q_OBJECT
public:
    explicit frmPassword(QWidget *parent = nullptr);

    // The OK button's work, callable from tests: true when the password matched.
    bool TryLogin();
    bool Succeeded() const { return m_succeeded; }

    QLineEdit *txtPassword() const { return m_txtPassword; }
    QPushButton *cmdOK() const { return m_cmdOK; }
    QPushButton *cmdCancel() const { return m_cmdCancel; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *m_lblPassword;
    QLineEdit *m_txtPassword;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancel;
    bool m_succeeded = false;
};

// Compares a typed password with the program's, ignoring case.
bool PasswordMatches(const QString &typed, const QString &password);
