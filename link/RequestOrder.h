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
class RequestOrder
{
public:
    // Requests of one exchange (a request and its resent copies) share a group number.
    // key: the entry of a list read, which its answer starts with; empty otherwise.
    void sent(quint64 group, const QByteArray &code, char mode, const QByteArray &key);

    struct Match {
        bool any = false;      // some request still out could have this answer
        quint64 first = 0;     // group of the earliest such request
        quint64 last = 0;      // group of the latest such request
        bool ownOf(quint64 group) const { return any && first == group && last == group; }
        bool mayBeOf(quint64 group) const { return any && last == group; }
    };
    // Which requests still out could have this answer; changes nothing.
    Match match(const Link::Answer &answer) const;
    // The answer arrived: the earliest request it could answer is answered or dead, and so is
    // everything sent before it.
    Match answered(const Link::Answer &answer);
    // An answer that can only be the group's (a memory block) arrived: everything sent before
    // the group is settled.
    void answeredBy(quint64 group);
    // The group's answer is complete (a memory dump's last block): its first request still out
    // and everything before it are settled. A later copy may still be answered.
    void completedBy(quint64 group);

    // Whether a request of this code is still out: an answer of the code may then be its.
    bool holds(const QByteArray &code) const;

    void clear() { m_out.clear(); }

private:
    struct Sent {
        quint64 group;
        QByteArray code;
        char mode;
        QByteArray key; // entry of a list read: its answer starts with it
    };
    static bool mayAnswer(const Sent &s, const Link::Answer &a);
    // The match, and where the earliest request it may belong to stands.
    Match scan(const Link::Answer &answer, qsizetype *earliest) const;

    // Bounded: every answer removes at least the request it answers, and a line that answers
    // nothing is closed and opened again (which clears it) long before this fills; past it the
    // oldest goes, a request thousands of exchanges old.
    static constexpr qsizetype kMaxKept = 4096;
    QList<Sent> m_out;
};
