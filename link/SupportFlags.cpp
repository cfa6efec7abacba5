#include "link/SupportFlags.h"

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
    QVector<M> raised;
    QVector<QStringList> codes; // of each raised group, as its entries were missed
    clsInstrument::DeviceDoor door(inst);
    for (const Missed &m : m_missed) {
        const M flag = SettingLines::supportFlag(*m.entry);
        if (flag == M::Count) {
            out.unread.append(m);
        } else if (!m_answered.contains(flag)) {
            qsizetype k = raised.indexOf(flag);
            if (k < 0) {
                inst.setNumber(flag, -1);
                raised.append(flag);
                codes.append(QStringList());
                k = raised.size() - 1;
            }
            if (!codes[k].contains(m.entry->code))
                codes[k].append(m.entry->code);
        } else if (inst.number(flag) == 0) {
            SettingLines::markUnread(inst, *m.entry);
            out.unread.append(m);
        }
    }
    for (const QStringList &c : codes)
        out.refused.append(c.join(QStringLiteral(", ")));
    return out;
}
