#include "LinkFixture.h"
#include "support/InstrumentDiff.h"

namespace {
// What a read brings differs in nothing from the instrument (the derived channels 7..9, the
// clock and the calibration history are not part of it).
std::string ReadDifferences(const clsInstrument &a, const clsInstrument &b)
{
    using M = clsInstrument::M;
    return MemberDifferences(a, b, [](M m, int i) {
               return m != M::SysDate && m != M::CalibBefore && m != M::CalibAfter && m != M::CalibDate &&
                      !(clsInstrument::info(m).count1 >= 10 && i >= 7);
           }).join(QStringLiteral("; ")).toStdString();
}
} // namespace

TEST_F(LinkTest, GetInstrumentReadsTheWholeInstrumentWithoutRaisingFlags)
{
    {
        clsInstrument::DeviceDoor door(sim.state());
        sim.state().setGasEnabled(6, -1); // the last channel on
    }
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    rec.setWarning(0, 77); // whatever was there goes
    ASSERT_TRUE(link.GetInstrument(rec));
    EXPECT_EQ(ReadDifferences(rec, sim.state()), "");
    EXPECT_FALSE(rec.AnyChangeFlag());
    EXPECT_LE(std::abs(rec.SysDateOffset()), 2);
    EXPECT_EQ(link.Status(), uclQlif::StatusDone);
    EXPECT_TRUE(gDataReceived);

    // The same instrument answering in blocks of at most 32 bytes reads the same.
    sim.setAnswerBlockSize(32);
    clsInstrument blocks;
    ASSERT_TRUE(link.GetInstrument(blocks));
    EXPECT_EQ(ReadDifferences(blocks, sim.state()), "");
}

TEST_F(LinkTest, InstrumentMessageAndLatestHistoryAreRaised)
{
    {
        clsInstrument::DeviceDoor door(sim.state());
        sim.state().setMessageString(QStringLiteral("Bump test due"));
    }
    ASSERT_TRUE(connectLink());
    QSignalSpy inst(&link, &uclQlif::InstMessage);
    QSignalSpy inter(&link, &uclQlif::InterMessage);
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    ASSERT_EQ(inst.count(), 1);
    EXPECT_EQ(inst.first().first().toString(), QStringLiteral("Bump test due"));
    ASSERT_TRUE(link.GetLatestHistory(rec));
    ASSERT_EQ(inter.count(), 1);
    EXPECT_TRUE(inter.first().first().toString().startsWith(QStringLiteral("Latest Calibration 2024/05/01 09:30:00")));
    EXPECT_FLOAT_EQ(rec.CalibAfter(2), 12.5f);
    EXPECT_FLOAT_EQ(rec.CalibBefore(2), sim.state().CalibBefore(2));
    EXPECT_NE(rec.CalibBefore(2), rec.CalibAfter(2));
    EXPECT_FALSE(rec.AnyChangeFlag());
    sim.setAnswerBlockSize(1); // sixteen fields, one a block: the most blocks an answer may have
    EXPECT_TRUE(link.GetLatestHistory(rec));
}

TEST_F(LinkTest, SetInstrumentSendsTheFlaggedLinesAndClearsThemOnAcceptance)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    rec.setIntervals(30);
    rec.setWarning(2, 6);
    sim.clearRequests();
    ASSERT_TRUE(link.SetInstrument(rec));
    const QList<QByteArray> &sent = sim.requests();
    ASSERT_EQ(sent.size(), 3);
    EXPECT_TRUE(sent[0].startsWith("XV,W,03,02,")); // the selection always goes
    EXPECT_EQ(sent[1], "XP,W,3,");
    EXPECT_TRUE(sent[2].startsWith("A1,W,"));
    EXPECT_FALSE(rec.AnyChangeFlag());
    EXPECT_EQ(sim.state().Intervals(), 30);
    EXPECT_FLOAT_EQ(sim.state().Warning(2), 6.0f);

    // A refused write keeps its flag and the rest goes on.
    rec.setIntervals(60);
    rec.setAlarmMode(2);
    sim.addRule(Rule(SimFault::Refuse, "XP", 'W'));
    EXPECT_FALSE(link.SetInstrument(rec));
    EXPECT_TRUE(rec.Change_Interval());
    EXPECT_FALSE(rec.Change_AlarmMode());
    EXPECT_EQ(sim.state().AlarmMode(), 2);
    EXPECT_EQ(sim.state().Intervals(), 30);
}

TEST_F(LinkTest, FactorySaveAndOptionBoardCommitEndTheSequence)
{
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    rec.setWarning(4, 30); // an option-board channel
    ASSERT_TRUE(rec.Change_SubBoard());
    gFactorySave = true;
    sim.clearRequests();
    ASSERT_TRUE(link.SetInstrument(rec));
    gFactorySave = false;
    const QList<QByteArray> &sent = sim.requests();
    ASSERT_GE(sent.size(), 3);
    EXPECT_EQ(sent[sent.size() - 2], "SB,W,");
    EXPECT_EQ(sent.last(), "UD,W,");
    EXPECT_FALSE(rec.Change_SubBoard());
}

TEST_F(LinkTest, RefusedAndShortAnswersMarkGroupsUnsupported)
{
    sim.addRule(Rule(SimFault::Refuse, "WB", 'R'));
    sim.addRule(Rule(SimFault::FewerFields, "FF", 'R')); // an older instrument knows fewer fields
    ASSERT_TRUE(connectLink());
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    EXPECT_TRUE(rec.invalidWB());
    EXPECT_TRUE(rec.invalidFF());
    EXPECT_FALSE(rec.invalidGN());

    rec.SetChangeFlags(true);
    sim.clearRequests();
    link.SetInstrument(rec);
    EXPECT_TRUE(requestsOf("WB,").isEmpty());
    EXPECT_TRUE(requestsOf("FF,").isEmpty());
    EXPECT_TRUE(requestsOf("GJ,").isEmpty()); // read-only on the line
    EXPECT_FALSE(requestsOf("AP,W,").isEmpty());
}

// A line whose read the instrument refuses is read past and left unread: no upload sends its
// blank until every value it carries is typed.
TEST_F(LinkTest, RefusedLineStaysUnreadUntilTyped)
{
    using Rec = clsInstrument;
    const struct {
        QByteArray code, written;
        QString label;
        std::function<QString(const Rec &)> held;
        std::function<void(Rec &)> typePart, type;
    } cases[] = {
        {"XS", "XS,W,03,", QStringLiteral("Station 3 (XS 03)"), [](const Rec &r) { return r.XS_(2); },
         [](Rec &) {}, [](Rec &r) { r.setXS_(2, QStringLiteral("TYPED")); }},
        {"LS", "LS,W,02,", QStringLiteral("PID Sensor 3 names (LS 02)"),
         [](const Rec &r) { return r.PIDLongName(2) + r.PIDName(2); },
         [](Rec &r) { r.setPIDName(2, QStringLiteral("T3")); }, [](Rec &r) { r.setPIDLongName(2, QStringLiteral("TYPED")); }},
    };
    ASSERT_TRUE(connectLink());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        const QString held = c.held(sim.state());
        sim.addRule(Rule(SimFault::Refuse, c.code, 'R', 3));
        clsInstrument rec;
        ASSERT_TRUE(link.GetInstrument(rec));
        EXPECT_EQ(link.ReadGaps(), QStringList{c.label + QStringLiteral(": the instrument refused to read it")});
        rec.SetChangeFlags(true);
        for (const auto &type : {std::function<void(Rec &)>([](Rec &) {}), c.typePart}) { // untouched, part typed
            type(rec);
            sim.clearRequests();
            EXPECT_FALSE(link.SetInstrument(rec));
            EXPECT_EQ(link.UploadProblems(), QStringList{c.label + QStringLiteral(" not sent: it could not be read from the instrument")});
            EXPECT_TRUE(requestsOf(c.written).isEmpty());
        }
        EXPECT_EQ(c.held(sim.state()), held);
        c.type(rec);
        EXPECT_TRUE(link.SetInstrument(rec));
        EXPECT_EQ(c.held(sim.state()), c.held(rec));
    }
}

// A checksum error is recovered with NAK; garbage and byte-wise delivery are harmless.
TEST_F(LinkTest, DamagedGarbledOrSlowAnswersStillRead)
{
    ASSERT_TRUE(connectLink());
    sim.addRule(Rule(SimFault::CorruptChecksum, "XP"));
    sim.addRule(Rule(SimFault::Garbage, "IT"));
    sim.addRule(Rule(SimFault::ByteByByte, "AP"));
    clsInstrument rec;
    ASSERT_TRUE(link.GetInstrument(rec));
    EXPECT_EQ(rec.Intervals(), 60);
    EXPECT_EQ(rec.AlarmMode(), 1);
    EXPECT_EQ(rec.GasType(0), sim.state().GasType(0));
    EXPECT_TRUE(logText().contains(QStringLiteral("<<< Check SUM error >>>")));
    EXPECT_TRUE(logText().contains(QStringLiteral("> : [NAK]")));
}

TEST_F(LinkTest, SilenceFailsAfterTheRetriesWithFailLine)
{
    ASSERT_TRUE(connectLink());
    sim.addRule(Rule(SimFault::NoAnswer, "XP", 'R', 1, -1));
    clsInstrument rec;
    EXPECT_FALSE(link.GetInstrument(rec));
    EXPECT_EQ(rec.FailLine(), QStringLiteral("XP,R"));
    EXPECT_EQ(requestsOf("XP,R,").size(), 1 + link.Retry());
    EXPECT_EQ(link.Status(), uclQlif::StatusFailed);
    EXPECT_EQ(rec.XS_(5).trimmed(), QStringLiteral("STATION 006")); // read before the failure stays
}
