#pragma once
#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"
#include <QString>
#include <functional>

class FlexGrid;

// Values a download could not read, as the dialog meets them: in the cells that show them,
// the list files and maintenance-data files that give them, and the refusals that name them.

// One value of a record: a member's entry.
struct RecordValue {
    clsInstrument::M member;
    int i = 0;
    int j = 0;
};

// A file gave a value for one the download could not read: it is given now, whether or not
// it equals the cleared value the record holds. Its mark goes and its Change_ flag rises, so
// OK takes it back and the upload sends it. The record keeps its value; on OK the grid's text
// replaces it where the two differ.
void TakeGiven(clsInstrument &rec, const RecordValue &v);

// The first cell of a grid (row e + 1, columns [firstCol, endCol) of entries 0..entries - 1)
// that still shows a value the download could not read: the value is unread in rec and the
// cell's text is still what rec shows of it (shown), so nobody typed or loaded one. entry -1:
// there is none.
struct GridCell {
    int entry = -1;
    int col = 0;
};
GridCell FirstUnreadCell(const clsInstrument &rec, const FlexGrid *g, int entries, int firstCol, int endCol,
                         const std::function<RecordValue(int entry, int col)> &valueOf,
                         const std::function<QString(int entry, int col)> &shown);

// The line said under message 8056 when an export or the store meets a cell still showing a
// value the instrument refused to read: why, and what the technician can do about the line
// that carries it ("... download again, or type it first.", or only the download where the
// line holds a cell the grids lock).
QString UnreadReason(const SettingLines::Entry &line);
