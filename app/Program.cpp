#include "app/Program.h"
#include "calibration/frmCalibration.h"
#include "core/Messages.h"
#include "core/Startup.h"
#include "core/modMain.h"
#include "coreui/frmOpen.h"
#include "coreui/frmPassword.h"
#include "factory/frmFsDialog.h"
#include "mainwindow/frmMain.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include <QApplication>

int RunProgram(const QString &lockName)
{
    const auto instanceLock = ClaimSingleInstance(lockName, [](const QString &text, const QString &title) {
        MsgBox(text, vb::OKOnly | vb::Exclamation, title);
    });
    if (!instanceLock)
        return kStartRefused;

    gDebugMode = HasDebugSwitch(QCoreApplication::arguments().mid(1));
    gFont.size = 9;

    frmOpen::ShowSplash();

    // The login shows the main window (loaded on first use) through this hook.
    frmMain::Register();
    frmCalibration::Register();
    frmFsDialog::Register();
    gShowMainWindow = [] {
        if (frmMain *m = frmMain::Default())
            m->show();
    };

    gPassword = QString::fromLatin1(kDefaultPassword);
    // The login is a default form: closing it unloads it, and with no other window left
    // the program ends.
    DefaultForm<frmPassword>(QStringLiteral("frmPassword"))->show();
    return QApplication::exec();
}
