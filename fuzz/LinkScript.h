#pragma once
#include <QByteArray>
#include <QList>

// The input of the link's receive-path fuzzer: one byte that chooses the operation, then the
// pieces the instrument sends, each after one write of the link (a request, an ACK, a NAK),
// as a two-byte little-endian length and the bytes.
namespace LinkScript {

struct Script {
    quint8 operation = 0;
    QList<QByteArray> pieces;
};

inline Script Decode(const char *data, qsizetype size)
{
    Script s;
    if (size < 1)
        return s;
    s.operation = quint8(data[0]);
    qsizetype at = 1;
    while (at + 2 <= size) {
        const qsizetype n = qsizetype(quint8(data[at])) | (qsizetype(quint8(data[at + 1])) << 8);
        at += 2;
        const qsizetype take = qMin(n, size - at);
        s.pieces.append(QByteArray(data + at, take));
        at += take;
    }
    return s;
}

inline QByteArray Encode(const Script &s)
{
    QByteArray out(1, char(s.operation));
    for (const QByteArray &p : s.pieces) {
        const qsizetype n = qMin<qsizetype>(p.size(), 0xFFFF);
        out += char(n & 0xFF);
        out += char(n >> 8);
        out += p.left(n);
    }
    return out;
}

} // namespace LinkScript
