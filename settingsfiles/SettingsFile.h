#pragma once
#include <QString>

class clsInstrument;

// Instrument settings files: one write line per setting ("CC,W,f1,...,"), CR LF, Latin-1,
// no header. Config Data files (".seq") are plain and hold every block; Maintenance Data
// files (".vkx") hold every line scrambled and only the blocks chosen in the
// factory-setting dialog.

// The dialog's distribution boxes. pidHigh is chkPID(0) (range 0), pidLow chkPID(1).
struct Distribution {
    bool user = false;
    bool station = false;
    bool conversion = false;
    bool pidHigh = false;
    bool pidLow = false;
    bool all = false; // every block, the settings included

    static Distribution everything()
    {
        Distribution d;
        d.all = true;
        return d;
    }
};

struct SettingsFileResult {
    bool ok = true;
    QString error;   // what went wrong, for the user
    int line = 0;    // LoadConfig: 1-based number of the first bad line, 0 when none
    QString lineText; // and its text (unscrambled when it could be)
    explicit operator bool() const { return ok; }
};

// Writes Inst to FileName. With Scramble False every block is written whatever blocks
// says; with Scramble True each line is scrambled and only the chosen blocks are written
// (no box ticked: an empty file). Every line is built before the file is touched; the
// file is written to a temporary file and renamed over FileName when complete, so an
// error leaves an existing file as it was. Sets gScramble once the file is open.
// Refuses a record whose texts would break a line (a name holding "," or ";").
SettingsFileResult StoreConfig(const clsInstrument &Inst, const QString &FileName, bool Scramble,
                               const Distribution &blocks = Distribution());

// Reads FileName into Inst: the record is cleared (ClearDatas, derived catalytic
// channels) and every recognised line is applied, raising the Change_ flags of the members
// it sets. The file is read into a copy first: a bad line (a field that does not
// convert, a missing field, an entry number outside its table) or a file without any
// setting line (a foreign file, a Maintenance Data file read as plain) leaves Inst
// unchanged and reports the first bad line. Empty and comment lines are skipped.
SettingsFileResult LoadConfig(clsInstrument &Inst, const QString &FileName, bool Scramble);
