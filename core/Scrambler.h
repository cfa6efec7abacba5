#pragma once
#include <QString>
#include <cstdint>

// Gate of the two-argument forms below: the text is changed only while this is exactly
// -1 (True). The settings-file writer and reader pass their choice instead.
extern int16_t gScramble;

// Scrambles one line: each character becomes two characters in the range 70..(70+15) for
// the low nibble and 70.. for the high part of (code + position). Unchanged while gScramble
// is not -1. ok (optional) turns false when a character is beyond Latin-1 or the line is
// too long for the result to stay single-byte (about 2700 characters); the result is then empty.
QString EncodeText(const QString &text, bool *ok = nullptr);

// Reverses EncodeText. Unchanged while gScramble is not -1. A text that EncodeText cannot
// have made (odd length, a character outside the code range, a result outside 0..255)
// gives an empty text with ok false.
QString DecodeText(const QString &text, bool *ok = nullptr);

// The same with the choice passed in: Scramble false leaves the text as it is.
QString EncodeText(const QString &text, bool Scramble, bool *ok);
QString DecodeText(const QString &text, bool Scramble, bool *ok);
