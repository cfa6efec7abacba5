#pragma once
#include <QString>
#include <cstdint>

// Program settings file in the program folder: one "Key<TAB>value" per line, ";" starts a
// comment, keys compared in capitals, Latin-1 with CR LF.
inline constexpr const char *kSettingsFileName = "VANTIKConfig.ini";

// The main window's saved state and size. The settings file fills them; the main window
// applies them after ReadSettings and stores its present ones here before WriteSettings.
// State: 0 normal, 1 minimized, 2 maximized. Sizes in twips, 0 = not set.
extern int16_t gMainWindowState;
extern int32_t gMainWidth;
extern int32_t gMainHeight;

// Reads the settings file when it exists; a missing file changes nothing, a line that is
// malformed or holds an unusable value is skipped. Returns the number of lines skipped
// that way (0 for a clean or missing file) so a caller may mention them. A file that cannot
// be read whole, is no regular file or is larger than 1 MiB is not read and counts as 1.
int ReadSettings();

// Writes the settings file anew from the module variables (the run counter as
// gExecuteCount + 1). The old file is replaced only once the new one is complete.
// False (with the reason in *error) when it could not be written; the old file is kept.
bool WriteSettings(QString *error = nullptr);
