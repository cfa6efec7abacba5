#pragma once
#include <QFont>
#include <functional>

class QWidget;
class QComboBox;
struct FontSpec;

// Text fields and lists switched together with their colours: window colour and
// window text when enabled, button face and grey text when disabled.
void SetTextEnabled(QWidget *box, bool enabled);
void SetComboEnabled(QComboBox *combo, bool enabled);

// The program font (a plain description in the core) onto real fonts and widgets.
// Copies name, size, bold, italic, underline, strikethrough and weight; the character
// set has no counterpart in Qt and is left out.
void CopyFont(QFont &target, const FontSpec &source);
void CopyFont(QWidget *target, const FontSpec &source);
// The form and every control on it.
void CopyFontToAll(QWidget *form, const FontSpec &source);

// The system beep, counted so tests can see it. A hook replaces the sound (tests).
void Beep();
int BeepCount();
void ResetBeepCount();
void SetBeepHook(std::function<void()> hook);

// The hourglass while a scope runs; nests.
class HourglassCursor {
public:
    HourglassCursor();
    ~HourglassCursor();
    HourglassCursor(const HourglassCursor &) = delete;
    HourglassCursor &operator=(const HourglassCursor &) = delete;
};
// The same switch for code that sets and clears it at different places; calls
// beyond the matching number of "off" calls are ignored.
void SetHourglass(bool on);
bool IsHourglass();
