#include "factory/ListFilesPid.h"

namespace PidListFile {

namespace {
constexpr int kFields = kCells + 1; // the row number first
constexpr int kValues = 10;         // FullScale .. Factor
} // namespace

QString DefaultName(int Index)
{
    return Index == 0 ? QStringLiteral("PID_High.csv") : QStringLiteral("PID_Low.csv");
}

QStringList RowOfLine(const QStringList &fields)
{
    auto field = [&](int i) { return i < fields.size() ? fields.at(i) : QString(); };
    QStringList cells{field(1), field(2)};
    int first = 3;
    if (fields.size() > kFields) {
        // The long name held commas: every field before the last ten values is part of it.
        first = int(fields.size()) - kValues;
        cells[1] = fields.mid(2, first - 2).join(QLatin1Char(','));
    }
    for (int i = 0; i < kValues; ++i)
        cells << field(first + i);
    return cells;
}

ReadResult Read(const QString &path)
{
    ReadResult out;
    const ListFile::ReadResult file = ListFile::ReadNumberedLines(path, kRows, kFields);
    if (!file) {
        out.ok = false;
        out.error = file.error;
        return out;
    }
    for (const ListFile::Line &line : file.lines)
        out.rows.append(RowOfLine(line.fields));
    return out;
}

bool ReadsBack(const QStringList &cells)
{
    if (cells.size() != kCells)
        return false;
    for (const QString &c : cells)
        if (c.contains(QLatin1Char('\r')) || c.contains(QLatin1Char('\n')))
            return false;
    const QByteArray bytes = ListFile::JoinRows({cells});
    QStringList fields;
    if (!ListFile::SplitLine(QString::fromLatin1(bytes).chopped(2), &fields) || fields.size() < kFields)
        return false;
    return RowOfLine(fields) == cells;
}

int FirstCellNotReadBack(const QStringList &cells)
{
    if (ReadsBack(cells))
        return -1;
    for (int c = 0; c < kCells && c < cells.size(); ++c) {
        QStringList alone(kCells, QStringLiteral("0"));
        alone[c] = cells.at(c);
        if (!ReadsBack(alone))
            return c;
    }
    return 0;
}

FileResult Write(const QString &path, const QVector<QStringList> &rows)
{
    return ListFile::WriteRows(path, rows);
}

} // namespace PidListFile
