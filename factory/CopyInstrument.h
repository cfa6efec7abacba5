#pragma once

class clsInstrument;

// Copies settings from src into dst through dst's setters, so dst's own Change_ flags
// rise for every member written; never clears or copies a flag itself.
//   full copy (onlyChanged false): every setting the dialog edits, plus the identity,
//     the clock, gas types and the command-group support flags;
//   changed-only copy (onlyChanged true): only what src has flagged (some groups go
//     whole when any member of the group is flagged).
// The support flags (invalid..., InvalidIF) travel only in the full copy: the dialog
// never edits them, and a copy back would overwrite what the instrument reported with
// whatever a loaded file left in the working copy.
void CopyInstrument(clsInstrument &dst, const clsInstrument &src, bool onlyChanged);
