#include "core/Scrambler.h"

int16_t gScramble = 0;

namespace {
constexpr int kBase = 70;

void setOk(bool *ok, bool value)
{
    if (ok)
        *ok = value;
}
}

QString EncodeText(const QString &text, bool *ok) { return EncodeText(text, gScramble == -1, ok); }
QString DecodeText(const QString &text, bool *ok) { return DecodeText(text, gScramble == -1, ok); }

QString EncodeText(const QString &text, bool Scramble, bool *ok)
{
    setOk(ok, true);
    if (!Scramble)
        return text;
    QString out;
    out.reserve(text.size() * 2);
    for (qsizetype k = 0; k < text.size(); ++k) {
        const int c = text.at(k).unicode();
        const qint64 v = qint64(c) + k;
        const qint64 high = kBase + v / 16;
        if (c > 255 || high > 255) {
            // The file is single-byte text: a character beyond Latin-1, or a line this long,
            // cannot be written faithfully.
            setOk(ok, false);
            return QString();
        }
        out += QChar(char16_t(kBase + (v & 15)));
        out += QChar(char16_t(high));
    }
    return out;
}

QString DecodeText(const QString &text, bool Scramble, bool *ok)
{
    setOk(ok, true);
    if (!Scramble)
        return text;
    if (text.size() % 2 != 0) {
        setOk(ok, false);
        return QString();
    }
    QString out;
    out.reserve(text.size() / 2);
    for (qsizetype k = 0; k < text.size() / 2; ++k) {
        const int low = int(text.at(2 * k).unicode()) - kBase;
        const int high = int(text.at(2 * k + 1).unicode()) - kBase;
        const qint64 c = qint64(high) * 16 + low - k;
        if (low < 0 || low > 15 || high < 0 || c < 0 || c > 255) {
            setOk(ok, false);
            return QString();
        }
        out += QChar(char16_t(c));
    }
    return out;
}
