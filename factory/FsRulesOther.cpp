#include "factory/FsRulesOther.h"

#include "factory/FsRulesConversion.h"
#include "factory/FsRulesPID.h"
#include "model/RangeTables.h"
#include "model/Rounding.h"
#include "model/clsInstrument.h"
#include "model/modGasCommon.h"

namespace FsOther {

namespace {

bool number(const QString &text, double *v) { return FsConv::ParseNumber(text, v); }

// A whole-number member against the number of its cell: written (as the cell's whole
// number) only when they differ.
void applyWhole(clsInstrument &inst, clsInstrument::M m, int i, const QString &text)
{
    double v = 0;
    if (!number(text, &v) || inst.number(m, i) == v)
        return;
    if (const std::optional<int16_t> n = ToInt16(v))
        inst.setNumber(m, *n, i);
}

} // namespace

bool ZeroSuppressAcceptable(const QString &text)
{
    return text.size() == 1 && text.at(0) >= QLatin1Char('0') && text.at(0) <= QLatin1Char('3');
}

bool PidNameKnown(const clsInstrument &edit, const QString &name) { return FsPid::PidEntryOf(edit, name) >= 0; }

std::optional<QString> MEValue(int row, int col, const QString &text)
{
    double v = 0;
    if (text.size() >= 6 || !number(text, &v))
        return std::nullopt;
    const double n = RoundHalfEven(v);
    const bool evDaMe = row == 2 && col == 2;
    const double lo = evDaMe ? 0 : 30;
    const double hi = evDaMe ? 40 : 255;
    if ((row != 1 && row != 2) || col < 1 || col > 3 || n < lo || n > hi)
        return std::nullopt;
    return QString::number(int(n));
}

void ApplyME(clsInstrument &inst, const MEGrid &cells)
{
    using M = clsInstrument::M;
    for (int i = 0; i < 2; ++i)
        applyWhole(inst, M::HH_, i, cells[1][size_t(i + 1)]);
    for (int i = 0; i < 3; ++i)
        applyWhole(inst, M::HE_, i, cells[2][size_t(i + 1)]);
    for (int i = 0; i < 2; ++i)
        applyWhole(inst, M::RP_, i, cells[3][size_t(i + 1)]);
    for (int r = 4; r <= 7; ++r)
        applyWhole(inst, M::SI_, r - 4, cells[size_t(r)][2]);
}

void ApplyOtherSet(clsInstrument &inst, const OtherSet &grid)
{
    // Boxes show "checked" for the value 1 (the PID box for 0); a member holding some
    // other value is rewritten only when the box was changed away from what it showed.
    for (int ch = 1; ch <= 3; ++ch) {
        const int state = grid.altRange[size_t(ch)];
        if (state == 0 || (inst.AltRng(ch) == 1) == (state == 1))
            continue;
        inst.setAltRng(ch, state == 1 ? 1 : 0);
        GetOtherSetChannel(inst, ch);
    }
    for (int ch = 0; ch < kChannels; ++ch) {
        const int state = grid.zero[size_t(ch)];
        if (state != 0 && (inst.Zero(ch) == 1) != (state == 1))
            inst.setZero(ch, state == 1 ? 1 : 0);
    }
    for (int ch = 0; ch < kChannels; ++ch)
        if (ch != kOxyChannel)
            applyWhole(inst, clsInstrument::M::ZeroForce, ch, grid.zeroSuppress[size_t(ch)]);
    for (int ch = 0; ch < kChannels; ++ch) {
        const int state = grid.pidHigh[size_t(ch)];
        if (inst.GasType(ch) != SensorType::Pid || state == 0)
            continue;
        if ((inst.PIDSmallRange(ch) == 0) != (state == 1))
            inst.setPIDSmallRange(ch, state == 1 ? 0 : 1);
    }
}

void GetOtherSetChannel(clsInstrument &inst, int ch)
{
    const int a = inst.AltRng(ch);
    if (ch < 1 || ch > 3 || a < 0 || a > 1)
        return;
    const RangeSpec &s = gRangeSpecs[size_t(a)][size_t(ch)];
    inst.setGasFullScale(ch, s.FullScale);
    inst.setGasDesit(ch, s.Step);
    if (const std::optional<int16_t> points = ToInt16(s.DecimalPlaces))
        inst.setGasPoint(ch, *points);
    if (ch == kOxyChannel) {
        const int p = inst.AlarmO2();
        if (p >= 0 && p <= 2) {
            inst.setWarning(ch, gO2Warning[size_t(a)][size_t(p)]);
            inst.setAlarm(ch, gO2Alarm[size_t(a)][size_t(p)]);
        }
    } else {
        inst.setWarning(ch, s.Warning);
        inst.setAlarm(ch, s.Alarm);
    }
    inst.setStel(ch, s.Stel);
    inst.setTwa(ch, s.Twa);
    inst.setAutoCalib(ch, s.AutoCalib);
}

} // namespace FsOther
