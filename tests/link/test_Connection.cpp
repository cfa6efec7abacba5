#include "LinkFixture.h"
#include "link/IrdaTransport.h"

TEST_F(LinkTest, SilentInstrumentGivesUpWith5405ThenReconnects)
{
    sim.setPoweredOn(false);
    QSignalSpy retry(&link, &uclQlif::ConnectRetry);
    QSignalSpy alarm(&link, &uclQlif::AlarmMessage);
    link.setPortOpen(true);
    ASSERT_TRUE(waitFor([&] { return alarm.count() > 0; }, 10000));
    EXPECT_EQ(alarm.first().first().toString(), GetMsg(5405));
    ASSERT_GE(retry.count(), 2); // every fifth silent probe, counted in rounds
    EXPECT_EQ(retry.at(0).first().value<int16_t>(), 1);
    EXPECT_EQ(retry.at(1).first().value<int16_t>(), 2);
    EXPECT_FALSE(link.Connected());
    EXPECT_GE(requestsOf("RC,R,").size(), 10);

    sim.setPoweredOn(true); // the search goes on after the message
    QSignalSpy connected(&link, &uclQlif::OnConnect);
    EXPECT_TRUE(waitFor([&] { return link.Connected(); }));
    EXPECT_EQ(connected.count(), 1);
    EXPECT_EQ(link.Status(), uclQlif::StatusIdle);
    EXPECT_EQ(link.LinkState(), uclQlif::LinkConnected);
    link.setRetry(0);
    link.setTimeout(-3);
    EXPECT_EQ(link.Retry(), 1); // below one counts as one
    EXPECT_EQ(link.Timeout(), 1);
}

// Unanswered polls end the link only when there are more of them in a row than Retry.
TEST_F(LinkTest, LiveReadingsArriveWhileThePollRuns)
{
    {
        clsInstrument::DeviceDoor door(sim.state());
        sim.state().setGasEnabled(6, -1); // the last channel on
    }
    ASSERT_TRUE(connectLink());
    QSignalSpy densty(&link, &uclQlif::Densty);
    QSignalSpy lost(&link, &uclQlif::LinkLost);
    sim.addRule(Rule(SimFault::NoAnswer, "DN", 'R', 1, link.Retry()));
    link.setRunDensty(true);
    ASSERT_TRUE(waitFor([&] { return densty.count() >= 2; }));
    EXPECT_EQ(lost.count(), 0);
    const QList<QVariant> v = densty.first();
    ASSERT_EQ(v.size(), 7);
    EXPECT_FLOAT_EQ(v[5].toFloat(), -101.0f); // channel 5 is off in the demo instrument
    EXPECT_GE(v[1].toFloat(), 20.0f);
    EXPECT_NE(v[6].toFloat(), -101.0f);
    sim.addRule(Rule(SimFault::NoAnswer, "DN", 'R', 1, -1));
    EXPECT_TRUE(waitFor([&] { return lost.count() > 0; }));
    link.setRunDensty(false);
}

TEST_F(LinkTest, InfraredStandInConnectsOnlyWhenServed)
{
    const QString name = QStringLiteral("vantik-test-%1").arg(QCoreApplication::applicationPid());
    link.setSerialComm(false);
    link.setIrdaServerName(name);
    QSignalSpy irda(&link, &uclQlif::IrDAError);
    link.setPortOpen(true);
    // Nobody serves it: searching, no link.
    waitFor([] { return false; }, 200);
    EXPECT_FALSE(link.Connected());
    ASSERT_GE(irda.count(), 1);
    EXPECT_EQ(irda.first().first().value<int16_t>(), 1022);

    SimInstrument irSim;
    irSim.fillDemoState();
    ASSERT_TRUE(irSim.serveIrda(name));
    EXPECT_TRUE(waitFor([&] { return link.Connected(); }));
    EXPECT_TRUE(link.SetPump(true));
    EXPECT_TRUE(irSim.pumpOn());
}

namespace {
class FakeLister : public PortLister
{
public:
    QList<UsbSerialPort> list;
    QList<UsbSerialPort> ports() const override { return list; }
};
UsbSerialPort Port(const QString &name, quint16 vid, quint16 pid)
{
    return {name, QStringLiteral("/dev/") + name, true, vid, pid};
}
} // namespace

TEST(AdapterLookup, OneAdapterNamesItsPortMoreThanOneWarns)
{
    ResetCoreGlobals();
    ResetLinkGlobals();
    FakeLister lister;
    SetPortLister(&lister);
    QStringList warnings;
    SetAdapterWarningHook([&](const QString &text, const QString &title) { warnings << text << title; });

    lister.list = {Port(QStringLiteral("ttyS0"), 0, 0), Port(QStringLiteral("ttyUSB0"), 0x10C4, 0xEA60)};
    EXPECT_EQ(FindIrDAPort(QStringLiteral("VID_10C4&PID_EA60")), 1);
    EXPECT_EQ(gIrCommNum, 1);
    EXPECT_EQ(gIrCommDevice, QStringLiteral("/dev/ttyUSB0"));
    uclQlif link;
    link.setCommPort(gIrCommNum);
    EXPECT_EQ(link.CommDevice(), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_TRUE(warnings.isEmpty());

    lister.list.append(Port(QStringLiteral("COM7"), 0x10C4, 0xEA60));
    EXPECT_EQ(FindIrDAPort(QStringLiteral("VID_10C4&PID_EA60")), 2);
    EXPECT_EQ(gIrCommNum, 0);
    EXPECT_TRUE(gIrCommDevice.isEmpty());
    EXPECT_EQ(warnings, (QStringList{QStringLiteral("IrDA Adapter has more than one is connected."),
                                     QStringLiteral("IrDA Adapter Error")}));

    lister.list.clear();
    gIrCommNum = 9;
    EXPECT_EQ(FindIrDAPort(QStringLiteral("VID_10C4&PID_EA60")), 0);
    EXPECT_EQ(gIrCommNum, 0);
    EXPECT_EQ(PortNumber(QStringLiteral("COM7")), 7);
    ResetLinkGlobals();
}

TEST(IrCommSettings, SetsTheSerialSettingsText)
{
    gCommSettings.clear();
    SetIrCommSettings();
    EXPECT_EQ(gCommSettings, QStringLiteral("921600,n,8,1"));
}

// A link still searching on a hung-up line's device name must never reach another program's
// new line that the system gave the same number: the two would read each other's answers.
TEST_F(LinkTest, HungUpLineKeepsItsNumberWhileItsInstrumentLives)
{
    ASSERT_TRUE(connectLink());
    QSignalSpy lost(&link, &uclQlif::LinkLost);
    sim.hangUp();
    ASSERT_TRUE(waitFor([&] { return lost.count() > 0; }));
    SimInstrument other;
    other.fillDemoState();
    EXPECT_NE(other.openPty(), ptyPath);
    waitFor([] { return false; }, 300); // the link tries its old name again meanwhile
    EXPECT_FALSE(link.Connected());
    EXPECT_EQ(other.requestCount(), 0u);
}

// The simulator hangs up with answers held back: they go with the line, and its next line is
// answered from the first request on.
TEST_F(LinkTest, HangUpDropsTheAnswersHeldBackAndTheNextLineIsAnswered)
{
    ASSERT_TRUE(connectLink());
    sim.addRule(Hold("BP"));
    EXPECT_FALSE(link.SetPump(true));
    ASSERT_GT(sim.heldCount(), 0);
    sim.hangUp();
    EXPECT_EQ(sim.heldCount(), 0);

    sim.clearRules();
    QSignalSpy sent(&sim, &SimInstrument::delivered);
    link.setPortOpen(false);
    link.setCommDevice(sim.openPty());
    ASSERT_TRUE(connectLink());
    EXPECT_TRUE(link.SetPump(true));
    int pumpAnswers = 0;
    for (const QList<QVariant> &bytes : std::as_const(sent))
        pumpAnswers += bytes.first().toByteArray().contains("BP,") ? 1 : 0;
    EXPECT_EQ(pumpAnswers, 1) << "only the new line's own: none held on the old one";
}
