#include "calibration/CalibrationLogic.h"
#include "core/Messages.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include <QRegularExpression>
#include <cmath>

namespace {

bool isOxygen(const clsInstrument &inst, int ch) { return inst.GasName(ch) == QLatin1String("OXY"); }

// The instrument reads DDDD, FEFE and FFFF as states, not as values.
bool reservedWord(int32_t word) { return word == 0xDDDD || word == 0xFEFE || word == 0xFFFF; }

} // namespace

bool IsNumericText(const QString &text, double *value)
{
    static const QRegularExpression number(
        QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (!number.match(text).hasMatch())
        return false;
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

bool SpanRequest::anySelected() const
{
    for (bool s : selected)
        if (s)
            return true;
    return false;
}

SpanEdit ValidateSpanText(const clsInstrument &inst, int ch, const QString &text)
{
    SpanEdit out;
    if (text.trimmed().isEmpty()) {
        out.accepted = true;
        out.text = QStringLiteral("0");
        out.untick = true;
        return out;
    }
    double typed = 0;
    float v = 0;
    if (IsNumericText(text, &typed)) {
        // A typed value beyond single precision is simply out of range.
        v = std::fabs(typed) > 3.0e38 ? float(std::copysign(3.0e38, typed)) : float(typed);
        if (v >= 0 && v <= inst.GasFullScale(ch) && PointReached(inst, ch, v)) {
            bool stepOk = false;
            // The main grid's rule: a full scale of 50000 in steps of 1 is reachable here too.
            const float rounded = RoundToStepWide(v, inst.GasDesit(ch), &stepOk);
            // A step of 0, or one so fine that the count of steps overflows, cannot place
            // the value: refuse rather than send something else than was typed.
            if (stepOk) {
                v = rounded;
                out.accepted = true;
            }
        }
    } else {
        out.accepted = text.contains(QLatin1String("--"));
        v = 0;
    }
    out.text = FormatValue(v, inst.GasPoint(ch));
    return out;
}

QString SpanField(const clsInstrument &inst, int ch, const QString &spanText)
{
    double typed = 0;
    if (!IsNumericText(spanText, &typed))
        return QString();
    const float fullScale = inst.GasFullScale(ch);
    if (!(typed >= 0 && typed <= double(fullScale)))
        return QString();
    float v = float(typed);
    if (inst.GasType(ch) == SensorType::Catalytic) {
        // %LEL to the instrument's ppm: needs a full scale and the gas's ratio.
        const double ratio = double(inst.FL_(0));
        if (!(fullScale > 0) || !(ratio > 0))
            return QString();
        v = float(typed / (double(fullScale) / ratio));
    }
    const int point = inst.GasPoint(ch);
    if (point < 0 || point > 9)
        return QString();
    const auto scaled = ToInt32(double(v) / std::pow(0.1, point));
    if (!scaled)
        return QString();
    const int32_t word = EncodeWide(*scaled);
    if (word > 0xFFFF || reservedWord(word))
        return QString();
    // Spanning on nothing only makes sense for oxygen (its zero is a real gas point).
    if (word == 0 && !isOxygen(inst, ch))
        return QString();
    bool ok = false;
    const QString hex = ValueToHex(v, point, &ok);
    if (!ok || hex.size() != 4)
        return QString();
    return hex;
}

SpanRequest BuildSpanRequest(const clsInstrument &inst, const std::array<bool, kCalChannels> &selected,
                             const std::array<QString, kCalChannels> &spanTexts)
{
    SpanRequest out;
    out.selected = selected;
    QString digits;
    QString fields;
    for (int ch = 0; ch < kCalChannels; ++ch) {
        digits += selected[ch] ? QLatin1Char('1') : QLatin1Char('0');
        QString hex = QStringLiteral("0000");
        if (selected[ch]) {
            hex = SpanField(inst, ch, spanTexts[ch]);
            if (hex.isEmpty()) {
                if (out.badChannel < 0)
                    out.badChannel = ch;
                continue;
            }
        }
        fields += QLatin1Char(',') + hex;
    }
    if (out.badChannel < 0 && out.anySelected())
        out.request = digits + fields;
    return out;
}

QString CalReportLines(const clsInstrument &inst, const std::array<bool, kCalChannels> &reported,
                       const std::function<int(int)> &status, const std::array<float, kCalChannels> &readings)
{
    QString report;
    for (int ch = 0; ch < kCalChannels; ++ch) {
        if (!reported[ch])
            continue;
        const QString name = inst.GasName(ch);
        switch (status(ch)) {
        case 1:
            report += name + QStringLiteral("  ") + GetMsg(5354) + QStringLiteral("\r\n");
            break;
        case 0:
            report += name + QLatin1Char('(') + FormatValue(readings[ch], inst.GasPoint(ch)) + QStringLiteral(") Failed\r\n");
            break;
        case 2:
            report += name + QLatin1Char(' ') + GetMsg(5377) + QStringLiteral("\r\n");
            break;
        default:
            break;
        }
    }
    return report;
}
