#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class clsInstrument;

// The codes that are not setting lines: identity, clock, enabled channels, analogue values,
// readings, instrument message, latest calibration record. Both directions live here, so the
// link's answer parser and the simulator's answers cannot drift apart.
namespace ReadOnlyCodes {

// Codes read after the setting lines, in this order.
const QList<QByteArray> &ReadOrder();
bool IsReadOnly(const QByteArray &code);

// Fields of the answer "CC,R,<fields>" for a record (the simulator's side).
// now: the instrument's clock for "HC".
QList<QByteArray> Fields(const clsInstrument &inst, const QByteArray &code, const QDateTime &now);

// Applies an answer's fields to the record (the link's side, through the device door the
// caller holds). False with a reason when a field is missing or does not convert; nothing
// is stored then.
bool Apply(clsInstrument &inst, const QByteArray &code, const QList<QByteArray> &fields, QString *why,
           const QDateTime &pcNow = QDateTime::currentDateTime());

// "yyMMddHHmmss" both ways; an invalid text gives an invalid QDateTime.
QByteArray ClockText(const QDateTime &when);
QDateTime ParseClock(const QByteArray &text);

// Latest calibration record "SO,R,0,<clock>,<before x7>,<after x7>,".
QList<QByteArray> HistoryFields(const clsInstrument &inst);
bool ApplyHistory(clsInstrument &inst, const QList<QByteArray> &fields, QString *text, QString *why);

// Live readings "DN,R,<7 values>," as decimal numbers (reading codes included).
QList<QByteArray> ReadingFields(const float values[7]);

} // namespace ReadOnlyCodes
