#pragma once
#include "settingsfiles/SettingLines.h"

namespace SettingLines {

// As parseLine, but applied straight to inst: a BadLine may leave part of the line
// applied. For readers that fill a record of their own and drop it on any bad line
// (LoadConfig), which saves a copy of the record per line.
ParseResult parseLineInPlace(clsInstrument &inst, const QString &line, Door door);

} // namespace SettingLines
