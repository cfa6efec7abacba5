// The simulated instrument over its raw line, without the program: it refuses what an
// instrument would refuse, takes every line the writer writes, and sends long answers in
// blocks. (That the program never sends a malformed request is checked by every
// end-to-end fixture when it tears down.)
#include "link/FrameCodec.h"
#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"
#include "sim/SimInstrument.h"
#include "support/InstrumentDiff.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

class RawLine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sim.fillDemoState();
        const QString path = sim.openPty();
        ASSERT_FALSE(path.isEmpty());
        fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
    }
    void TearDown() override
    {
        if (fd >= 0)
            ::close(fd);
    }

    // Sends one request and gives the bodies of the answer's blocks, each acknowledged;
    // "NAK" for a NAK, nothing when no answer came within a second.
    QList<QByteArray> askBlocks(const QByteArray &body)
    {
        const QByteArray frame = Link::BuildTextFrame(body);
        EXPECT_EQ(::write(fd, frame.constData(), size_t(frame.size())), frame.size());
        Link::FrameAssembler in;
        QList<QByteArray> blocks;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 1000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            char buf[4096];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0)
                in.feed(buf, n);
            for (const Link::Frame &f : in.takeFrames()) {
                if (f.kind == Link::Frame::Nak)
                    return {"NAK"};
                if (f.kind != Link::Frame::Text)
                    continue;
                const char ack = Link::ACK;
                EXPECT_EQ(::write(fd, &ack, 1), 1);
                blocks.append(f.body);
                if (f.last)
                    return blocks;
            }
        }
        return blocks;
    }
    QByteArray ask(const QByteArray &body) { return askBlocks(body).join('|'); }

    SimInstrument sim;
    int fd = -1;
};

TEST_F(RawLine, RefusesEveryKindOfMalformedRequest)
{
    const clsInstrument before = sim.state();
    const SettingLines::Entry gj{QStringLiteral("GJ")};
    const QByteArray gjLine = SettingLines::lineText(before, gj).text.toLatin1();
    const QList<QByteArray> malformed = {
        // unknown code, mode the code has not
        "QQ,R,", "RC,W,", "XP,C,", "SB,R,",
        // field count, the ending ","
        "RC,R,1,", "BP,W,", "SO,R,", "S2,W,1111111,FFFF,", "XP,W,", "XP,W,4,4,", "RC,R", "XPR,",
        // widths, digits, case
        "SZ,W,abc,", "S2,W,zzz,", "UX,W,ZZ,", "UX,W,a,", "HC,W,2401011200,", "EP,R,0,03FF,", "EF,R,0000,1f00,",
        "XZ,W,01,SHORT,", "OB,R,1,VPR,5x,", "LN,W,3,",
        // ranges
        "BP,W,7,", "XP,W,9,", "HC,W,241301120000,", "EF,R,0000,2000,", "EF,R,0080,0100,", "EP,R,0010,0001,",
        "EP,R,0000,1000,", "MM,W,4,S,", "MM,W,1,X,", "SO,R,1,", "OB,R,1,VPR,101,", "OD,R,1,ESR,0000,10000,",
        // selection masks
        "UX,W,0,", "SZ,W,1111112,", "SZ,W,111111,", "S2,W,1000000,0100,0100,0000,0000,0000,0000,0000,",
        // list entries, read-only lines
        "XS,R,00,", "XS,R,81,", "XS,R,", "XP,R,1,", gjLine};
    for (const QByteArray &req : malformed) {
        const QByteArray answer = ask(req);
        if (Link::SplitBody(req).valid)
            EXPECT_EQ(answer, req.left(2) + ",N,") << req.toStdString();
        else
            EXPECT_EQ(answer, "NAK") << req.toStdString();
    }
    ASSERT_EQ(sim.malformedRequests().size(), malformed.size());
    for (int i = 0; i < malformed.size(); ++i) {
        EXPECT_EQ(sim.malformedRequests()[i].request, malformed[i]);
        EXPECT_FALSE(sim.malformedRequests()[i].reason.isEmpty());
    }
    EXPECT_EQ(DifferentMembers(before, sim.state()), "");

    // What is well formed is answered as before.
    EXPECT_EQ(ask("RC,R,"), "RC,R,1,");
    EXPECT_EQ(ask("XP,W,2,"), "XP,W,");
    EXPECT_EQ(ask("UX,W,F,"), "UX,W,");
    EXPECT_EQ(ask("S2,W,1000000,0100,0000,0000,0000,0000,0000,0000,"), "S2,W,");
    EXPECT_EQ(sim.malformedRequests().size(), malformed.size());
}

TEST_F(RawLine, TakesEveryLineItsWriterWritesAndChangesNothing)
{
    const clsInstrument before = sim.state();
    int lines = 0;
    for (const SettingLines::Entry &e : SettingLines::entries()) {
        if (!SettingLines::linkWrites(e))
            continue;
        const SettingLines::LineText lt = SettingLines::lineText(before, e);
        ASSERT_TRUE(lt.ok) << lt.error.toStdString();
        ASSERT_EQ(ask(lt.text.toLatin1()), e.code.toLatin1() + ",W,") << lt.text.toStdString();
        ++lines;
    }
    EXPECT_GT(lines, 300);
    EXPECT_TRUE(sim.malformedRequests().isEmpty());
    EXPECT_EQ(DifferentMembers(before, sim.state()), "");
}

TEST_F(RawLine, LongAnswersComeInBlocksSplitBetweenFields)
{
    const QByteArray whole = ask("SO,R,0,");
    sim.setAnswerBlockSize(24);
    const QList<QByteArray> blocks = askBlocks("SO,R,0,");
    ASSERT_GT(blocks.size(), 2);
    QByteArray joined = "SO,R,";
    for (const QByteArray &b : blocks) {
        ASSERT_TRUE(b.startsWith("SO,R,") && b.endsWith(',')) << b.toStdString();
        EXPECT_LE(b.size(), 24);
        joined += b.mid(5);
    }
    EXPECT_EQ(joined, whole);
    EXPECT_EQ(askBlocks("RC,R,").size(), 1);
}

} // namespace

namespace {

TEST_F(RawLine, EachDelayRuleDelaysByItsOwnTime)
{
    // The first rule is not due yet; the second fires with its own short delay.
    sim.addRule({SimFault::Delay, "RC", 'R', 5, -1, 5000});
    sim.addRule({SimFault::Delay, "RC", 'R', 1, 1, 1});
    EXPECT_EQ(ask("RC,R,"), "RC,R,1,");
}

TEST(SimInstrument, KeepsABoundedRequestHistory)
{
    SimInstrument sim; // no line: answers go nowhere
    sim.fillDemoState();
    const int n = SimInstrument::kMaxKeptRequests + 10;
    for (int i = 0; i < n; ++i)
        sim.receive(Link::BuildTextFrame(i + 1 < n ? "RC,R," : "XP,R,"));
    EXPECT_EQ(sim.requestCount(), quint64(n));
    ASSERT_EQ(sim.requests().size(), SimInstrument::kMaxKeptRequests);
    EXPECT_EQ(sim.requests().last(), "XP,R,");
}

} // namespace
