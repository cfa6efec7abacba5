#include "settingsfiles/HistoryFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <filesystem>
#include <system_error>
#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace HistoryFile {

namespace {

const QByteArray kCrLf("\r\n");
constexpr qint64 kChunk = 1 << 20;

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

// Reads the first line (without its end) and leaves the file positioned after its end
// (CR LF, LF or CR).
QByteArray readFirstLine(QFile &in)
{
    QByteArray line;
    char c;
    while (in.getChar(&c)) {
        if (c == '\n')
            break;
        if (c == '\r') {
            char next;
            if (in.getChar(&next) && next != '\n')
                in.ungetChar(next);
            break;
        }
        line.append(c);
    }
    return line;
}

bool writeAll(QFile &out, const QByteArray &bytes)
{
    return out.write(bytes) == bytes.size();
}

// Old rows as they stand, in large blocks; a last row without a line end gets one.
bool copyRest(QFile &in, QFile &out)
{
    char last = '\n';
    while (!in.atEnd()) {
        const QByteArray block = in.read(kChunk);
        if (block.isEmpty())
            break;
        if (!writeAll(out, block))
            return false;
        last = block.back();
    }
    if (last != '\n' && last != '\r')
        return writeAll(out, kCrLf);
    return true;
}

// Rows written before the first column existed: each gets an empty first field.
bool copyRestShifted(QFile &in, QFile &out)
{
    const QByteArray rest = in.readAll();
    qsizetype start = 0;
    const qsizetype n = rest.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && rest.at(end) != '\r' && rest.at(end) != '\n')
            ++end;
        const QByteArray line = rest.mid(start, end - start);
        if (!line.isEmpty() && !writeAll(out, QByteArray(",") + line + kCrLf))
            return false;
        if (end < n && rest.at(end) == '\r' && end + 1 < n && rest.at(end + 1) == '\n')
            ++end;
        start = end + 1;
    }
    return true;
}

bool syncToDisk(QFile &f)
{
    if (!f.flush())
        return false;
#ifdef Q_OS_UNIX
    return ::fsync(f.handle()) == 0;
#else
    return true;
#endif
}

Outcome createNew(const QString &historyPath, const QByteArray &header, const QByteArray &row)
{
    QSaveFile out(historyPath);
    if (!out.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("Cannot create %1: %2").arg(historyPath, out.errorString()));
    out.write(header + kCrLf + row + kCrLf);
    if (!out.commit())
        return fail(QStringLiteral("Cannot write %1: %2").arg(historyPath, out.errorString()));
    return {};
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
    std::error_code ec;
    if (!QFileInfo::exists(historyPath) && QFileInfo::exists(swapPath)) {
        // The swap of an interrupted rewrite is the only complete copy: keep it.
        std::filesystem::rename(fsPath(swapPath), fsPath(historyPath), ec);
        if (ec)
            return fail(QStringLiteral("Cannot recover %1: %2").arg(swapPath, QString::fromStdString(ec.message())));
    }
    if (!QFileInfo::exists(historyPath))
        return createNew(historyPath, header, row);

    QFile in(historyPath);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2").arg(historyPath, in.errorString()));
    QFile out(swapPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(QStringLiteral("Cannot create %1: %2").arg(swapPath, out.errorString()));

    bool good = writeAll(out, header + kCrLf);
    if (good && !in.atEnd()) {
        const QByteArray oldHeader = readFirstLine(in);
        good = oldHeader.startsWith(actionLabel) ? copyRest(in, out) : copyRestShifted(in, out);
    }
    if (in.error() != QFileDevice::NoError)
        good = false;
    good = good && writeAll(out, row + kCrLf) && syncToDisk(out);
    const QString writeError = out.errorString();
    out.close();
    in.close();
    if (!good) {
        QFile::remove(swapPath);
        return fail(QStringLiteral("Cannot write %1: %2").arg(swapPath, writeError));
    }
    // One step: at every moment either the old or the complete new history is on disk.
    std::filesystem::rename(fsPath(swapPath), fsPath(historyPath), ec);
    if (ec) {
        QFile::remove(swapPath);
        return fail(QStringLiteral("Cannot replace %1: %2").arg(historyPath, QString::fromStdString(ec.message())));
    }
    return {};
}

} // namespace HistoryFile
