#include "mainwindow/modMainWindow.h"
#include "model/clsInstrument.h"
#include <memory>

std::array<float, 7> gMomentValues{};

namespace {
std::unique_ptr<clsInstrument> &sampleSlot()
{
    static std::unique_ptr<clsInstrument> p;
    return p;
}
} // namespace

clsInstrument &gSampleInstrument()
{
    auto &p = sampleSlot();
    if (!p)
        p = std::make_unique<clsInstrument>();
    return *p;
}

void ResetMainWindowGlobals()
{
    gMomentValues = {};
    sampleSlot().reset();
}
