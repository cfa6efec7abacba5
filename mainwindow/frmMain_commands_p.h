#pragma once
// Helpers and texts of the main window's commands (frmMain_commands.cpp, _dumps.cpp,
// _files.cpp), kept apart so tests can reach the plain rules.
#include <QString>
#include <cstdint>

namespace Commands {

// Texts for outcomes the message table has no line for. "~c" is a line break.
inline constexpr const char *kUploadFailed = "VANTIK Upload Failed.~c";
inline constexpr const char *kClockFailed = "VANTIK Date/Time Set Failed.~c";
inline constexpr const char *kRestoreFailed = "VANTIK Restore Factory Settings Failed.~c";
inline constexpr const char *kRereadFailed =
    "VANTIK Settings could not be read back; the window still shows the earlier ones. Download again.";
inline constexpr const char *kHistoryFailed = "Settings history not written: %1";
inline constexpr const char *kSuffixRefused =
    "The suffix becomes part of a file name: it cannot hold \\ / : | < > * ? \" , ; or control characters.";
inline constexpr const char *kFactoryDialogMissing = "The Detail Settings window is not available in this version.";
inline constexpr const char *kCalibrationMissing = "The Calibration window is not available in this version.";
inline constexpr const char *kFlashFailed = "VANTIK Log Data Download Failed.~c";
inline constexpr const char *kFlashFailedLog = "--- FLASH Dump Download Failed. ---(~1)";
inline constexpr const char *kDumpFailed = "Dump List Download (~1) Failed.";
inline constexpr const char *kDumpFailedLog = "--- Dump List Download Failed. ---(~1[Time = ~2])";
inline constexpr const char *kOptionRefused = "Option board ~1 did not enter transfer mode.";

inline constexpr qint64 kSecondsPerDay = 86400;

// The present date and time in the general date format.
QString NowText();
// "hh:nn:ss" of an elapsed time.
QString ElapsedText(qint64 ms);
// The clock check: more than one day between the instrument and the PC.
bool ClockFarOff(qint64 offsetSeconds);
// DEFAULT: the option boards a status names ("OPT1 OPT3 " for A; the main board adds
// nothing). A status that is not a hexadecimal number of at most four digits comes back as it is.
QString FailedBoards(const QString &status);
// RomNumber as the 16-bit version SetCatTable takes, clamped.
int16_t CatTableVersion(int32_t romNumber);
// Message 5367 (titled 5368): another operation is running.
void RefuseBusy();
// Shows the registered form of that name modally and returns when it is closed.
// False when no form of that name can be made.
bool ShowFormModal(const QString &name);

} // namespace Commands
