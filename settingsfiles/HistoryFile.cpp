#include "settingsfiles/HistoryFile.h"

#include "core/FileIO.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace HistoryFile {

namespace {

const QByteArray kCrLf("\r\n");
constexpr qint64 kMaxHistorySize = qint64(1) << 30; // about 250,000 rows of 4.2 kB

std::filesystem::path fsPath(const QString &p)
{
    return std::filesystem::path(p.toStdU16String());
}

Outcome fail(const QString &text)
{
    Outcome o;
    o.ok = false;
    o.error = text;
    return o;
}

bool needsQuotes(const QString &f)
{
    for (QChar c : f) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    }
    return false;
}

// Copies the old rows of a history to out as they are read, piece by piece, so that a
// row costs the same memory whatever the history's length. The old header is dropped. The
// rows go unchanged when the old header begins with the first column's label (a last row
// without a line end gets one); otherwise each non-empty row gets "," in front and CR LF,
// so that it lines up under the newer first column.
class OldRows
{
public:
    OldRows(FileWriter &out, const QByteArray &actionLabel) : m_out(out), m_label(actionLabel) {}

    void feed(QByteArrayView b)
    {
        qsizetype k = 0;
        while (k < b.size() && m_state == State::Header) {
            const char c = b.at(k++);
            if (c == '\r' || c == '\n') {
                m_state = m_start == m_label ? State::Keep : State::Prefix;
                m_skipLf = c == '\r';
            } else if (m_start.size() < m_label.size()) {
                m_start += c;
            }
        }
        if (k < b.size() && m_skipLf && b.at(k) == '\n')
            ++k;
        if (k < b.size())
            m_skipLf = false;
        if (m_state == State::Keep) {
            if (k < b.size()) {
                m_out.write(b.sliced(k));
                m_last = b.back();
            }
        } else if (m_state == State::Prefix) {
            prefixRows(b.sliced(k));
        }
    }

    void finish()
    {
        if (m_state == State::Keep && m_last != 0 && m_last != '\n' && m_last != '\r')
            m_out.write(kCrLf);
        if (m_state == State::Prefix && m_inRow)
            m_out.write(kCrLf);
    }

private:
    enum class State { Header, Keep, Prefix };

    void prefixRows(QByteArrayView b)
    {
        qsizetype at = 0;
        while (at < b.size()) {
            qsizetype end = at;
            while (end < b.size() && b.at(end) != '\r' && b.at(end) != '\n')
                ++end;
            if (end > at) {
                if (!m_inRow)
                    m_out.write(",", 1);
                m_out.write(b.sliced(at, end - at));
                m_inRow = true;
            }
            if (end < b.size()) {
                if (m_inRow)
                    m_out.write(kCrLf);
                m_inRow = false;
                ++end;
            }
            at = end;
        }
    }

    FileWriter &m_out;
    const QByteArray m_label;
    QByteArray m_start; // the old header's first bytes, as many as the label has
    State m_state = State::Header;
    bool m_skipLf = false; // the header ended with CR: an LF right after belongs to it
    bool m_inRow = false;
    char m_last = 0;
};

// Whether a swap left behind is a whole history: a header beginning with the first
// column's label, then rows with as many fields as the header, the last one ended.
// Quoted fields may hold commas and line breaks. Fed piece by piece.
class WholeHistoryCheck
{
public:
    explicit WholeHistoryCheck(const QByteArray &actionLabel) : m_label(actionLabel) {}

    void feed(QByteArrayView b)
    {
        for (const char c : b) {
            if (m_bad)
                return;
            if (m_start.size() < m_label.size()) {
                m_start += c;
                m_bad = !m_label.startsWith(m_start);
            }
            const bool lfOfCrLf = m_lastWasCr && c == '\n' && !m_quoted;
            m_lastWasCr = false;
            m_last = c;
            if (lfOfCrLf)
                continue;
            if (c == '"') {
                m_quoted = !m_quoted;
            } else if (m_quoted) {
            } else if (c == ',') {
                ++m_fields;
            } else if (c == '\r' || c == '\n') {
                m_lastWasCr = c == '\r';
                if (m_headerFields < 0)
                    m_headerFields = m_fields;
                else if (m_fields != m_headerFields || !m_rowHasText)
                    m_bad = true;
                m_fields = 1;
                m_rowHasText = false;
                continue;
            }
            m_rowHasText = true;
        }
    }

    bool whole() const
    {
        return !m_bad && m_start == m_label && (m_last == '\n' || m_last == '\r') && !m_quoted && m_headerFields > 0;
    }

private:
    const QByteArray m_label;
    QByteArray m_start;
    int m_headerFields = -1;
    int m_fields = 1;
    bool m_quoted = false;
    bool m_rowHasText = false;
    bool m_lastWasCr = false;
    bool m_bad = false;
    char m_last = 0;
};

// A free name beside the history for a swap that is not whole: "<history>_swap_incomplete.csv",
// then numbered.
QString asideName(const QString &historyPath)
{
    const QString base = historyPath.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? historyPath.chopped(4)
                                                                                           : historyPath;
    for (int n = 1; n < 1000; ++n) {
        const QString name = base + QStringLiteral("_swap_incomplete") + (n == 1 ? QString() : QString::number(n)) +
                             QStringLiteral(".csv");
        if (!QFileInfo::exists(name))
            return name;
    }
    return QString();
}

} // namespace

QByteArray joinFields(const QStringList &fields)
{
    QByteArray line;
    line.reserve(fields.size() * 8);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            line.append(',');
        const QString &f = fields.at(i);
        if (needsQuotes(f)) {
            QString q = f;
            q.replace(QLatin1Char('"'), QLatin1String("\"\""));
            line.append('"').append(q.toLatin1()).append('"');
        } else {
            line.append(f.toLatin1());
        }
    }
    return line;
}

Outcome appendRow(const QString &historyPath, const QString &swapPath, const QByteArray &header,
                  const QByteArray &row, const QByteArray &actionLabel)
{
    // A history that is a link stays one: the file it points at is rewritten, through a swap
    // beside that file, as every writer does.
    QString history;
    const FileResult followed = WriteTargetOf(historyPath, &history);
    if (!followed)
        return fail(QStringLiteral("Cannot write %1: %2").arg(historyPath, followed.error));
    const QString swap =
        history == historyPath ? swapPath : QFileInfo(history).dir().filePath(QFileInfo(swapPath).fileName());
    const QByteArray &label = actionLabel;

    Outcome done;
    std::error_code ec;
    if (!QFileInfo::exists(history) && QFileInfo::exists(swap)) {
        // An earlier run stopped between removing the old file and renaming the swap. The
        // swap is the history only when it is whole; a swap cut short is kept aside.
        WholeHistoryCheck check(label);
        const bool whole = ReadFileChunks(swap, kMaxHistorySize, [&](QByteArrayView b) { check.feed(b); }) &&
                           check.whole();
        const QString target = whole ? history : asideName(history);
        if (target.isEmpty())
            return fail(QStringLiteral("Cannot keep %1 aside: no free name").arg(swap));
        std::filesystem::rename(fsPath(swap), fsPath(target), ec);
        if (ec)
            return fail(QStringLiteral("Cannot recover %1: %2").arg(swap, QString::fromStdString(ec.message())));
        if (!whole)
            done.notice = QStringLiteral("The settings history was found cut short (%1); it is kept as %2 and a new "
                                         "history is begun.")
                              .arg(swap, target);
    }
    if (!QFileInfo::exists(history)) {
        const FileResult w = WriteFileWhole(history, header + kCrLf + row + kCrLf);
        if (!w)
            return fail(QStringLiteral("Cannot write %1: %2").arg(history, w.error));
        return done;
    }

    // The swap gets the new header, the old rows and the new row, streamed; its rename over
    // the history is one step, so at every moment either the old or the new history is whole.
    FileWriter out;
    FileResult w = out.open(history, swap);
    if (!w)
        return fail(QStringLiteral("Cannot write %1: %2").arg(swap, w.error));
    out.write(header + kCrLf);
    OldRows old(out, label);
    const FileResult r = ReadFileChunks(history, kMaxHistorySize, [&](QByteArrayView b) { old.feed(b); });
    if (!r)
        return fail(QStringLiteral("Cannot read %1: %2").arg(history, r.error));
    old.finish();
    out.write(row + kCrLf);
    w = out.commit();
    if (!w)
        return fail(QStringLiteral("Cannot replace %1: %2").arg(history, w.error));
    return done;
}

} // namespace HistoryFile
