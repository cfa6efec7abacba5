#pragma once
#include "link/FrameCodec.h"
#include <QByteArray>
#include <QList>

// The requests on the line that may still be answered, in the order they went out.
//
// The instrument handles one request at a time, in the order it got them, and the line keeps
// that order. So an answer settles every request sent before the one it answers: those were
// lost, or their answers were. An answer that carries no entry ("XS,W,") may belong to any
// request of its code still out; it is a request's own only when every request it could answer
// is that request (or a resent copy of it).
//
// A NAK is a request too: the instrument answers it with its last frame again, which is the
// answer of a request sent before the NAK (one still out, or the one answered last). The repeat
// confirms nothing sent after the NAK. An answer that may be a request's own or that NAK's
// repeat leaves the request unsure; when the NAK then has an answer that can only be its own,
// the first answer was the request's.
class RequestOrder
{
public:
    // Requests of one exchange (a request and its resent copies) share a group number.
    // key: the entry of a list read, which its answer starts with; empty otherwise.
    void sent(quint64 group, const QByteArray &code, char mode, const QByteArray &key);
    // A NAK went out: the line owes a copy of the instrument's last frame.
    void repeatAsked();

    struct Match {
        bool any = false;        // some request still out could have this answer
        quint64 first = 0;       // group of the earliest such request
        bool oneGroup = true;    // every request it could answer is of that group
        bool pendingMay = false; // the group asked about (match's argument) is among them
        // answered() only: the answer settled the request of group `first`, and the only others
        // it may belong to are the repeat of one NAK sent after it. Whether it was that
        // request's own is known once that NAK has its own answer (confirms) or is settled.
        bool unsure = false;
        quint64 confirms = 0; // an earlier unsure answer was this group's after all
        bool ownOf(quint64 group) const { return any && oneGroup && first == group; }
        bool mayBePending() const { return pendingMay; }
    };
    // Which requests still out could have this answer; changes nothing. group: the request
    // waiting, for mayBePending (0: none).
    Match match(const Link::Answer &answer, quint64 group) const;
    // The answer arrived: the earliest request it could answer is answered or dead, and so is
    // everything sent before it.
    Match answered(const Link::Answer &answer, quint64 group);
    // An answer that can only be the group's (a memory block) arrived: everything sent before
    // the group is settled.
    void answeredBy(quint64 group);
    // The group's answer is complete (a memory dump's last block): its first request still out
    // and everything before it are settled. A later copy may still be answered.
    void completedBy(quint64 group);

    // Whether a request of this code is still out: an answer of the code may then be its.
    bool holds(const QByteArray &code) const;
    // Whether a request of this group (an exchange's first send or a resent copy) is still out.
    bool holdsGroup(quint64 group) const;

    void clear()
    {
        m_out.clear();
        m_lastAnswer = {};
    }

private:
    struct Request {
        quint64 group = 0; // 0: an earlier request's, settled already
        QByteArray code;
        char mode = 0;
        QByteArray key; // entry of a list read: its answer starts with it
    };
    struct Sent {
        Request request;
        QList<Request> repeatOf; // a NAK: its repeat may be the answer of any of these
        quint64 unsureOf = 0;    // a NAK: the group whose request an answer settled that may
                                 // have been this NAK's repeat instead
    };
    static bool mayAnswer(const Request &s, const Link::Answer &a);
    // Every request an answer may belong to, with its place on the list: a request, or each
    // one a NAK's repeat may copy.
    template <typename Fn> void forEachRequest(Fn &&fn) const
    {
        for (qsizetype i = 0; i < m_out.size(); ++i) {
            if (m_out[i].repeatOf.isEmpty())
                fn(m_out[i].request, i);
            else
                for (const Request &r : m_out[i].repeatOf)
                    fn(r, i);
        }
    }
    void keep(Sent s); // appends, the oldest going past the bound
    // Settles what went before the group's first request still out, and with through that one too.
    void settleUpTo(quint64 group, bool through);
    // The match, and where the earliest request it may belong to stands; *nak: where the one
    // NAK stands that holds every other group the answer may belong to (-1: none, or several).
    Match scan(const Link::Answer &answer, quint64 group, qsizetype *earliest, qsizetype *nak = nullptr) const;
    void noteAnswer(const Link::Answer &answer);

    // Bounded: every answer removes at least the request it answers. A line that answers
    // nothing for a long search keeps its probes here; past the bound the oldest goes, a
    // request thousands of exchanges old.
    static constexpr qsizetype kMaxKept = 4096;
    QList<Sent> m_out;
    Request m_lastAnswer; // the kind of the last answer that arrived whole: a NAK may repeat it
};
