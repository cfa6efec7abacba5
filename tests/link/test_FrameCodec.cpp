#include "link/FrameCodec.h"
#include "link/SerialLog.h"
#include "LinkFixture.h"
#include "support/FileSizeLimit.h"
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
}

// Each input gives its frames: kinds in order, '+' after a kind for a last block.
TEST(FrameCodec, InputsAndTheFramesTheyGive)
{
    const QByteArray good = BuildTextFrame("XP,R,4,");
    QByteArray crEnded = BuildTextFrame("AP,R,1,");
    crEnded.back() = CR;
    QByteArray badSum = good;
    badSum[badSum.size() - 2] = badSum[badSum.size() - 2] == '0' ? '1' : '0';
    QByteArray noEnd = good;
    noEnd.back() = 'x';
    const QByteArray atLimit = "XS,R," + QByteArray(kMaxTextBody - 5, 'A');
    const QByteArray overLimit = QByteArray(1, STX) + QByteArray(kMaxTextBody + 10, 'A') + ETX;
    const struct {
        const char *what;
        QByteArray bytes;
        const char *kinds; // T text, B bad, O overlong, J junk, A ACK, N NAK, C a byte not carried
    } cases[] = {
        {"EOT, ETB, CR", BuildTextFrame("XP,R,4,", false) + good + crEnded, "TT+T+"},
        {"checksum, trailer", badSum + noEnd, "B+B+J"},
        {"SUB as a field", BuildTextFrame("UX,C,\x1A,"), "T+"},
        {"control byte", BuildTextFrame("UX,C,\x07,"), "C+"},
        {"DEL", BuildTextFrame("XS,R,01,A\x7F,"), "C+"},
        {"byte over 7F", BuildTextFrame("XS,R,01,\xE9,"), "C+"},
        {"junk, ACK, NAK", QByteArray("zz") + ACK + "q" + NAK + good, "JAJNT+"},
        {"body at its limit", BuildTextFrame(atLimit), "T+"},
        {"overlong, then a frame", overLimit + good, "O+JT+"},
    };
    for (const auto &c : cases) {
        QByteArray got;
        for (const Frame &f : Parse(c.bytes))
            got += QByteArray(1, "TXANBOJC"[f.kind]) + (f.last && f.kind != Frame::Junk && f.raw.size() > 1 ? "+" : "");
        EXPECT_EQ(got, QByteArray(c.kinds)) << c.what;
    }
    EXPECT_EQ(Parse(BuildTextFrame(atLimit)).value(0).body, atLimit);
    EXPECT_EQ(Parse(good).value(0).body, "XP,R,4,");
    // Junk keeps its bytes for the serial log, and so does a frame cut short by a new STX.
    EXPECT_EQ(Parse(QByteArray("zz") + ACK).value(0).raw, "zz");
    EXPECT_EQ(Parse(good.left(5) + good).value(0).raw, good.left(5));
    // Split across feeds, a byte at a time, it is joined.
    FrameAssembler a;
    for (char c : good)
        a.feed(QByteArray(1, c));
    EXPECT_EQ(a.takeFrames().value(0).body, "XP,R,4,");
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

    // A write the file system refuses stops the log too, and says so once.
    QStringList said;
    SerialLog refused;
    refused.setPath(dir.filePath(QStringLiteral("Refused.log")));
    refused.setStopNotice([&said](const QString &why) { said << why; });
    refused.setEnabled(true);
    {
        ScopedFileSizeLimit limit(100);
        for (int i = 0; i < 20; ++i)
            refused.addLine(QStringLiteral("> : line %1").arg(i));
    }
    ASSERT_EQ(said.size(), 1);
    EXPECT_EQ(said[0], refused.path() + QStringLiteral(": File too large"));
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
