#pragma once
// The table behind the setting-line codec: one entry per setting code with its fields,
// their encodings, the record members they carry and the support flag that gates them.
// Internal to settingsfiles/; the public face is SettingLines.h.
#include "model/clsInstrument.h"

#include <QStringList>
#include <QVector>
#include <optional>
#include <span>

namespace SettingLines::detail {

using M = clsInstrument::M;

// How a field is written and read. Where the two sides differ on purpose (numbers
// written in decimal and read as hex) the name says so.
enum class Enc : uint8_t {
    Dec,         // decimal / decimal
    Hex2,        // two hex digits / hex
    Hex4,        // wide word of the rounded value / wide
    Hex4Raw,     // four hex digits, 16-bit two's complement / hex
    HexPlain,    // hex without leading zeros / hex
    Value,       // instrument word with decimals / word
    Small,       // two-digit word with decimals / word
    Real,        // general number / number
    LaLevel,     // instrument word, no decimals / word, also the words of older files
    Factor,      // wide word / four digits (supported) or two (older instrument)
    Text,        // text n / blanks trimmed
    TextUpper,   // text n / blanks trimmed, upper case
    TextKeep,    // text n / as it stands
    TextRaw,     // as it stands / as it stands
    Flag,        // "1" or "0" / -1 for numeric 1, else 0
    DigitChar,   // character 48 + v / code - 48
    Unit,        // unit code in decimal / decimal
    UnitHexRead, // unit code in decimal / hex
    Interval,    // interval code in decimal / decimal, to seconds
    TypeOrAt,    // "@" for an empty slot (SensorType::EmptySlot), else decimal / "@" or hex
    ZeroOrAt,    // decimal / "@" gives 0, else decimal
    AtOnly,      // always "@" (the member is not carried) / as ZeroOrAt
};

// Where the decimal places of a scaled field come from.
enum class Scale : uint8_t { None, Channel, CatPpm, CatVol, Inert, Pid };

struct Field {
    Enc enc;
    M m;
    int i = 0;
    int j = 0;
    Scale scale = Scale::None;
    int width = 0;      // text fields: the member's width
    bool first = false; // applied before the other fields of the line (the PID decimals)
};
using Fields = QVector<Field>;

enum class Key : uint8_t { None, Hex2Plus1, Hex2, Dec };

using FieldsFn = Fields (*)(int e);
using WriteFn = std::optional<QStringList> (*)(const clsInstrument &, QString *why);
using ReadFn = bool (*)(clsInstrument &, const QStringList &f, QString *why);
using PostFn = bool (*)(clsInstrument &, int nFields);

struct Def {
    const char *code;
    int count;      // lines of a list code, 1 otherwise
    Key key;
    FieldsFn fields;
    int minFields;  // data fields (after the entry number) a line must have
    M tailFlag;     // support flag of an optional tail: False when the line has exactly all
                    // fields, True when it has only the first minFields (M::Count: no flag)
    M support;      // support flag checked before sending (M::Count: always supported)
    WriteFn write = nullptr; // replaces the field walk (masks, scaled values)
    ReadFn read = nullptr;
    PostFn post = nullptr;   // derived members after a read
    bool linkWrites = true;
    int lineFields = 0;      // fields of the whole line when not one per member (masks)
};

// Every setting code in file order (LS once; the file repeats it).
std::span<const Def> allDefs();
// The entry of a code in any case, nullptr for none.
const Def *defOf(const QString &code);

// Store a converted value through the record's setters; false with the record's reason.
bool setNum(clsInstrument &r, M m, double v, int i, int j, QString *why);
bool setTxt(clsInstrument &r, M m, const QString &v, int i, int j, QString *why);

} // namespace SettingLines::detail
