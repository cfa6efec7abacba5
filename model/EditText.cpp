#include "model/EditText.h"
#include "core/CharChecks.h"
#include "core/modMain.h"
#include "model/clsInstrument.h"

#include <QRegularExpression>

namespace EditText {

bool ParseNumber(const QString &text, float *value)
{
    static const QRegularExpression re(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    const QString t = text.trimmed();
    if (!re.match(t).hasMatch())
        return false;
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok)
        return false;
    if (value)
        *value = float(d);
    return true;
}

} // namespace EditText

namespace SerialField {

namespace {
int maxLength() { return clsInstrument::info(clsInstrument::M::SerialNo).width; }
} // namespace

int FilterKey(int key, int length, int selectedLength)
{
    int k = key;
    if (!CheckKeyAscii(k, false, true))
        return 0;
    if (k != 8 && length - selectedLength >= maxLength())
        return 0;
    return k;
}

bool Acceptable(const QString &text)
{
    if (text.size() > maxLength())
        return false;
    // A serial number may start with blanks; the switch is put back as found.
    const bool saved = gAllowLeadBlank;
    gAllowLeadBlank = true;
    const bool ok = CheckTextChars(text, false, true);
    gAllowLeadBlank = saved;
    return ok;
}

QString SpaceCountText(const QString &text)
{
    qsizetype n = 0;
    while (n < text.size() && text.at(n) == QLatin1Char(' '))
        ++n;
    return QStringLiteral("(Left space %1)").arg(n);
}

} // namespace SerialField
