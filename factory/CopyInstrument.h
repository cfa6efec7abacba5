#pragma once

class clsInstrument;

// Copies settings from src into dst through dst's setters, so dst's own Change_ flags
// rise for every member written; never clears or copies a flag itself. A value src holds
// unread (a download could not read it) is unread in dst as well. The copy walks
// the member list (model/InstrumentMembers.def): every member travels, entry by entry,
//   full copy (onlyChanged false): always, flags or not;
//   changed-only copy (onlyChanged true): when src has the entry's Change_ flag set;
// apart from the exceptions table in CopyInstrument.cpp (groups that go whole, channel
// bounds, members the dialog does not edit).
// The support flags (invalid..., InvalidIF) travel only in the full copy: the dialog
// never edits them, and a copy back would overwrite what the instrument reported with
// whatever a loaded file left in the working copy.
void CopyInstrument(clsInstrument &dst, const clsInstrument &src, bool onlyChanged);
