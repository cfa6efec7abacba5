#include "coreui/frmPassword.h"
#include "core/Messages.h"
#include "core/Startup.h"
#include "core/modMain.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

bool PasswordMatches(const QString &typed, const QString &password)
{
    return typed.compare(password, Qt::CaseInsensitive) == 0;
}

frmPassword::frmPassword(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmPassword"));
    setWindowTitle(GetMsg(5001));

    m_lblPassword = new QLabel(GetMsg(7102), this);
    m_lblPassword->setObjectName(QStringLiteral("lblPassword"));
    m_txtPassword = new QLineEdit(this);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_txtPassword->setMaxLength(32);
    m_lblPassword->setBuddy(m_txtPassword);
    m_cmdOK = new QPushButton(GetMsg(7103), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancel = new QPushButton(GetMsg(6005), this);
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_lblPassword, 0, 0);
    grid->addWidget(m_txtPassword, 0, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancel);
    grid->addLayout(buttons, 1, 0, 1, 2);
    setMinimumWidth(320);
    CopyFontToAll(this, gFont);

    connect(m_cmdOK, &QPushButton::clicked, this, [this] { TryLogin(); });
    connect(m_txtPassword, &QLineEdit::returnPressed, this, [this] { TryLogin(); });
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

bool frmPassword::TryLogin()
{
    if (m_succeeded)
        return true;
    if (!PasswordMatches(m_txtPassword->text(), gPassword)) {
        MsgBox(GetMsg(7101), vb::OKOnly | vb::Critical, GetMsg(5001));
        m_txtPassword->selectAll();
        m_txtPassword->setFocus();
        return false;
    }
    m_succeeded = true;
    // Show the main window first, so the program does not end when the login closes.
    if (gShowMainWindow) {
        gShowMainWindow();
    } else if (IsFormRegistered(QStringLiteral("frmMain"))) {
        if (QWidget *main = Form(QStringLiteral("frmMain")))
            main->show();
    }
    close();
    return true;
}

void frmPassword::closeEvent(QCloseEvent *event)
{
    if (!m_succeeded && MsgBox(GetMsg(5373), vb::YesNo | vb::Question, GetMsg(5001)) != vb::Yes) {
        event->ignore();
        return;
    }
    event->accept();
}
