#include "settingsfiles/HistoryFile.h"

#include "core/FileIO.h"

#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace HistoryFile {

namespace {

const QByteArray kCrLf("\r\n");
constexpr qint64 kMaxHistorySize = qint64(1) << 30; // about 25,000 rows

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

// End of the line that starts at `from` (CR LF, LF or CR), and where the next one starts.
qsizetype lineEnd(const QByteArray &b, qsizetype from, qsizetype *next)
{
    qsizetype end = from;
    while (end < b.size() && b.at(end) != '\r' && b.at(end) != '\n')
        ++end;
    *next = end;
    if (end < b.size())
        *next = b.at(end) == '\r' && end + 1 < b.size() && b.at(end + 1) == '\n' ? end + 2 : end + 1;
    return end;
}

// Appends the old rows to out: unchanged when the old header begins with the first
// column's label (a last row without a line end gets one), otherwise each non-empty row
// with "," in front, so that it lines up under the newer first column.
void appendOldRows(QByteArray &out, const QByteArray &old, const QByteArray &actionLabel)
{
    qsizetype rest = 0;
    const qsizetype headerEnd = lineEnd(old, 0, &rest);
    if (QByteArrayView(old.constData(), headerEnd).startsWith(actionLabel)) {
        out.append(old.constData() + rest, old.size() - rest);
        if (rest < old.size() && !old.endsWith('\n') && !old.endsWith('\r'))
            out += kCrLf;
        return;
    }
    for (qsizetype at = rest; at < old.size();) {
        qsizetype next = 0;
        const qsizetype end = lineEnd(old, at, &next);
        if (end > at) {
            out += ',';
            out.append(old.constData() + at, end - at);
            out += kCrLf;
        }
        at = next;
    }
}

// Whether a swap left behind is a whole history: a header beginning with the first
// column's label, then rows with as many fields as the header, the last one ended.
// Quoted fields may hold commas and line breaks.
bool isWholeHistory(const QByteArray &b, const QByteArray &actionLabel)
{
    if (!b.startsWith(actionLabel) || !(b.endsWith('\n') || b.endsWith('\r')))
        return false;
    int headerFields = -1;
    int fields = 1;
    bool quoted = false;
    bool rowHasText = false;
    for (qsizetype k = 0; k < b.size(); ++k) {
        const char c = b.at(k);
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
        } else if (c == ',') {
            ++fields;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && k + 1 < b.size() && b.at(k + 1) == '\n')
                ++k;
            if (headerFields < 0)
                headerFields = fields;
            else if (fields != headerFields || !rowHasText)
                return false;
            fields = 1;
            rowHasText = false;
            continue;
        }
        rowHasText = true;
    }
    return !quoted && headerFields > 0;
}

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
    Outcome done;
    std::error_code ec;
    if (!QFileInfo::exists(historyPath) && QFileInfo::exists(swapPath)) {
        // An earlier run stopped between removing the old file and renaming the swap. The
        // swap is the history only when it is whole; a swap cut short is kept aside.
        QByteArray swap;
        const bool whole = ReadFileWhole(swapPath, kMaxHistorySize, swap) && isWholeHistory(swap, actionLabel);
        const QString target = whole ? historyPath : asideName(historyPath);
        if (target.isEmpty())
            return fail(QStringLiteral("Cannot keep %1 aside: no free name").arg(swapPath));
        std::filesystem::rename(fsPath(swapPath), fsPath(target), ec);
        if (ec)
            return fail(QStringLiteral("Cannot recover %1: %2").arg(swapPath, QString::fromStdString(ec.message())));
        if (!whole)
            done.notice = QStringLiteral("The settings history was found cut short (%1); it is kept as %2 and a new "
                                         "history is begun.")
                              .arg(swapPath, target);
    }
    if (!QFileInfo::exists(historyPath)) {
        const FileResult w = WriteFileWhole(historyPath, header + kCrLf + row + kCrLf);
        if (!w)
            return fail(QStringLiteral("Cannot write %1: %2").arg(historyPath, w.error));
        return done;
    }

    QByteArray old;
    const FileResult r = ReadFileWhole(historyPath, kMaxHistorySize, old);
    if (!r)
        return fail(QStringLiteral("Cannot read %1: %2").arg(historyPath, r.error));
    QByteArray renewed;
    renewed.reserve(header.size() + old.size() + old.size() / 500 + row.size() + 8);
    renewed += header + kCrLf;
    if (!old.isEmpty())
        appendOldRows(renewed, old, actionLabel);
    old = QByteArray();
    renewed += row + kCrLf;
    const FileResult w = WriteFileWhole(swapPath, renewed);
    if (!w)
        return fail(QStringLiteral("Cannot write %1: %2").arg(swapPath, w.error));
    // One step: at every moment either the old or the complete new history is on disk.
    std::filesystem::rename(fsPath(swapPath), fsPath(historyPath), ec);
    if (ec) {
        std::filesystem::remove(fsPath(swapPath), ec);
        return fail(QStringLiteral("Cannot replace %1: %2").arg(historyPath, QString::fromStdString(ec.message())));
    }
    return done;
}

} // namespace HistoryFile
