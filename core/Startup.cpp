#include "core/Startup.h"
#include "core/Messages.h"
#include <QDir>
#include <QFileInfo>
#include <csignal>

std::function<void()> gShowMainWindow;

void PrepareProcess()
{
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

QString InstanceLockName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    return QStringLiteral("vantik-config-") + (user.isEmpty() ? QStringLiteral("user") : user);
}

std::unique_ptr<QLockFile> ClaimSingleInstance(const QString &lockName, const TellUser &tell)
{
    QString folder = QDir::tempPath();
    // A temporary folder that does not exist comes back empty: never fall back to the
    // working folder, where another copy would not look.
    if (folder.isEmpty())
        folder = qEnvironmentVariable("TMPDIR", QStringLiteral("/tmp"));
    const QString path = QDir(folder).filePath(lockName + QStringLiteral(".lock"));
    auto lock = std::make_unique<QLockFile>(path);
    // A lock whose owner is gone is removed by tryLock itself; never let it go stale while we run.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    if (!tell)
        return nullptr;
    // Only a lock held by another copy means it has already started; anything else is said.
    if (lock->error() == QLockFile::LockFailedError) {
        tell(GetMsg(99), GetMsg(5001));
        return nullptr;
    }
    const QFileInfo where(folder);
    const QString why = !where.exists()                             ? QStringLiteral("the folder does not exist")
                        : !where.isDir()                            ? QStringLiteral("it is not a folder")
                        : lock->error() == QLockFile::PermissionError ? QStringLiteral("no permission to write there")
                                                                    : QStringLiteral("the file cannot be created there");
    tell(QStringLiteral("The program cannot start: its lock file %1 cannot be made (%2).")
             .arg(QDir::toNativeSeparators(path), why),
         GetMsg(5001));
    return nullptr;
}

bool HasDebugSwitch(const QStringList &arguments)
{
    return arguments.join(QLatin1Char(' ')).toUpper().contains(QLatin1String("-DEBUG"));
}
