#include "LinkFixture.h"
#include "settingsfiles/SettingLines.h"
#include "settingsfiles/SettingLabel.h"
#include "settingsfiles/SettingsFile.h"
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

// An instrument that lacks a command group refuses every entry of it (or, older, answers it in
// short, a refused entry there included): the group is unsupported and nothing is unread; the
// upload leaves it out and succeeds, and a store goes through.
TEST_F(LinkTest, GroupTheInstrumentLacksIsUnsupportedAndNothingElse)
{
    using M = clsInstrument::M;
    const struct {
        QList<SimFaultRule> rules;
        QList<M> unsupported;
        QString said; // in the serial log
    } cases[] = {
        {{Rule(SimFault::Refuse, "WB", 'R')}, {M::invalidWB}, QStringLiteral("WB: no entry")},
        {{Rule(SimFault::Refuse, "LA", 'R', 1, -1)}, {M::invalidLA_}, QStringLiteral("LA: no entry")},
        {{Rule(SimFault::Refuse, "LO", 'R', 1, -1)}, {M::invalidLO_}, QStringLiteral("LO: no entry")},
        {{Rule(SimFault::Refuse, "G1", 'R', 1, -1)}, {M::invalidG1}, QStringLiteral("G1: no entry")},
        {{Rule(SimFault::Refuse, "IF", 'R'), Rule(SimFault::Refuse, "I1", 'R'), Rule(SimFault::Refuse, "I2", 'R')},
         {M::InvalidIF}, QStringLiteral("IF, I1, I2: no entry")},
        {{Rule(SimFault::FewerFields, "FF", 'R'), Rule(SimFault::FewerFields, "LI", 'R', 1, -1), Rule(SimFault::Refuse, "LI", 'R', 4)},
         {M::invalidFF, M::invalidLI}, QStringLiteral("<<< LI,R refused >>>")},
    };
    ASSERT_TRUE(connectLink());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.said.toStdString());
        sim.clearRules();
        for (const SimFaultRule &r : c.rules)
            sim.addRule(r);
        clsInstrument rec;
        ASSERT_TRUE(link.GetInstrument(rec));
        EXPECT_TRUE(link.ReadGaps().isEmpty() && !rec.AnyUnread() && logText().contains(c.said));
        EXPECT_TRUE(StoreConfig(rec, dir.filePath(QStringLiteral("backup.seq")), false).ok);
        rec.SetChangeFlags(true);
        sim.clearRequests();
        EXPECT_TRUE(link.SetInstrument(rec));
        for (const SettingLines::Entry &e : SettingLines::entries())
            if (SettingLines::supportFlag(e) != M::Count) {
                const bool lacked = c.unsupported.contains(SettingLines::supportFlag(e));
                EXPECT_EQ(SettingLines::isSupported(rec, e), !lacked) << e.code.toStdString();
                EXPECT_EQ(requestsOf((e.code + QStringLiteral(",W,")).toLatin1()).isEmpty(), lacked) << e.code.toStdString();
            }
    }
}

// One entry of a group refused (or answered in a form not taken) while the group's other entries
// answer: the group stays supported and that line alone is unread: said, never sent or stored,
// left as the instrument holds it; after a clean download the upload sends it again.
TEST_F(LinkTest, RefusedEntryOfAGroupAnsweredInPartIsUnread)
{
    const struct {
        QByteArray code;
        int nth; // the read of the code that fails; the first: later answers clear a short form's flag
        SimFault fault = SimFault::Refuse;
        QString why = QStringLiteral("the instrument refused to read it");
    } cases[] = {
        {"LB", 1}, {"LO", 2}, {"LA", 3}, {"LI", 1}, {"LJ", 17}, {"G1", 6}, {"IF", 1}, // IF: I1 and I2 answer
        {"LA", 4, SimFault::FewerFields, QStringLiteral("its answer could not be taken (3 fields, 4 expected)")},
    };
    ASSERT_TRUE(connectLink());
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        QVector<SettingLines::Entry> group;
        const SettingLines::Entry *refused = nullptr;
        for (const SettingLines::Entry &e : SettingLines::entries())
            if (e.code == QLatin1String(c.code) && (e.index < 0 || e.index == c.nth - 1))
                refused = &e;
        for (const SettingLines::Entry &e : SettingLines::entries())
            if (SettingLines::supportFlag(e) == SettingLines::supportFlag(*refused) && !(e == *refused))
                group << e;
        const QString held = SettingLines::lineText(sim.state(), *refused).text;
        sim.clearRules();
        sim.addRule(Rule(c.fault, c.code, 'R', c.nth));
        clsInstrument rec;
        ASSERT_TRUE(link.GetInstrument(rec));
        EXPECT_TRUE(SettingLines::isSupported(rec, *refused) && SettingLines::isUnread(rec, *refused));
        EXPECT_EQ(link.ReadGaps(), QStringList{SettingLabel(*refused) + QStringLiteral(": ") + c.why});
        for (const SettingLines::Entry &e : group)
            EXPECT_EQ(SettingLines::lineText(rec, e).text, SettingLines::lineText(sim.state(), e).text);
        const SettingsFileResult stored = StoreConfig(rec, dir.filePath(QStringLiteral("backup.seq")), false);
        EXPECT_TRUE(!stored.ok && stored.error.contains(SettingLabel(*refused) + QStringLiteral(" could not be read")));

        rec.SetChangeFlags(true);
        sim.clearRequests();
        EXPECT_FALSE(link.SetInstrument(rec));
        EXPECT_EQ(link.UploadProblems(), QStringList{SettingLabel(*refused) + QStringLiteral(" not sent: it could not be read from the instrument")});
        for (const SettingLines::Entry &e : group)
            EXPECT_EQ(requestsOf(SettingLines::lineText(rec, e).text.toLatin1()).size(), 1) << "the rest of the group goes";
        EXPECT_EQ(SettingLines::lineText(sim.state(), *refused).text, held);
        clsInstrument clean;
        ASSERT_TRUE(link.GetInstrument(clean));
        clean.SetChangeFlags(true);
        EXPECT_TRUE(link.SetInstrument(clean));
        EXPECT_EQ(requestsOf(held.toLatin1()).size(), 1);
    }
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
