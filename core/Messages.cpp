#include "core/Messages.h"
#include "core/FileIO.h"
#include <QFile>
#include <QHash>

namespace {

QHash<int, QString> parseTable(const QByteArray &bytes)
{
    QHash<int, QString> table;
    QString text = QString::fromLatin1(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            continue;
        bool ok = false;
        const int id = line.left(tab).trimmed().toInt(&ok);
        if (!ok)
            continue;
        // Trailing blanks are part of some texts: keep the rest of the line as it stands.
        table.insert(id, line.mid(tab + 1));
    }
    return table;
}

QHash<int, QString> &table()
{
    static QHash<int, QString> t = [] {
        QFile f(QStringLiteral(":/messages.txt"));
        if (!f.open(QIODevice::ReadOnly))
            return QHash<int, QString>();
        return parseTable(f.readAll());
    }();
    return t;
}

} // namespace

QString ExpandMessage(const QString &text, const QStringList &args)
{
    QString out;
    out.reserve(text.size() + 16);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        if (ch != QLatin1Char('~') || i + 1 >= n) {
            out += ch;
            continue;
        }
        const QChar next = text.at(++i);
        if (next >= QLatin1Char('1') && next <= QLatin1Char('9'))
            out += args.value(next.unicode() - '1');
        else if (next == QLatin1Char('c') || next == QLatin1Char('C'))
            out += QLatin1String("\r\n");
        else if (next == QLatin1Char('t') || next == QLatin1Char('T'))
            out += QLatin1Char('\t');
        // any other pair is dropped
    }
    return out;
}

QString MessageText(int id) { return table().value(id); }

bool HasMessage(int id) { return table().contains(id); }

int MessageCount() { return int(table().size()); }

QString GetMsgList(int id, const QStringList &args)
{
    const auto it = table().constFind(id);
    if (it == table().constEnd())
        return QString();
    return ExpandMessage(*it, args);
}

