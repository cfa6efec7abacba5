#include "model/ModelGlobals.h"

#include "model/clsInstrument.h"

#include <memory>

namespace {
std::unique_ptr<clsInstrument> &instrumentSlot()
{
    static std::unique_ptr<clsInstrument> slot;
    return slot;
}
} // namespace

clsInstrument &gInstrument()
{
    auto &slot = instrumentSlot();
    if (!slot)
        slot = std::make_unique<clsInstrument>();
    return *slot;
}

void ResetModelGlobals()
{
    instrumentSlot().reset();
    gCatName.clear();
    gCatLongName.clear();
    gCatRatio.clear();
    gCatDigit.clear();
}
