#pragma once
#include <QString>
#include <array>
#include <optional>

class clsInstrument;

// Entry rules and transfer of the other-settings grid (per-channel switches) and the
// ME grid (methane-elimination EV values).
namespace FsOther {

constexpr int kChannels = 7;
constexpr int kOxyChannel = 1;

// Other-settings columns.
enum Col : int { ColName = 0, ColAltRange = 1, ColZero = 2, ColZeroSuppress = 3, ColPidHigh = 4,
                 ColIrAutoRange = 5 };

// "Zero Suppress": one digit 0..3.
bool ZeroSuppressAcceptable(const QString &text);
// A PID channel's range box can be switched only while its name is a PID entry's name
// (FsPid::PidEntryOf: the padding on the right aside).
bool PidNameKnown(const clsInstrument &edit, const QString &name);

// An ME cell edit (row 1 EV VALUE, row 2 EV D/A): a number of at most five characters,
// rounded half to even to a whole number, in 30..255 (EV D/A "ME" column: 0..40).
// The normalised text, or nothing when refused.
std::optional<QString> MEValue(int row, int col, const QString &text);

// What OK reads of the other-settings grid. Check states 1 checked, 2 unchecked,
// 0 no box in that cell (nothing is written from it).
struct OtherSet {
    std::array<int, kChannels> altRange{};
    std::array<int, kChannels> zero{};
    std::array<QString, kChannels> zeroSuppress;
    std::array<int, kChannels> pidHigh{};
};

// ME values: rows 1..7 x columns 0..3 of the ME grid.
using MEGrid = std::array<std::array<QString, 4>, 8>;

// HH_, HE_, RP_, SI_ from their cells, each only when its number differs.
void ApplyME(clsInstrument &inst, const MEGrid &cells);

// Alternate ranges (with the range parameters they bring), zero follower, zero suppress
// and PID range, each only when it changed.
void ApplyOtherSet(clsInstrument &inst, const OtherSet &grid);

// Loads the range parameters of fixed channel ch (1..3) for its alternate range from
// the reference tables. A range or oxygen pattern outside the tables leaves the values
// that have no table entry as they are.
void GetOtherSetChannel(clsInstrument &inst, int ch);

} // namespace FsOther
