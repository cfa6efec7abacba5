#include "link/SupportFlags.h"
#include "model/clsInstrument.h"

namespace {
using M = clsInstrument::M;
const M kSupportFlags[] = {M::invalidWB, M::invalidFL_, M::invalidGN, M::invalidLP, M::invalidHE_,
                           M::invalidFF, M::invalidLO_, M::invalidLB_, M::invalidLA_, M::invalidLI,
                           M::invalidG1, M::invalidLJ, M::InvalidIF};
} // namespace

bool MarkUnsupported(clsInstrument &inst, const SettingLines::Entry &e)
{
    if (!SettingLines::isSupported(inst, e))
        return true;
    clsInstrument::DeviceDoor door(inst);
    for (M m : kSupportFlags) {
        if (inst.number(m) != 0)
            continue;
        inst.setNumber(m, -1);
        if (!SettingLines::isSupported(inst, e))
            return true;
        inst.setNumber(m, 0);
    }
    return false;
}
