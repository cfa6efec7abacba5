#pragma once
#include <QDateTime>
#include <QString>
#include <cstdint>

// Folder of the program: its settings file, serial log, animation and dumps live here.
// Tests point it at a scratch folder.
QString AppPath();
void SetAppPath(const QString &path);
// AppPath() + "/" + name.
QString AppFile(const QString &name);

// The program font as a plain description: this library has no GUI, the platform layer
// turns it into a real font (CopyFont).
struct FontSpec {
    QString name;        // empty: the platform's default family
    double size = 9;     // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int weight = 400;    // 100..900, 400 normal, 700 bold
    int charset = 0;     // 0 = Western; kept for the settings file
    bool operator==(const FontSpec &) const = default;
};

// Shared state of the application core. Plain globals, reset as a whole by ResetCoreGlobals().
extern FontSpec gFont;
extern int16_t gRetry;            // link retry limit
extern int16_t gTimeout;          // link answer time-out, seconds
extern float gDelay;              // minimum gap in seconds before a send after a receive
extern int32_t gExecuteCount;     // run counter from the settings file, 0 when none was read
extern bool gSerialLogFile;       // keep numbered copies of earlier serial logs
extern QString gFactorySuffix;    // suffix of the settings-history file name, may be empty
extern bool gDebugMode;           // service mode ("-DEBUG")
extern int16_t gIrCommNum;        // COM port number of the USB infrared adapter, 0 = none
extern QString gCommSettings;     // serial line settings, e.g. "921600,n,8,1"
extern bool gCsaLimitEnabled;     // extra alarm-point limits of the gas grid
extern bool gAllowLeadBlank;      // CheckTextChars accepts a leading blank while true
// Gas lists, entries separated by "|", same order within a family. The one place the
// program still splits names at "|": an entry of these lists can hold no "|" (it would
// become two entries and shift every list of its family). They come only from
// VANTIKConfig.ini; names from the instrument or typed in the dialog never join these
// texts (the dialog offers them as list entries of their own), so those may hold "|".
extern QString gTcName, gTcLongName, gTcFullScale, gTcDigit;     // thermal conductivity
extern QString gCatName, gCatLongName, gCatRatio, gCatDigit;     // catalytic
extern QString gPassword;         // login password
extern int32_t gTransferMode;     // 0 idle, 1 main-window dump, 3 zero cal, 4 span cal
extern bool gFactorySave;         // copy of the factory-save box, taken at each upload
extern bool gCalFormOpen;         // the calibration window has been loaded this run

// "General Date": the locale's short date and long time; the date alone at midnight.
QString FormatGeneralDate(const QDateTime &when);

// Start-up password when nothing else sets one.
inline constexpr const char *kDefaultPassword = "vantik";

// Puts every module variable of the core (those above, the scramble switch and the main
// window's saved size) back to its start-of-program value. AppPath is left alone.
void ResetCoreGlobals();
