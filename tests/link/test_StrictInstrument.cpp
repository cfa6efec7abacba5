// The simulated instrument refuses what an instrument would refuse and sends long answers in
// blocks. (That the program never sends a malformed request is checked by every end-to-end
// fixture when it tears down, and rests on this.)
#include "link/FrameCodec.h"
#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"
#include "sim/SimInstrument.h"
#include "support/InstrumentDiff.h"
#include <gtest/gtest.h>
#include <utility>

namespace {
// The bodies of the blocks the simulated instrument answers a request with, each block
// acknowledged; "NAK" for a NAK.
QList<QByteArray> AnswerBlocks(SimInstrument &sim, const QByteArray &request)
{
    QByteArray line;
    const auto c = QObject::connect(&sim, &SimInstrument::delivered, [&line](const QByteArray &b) { line += b; });
    Link::FrameAssembler in;
    QList<QByteArray> blocks;
    sim.receive(Link::BuildTextFrame(request));
    for (bool more = true; more && blocks.size() < 64;) {
        more = false;
        in.feed(std::exchange(line, QByteArray()));
        for (const Link::Frame &f : in.takeFrames()) {
            if (f.kind == Link::Frame::Nak)
                blocks.append("NAK");
            if (f.kind != Link::Frame::Text)
                continue;
            blocks.append(f.body);
            if (!f.last) {
                more = true;
                sim.receive(QByteArray(1, Link::ACK));
            }
        }
    }
    QObject::disconnect(c);
    return blocks;
}
} // namespace

TEST(SimInstrument, RefusesEveryKindOfMalformedRequest)
{
    SimInstrument sim; // no line: only what it takes is looked at
    sim.fillDemoState();
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
        "XS,R,00,", "XS,R,81,", "XS,R,", "XP,R,1,", gjLine,
        // a byte a text frame does not carry: whole, so refused, not NAKed as damaged
        "XS,W,05,A\xC9" "B             ,"};
    // Refused as an instrument refuses: "CC,N," when the request has a code to answer with.
    for (const QByteArray &req : malformed)
        EXPECT_EQ(AnswerBlocks(sim, req).join('|'), Link::SplitBody(req).valid ? req.left(2) + ",N," : "NAK") << req.toStdString();
    ASSERT_EQ(sim.malformedRequests().size(), malformed.size());
    for (int i = 0; i < malformed.size(); ++i) {
        EXPECT_EQ(sim.malformedRequests()[i].request, malformed[i]);
        EXPECT_FALSE(sim.malformedRequests()[i].reason.isEmpty());
    }
    EXPECT_EQ(DifferentMembers(before, sim.state()), "");

    // What is well formed is taken.
    for (const char *req : {"RC,R,", "XP,W,2,", "UX,W,F,", "S2,W,1000000,0100,0000,0000,0000,0000,0000,0000,",
                                  "EP,R,0000,0FFF,", "XS,R,80,"})
        sim.receive(Link::BuildTextFrame(req));
    EXPECT_EQ(sim.malformedRequests().size(), malformed.size());
}

TEST(SimInstrument, LongAnswersComeInBlocksSplitBetweenFields)
{
    SimInstrument sim;
    sim.fillDemoState();
    const QList<QByteArray> whole = AnswerBlocks(sim, "SO,R,0,");
    ASSERT_EQ(whole.size(), 1);
    sim.setAnswerBlockSize(24);
    const QList<QByteArray> blocks = AnswerBlocks(sim, "SO,R,0,");
    ASSERT_GT(blocks.size(), 2);
    QByteArray joined = "SO,R,";
    for (const QByteArray &b : blocks) {
        ASSERT_TRUE(b.startsWith("SO,R,") && b.endsWith(',')) << b.toStdString();
        EXPECT_LE(b.size(), 24);
        joined += b.mid(5);
    }
    EXPECT_EQ(joined, whole[0]);
    EXPECT_EQ(AnswerBlocks(sim, "RC,R,").size(), 1);
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
