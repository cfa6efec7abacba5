// The upload never reports success while a change it sent is not in the instrument.
#include "LinkFixture.h"
#include "settingsfiles/SettingLines.h"
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {
bool LineChanged(const clsInstrument &rec, const QString &code)
{
    for (const SettingLines::Entry &e : SettingLines::entries())
        if (e.code == code)
            return SettingLines::isChanged(rec, e);
    return false;
}

// No cleared flag for a name the instrument does not hold, and no success while one is set.
void ExpectNothingClaimedThatIsNotThere(const clsInstrument &rec, const SimInstrument &sim, bool ok, int stations)
{
    for (int i = 0; i < stations; ++i) {
        if (!rec.Change_XS_(i))
            EXPECT_EQ(sim.state().XS_(i), rec.XS_(i)) << "a cleared flag with the name not written, station " << i;
        else
            EXPECT_FALSE(ok) << "success with station " << i << " still changed";
    }
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
        EXPECT_TRUE(link.UploadProblems().contains(QStringLiteral("CATALYTIC UNITS and CATALYTIC DISPLAY UNIT (LP) refused by the instrument")));
    }
    EXPECT_TRUE(link.SetInstrument(rec));
    EXPECT_FALSE(LineChanged(rec, QStringLiteral("LP")));
    EXPECT_TRUE(link.UploadProblems().isEmpty());
    EXPECT_EQ(requestsOf("LP,W,").size(), 3);
}

// "XS,W," carries no entry: the late acknowledgement of a resent station write must not
// confirm the next station write when that one is lost on the line. The late answers are held
// by the simulator and let go when a request arrives, so the order of events, not the speed of
// the machine, decides what the link sees.
TEST_F(LinkTest, LateAcknowledgementNeverConfirmsALaterWrite)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));

    struct Case {
        int j;              // the j-th station write's answer is held (the link resends)
        int held;           // 2: the answer to the resend is held too
        QByteArray release; // held answers go with the next request starting so ("": any)
        bool ok;
    };
    const Case cases[] = {{1, 1, "", true}, {2, 1, "", true}, {3, 1, "", true}, {1, 2, "", true},
                          // the resend's answer arrives while the next write (lost) waits, after
                          // the exchange that would settle the line got nothing: a read-back tells
                          {2, 2, "XS,W,", false}};
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << n);
        for (int i = 0; i < 4; ++i)
            rec.setXS_(i, QStringLiteral("CASE %1 ST %2").arg(n).arg(i));
        sim.clearRules();
        sim.addRule(Hold("XS", c.j, c.held));
        // The write after the resent one goes unanswered once.
        sim.addRule(Rule(SimFault::NoAnswer, "XS", 'W', c.j + 2, 1));
        const auto release = QObject::connect(&sim, &SimInstrument::requestSeen, &link, [&](const QByteArray &body) {
            if (body.startsWith(c.release))
                sim.sendHeldNow();
        });
        const bool ok = link.SetInstrument(rec);
        QObject::disconnect(release);
        for (int i = 0; i < 4; ++i) {
            if (!rec.Change_XS_(i)) {
                EXPECT_EQ(sim.state().XS_(i), rec.XS_(i)) << "a cleared flag with the name not written, station " << i;
            } else {
                EXPECT_FALSE(ok) << "success with station " << i << " still changed";
            }
        }
        EXPECT_EQ(ok, c.ok) << link.UploadProblems().join(QLatin1Char('\n')).toStdString();
        if (!c.ok) {
            EXPECT_EQ(link.UploadProblems(), QStringList{QStringLiteral("Station %1 (XS 0%1) not confirmed: the instrument holds other values").arg(c.j + 1)});
        }
        sim.clearRules();
        sim.sendHeldNow();
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
        EXPECT_TRUE(p.startsWith(QStringLiteral("Station 4 (XS 04) not sent: \"ACME,NORTH")) && p.contains(QStringLiteral("\",\"")))
            << p.toStdString();
        EXPECT_TRUE(rec.Change_XS_(3));
    }
    EXPECT_EQ(sim.state().Intervals(), 30);
    EXPECT_TRUE(requestsOf("XS,W,").isEmpty());
}

// The line of the late-answer tests: time-out 100 ms (ticks of 10 ms), Retry 3, the record read.
// Late answers are held by the simulator and let go when the test says, at a request.
class LateLineTest : public LinkTest
{
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        link.setTickInterval(10);
        link.setRetry(3);
        ASSERT_TRUE(connectLink());
        ASSERT_TRUE(link.GetInstrument(rec));
    }
    clsInstrument rec;
};

// Every answer of a failed upload comes late; the next upload loses one station write. The
// late "XS,W," answers of the first upload, arriving with the next upload's first request or
// with its lost write, confirm nothing in the second.
TEST_F(LateLineTest, LateAnswersOfAFailedUploadConfirmNothingInTheNext)
{
    int n = 0;
    for (const QByteArray &at : {QByteArray(), QByteArray("XS,W,")}) {
        for (int lost : {1, 2}) {
            SCOPED_TRACE(testing::Message() << "released at \"" << at.toStdString() << "\" lost " << lost);
            for (int i = 0; i < 4; ++i)
                rec.setXS_(i, QStringLiteral("L%1 ST %2").arg(n).arg(i));
            sim.clearRules();
            sim.addRule(Hold("XS", 1, 4)); // the four sends of the first write
            EXPECT_FALSE(link.SetInstrument(rec));
            ExpectNothingClaimedThatIsNotThere(rec, sim, false, 4);
            sim.clearRules();
            sim.addRule(Rule(SimFault::NoAnswer, "XS", 'W', lost, 1));
            releaseAt(at);
            const bool ok = link.SetInstrument(rec);
            ExpectNothingClaimedThatIsNotThere(rec, sim, ok, 4);
            flush();
            EXPECT_TRUE(link.SetInstrument(rec)) << link.UploadProblems().join(QLatin1Char('\n')).toStdString();
            ExpectNothingClaimedThatIsNotThere(rec, sim, true, 4);
            ++n;
        }
    }
}

// An upload that succeeded with one resend, the first copy's answer arriving with the resend;
// then the next upload's station write is lost.
TEST_F(LateLineTest, LateAnswerAfterASuccessfulUploadConfirmsNothing)
{
    int n = 0;
    for (int late : {1, 4}) {
        SCOPED_TRACE(testing::Message() << "late write " << late);
        for (int i = 0; i < 4; ++i)
            rec.setXS_(i, QStringLiteral("Q%1 ST %2").arg(n).arg(i));
        sim.clearRules();
        sim.addRule(Hold("XS", late));
        releaseAt("XS,W,");
        EXPECT_TRUE(link.SetInstrument(rec)) << link.UploadProblems().join(QLatin1Char('\n')).toStdString();
        ExpectNothingClaimedThatIsNotThere(rec, sim, true, 4);
        for (int i = 0; i < 4; ++i)
            rec.setXS_(i, QStringLiteral("R%1 ST %2").arg(n).arg(i));
        flush();
        sim.addRule(Rule(SimFault::NoAnswer, "XS", 'W', 1, 1));
        const bool ok = link.SetInstrument(rec);
        ExpectNothingClaimedThatIsNotThere(rec, sim, ok, 4);
        flush();
        EXPECT_TRUE(link.SetInstrument(rec));
        ExpectNothingClaimedThatIsNotThere(rec, sim, true, 4);
        ++n;
    }
}

// Late and lost answers at random, and a failed upload retried as a technician would, at once:
// no upload reports success while a change it sent is not in the instrument, and once the line
// is clean everything lands.
TEST_F(LateLineTest, RetriedUploadsOverALateLineClaimNothingFalse)
{
    QRandomGenerator rng(20261207);
    QObject::connect(&sim, &SimInstrument::requestSeen, &link, [&](const QByteArray &) {
        if (sim.heldCount() > 0 && rng.bounded(3) == 0)
            sim.sendHeldNow();
    });
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        for (int i = 0; i < 6; ++i)
            if (rng.bounded(2))
                rec.setXS_(i, QStringLiteral("S%1 N%2").arg(round).arg(i));
        for (int attempt = 0; attempt < 3; ++attempt) {
            sim.clearRules();
            for (int f = 0; f < 3; ++f) {
                const int nth = 1 + int(rng.bounded(8));
                if (rng.bounded(3) == 0)
                    sim.addRule(Rule(SimFault::NoAnswer, "XS", 0, nth, 1));
                else
                    sim.addRule(Hold("XS", nth));
            }
            const bool ok = link.SetInstrument(rec);
            ExpectNothingClaimedThatIsNotThere(rec, sim, ok, 6);
            if (ok)
                break;
        }
    }
    flush();
    const bool ok = link.SetInstrument(rec);
    EXPECT_TRUE(ok) << link.UploadProblems().join(QLatin1Char('\n')).toStdString();
    ExpectNothingClaimedThatIsNotThere(rec, sim, ok, 6);
}

// A refused station write fails the upload but not the rest of it: the later stations land.
TEST_F(LinkTest, RefusedWriteLetsTheRestOfTheUploadGoOn)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    for (int i = 0; i < 4; ++i)
        rec.setXS_(i, QStringLiteral("GO ON %1").arg(i));
    rec.setIntervals(30);
    sim.addRule(Rule(SimFault::Refuse, "XS", 'W', 2, 1));
    EXPECT_FALSE(link.SetInstrument(rec));
    EXPECT_EQ(link.UploadProblems(), QStringList{QStringLiteral("Station 2 (XS 02) refused by the instrument")});
    EXPECT_TRUE(rec.Change_XS_(1));
    for (int i : {0, 2, 3}) {
        EXPECT_FALSE(rec.Change_XS_(i));
        EXPECT_EQ(sim.state().XS_(i), rec.XS_(i));
    }
    EXPECT_EQ(sim.state().Intervals(), 30);
}

// The lines that are no setting of the codec (serial numbers, the option-board commit, the
// factory save) are named in the log pane like every other, refused or stopped at.
TEST_F(LinkTest, LinesOutsideTheSettingTableAreNamedWhenTheyFail)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    const struct {
        QByteArray code;
        SimFault fault;
        QString problem;
    } cases[] = {
        {"SN", SimFault::Refuse, QStringLiteral("Serial No. (SN) refused by the instrument")},
        {"DS", SimFault::Refuse, QStringLiteral("Manufacture number (DS) refused by the instrument")},
        {"SB", SimFault::Refuse, QStringLiteral("Option board settings (SB) refused by the instrument")},
        {"UD", SimFault::NoAnswer,
         QStringLiteral("Upload stopped at Update as Factory Settings (UD): no answer from the instrument (3 tries); "
                        "it was the last setting to send")},
    };
    rec.setSerialNo(QStringLiteral("VK2024-00043"));
    rec.setDummySerial(QStringLiteral("M-7782"));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        rec.setChange_SerialNo(c.code == "SN");
        rec.setChange_DummySerial(c.code == "DS");
        rec.setChange_SubBoard(c.code == "SB");
        gFactorySave = c.code == "UD";
        sim.addRule(Rule(c.fault, c.code, 'W', 1, -1));
        EXPECT_FALSE(link.SetInstrument(rec));
        EXPECT_EQ(link.UploadProblems(), QStringList{c.problem});
        flush();
    }
    gFactorySave = false;
}

// Wherever the upload stops, the log names the setting, why, and how much was left unsent;
// the next upload sends exactly that.
TEST_F(LinkTest, EveryStopNamesTheSettingWhyAndWhatWasLeft)
{
    link.setTickInterval(10);
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    SimFaultRule chatter{SimFault::Chatter, "XS", 'W', 1, 1};
    chatter.delayMs = 30; // faster than the time-out: the line never falls quiet
    struct Case {
        const char *name;
        QList<SimFaultRule> rules;
        QString why;
        bool cancel = false; // the user cancels while the second station write waits for its
                             // answer (held back): the first was taken, the upload stops there
    };
    const QList<Case> cases = {
        {"damaged", {Rule(SimFault::DamageAll, "XS", 0, 1, -1)}, QStringLiteral("every answer arrived damaged")},
        {"silent", {Rule(SimFault::NoAnswer, "XS", 'W', 1, -1)}, QStringLiteral("no answer from the instrument (3 tries)")},
        {"hung up", {Rule(SimFault::HangUp, "XS", 'W')}, QStringLiteral("the line was lost")},
        {"unreadable", {Rule(SimFault::NakRequest, "XS", 'W', 1, -1)}, QStringLiteral("the instrument could not read the request")},
        {"talking", {Rule(SimFault::NoAnswer, "XS", 'W'), chatter}, QStringLiteral("the line does not fall quiet after a resend")},
        {"cancelled", {Hold("XS", 2)}, QStringLiteral("cancelled"), true},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 4; ++i)
            rec.setXS_(i, QStringLiteral("STOP %1 %2").arg(n).arg(i));
        sim.clearRules();
        for (const SimFaultRule &r : c.rules)
            sim.addRule(r);
        QMetaObject::Connection cancel;
        if (c.cancel)
            cancel = QObject::connect(&sim, &SimInstrument::requestSeen, &link, [this](const QByteArray &body) {
                if (body.startsWith("XS,W,02,"))
                    link.setCancel(true);
            });
        EXPECT_FALSE(link.SetInstrument(rec));
        QObject::disconnect(cancel);
        const QStringList problems = link.UploadProblems();
        ASSERT_EQ(problems.size(), 1) << problems.join(QLatin1Char('\n')).toStdString();
        const int at = c.cancel ? 2 : 1;
        const QRegularExpression stop(
            QStringLiteral("^Upload stopped at Station %1 \\(XS 0%1\\): (.*); the (\\d+) settings after it were not sent$").arg(at));
        const QRegularExpressionMatch m = stop.match(problems.first());
        ASSERT_TRUE(m.hasMatch()) << problems.first().toStdString();
        EXPECT_EQ(m.captured(1), c.why);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(rec.Change_XS_(i), i >= at - 1) << i;

        flush();
        if (!link.Connected()) { // the hung-up line: the instrument comes back on a new one
            link.setPortOpen(false);
            ptyPath = sim.openPty();
            link.setCommDevice(ptyPath);
            ASSERT_TRUE(connectLink());
        }
        waitFor([] { return false; }, 300);
        sim.clearRequests();
        ASSERT_TRUE(link.SetInstrument(rec)) << link.UploadProblems().join(QLatin1Char('\n')).toStdString();
        qsizetype writes = 0;
        for (const QByteArray &r : sim.requests())
            writes += r.mid(2, 3) == ",W," ? 1 : 0;
        EXPECT_EQ(writes - 1, m.captured(2).toInt()) << "the retry sends the stopped setting and what was left";
        ++n;
    }
}

// SB (and UD) cannot be read back: their answer counts only when it is their own. A late answer
// that has come accounts for its request; one that never came is settled by the next own
// answer, so it blocks no later upload.
TEST_F(LinkTest, CommitWithoutReadBackCountsOnlyOnItsOwnAnswer)
{
    link.setTickInterval(10);
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    rec.setChange_SubBoard(true);
    sim.addRule(Rule(SimFault::LateAnswer, "SB", 'W')); // the resend brings the late answer, then its own
    EXPECT_TRUE(link.SetInstrument(rec));
    rec.setChange_SubBoard(true);
    sim.clearRules();
    EXPECT_TRUE(link.SetInstrument(rec)) << link.UploadProblems().join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(rec.Change_SubBoard());

    rec.setChange_SubBoard(true);
    sim.addRule(Rule(SimFault::NoAnswer, "SB", 'W', 1, 1));
    EXPECT_TRUE(link.SetInstrument(rec)); // only its own copies were out: the resend's answer is its own
    sim.clearRules();
    for (int attempt = 0; attempt < 2; ++attempt) {
        rec.setChange_SubBoard(true);
        EXPECT_TRUE(link.SetInstrument(rec)) << link.UploadProblems().join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(link.UploadProblems().isEmpty());
        EXPECT_FALSE(rec.Change_SubBoard());
    }
}
