// The link over a line that damages, delays or drops answers, and under modal windows.
#include "LinkFixture.h"
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMessageBox>

namespace {
int Count(const QString &text, const QString &what) { return int(text.count(what)); }
} // namespace

TEST_F(LinkTest, DamagedAnswersCountAgainstTheRetries)
{
    ASSERT_TRUE(connectLink());
    sim.addRule(Rule(SimFault::DamageAll, "", 0, 1, -1));
    QTimer::singleShot(3000, &link, [this] { link.setCancel(true); }); // a link that never gives up
    EXPECT_FALSE(link.SetPump(true));
    EXPECT_FALSE(link.Cancel()) << "the retries must end the exchange";
    EXPECT_EQ(link.Status(), uclQlif::StatusFailed);
    EXPECT_EQ(Count(logText(), QStringLiteral("> : [NAK]")), link.Retry());

    // The connect sequence fails as it does for a silent instrument.
    link.setPortOpen(false);
    QSignalSpy alarm(&link, &uclQlif::AlarmMessage);
    const quint64 sentBefore = link.framesSent();
    link.setPortOpen(true);
    ASSERT_TRUE(waitFor([&] { return alarm.count() > 0; }, 5000));
    EXPECT_FALSE(link.Connected());
    EXPECT_LE(link.framesSent() - sentBefore, 20u);
    EXPECT_LT(QFileInfo(link.serialLog().path()).size(), 16 * 1024);
}

TEST_F(LinkTest, DamagedBlocksOfADumpCountPerBlock)
{
    ASSERT_TRUE(connectLink());
    // Two damaged blocks in a row cost two retries of the block, not of the whole dump.
    sim.addRule(Rule(SimFault::DamageAll, "", 0, 3, 2));
    sim.addRule(Rule(SimFault::DamageAll, "", 0, 9, 2));
    EXPECT_TRUE(link.GetBinDumpFRAM(dir.filePath(QStringLiteral("f.dat"))));
    sim.clearRules();
    sim.addRule(Rule(SimFault::DamageAll, "", 0, 3, -1));
    EXPECT_FALSE(link.GetBinDumpFRAM(dir.filePath(QStringLiteral("g.dat"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("g.dat"))));
}

TEST_F(LinkTest, LateAnswerForTheSameCodeIsDroppedByItsEntryAndMode)
{
    ASSERT_TRUE(connectLink());
    // The third station read is answered only after the resend, and the answer to the resend
    // only when the link has moved on: it is dropped, and the next station is its own.
    sim.addRule(Rule(SimFault::LateAnswer, "XS", 'R', 3, 2));
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec)) << rec.FailLine().toStdString();
    for (int i : {1, 2, 3, 4})
        EXPECT_EQ(rec.XS_(i), sim.state().XS_(i));
    EXPECT_EQ(Count(logText(), QStringLiteral("Unexpected answer")), 1);

    // A stale read answer of the station comes in place of the write's own (the write is lost
    // on the line): it acknowledges nothing, and the resent write lands.
    rec.setXS_(2, QStringLiteral("TANK 3"));
    sim.addRule(Rule(SimFault::StaleRead, "XS", 'W'));
    ASSERT_TRUE(link.SetInstrument(rec));
    EXPECT_EQ(sim.state().XS_(2).trimmed(), QStringLiteral("TANK 3"));
    EXPECT_FALSE(rec.AnyChangeFlag());
    EXPECT_EQ(requestsOf("XS,W,").size(), 2);
    EXPECT_EQ(Count(logText(), QStringLiteral("Unexpected answer")), 2);
}

// A modal window opened during DEFAULT (the "It can not be performed" box of a second command)
// must not stop the polls: they run on under the box, and the run ends while it is open.
TEST_F(LinkTest, PollsRunOnUnderAModalWindow)
{
    sim.setBusyPolls(5);
    ASSERT_TRUE(connectLink());
    int underBox = -1; // busy polls while the box is open; -1 before it opens
    bool open = false;
    auto conn = QObject::connect(&sim, &SimInstrument::requestSeen, &link, [&](const QByteArray &body) {
        if (!body.startsWith("UX,C,"))
            return;
        if (underBox >= 0) {
            underBox += open ? 1 : 0;
            return;
        }
        underBox = 0;
        QTimer::singleShot(0, &link, [&] {
            QMessageBox box(QMessageBox::Information, "x", "y");
            QTimer closer;
            closer.start(20);
            QElapsedTimer since;
            since.start();
            // Closed once the instrument has finished, or after 3 s when the polls stopped.
            QObject::connect(&closer, &QTimer::timeout, &box, [&] {
                if (underBox >= 5 || since.elapsed() > 3000)
                    box.done(0);
            });
            open = true;
            box.exec();
            open = false;
        });
    });
    EXPECT_TRUE(link.DefaultInstrument(1));
    QObject::disconnect(conn);
    EXPECT_GE(underBox, 5) << "polls while the box was open";
}

TEST_F(LinkTest, FailedReadsLeaveStatusFailed)
{
    ASSERT_TRUE(connectLink());
    sim.addRule(Rule(SimFault::Refuse, "HC", 'R'));
    clsInstrument rec;
    EXPECT_FALSE(link.GetInstrument(rec));
    EXPECT_EQ(link.Status(), uclQlif::StatusFailed);
    sim.addRule(Rule(SimFault::Refuse, "SO", 'R'));
    EXPECT_FALSE(link.GetLatestHistory(rec));
    EXPECT_EQ(link.Status(), uclQlif::StatusFailed);
    sim.addRule(Rule(SimFault::BadClock, "HC", 'R'));
    EXPECT_FALSE(link.GetInstrument(rec));
    EXPECT_EQ(rec.FailLine(), QStringLiteral("HC,R"));
}
