// Memory dumps (FLASH, FRAM, option-board memory) and the option-board byte commands.
#include "core/FileIO.h"
#include "core/Wait.h"
#include "link/modAddLib.h"
#include "link/uclQlifPrivate.h"
#include "settingsfiles/SettingLabel.h"
#include <QElapsedTimer>

namespace {
constexpr int kFlashBlock = 1024;
constexpr int kFramSize = 8192;
constexpr int kFramBlock = 256;
constexpr int kOptBlock = 128;
constexpr int kMaxOptSize = 65536;
constexpr int kProgressEvery = 16;

// A dump that could not start, said like one that stopped.
QString NotStarted(const QString &what, const QString &why) { return QStringLiteral("%1 not started: %2").arg(what, why); }
const char *const kBusy = "another transfer is running";
} // namespace

QByteArray Hex4Field(int value)
{
    return QByteArray::number(value & 0xFFFF, 16).toUpper().rightJustified(4, '0');
}

void uclQlif::handleBinary(const Link::Frame &f)
{
    if (m_pending != PendingKind::Dump || !m_dump) {
        m_log.addLine(QStringLiteral("<<< Unexpected block >>>"));
        return;
    }
    DumpState &d = *m_dump;
    const quint16 expected = quint16(d.first + d.received * d.step);
    if (f.header == expected && f.body.size() == d.blockSize) {
        sendRaw(QByteArray(1, Link::ACK));
        gDataReceived = true;
        m_order.answeredBy(m_group);
        if (!d.sinkFailed && !d.sink(d.received, f.body))
            d.sinkFailed = true;
        ++d.received;
        m_ticksLeft = m_timeout * 10;
        m_resendsLeft = m_retry; // every block is its own exchange: its retries start afresh
        if (d.received % kProgressEvery == 0 || d.received == d.count)
            emit DumpMessage(QStringLiteral("%1 %2/%3").arg(d.label).arg(d.received).arg(d.count));
        if (d.sinkFailed) {
            sendRaw(QByteArray(1, Link::ESC));
            failPending(QStringLiteral("the image could not be kept"));
        } else if (d.received >= d.count) {
            m_order.completedBy(m_group); // the next dump of its kind needs nothing settled
            completePending(Outcome::Accepted, {});
        } else if (f.last) {
            // The instrument ended early: ask for the rest while retries last.
            if (m_resendsLeft-- > 0)
                resendPending();
            else
                failPending(QStringLiteral("the instrument ended the transfer early (%1 tries)").arg(m_sends));
        }
        return;
    }
    const int back = (int(expected) - int(f.header)) & 0xFFFF;
    if (f.body.size() == d.blockSize && back > 0 && back <= d.step * 4 && back % d.step == 0) {
        sendRaw(QByteArray(1, Link::ACK)); // a repeat of a block we have: our ACK was lost
        return;
    }
    // A gap or a block of the wrong size: stop the stream and ask again from the missing block.
    m_log.addLine(QStringLiteral("<<< Block out of order >>>"));
    sendRaw(QByteArray(1, Link::ESC));
    if (m_resendsLeft-- > 0)
        resendPending();
    else
        failPending(QStringLiteral("the blocks arrived out of order (%1 tries)").arg(m_sends));
}

void uclQlif::drainLine()
{
    // Blocks already on their way when a dump stops would otherwise be taken for damaged
    // answers of the next exchange and sent again into it. With nothing pending they are
    // dropped unacknowledged; wait until the line has been quiet for a few ticks.
    const int tick = m_timer.interval();
    const int quietMs = 3 * tick;
    QElapsedTimer since;
    since.start();
    WaitUntil(
        [&] {
            return since.elapsed() >= quietMs &&
                   (!m_sinceReceive.isValid() || m_sinceReceive.elapsed() >= quietMs);
        },
        qMax(2000, 20 * tick), qMax(1, tick / 2));
    m_asm.reset();
}

bool uclQlif::runDump(DumpState &d)
{
    settleBefore(d.requestFrom(0).left(2));
    m_dump = &d;
    m_asm.setBinaryPayloadLength(d.blockSize);
    m_status = StatusDump;
    bool sent = !m_cancel && sendRequest(d.requestFrom(0), PendingKind::Dump);
    if (sent)
        waitFor([&] { return m_pendingDone; });
    const bool complete = sent && m_pendingDone && m_reply.outcome == Outcome::Accepted && d.received == d.count &&
                          !d.sinkFailed;
    if (!complete) {
        if (m_cancel)
            d.why = QStringLiteral("cancelled");
        else if (!sent)
            d.why = QStringLiteral("the line is not open");
        else if (!m_pendingDone)
            d.why = QStringLiteral("the line was lost");
        else if (m_reply.outcome == Outcome::Refused)
            d.why = QStringLiteral("the instrument refused it");
        else if (m_reply.outcome == Outcome::Busy)
            d.why = QStringLiteral("the instrument was busy");
        else
            d.why = m_reply.why.isEmpty() ? QStringLiteral("the transfer did not complete") : m_reply.why;
    }
    if (sent && !m_pendingDone)
        sendRaw(QByteArray(1, Link::ESC)); // cancelled: tell the instrument to stop sending
    m_pending = PendingKind::None;
    m_dump = nullptr;
    if (sent && !complete)
        drainLine();
    m_asm.setBinaryPayloadLength(0);
    m_status = complete ? StatusDone : (m_cancel ? StatusCancelled : StatusFailed);
    return complete;
}

// Runs a dump whose sink fills image, then puts the image over the file in one step:
// on any failure the earlier file stays as it was.
bool uclQlif::dumpToFile(DumpState &d, const QByteArray &image, const QString &FilePath,
                         const std::function<QString()> &what)
{
    if (runDump(d)) {
        const FileResult w = WriteFileWhole(FilePath, image);
        if (w)
            return true;
        m_dumpFileError = w.error;
        m_log.addLine(QStringLiteral("<<< Cannot write %1: %2 >>>").arg(FilePath, w.error));
    } else {
        // Blocks counted from 1, as the progress window counts them.
        const QString failure = QStringLiteral("%1 failed at block %2 of %3: %4")
                                    .arg(what())
                                    .arg(qMin(d.received + 1, d.count))
                                    .arg(d.count)
                                    .arg(d.why);
        m_dumpFailure = failure;
        m_log.addLine(QStringLiteral("<<< %1 >>>").arg(failure));
    }
    emit DumpMessage(QStringLiteral("failed "));
    return false;
}

bool uclQlif::GetBinDump(const QString &FilePath, int sb, int eb)
{
    m_dumpFileError.clear();
    m_dumpFailure.clear();
    const auto what = [] { return SettingLabel(QStringLiteral("EP")); };
    if (sb < 0 || eb < sb || eb > 0xFFFF) {
        m_dumpFailure = NotStarted(what(), QStringLiteral("blocks %1 to %2 are not in the memory").arg(sb).arg(eb));
        emit DumpMessage(QStringLiteral("failed "));
        return false;
    }
    if (!beginOperation()) {
        m_dumpFailure = NotStarted(what(), QLatin1String(kBusy));
        return false;
    }
    OpScope scope{[this] { endOperation(); }};
    emit DumpMessage(QStringLiteral("Initialize Local Image"));
    QByteArray image; // at most 64 MiB (0x10000 blocks of 1 KiB)
    emit DumpMessage(QStringLiteral("Get FLASH Image"));
    DumpState d;
    d.first = sb;
    d.step = 1;
    d.count = eb - sb + 1;
    d.blockSize = kFlashBlock;
    d.label = QStringLiteral("Get FLASH Image");
    d.requestFrom = [sb, eb](int from) { return "EP,R," + Hex4Field(sb + from) + "," + Hex4Field(eb) + ","; };
    d.sink = [&image](int, const QByteArray &payload) {
        image += payload;
        return true;
    };
    return dumpToFile(d, image, FilePath, what);
}

// A dump of fixed-size blocks addressed by their offset, gathered into image (whose size is
// the memory's; bytes no block brings keep the image's fill) and put over FilePath in one step.
bool uclQlif::addressedDump(QByteArray &image, int blockSize, const QString &label,
                            const std::function<QByteArray(int fromBlock)> &requestFrom, const QString &FilePath,
                            const std::function<QString()> &what)
{
    DumpState d;
    d.first = 0;
    d.step = blockSize;
    d.count = (int(image.size()) + blockSize - 1) / blockSize;
    d.blockSize = blockSize;
    d.label = label;
    d.requestFrom = requestFrom;
    d.sink = [&image, blockSize](int block, const QByteArray &payload) {
        const qsizetype at = qsizetype(block) * blockSize;
        const qsizetype n = qMin<qsizetype>(payload.size(), image.size() - at);
        if (n > 0)
            image.replace(at, n, payload.left(n));
        return true;
    };
    return dumpToFile(d, image, FilePath, what);
}

bool uclQlif::GetBinDumpFRAM(const QString &FilePath)
{
    m_dumpFileError.clear();
    m_dumpFailure.clear();
    const auto what = [] { return SettingLabel(QStringLiteral("EF")); };
    if (!beginOperation()) {
        m_dumpFailure = NotStarted(what(), QLatin1String(kBusy));
        return false;
    }
    OpScope scope{[this] { endOperation(); }};
    emit DumpMessage(QStringLiteral("Initialize Local Image"));
    QByteArray image(kFramSize, char(0));
    emit DumpMessage(QStringLiteral("Get FRAM Image"));
    return addressedDump(
        image, kFramBlock, QStringLiteral("Get FRAM Image"),
        [](int from) { return "EF,R," + Hex4Field(from * kFramBlock) + "," + Hex4Field(kFramSize - kFramBlock) + ","; },
        FilePath, what);
}

bool uclQlif::GetOptBinDump(int ch, const QString &cmd, const QString &FilePath, int sz)
{
    m_dumpFileError.clear();
    m_dumpFailure.clear();
    const auto what = [ch, cmd] {
        return SettingLabel(QStringLiteral("OD"), QStringLiteral("%1,%2").arg(ch).arg(cmd));
    };
    if (ch < 1 || ch > 3 || sz < 1 || sz > kMaxOptSize || cmd.size() != 3) {
        m_dumpFailure = NotStarted(what(), QStringLiteral("no such board, memory or size (%1 bytes)").arg(sz));
        emit DumpMessage(QStringLiteral("failed "));
        return false;
    }
    if (!beginOperation()) {
        m_dumpFailure = NotStarted(what(), QLatin1String(kBusy));
        return false;
    }
    OpScope scope{[this] { endOperation(); }};
    emit DumpMessage(QStringLiteral("Initialize Local Image"));
    QByteArray image(sz, char(0xFF)); // memory the board does not send stays erased
    const int blocks = (sz + kOptBlock - 1) / kOptBlock;
    const QByteArray sub = cmd.toLatin1();
    return addressedDump(
        image, kOptBlock, QStringLiteral("Get Option Image"),
        [ch, sub, blocks](int from) {
            return "OD,R," + QByteArray::number(ch) + "," + sub + "," + Hex4Field(from * kOptBlock) + "," +
                   Hex4Field((blocks - 1) * kOptBlock) + ",";
        },
        FilePath, what);
}

bool uclQlif::ByteArrayMode(int ch, const QString &SubCmd)
{
    if (ch < 1 || ch > 3 || (SubCmd != QLatin1String("S") && SubCmd != QLatin1String("E")))
        return false;
    if (!beginOperation())
        return false;
    OpScope scope{[this] { endOperation(); }};
    const Reply r = exchange("MM,W," + QByteArray::number(ch) + "," + SubCmd.toLatin1() + ",", StatusWaitWrite);
    return r.outcome == Outcome::Accepted;
}

QString uclQlif::getOptData(int ch, const QString &cmd, int byt)
{
    if (ch < 1 || ch > 3 || byt < 1 || byt > 256 || cmd.isEmpty() || cmd.size() > 8)
        return {};
    if (!beginOperation())
        return {};
    OpScope scope{[this] { endOperation(); }};
    const QByteArray sub = cmd.toLatin1();
    const Reply r = exchange("OB,R," + QByteArray::number(ch) + "," + sub + "," + QByteArray::number(byt, 16).toUpper() + ",",
                             StatusWaitRead);
    // "OB,R,<ch>,<cmd>,<data as hex pairs>,"
    if (r.outcome != Outcome::Accepted || r.answer.fields.size() < 3 || r.answer.fields[1] != sub)
        return {};
    const QByteArray hex = r.answer.fields[2];
    if (hex.size() % 2 != 0)
        return {};
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return {};
    return QString::fromLatin1(QByteArray::fromHex(hex).left(byt));
}
