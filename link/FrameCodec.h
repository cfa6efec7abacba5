#pragma once
#include <QByteArray>
#include <QList>

// Framing of the instrument line: text frames, binary blocks, single ACK/NAK bytes.
// Pure byte work, no I/O, so the fuzzer and the simulator use it as is.
namespace Link {

constexpr char STX = 0x02, ETX = 0x03, EOT = 0x04, ENQ = 0x05, ACK = 0x06, NAK = 0x15, ETB = 0x17,
               SUB = 0x1A, ESC = 0x1B, CR = 0x0D;

// Bounds on what the far end may send us; anything longer is dropped, never buffered.
constexpr int kMaxTextBody = 1024;
constexpr int kMaxBinaryPayload = 4096;
constexpr int kMaxJunk = 256;

// (sum of body bytes + ETX) mod 256.
quint8 Checksum(const QByteArray &body);
QByteArray ChecksumHex(const QByteArray &body);

// STX body ETX hh EOT (or ETB when more blocks follow).
QByteArray BuildTextFrame(const QByteArray &body, bool last = true);
// STX hhhh payload ETX hh EOT/ETB; the checksum covers the four header digits and the payload.
QByteArray BuildBinaryFrame(quint16 header, const QByteArray &payload, bool last);

struct Frame {
    enum Kind {
        Text,     // a good text block: body holds "CC,M,fields"
        Binary,   // a good binary block: header and payload
        Ack,      // single ACK byte
        Nak,      // single NAK byte
        Bad,      // a complete frame with a wrong checksum or a malformed trailer
        Overlong, // a frame longer than the bounds; dropped
        Junk,     // bytes outside any frame; dropped
        BadChar   // a whole text frame, checksum right, whose body holds a byte a text frame
                  // does not carry (below blank but SUB, or above "~"): sending it again
                  // would bring the same bytes, so it is refused, never taken for damage
    };
    Kind kind = Junk;
    QByteArray body;     // text body (also of a BadChar frame), or binary payload
    quint8 badByte = 0;  // BadChar: the first byte refused
    quint16 header = 0;  // binary block number / address
    bool last = true;    // EOT or CR (true), ETB (false)
    QByteArray raw;      // the bytes as they came, for the serial log (binary payload excluded)
};

// Collects arriving bytes into frames. Binary blocks are recognised only while a payload length
// is set (a dump runs); their four header digits can never contain the "," that a text body has
// at its third place, so a text refusal in the middle of a dump is still understood.
class FrameAssembler
{
public:
    void setBinaryPayloadLength(int length); // 0: text only
    int binaryPayloadLength() const { return m_binLength; }
    void feed(const QByteArray &bytes);
    void feed(const char *data, qsizetype size);
    // Completed frames in arrival order; takes them out.
    QList<Frame> takeFrames();
    bool hasFrames() const { return !m_out.isEmpty(); }
    void reset();

private:
    enum State { Idle, Body, BinPayload, Check1, Check2, Trailer, Skip };
    void flushJunk();
    void emitFrame(Frame::Kind kind, bool last);
    void startFrame();

    State m_state = Idle;
    int m_binLength = 0;
    bool m_binary = false;
    QByteArray m_body;     // text body or header + payload
    QByteArray m_raw;
    QByteArray m_junk;
    char m_check[2] = {0, 0};
    QList<Frame> m_out;
};

// Splits a text body "CC,M,f1,f2,..." into code, mode and fields. The trailing "," after the
// last field is the usual ending and gives no empty field. Bounded by kMaxFields.
constexpr int kMaxFields = 128;
struct Answer {
    QByteArray code;
    char mode = 0;
    QList<QByteArray> fields;
    bool valid = false;
};
Answer SplitBody(const QByteArray &body);
// "CC,C,<SUB>,": the instrument is busy.
bool IsBusy(const Answer &a);

} // namespace Link
