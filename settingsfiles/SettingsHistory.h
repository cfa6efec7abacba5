#pragma once
#include "settingsfiles/HistoryFile.h"
#include <QDateTime>
#include <QStringList>

class clsInstrument;

// The settings-history CSV: one row per settings read or write, 1012 columns, header first.

constexpr int kHistoryColumns = 1012;

// The cell of a value the instrument did not give (a download could not read it, and
// nobody typed it since). Longer than any name the record holds (20 characters at most),
// and neither a number nor a word of the history, so no value reads as it.
constexpr char kHistoryNotRead[] = "(not read from the instrument)";

// "VANTIK_Setting<suffix>.csv" and "VANTIK_Setting<suffix>_swap.csv" in the program folder.
QString HistoryFilePath();
QString HistorySwapPath();

// Header labels and the row of Inst as the history shows them; now is the PC clock.
void HistoryColumns(const clsInstrument &Inst, bool IsWrite, const QDateTime &now, QStringList *labels,
                    QStringList *fields);

// Appends a "Write" (IsWrite) or "Read" row for Inst, renewing the header. Reads the
// record only. A failure (folder without write access, a file held open, a suffix that is
// not a plain name) is returned and leaves the existing history as it was.
HistoryFile::Outcome deviceUpdateLog(const clsInstrument &Inst, bool IsWrite);
