#include "core/Settings.h"
#include "core/CharChecks.h"
#include "core/FileIO.h"
#include "core/clsToken.h"
#include "core/modMain.h"
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <limits>

int16_t gMainWindowState = 0;
int32_t gMainWidth = 0;
int32_t gMainHeight = 0;

namespace {

constexpr qint64 kMaxSettingsFileSize = 1 << 20; // far above any file the program writes

// Keys as written; reading compares them in capitals.
constexpr const char *kSuffix = "Factory Record Suffix";
constexpr const char *kExecuteCount = "Execute Count";
constexpr const char *kSerialLog = "Serial Log File";
constexpr const char *kIrComm = "IrCOMM Num";
constexpr const char *kComm = "COMM Settings";
constexpr const char *kTimeout = "Timeout";
constexpr const char *kRetry = "Retry";
constexpr const char *kDelay = "Delay";
constexpr const char *kFont = "Font";
constexpr const char *kSize = "Size Values";
constexpr const char *kCsa = "CSA Limit Enabled";
constexpr const char *kCatName = "CAT Name";
constexpr const char *kCatLongName = "CAT Long Name";
constexpr const char *kCatRatio = "CAT Ratio";
constexpr const char *kCatDigit = "CAT Digit";
constexpr const char *kTcName = "TC Name";
constexpr const char *kTcLongName = "TC Long Name";
constexpr const char *kTcFullScale = "TC Full Scale";
constexpr const char *kTcDigit = "TC Digit";

bool isKey(const QString &upperKey, const char *key)
{
    return upperKey == QString::fromLatin1(key).toUpper();
}

// Whole numbers that must fit the variable's width; anything else refuses the line.
template <typename T>
bool parseWhole(const QString &text, T &out)
{
    bool ok = false;
    const qlonglong v = text.trimmed().toLongLong(&ok);
    if (!ok || v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
        return false;
    out = T(v);
    return true;
}

bool parseOnOff(const QString &text) { return text.trimmed().toUpper() == QLatin1String("ON"); }

bool parseBoolField(const QString &text, bool &out)
{
    const QString t = text.trimmed().toUpper();
    if (t == QLatin1String("1") || t == QLatin1String("-1") || t == QLatin1String("TRUE") || t == QLatin1String("ON"))
        out = true;
    else if (t == QLatin1String("0") || t == QLatin1String("FALSE") || t == QLatin1String("OFF"))
        out = false;
    else
        return false;
    return true;
}

// "Name,Size,Bold,Italic,Underline,Strikethrough,Weight,Charset"; a lone number is taken as
// the size, fields left out keep their present value.
bool parseFont(const QString &text, FontSpec &font)
{
    const QStringList f = text.split(QLatin1Char(','));
    FontSpec out = font;
    bool ok = false;
    const double lone = text.trimmed().toDouble(&ok);
    if (f.size() == 1 && ok) {
        if (lone < 1 || lone > 200)
            return false;
        out.size = lone;
        font = out;
        return true;
    }
    if (!f.value(0).trimmed().isEmpty())
        out.name = f.value(0).trimmed();
    if (f.size() > 1) {
        const double size = f.at(1).trimmed().toDouble(&ok);
        if (!ok || size < 1 || size > 200)
            return false;
        out.size = size;
    }
    bool *flags[] = {&out.bold, &out.italic, &out.underline, &out.strikethrough};
    for (int i = 0; i < 4; ++i) {
        if (f.size() > 2 + i && !parseBoolField(f.at(2 + i), *flags[i]))
            return false;
    }
    if (f.size() > 6) {
        int w = 0;
        if (!parseWhole(f.at(6), w) || w < 1 || w > 1000)
            return false;
        out.weight = w;
    }
    if (f.size() > 7) {
        int cs = 0;
        if (!parseWhole(f.at(7), cs) || cs < 0 || cs > 255)
            return false;
        out.charset = cs;
    }
    font = out;
    return true;
}

// "State,Width,Height" in twips.
bool parseSize(const QString &text)
{
    const QStringList f = text.split(QLatin1Char(','));
    if (f.size() != 3)
        return false;
    int16_t state = 0;
    int32_t w = 0, h = 0;
    if (!parseWhole(f.at(0), state) || state < 0 || state > 2 || !parseWhole(f.at(1), w) || !parseWhole(f.at(2), h)
        || w < 0 || h < 0)
        return false;
    gMainWindowState = state;
    gMainWidth = w;
    gMainHeight = h;
    return true;
}

// Applies one key and value; false when the key is unknown or the value unusable.
bool applySetting(const QString &key, const QString &value)
{
    const QString k = key.trimmed().toUpper();
    if (isKey(k, kSuffix)) {
        // The suffix ends up in a file name: a value that could leave the folder is skipped.
        if (!FileSuffixAcceptable(value))
            return false;
        gFactorySuffix = value;
        return true;
    }
    if (isKey(k, kExecuteCount))
        return parseWhole(value, gExecuteCount);
    if (isKey(k, kSerialLog)) {
        gSerialLogFile = parseOnOff(value);
        return true;
    }
    if (isKey(k, kIrComm))
        return parseWhole(value, gIrCommNum);
    if (isKey(k, kComm)) {
        gCommSettings = value.trimmed();
        return true;
    }
    if (isKey(k, kTimeout))
        return parseWhole(value, gTimeout);
    if (isKey(k, kRetry))
        return parseWhole(value, gRetry);
    if (isKey(k, kDelay)) {
        bool ok = false;
        const double d = value.trimmed().toDouble(&ok);
        if (!ok || d < 0 || d > 3600)
            return false;
        gDelay = float(d);
        return true;
    }
    if (isKey(k, kFont))
        return parseFont(value, gFont);
    if (isKey(k, kSize))
        return parseSize(value);
    if (isKey(k, kCsa)) {
        gCsaLimitEnabled = parseOnOff(value);
        return true;
    }
    struct ListKey {
        const char *key;
        QString *var;
    };
    const ListKey lists[] = {
        {kCatName, &gCatName}, {kCatLongName, &gCatLongName}, {kCatRatio, &gCatRatio}, {kCatDigit, &gCatDigit},
        {kTcName, &gTcName},   {kTcLongName, &gTcLongName},   {kTcFullScale, &gTcFullScale}, {kTcDigit, &gTcDigit},
    };
    // Taken as written: "|" separates the entries, so no entry can hold one (modMain.h).
    for (const ListKey &l : lists) {
        if (isKey(k, l.key)) {
            *l.var = value;
            return true;
        }
    }
    return false;
}

QString onOff(bool b) { return b ? QStringLiteral("ON") : QStringLiteral("OFF"); }
QString flag(bool b) { return b ? QStringLiteral("1") : QStringLiteral("0"); }

} // namespace

int ReadSettings()
{
    const QString path = AppFile(QString::fromLatin1(kSettingsFileName));
    if (!QFileInfo::exists(path))
        return 0;
    QByteArray bytes;
    if (!ReadFileWhole(path, kMaxSettingsFileSize, bytes))
        return 1; // not a plain file of sane size: nothing of it is taken
    const QString all = QString::fromLatin1(bytes);

    clsToken tok;
    tok.ClearDelimiters();
    tok.ClearStrings();
    tok.ClearComments();
    tok.AddDelimiters(QStringLiteral("\t"));
    tok.AddComments(QStringLiteral(";"));

    int skipped = 0;
    QString text = all;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        if (!tok.SetSource(line)) {
            ++skipped;
            continue;
        }
        if (tok.TokenCount() == 0)
            continue; // comment line
        // "Key<TAB>" alone is a key with an empty value; a line without a TAB is no setting.
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        const qsizetype comment = line.indexOf(QLatin1Char(';'));
        const bool hasValue = tok.TokenCount() >= 2 || (tab >= 0 && (comment < 0 || tab < comment));
        const QString key = tok.Tokens(0);
        const QString value = tok.TokenCount() >= 2 ? tok.Tokens(1) : QString();
        const bool ok = hasValue && applySetting(key, value);
        for (int i = 0; i <= tok.TokenCount() && i < clsToken::MaxTokens; ++i)
            tok.SetTokens(i, QString());
        if (!ok)
            ++skipped;
    }
    return skipped;
}

bool WriteSettings(QString *error)
{
    const int32_t count = gExecuteCount < std::numeric_limits<int32_t>::max() ? gExecuteCount + 1 : gExecuteCount;
    const QString fontText = QStringList{gFont.name, QString::number(gFont.size), flag(gFont.bold), flag(gFont.italic),
                                         flag(gFont.underline), flag(gFont.strikethrough),
                                         QString::number(gFont.weight), QString::number(gFont.charset)}
                                 .join(QLatin1Char(','));
    const QList<std::pair<const char *, QString>> rows = {
        {kSuffix, gFactorySuffix},
        {kExecuteCount, QString::number(count)},
        {kSerialLog, onOff(gSerialLogFile)},
        {kIrComm, QString::number(gIrCommNum)},
        {kComm, gCommSettings},
        {kTimeout, QString::number(gTimeout)},
        {kRetry, QString::number(gRetry)},
        {kDelay, QString::number(double(gDelay), 'g', 7)},
        {kFont, fontText},
        {kSize, QStringLiteral("%1,%2,%3").arg(gMainWindowState).arg(gMainWidth).arg(gMainHeight)},
        {kCsa, onOff(gCsaLimitEnabled)},
        {kCatName, gCatName},
        {kCatLongName, gCatLongName},
        {kCatRatio, gCatRatio},
        {kCatDigit, gCatDigit},
        {kTcName, gTcName},
        {kTcLongName, gTcLongName},
        {kTcFullScale, gTcFullScale},
        {kTcDigit, gTcDigit},
    };

    QString text = QStringLiteral("; VANTIK program settings: key, TAB, value\r\n");
    for (const auto &[key, value] : rows) {
        // A value cannot carry its own line break, TAB or comment mark; such characters become
        // blanks rather than break the file.
        QString v = value;
        for (QChar &ch : v) {
            if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n') || ch == QLatin1Char('\t') || ch == QLatin1Char(';'))
                ch = QLatin1Char(' ');
        }
        text += QString::fromLatin1(key) + QLatin1Char('\t') + v + QStringLiteral("\r\n");
    }

    const FileResult r = WriteFileWhole(AppFile(QString::fromLatin1(kSettingsFileName)), text.toLatin1());
    if (!r && error)
        *error = r.error;
    return bool(r);
}
