#pragma once
#include "core/CharChecks.h"
#include "model/EditText.h"
#include <QString>
#include <cstdint>

class clsInstrument;

// Rules of the main window's gas grid and of its two free-text fields, kept apart
// from the widgets: every check an edit must pass is decided here before anything
// is stored, so a refused entry leaves the record exactly as it was.
namespace GasGrid {

// Two header rows, then one row per channel: channel ch sits in row ch + 2.
constexpr int kHeaderRows = 2;
constexpr int kCols = 6;
enum Col : int { ColGas = 0, ColWarning = 1, ColAlarm = 2, ColStel = 3, ColTwa = 4, ColAutoCal = 5 };

// Grid colours (RGB numbers as the grid takes them).
constexpr int kRed = 255;
constexpr int kNormal = 0;              // the grid's own background
constexpr int kDerivedLabel = 0x00FF00; // green label of the derived channels 7..9

// Rows that carry a second member besides the channel value (columns 1 and 2).
constexpr int kCatPpmRow = 9;  // channel 7: CATppm1st / CATppm2nd
constexpr int kCatVolRow = 10; // channel 8: CATvol1st / CATvol2nd
constexpr int kInertRow = 11;  // channel 9: Inert1st / Inert2nd
// The catalytic ppm points' ceiling is the range of CATppm1st (clsInstrument::info).
// Limits that apply while the CSA limit is switched on.
constexpr float kCsaChannel0Max = 60.0f;
constexpr double kCsaCatShare = 0.6;

// 10 channel rows when the instrument knows the IF group, else 9 (no channel 9 row).
int ChannelCount(const clsInstrument &inst);
inline int RowOfChannel(int ch) { return ch + kHeaderRows; }
inline int ChannelOfRow(int row) { return row - kHeaderRows; }

// False for the cells that mean nothing on that channel (shown in the header colour,
// never edited): STEL and TWA of channels 0 and 1, STEL, TWA and Auto Cal. of 7..9.
bool CellApplies(int ch, int col);
// A channel without gas: its label reads "---(---)".
bool NoGas(const clsInstrument &inst, int ch);

// Warning and alarm point in the accepted order. Unset or unused points pass; the
// oxygen channel (named exactly "OXY", not channel 9) with AlarmO2 = 1 wants
// warning >= alarm, every other channel warning <= alarm.
bool CheckAlarmLevel(const clsInstrument &inst, int ch);

// Texts of the cells of a channel row.
QString LabelText(const clsInstrument &inst, int ch);
QString CellText(const clsInstrument &inst, int ch, int col);

enum class Refusal {
    None,
    NotEditable, // header row, label column or a cell that does not apply
    NotNumeric,
    OutOfRange,  // below 0 or above the channel's full scale
    WrongSide,   // auto-calibration value on the wrong side of the warning point
    BadStep,     // no usable step, or more steps than a 16-bit count holds
    CsaLimit,    // one of the limits of the CSA switch
    CatPpmLimit, // a catalytic ppm point above 50000
};

// What an edit of one cell comes to.
struct Entry {
    enum class Action { Refuse, KeepOld, Store };
    Action action = Action::Refuse;
    Refusal why = Refusal::None;
    float value = 0;      // the channel member's new value
    bool hasExtra = false; // rows 9..11, columns 1 and 2: the second member too
    float extraValue = 0;
};

// Decides on the text typed into cell (row, col) of inst's grid. Nothing is stored.
Entry CheckEntry(const clsInstrument &inst, int row, int col, const QString &text, bool csaLimit);
// Stores an accepted entry through the record's user door (each setter raises its
// Change_ flag). False when there was nothing to store or the record refused it.
bool StoreEntry(clsInstrument &inst, int row, int col, const Entry &entry);

} // namespace GasGrid
