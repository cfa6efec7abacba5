#pragma once
#include <QByteArray>
#include <QString>

class clsInstrument;

// What the instrument refuses before it acts: a request whose code it does not know, whose
// mode that code has not, or whose fields differ in count, width, digits, range or selection
// mask from what link/PROTOCOL.md gives. Each function returns why the request is refused,
// or an empty text for a well-formed one.
namespace SimRequestCheck {

// Every request but the values of a setting-line write (those need the state: see below).
QString Problem(const QByteArray &body);

// A setting-line write "CC,W,fields,": applies it to inst when it is well formed. Well formed
// means it converts and, written back from the result, gives exactly the fields that came
// (so widths, digits, case and ranges are those of the writer). Names are kept as they came,
// blanks in front included: only the padding to the field's width is the writer's. Nothing
// changes otherwise.
QString ApplySettingWrite(clsInstrument &inst, const QByteArray &body);

} // namespace SimRequestCheck
