#include "link/RequestOrder.h"

void RequestOrder::sent(quint64 group, const QByteArray &code, char mode, const QByteArray &key)
{
    if (m_out.size() >= kMaxKept)
        m_out.removeFirst();
    m_out.append({group, code, mode, key});
}

// A refusal and a busy answer answer a request of their code in any mode; any other answer
// only one in its own mode, and a list read only with its own entry first.
bool RequestOrder::mayAnswer(const Sent &s, const Link::Answer &a)
{
    if (a.code != s.code)
        return false;
    if (a.mode == 'N' || (a.mode == 'C' && !a.fields.isEmpty() && a.fields[0] == QByteArray(1, Link::SUB)))
        return true;
    if (a.mode != s.mode)
        return false;
    return s.key.isEmpty() || (!a.fields.isEmpty() && a.fields[0] == s.key);
}

RequestOrder::Match RequestOrder::scan(const Link::Answer &answer, qsizetype *earliest) const
{
    Match m;
    if (!answer.valid)
        return m;
    for (qsizetype i = 0; i < m_out.size(); ++i) {
        if (!mayAnswer(m_out[i], answer))
            continue;
        if (!m.any) {
            m.first = m_out[i].group;
            if (earliest)
                *earliest = i;
        }
        m.any = true;
        m.last = m_out[i].group;
    }
    return m;
}

RequestOrder::Match RequestOrder::match(const Link::Answer &answer) const { return scan(answer, nullptr); }

RequestOrder::Match RequestOrder::answered(const Link::Answer &answer)
{
    qsizetype earliest = -1;
    const Match m = scan(answer, &earliest);
    if (earliest >= 0)
        m_out.remove(0, earliest + 1);
    return m;
}

void RequestOrder::answeredBy(quint64 group)
{
    for (qsizetype i = 0; i < m_out.size(); ++i) {
        if (m_out[i].group == group) {
            m_out.remove(0, i);
            return;
        }
    }
}

void RequestOrder::completedBy(quint64 group)
{
    for (qsizetype i = 0; i < m_out.size(); ++i) {
        if (m_out[i].group == group) {
            m_out.remove(0, i + 1);
            return;
        }
    }
}

bool RequestOrder::holds(const QByteArray &code) const
{
    for (const Sent &s : m_out)
        if (s.code == code)
            return true;
    return false;
}
