#pragma once
#include "factory/ListFiles.h"

// PID_High.csv and PID_Low.csv: one line per PID entry (17), each the row number and the
// twelve cell texts of the range's grid (Name, Long Name, FullScale, Point, Unit, Digit,
// 1st, 2nd, STEL, TWA, AutoCal, Factor). A long name may hold ",": a line of more than
// thirteen fields has the extra ones in its long name, and the values are its last ten.
namespace PidListFile {

constexpr int kRows = 17;
constexpr int kCells = 12; // grid columns 1..12

struct ReadResult {
    bool ok = true;
    QString error;
    QVector<QStringList> rows; // kCells texts each, in file order; at most kRows
    explicit operator bool() const { return ok; }
};

// "PID_High.csv" for range 0, "PID_Low.csv" for range 1.
QString DefaultName(int Index);

// The cells of one line's fields.
QStringList RowOfLine(const QStringList &fields);

// Reads the whole file; lines after the 17th are not used. Improper: no line at all, or a
// used line without its row number or with fewer than thirteen fields.
ReadResult Read(const QString &path);

// True when the row written by Write reads back into the same cells.
bool ReadsBack(const QStringList &cells);
// The first cell (0 = grid column 1) that keeps a row from reading back; -1 when it does.
int FirstCellNotReadBack(const QStringList &cells);

// Writes one line per row through the one writer.
FileResult Write(const QString &path, const QVector<QStringList> &rows);

} // namespace PidListFile
