#pragma once
#include <QString>
#include <cstdint>
#include <optional>

// The two rounding rules of the instrument data, kept in one place.
//
//  - Whole-number conversions (to 16/32-bit, to a step, to the units of an instrument word)
//    round halves to the even neighbour: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -2.5 -> -2.
//    qRound() rounds halves away from zero; do not use it for instrument data.
//  - Display patterns ("#0", "#0.0", ...) round halves away from zero, on the decimal digits
//    the user sees: 0.25 -> "0.3", 2.45 -> "2.5", -0.25 -> "-0.3".

// Nearest whole number, halves to even. NaN and infinities come back unchanged.
double RoundHalfEven(double v);

// The 16-bit and 32-bit conversions: rounded half to even; std::nullopt when the result
// does not fit (the caller refuses the input instead of wrapping) or v is not finite.
std::optional<int16_t> ToInt16(double v);
std::optional<int32_t> ToInt32(double v);

// Formats v with exactly `decimals` decimal places (0..15), at least one digit before the
// point, halves away from zero, "." as the decimal point, no "-" for a result of zero.
// A float is rounded from its shortest decimal form (0.35f gives "0.4" with one place),
// so what was typed is what gets rounded.
QString FormatDecimals(double v, int decimals);
QString FormatDecimals(float v, int decimals);

// A display pattern of the kind DigitFormat() returns: "#0" or "#0." followed by zeros
// (also accepted: "0", "0.00"...). An empty or any other pattern gives the general form:
// the shortest text that reads back as the same value ("12", "0.5", "1E-05").
QString FormatPattern(double v, const QString &pattern);
QString FormatPattern(float v, const QString &pattern);

// The general form of a single-precision value: at most 7 significant digits, no trailing
// zeros, exponent form ("1E-05", "1.234568E+07") only below 1E-4 or from 1E7 up.
QString GeneralNumber(float v);
