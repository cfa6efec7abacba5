#include "mainwindow/modMainWindow.h"
#include "model/clsInstrument.h"
#include <memory>
#include "model/modGasCommon.h"

std::array<std::array<RangeSpec, 4>, 2> gRangeSpecs{};
std::array<std::array<float, 3>, 2> gO2Warning{};
std::array<std::array<float, 3>, 2> gO2Alarm{};
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

void FillReferenceTables()
{
    // Oxygen points by range (row) and alarm pattern (column).
    gO2Warning = {{{19.5f, 19.5f, 23.5f}, {19.0f, 19.0f, 23.0f}}};
    gO2Alarm = {{{23.5f, 18.5f, 25.0f}, {23.0f, 18.0f, 25.0f}}};

    constexpr float NU = ReadingCode::NoValue; // a point the instrument does not use
    gRangeSpecs[0][1] = {40.0f, 0.1f, 1, 19.5f, 23.5f, NU, NU, 12.0f};
    gRangeSpecs[1][1] = {100.0f, 1.0f, 0, 19.0f, 23.0f, NU, NU, 12.0f};
    gRangeSpecs[0][2] = {100.0f, 0.1f, 1, 5.0f, 30.0f, 5.0f, 1.0f, 25.0f};
    gRangeSpecs[1][2] = {1000.0f, 5.0f, 0, NU, NU, NU, NU, 25.0f};
    gRangeSpecs[0][3] = {500.0f, 1.0f, 0, 25.0f, 50.0f, 200.0f, 25.0f, 50.0f};
    gRangeSpecs[1][3] = {1000.0f, 2.0f, 0, 24.0f, 50.0f, 200.0f, 24.0f, 50.0f};
}

void ResetMainWindowGlobals()
{
    gRangeSpecs = {};
    gO2Warning = {};
    gO2Alarm = {};
    gMomentValues = {};
    sampleSlot().reset();
}
