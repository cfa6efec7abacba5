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
// (no box ticked: an empty file). Every line is built before the file is touched, then
// written through WriteFileWhole: an error leaves an existing file as it was and carries
// the system's cause. The program's gScramble is left alone.
// Refuses a record that would not read back: a text that would break a line (",", ";",
// a control character), a value outside its field, a gas type or range code above 9; and
// one holding a line of the chosen blocks that a download could not read, naming it.
SettingsFileResult StoreConfig(const clsInstrument &Inst, const QString &FileName, bool Scramble,
                               const Distribution &blocks = Distribution());

// Reads FileName into Inst: the record is cleared (ClearDatas, derived catalytic
// channels) and every recognised line is applied, raising the Change_ flags of the members
// it sets. Only a regular file of at most 4 MiB is read. The file is read into a copy
// first, and Inst changes only when the whole file is good; refused, with the first bad
// line's number and text where there is one:
//  - a line its writer could not have made (a field that does not convert, a field count
//    other than the whole line or the short form an older instrument uses, a hex field
//    wider than written, a text longer than its width or holding ";" or control
//    characters, an entry number outside its table, no "," at its end, a last line
//    without line end in its short form);
//  - a file that lacks lines of a block it holds (a Config Data file holds every block, a
//    Maintenance Data file whole blocks of those it chose), naming what is missing;
//  - a file without any setting line (a foreign file, a Maintenance Data file read as plain);
//  - a file beginning with a UTF-8 byte-order mark, saying so.
// A name split at its "," by another writer is joined back (see SettingLines::parseLine).
// Empty, comment and unknown-code lines are skipped. The command-group support flags
// describe the instrument: Inst keeps its own, and a short-form line marks its group
// refused as well.
SettingsFileResult LoadConfig(clsInstrument &Inst, const QString &FileName, bool Scramble);
