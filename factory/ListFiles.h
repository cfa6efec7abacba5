#pragma once
#include "core/FileIO.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// The list files of the factory-setting dialog: plain Latin-1 text, one line per grid
// row, CR LF line ends, no header, no quoting. A line is the row number, then the cell
// texts, joined with ","; readers accept "," or TAB between fields and take rows by
// their order in the file, not by the number.
//
// Every reader here reads and checks the whole file before anything changes: it returns
// either every row it found or an error, never a part. Writers go through the one
// file writer (WriteFileWhole), so a failed export leaves the old file whole.
namespace ListFile {

// Larger than any list file of the dialog written by hand could sensibly be.
constexpr qint64 kMaxBytes = 1 << 20;

// One line as read: its text (without line end) and its fields.
struct Line {
    QString text;
    QStringList fields;
};

struct ReadResult {
    bool ok = true;
    QString error;
    QVector<Line> lines; // empty lines at the end of the file are dropped
    explicit operator bool() const { return ok; }
};

// Splits a line at every "," and TAB with the tokenizer's rules: empty fields between
// delimiters count, an empty last field after a trailing delimiter does not. False when
// the line holds more fields than the tokenizer takes.
bool SplitLine(const QString &line, QStringList *fields);

// True when the line starts with a row number followed by a delimiter: what every
// writer here puts first. A line without it (a hand-made file of names only, an empty
// line between rows) is not a list line.
bool HasRowNumber(const Line &line);

// Reads a list file whole (CR LF, LF or CR line ends) and splits every line. Refuses a
// file that is not a readable regular file, is larger than kMaxBytes, was cut short (its
// last line has no line end) or holds a line with too many fields.
ReadResult ReadLines(const QString &path);

// ReadLines for the files whose every line carries its row number: the first maxRows
// lines are used (the rest are not looked at), each must start with its number and hold
// at least minFields fields. A file without any line is improper.
ReadResult ReadNumberedLines(const QString &path, int maxRows, int minFields = 1);

// "<number>,<field>,<field>..." for each row (numbers from 1), CR LF after each line,
// as Latin-1 bytes.
QByteArray JoinRows(const QVector<QStringList> &rows);

// Writes rows as JoinRows gives them through the one writer.
FileResult WriteRows(const QString &path, const QVector<QStringList> &rows);

} // namespace ListFile

// Station.csv and User.csv: "<number>,<name>".
namespace NameListFile {

struct ReadResult {
    bool ok = true;
    QString error;
    QStringList names; // at most the count asked for, in file order
    explicit operator bool() const { return ok; }
};

// The name of one line: everything after the first delimiter, TABs turned into ",".
QString NameOfLine(const QStringList &fields);

// Reads up to maxRows names; lines after that are not used. Every used line must carry
// its row number and a delimiter; a file without any line is improper too.
ReadResult Read(const QString &path, int maxRows);

// True when the name written by Write reads back as itself (no line end, no TAB, no
// trailing ",", not too many fields).
bool ReadsBack(const QString &name);

// Writes one line per name.
FileResult Write(const QString &path, const QStringList &names);

} // namespace NameListFile

// Conversion.csv: the 5 user-defined rows, then the 30 pre-defined rows; each line the
// row's number within its grid and the texts of grid columns 1 to 7 (Name, Long Name,
// Factor, 1st, 2nd, Ratio, Volt). A long name may hold ",": a line of more than eight
// fields has the extra ones in its long name.
namespace ConversionListFile {

constexpr int kUserRows = 5;
constexpr int kPreRows = 30;
constexpr int kRows = kUserRows + kPreRows;
constexpr int kCols = 7; // grid columns 1..7

using Row = std::array<QString, kCols>; // index 0 is grid column 1

struct ReadResult {
    bool ok = true;
    QString error;
    QVector<Row> rows; // user rows first, then pre-defined rows; at most kRows
    explicit operator bool() const { return ok; }
};

// The cells of one line (missing fields at the end give empty cells).
Row RowOfLine(const QStringList &fields);

// Reads the whole file. Improper: no line at all, more than 35 lines, a line without
// its row number, or a row whose 1st or 2nd level is a number while its Ratio is not
// (the level cannot be checked against it).
ReadResult Read(const QString &path);

// True when the row written by Write reads back into the same cells.
bool ReadsBack(const Row &row);
// The first cell (0 = grid column 1) that keeps a row from reading back; -1 when it does.
int FirstCellNotReadBack(const Row &row);

// Writes the user rows, then the pre-defined rows.
FileResult Write(const QString &path, const QVector<Row> &userRows, const QVector<Row> &preRows);

} // namespace ConversionListFile
