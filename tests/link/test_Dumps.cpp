#include "LinkFixture.h"
#include "support/DumpPattern.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>

namespace {
QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

// A damaged block, and its damaged resend, are asked for again; the image is whole.
TEST_F(LinkTest, FlashRangeSurvivesDamagedBlocks)
{
    ASSERT_TRUE(connectLink());
    sim.addRule(Rule(SimFault::CorruptChecksum, "EP", 0, 3));
    sim.addRule(Rule(SimFault::CorruptChecksum, "EP", 0, 4));
    QSignalSpy progress(&link, &uclQlif::DumpMessage);
    const QString path = dir.filePath(QStringLiteral("VANTIK.DAT"));
    ASSERT_TRUE(link.GetBinDump(path, 2, 9));
    EXPECT_EQ(ReadAll(path), DumpPattern('F', 8 * 1024, 2 * 1024));
    EXPECT_TRUE(logText().contains(QStringLiteral("<<< Check SUM error >>>")));
    EXPECT_TRUE(logText().contains(QStringLiteral("<1024 bytes>")));
    ASSERT_GE(progress.count(), 2);
    EXPECT_EQ(progress.first().first().toString(), QStringLiteral("Initialize Local Image"));
    EXPECT_EQ(progress.at(1).first().toString(), QStringLiteral("Get FLASH Image"));
}

// A line lost in the middle, or a refusal, fails the dump, says so and leaves the old file.
TEST_F(LinkTest, FailedOrRefusedDumpIsReportedAndLeavesTheOldFile)
{
    ASSERT_TRUE(connectLink());
    QSignalSpy progress(&link, &uclQlif::DumpMessage);
    const QString opt = dir.filePath(QStringLiteral("VK_ES_OPT3.DAT"));
    sim.addRule(Rule(SimFault::Refuse, "OD"));
    EXPECT_FALSE(link.GetOptBinDump(3, QStringLiteral("ESR"), opt, 2048));
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().first().toString(), QStringLiteral("failed "));
    EXPECT_EQ(link.DumpFailure(), QStringLiteral("OPT3 DATA Dump (OD 3,ESR) failed at block 1 of 16: the instrument refused it"));
    EXPECT_FALSE(QFile::exists(opt));

    const QString path = dir.filePath(QStringLiteral("VANTIK.DAT"));
    WriteTestFile(path, "previous image");
    EXPECT_FALSE(link.GetBinDump(path, 5, 4)); // an empty range is refused before any traffic
    EXPECT_EQ(link.DumpFailure(), QStringLiteral("FLASH Dump (EP) not started: blocks 5 to 4 are not in the memory"));
    sim.addRule(Rule(SimFault::HangUp, "EP", 'B', 4));
    progress.clear();
    QSignalSpy lost(&link, &uclQlif::LinkLost);
    EXPECT_FALSE(link.GetBinDump(path, 0, 15));
    EXPECT_TRUE(waitFor([&] { return lost.count() > 0; }));
    EXPECT_FALSE(link.Connected());
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_EQ(progress.last().first().toString(), QStringLiteral("failed "));
    EXPECT_EQ(link.DumpFailure(), QStringLiteral("FLASH Dump (EP) failed at block 4 of 16: the line was lost"));
    EXPECT_TRUE(logText().contains(QStringLiteral("<<< FLASH Dump (EP) failed at block 4 of 16: the line was lost >>>")));
    EXPECT_EQ(ReadAll(path), QByteArray("previous image"));
}

// The image is complete but the disk takes only part of it: the dump fails with the
// system's cause and the earlier image stays whole. That cause is all it says: an earlier
// dump's failure on the line is not this one's.
TEST_F(LinkTest, DumpThatCannotBeWrittenKeepsTheOldImageAndSaysWhy)
{
    ASSERT_TRUE(connectLink());
    link.serialLog().setEnabled(false);
    ASSERT_TRUE(link.ByteArrayMode(1, QStringLiteral("S")));
    const struct {
        const char *file;
        QByteArray code;
        std::function<bool(const QString &)> dump;
        QByteArray image;
        const char *said[2]; // the progress window's second and last texts
    } cases[] = {
        {"VANTIK.DAT", "EP", [this](const QString &p) { return link.GetBinDump(p, 0, 7); }, DumpPattern('F', 8192),
         {"Get FLASH Image", "Get FLASH Image 8/8"}},
        {"VANTIKF.DAT", "EF", [this](const QString &p) { return link.GetBinDumpFRAM(p); }, DumpPattern('R', 8192),
         {"Get FRAM Image", "Get FRAM Image 32/32"}},
        {"VK_ES_OPT1.DAT", "OD", [this](const QString &p) { return link.GetOptBinDump(1, QStringLiteral("ESR"), p, 2048); },
         DumpPattern('b', 2048), {"Get Option Image 16/16", "Get Option Image 16/16"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = dir.filePath(QString::fromLatin1(c.file));
        WriteTestFile(path, "previous image");
        sim.addRule(Rule(SimFault::Refuse, c.code));
        ASSERT_FALSE(c.dump(path));
        ASSERT_FALSE(link.DumpFailure().isEmpty());
        const QStringList before = QDir(dir.path()).entryList(QDir::Files);
        bool ok = true;
        {
            ScopedFileSizeLimit limit(c.image.size() / 2);
            ok = c.dump(path);
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(link.DumpFileError(), QString::fromLocal8Bit(strerror(EFBIG)));
        EXPECT_EQ(link.DumpFailure(), QString()) << "the dump itself went well";
        EXPECT_EQ(ReadAll(path), QByteArray("previous image"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
        QSignalSpy progress(&link, &uclQlif::DumpMessage);
        ASSERT_TRUE(c.dump(path));
        EXPECT_TRUE(link.DumpFileError().isEmpty());
        EXPECT_EQ(ReadAll(path), c.image);
        ASSERT_GE(progress.count(), 2);
        EXPECT_EQ(progress.at(1).first().toString(), QLatin1String(c.said[0]));
        EXPECT_EQ(progress.last().first().toString(), QLatin1String(c.said[1]));
    }
}

TEST_F(LinkTest, OptionBoardRomVersionAndMemory)
{
    ASSERT_TRUE(connectLink());
    ASSERT_TRUE(link.ByteArrayMode(1, QStringLiteral("S")));
    EXPECT_EQ(link.getOptData(1, QStringLiteral("VPR"), 5), QStringLiteral("V1.20"));
    const QString data = dir.filePath(QStringLiteral("VK_ES_OPT1.DAT"));
    ASSERT_TRUE(link.GetOptBinDump(1, QStringLiteral("ESR"), data, 2048));
    EXPECT_EQ(ReadAll(data), DumpPattern('b', 2048));
    const QString flash = dir.filePath(QStringLiteral("VK_EF_OPT1.DAT"));
    ASSERT_TRUE(link.GetOptBinDump(1, QStringLiteral("EFR"), flash, 500)); // not a whole number of blocks
    EXPECT_EQ(ReadAll(flash), DumpPattern('l', 500));
    EXPECT_TRUE(link.ByteArrayMode(1, QStringLiteral("E")));
    // Board 2 is an empty slot in the demo instrument.
    EXPECT_FALSE(link.ByteArrayMode(2, QStringLiteral("S")));
    sim.addRule(Rule(SimFault::Refuse, "OB"));
    EXPECT_TRUE(link.getOptData(2, QStringLiteral("VPR"), 5).isEmpty());
}

TEST_F(LinkTest, CancelledDumpOrReadLeavesACleanLineForTheNextExchange)
{
    ASSERT_TRUE(connectLink());
    const QString path = dir.filePath(QStringLiteral("VANTIK.DAT"));
    // Cancel the moment the instrument takes the request: its first blocks are on the way.
    const auto conn = QObject::connect(&sim, &SimInstrument::requestSeen, &link, [this](const QByteArray &body) {
        if (body.startsWith("EP,R"))
            link.setCancel(true);
    });
    for (int round = 0; round < 3; ++round) {
        EXPECT_FALSE(link.GetBinDump(path, 0, 255));
        EXPECT_EQ(link.Status(), uclQlif::StatusCancelled);
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_TRUE(link.SetPump(true)) << "round " << round;
    }
    QObject::disconnect(conn);
    // A read cancelled in its middle ends at once, and the next operation starts clean.
    int frames = 0;
    QObject::connect(&link, &uclQlif::StsTransmit, [&] {
        if (++frames == 40)
            link.setCancel(true);
    });
    sim.clearRequests();
    clsInstrument rec;
    EXPECT_FALSE(link.GetInstrument(rec));
    EXPECT_EQ(link.Status(), uclQlif::StatusCancelled);
    EXPECT_LT(sim.requests().size(), 60);
    EXPECT_TRUE(link.SetPump(true));
}

// A finished dump settles its own request: the next dump of its kind goes out at once on a
// clean line. One whose request went out twice may still bring the other copy's blocks: the
// next dump of its kind settles the line first.
TEST_F(LinkTest, NextDumpOfAKindSettlesOnlyWhatMayStillBeAnswered)
{
    ASSERT_TRUE(connectLink());
    link.serialLog().setEnabled(false);
    const QString path = dir.filePath(QStringLiteral("DUMP.DAT"));
    const std::function<bool()> flash = [&] { return link.GetBinDump(path, 0, 3); };
    const std::function<bool()> fram = [&] { return link.GetBinDumpFRAM(path); };
    const std::function<bool()> board = [&] { return link.GetOptBinDump(1, QStringLiteral("ESR"), path, 512); };
    const struct {
        QByteArray code;
        const std::function<bool()> &dump;
        bool firstRequestLost;
        int settling; // exchanges that settle the line before the second dump
    } cases[] = {
        {"EP", flash, false, 0}, {"EF", fram, false, 0}, {"OD", board, false, 0},
        {"EP", flash, true, 1},  {"OD", board, true, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.code.toStdString() << (c.firstRequestLost ? " lost once" : " clean"));
        if (c.firstRequestLost)
            sim.addRule(Rule(SimFault::NoAnswer, c.code, 'R'));
        ASSERT_TRUE(c.dump());
        sim.clearRules();
        sim.clearRequests();
        ASSERT_TRUE(c.dump());
        EXPECT_EQ(requestsOf("RC,R,").size() + requestsOf("VP,R,").size(), c.settling);
        EXPECT_EQ(requestsOf(c.code + ",R,").size(), 1);
    }
}
