#include "LinkFixture.h"
#include "settingsfiles/SettingLines.h"
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

// A list entry whose read the instrument refuses is read past and stays unread: no upload, no
// settings file takes its blank for the instrument's value, until it is typed (every value the
// line carries) or read again.
TEST_F(LinkTest, RefusedListEntryStaysUnreadUntilTypedOrReadAgain)
{
    struct Case {
        QByteArray code;
        SettingLines::Entry entry;
        QString label;
        std::function<QString(const clsInstrument &)> held; // what the entry holds
        std::function<void(clsInstrument &)> typePart;     // types some of its values, or none
        std::function<void(clsInstrument &)> type;         // types the rest
    };
    const Case cases[] = {
        {"XS", {QStringLiteral("XS"), 2, SettingLines::Block::StationList}, QStringLiteral("Station 3 (XS 03)"),
         [](const clsInstrument &r) { return r.XS_(2); }, nullptr,
         [](clsInstrument &r) { r.setXS_(2, QStringLiteral("TYPED 3")); }},
        {"XZ", {QStringLiteral("XZ"), 2, SettingLines::Block::UserList}, QStringLiteral("User 3 (XZ 03)"),
         [](const clsInstrument &r) { return r.XZ_(2); }, nullptr,
         [](clsInstrument &r) { r.setXZ_(2, QStringLiteral("TYPED 3")); }},
        {"LS", {QStringLiteral("LS"), 2, SettingLines::Block::PidLow}, QStringLiteral("PID Sensor 3 names (LS 02)"),
         [](const clsInstrument &r) { return r.PIDLongName(2) + QLatin1Char('/') + r.PIDName(2); },
         [](clsInstrument &r) { r.setPIDName(2, QStringLiteral("T3")); },
         [](clsInstrument &r) { r.setPIDLongName(2, QStringLiteral("TYPED 3")); }},
    };
    ASSERT_TRUE(connectLink());
    const QString file = dir.filePath(QStringLiteral("unread.seq"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        const QString instrumentHeld = c.held(sim.state());
        const QByteArray written = c.code + ",W," + SettingLines::requestKey(c.entry).toLatin1() + ",";
        sim.clearRules();
        sim.addRule(Rule(SimFault::Refuse, c.code, 'R', 3));
        clsInstrument rec;
        ASSERT_TRUE(link.GetInstrument(rec)) << "the download reads on";
        EXPECT_EQ(link.ReadGaps(), QStringList{c.label + QStringLiteral(": the instrument refused to read it")});
        EXPECT_EQ(SettingLines::unreadEntries(rec), QVector<SettingLines::Entry>{c.entry});
        EXPECT_TRUE(logText().contains(QStringLiteral("<<< %1,R refused >>>").arg(QLatin1String(c.code))));

        // Every setting uploaded: the rest goes, the unread entry is left as the instrument has it.
        rec.SetChangeFlags(true);
        sim.clearRequests();
        EXPECT_FALSE(link.SetInstrument(rec));
        EXPECT_EQ(link.UploadProblems(), QStringList{c.label + QStringLiteral(" not sent: it could not be read from the instrument")});
        EXPECT_TRUE(requestsOf(written).isEmpty());
        const auto &all = SettingLines::entries();
        const auto others = std::count_if(all.begin(), all.end(), [&](const SettingLines::Entry &e) { return e.code == c.entry.code; }) - 1;
        EXPECT_EQ(requestsOf(c.code + ",W,").size(), others);
        EXPECT_EQ(c.held(sim.state()), instrumentHeld);
        QFile::remove(file);
        const SettingsFileResult stored = StoreConfig(rec, file, false);
        EXPECT_TRUE(!stored.ok && stored.error.contains(c.label) && !QFile::exists(file)) << stored.error.toStdString();

        // Typed: only when every value the line carries is the technician's does it go.
        if (c.typePart) {
            c.typePart(rec);
            sim.clearRequests();
            EXPECT_FALSE(link.SetInstrument(rec));
            EXPECT_TRUE(requestsOf(written).isEmpty());
        }
        c.type(rec);
        sim.clearRequests();
        EXPECT_TRUE(link.SetInstrument(rec));
        EXPECT_EQ(requestsOf(written).size(), 1);
        EXPECT_EQ(c.held(sim.state()), c.held(rec));
        EXPECT_TRUE(StoreConfig(rec, file, false).ok);

        // Read again: it goes as read, like every other.
        ASSERT_TRUE(link.GetInstrument(rec));
        sim.clearRequests();
        rec.SetChangeFlags(true);
        EXPECT_TRUE(link.ReadGaps().isEmpty() && link.SetInstrument(rec));
        EXPECT_EQ(requestsOf(written).size(), 1);
        sim.fillDemoState(); // back to what the instrument held, for the next case
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
