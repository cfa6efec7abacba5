#pragma once
#include <array>

// Module variables of the calibration windows (gTransferMode and gCalFormOpen live in the
// core, gMomentValues in the main window).

// Channels ticked for the span run under way: written by the Span command, read by the run.
// Index 7 is never used.
extern std::array<bool, 8> gCalSelect;

// Back to the start-of-program state (tests).
void ResetCalibrationGlobals();
