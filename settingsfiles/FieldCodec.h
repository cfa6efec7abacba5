#pragma once
#include <QString>
#include <cstdint>
#include <optional>

// Conversions of single setting-line fields, both ways. Every writer refuses a value it
// cannot write so that it reads back (it returns std::nullopt and sets *why); every
// reader refuses text that does not convert.
namespace FieldCodec {

// ---- writing
// Decimal integer.
QString dec(int64_t v);
// Two hex digits; 0..255 only.
std::optional<QString> hex2(int64_t v, QString *why);
// Four hex digits of the wide word (values above 50000 in steps of 100); 0..1278700 only.
std::optional<QString> hex4(int64_t v, QString *why);
// Four hex digits of the 16-bit two's complement, no wide step (the calibration interval).
QString hex4Raw(int v);
// Hex digits without leading zeros of the 16-bit two's complement.
QString hexPlain(int v);
// Instrument word of a value with `digits` decimal places: the three not-set words for
// -101, -118 and -121, "0000" for any other negative value. A value whose word would read
// back as one of those words, or that does not fit four digits, is refused.
std::optional<QString> valueWord(float v, int digits, QString *why);
// Two-digit form of the same (steps and resolutions): "FF", "FE", "DD" for the three
// codes, "00" for other negatives; a step that does not fit two digits is refused.
std::optional<QString> smallWord(float v, int digits, QString *why);
// General number with at most 7 significant digits ("0.5", "3", "1E-05").
std::optional<QString> real(float v, QString *why);
// Which characters a text field may hold. The settings files and the instrument line carry
// printable ASCII (blank to "~"); what the writer writes, the reader and the link take.
enum class Chars {
    Line,  // printable ASCII: every file and every request
    Held   // also Latin-1 above "~": what an instrument may hold and answer (the simulator)
};
// Text cut or padded with blanks to exactly n characters; a text that would break the
// line (",", ";") or holds a character outside `chars` is refused.
std::optional<QString> textN(const QString &v, int n, QString *why, Chars chars = Chars::Line);
// The text as it stands, with the same refusal.
std::optional<QString> textRaw(const QString &v, QString *why, Chars chars = Chars::Line);
// The character with code 48 + v: printable, neither blank nor ",".
std::optional<QString> digitChar(int v, QString *why);

// ---- reading
// Whole decimal number ("-" and digits) into 16 bits.
std::optional<int16_t> readDec(const QString &f, QString *why);
// Every reader takes only what its writer writes: a hex field wider than the writer's width
// (leading zeros counted) is refused, never wrapped; this serves the settings files and the
// instrument's answers alike.
// Hex digits into 16 bits: "FF" 255, "FFFF" -1; at most width (<= 4) digits.
std::optional<int16_t> readHex(const QString &f, QString *why, int width = 4);
// Hex digits into 32 bits, at most width (<= 8) digits.
std::optional<int32_t> readHexL(const QString &f, QString *why, int width = 8);
// Wide word of four digits: DecodeWide of it.
std::optional<int32_t> readWide(const QString &f, QString *why);
// One digit 0..9: the fields written in decimal and read as hex, where only 0..9 read back
// the same.
std::optional<int16_t> readDigit(const QString &f, QString *why);
// One character as digitChar writes it, back to its value (code - 48).
std::optional<int16_t> readDigitChar(const QString &f, QString *why);
// A text field of at most width characters (0: any) of printable ASCII without ";": a byte
// above "~" is refused like a control character, naming it. A "," is taken: the whole-line
// readers join a padded last name split at its commas.
std::optional<QString> readText(const QString &f, int width, QString *why);
// Instrument word of at most four digits with `digits` decimal places (DDDD, FFFF, FEFE
// give the codes).
std::optional<float> readValue(const QString &f, int digits, QString *why);
// Two-digit word ("FF", "FE", "DD" give the codes), at most two digits.
std::optional<float> readSmall(const QString &f, int digits, QString *why);
// General number.
std::optional<float> readReal(const QString &f, QString *why);
// Flag field: -1 when its numeric value is 1, else 0.
std::optional<int16_t> readFlag(const QString &f, QString *why);
// Leading and trailing blanks removed.
QString trimBlanks(const QString &f);
// Trailing blanks removed: the padding a text field's writer adds; blanks in front stay.
QString unpadded(const QString &f);

} // namespace FieldCodec
