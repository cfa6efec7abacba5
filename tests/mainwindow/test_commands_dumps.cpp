// Service-mode memory dumps against the simulator: the files, their sizes and contents,
// and what a failed or cancelled dump leaves behind.
#include "CommandsFixture.h"
#include <QTimer>

using namespace Commands;

class DumpCommands : public CommandsFixture {
protected:
    bool StartService()
    {
        if (!Start(true))
            return false;
        Download();
        form->rtbLog->clear();
        boxes->clear();
        sim->clearRequests();
        return gInstrument().CommFlags() == -1;
    }
    static QByteArray Pattern(char area, int size)
    {
        QByteArray b(size, 0);
        for (int i = 0; i < size; ++i)
            b[i] = SimInstrument::PatternByte(area, quint32(i));
        return b;
    }
    void Keep(const QString &name) { writeFile(name, QByteArray("last good image")); }
    // Presses the progress window's cancel button as the dump request goes out.
    void CancelAfter(const QByteArray &request)
    {
        WhenRequest(request, [] {
            if (frmUpload *u = frmUpload::Find())
                QTest::mouseClick(u->cmdUpload, Qt::LeftButton);
        });
    }
};

TEST_F(DumpCommands, FlashDumpWritesTheImage)
{
    ASSERT_TRUE(StartService());
    form->FlashDumpLastBlock = 15;
    Press(form->cmdDown[2]);
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIK.DAT")), Pattern('F', 16 * 1024));
    EXPECT_EQ(LogColor(Line(5465)), kGreen);
    EXPECT_EQ(LogColor(Line(5469)), kGreen);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("--- FLASH Dump Download Finished. ---")));
    EXPECT_EQ(gTransferMode, 0);
    EXPECT_EQ(frmUpload::Find(), nullptr);
    EXPECT_TRUE(form->fraCommand[0]->isEnabled());
}

TEST_F(DumpCommands, WholeFlashIsFourMebibytes)
{
    ASSERT_TRUE(StartService());
    EXPECT_EQ(form->FlashDumpLastBlock, 4095);
    Press(form->cmdDown[2]);
    const QByteArray image = ReadFile(QStringLiteral("VANTIK.DAT"));
    ASSERT_EQ(image.size(), 4 * 1024 * 1024);
    EXPECT_EQ(image.right(1024), Pattern('F', 4 * 1024 * 1024).right(1024));
    EXPECT_TRUE(sim->requests().contains("EP,R,0000,0FFF,"));
}

TEST_F(DumpCommands, CancelledFlashDumpKeepsTheLastImage)
{
    ASSERT_TRUE(StartService());
    Keep(QStringLiteral("VANTIK.DAT"));
    CancelAfter("EP,R");
    Press(form->cmdDown[2]);
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIK.DAT")), QByteArray("last good image"));
    EXPECT_EQ(LogColor(Line(5462)), kRed);
    EXPECT_EQ(LogColor(Line(5469)), -1);
    EXPECT_FALSE(SerialLogText().contains(QStringLiteral("--- FLASH Dump Download Finished. ---")));
    EXPECT_EQ(gTransferMode, 0);
    // The next transfer is neither cancelled by the earlier press nor upset by blocks that
    // were still on the line.
    form->rtbLog->clear();
    Download();
    EXPECT_EQ(LogColor(Line(5415)), kGreen);
}

TEST_F(DumpCommands, FlashDumpThatBreaksOffSaysSo)
{
    ASSERT_TRUE(StartService());
    Keep(QStringLiteral("VANTIK.DAT"));
    form->FlashDumpLastBlock = 31;
    sim->addRule({SimFault::HangUp, "EP", 'B', 5, 1});
    Press(form->cmdDown[2]);
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIK.DAT")), QByteArray("last good image"));
    EXPECT_EQ(LogColor(Text(kFlashFailed)), kRed);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("--- FLASH Dump Download Failed. ---")));
}

TEST_F(DumpCommands, FlashDumpWithoutConnection)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(Start(true));
    EXPECT_FALSE(form->FlashDumpDownload());
    EXPECT_EQ(LogColor(Line(5422)), kRed);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("---Interval Trend Download Failed.")));
}

TEST_F(DumpCommands, FramDumpWritesEightKibibytes)
{
    ASSERT_TRUE(StartService());
    sim->addRule({SimFault::CorruptChecksum, "EF", 0, 3, 1}); // one bad block, sent again
    boxes->push(vb::Yes);
    Press(form->cmdFRAMDump);
    EXPECT_EQ(boxes->calls().value(0).prompt, GetMsg(5379));
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIKF.DAT")), Pattern('R', 8192));
    EXPECT_EQ(LogColor(GetMsg(5463, QStringLiteral("EF"))), kBrown);
    EXPECT_EQ(LogColor(GetMsg(5464, QStringLiteral("EF"))), kBrown);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("--- Dump List Download Finished. ---")));
    EXPECT_EQ(gTransferMode, 0);
}

TEST_F(DumpCommands, FramDumpThatBreaksOffKeepsTheLastImage)
{
    ASSERT_TRUE(StartService());
    Keep(QStringLiteral("VANTIKF.DAT"));
    sim->addRule({SimFault::HangUp, "EF", 'B', 2, 1});
    boxes->push(vb::Yes);
    Press(form->cmdFRAMDump);
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIKF.DAT")), QByteArray("last good image"));
    EXPECT_EQ(LogColor(Text(kDumpFailed, {QStringLiteral("EF")})), kRed);
    EXPECT_EQ(LogColor(GetMsg(5464, QStringLiteral("EF"))), -1);
    EXPECT_EQ(gTransferMode, 0);
}

TEST_F(DumpCommands, FramDumpDeclinedOrRefused)
{
    ASSERT_TRUE(StartService());
    // Declined, or live readings running: nothing is asked of the instrument.
    boxes->push(vb::No);
    Press(form->cmdFRAMDump);
    form->uclQL7150->setRunDensty(true);
    Press(form->cmdFRAMDump);
    form->uclQL7150->setRunDensty(false);
    EXPECT_EQ(boxes->prompts(), (QStringList{GetMsg(5379), GetMsg(5367)}));
    EXPECT_EQ(boxes->calls().value(1).title, GetMsg(5368));
    EXPECT_EQ(Requests("EF"), 0);
}

TEST_F(DumpCommands, OptionBoardMemories)
{
    ASSERT_TRUE(StartService());
    ASSERT_TRUE(form->Opt[0]->isChecked()); // board 1 is the only one fitted
    Press(form->cmdOptData);
    EXPECT_EQ(ReadFile(QStringLiteral("VK_ES_OPT1.DAT")), Pattern('b', 2048));
    Press(form->cmdOptFlash);
    EXPECT_EQ(ReadFile(QStringLiteral("VK_EF_OPT1.DAT")), Pattern('l', 512));
    EXPECT_EQ(Requests("MM,W,1,S"), 2);
    EXPECT_EQ(Requests("MM,W,1,E"), 2);
    EXPECT_TRUE(Lines().isEmpty()) << "a good dump writes no log line";
    EXPECT_EQ(gTransferMode, 0);
}

TEST_F(DumpCommands, OptionBoardRefusingTransferModeIsSkippedAndEnded)
{
    ASSERT_TRUE(StartService());
    Keep(QStringLiteral("VK_ES_OPT1.DAT"));
    sim->addRule({SimFault::Refuse, "MM", 'W', 1, 1});
    Press(form->cmdOptData);
    EXPECT_EQ(Requests("OD,R"), 0);
    EXPECT_EQ(Requests("MM,W,1,E"), 1);
    EXPECT_EQ(ReadFile(QStringLiteral("VK_ES_OPT1.DAT")), QByteArray("last good image"));
    EXPECT_EQ(LogColor(Text(kOptionRefused, {QStringLiteral("1")})), kRed);
}

TEST_F(DumpCommands, CancelledOptionDumpKeepsTheLastImageAndEndsTransferMode)
{
    ASSERT_TRUE(StartService());
    Keep(QStringLiteral("VK_EF_OPT1.DAT"));
    // The board stalls; the user gives up waiting.
    sim->addRule({SimFault::NoAnswer, "OD", 'R', 1, -1});
    CancelAfter("OD,R");
    Press(form->cmdOptFlash);
    EXPECT_EQ(ReadFile(QStringLiteral("VK_EF_OPT1.DAT")), QByteArray("last good image"));
    EXPECT_EQ(LogColor(Line(5462)), kRed);
    EXPECT_EQ(Requests("MM,W,1,E"), 1);
}
