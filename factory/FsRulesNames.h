#pragma once
#include <QString>
#include <QStringList>

class clsInstrument;

// Entry rules of the station and user lists, and their transfer into the record.
namespace FsNames {

constexpr int kStations = 128;
constexpr int kUsers = 32;

// The most characters of a name (the record's station and user names are alike).
int MaxLength();
// Key filter of a name cell: printable characters but braces and the file separators
// ("," ";"), lower case kept, at most MaxLength() characters. Returns the key to let
// through or 0 to drop it (with a beep).
int FilterKey(int key, const QString &editText);
// At most MaxLength() characters, each printable, braces and file separators excepted
// (the list and settings files could not carry them back); empty passes.
bool Acceptable(const QString &name);
// The colour rule of a name cell: a name still as the instrument gave it (given) is
// nobody's entry and goes back as it came, whatever it holds; any other is judged.
bool Refused(const QString &name, const QString &given);

// Writes every name that differs (exactly, case and blanks count) into XS_(0..127) or
// XZ_(0..31). names holds one text per grid row.
void ApplyStations(clsInstrument &inst, const QStringList &names);
void ApplyUsers(clsInstrument &inst, const QStringList &names);

} // namespace FsNames
