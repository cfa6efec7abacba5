#include "link/FrameCodec.h"

namespace Link {

namespace {
const char kHex[] = "0123456789ABCDEF";

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

quint8 Sum(const char *data, qsizetype size, quint8 start)
{
    quint32 s = start;
    for (qsizetype i = 0; i < size; ++i)
        s += static_cast<quint8>(data[i]);
    return static_cast<quint8>(s);
}
} // namespace

quint8 Checksum(const QByteArray &body)
{
    return static_cast<quint8>(Sum(body.constData(), body.size(), 0) + ETX);
}

QByteArray ChecksumHex(const QByteArray &body)
{
    const quint8 c = Checksum(body);
    QByteArray out(2, '0');
    out[0] = kHex[c >> 4];
    out[1] = kHex[c & 15];
    return out;
}

QByteArray BuildTextFrame(const QByteArray &body, bool last)
{
    QByteArray f;
    f.reserve(body.size() + 5);
    f += STX;
    f += body;
    f += ETX;
    f += ChecksumHex(body);
    f += last ? EOT : ETB;
    return f;
}

QByteArray BuildBinaryFrame(quint16 header, const QByteArray &payload, bool last)
{
    QByteArray body;
    body.reserve(payload.size() + 4);
    for (int shift = 12; shift >= 0; shift -= 4)
        body += kHex[(header >> shift) & 15];
    body += payload;
    return BuildTextFrame(body, last); // same framing, the body just holds bytes of any value
}

void FrameAssembler::setBinaryPayloadLength(int length)
{
    m_binLength = qBound(0, length, kMaxBinaryPayload);
}

void FrameAssembler::reset()
{
    m_state = Idle;
    m_binary = false;
    m_body.clear();
    m_raw.clear();
    m_junk.clear();
    m_out.clear();
}

QList<Frame> FrameAssembler::takeFrames()
{
    flushJunk();
    QList<Frame> out;
    out.swap(m_out);
    return out;
}

void FrameAssembler::flushJunk()
{
    if (m_junk.isEmpty())
        return;
    Frame f;
    f.kind = Frame::Junk;
    f.raw = m_junk;
    m_out.append(f);
    m_junk.clear();
}

void FrameAssembler::startFrame()
{
    flushJunk();
    m_state = Body;
    m_binary = false;
    m_body.clear();
    m_raw.clear();
    m_raw += STX;
}

void FrameAssembler::emitFrame(Frame::Kind kind, bool last)
{
    Frame f;
    f.kind = kind;
    f.last = last;
    f.raw = m_raw;
    if (m_binary && kind != Frame::Overlong) {
        f.header = 0;
        for (int i = 0; i < 4; ++i)
            f.header = static_cast<quint16>((f.header << 4) | HexDigit(m_body[i]));
        if (kind == Frame::Binary)
            f.body = m_body.mid(4);
    } else if (kind == Frame::Text || kind == Frame::BadChar) {
        f.body = m_body;
    }
    m_out.append(f);
    m_body.clear();
    m_raw.clear();
    m_binary = false;
    m_state = Idle;
}

void FrameAssembler::feed(const QByteArray &bytes) { feed(bytes.constData(), bytes.size()); }

void FrameAssembler::feed(const char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        const char c = data[i];
        switch (m_state) {
        case Idle:
        case Skip:
            if (c == STX) {
                startFrame();
            } else if (c == ACK || c == NAK) {
                flushJunk();
                Frame f;
                f.kind = c == ACK ? Frame::Ack : Frame::Nak;
                f.raw = QByteArray(1, c);
                m_out.append(f);
            } else {
                m_junk += c;
                if (m_junk.size() >= kMaxJunk)
                    flushJunk();
            }
            break;
        case Body:
            if (c == ETX) {
                m_raw += c;
                m_state = Check1;
            } else if (c == STX) {
                // A new frame began before this one ended: what we had is dropped.
                m_junk += m_raw;
                startFrame();
            } else {
                m_body += c;
                m_raw += c;
                if (m_body.size() > kMaxTextBody) {
                    emitFrame(Frame::Overlong, true);
                    m_state = Skip;
                } else if (m_binLength > 0 && m_body.size() == 4 && m_body[2] != ',' &&
                           HexDigit(m_body[0]) >= 0 && HexDigit(m_body[1]) >= 0 &&
                           HexDigit(m_body[2]) >= 0 && HexDigit(m_body[3]) >= 0) {
                    m_binary = true;
                    m_body.reserve(4 + m_binLength);
                    m_state = BinPayload;
                }
            }
            break;
        case BinPayload: {
            const qsizetype want = 4 + m_binLength - m_body.size();
            if (want > 0) {
                const qsizetype take = qMin(want, size - i);
                m_body.append(data + i, take);
                i += take - 1;
            } else if (c == ETX) {
                m_raw += c;
                m_state = Check1;
            } else {
                emitFrame(Frame::Bad, true);
                m_state = Skip;
                --i; // look at this byte again outside the frame
            }
            break;
        }
        case Check1:
            m_check[0] = c;
            m_raw += c;
            m_state = Check2;
            break;
        case Check2:
            m_check[1] = c;
            m_raw += c;
            m_state = Trailer;
            break;
        case Trailer: {
            const bool isEnd = c == EOT || c == ETB || c == CR;
            if (!isEnd) {
                emitFrame(Frame::Bad, true);
                --i;
                break;
            }
            m_raw += c;
            const int hi = HexDigit(m_check[0]);
            const int lo = HexDigit(m_check[1]);
            const bool good = hi >= 0 && lo >= 0 && Checksum(m_body) == quint8(hi * 16 + lo);
            Frame::Kind kind = good ? (m_binary ? Frame::Binary : Frame::Text) : Frame::Bad;
            quint8 refused = 0;
            if (kind == Frame::Text) {
                for (char b : std::as_const(m_body)) {
                    const auto u = static_cast<quint8>(b);
                    if ((u < 0x20 && b != SUB) || u > 0x7E) {
                        kind = Frame::BadChar;
                        refused = u;
                        break;
                    }
                }
            }
            emitFrame(kind, c != ETB);
            if (kind == Frame::BadChar)
                m_out.last().badByte = refused;
            break;
        }
        }
    }
}

bool IsBusy(const Answer &a)
{
    return a.mode == 'C' && !a.fields.isEmpty() && a.fields[0] == QByteArray(1, SUB);
}

Answer SplitBody(const QByteArray &body)
{
    Answer a;
    const qsizetype c1 = body.indexOf(',');
    if (c1 != 2 || body.size() < 4)
        return a;
    a.code = body.left(2);
    a.mode = body[3];
    if (body.size() > 4 && body[4] != ',')
        return a;
    qsizetype pos = 5;
    while (pos < body.size()) {
        if (a.fields.size() >= kMaxFields)
            return a;
        qsizetype next = body.indexOf(',', pos);
        if (next < 0)
            next = body.size();
        a.fields.append(body.mid(pos, next - pos));
        pos = next + 1;
    }
    a.valid = true;
    return a;
}

} // namespace Link
