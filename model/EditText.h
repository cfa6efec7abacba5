#pragma once
#include <QString>

// Rules of typed text shared by the main window and the factory dialog, decided before
// anything is stored.
namespace EditText {
// The editor's text: plain decimal numbers with an optional sign and one decimal
// point (blanks around allowed); no exponents, no thousands separators.
bool ParseNumber(const QString &text, float *value);
} // namespace EditText

namespace SerialField {

// The serial number's length limit is the width of SerialNo (clsInstrument::info).

// The key filter of the serial number: returns the key to let through (small
// letters come back as capitals, Backspace as itself) or 0 to drop it. A new
// character is dropped once the text (less any selection it replaces) is full.
int FilterKey(int key, int length, int selectedLength = 0);
// The text that may be stored: at most 20 characters, each a blank, "-", a digit
// or a capital letter (a leading blank included). Empty passes.
bool Acceptable(const QString &text);
// "(Left space n)": the blanks before the first other character (all of them for a
// text of blanks only).
QString SpaceCountText(const QString &text);

} // namespace SerialField
