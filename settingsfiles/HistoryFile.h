#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// File side of the settings-history CSV: the header renewal through the "_swap" copy and
// the row append, done so that no row is ever lost.
namespace HistoryFile {

struct Outcome {
    bool ok = true;
    QString error;
    QString notice; // with ok: something the user must hear of (a damaged swap kept aside)
};

// Joins fields into one CSV line (no line end). A field holding ",", a double quote, CR
// or LF is quoted (inner quotes doubled), so a row keeps its column count whatever the
// record's texts hold. Latin-1.
QByteArray joinFields(const QStringList &fields);

// Writes header and one row to historyPath:
//  - a leftover swap without a history file (an earlier run stopped between removing the
//    old file and renaming) is taken as the history first when it is whole (header, rows of
//    the header's field count, the last one ended); otherwise it is renamed
//    "<history>_swap_incomplete.csv" and notice says so;
//  - no history file: it is created with the header and the row;
//  - otherwise the swap file gets the new header, the old rows (unchanged when the old
//    header starts with actionLabel, else each with "," in front so the rows line up under
//    the newer first column) and the new row, streamed through the one file writer (memory
//    stays flat whatever the history's length); it is then renamed over the history file in
//    one step. Any failure leaves the history file as it was.
//  - a history that is a symbolic link stays one: the file it points at is rewritten, and
//    the swap (and any leftover swap) is looked for beside that file.
// header and row carry no line end; CR LF is added.
Outcome appendRow(const QString &historyPath, const QString &swapPath, const QByteArray &header,
                  const QByteArray &row, const QByteArray &actionLabel);

} // namespace HistoryFile
