#pragma once
#include <QString>
#include <cstdint>

// Filter for one typed character (key press). Backspace passes; other control and
// non-ASCII codes fail. Blank, "-", digits and capitals always pass. Without allowLower,
// small letters are turned into capitals in place and pass, every other symbol fails.
// With allowLower, small letters and the symbols pass, the apostrophe only with
// allowQuote; "{", "}", "," and ";" always fail (the settings and list files could not
// carry them back). Every name editor, import and load judges names by these two.
bool CheckKeyAscii(int16_t &keyAscii, bool allowLower, bool allowQuote);
bool CheckKeyAscii(int &keyAscii, bool allowLower, bool allowQuote);

// True when every character of text passes the same sets, nothing changed (small letters
// need allowLower). A blank in the first position counts as a symbol unless
// gAllowLeadBlank is set. An empty text passes. Control characters never pass here.
bool CheckTextChars(const QString &text, bool allowLower, bool allowQuote);

// True when text holds "," or ";": the field separator and the comment mark of the settings
// files' lines (and of the program settings file), so such a text would not read back whole.
bool HasFileSeparator(const QString &text);

// Names that travel in list files, settings files and choice lists (station, user, gas,
// conversion and PID names and long names): the checks above with the apostrophe allowed
// (the file separators fail there already).
bool CheckListNameChars(const QString &text, bool allowLower);
bool CheckListNameKey(int &keyAscii, bool allowLower);

// The settings-history suffix becomes part of a file name and a line of the program settings
// file: no path separators, no characters a file name cannot hold on the systems the files
// travel to, no file separator, no control characters, single-byte only.
bool FileSuffixAcceptable(const QString &suffix);
