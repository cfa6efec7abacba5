#pragma once
#include <QLockFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// Process settings made first thing at start-up. A write past the file-size limit then fails
// with its cause ("File too large") and the writer keeps the old file, instead of the signal
// ending the program with its temporary files left behind.
void PrepareProcess();

// Name of the lock that keeps a second copy of the program from running (one per user).
QString InstanceLockName();

// Claims the single-instance lock named lockName (a file in the temporary folder). While the
// returned lock lives, a further claim fails. A lock left behind by a copy that crashed is
// taken over. When another copy holds it, tell(text of message 99, title message 5001) is
// called and the result is null; when the lock cannot be made at all (no such folder, no
// permission), tell says so and the result is null.
using TellUser = std::function<void(const QString &text, const QString &title)>;
std::unique_ptr<QLockFile> ClaimSingleInstance(const QString &lockName, const TellUser &tell);

// True when "-DEBUG" stands anywhere in the command line (arguments after the program
// name, joined by blanks), in any case.
bool HasDebugSwitch(const QStringList &arguments);

// Hook through which the login shows the main window. Unset: no main window exists and a
// successful login simply closes the login window. Not touched by ResetCoreGlobals.
extern std::function<void()> gShowMainWindow;
