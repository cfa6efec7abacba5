#include "core/modMain.h"
#include "core/Scrambler.h"
#include "core/Settings.h"
#include <QCoreApplication>
#include <QDir>
#include <QLocale>

namespace {
QString gAppPathOverride;
}

FontSpec gFont;
int16_t gRetry = 0;
int16_t gTimeout = 0;
float gDelay = 0;
int32_t gExecuteCount = 0;
bool gSerialLogFile = false;
QString gFactorySuffix;
bool gDebugMode = false;
int16_t gIrCommNum = 0;
QString gCommSettings;
bool gCsaLimitEnabled = false;
bool gAllowLeadBlank = false;
QString gTcName, gTcLongName, gTcFullScale, gTcDigit;
QString gCatName, gCatLongName, gCatRatio, gCatDigit;
QString gPassword;
int32_t gTransferMode = 0;
bool gFactorySave = false;
bool gCalFormOpen = false;

void ResetCoreGlobals()
{
    gFont = FontSpec();
    gRetry = 0;
    gTimeout = 0;
    gDelay = 0;
    gExecuteCount = 0;
    gSerialLogFile = false;
    gFactorySuffix.clear();
    gDebugMode = false;
    gIrCommNum = 0;
    gCommSettings.clear();
    gCsaLimitEnabled = false;
    gAllowLeadBlank = false;
    gTcName.clear();
    gTcLongName.clear();
    gTcFullScale.clear();
    gTcDigit.clear();
    gCatName.clear();
    gCatLongName.clear();
    gCatRatio.clear();
    gCatDigit.clear();
    gPassword.clear();
    gTransferMode = 0;
    gFactorySave = false;
    gCalFormOpen = false;
    gScramble = 0;
    gMainWindowState = 0;
    gMainWidth = 0;
    gMainHeight = 0;
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

QString FormatGeneralDate(const QDateTime &when)
{
    const QLocale loc = QLocale::system();
    const QString date = loc.toString(when.date(), QLocale::ShortFormat);
    if (when.time() == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + loc.toString(when.time(), QLocale::LongFormat);
}
