#include "core/CharChecks.h"
#include "core/modMain.h"

namespace {

enum class Kind { Fail, Pass, Lower };

// leadBlank: a blank judged as a symbol (first position of a text without gAllowLeadBlank).
Kind classify(int c, bool allowLower, bool allowQuote, bool blankIsSymbol)
{
    if (c < 32 || c > 126)
        return Kind::Fail;
    if ((c == ' ' && !blankIsSymbol) || c == '-' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))
        return Kind::Pass;
    if (c >= 'a' && c <= 'z')
        return Kind::Lower;
    // Braces, and the separators of the settings and list files (",", ";"): a name
    // holding one would not come back as itself. "|" is an ordinary character: the
    // dialog's choice lists are lists, not "|"-joined texts.
    if (c == '{' || c == '}' || c == ',' || c == ';')
        return Kind::Fail;
    if (!allowLower)
        return Kind::Fail;
    if (c == '\'')
        return allowQuote ? Kind::Pass : Kind::Fail;
    // blank to "/" but ",", ":" to "@" but ";", "[" to "`", "|", "~"
    return Kind::Pass;
}

} // namespace

bool CheckKeyAscii(int16_t &keyAscii, bool allowLower, bool allowQuote)
{
    if (keyAscii == 8)
        return true;
    switch (classify(keyAscii, allowLower, allowQuote, false)) {
    case Kind::Pass:
        return true;
    case Kind::Lower:
        if (!allowLower)
            keyAscii = int16_t(keyAscii - 32);
        return true;
    case Kind::Fail:
        break;
    }
    return false;
}

bool CheckKeyAscii(int &keyAscii, bool allowLower, bool allowQuote)
{
    if (keyAscii < INT16_MIN || keyAscii > INT16_MAX)
        return false;
    int16_t k = int16_t(keyAscii);
    const bool ok = CheckKeyAscii(k, allowLower, allowQuote);
    keyAscii = k;
    return ok;
}

bool CheckTextChars(const QString &text, bool allowLower, bool allowQuote)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool blankIsSymbol = (i == 0 && !gAllowLeadBlank);
        switch (classify(text.at(i).unicode(), allowLower, allowQuote, blankIsSymbol)) {
        case Kind::Pass:
            break;
        case Kind::Lower:
            if (!allowLower)
                return false;
            break;
        case Kind::Fail:
            return false;
        }
    }
    return true;
}

bool HasFileSeparator(const QString &text)
{
    return text.contains(QLatin1Char(',')) || text.contains(QLatin1Char(';'));
}

bool CheckListNameChars(const QString &text, bool allowLower) { return CheckTextChars(text, allowLower, true); }

bool CheckListNameKey(int &keyAscii, bool allowLower) { return CheckKeyAscii(keyAscii, allowLower, true); }

bool FileSuffixAcceptable(const QString &suffix)
{
    if (HasFileSeparator(suffix))
        return false;
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    for (const QChar c : suffix) {
        const ushort u = c.unicode();
        if (u < 32 || u == 127 || u > 255 || forbidden.contains(c))
            return false;
    }
    return true;
}
