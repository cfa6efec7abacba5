#pragma once
#include "core/modMain.h"
#include <QDateTime>
#include <QString>
#include <QVector>
#include <array>

class clsInstrument;

// Module variables of the main window. Plain and resettable: ResetMainWindowGlobals()
// puts them back to their start-of-program values (tests).

// Live readings of channels 0..6; ReadingCode::NotSet for a channel that is switched off.
extern std::array<float, 7> gMomentValues;

// The record the calibration window shows when no instrument data is loaded; created on
// first use.
clsInstrument &gSampleInstrument();

// Gas grid column widths (twips) for a grid of W twips and n columns by the language code:
// label column 15 % ("EN") or 13 % ("JP"), the rest in equal shares. Empty: leave them.
QVector<int> GasGridColumnWidths(int W, int n, const QString &lang);

void ResetMainWindowGlobals();
