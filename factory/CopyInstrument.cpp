#include "factory/CopyInstrument.h"
#include "model/clsInstrument.h"

#include <iterator>

namespace {

using M = clsInstrument::M;

// How a member travels. The rule for every member of the list unless kExceptions says
// otherwise is Own over the member's entries: each entry under its own Change_ flag, and a
// member without a flag in the full copy only.
enum class Way : uint8_t {
    Own,
    Group,    // the changed-only copy writes the whole range when any entry of it is flagged
    FullOnly, // never in the changed-only copy, whatever the flags say
    Never,
};

struct Plan {
    Way way = Way::Own;
    int16_t first = 0;
    int16_t last = -1;     // -1: the member's last entry
    int16_t lastBack = -1; // the changed-only copy stops here (-1: at last)
};

// Gas channels: the full copy takes 0..8 (9 is channel 1's vol% range, which the record's
// owner derives); only the instrument's channels 0..6 go back, apart from the names.
constexpr int16_t kLastChannel = 8;
constexpr int16_t kLastInstrumentChannel = 6;
constexpr Plan kChannel{Way::Own, 0, kLastChannel, kLastInstrumentChannel};
constexpr Plan kReadOnlyChannel{Way::FullOnly, 0, kLastChannel};

// Where the copy departs from the rule above.
constexpr struct {
    M member;
    Plan plan;
} kExceptions[] = {
    // Link fields, live values and what only the main window edits: not the dialog's.
    {M::SUM, {Way::Never}}, {M::CommFlags, {Way::Never}}, {M::ImportFlag, {Way::Never}},
    {M::FailLine, {Way::Never}}, {M::MessageString, {Way::Never}}, {M::Key, {Way::Never}},
    {M::Ratio, {Way::Never}}, {M::CalibBefore, {Way::Never}}, {M::CalibAfter, {Way::Never}},
    {M::CalibDate, {Way::Never}}, {M::AnalogValue, {Way::Never}},
    {M::Inert1st, {Way::Never}}, {M::Inert2nd, {Way::Never}},
    // What the instrument reported of its command groups is not the dialog's to send back.
    {M::InvalidIF, {Way::FullOnly}},
    // Channels 7 and 8 carry channel 0's name, and it goes back with the others.
    {M::GasName, {Way::Own, 0, kLastChannel}},
    {M::GasUnit, kChannel}, {M::GasFullScale, kChannel}, {M::GasDesit, kChannel}, {M::GasPoint, kChannel},
    {M::GasEnabled, kChannel}, {M::AutoCalib, kChannel}, {M::PIDSmallRange, kChannel},
    {M::Warning, kChannel}, {M::Alarm, kChannel}, {M::Stel, kChannel}, {M::Twa, kChannel},
    // Read from the instrument; the dialog shows them but never sends them.
    {M::GasType, kReadOnlyChannel}, {M::AutoRange, kReadOnlyChannel}, {M::changeDenst, kReadOnlyChannel},
    // Groups the instrument takes in one command: any flagged entry sends the whole group.
    {M::Zero, {Way::Group, 0, kLastChannel, kLastInstrumentChannel}},
    {M::ZeroForce, {Way::Group, 0, kLastInstrumentChannel}},
    {M::AltRng, {Way::Group, 1, 3}}, // the alternate ranges of the fixed channels
    {M::HH_, {Way::Group}}, {M::HE_, {Way::Group}}, {M::RP_, {Way::Group}}, {M::SI_, {Way::Group}},
};

Plan planOf(M m)
{
    for (const auto &e : kExceptions)
        if (e.member == m)
            return e.plan;
    return {};
}

// The last entry of a member. The original's tables are dimensioned 0..N for N entries:
// the top one of a bounded table is a spare that no command carries.
int lastEntry(M m, const Plan &plan)
{
    if (plan.last >= 0)
        return plan.last;
    const clsInstrument::MemberInfo &mi = clsInstrument::info(m);
    return mi.outsideIsError && mi.count1 > 1 ? mi.count1 - 2 : mi.count1 - 1;
}

// A value the download could not read stays unread wherever it is copied: the copy holds it
// no more than the original did.
void copyValue(clsInstrument &dst, const clsInstrument &src, M m, int i, int j)
{
    dst.setValue(m, src.value(m, i, j), i, j);
    if (src.isUnread(m, i, j))
        dst.setUnread(m, i, j);
}

void copyEntry(clsInstrument &dst, const clsInstrument &src, M m, int i)
{
    for (int j = 0; j < clsInstrument::info(m).count2; ++j)
        copyValue(dst, src, m, i, j);
}

} // namespace

void CopyInstrument(clsInstrument &dst, const clsInstrument &src, bool onlyChanged)
{
    for (int k = 0; k < int(M::Count); ++k) {
        const M m = M(k);
        const Plan plan = planOf(m);
        if (plan.way == Way::Never || (onlyChanged && plan.way == Way::FullOnly))
            continue;
        const int last = onlyChanged && plan.lastBack >= 0 ? plan.lastBack : lastEntry(m, plan);
        bool anyInGroup = false;
        if (onlyChanged && plan.way == Way::Group)
            for (int i = plan.first; i <= last && !anyInGroup; ++i)
                anyInGroup = src.isChanged(m, i);
        for (int i = plan.first; i <= last; ++i) {
            if (!onlyChanged || anyInGroup) {
                copyEntry(dst, src, m, i);
                continue;
            }
            for (int j = 0; j < clsInstrument::info(m).count2; ++j)
                if (src.isChanged(m, i, j))
                    copyValue(dst, src, m, i, j);
        }
    }
    // The catalytic ratio of channel 0 travels as FL_(0); the record keeps it as Ratio(0) too.
    if (src.Change_FL_(0))
        dst.setRatio(0, float(src.FL_(0)));
}
