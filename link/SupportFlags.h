#pragma once
#include "settingsfiles/SettingLines.h"

class clsInstrument;

// A refused read marks the command group unsupported. Which support flag covers a line is the
// setting-line codec's knowledge; this asks it instead of repeating it: a flag covers a line
// when raising it makes SettingLines::isSupported() say no. (Short answers of an older
// instrument are the codec's own business: it sets the flags while parsing.)

// Marks the line's group unsupported; false when no support flag covers the line.
bool MarkUnsupported(clsInstrument &inst, const SettingLines::Entry &e);
