#pragma once
#include "core/modMain.h"
#include <QDateTime>
#include <QString>
#include <QVector>
#include <array>

class clsInstrument;

// Module variables of the main window. Plain and resettable: ResetMainWindowGlobals()
// puts them back to their start-of-program values (tests).

// A channel's settings for one alternative-range selection, as the factory-setting
// dialog copies them into the record.
struct RangeSpec {
    float FullScale = 0;
    float Step = 0;
    float DecimalPlaces = 0;
    float Warning = 0;
    float Alarm = 0;
    float Stel = 0;
    float Twa = 0;
    float AutoCalib = 0;
};

// [range 0..1][channel 0..3]; channel 0 stays all zero.
extern std::array<std::array<RangeSpec, 4>, 2> gRangeSpecs;
// Oxygen points [range 0..1][alarm pattern 0..2].
extern std::array<std::array<float, 3>, 2> gO2Warning;
extern std::array<std::array<float, 3>, 2> gO2Alarm;

// Live readings of channels 0..6; ReadingCode::NotSet for a channel that is switched off.
extern std::array<float, 7> gMomentValues;

// The record the calibration window shows when no instrument data is loaded; created on
// first use.
clsInstrument &gSampleInstrument();

// Fills the reference tables (gRangeSpecs, gO2Warning, gO2Alarm) with their fixed values.
void FillReferenceTables();

// Gas grid column widths (twips) for a grid of W twips and n columns by the language code:
// label column 15 % ("EN") or 13 % ("JP"), the rest in equal shares. Empty: leave them.
QVector<int> GasGridColumnWidths(int W, int n, const QString &lang);

void ResetMainWindowGlobals();
