// The upload never reports success while a change it sent is not in the instrument.
#include "LinkFixture.h"
#include "settingsfiles/SettingLines.h"

namespace {
bool LineChanged(const clsInstrument &rec, const QString &code)
{
    for (const SettingLines::Entry &e : SettingLines::entries())
        if (e.code == code)
            return SettingLines::isChanged(rec, e);
    return false;
}

SimFaultRule DelayRule(const QByteArray &code, int nth, int ms)
{
    SimFaultRule r{SimFault::Delay, code, 0, nth, 1};
    r.delayMs = ms;
    return r;
}
} // namespace

// A refusal is a failure every time: it raises no support flag that would let the next upload
// skip the setting and call itself complete.
TEST_F(LinkTest, RefusedWriteFailsEveryUploadUntilTheInstrumentTakesIt)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    ASSERT_FALSE(rec.invalidLP());
    rec.SetChangeFlags(true);
    sim.addRule(Rule(SimFault::Refuse, "LP", 'W', 1, 2));
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(link.SetInstrument(rec)) << attempt;
        EXPECT_FALSE(rec.invalidLP());
        EXPECT_TRUE(LineChanged(rec, QStringLiteral("LP")));
        EXPECT_TRUE(link.UploadProblems().contains(QStringLiteral("LP refused by the instrument")));
    }
    EXPECT_TRUE(link.SetInstrument(rec));
    EXPECT_FALSE(LineChanged(rec, QStringLiteral("LP")));
    EXPECT_TRUE(link.UploadProblems().isEmpty());
    EXPECT_EQ(requestsOf("LP,W,").size(), 3);
}

// "XS,W," carries no entry: the late acknowledgement of a resent station write must not
// confirm the next station write when that one is lost on the line. Time-out here: 100 ms.
TEST_F(LinkTest, LateAcknowledgementNeverConfirmsALaterWrite)
{
    link.setTickInterval(10);
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));

    struct Case {
        int j;       // the j-th station write is answered late
        int lateMs;  // by this much (past the time-out: the link resends)
        int againMs; // the answer to the resend late too (0: on time)
    };
    const Case cases[] = {{1, 110, 0}, {2, 150, 0}, {3, 190, 0}, {1, 190, 0}, {3, 120, 0},
                          // the resend's answer comes after the line fell quiet, while the
                          // next write (lost) waits: only a read-back can tell
                          {2, 110, 160}};
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << n);
        for (int i = 0; i < 4; ++i)
            rec.setXS_(i, QStringLiteral("CASE %1 ST %2").arg(n).arg(i));
        sim.clearRules();
        sim.addRule(DelayRule("XS", c.j, c.lateMs));
        if (c.againMs > 0)
            sim.addRule(DelayRule("XS", c.j + 1, c.againMs));
        // The write after the resent one goes unanswered once.
        sim.addRule(Rule(SimFault::NoAnswer, "XS", 'W', c.j + 2, 1));
        const bool ok = link.SetInstrument(rec);
        for (int i = 0; i < 4; ++i) {
            if (!rec.Change_XS_(i)) {
                EXPECT_EQ(sim.state().XS_(i), rec.XS_(i)) << "a cleared flag with the name not written, station " << i;
            } else {
                EXPECT_FALSE(ok) << "success with station " << i << " still changed";
            }
        }
        if (c.againMs == 0) {
            EXPECT_TRUE(ok) << link.UploadProblems().join(QLatin1Char('\n')).toStdString();
        }
        waitFor([] { return false; }, 250); // whatever is still on its way arrives and is dropped
        sim.clearRules();
        EXPECT_TRUE(link.SetInstrument(rec)); // what did not land goes again
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(sim.state().XS_(i), rec.XS_(i));
        ++n;
    }
}

// A name the link cannot put on a line (another writer split it at ",") is named with its
// code, entry and why, on every upload that skips it; the rest still goes.
TEST_F(LinkTest, SettingThatCannotBeSentIsNamed)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    rec.setXS_(3, QStringLiteral("ACME,NORTH"));
    rec.setIntervals(30);
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(link.SetInstrument(rec));
        ASSERT_EQ(link.UploadProblems().size(), 1);
        const QString p = link.UploadProblems().first();
        EXPECT_TRUE(p.startsWith(QStringLiteral("XS 04 not sent: \"ACME,NORTH")) && p.contains(QStringLiteral("\",\"")))
            << p.toStdString();
        EXPECT_TRUE(rec.Change_XS_(3));
    }
    EXPECT_EQ(sim.state().Intervals(), 30);
    EXPECT_TRUE(requestsOf("XS,W,").isEmpty());
}
