#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <type_traits>

// Message table: numbered English texts, compiled in from resources/messages.txt
// ("id<TAB>text" per line, Latin-1). In a text "~1".."~9" stand for the arguments, "~c"
// for CR LF and "~t" for a tab (either case); any other "~x" pair is dropped.

// Text of message id with its placeholders expanded; "" for an unknown id.
QString GetMsgList(int id, const QStringList &args = {});

// The raw table text of message id, placeholders untouched; "" for an unknown id.
QString MessageText(int id);
bool HasMessage(int id);
int MessageCount();

// Expansion alone, for texts that do not come from the table.
QString ExpandMessage(const QString &text, const QStringList &args);

namespace msgdetail {
inline QString toText(const QString &s) { return s; }
inline QString toText(const char *s) { return QString::fromUtf8(s); }
inline QString toText(QLatin1String s) { return QString(s); }
inline QString toText(QStringView s) { return s.toString(); }
inline QString toText(QChar c) { return QString(c); }
inline QString toText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }
inline QString toText(float f) { return QString::number(double(f), 'g', 7); }
inline QString toText(double d) { return QString::number(d, 'g', 15); }
inline QString toText(const QVariant &v) { return v.toString(); }
inline QString toText(const QDateTime &d) { return d.toString(Qt::TextDate); }
inline QString toText(const QDate &d) { return d.toString(Qt::TextDate); }
template <typename T>
    requires std::is_integral_v<T>
QString toText(T v)
{
    return QString::number(v);
}
} // namespace msgdetail

// GetMsg(5412, retryCount), GetMsg(5519, date, elapsed) ...: each argument as text.
template <typename... Args>
QString GetMsg(int id, const Args &...args)
{
    return GetMsgList(id, QStringList{msgdetail::toText(args)...});
}
