#include "factory/ListFiles.h"

#include "core/clsToken.h"
#include "factory/FsRulesConversion.h"

namespace ListFile {

namespace {

bool isRowNumber(const QString &field)
{
    if (field.isEmpty())
        return false;
    for (QChar c : field)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

} // namespace

bool SplitLine(const QString &line, QStringList *fields)
{
    clsToken tok;
    tok.AddDelimiters(QStringLiteral(","));
    tok.AddDelimiters(QStringLiteral("\t"));
    const bool ok = tok.SetSource(line);
    fields->clear();
    for (int i = 0; i < tok.TokenCount(); ++i)
        fields->append(tok.Tokens(i));
    return ok;
}

bool HasRowNumber(const Line &line)
{
    if (line.fields.isEmpty() || !isRowNumber(line.fields.first()))
        return false;
    const qsizetype after = line.fields.first().size();
    return after < line.text.size()
           && (line.text.at(after) == QLatin1Char(',') || line.text.at(after) == QLatin1Char('\t'));
}

ReadResult ReadLines(const QString &path)
{
    ReadResult out;
    QByteArray bytes;
    const FileResult read = ReadFileWhole(path, kMaxBytes, bytes);
    if (!read) {
        out.ok = false;
        out.error = read.error;
        return out;
    }
    // Every writer ends each line: a last line without its end was cut short. Empty lines
    // at the end carry nothing and are dropped.
    bool cut = false;
    QStringList texts = SplitLines(bytes, &cut);
    if (cut) {
        out.ok = false;
        out.error = QStringLiteral("The last line has no line end: the file was cut short");
        return out;
    }
    while (!texts.isEmpty() && texts.last().isEmpty())
        texts.removeLast();
    for (int k = 0; k < texts.size(); ++k) {
        Line line{texts.at(k), {}};
        if (!SplitLine(line.text, &line.fields)) {
            out.ok = false;
            out.error = QStringLiteral("Line %1 holds too many fields").arg(k + 1);
            out.lines.clear();
            return out;
        }
        out.lines.append(line);
    }
    return out;
}

ReadResult ReadNumberedLines(const QString &path, int maxRows, int minFields)
{
    ReadResult out = ReadLines(path);
    if (!out)
        return out;
    auto improper = [&out](const QString &why) {
        out.ok = false;
        out.error = why;
        out.lines.clear();
        return out;
    };
    if (out.lines.isEmpty())
        return improper(QStringLiteral("The file holds no line"));
    if (out.lines.size() > maxRows)
        out.lines.resize(maxRows);
    for (int k = 0; k < out.lines.size(); ++k) {
        const Line &line = out.lines.at(k);
        if (!HasRowNumber(line) || line.fields.size() < minFields)
            return improper(QStringLiteral("Line %1 is not a list line: %2").arg(k + 1).arg(line.text));
    }
    return out;
}

QByteArray JoinRows(const QVector<QStringList> &rows)
{
    QByteArray bytes;
    for (int r = 0; r < rows.size(); ++r) {
        QString line = QString::number(r + 1);
        for (const QString &field : rows.at(r))
            line += QLatin1Char(',') + field;
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    return bytes;
}

FileResult WriteRows(const QString &path, const QVector<QStringList> &rows)
{
    return WriteFileWhole(path, JoinRows(rows));
}

} // namespace ListFile

namespace NameListFile {

QString NameOfLine(const QStringList &fields)
{
    return fields.mid(1).join(QLatin1Char(','));
}

ReadResult Read(const QString &path, int maxRows)
{
    ReadResult out;
    const ListFile::ReadResult file = ListFile::ReadNumberedLines(path, maxRows);
    if (!file) {
        out.ok = false;
        out.error = file.error;
        return out;
    }
    for (const ListFile::Line &line : file.lines)
        out.names << NameOfLine(line.fields);
    return out;
}

bool ReadsBack(const QString &name)
{
    if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')))
        return false;
    QStringList fields;
    return ListFile::SplitLine(QStringLiteral("1,") + name, &fields) && NameOfLine(fields) == name;
}

FileResult Write(const QString &path, const QStringList &names)
{
    QVector<QStringList> rows;
    rows.reserve(names.size());
    for (const QString &name : names)
        rows.append(QStringList{name});
    return ListFile::WriteRows(path, rows);
}

} // namespace NameListFile

namespace ConversionListFile {

Row RowOfLine(const QStringList &fields)
{
    Row row;
    const int m = int(fields.size());
    row[0] = fields.value(1);
    if (m > 8) {
        row[1] = fields.mid(2, m - 7).join(QLatin1Char(','));
        for (int c = 2; c < kCols; ++c)
            row[size_t(c)] = fields.value(m - 7 + c);
    } else {
        for (int c = 1; c < kCols; ++c)
            row[size_t(c)] = fields.value(c + 1);
    }
    return row;
}

ReadResult Read(const QString &path)
{
    ReadResult out;
    auto improper = [&out](const QString &why) {
        out.ok = false;
        out.error = why;
        out.rows.clear();
        return out;
    };
    // One line more than the tables hold is read, so that such a file is refused.
    const ListFile::ReadResult file = ListFile::ReadNumberedLines(path, kRows + 1);
    if (!file)
        return improper(file.error);
    if (file.lines.size() > kRows)
        return improper(QStringLiteral("The file holds more than %1 lines").arg(kRows));
    for (int k = 0; k < file.lines.size(); ++k) {
        const ListFile::Line &line = file.lines.at(k);
        const Row row = RowOfLine(line.fields);
        const bool level = FsConv::ParseNumber(row[FsConv::ColFirst - 1])
                           || FsConv::ParseNumber(row[FsConv::ColSecond - 1]);
        if (level && !FsConv::ParseNumber(row[FsConv::ColRatio - 1]))
            return improper(QStringLiteral("Line %1 has levels but no ratio: %2").arg(k + 1).arg(line.text));
        out.rows.append(row);
    }
    return out;
}

namespace {
QStringList fieldsOf(const Row &row) { return QStringList(row.begin(), row.end()); }
} // namespace

bool ReadsBack(const Row &row)
{
    for (const QString &cell : row)
        if (cell.contains(QLatin1Char('\r')) || cell.contains(QLatin1Char('\n')))
            return false;
    QStringList fields;
    return ListFile::SplitLine(QStringLiteral("1,") + fieldsOf(row).join(QLatin1Char(',')), &fields)
           && RowOfLine(fields) == row;
}

int FirstCellNotReadBack(const Row &row)
{
    if (ReadsBack(row))
        return -1;
    // Each cell alone among plain ones: the first that does not come back is the one.
    for (int c = 0; c < kCols; ++c) {
        Row alone;
        alone.fill(QStringLiteral("0"));
        alone[size_t(c)] = row[size_t(c)];
        if (!ReadsBack(alone))
            return c;
    }
    return 0;
}

FileResult Write(const QString &path, const QVector<Row> &userRows, const QVector<Row> &preRows)
{
    QVector<QStringList> rows;
    QByteArray bytes;
    for (const Row &row : userRows)
        rows.append(fieldsOf(row));
    bytes += ListFile::JoinRows(rows);
    rows.clear();
    for (const Row &row : preRows)
        rows.append(fieldsOf(row));
    bytes += ListFile::JoinRows(rows);
    return WriteFileWhole(path, bytes);
}

} // namespace ConversionListFile
