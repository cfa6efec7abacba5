#pragma once
#include "core/modMain.h" // gCatName, gCatLongName, gCatRatio, gCatDigit
#include <QString>

class clsInstrument;

// Module variables of the instrument model.

// The program's instrument record, created on first use (so every access works before a
// download). Shown by the main window, filled and sent by the link, written and read by the
// settings files, copied by the factory-setting dialog.
clsInstrument &gInstrument();

// The catalytic gas lists gCatName, gCatLongName, gCatRatio, gCatDigit ("|"-separated,
// entries in the same order: short names, long names, ratio = ppm at 100 %LEL, reading
// step) are core module variables, because the program settings fill them too; the model
// sets them through SetCatTable (model/modGasCommon.h).

// Back to the state at program start: gInstrument destroyed (the next use creates a fresh
// record), the CAT lists empty. For tests.
void ResetModelGlobals();
