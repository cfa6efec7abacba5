#pragma once
#include "model/clsInstrument.h"
#include "settingsfiles/FieldCodec.h"
#include <QString>
#include <QStringList>
#include <QVector>

// The setting-line codec: the one place that knows every setting command of the
// instrument, its fields, their encodings, the record members they carry, the Change_
// flags that mark them for sending and the support flag that says whether the
// instrument takes them.
//
// A line is "CC,M,f1,f2,...," : the two-letter code, the mode letter and every field
// followed by ",". The settings files hold write lines (M = W); the link sends the same
// write lines and gets the same fields back in a read answer ("XP,R,<fields of XP,W>").
//
// Users:
//  - StoreConfig walks fileOrder() and writes lineText() of each entry;
//  - LoadConfig gives each line to parseLine() with Door::User (raises the Change_ flags);
//  - the link's read table walks entries() (requestKey() gives the entry number of list
//    codes), its answer parser calls parseFields() with Door::Device and Blanks::Keep, and its
//    write sequence walks entries() with isChanged(), isSupported(), lineText() and
//    clearChanged().
namespace SettingLines {

// Blocks of a settings file, in file order.
enum class Block {
    UserList,    // XZ x32
    StationList, // XS x128
    Conversion,  // LO x5, LN, LB x30, LA x35
    PidLow,      // LS x17, LI x17 (PID range 1)
    PidHigh,     // LS x17, LJ x17 (PID range 0)
    Settings     // XV ... SG, 63 lines
};

// One line of a record: a setting code and, for list codes, the entry it carries.
struct Entry {
    QString code;   // upper case, two characters
    int index = -1; // list entry: XZ/XS 0-based (the line says index + 1), LO, LB, LA,
                    // LS, LI, LJ, G1 0-based as in the line; -1 for codes without entries
    Block block = Block::Settings;

    bool operator==(const Entry &o) const { return code == o.code && index == o.index; }
};

// All 362 lines of a complete settings file, in file order (the LS lines twice: once in
// each PID block).
const QVector<Entry> &fileOrder();

// Every setting line once, in file order (LS once, in the low-range block). This is the
// list the link reads and writes.
const QVector<Entry> &entries();

// True for the codes this codec knows (any case).
bool isKnownCode(const QString &code);

// False for lines that exist only in files and are never sent to an instrument (GJ: the
// link reads channel names and scales with it but never writes it).
bool linkWrites(const Entry &e);

// The entry-number field of a list code as it stands in the line ("01" for XZ entry 0,
// "0" for LO entry 0, "1D" for LB entry 29); empty for codes without entries. A read
// request for a list entry is "CC,R,<requestKey>,".
QString requestKey(const Entry &e);

// Whether any Change_ flag that this line carries is set. (Change_SubBoard is not part of
// any line: it marks the option-board commit, which the link handles.)
bool isChanged(const clsInstrument &inst, const Entry &e);
// Clears exactly the Change_ flags that this line carries.
void clearChanged(clsInstrument &inst, const Entry &e);
// A line a download could not read: every value it carries is marked unread in the record
// (markUnread), and the line counts as unread while any of them still is, that is until it is
// read again or the user has given every value it carries.
void markUnread(clsInstrument &inst, const Entry &e);
bool isUnread(const clsInstrument &inst, const Entry &e);
// The support flag of the line's command group (invalidWB, invalidFL_, invalidGN, invalidLP,
// invalidHE_, invalidFF, invalidLO_, invalidLB_, invalidLA_, invalidLI, invalidLJ, invalidG1,
// InvalidIF for IF/I1/I2); M::Count for a line no flag covers.
clsInstrument::M supportFlag(const Entry &e);
// False when the record's support flag for this line's command group says the instrument
// refuses it; true for every other line.
bool isSupported(const clsInstrument &inst, const Entry &e);

// Text of one line, or the reason it cannot be written.
struct LineText {
    bool ok = false;
    QString text;  // "CC,W,f1,f2,...," (no line end)
    QString error; // why the line cannot be written (a name holding "," or ";", a value
                   // out of range), naming the code and entry: "XS 04: ..."
    QString reason; // the same without the code and entry
};

// Builds the line of entry e from the record, with the given mode letter. Text fields hold
// printable ASCII only: a name holding any other character is refused, naming it.
LineText lineText(const clsInstrument &inst, const Entry &e, QChar mode = QLatin1Char('W'));
// Only the fields: "f1,f2,...," (what follows "CC,M,"). FieldCodec::Chars::Held writes a
// name as an instrument holds it, bytes above "~" included (the simulator's answers).
LineText fieldsText(const clsInstrument &inst, const Entry &e, FieldCodec::Chars chars = FieldCodec::Chars::Line);

// Which door of the record a parse goes through.
enum class Door {
    Device, // values from the instrument: no Change_ flag is raised (the link)
    User    // values from a file: each member set raises its Change_ flag (LoadConfig)
};

enum class ParseStatus {
    Ok,          // applied
    UnknownCode, // not a setting code of this codec (or an empty/comment-only line): nothing changed
    BadLine      // a field is missing, does not convert or is out of range: nothing changed
};

struct ParseResult {
    ParseStatus status = ParseStatus::UnknownCode;
    QString code;   // the line's code in upper case ("" for an empty or comment-only line)
    int index = -1; // the entry a list line carries (as Entry::index), -1 for other codes
    QString reason; // for BadLine: what is wrong, e.g. "field 3: \"G\" is not hexadecimal"
    bool shortForm = false; // Ok: the line had the short form of an older instrument
    bool ok() const { return status == ParseStatus::Ok; }
};

// Parses a whole line "CC,M,f1,...," (mode letter not looked at; code in any case) into
// inst. A ";" starts a comment: a line that is one is skipped (UnknownCode), but a setting
// line holding one is refused, never cut short (in the UG line ";" is a channel mask).
// A line whose only text field is its last (XZ, XS, G1, BN) and that has more fields than
// written holds a name with "," in it: the extra fields are joined back into the name.
// Only what the writer could have written is taken: the full field count or the short
// form an older instrument uses (WB, FL, GN, LP, HE, FF, LI, and the two-digit LO/LB
// factor), hex fields no wider than written, texts no longer than their width and free of
// control characters, at most 256 fields.
// Fields are converted and checked before anything is stored: a BadLine changes nothing.
// Values are scaled with the decimal places the record holds at that moment (GP before
// the scaled lines, IT before SA and FF, FL before SA), exactly as a file is read.
ParseResult parseLine(clsInstrument &inst, const QString &line, Door door = Door::Device);

// What a parse does with the blanks around a name (the fields written as text n).
enum class Blanks {
    Trim, // the settings files' rule: the blanks in front and the padding are dropped
    Keep  // an instrument's: the name keeps the blanks it came with in front, and its case; only
          // the padding to the field's width goes, which the writer puts back (the simulator
          // taking a write, the link reading an answer)
};

// The same with the line already split: code and the fields after "CC,M," (a trailing
// empty field after the last "," must not be included).
ParseResult parseFields(clsInstrument &inst, const QString &code, const QStringList &fields,
                        Door door = Door::Device, Blanks blanks = Blanks::Trim);

} // namespace SettingLines
