#include "model/SettingWords.h"
#include "core/Messages.h"

namespace SettingWords {

QString WordOf(Table t, int code)
{
    if (code < 0 || code >= int(t.size()))
        return QString();
    const Word &w = t[size_t(code)];
    return w.msg ? GetMsg(w.msg) : QString::fromLatin1(w.text);
}

QString HistoryWordOf(Table t, int code)
{
    if (code >= 0 && code < int(t.size()) && t[size_t(code)].history)
        return QString::fromLatin1(t[size_t(code)].history);
    return WordOf(t, code);
}

QStringList Words(Table t)
{
    QStringList out;
    for (int code = 0; code < int(t.size()); ++code)
        out << WordOf(t, code);
    return out;
}

int CodeOf(Table t, const QString &upperText, int otherwise)
{
    for (int code = 0; code < int(t.size()); ++code)
        if (upperText == WordOf(t, code).toUpper())
            return code;
    return otherwise;
}

} // namespace SettingWords
