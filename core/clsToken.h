#pragma once
#include <QString>
#include <QStringList>
#include <array>

// Line tokenizer shared by every file and list reader.
//
// Splitting rules (Source):
//  - every delimiter ends a field, so empty fields between delimiters and before the
//    first delimiter count; an empty remainder after a trailing delimiter does not;
//  - a comment character outside quotes ends the scan: a pending non-empty field is
//    kept as the last token, and the text after the comment character is stored in
//    the slot at TokenCount() without being counted;
//  - a quote character opens a quoted run that the same character closes; inside it
//    delimiters and comment characters are ordinary text; the quote characters
//    themselves are not part of the field;
//  - at most MaxTokens fields: a longer line is refused (SetSource returns false,
//    Overflowed() is true; the first MaxTokens fields are kept).
// Slots are never cleared by a new split: slots above the new count keep the text of
// earlier lines (callers blank what they used).
class clsToken {
public:
    static constexpr int MaxTokens = 256;
    static constexpr int MaxListEntries = 10;

    void ClearDelimiters() { m_delimiters.clear(); }
    void ClearStrings() { m_quotes.clear(); }
    void ClearComments() { m_comments.clear(); }
    // Each adds one entry (a character, or a short text); at most 10 per list, empty entries
    // and entries beyond the tenth are ignored.
    void AddDelimiters(const QString &text) { addEntry(m_delimiters, text); }
    void AddStrings(const QString &text) { addEntry(m_quotes, text); }
    void AddComments(const QString &text) { addEntry(m_comments, text); }

    // Stores the text and splits it at once. False when the text holds more fields than fit.
    bool SetSource(const QString &text);
    const QString &Source() const { return m_source; }
    bool Overflowed() const { return m_overflow; }

    int TokenCount() const { return m_count; }
    // Text of slot i, "" outside 0..MaxTokens-1.
    QString Tokens(int i) const;
    // Replaces slot i; ignored outside 0..MaxTokens-1.
    void SetTokens(int i, const QString &text);

private:
    static void addEntry(QStringList &list, const QString &text);
    static int matchAt(const QStringList &list, const QString &text, int pos);
    bool store(int slot, const QString &text);

    QStringList m_delimiters;
    QStringList m_quotes;
    QStringList m_comments;
    QString m_source;
    std::array<QString, MaxTokens> m_slots;
    int m_count = 0;
    bool m_overflow = false;
};
