#pragma once
#include "factory/UnreadValues.h"
#include <QString>
#include <array>
#include <optional>
#include <QVector>

class clsInstrument;

// Entry rules of the conversion tables (pre-defined and user-defined) and of the
// available-count box, decided before any cell or record member is written.
namespace FsConv {

// Grid columns.
enum Col : int { ColNo = 0, ColName = 1, ColLongName = 2, ColFactor = 3, ColFirst = 4, ColSecond = 5,
                 ColRatio = 6, ColVolt = 7 };
constexpr int kCols = 8;
constexpr int kPreRows = 30;  // data rows of the pre-defined grid (rows 1..30)
constexpr int kUserRows = 5;  // of the user-defined grid
constexpr int kUserLaBase = 30; // user row i uses LA_ entry 30 + i

constexpr float kLevelMax = 50000.0f;
constexpr int kRatioMin = 1000;
constexpr int kRatioLimit = 150001; // ratios stay below this

extern const QString kNoValue;     // "*****"
extern const QString kNoName;      // "---"
extern const QString kNoLongName;  // twenty hyphens
extern const QString kVoltME;      // "ME"
extern const QString kVoltNormal;  // "Normal"

// "Is numeric" and "number of" for cell texts: an optional sign, digits with at most one
// decimal point, an optional exponent, blanks around. Anything else is not a number.
bool ParseNumber(const QString &text, double *value = nullptr);

// What an edit or a check makes of a cell text: refused, or accepted as `text`.
struct Verdict {
    bool ok = false;
    QString text;
};

// A 1st or 2nd level against the row's Ratio text: below 0, above the ratio or above
// 50000 is refused; a ratio that is no number refuses every level. Accepted levels are
// rounded half to even to steps of 250 (ratio 25000 and up) or 100, and a level whose
// rounding lands above the ratio is refused too.
Verdict CheckLevel(double v, const QString &ratioText);

// The order of a row's two levels after an edit of column col (4 or 5) to newText: the
// 1st may not lie above the 2nd where the other cell holds a number.
bool OrderAllows(int col, const QString &newText, const QString &otherText);

// The edit of a pre-defined cell: only the levels are edited; an empty text or a word
// becomes "*****", a number goes through CheckLevel and OrderAllows. rowTexts are the
// row's cells (index = column).
Verdict ValidatePreEdit(int col, const QString &s, const std::array<QString, kCols> &rowTexts);
// The edit of a user-defined cell (every column 1..7).
Verdict ValidateUserEdit(int col, const QString &s, const std::array<QString, kCols> &rowTexts);

// Key filters of the user grid's Name (3 characters, capitals) and Long Name (20).
// Returns the key to let through or 0 to drop it (with a beep).
int FilterUserKey(int col, int key, const QString &editText);
// The after-edit check of the user grid's Name and Long Name cells.
bool UserTextAcceptable(int col, const QString &text);

// The whole-grid check of one cell: the normalised text and whether it is bad, by the
// editor's rule for that cell (an import or load is judged as an edit would be). `user`
// chooses the user grid's name rule (capitals only). rowTexts as above; levels are
// checked against the row's Ratio.
struct CellCheck {
    QString text;
    bool bad = false;
};
CellCheck CheckCell(bool user, int col, const std::array<QString, kCols> &rowTexts);
// The cells of a row, each checked against the row as the cells before it were
// normalised (the Ratio before the levels it bounds). With base (the row as the
// instrument gave it) only what differs from it is judged, and the numeric levels of a
// row whose Ratio differs: a value nobody changed keeps its text and never blocks OK.
std::array<CellCheck, kCols> CheckRow(bool user, std::array<QString, kCols> rowTexts,
                                      const std::array<QString, kCols> *base = nullptr);

// The most pre-defined conversions in use (the grid's data rows).
int CountMax();
// Count box. Key filter: digits while fewer than two characters, Backspace; 0 drops.
int FilterCountKey(int key, const QString &text);
// Validate: the plain whole number 0..30, or nothing (the box keeps the focus).
std::optional<int> CountValue(const QString &text);
// The rows the checks look at: the count limited to 0..30 (0 for a text that is no
// number), so no reader goes past the grid.
int CountRows(const QString &text);

// Whether the instrument takes column col of a row (user grid or pre-defined): the
// support flags of the LB, LO and LA groups. The editor and the import leave a column
// it refuses alone.
bool ColumnTaken(const clsInstrument &rec, bool user, int col);

// Cell texts of the record's values.
QString FactorText(int fc);          // hundredths -> "0.00"
QString LevelText(float level);      // FormatValue(level, 0)
QString RatioText(float ratio);
QString VoltText(float volt);

using RowTexts = std::array<QString, kCols>;
// The cells of entry i of the record as the grid shows them (column 0 empty).
RowTexts RecordRow(const clsInstrument &rec, bool user, int i);

// The record value cell (row i + 1, col) of a grid shows (columns 1..7), and the setting
// line that carries it: LO or LB entry i for the names and factor, LA for the levels.
RecordValue ValueOf(bool user, int i, int col);
SettingLines::Entry LineOf(bool user, int i, int col);

// Transfer of both grids and the count into the record, in the order OK applies them:
// names and factors (pre-defined, then user), alarm values (pre-defined, then user), the
// count. A member is written only when its cell's text is no longer what the record
// shows, so a value the cell shows rounded is not rewritten. pre holds the 30
// pre-defined rows, user the 5 user rows (cells by column, column 0 unused).
void ApplyConvNames(clsInstrument &inst, const QVector<RowTexts> &rows, bool user);
void ApplyConvAlarms(clsInstrument &inst, const QVector<RowTexts> &rows, bool user);
void ApplyConvCount(clsInstrument &inst, const QString &countText);
void ApplyConversion(clsInstrument &inst, const QVector<RowTexts> &pre, const QVector<RowTexts> &user,
                     const QString &countText);

} // namespace FsConv
