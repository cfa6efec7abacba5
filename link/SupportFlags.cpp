#include "link/SupportFlags.h"
#include <algorithm>

using M = clsInstrument::M;

void GroupSupport::missed(clsInstrument &inst, const SettingLines::Entry &e, const QString &why)
{
    if (SettingLines::supportFlag(e) == M::Count)
        SettingLines::markUnread(inst, e);
    m_missed.append({&e, why});
}

void GroupSupport::answered(const SettingLines::Entry &e)
{
    const M flag = SettingLines::supportFlag(e);
    if (flag != M::Count && !m_answered.contains(flag))
        m_answered.append(flag);
}

GroupSupport::Settled GroupSupport::settle(clsInstrument &inst) const
{
    Settled out;
    struct Raised {
        M flag;
        QStringList codes; // as its entries were missed
    };
    QVector<Raised> raised;
    clsInstrument::DeviceDoor door(inst);
    for (const Missed &m : m_missed) {
        const M flag = SettingLines::supportFlag(*m.entry);
        if (flag == M::Count) {
            out.unread.append(m);
        } else if (!m_answered.contains(flag)) {
            auto it = std::find_if(raised.begin(), raised.end(), [flag](const Raised &r) { return r.flag == flag; });
            if (it == raised.end()) {
                inst.setNumber(flag, -1);
                it = raised.insert(raised.end(), {flag, {}});
            }
            if (!it->codes.contains(m.entry->code))
                it->codes.append(m.entry->code);
        } else if (inst.number(flag) == 0) {
            SettingLines::markUnread(inst, *m.entry);
            out.unread.append(m);
        }
    }
    for (const Raised &r : raised)
        out.refused.append(r.codes.join(QStringLiteral(", ")));
    return out;
}
