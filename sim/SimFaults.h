#pragma once
#include <QByteArray>

// Failures the simulated instrument can be told to show, each by rule.
enum class SimFault {
    CorruptChecksum, // the answer (or the nth block of a dump) goes out with a wrong checksum once
    NoAnswer,        // the request is ignored
    Delay,           // the answer leaves after delayMs; every answer after it waits behind it
    Refuse,          // "CC,N," in place of the answer
    FewerFields,     // the answer lacks its last dropFields fields (an older instrument)
    Garbage,         // junk bytes before the answer
    ByteByByte,      // the answer is delivered one byte at a time
    BusyForever,     // busy polls (UX, SZ, S2, BP after UP) never end
    BadClock,        // the clock answer holds an impossible date
    HangUp,          // the line goes down instead of answering
    DamageAll,       // every frame the instrument sends, each resend after NAK too, has a wrong checksum
    LateAnswer,      // the answer is held back and sent only when the next request arrives
                     // (the program's resend), just before the answer to that one
    DropMidFrame,    // half the answer goes out, then the line goes down
    StaleRead,       // a read answer of the same code, left over from before, comes in place of
                     // the answer; the request itself is lost
    NakRequest,      // the request cannot be read: NAK in place of the answer
    Chatter,         // after the answer, the same answer again every delayMs until the next
                     // request arrives (a line that keeps talking)
    DamagedBefore,   // a damaged copy of the last frame sent (a late answer hit by noise) goes
                     // out just before the answer (or alone, when a rule loses the request)
    HoldRepeat       // the frame sent again after a NAK leaves after delayMs; every answer after
                     // it waits behind it (a test lets it go with sendHeldNow)
};

// Which requests a rule hits: code ("" any) and mode (0 any); from the nth matching request
// (1-based) on, `times` times (-1: every time). For CorruptChecksum on a dump code, nth counts
// the dump's blocks instead.
struct SimFaultRule {
    SimFault fault = SimFault::NoAnswer;
    QByteArray code;
    char mode = 0;
    int nth = 1;
    int times = 1;
    int delayMs = 0;
    int dropFields = 1;
};
