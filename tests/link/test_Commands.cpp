#include "LinkFixture.h"

TEST_F(LinkTest, SerialLogShowsAShortExchange)
{
    ASSERT_TRUE(connectLink());
    link.setSerialFileNo(0); // below one the log is off
    QFile::remove(link.serialLog().path());
    link.AddLog(QStringLiteral("x"));
    EXPECT_FALSE(QFile::exists(link.serialLog().path()));
    link.setSerialFileNo(1);
    link.AddLog(QStringLiteral("Comm = True"));
    ASSERT_TRUE(link.SetPump(true));
    const QStringList lines = logText().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(QTime::fromString(lines[1].left(9), QStringLiteral("hh:mm:ss ")).isValid()) << lines[1].toStdString();
    EXPECT_EQ(lines[0].mid(9), QStringLiteral("Comm = True"));
    EXPECT_EQ(lines[1].mid(9), QStringLiteral("> : [STX]BP,W,1,[ETX]") + QString::fromLatin1(Link::ChecksumHex("BP,W,1,")) +
                                   QStringLiteral("[EOT]"));
    EXPECT_EQ(lines[2].mid(9), QStringLiteral("< : [STX]BP,W,[ETX]") + QString::fromLatin1(Link::ChecksumHex("BP,W,")) +
                                   QStringLiteral("[EOT]"));
    EXPECT_EQ(lines[3].mid(9), QStringLiteral("> : [ACK]"));
}

// A second operation started inside the wait of one (here the pump inside the clock) is refused.
TEST_F(LinkTest, ClockAndPump)
{
    ASSERT_TRUE(connectLink());
    const QDateTime t(QDate(2031, 2, 3), QTime(4, 5, 6));
    int inner = -1;
    const auto c = QObject::connect(&link, &uclQlif::StsTransmit, [&] {
        if (inner < 0)
            inner = link.SetPump(true) ? 1 : 0;
    });
    ASSERT_TRUE(link.SetDateTime(t));
    QObject::disconnect(c);
    EXPECT_EQ(inner, 0);
    EXPECT_FALSE(sim.pumpOn());
    EXPECT_TRUE(sim.requests().contains("HC,W,310203040506,"));
    EXPECT_LE(std::abs(sim.clock().secsTo(t)), 2);
    EXPECT_TRUE(link.SetDateTime(QDateTime(QDate(2099, 12, 31), QTime(23, 59, 59)))); // the last year it takes
    EXPECT_FALSE(link.SetDateTime(QDateTime(QDate(2100, 1, 1), QTime(0, 0))));
    ASSERT_TRUE(link.SetPump(true));
    EXPECT_TRUE(sim.pumpOn());
    ASSERT_TRUE(link.SetPump(false));
    EXPECT_FALSE(sim.pumpOn());
}

TEST_F(LinkTest, DefaultReportsTheBoardStatusBusyPollsEnd)
{
    ASSERT_TRUE(connectLink());
    ASSERT_TRUE(link.DefaultInstrument(5));
    EXPECT_TRUE(sim.requests().contains("UX,W,5,"));
    EXPECT_EQ(link.DefaultStatus(), QStringLiteral("0"));
    EXPECT_GE(requestsOf("UX,C,").size(), 3); // two busy answers, then the result
    sim.setDefaultResult(QStringLiteral("A"));
    EXPECT_FALSE(link.DefaultInstrument(15));
    EXPECT_EQ(link.DefaultStatus(), QStringLiteral("A"));
    EXPECT_TRUE(logText().contains(GetMsg(5376)));

    // Busy polls run until not busy, give up at their limit, or end on cancel.
    sim.clearRequests();
    EXPECT_TRUE(link.RestoreFactorySet());
    EXPECT_GE(requestsOf("BP,R,").size(), 3);
    link.setBusyPollLimit(4);
    sim.addRule(Rule(SimFault::BusyForever, "UX", 'C', 1, -1));
    EXPECT_FALSE(link.DefaultInstrument(1));
    EXPECT_EQ(requestsOf("UX,C,").size(), 4);

    sim.addRule(Rule(SimFault::BusyForever, "BP", 'R', 1, -1));
    link.setBusyPollLimit(1000);
    QTimer::singleShot(300, &link, [this] { link.setCancel(true); });
    EXPECT_FALSE(link.RestoreFactorySet());
    EXPECT_TRUE(link.Cancel());
}

TEST_F(LinkTest, ZeroCalibrationStatusDigits)
{
    ASSERT_TRUE(connectLink());
    sim.setCalibrationDigit(1, '2');
    sim.setCalibrationDigit(2, '0');
    sim.setBusyPolls(2);
    sim.addRule(Rule(SimFault::Refuse, "SZ", 'C', 2)); // a refused poll while busy: the run polls on
    ASSERT_TRUE(link.ZeroCal(QStringLiteral("1111111")));
    EXPECT_EQ(requestsOf("SZ,C,").size(), 4); // busy, refused, busy, result
    EXPECT_EQ(link.ZeroStatus(0), 1);
    EXPECT_EQ(link.ZeroStatus(1), 2);
    EXPECT_EQ(link.ZeroStatus(2), 0);
    EXPECT_EQ(link.ZeroStatus(5), 2) << "a channel that is off takes no action";
    EXPECT_EQ(link.ZeroStatus(6), 2);
    EXPECT_EQ(link.ZeroStatus(7), -1);
    EXPECT_EQ(link.ZeroStatus(-1), -1);
    EXPECT_FALSE(link.ZeroCal(QStringLiteral("11x1111")));
}

TEST_F(LinkTest, StaleCalibrationStatusCannotEndANewRun)
{
    ASSERT_TRUE(connectLink());
    ASSERT_TRUE(link.ZeroCal(QStringLiteral("1111111")));
    ASSERT_EQ(link.ZeroStatus(0), 1);
    // The next run is accepted but its polls go unanswered: it must fail, not reuse the old status.
    sim.addRule(Rule(SimFault::NoAnswer, "SZ", 'C', 1, -1));
    EXPECT_FALSE(link.ZeroCal(QStringLiteral("1111111")));
    EXPECT_EQ(link.ZeroStatus(0), -1);
    sim.clearRules();
    sim.addRule(Rule(SimFault::Refuse, "SZ", 'W'));
    EXPECT_FALSE(link.ZeroCal(QStringLiteral("1111111")));
    EXPECT_TRUE(logText().contains(QStringLiteral("---Calibration Upload Failed---")));
}

TEST_F(LinkTest, SpanCalibration)
{
    ASSERT_TRUE(connectLink());
    sim.setCalibrationDigit(4, '2');
    const QString request = QStringLiteral("0100100,0000,00D1,0000,0000,0032,0000,0000");
    ASSERT_TRUE(link.SpanCal(request));
    EXPECT_TRUE(sim.requests().contains(("S2,W," + request + ",").toLatin1()));
    EXPECT_EQ(link.SpanStatus(0), 2) << "not asked";
    EXPECT_EQ(link.SpanStatus(1), 1);
    EXPECT_EQ(link.SpanStatus(4), 2);
    sim.addRule(Rule(SimFault::Refuse, "S2", 'C'));
    EXPECT_FALSE(link.SpanCal(request));
    EXPECT_EQ(link.SpanStatus(1), -1);
}

// Power-off closes the line only when accepted; without an answer it claims no connection.
TEST_F(LinkTest, PowerOffClosesTheLineOnlyWhenAccepted)
{
    ASSERT_TRUE(connectLink());
    sim.addRule(Rule(SimFault::Refuse, "RO"));
    EXPECT_FALSE(link.BodyPowerOff());
    EXPECT_TRUE(link.Connected());
    for (const SimFault fault : {SimFault::NoAnswer, SimFault::DropMidFrame}) {
        SCOPED_TRACE(int(fault));
        ASSERT_TRUE(connectLink());
        QSignalSpy lost(&link, &uclQlif::LinkLost);
        sim.clearRules();
        sim.addRule(Rule(fault, "RO", 'W', 1, -1));
        EXPECT_FALSE(link.BodyPowerOff());
        EXPECT_FALSE(link.Connected());
        EXPECT_EQ(lost.count(), 1);
        if (fault == SimFault::NoAnswer) {
            sim.clearRules();
            EXPECT_TRUE(waitFor([&] { return link.Connected(); })) << "the search finds it again";
        }
        link.setPortOpen(false);
    }
    sim.setPoweredOn(true);
    sim.clearRules();
    link.setCommDevice(sim.openPty()); // the dropped line hung up
    ASSERT_TRUE(connectLink());
    EXPECT_TRUE(link.BodyPowerOff());
    EXPECT_FALSE(link.Connected());
    EXPECT_FALSE(link.PortOpen());
    EXPECT_EQ(link.LinkState(), uclQlif::LinkDown);
}
