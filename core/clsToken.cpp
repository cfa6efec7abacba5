#include "core/clsToken.h"

void clsToken::addEntry(QStringList &list, const QString &text)
{
    if (text.isEmpty() || list.size() >= MaxListEntries)
        return;
    list.append(text);
}

// Length of the entry of list that starts at text[pos], 0 when none does.
int clsToken::matchAt(const QStringList &list, const QString &text, int pos)
{
    for (const QString &entry : list) {
        if (QStringView(text).mid(pos).startsWith(entry))
            return int(entry.size());
    }
    return 0;
}

bool clsToken::store(int slot, const QString &text)
{
    if (slot < 0 || slot >= MaxTokens) {
        m_overflow = true;
        return false;
    }
    m_slots[size_t(slot)] = text;
    return true;
}

bool clsToken::SetSource(const QString &text)
{
    m_source = text;
    m_count = 0;
    m_overflow = false;

    QString field;
    QString openQuote; // the quote that opened the current quoted run, empty outside quotes
    const int n = int(text.size());
    int pos = 0;
    while (pos < n) {
        if (!openQuote.isEmpty()) {
            if (QStringView(text).mid(pos).startsWith(openQuote)) {
                pos += int(openQuote.size());
                openQuote.clear();
            } else {
                field += text.at(pos++);
            }
            continue;
        }
        if (int len = matchAt(m_quotes, text, pos)) {
            openQuote = text.mid(pos, len);
            pos += len;
            continue;
        }
        if (int len = matchAt(m_comments, text, pos)) {
            if (!field.isEmpty()) {
                if (!store(m_count, field))
                    return false;
                ++m_count;
            }
            // The comment sits in the next slot but is not counted; no slot left for it
            // means the line was too long.
            return store(m_count, text.mid(pos + len));
        }
        if (int len = matchAt(m_delimiters, text, pos)) {
            if (!store(m_count, field))
                return false;
            ++m_count;
            field.clear();
            pos += len;
            continue;
        }
        field += text.at(pos++);
    }
    if (!field.isEmpty()) {
        if (!store(m_count, field))
            return false;
        ++m_count;
    }
    return true;
}

QString clsToken::Tokens(int i) const
{
    if (i < 0 || i >= MaxTokens)
        return QString();
    return m_slots[size_t(i)];
}

void clsToken::SetTokens(int i, const QString &text)
{
    if (i < 0 || i >= MaxTokens)
        return;
    m_slots[size_t(i)] = text;
}
