#include "core/Startup.h"
#include "core/Messages.h"
#include <QDir>
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
    auto lock = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(lockName + QStringLiteral(".lock")));
    // A lock whose owner is gone is removed by tryLock itself; never let it go stale while we run.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    if (tell)
        tell(GetMsg(99), GetMsg(5001));
    return nullptr;
}

bool HasDebugSwitch(const QStringList &arguments)
{
    return arguments.join(QLatin1Char(' ')).toUpper().contains(QLatin1String("-DEBUG"));
}
