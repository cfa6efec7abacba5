#include "link/ReadOnlyCodes.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"
#include <cmath>

namespace ReadOnlyCodes {

namespace {
struct IntList {
    const char *code;
    clsInstrument::M member;
    int from;
    int count;
};
// Lists of whole numbers, in decimal.
const IntList kIntLists[] = {
    {"GE", clsInstrument::M::GasEnabled, 0, 7}, {"HA", clsInstrument::M::AnalogValue, 0, 14},
    {"H2", clsInstrument::M::AnalogValue, 14, 13}, {"RP", clsInstrument::M::RP_, 0, 3},
    {"SI", clsInstrument::M::SI_, 0, 5},       {"SZ", clsInstrument::M::SZ_, 0, 10},
    {"S1", clsInstrument::M::S1_, 0, 8},
};

const IntList *FindIntList(const QByteArray &code)
{
    for (const IntList &l : kIntLists)
        if (code == l.code)
            return &l;
    return nullptr;
}

QByteArray Real(float v) { return QByteArray::number(double(v), 'g', 7); }

bool ToReal(const QByteArray &f, float *out)
{
    bool ok = false;
    const double d = f.toDouble(&ok);
    if (!ok || !std::isfinite(d) || std::abs(d) > 1e9)
        return false;
    *out = float(d);
    return true;
}

// Text fields come as they are; only printable single-byte text is kept.
bool ToText(const QByteArray &f, int maxLength, QString *out)
{
    if (f.size() > maxLength)
        return false;
    for (char c : f)
        if (static_cast<quint8>(c) < 0x20)
            return false;
    *out = QString::fromLatin1(f);
    return true;
}
} // namespace

const QList<QByteArray> &ReadOrder()
{
    static const QList<QByteArray> order = {"SN", "DS", "VP", "VS", "GE", "HA", "H2",
                                            "RP", "SI", "SZ", "S1", "HC", "MS"};
    return order;
}

bool IsReadOnly(const QByteArray &code) { return ReadOrder().contains(code); }

QByteArray ClockText(const QDateTime &when) { return when.toString(QStringLiteral("yyMMddHHmmss")).toLatin1(); }

QDateTime ParseClock(const QByteArray &text)
{
    if (text.size() != 12)
        return {};
    for (char c : text)
        if (c < '0' || c > '9')
            return {};
    const int y = 2000 + text.mid(0, 2).toInt();
    const QDate d(y, text.mid(2, 2).toInt(), text.mid(4, 2).toInt());
    const QTime t(text.mid(6, 2).toInt(), text.mid(8, 2).toInt(), text.mid(10, 2).toInt());
    if (!d.isValid() || !t.isValid())
        return {};
    return QDateTime(d, t);
}

QList<QByteArray> Fields(const clsInstrument &inst, const QByteArray &code, const QDateTime &now)
{
    if (const IntList *l = FindIntList(code)) {
        QList<QByteArray> out;
        for (int i = 0; i < l->count; ++i)
            out.append(QByteArray::number(qint64(inst.number(l->member, l->from + i))));
        return out;
    }
    if (code == "SN")
        return {inst.SerialNo().toLatin1()};
    if (code == "DS")
        return {inst.DummySerial().toLatin1()};
    if (code == "VP")
        return {QByteArray::number(inst.RomNumber())};
    if (code == "VS")
        return {inst.SUM().toLatin1()};
    if (code == "HC")
        return {ClockText(now)};
    if (code == "MS")
        return {inst.MessageString().toLatin1()};
    return {};
}

bool Apply(clsInstrument &inst, const QByteArray &code, const QList<QByteArray> &fields, QString *why,
           const QDateTime &pcNow)
{
    auto fail = [why](const QString &reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (const IntList *l = FindIntList(code)) {
        if (fields.size() < l->count)
            return fail(QStringLiteral("%1 fields, %2 expected").arg(fields.size()).arg(l->count));
        QList<qint64> values;
        for (int i = 0; i < l->count; ++i) {
            bool ok = false;
            const qint64 v = fields[i].toLongLong(&ok);
            if (!ok || v < -2147483648LL || v > 2147483647LL)
                return fail(QStringLiteral("field %1 is not a number").arg(i + 1));
            values.append(v);
        }
        // Check every value against the member's range before storing any.
        clsInstrument probe;
        for (int i = 0; i < l->count; ++i)
            if (!probe.setNumber(l->member, double(values[i]), l->from + i))
                return fail(QStringLiteral("field %1 out of range").arg(i + 1));
        for (int i = 0; i < l->count; ++i)
            inst.setNumber(l->member, double(values[i]), l->from + i);
        return true;
    }
    if (fields.isEmpty() && code != "MS")
        return fail(QStringLiteral("no field"));
    QString text;
    if (code == "SN" || code == "DS" || code == "VS") {
        if (!ToText(fields[0], 20, &text))
            return fail(QStringLiteral("bad text"));
        if (code == "SN")
            inst.setSerialNo(text);
        else if (code == "DS")
            inst.setDummySerial(text);
        else
            inst.setSUM(text);
        return true;
    }
    if (code == "VP") {
        bool ok = false;
        const qint64 v = fields[0].toLongLong(&ok);
        if (!ok || v < 0 || v > 2147483647LL)
            return fail(QStringLiteral("bad program number"));
        inst.setRomNumber(v);
        return true;
    }
    if (code == "HC") {
        const QDateTime clock = ParseClock(fields[0]);
        if (!clock.isValid())
            return fail(QStringLiteral("improper date"));
        inst.setSysDate(clock);
        inst.setSysDateOffset(clock.secsTo(pcNow));
        return true;
    }
    if (code == "MS") {
        if (!fields.isEmpty() && !ToText(fields[0], 200, &text))
            return fail(QStringLiteral("bad text"));
        inst.setMessageString(text.trimmed());
        return true;
    }
    return fail(QStringLiteral("unknown code"));
}

QList<QByteArray> HistoryFields(const clsInstrument &inst)
{
    QList<QByteArray> out{"0", ClockText(inst.CalibDate(0).isValid() ? inst.CalibDate(0) : QDateTime(QDate(2000, 1, 1), QTime(0, 0)))};
    for (int ch = 0; ch < 7; ++ch)
        out.append(Real(inst.CalibBefore(ch)));
    for (int ch = 0; ch < 7; ++ch)
        out.append(Real(inst.CalibAfter(ch)));
    return out;
}

bool ApplyHistory(clsInstrument &inst, const QList<QByteArray> &fields, QString *text, QString *why)
{
    if (fields.size() < 16 || fields[0] != "0") {
        if (why)
            *why = QStringLiteral("%1 fields, 16 expected").arg(fields.size());
        return false;
    }
    const QDateTime when = ParseClock(fields[1]);
    float before[7], after[7];
    bool ok = when.isValid();
    for (int ch = 0; ok && ch < 7; ++ch)
        ok = ToReal(fields[2 + ch], &before[ch]) && ToReal(fields[9 + ch], &after[ch]);
    if (!ok) {
        if (why)
            *why = QStringLiteral("bad field");
        return false;
    }
    QString line = QStringLiteral("Latest Calibration %1").arg(when.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    for (int ch = 0; ch < 7; ++ch) {
        inst.setCalibDate(ch, when);
        inst.setCalibBefore(ch, before[ch]);
        inst.setCalibAfter(ch, after[ch]);
        if (inst.GasEnabled(ch) != 0)
            line += QStringLiteral(", %1 %2 -> %3")
                        .arg(inst.GasName(ch).trimmed(), FormatValue(before[ch], inst.GasPoint(ch)),
                             FormatValue(after[ch], inst.GasPoint(ch)));
    }
    if (text)
        *text = line;
    return true;
}

QList<QByteArray> ReadingFields(const float values[7])
{
    QList<QByteArray> out;
    for (int ch = 0; ch < 7; ++ch)
        out.append(Real(values[ch]));
    return out;
}

} // namespace ReadOnlyCodes
