#include "link/FrameCodec.h"
#include "link/SerialLog.h"
#include "LinkFixture.h"
#include "support/FileSizeLimit.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Link;

namespace {
QList<Frame> Parse(const QByteArray &bytes, int binLength = 0)
{
    FrameAssembler a;
    a.setBinaryPayloadLength(binLength);
    a.feed(bytes);
    return a.takeFrames();
}
} // namespace

TEST(FrameCodec, ChecksumCoversBodyAndEtx)
{
    // 0x52 + 0x43 + 0x2C + 0x52 + 0x2C + ETX = 0x142 -> 0x42
    EXPECT_EQ(Checksum("RC,R,"), 0x42);
    EXPECT_EQ(BuildTextFrame("RC,R,"), QByteArray("\x02RC,R,\x03" "42\x04"));
    EXPECT_EQ(BuildTextFrame("RC,R,", false).right(1), QByteArray(1, ETB));
}

TEST(FrameCodec, TextFramesSplitAtEotEtbAndCr)
{
    QByteArray stream = BuildTextFrame("XP,R,4,", false) + BuildTextFrame("XP,R,5,");
    QByteArray crEnded = BuildTextFrame("AP,R,1,");
    crEnded.back() = CR;
    stream += crEnded;
    const QList<Frame> f = Parse(stream);
    ASSERT_EQ(f.size(), 3);
    EXPECT_EQ(f[0].kind, Frame::Text);
    EXPECT_FALSE(f[0].last);
    EXPECT_EQ(f[1].body, "XP,R,5,");
    EXPECT_TRUE(f[1].last);
    EXPECT_EQ(f[2].kind, Frame::Text);
    EXPECT_TRUE(f[2].last);
}

TEST(FrameCodec, FrameSplitAcrossFeedsIsJoined)
{
    const QByteArray frame = BuildTextFrame("HC,R,240501093000,");
    FrameAssembler a;
    for (char c : frame)
        a.feed(QByteArray(1, c));
    const QList<Frame> f = a.takeFrames();
    ASSERT_EQ(f.size(), 1);
    EXPECT_EQ(f[0].body, "HC,R,240501093000,");
}

TEST(FrameCodec, WrongChecksumAndBadTrailerAreBad)
{
    QByteArray bad = BuildTextFrame("XP,R,4,");
    bad[bad.size() - 2] = bad[bad.size() - 2] == '0' ? '1' : '0';
    QByteArray noEnd = BuildTextFrame("XP,R,4,");
    noEnd.back() = 'x';
    const QList<Frame> f = Parse(bad + noEnd);
    ASSERT_GE(f.size(), 2);
    EXPECT_EQ(f[0].kind, Frame::Bad);
    EXPECT_EQ(f[1].kind, Frame::Bad);
}

TEST(FrameCodec, ControlByteInsideTextIsBadButSubIsAllowed)
{
    EXPECT_EQ(Parse(BuildTextFrame("UX,C,\x1A,")).value(0).kind, Frame::Text);
    EXPECT_EQ(Parse(BuildTextFrame("UX,C,\x07,")).value(0).kind, Frame::Bad);
}

TEST(FrameCodec, BytesOutsideFramesAreJunkAndAckNakStandAlone)
{
    const QList<Frame> f = Parse(QByteArray("zz") + ACK + "q" + NAK + BuildTextFrame("RC,R,"));
    ASSERT_EQ(f.size(), 5);
    EXPECT_EQ(f[0].kind, Frame::Junk);
    EXPECT_EQ(f[0].raw, "zz");
    EXPECT_EQ(f[1].kind, Frame::Ack);
    EXPECT_EQ(f[2].kind, Frame::Junk);
    EXPECT_EQ(f[3].kind, Frame::Nak);
    EXPECT_EQ(f[4].kind, Frame::Text);
}

TEST(FrameCodec, OverlongFrameIsDroppedAndTheNextOneStillParses)
{
    QByteArray huge(1, STX);
    huge += QByteArray(kMaxTextBody + 10, 'A');
    huge += ETX;
    const QList<Frame> f = Parse(huge + BuildTextFrame("RC,R,"));
    ASSERT_FALSE(f.isEmpty());
    EXPECT_EQ(f[0].kind, Frame::Overlong);
    EXPECT_EQ(f.last().kind, Frame::Text);
}

TEST(FrameCodec, BinaryBlockCarriesAnyByteAndATextRefusalStillParses)
{
    QByteArray payload(16, 0);
    for (int i = 0; i < 16; ++i)
        payload[i] = char(i == 3 ? ETX : i == 5 ? STX : 0xF0 + i); // control bytes inside the payload
    const QByteArray block = BuildBinaryFrame(0x0A1F, payload, false);
    const QList<Frame> f = Parse(block + BuildTextFrame("EP,N,"), 16);
    ASSERT_EQ(f.size(), 2);
    EXPECT_EQ(f[0].kind, Frame::Binary);
    EXPECT_EQ(f[0].header, 0x0A1F);
    EXPECT_EQ(f[0].body, payload);
    EXPECT_FALSE(f[0].last);
    EXPECT_EQ(f[1].kind, Frame::Text);
    EXPECT_EQ(f[1].body, "EP,N,");
    // Without a dump running the same bytes are not taken as a block.
    EXPECT_NE(Parse(block).value(0).kind, Frame::Binary);
}

TEST(FrameCodec, SplitBodyFieldsAndBounds)
{
    Answer a = SplitBody("XS,R,01,ALICE ,");
    ASSERT_TRUE(a.valid);
    EXPECT_EQ(a.code, "XS");
    EXPECT_EQ(a.mode, 'R');
    EXPECT_EQ(a.fields, (QList<QByteArray>{"01", "ALICE "}));
    EXPECT_TRUE(SplitBody("RO,W,").fields.isEmpty());
    EXPECT_EQ(SplitBody("A1,R,,x").fields, (QList<QByteArray>{"", "x"}));
    EXPECT_FALSE(SplitBody("XPR,").valid);
    EXPECT_FALSE(SplitBody("X,R,").valid);
    EXPECT_FALSE(SplitBody("XP,RR,").valid);
    EXPECT_FALSE(SplitBody("XP,R," + QByteArray(kMaxFields + 1, ',')).valid);
}

TEST(FrameCodec, RandomBytesNeverBreakTheAssembler)
{
    QRandomGenerator rng(42);
    FrameAssembler a;
    a.setBinaryPayloadLength(64);
    for (int round = 0; round < 2000; ++round) {
        QByteArray chunk(int(rng.bounded(200)), 0);
        for (auto &c : chunk)
            c = char(rng.bounded(8) == 0 ? STX : rng.bounded(256));
        a.feed(chunk);
        for (const Frame &f : a.takeFrames()) {
            EXPECT_LE(f.body.size(), kMaxTextBody + 64);
            EXPECT_LE(f.raw.size(), kMaxTextBody + 8);
            SplitBody(f.body);
        }
    }
    a.feed(BuildTextFrame("RC,R,"));
    const QList<Frame> after = a.takeFrames();
    ASSERT_FALSE(after.isEmpty());
    EXPECT_EQ(after.last().kind, Frame::Text); // it still finds its feet
}

TEST(SerialLogText, ControlCharactersAreNamed)
{
    EXPECT_EQ(SerialLog::Visible(QByteArray("\x02" "AB\x03" "1F\x04\x06\x15\x17\x1A\x1B\x05\x01\x7F", 15)),
              QStringLiteral("[STX]AB[ETX]1F[EOT][ACK][NAK][ETB][SUB][ESC][ENQ][01][7F]"));
    Frame f;
    f.kind = Frame::Binary;
    f.body = QByteArray(1024, 'x');
    f.raw = QByteArray("\x02" "0003\x03" "7A\x17");
    EXPECT_EQ(SerialLog::VisibleBinary(f), QStringLiteral("[STX]0003<1024 bytes>[ETX]7A[ETB]"));
}

// The log never grows without end: past its bound one line says so and nothing follows
// until the file is opened anew.
TEST(SerialLogText, LogStopsAtItsBound)
{
    QTemporaryDir dir;
    SerialLog log;
    log.setPath(dir.filePath(QStringLiteral("SerialLog.log")));
    log.setEnabled(true);
    log.setMaxBytes(300);
    for (int i = 0; i < 50; ++i)
        log.addLine(QStringLiteral("> : line %1").arg(i));
    QFile f(log.path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_LE(text.size(), 300);
    EXPECT_TRUE(text.endsWith("<<< Serial log full: later lines are not written >>>\r\n")) << text.toStdString();
    EXPECT_EQ(text.count("full"), 1);
}

// Only a regular file is taken: a pipe with no reader, a folder or a device turns the log off
// at once, with the reason. Run in a child with an alarm, so a log that waits cannot hang here.
TEST(SerialLogText, OnlyARegularFileIsTaken)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("SerialLog.log"));
    const QString device = dir.filePath(QStringLiteral("device.log"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), device));
    for (const QString &p : {fifo, dir.path(), device}) {
        const QString said = RunInChild([&] {
            ::alarm(5);
            SerialLog log;
            log.setPath(p);
            log.setEnabled(true);
            log.addLine(QStringLiteral("> : x"));
            return log.isEnabled() ? QStringLiteral("on") : log.offReason();
        });
        EXPECT_EQ(said, p + QStringLiteral(": not a regular file"));
    }
}
