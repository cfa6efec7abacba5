// The instrument answers in order: an answer that an earlier request may have had confirms
// nothing, a lost or refused request blocks nothing after it, and a late answer arrives when
// the simulator is told to let it go, never by a wall-clock margin.
#include "LinkFixture.h"
#include "link/Transport.h"
#include "settingsfiles/SettingLabel.h"
#include "settingsfiles/SettingLines.h"
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>

namespace {
QString Joined(const QStringList &l) { return l.join(QLatin1Char('\n')); }

// The USB adapter between the link and the simulated instrument, which a test pulls out and
// plugs in again. The instrument on the far side knows nothing of it: it goes on answering in
// order, and what it sends while the adapter is out is lost.
class AdapterLine : public Transport
{
public:
    explicit AdapterLine(SimInstrument &sim) : m_sim(sim)
    {
        connect(&sim, &SimInstrument::delivered, this, [this](const QByteArray &bytes) {
            QTimer::singleShot(0, this, [this, bytes] {
                if (m_open)
                    emit received(bytes);
            });
        });
    }
    bool open() override { return m_open = m_plugged; }
    void close() override { m_open = false; }
    bool isActive() const override { return m_open; }
    bool write(const QByteArray &bytes) override
    {
        if (!m_open)
            return false;
        QTimer::singleShot(0, this, [this, bytes] { m_sim.receive(bytes); });
        return true;
    }
    QString name() const override { return QStringLiteral("adapter"); }
    // As the serial port reports an unplugged adapter: closed, and the line lost.
    void pull()
    {
        m_plugged = false;
        if (m_open) {
            m_open = false;
            emit lost();
        }
    }
    void plugIn() { m_plugged = true; }

private:
    SimInstrument &m_sim;
    bool m_plugged = true;
    bool m_open = false;
};
} // namespace

class OrderTest : public LinkTest
{
protected:
    AdapterLine adapter{sim};
    qsizetype extraRequests(qsizetype from) const
    {
        qsizetype n = 0;
        for (qsizetype i = from; i < sim.requests().size(); ++i)
            n += sim.requests()[i].startsWith("RC,R,") || sim.requests()[i].startsWith("VP,R,") ||
                         sim.requests()[i].startsWith("XS,R,")
                     ? 1
                     : 0;
        return n;
    }
};

// One commit (SB), factory save (UD) or station write lost once, lost on every try, answered
// late or refused once: it costs at most one exchange that settles the line, in its own upload;
// the clean uploads after it all land at once, with nothing to settle or read back.
TEST_F(OrderTest, LostOrRefusedRequestBlocksNoLaterUpload)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    struct Case {
        QByteArray code;
        SimFaultRule rule;
        bool firstLands;
        int firstExtra; // exchanges that settle the line or read back, in the first upload
    };
    const QList<Case> cases = {
        {"SB", Rule(SimFault::NoAnswer, "SB", 'W'), true, 0},
        {"SB", Rule(SimFault::NoAnswer, "SB", 'W', 1, 3), false, 0},
        {"SB", Rule(SimFault::Refuse, "SB", 'W'), false, 0},
        {"UD", Rule(SimFault::NoAnswer, "UD", 'W'), true, 0},
        {"UD", Rule(SimFault::NoAnswer, "UD", 'W', 1, 3), false, 0},
        {"UD", Rule(SimFault::Refuse, "UD", 'W'), false, 0},
        {"XS", Rule(SimFault::NoAnswer, "XS", 'W', 2), true, 1}, // its resend may still be answered
        {"XS", Rule(SimFault::LateAnswer, "XS", 'W', 2), true, 0}, // the late copy is counted as it comes
        {"XS", Rule(SimFault::Refuse, "XS", 'W', 2), false, 0},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << n << " " << c.code.toStdString());
        gFactorySave = c.code == "UD";
        auto change = [&] {
            rec.setChange_SubBoard(c.code == "SB");
            for (int i = 0; i < 3; ++i)
                rec.setXS_(i, QStringLiteral("ORDER %1 %2").arg(n).arg(i));
        };
        change();
        sim.addRule(c.rule);
        const qsizetype first = sim.requests().size();
        EXPECT_EQ(link.SetInstrument(rec), c.firstLands) << Joined(link.UploadProblems()).toStdString();
        EXPECT_EQ(extraRequests(first), c.firstExtra);
        flush();
        for (int upload = 0; upload < 3; ++upload) {
            SCOPED_TRACE(upload);
            ++n;
            change();
            const qsizetype from = sim.requests().size();
            const qsizetype sent = requestsOf(c.code + ",W,").size();
            EXPECT_TRUE(link.SetInstrument(rec)) << Joined(link.UploadProblems()).toStdString();
            EXPECT_FALSE(rec.Change_SubBoard());
            EXPECT_FALSE(rec.Change_XS_(0));
            EXPECT_EQ(sim.state().XS_(2), rec.XS_(2));
            EXPECT_EQ(extraRequests(from), 0) << "nothing to settle and nothing read back";
            EXPECT_GT(requestsOf(c.code + ",W,").size(), sent);
        }
    }
    gFactorySave = false;
}

// A command whose answers all come too late, then the same command with other values whose
// requests are all lost while those late answers arrive: it must fail saying why, and the
// command goes at once when the line is clean. The late answers arrive either with the next
// request of any kind (the exchange that settles the line) or with the lost command's own
// request (then they reach the command itself).
TEST_F(OrderTest, CommandCountsOnlyOnItsOwnAnswer)
{
    ASSERT_TRUE(connectLink());
    const QDateTime t[] = {{}, QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5)), QDateTime(QDate(2031, 6, 7), QTime(8, 9, 10)),
                           QDateTime(QDate(2032, 11, 12), QTime(13, 14, 15))};
    const QString flags[] = {{}, QStringLiteral("1111111"), QStringLiteral("0000001"), QStringLiteral("0100000")};
    auto span = [](const QString &asked) {
        QString request = asked;
        for (const QChar f : asked)
            request += f == QLatin1Char('1') ? QStringLiteral(",00D1") : QStringLiteral(",0000");
        return request;
    };
    struct Command {
        QByteArray code;
        std::function<bool(int phase)> run; // phases 1 to 3, each with other values
        std::function<bool()> done;         // the instrument holds what phase 3 asked
        char mode = 'W';
    };
    // A download's first read stands for every read: each waits for its own answer.
    const QByteArray firstRead = SettingLines::entries().first().code.toLatin1();
    clsInstrument read;
    const QList<Command> commands = {
        {"HC", [&](int p) { return link.SetDateTime(t[p]); }, [&] { return std::abs(sim.clock().secsTo(t[3])) <= 2; }},
        {"BP", [&](int p) { return link.SetPump(p == 1); }, [&] { return !sim.pumpOn(); }},
        {"UX", [&](int p) { return link.DefaultInstrument(int16_t(p == 1 ? 5 : p == 2 ? 1 : 3)); },
         [&] { return link.DefaultStatus() == QLatin1String("0") && requestsOf("UX,W,").last() == "UX,W,3,"; }},
        {"SZ", [&](int p) { return link.ZeroCal(flags[p]); },
         [&] { return link.ZeroStatus(0) == 2 && link.ZeroStatus(1) == 1; }},
        {"S2", [&](int p) { return link.SpanCal(span(flags[p])); },
         [&] { return link.SpanStatus(0) == 2 && link.SpanStatus(1) == 1; }},
        {"RO", [&](int) { return link.BodyPowerOff(); }, [&] { return !sim.poweredOn() && !link.PortOpen(); }},
        {"UP", [&](int) { return link.RestoreFactorySet(); }, [&] { return requestsOf("BP,R,").size() > 0; }},
        {firstRead, [&](int p) {
             clsInstrument::DeviceDoor door(sim.state());
             sim.state().setXS_(0, QStringLiteral("PHASE %1").arg(p));
             return link.GetInstrument(read);
         },
         [&] { return read.XS_(0) == QStringLiteral("PHASE 3"); }, 'R'},
    };
    for (const Command &c : commands) {
        for (bool atOwnRequest : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.code.toStdString() << (atOwnRequest ? " late at its own request" : ""));
            sim.setPoweredOn(true);
            if (!link.PortOpen()) {
                ASSERT_TRUE(connectLink());
            }
            ASSERT_TRUE(waitFor([&] { return link.Connected(); }));
            sim.addRule(Hold(c.code, 1, -1));
            EXPECT_FALSE(c.run(1));
            sim.setPoweredOn(true); // a power-off that went through: switched on again
            sim.clearRules();
            sim.addRule(Rule(SimFault::NoAnswer, c.code, c.mode, 1, -1));
            releaseAt(atOwnRequest ? c.code + ',' + c.mode + ',' : QByteArray());
            EXPECT_FALSE(c.run(2)) << "the instrument never got it";
            const QString failure = c.mode == 'R' ? link.ReadFailure() : link.CommandFailure();
            EXPECT_TRUE(failure.contains(QStringLiteral("(%1").arg(QString::fromLatin1(c.code)))) << failure.toStdString();
            if (atOwnRequest) { // an answer came, but it may have been the late one's
                EXPECT_TRUE(failure.contains(QStringLiteral("not confirmed: no answer of its own"))) << failure.toStdString();
            }
            flush();
            ASSERT_TRUE(waitFor([&] { return link.Connected(); }));
            EXPECT_TRUE(c.run(3)) << link.CommandFailure().toStdString();
            EXPECT_TRUE(c.done());
            EXPECT_TRUE(link.CommandFailure().isEmpty());
            EXPECT_TRUE(link.ReadFailure().isEmpty());
        }
    }
}

// A download whose station read got no answer, then the station changes on the instrument:
// the next download, its own read of that station lost once while the old answers arrive,
// shows what the instrument holds now.
TEST_F(OrderTest, DownloadShowsWhatTheInstrumentHoldsNow)
{
    ASSERT_TRUE(connectLink());
    for (bool ownLost : {false, true}) {
        SCOPED_TRACE(ownLost);
        clsInstrument rec;
        sim.addRule(Hold("XS", 3, 3)); // XS,R,03 and its resends
        EXPECT_FALSE(link.GetInstrument(rec));
        EXPECT_EQ(rec.FailLine(), QStringLiteral("XS,R"));
        {
            clsInstrument::DeviceDoor door(sim.state());
            sim.state().setXS_(2, ownLost ? QStringLiteral("MOVED ONCE") : QStringLiteral("MOVED TWICE"));
        }
        sim.clearRules();
        if (ownLost)
            sim.addRule(Rule(SimFault::NoAnswer, "XS", 'R', 3));
        releaseAt({});
        ASSERT_TRUE(link.GetInstrument(rec)) << link.ReadFailure().toStdString();
        EXPECT_EQ(rec.XS_(2), sim.state().XS_(2));
        flush();
    }
}

// A write whose answer an earlier request may have had (the exchange that would settle the
// line got no answer) is read back; a refused read-back confirms nothing.
TEST_F(OrderTest, RefusedReadBackConfirmsNothing)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    rec.setXS_(0, QStringLiteral("FIRST"));
    sim.addRule(Rule(SimFault::NoAnswer, "XS", 'W', 1, 3));
    EXPECT_FALSE(link.SetInstrument(rec));
    sim.clearRules();
    sim.addRule(Rule(SimFault::NoAnswer, "RC", 'R', 1, 3)); // the settling exchange is lost
    sim.addRule(Rule(SimFault::Refuse, "XS", 'R'));
    EXPECT_FALSE(link.SetInstrument(rec));
    EXPECT_TRUE(link.UploadProblems().contains(QStringLiteral("Station 1 (XS 01) not confirmed: the instrument refused to read it back")))
        << Joined(link.UploadProblems()).toStdString();
    EXPECT_TRUE(rec.Change_XS_(0));
    sim.clearRules();
    EXPECT_TRUE(link.SetInstrument(rec));
    EXPECT_FALSE(rec.Change_XS_(0));
}

// Requests and answers lost, late and damaged at random across uploads, single commands and
// downloads, with a search on the same line in between (the port reopened by the link itself):
// nothing reports success for what the instrument does not hold, and once the line is clean
// everything goes through at once.
TEST_F(OrderTest, LossyOrderedLineClaimsNothingFalse)
{
    link.setRetry(3);
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    // SOAK_SEED runs it with another seed.
    QRandomGenerator rng(qEnvironmentVariableIsSet("SOAK_SEED") ? qEnvironmentVariableIntValue("SOAK_SEED") : 20261207);
    const QByteArray codes[] = {"XS", "BP", "RC", "XV", "SB", "DN", "HC"};
    QObject::connect(&sim, &SimInstrument::requestSeen, &link, [&](const QByteArray &) {
        if (sim.heldCount() > 0 && rng.bounded(3) == 0)
            sim.sendHeldNow();
    });
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        sim.clearRules();
        for (int f = 0; f < 3; ++f) {
            const QByteArray code = codes[rng.bounded(int(std::size(codes)))];
            const int nth = 1 + int(rng.bounded(4));
            switch (rng.bounded(5)) {
            case 0: sim.addRule(Rule(SimFault::NoAnswer, code, 0, nth, 1 + int(rng.bounded(4)))); break;
            case 1: sim.addRule(Hold(code, nth, 1 + int(rng.bounded(2)))); break;
            case 2: { // noise before the answer; the repeat the NAK asks for may come late
                sim.addRule(Rule(SimFault::DamagedBefore, code, 0, nth));
                SimFaultRule late{SimFault::HoldRepeat, {}, 0, 1, 1};
                late.delayMs = 600000;
                if (rng.bounded(2))
                    sim.addRule(late);
                break;
            }
            case 3: sim.addRule(Rule(SimFault::CorruptChecksum, code, 0, nth)); break;
            default: sim.addRule(Rule(SimFault::Refuse, code, 'W', nth)); break; // a refused read reads on
            }
        }
        if (!link.Connected() && !waitFor([&] { return link.Connected(); }, 2000))
            continue;
        switch (rng.bounded(4)) {
        case 0: {
            for (int i = 0; i < 4; ++i)
                if (rng.bounded(2))
                    rec.setXS_(i, QStringLiteral("R%1 S%2").arg(round).arg(i));
            rec.setChange_SubBoard(rng.bounded(2) == 0);
            const bool ok = link.SetInstrument(rec);
            for (int i = 0; i < 4; ++i) {
                if (!rec.Change_XS_(i))
                    EXPECT_EQ(sim.state().XS_(i), rec.XS_(i)) << "a cleared flag for a name not written, station " << i;
                else
                    EXPECT_FALSE(ok);
            }
            break;
        }
        case 1: {
            const bool on = rng.bounded(2) == 0;
            if (link.SetPump(on)) {
                EXPECT_EQ(sim.pumpOn(), on) << "a pump command claimed that never arrived";
            }
            const QDateTime when(QDate(2030 + int(rng.bounded(60)), 1 + int(rng.bounded(12)), 1), QTime(12, 0));
            if (link.SetDateTime(when)) {
                EXPECT_LE(std::abs(sim.clock().secsTo(when)), 120) << "a clock set claimed that never arrived";
            }
            break;
        }
        case 2: {
            clsInstrument read;
            if (link.GetInstrument(read)) {
                for (int i = 0; i < 4; ++i)
                    EXPECT_EQ(read.XS_(i), sim.state().XS_(i)) << "station " << i;
            }
            break;
        }
        default: // the live-reading poll goes unanswered: the link searches, sometimes reopening the port
            link.setRunDensty(true);
            waitFor([&] { return !link.Connected(); }, 300);
            link.setRunDensty(false);
            if (rng.bounded(2))
                waitFor([&] { return link.LinkState() == uclQlif::LinkReopened || link.Connected(); }, 2000);
            break;
        }
    }
    flush();
    ASSERT_TRUE(waitFor([&] { return link.Connected(); }));
    for (int i = 0; i < 4; ++i)
        rec.setXS_(i, QStringLiteral("CLEAN %1").arg(i));
    EXPECT_TRUE(link.SetInstrument(rec)) << Joined(link.UploadProblems()).toStdString();
    EXPECT_TRUE(link.SetPump(true));
    EXPECT_TRUE(sim.pumpOn());
    clsInstrument read;
    ASSERT_TRUE(link.GetInstrument(read));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(read.XS_(i), rec.XS_(i));
}

// A damaged frame arrives while a clock set or pump command waits; the link asks for it again
// with NAK, and the command takes its real answer. The repeat the NAK asked for comes late,
// after the next command of the same code has gone out and been lost: it confirms nothing sent
// after the NAK, so that command fails, and the instrument keeps what the first one set.
TEST_F(OrderTest, RepeatAfterNakConfirmsNothingSentAfterIt)
{
    const QDateTime t1(QDate(2030, 1, 2), QTime(3, 4, 5)), t2(QDate(2031, 6, 7), QTime(8, 9, 10));
    struct Command {
        QByteArray code;
        std::function<bool(int phase)> run;
        std::function<bool(int phase)> holds; // the instrument holds what that phase asked
    };
    const QList<Command> commands = {
        {"HC", [&](int p) { return link.SetDateTime(p == 2 ? t2 : t1); },
         [&](int p) { return std::abs(sim.clock().secsTo(p == 2 ? t2 : t1)) <= 5; }},
        {"BP", [&](int p) { return link.SetPump(p != 2); }, [&](int p) { return sim.pumpOn() == (p != 2); }},
    };
    ASSERT_TRUE(connectLink());
    for (const Command &c : commands) {
        SCOPED_TRACE(c.code.toStdString());
        sim.addRule(Rule(SimFault::DamagedBefore, c.code, 'W'));
        SimFaultRule late{SimFault::HoldRepeat, c.code, 0, 1, 1};
        late.delayMs = 600000;
        sim.addRule(late);
        EXPECT_TRUE(c.run(1)) << link.CommandFailure().toStdString();
        EXPECT_TRUE(c.holds(1));
        ASSERT_TRUE(waitFor([&] { return sim.heldCount() == 1; })) << "the NAK asks for a repeat";
        sim.clearRules();
        sim.addRule(Rule(SimFault::NoAnswer, c.code, 'W', 1, -1));
        releaseAt({}); // the repeat comes with the next request, whatever it is
        EXPECT_FALSE(c.run(2)) << "the instrument never got it";
        EXPECT_TRUE(c.holds(1));
        EXPECT_TRUE(link.CommandFailure().startsWith(SettingLabel(QString::fromLatin1(c.code))))
            << link.CommandFailure().toStdString();
        flush();
        EXPECT_TRUE(c.run(2)) << link.CommandFailure().toStdString();
        EXPECT_TRUE(c.holds(2));
        // Lost itself while noise comes: the repeat is the last command's answer again.
        sim.addRule(Rule(SimFault::NoAnswer, c.code, 'W', 1, -1));
        sim.addRule(Rule(SimFault::DamagedBefore, c.code, 'W'));
        EXPECT_FALSE(c.run(1)) << "the instrument never got it";
        EXPECT_TRUE(c.holds(2));
        flush();
    }
    EXPECT_TRUE(logText().contains(QStringLiteral("Check SUM error")));
}

// The instrument goes on answering in order while the link searches: through the link's own
// close and reopen of the port, and through an adapter pulled out and plugged in again, whose
// port the search opens anew. A pump switch-on whose answer comes late, a search that connects
// on a connection check answered late, then a switch-off that the instrument never gets: the
// late answer of the switch-on must not stand in for it.
TEST_F(OrderTest, WhatTheLineOwesOutlivesTheLinksOwnReopen)
{
    struct Case {
        const char *what;
        std::function<void()> search;                            // the link loses the instrument
        std::function<bool(const QByteArray &)> connectsOn;      // the probe that gets the late answer
    };
    const QList<Case> cases = {
        {"the reading poll goes unanswered; the search reopens the port every few probes",
         [&] {
             link.setRunDensty(true);
             ASSERT_TRUE(waitFor([&] { return !link.Connected(); }));
             link.setRunDensty(false);
         },
         [&](const QByteArray &body) { return link.LinkState() == uclQlif::LinkReopened && body.startsWith("RC,R,"); }},
        {"the adapter is pulled out and plugged in again",
         [&] {
             adapter.pull(); // the link hears of it at once
             EXPECT_FALSE(link.Connected());
             adapter.plugIn();
         },
         [&](const QByteArray &body) { return link.LinkState() == uclQlif::LinkSearching && body.startsWith("RC,R,"); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (&c != &cases.first()) { // the adapter's line
            link.setPortOpen(false);
            sim.hangUp();
            link.setHostTransport(&adapter);
        }
        ASSERT_TRUE(connectLink());
        sim.addRule(Rule(SimFault::NoAnswer, "BP", 'W', 1, 3));
        EXPECT_FALSE(link.SetPump(true));
        sim.clearRules();
        sim.addRule(Hold("RC")); // the check that settles the line, and every answer after it, comes late
        EXPECT_FALSE(link.SetPump(true));
        EXPECT_TRUE(sim.pumpOn()) << "it got there; only its answer is late";
        c.search();
        bool released = false;
        const QMetaObject::Connection late =
            QObject::connect(&sim, &SimInstrument::requestSeen, &link, [&](const QByteArray &body) {
                if (!released && c.connectsOn(body)) {
                    released = true;
                    sim.sendHeldFirst(1); // the check's late answer: the probe connects on it
                }
            });
        ASSERT_TRUE(waitFor([&] { return link.Connected(); }, 20000));
        QObject::disconnect(late);
        ASSERT_TRUE(released);
        sim.clearRules();
        sim.addRule(Rule(SimFault::NoAnswer, "BP", 'W', 1, -1));
        releaseAt({});
        EXPECT_FALSE(link.SetPump(false)) << "the instrument never got it";
        EXPECT_TRUE(sim.pumpOn());
        flush();
        ASSERT_TRUE(waitFor([&] { return link.Connected(); }));
        EXPECT_TRUE(link.SetPump(false)) << link.CommandFailure().toStdString();
        EXPECT_FALSE(sim.pumpOn());
    }
}

// The clock gets the time at which its request goes out, not the time it was asked for: the
// exchange that settles the line first, or the first copy of the request that got lost, takes
// over a second before the copy the instrument takes.
TEST_F(OrderTest, ClockGetsTheTimeAtWhichItIsSent)
{
    ASSERT_TRUE(connectLink());
    const QDateTime asked(QDate(2030, 1, 2), QTime(3, 4, 5));
    struct Case {
        const char *what;
        QByteArray slow;     // the request after which the instrument takes its time
        SimFaultRule before; // what the command before it met (no rule: no command before)
        SimFaultRule now;    // what this command meets
        int copies;          // clock requests this command sends
    };
    const QList<Case> cases = {
        {"the line is settled first", "RC,R,", Rule(SimFault::NoAnswer, "HC", 'W', 1, 3), {}, 1},
        {"the request is resent", "HC,W,", {}, Rule(SimFault::NoAnswer, "HC", 'W'), 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.before.code.isEmpty()) {
            sim.addRule(c.before);
            EXPECT_FALSE(link.SetDateTime(asked));
            sim.clearRules();
        }
        if (!c.now.code.isEmpty())
            sim.addRule(c.now);
        bool slept = false;
        const QMetaObject::Connection slow =
            QObject::connect(&sim, &SimInstrument::requestSeen, &link, [&](const QByteArray &body) {
                if (!slept && body.startsWith(c.slow)) {
                    slept = true;
                    QThread::msleep(1500);
                }
            });
        const qsizetype before = requestsOf("HC,W,").size();
        EXPECT_TRUE(link.SetDateTime(asked)) << link.CommandFailure().toStdString();
        QObject::disconnect(slow);
        sim.clearRules();
        EXPECT_TRUE(slept);
        EXPECT_EQ(requestsOf("HC,W,").size() - before, c.copies);
        const QByteArray sent = requestsOf("HC,W,").last();
        const QDateTime carried = QDateTime::fromString(QString::fromLatin1(sent.mid(5, 12)), QStringLiteral("yyMMddHHmmss"))
                                      .addYears(100);
        ASSERT_TRUE(carried.isValid()) << sent.toStdString();
        EXPECT_GE(asked.secsTo(carried), 1) << sent.toStdString();
        EXPECT_LT(asked.secsTo(carried), 600) << sent.toStdString();
    }
}

// Six pump commands and six clock sets, the third with a damaged frame before its answer
// (noise) or with its answer itself damaged: the NAK's repeat leaves that answer unsure, and
// one connection check settles the line at once. The repeat that came too confirms the answer;
// without it the command goes once more. Nothing waits out a time-out.
TEST_F(OrderTest, DamagedAnswerCostsOneCheckAndNoTimeOut)
{
    ASSERT_TRUE(connectLink());
    link.setTickInterval(100); // a time-out of a whole second: none is waited for here
    const QDateTime base(QDate(2030, 1, 2), QTime(3, 4, 5));
    struct Case {
        SimFault fault;
        QByteArray code;
        int resends; // sends of the third beyond its first
    };
    const Case cases[] = {{SimFault::DamagedBefore, "BP", 0}, {SimFault::CorruptChecksum, "BP", 1},
                          {SimFault::DamagedBefore, "HC", 0}, {SimFault::CorruptChecksum, "HC", 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.code.toStdString() << (c.resends ? " answer damaged" : " noise"));
        sim.clearRules();
        sim.addRule(Rule(c.fault, c.code, c.fault == SimFault::DamagedBefore ? 'W' : 0, 3));
        const qsizetype from = sim.requests().size();
        const qsizetype logFrom = logText().size();
        for (int i = 0; i < 6; ++i) {
            SCOPED_TRACE(i);
            if (c.code == "BP") {
                EXPECT_TRUE(link.SetPump(i % 2 == 0)) << link.CommandFailure().toStdString();
                EXPECT_EQ(sim.pumpOn(), i % 2 == 0);
            } else {
                EXPECT_TRUE(link.SetDateTime(base.addDays(i))) << link.CommandFailure().toStdString();
                EXPECT_LE(std::abs(sim.clock().secsTo(base.addDays(i))), 5);
            }
        }
        qsizetype checks = 0, sends = 0;
        for (qsizetype i = from; i < sim.requests().size(); ++i) {
            checks += sim.requests()[i].startsWith("RC,R,") || sim.requests()[i].startsWith("VP,R,") ? 1 : 0;
            sends += sim.requests()[i].startsWith(c.code + ",W,") ? 1 : 0;
        }
        EXPECT_EQ(checks, 1);
        EXPECT_EQ(sends, 6 + c.resends);
        const QString log = logText().mid(logFrom);
        EXPECT_TRUE(log.contains(QStringLiteral("Check SUM error")));
        EXPECT_FALSE(log.contains(QStringLiteral("Time out"))) << log.toStdString();
    }
}

// The repeat a NAK asks for may copy the answer of any request still out when it went, not
// only of the one waiting. A pump switch-on that goes unanswered (its answer held up behind a
// clock set's), then a switch-off that the instrument never gets: the noise the switch-on
// caused arrives while the switch-off waits, and the repeat of the switch-on's answer must not
// stand in for the switch-off's.
TEST_F(OrderTest, RepeatOfAnEarlierCommandsAnswerConfirmsNoLaterOne)
{
    ASSERT_TRUE(connectLink());
    link.setRetry(0);
    sim.addRule(Hold("HC")); // the clock's answer, and everything after it, held
    EXPECT_FALSE(link.SetDateTime(QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5))));
    sim.addRule(Rule(SimFault::DamagedBefore, "BP", 'W')); // queued behind: noise, then the answer
    EXPECT_FALSE(link.SetPump(true));
    EXPECT_TRUE(sim.pumpOn()) << "it got there; its answer waits behind the clock's";
    link.setRetry(2);
    sim.addRule(Rule(SimFault::NoAnswer, "RC", 'R', 1, 3)); // the check that settles the line is lost
    sim.addRule(Rule(SimFault::NoAnswer, "BP", 'W', 1, -1));
    releaseAt("BP,W,0"); // the clock's answer, the noise and the switch-on's answer
    EXPECT_FALSE(link.SetPump(false)) << "the instrument never got it";
    EXPECT_TRUE(sim.pumpOn());
    EXPECT_TRUE(logText().contains(QStringLiteral("Check SUM error"))) << logText().toStdString();
    flush();
    EXPECT_TRUE(link.SetPump(false)) << link.CommandFailure().toStdString();
    EXPECT_FALSE(sim.pumpOn());
}
