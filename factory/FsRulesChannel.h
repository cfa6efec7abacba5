#pragma once
#include <array>
#include <cstdint>
#include <optional>

class clsInstrument;

// The channel gas map: which of the seven gases (record channels 0..6) sits in which of
// the six channel positions. Bit c of UG_(g) puts gas g in position c + 1.
namespace FsChannel {

constexpr int kGases = 7;
constexpr int kPositions = 6;
constexpr int kPositionBits = (1 << kPositions) - 1;

using Ticks = std::array<std::array<bool, kPositions>, kGases>; // [gas][position - 1]

Ticks TicksOf(const clsInstrument &inst);

// A click on (gas, position): ticking takes the position from every other gas; the last
// tick of the whole map cannot be removed (nullopt: the click is refused).
std::optional<Ticks> Toggle(const Ticks &ticks, int gas, int position);

// The mask of one gas: the six positions from the ticks, bits above them as they were
// (the map shows six positions; what the instrument keeps beyond them is not ours to drop).
int16_t MaskOf(int16_t old, const std::array<bool, kPositions> &ticks);

// Writes UG_(g) and, with it, GasEnabled(g) for every gas whose mask changed; a gas in
// no position is switched off.
void ApplyChannelMap(clsInstrument &inst, const Ticks &ticks);

} // namespace FsChannel
