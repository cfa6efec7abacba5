#include "factory/FsRulesChannel.h"

#include "model/clsInstrument.h"

namespace FsChannel {

Ticks TicksOf(const clsInstrument &inst)
{
    Ticks t{};
    for (int g = 0; g < kGases; ++g)
        for (int c = 0; c < kPositions; ++c)
            t[size_t(g)][size_t(c)] = (inst.UG_(g) & (1 << c)) != 0;
    return t;
}

std::optional<Ticks> Toggle(const Ticks &ticks, int gas, int position)
{
    if (gas < 0 || gas >= kGases || position < 1 || position > kPositions)
        return std::nullopt;
    Ticks t = ticks;
    const size_t c = size_t(position - 1);
    if (!t[size_t(gas)][c]) {
        for (auto &row : t)
            row[c] = false;
        t[size_t(gas)][c] = true;
        return t;
    }
    t[size_t(gas)][c] = false;
    for (const auto &row : t)
        for (bool on : row)
            if (on)
                return t;
    return std::nullopt;
}

int16_t MaskOf(int16_t old, const std::array<bool, kPositions> &ticks)
{
    int mask = old & ~kPositionBits;
    for (int c = 0; c < kPositions; ++c)
        if (ticks[size_t(c)])
            mask |= 1 << c;
    return int16_t(mask);
}

void ApplyChannelMap(clsInstrument &inst, const Ticks &ticks)
{
    for (int g = 0; g < kGases; ++g) {
        const int16_t mask = MaskOf(inst.UG_(g), ticks[size_t(g)]);
        if (inst.UG_(g) == mask)
            continue;
        inst.setUG_(g, mask);
        inst.setGasEnabled(g, (mask & kPositionBits) != 0 ? -1 : 0);
    }
}

} // namespace FsChannel
