#include "mainwindow/GasGridRules.h"

#include "core/CharChecks.h"
#include "core/modMain.h"
#include "model/Rounding.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"


namespace GasGrid {

namespace {

const QString kNoGasLabel = QStringLiteral("---(---)");
const QString kUnusedText = QStringLiteral("*****");

float member(const clsInstrument &inst, int ch, int col)
{
    switch (col) {
    case ColWarning: return inst.Warning(ch);
    case ColAlarm: return inst.Alarm(ch);
    case ColStel: return inst.Stel(ch);
    case ColTwa: return inst.Twa(ch);
    case ColAutoCal: return inst.AutoCalib(ch);
    default: return 0;
    }
}

bool hasExtra(int row, int col)
{
    return (col == ColWarning || col == ColAlarm) && row >= kCatPpmRow && row <= kInertRow;
}

Entry refuse(Refusal why)
{
    Entry e;
    e.action = Entry::Action::Refuse;
    e.why = why;
    return e;
}

// An emptied cell, or "*****": the point is not used (NoValue); the auto-calibration
// value has no such word and becomes 0 ("none").
Entry cleared(int row, int col)
{
    Entry e;
    e.action = Entry::Action::Store;
    e.value = col == ColAutoCal ? 0.0f : ReadingCode::NoValue;
    e.hasExtra = hasExtra(row, col);
    e.extraValue = ReadingCode::NoValue;
    return e;
}

} // namespace

int ChannelCount(const clsInstrument &inst) { return inst.InvalidIF() ? 9 : 10; }

bool CellApplies(int ch, int col)
{
    if (ch < 0 || ch > 9 || col < ColWarning || col > ColAutoCal)
        return false;
    if (ch >= 7)
        return col == ColWarning || col == ColAlarm;
    if (ch <= 1)
        return col != ColStel && col != ColTwa;
    return true;
}

bool NoGas(const clsInstrument &inst, int ch)
{
    const QString name = inst.GasName(ch).trimmed();
    return name.isEmpty() || name == QLatin1String("---");
}

bool CheckAlarmLevel(const clsInstrument &inst, int ch)
{
    const float w = inst.Warning(ch);
    const float a = inst.Alarm(ch);
    if (w < 0 || a < 0)
        return true;
    if (inst.GasName(ch) == QLatin1String("OXY") && ch != 9 && inst.AlarmO2() == 1)
        return w >= a;
    return w <= a;
}

QString LabelText(const clsInstrument &inst, int ch)
{
    return GasLabel(inst.GasName(ch), inst.GasUnit(ch), inst.GasFullScale(ch), inst.GasPoint(ch));
}

QString CellText(const clsInstrument &inst, int ch, int col)
{
    if (col == ColGas)
        return LabelText(inst, ch);
    if (col == ColAutoCal && LabelText(inst, ch) == kNoGasLabel)
        return QStringLiteral("-----");
    return FormatValue(member(inst, ch, col), inst.GasPoint(ch));
}

Entry CheckEntry(const clsInstrument &inst, int row, int col, const QString &text, bool csaLimit)
{
    const int ch = ChannelOfRow(row);
    if (row < kHeaderRows || ch >= ChannelCount(inst) || !CellApplies(ch, col))
        return refuse(Refusal::NotEditable);
    if (NoGas(inst, ch)) {
        Entry e;
        e.action = Entry::Action::KeepOld;
        return e;
    }
    if (text.trimmed().isEmpty())
        return cleared(row, col);

    float v = 0;
    if (!EditText::ParseNumber(text, &v))
        return text.contains(kUnusedText) ? cleared(row, col) : refuse(Refusal::NotNumeric);

    // Full scale and the calibration side are judged on the value as typed.
    if (!(v >= 0 && v <= inst.GasFullScale(ch)))
        return refuse(Refusal::OutOfRange);
    if (col == ColAutoCal && !PointReached(inst, ch, v))
        return refuse(Refusal::WrongSide);
    bool ok = false;
    v = RoundToStepWide(v, inst.GasDesit(ch), &ok);
    if (!ok)
        return refuse(Refusal::BadStep);

    Entry e;
    e.action = Entry::Action::Store;
    e.value = v;
    if (col == ColWarning || col == ColAlarm) {
        if (row == RowOfChannel(0) && csaLimit && v > kCsaChannel0Max)
            return refuse(Refusal::CsaLimit);
        if (row == kCatPpmRow) {
            if (!clsInstrument::info(clsInstrument::M::CATppm1st).inRange(v))
                return refuse(Refusal::CatPpmLimit);
            if (csaLimit && double(v) > kCsaCatShare * double(inst.GasFullScale(7)))
                return refuse(Refusal::CsaLimit);
            const auto whole = ToInt32(double(v));
            if (!whole)
                return refuse(Refusal::CatPpmLimit);
            e.hasExtra = true;
            e.extraValue = float(*whole);
        } else if (row == kCatVolRow) {
            if (csaLimit && double(v) > kCsaCatShare * double(inst.GasFullScale(8)))
                return refuse(Refusal::CsaLimit);
            e.hasExtra = true;
            e.extraValue = v;
        } else if (row == kInertRow) {
            e.hasExtra = true;
            e.extraValue = v;
        }
    }
    return e;
}

bool StoreEntry(clsInstrument &inst, int row, int col, const Entry &entry)
{
    if (entry.action != Entry::Action::Store)
        return false;
    const int ch = ChannelOfRow(row);
    bool ok = false;
    switch (col) {
    case ColWarning: ok = inst.setWarning(ch, entry.value); break;
    case ColAlarm: ok = inst.setAlarm(ch, entry.value); break;
    case ColStel: ok = inst.setStel(ch, entry.value); break;
    case ColTwa: ok = inst.setTwa(ch, entry.value); break;
    case ColAutoCal: ok = inst.setAutoCalib(ch, entry.value); break;
    default: return false;
    }
    if (!ok || !entry.hasExtra)
        return ok;
    const bool first = col == ColWarning;
    switch (row) {
    case kCatPpmRow:
        return first ? inst.setCATppm1st(qint64(entry.extraValue)) : inst.setCATppm2nd(qint64(entry.extraValue));
    case kCatVolRow:
        return first ? inst.setCATvol1st(entry.extraValue) : inst.setCATvol2nd(entry.extraValue);
    case kInertRow:
        return first ? inst.setInert1st(entry.extraValue) : inst.setInert2nd(entry.extraValue);
    default:
        return ok;
    }
}

} // namespace GasGrid
