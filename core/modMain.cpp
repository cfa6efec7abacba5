#include "core/modMain.h"
#include <QCoreApplication>
#include <QDir>

namespace {
QString gAppPathOverride;
}

QString AppPath()
{
    if (!gAppPathOverride.isEmpty())
        return gAppPathOverride;
    return QCoreApplication::applicationDirPath();
}

void SetAppPath(const QString &path) { gAppPathOverride = path; }

QString AppFile(const QString &name)
{
    QString dir = AppPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir + name;
}
