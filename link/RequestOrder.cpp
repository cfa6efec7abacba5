#include "link/RequestOrder.h"

void RequestOrder::keep(Sent s)
{
    if (m_out.size() >= kMaxKept)
        m_out.removeFirst();
    m_out.append(std::move(s));
}

void RequestOrder::sent(quint64 group, const QByteArray &code, char mode, const QByteArray &key)
{
    keep(Sent{Request{group, code, mode, key}, {}});
}

// The repeat is a copy of the last frame the instrument sent before it read the NAK: the answer
// of a request still out, or a copy of the last answer that came (whose request is settled).
// Kinds are kept once each, so a NAK stays small on a long list.
void RequestOrder::repeatAsked()
{
    QList<Request> kinds;
    auto add = [&kinds](const Request &r) {
        if (r.code.isEmpty())
            return;
        for (const Request &k : kinds)
            if (k.group == r.group && k.code == r.code && k.mode == r.mode && k.key == r.key)
                return;
        kinds.append(r);
    };
    forEachRequest([&](const Request &r, qsizetype) { add(r); });
    add(m_lastAnswer);
    if (kinds.isEmpty())
        return; // nothing was ever asked: there is no frame to repeat
    keep(Sent{Request{}, kinds});
}

// A refusal and a busy answer answer a request of their code in any mode; any other answer
// only one in its own mode, and a list read only with its own entry first.
bool RequestOrder::mayAnswer(const Request &s, const Link::Answer &a)
{
    if (a.code != s.code)
        return false;
    if (a.mode == 'N' || Link::IsBusy(a))
        return true;
    if (a.mode != s.mode)
        return false;
    return s.key.isEmpty() || (!a.fields.isEmpty() && a.fields[0] == s.key);
}

RequestOrder::Match RequestOrder::scan(const Link::Answer &answer, quint64 group, qsizetype *earliest,
                                       qsizetype *nak) const
{
    Match m;
    qsizetype first = -1, other = -1;
    bool otherInOne = true, onlyFirst = true;
    if (!answer.valid)
        return m;
    auto take = [&](const Request &r, qsizetype at) {
        if (!mayAnswer(r, answer))
            return;
        if (!m.any) {
            m.first = r.group;
            first = at;
        }
        m.any = true;
        m.oneGroup = m.oneGroup && r.group == m.first;
        m.pendingMay = m.pendingMay || (group != 0 && r.group == group);
        onlyFirst = onlyFirst && at == first;
        if (r.group != m.first) {
            otherInOne = otherInOne && (other < 0 || other == at) && !m_out[at].repeatOf.isEmpty();
            other = at;
        }
    };
    forEachRequest(take);
    if (earliest)
        *earliest = first;
    if (nak)
        *nak = otherInOne && other > first ? other : -1;
    // The earliest place is a NAK that may have taken an unsure answer, and this answer can be
    // nobody's but that NAK's: the unsure answer was the request's.
    if (m.any && onlyFirst && !m_out[first].repeatOf.isEmpty())
        m.confirms = m_out[first].unsureOf;
    return m;
}

RequestOrder::Match RequestOrder::match(const Link::Answer &answer, quint64 group) const
{
    return scan(answer, group, nullptr);
}

RequestOrder::Match RequestOrder::answered(const Link::Answer &answer, quint64 group)
{
    qsizetype earliest = -1, nak = -1;
    Match m = scan(answer, group, &earliest, &nak);
    if (earliest >= 0) {
        m.unsure = !m.oneGroup && nak >= 0 && m_out[earliest].repeatOf.isEmpty();
        m_out.remove(0, earliest + 1);
        if (m.unsure)
            m_out[nak - earliest - 1].unsureOf = m.first;
    }
    noteAnswer(answer);
    return m;
}

void RequestOrder::noteAnswer(const Link::Answer &answer)
{
    if (!answer.valid)
        return;
    // A repeat is a copy of the frame: its first field is the same (a list read's entry).
    m_lastAnswer = {0, answer.code, answer.mode, answer.fields.value(0)};
}

void RequestOrder::answeredBy(quint64 group) { settleUpTo(group, false); }
void RequestOrder::completedBy(quint64 group) { settleUpTo(group, true); }

void RequestOrder::settleUpTo(quint64 group, bool through)
{
    for (qsizetype i = 0; i < m_out.size(); ++i) {
        if (m_out[i].repeatOf.isEmpty() && m_out[i].request.group == group) {
            m_out.remove(0, through ? i + 1 : i);
            return;
        }
    }
}

bool RequestOrder::holds(const QByteArray &code) const
{
    bool held = false;
    forEachRequest([&](const Request &r, qsizetype) { held = held || r.code == code; });
    return held;
}

bool RequestOrder::holdsGroup(quint64 group) const
{
    for (const Sent &s : m_out)
        if (s.repeatOf.isEmpty() && s.request.group == group)
            return true;
    return false;
}
