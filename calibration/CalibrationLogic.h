#pragma once
#include <QString>
#include <array>
#include <functional>

class clsInstrument;

// The calibration windows' rules, apart from the widgets so they can be tested alone.

constexpr int kCalChannels = 7;

// Text as a number the way the grid's cells are read: optional blanks, sign, digits with
// an optional "." and exponent. Infinities and NaN are not numbers here.
bool IsNumericText(const QString &text, double *value = nullptr);

// Outcome of checking a typed span value of channel ch.
struct SpanEdit {
    bool accepted = false;
    QString text;        // what the editor shows afterwards (also when refused)
    bool untick = false; // the channel's check box must be cleared (empty entry)
};
// Empty: "0", accepted, unticked. A number: accepted within 0..full scale when the
// warning point is reached (reversed for oxygen), then rounded to the reading step; a
// step that cannot be used refuses. Other text: accepted as 0 when it holds "--".
// The text is rewritten in the channel's format whenever it is not empty.
SpanEdit ValidateSpanText(const clsInstrument &inst, int ch, const QString &text);

// The 42-character span request: seven selection digits, then per channel "," and four
// hex digits. A ticked channel must carry a value the instrument can use.
struct SpanRequest {
    QString request;          // empty when refused
    std::array<bool, kCalChannels> selected{};
    int badChannel = -1;      // the first ticked channel without a usable value
    bool ok() const { return !request.isEmpty(); }
    bool anySelected() const;
};
SpanRequest BuildSpanRequest(const clsInstrument &inst, const std::array<bool, kCalChannels> &selected,
                             const std::array<QString, kCalChannels> &spanTexts);

// The four hex digits of one ticked channel's span text, or "" when the value cannot
// be sent: not a number, outside 0..full scale, zero on a gas other than oxygen, a
// catalytic conversion with a zero full scale or ratio, or a word that is not a plain
// value of four hex digits.
QString SpanField(const clsInstrument &inst, int ch, const QString &spanText);

// One report line per reported channel, CR LF after each: status 1 complete, 0 failed
// with the last reading, 2 no action; anything else gives no line.
QString CalReportLines(const clsInstrument &inst, const std::array<bool, kCalChannels> &reported,
                       const std::function<int(int)> &status, const std::array<float, kCalChannels> &readings);
