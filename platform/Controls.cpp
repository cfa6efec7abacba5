#include "platform/Controls.h"
#include "core/modMain.h"
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QWidget>

namespace {
void applyColours(QWidget *w, bool enabled)
{
    const QPalette sys = QApplication::palette();
    QPalette p = w->palette();
    const QColor base = enabled ? sys.color(QPalette::Active, QPalette::Base) : sys.color(QPalette::Active, QPalette::Button);
    const QColor text = enabled ? sys.color(QPalette::Active, QPalette::Text) : sys.color(QPalette::Disabled, QPalette::Text);
    for (auto g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Base, base);
        p.setColor(g, QPalette::Text, text);
        p.setColor(g, QPalette::ButtonText, text);
    }
    w->setPalette(p);
}

int gBeeps = 0;
std::function<void()> gBeepHook;
int gHourglass = 0;
} // namespace

void SetTextEnabled(QWidget *box, bool enabled)
{
    if (!box)
        return;
    box->setEnabled(enabled);
    applyColours(box, enabled);
}

void SetComboEnabled(QComboBox *combo, bool enabled)
{
    if (!combo)
        return;
    combo->setEnabled(enabled);
    applyColours(combo, enabled);
    if (combo->lineEdit())
        applyColours(combo->lineEdit(), enabled);
}

void CopyFont(QFont &f, const FontSpec &s)
{
    if (!s.name.isEmpty())
        f.setFamilies({s.name});
    if (s.size > 0)
        f.setPointSizeF(s.size);
    // A weight says more than the bold flag; the flag alone means 700.
    int weight = s.weight > 0 ? std::clamp(s.weight, 1, 1000) : 400;
    if (s.bold && weight < 600)
        weight = 700;
    if (!s.bold && weight >= 600 && s.weight <= 0)
        weight = 400;
    f.setWeight(QFont::Weight(weight));
    f.setItalic(s.italic);
    f.setUnderline(s.underline);
    f.setStrikeOut(s.strikethrough);
}

void CopyFont(QWidget *target, const FontSpec &source)
{
    if (!target)
        return;
    QFont f = target->font();
    CopyFont(f, source);
    target->setFont(f);
}

void CopyFontToAll(QWidget *form, const FontSpec &source)
{
    if (!form)
        return;
    CopyFont(form, source);
    for (QWidget *w : form->findChildren<QWidget *>())
        CopyFont(w, source);
}

void Beep()
{
    ++gBeeps;
    if (gBeepHook)
        gBeepHook();
    else
        QApplication::beep();
}

int BeepCount() { return gBeeps; }
void ResetBeepCount() { gBeeps = 0; }
void SetBeepHook(std::function<void()> hook) { gBeepHook = std::move(hook); }

HourglassCursor::HourglassCursor() { SetHourglass(true); }
HourglassCursor::~HourglassCursor() { SetHourglass(false); }

void SetHourglass(bool on)
{
    if (on) {
        ++gHourglass;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (gHourglass > 0) {
        --gHourglass;
        QApplication::restoreOverrideCursor();
    }
}

bool IsHourglass() { return gHourglass > 0; }
