// The simulated instrument refuses what an instrument would refuse. (That the program never
// sends a malformed request is checked by every end-to-end fixture when it tears down, and
// rests on this.)
#include "link/FrameCodec.h"
#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"
#include "sim/SimInstrument.h"
#include "support/InstrumentDiff.h"
#include <gtest/gtest.h>

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
        "XS,R,00,", "XS,R,81,", "XS,R,", "XP,R,1,", gjLine};
    for (const QByteArray &req : malformed)
        sim.receive(Link::BuildTextFrame(req));
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
