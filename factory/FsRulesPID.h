#pragma once
#include "factory/UnreadValues.h"
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class clsInstrument;

// Rules of the two PID sensor grids (range 0 High, range 1 Low), kept apart from the
// widgets: the full-scale table of each range, the cell checks, the whole-grid check of
// an import and the apply step of OK. Every rule decides on texts before anything is
// stored.
namespace FsPid {

constexpr int kRows = 18; // header row, then entries 0..16
constexpr int kCols = 13; // row number, then the twelve columns below
constexpr int kEntries = 17;
enum Col : int {
    ColNo = 0, ColName = 1, ColLongName = 2, ColFullScale = 3, ColPoint = 4, ColUnit = 5, ColDigit = 6,
    Col1st = 7, Col2nd = 8, ColStel = 9, ColTwa = 10, ColAutoCal = 11, ColFactor = 12,
};
constexpr int kLastRow = 17;        // entry 16: name, long name and full scale editable
constexpr int kNameLength = 3;
constexpr int kLongNameLength = 20;

// Cell texts of a grid, row by row (kRows x kCols).
using Texts = QVector<QStringList>;

// One row of a range's full-scale table.
struct RangeRow {
    int fullScale;
    const char *point; // "1/10"
    const char *digit; // "0.2"
    float lower;       // factor limits, as the grid shows the factor
    float upper;
};

// The row of full scale FullScale (rounded half to even) in range Index (1 Low, any other
// High); nullptr when the range has no such full scale.
const RangeRow *RangeRowOf(int Index, double FullScale);
// Factor limits of FullScale in range Index. False, and Lower/Upper untouched, when the
// full scale has no row.
bool PIDRangeLimits(int Index, float FullScale, float &Lower, float &Upper);
// "500.0|1000|...|50000" (High) or "10.00|...|500.0" (Low): the editor's choices.
QString FullScaleList(int Index);
// Whether the Point (Col 4) or Digit (Col 6) text is the one the table gives for the full
// scale text; false for any other column and for a full scale without a row.
bool CheckPIDRange(int Index, const QString &fullScaleText, int Col, const QString &cellText);

// The key filter of a name (three characters, capitals) or long name (twenty characters,
// small letters and symbols too): the key to let through, or 0 to drop it.
int FilterTextKey(bool name, int key, int textLength);

// Decimals of a Point text: "1/1" 0, "1/10" 1, "1/100" 2, "1/1000" 3; -1 for anything else.
int PointDecimals(const QString &pointText);
// The Point text of n decimals ("1/" and 10 to the n).
QString PointText(int decimals);

// Texts of the row of entry e of range j as the grid shows them (kCols texts).
QStringList RowTexts(const clsInstrument &inst, int e, int j);

// The record value cell (entry e, col) of range j shows (columns 1..12), and the setting
// line that carries it: LS for the names, LJ (High) or LI (Low) for the rest.
RecordValue ValueOf(int j, int e, int col);
SettingLines::Entry LineOf(int j, int e, int col);

// Locked cells: entries 0..15 in columns 1..6, entry 16 in columns 4..6.
bool IsLocked(int row, int col);

// What an edit of one cell comes to.
struct CellEdit {
    enum class Paint { None, Red, White };
    bool accept = false;
    QString text;                      // the text to store (the edit text, rewritten)
    Paint paint = Paint::None;
    std::optional<QString> factorText; // a new text for the row's factor cell
};
// Decides on text typed into cell (row, col) of grid Index; rowTexts are the row's
// current cell texts. A full scale is accepted only when the range has a row for it, and
// only then is the factor reset to its lower limit.
CellEdit ValidateCell(int Index, int row, int col, const QString &text, const QStringList &rowTexts);

// The key filter of the last row's name (Col 1, three characters, capitals) and long
// name (Col 2, twenty characters): the key to let through, or 0 to drop it (with a beep).
int FilterKey(int row, int col, int key, int textLength);

// After an accepted full scale: the Point and Digit texts of its row, if it has one.
struct PointDigit {
    QString point;
    QString digit;
};
std::optional<PointDigit> PointDigitFor(int Index, const QString &fullScaleText);

// The whole-grid check of an imported grid: normalises the texts of rows 1..17 in place
// and returns which cells are bad (kRows x kCols, row 0 and column 0 never). A cell that
// does not convert is bad and the check goes on with the next cell. With base (the
// grid as the instrument's values fill it) only what differs is judged, and the numbers
// of a row whose full scale, Point or Digit differs: a value nobody changed keeps its
// text and never blocks OK.
QVector<QVector<bool>> CheckPIDCells(int Index, Texts &texts, const Texts *base = nullptr);

// Whether the instrument takes column col of the PID grids: nothing without the LJ
// group, only the names without the LI group. The editor and the import keep to it.
bool ColumnTaken(const clsInstrument &rec, int col);

// The PID tables of OK: both grids into inst, entry by entry, range 0 then 1, writing a
// member only when its cell no longer shows the member's value. Cells that do not
// convert are left alone (the grid checks refuse OK before that).
void ApplyPidTables(clsInstrument &inst, const Texts &high, const Texts &low);

// Whether the PID entry of channel ch is copied into it on OK: a changed range choice, or
// a PID channel (gas type 5) with a changed name.
bool PidChannelDue(const clsInstrument &inst, int ch);
// The first PID entry of that name, -1 when none. The blanks that pad a name on the right
// are the writer's (a channel's name comes back from the instrument padded to three, "PD "):
// they are not compared; blanks in front are part of the name.
int PidEntryOf(const clsInstrument &inst, const QString &name);
// Copies the PID entry named as channel ch into the channel (name, step, unit, full scale,
// decimals, alarm points, span value) from the range the channel uses. Nothing when the
// instrument refuses the factor group or no entry has the channel's name; false then
// (OK is refused for the latter rather than giving the channel entry 0's gas).
bool GetPIDChannel(clsInstrument &inst, int ch);

} // namespace FsPid
