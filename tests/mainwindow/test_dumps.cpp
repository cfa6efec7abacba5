// Service-mode memory dumps against the simulator: the images, and what a failed or
// cancelled dump leaves behind.
#include "MainFixture.h"
#include "platform/QtPrint.h"
#include "support/DumpPattern.h"

using namespace Commands;

class Dumps : public MainFixture {
protected:
    void Keep(const QString &name) { writeFile(name, QByteArray("last good image")); }
    // Presses the progress window's cancel button as the request goes out.
    void CancelAfter(const QByteArray &request)
    {
        WhenRequest(request, [] {
            if (frmUpload *u = frmUpload::Find())
                QTest::mouseClick(u->cmdUpload, Qt::LeftButton);
        });
    }
};

TEST_F(Dumps, WholeFlashIsFourMebibytesACancelledDumpKeepsTheLastImage)
{
    ASSERT_TRUE(StartAndRead(true));
    EXPECT_EQ(form->FlashDumpLastBlock, 4095);
    Press(form->cmdDown[2]);
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIK.DAT")).size(), 4 * 1024 * 1024); // the content: the link's tests
    EXPECT_TRUE(sim->requests().contains("EP,R,0000,0FFF,"));
    EXPECT_EQ(LogColor(Line(5469)), kGreen);
    // Cancelled: the last image stays and the next read works.
    form->rtbLog->clear();
    Keep(QStringLiteral("VANTIK.DAT"));
    CancelAfter("EP,R");
    Press(form->cmdDown[2]);
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIK.DAT")), QByteArray("last good image"));
    EXPECT_EQ(LogColor(Line(5462)), kRed);
    EXPECT_EQ(LogColor(Line(5469)), -1) << "no success line after a cancel";
    EXPECT_EQ(SerialLogText().count(QStringLiteral("--- FLASH Dump Download Finished. ---")), 1) << "the first dump's only";
    EXPECT_EQ(gTransferMode, 0);
    // The next transfer is neither cancelled by the earlier press nor upset by blocks that
    // were still on the line.
    form->rtbLog->clear();
    Download();
    EXPECT_EQ(LogColor(Line(5415)), kGreen);
    // Refused: the last image stays and the failure is said (a hang-up is the link's test).
    sim->addRule({SimFault::Refuse, "EP", 'R', 1, 1});
    Press(form->cmdDown[2]);
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIK.DAT")), QByteArray("last good image"));
    EXPECT_EQ(LogColor(Text(kFlashFailed)), kRed);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("--- FLASH Dump Download Failed. ---")));
}

// A bad block is asked for again; a hang-up keeps the last image and says so.
TEST_F(Dumps, FramDumpSendsABadBlockAgainKeepsTheLastImageAndIsRefusedWhileReadingsRun)
{
    ASSERT_TRUE(StartAndRead(true));
    // Declined, or live readings running: nothing is asked of the instrument.
    Confirm(form->cmdFRAMDump, vb::No);
    form->uclQL7150->setRunDensty(true);
    Press(form->cmdFRAMDump);
    form->uclQL7150->setRunDensty(false);
    EXPECT_EQ(boxes->prompts(), (QStringList{GetMsg(5379), GetMsg(5367)}));
    EXPECT_EQ(Requests("EF"), 0);

    sim->addRule({SimFault::CorruptChecksum, "EF", 0, 3, 1});
    Confirm(form->cmdFRAMDump);
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIKF.DAT")), DumpPattern('R', 8192));
    EXPECT_EQ(LogColor(GetMsg(5464, QStringLiteral("EF"))), frmMain::kBrown);

    Keep(QStringLiteral("VANTIKF.DAT"));
    form->rtbLog->clear();
    sim->addRule({SimFault::HangUp, "EF", 'B', 2, 1});
    Confirm(form->cmdFRAMDump);
    EXPECT_EQ(ReadFile(QStringLiteral("VANTIKF.DAT")), QByteArray("last good image"));
    EXPECT_EQ(LogColor(Text(kDumpFailed, {QStringLiteral("EF")})), kRed);
    EXPECT_EQ(LogColor(QStringLiteral("FRAM Dump (EF) failed at block 2 of 32: the line was lost")), kRed);
    EXPECT_EQ(LogColor(GetMsg(5464, QStringLiteral("EF"))), -1) << "no end-of-dump line after a failure";
    EXPECT_EQ(gTransferMode, 0);
}

// Every option-board dump ends the board's transfer mode, whatever happened.
TEST_F(Dumps, OptionBoardDumpsAlwaysEndTransferMode)
{
    ASSERT_TRUE(StartAndRead(true));
    ASSERT_TRUE(form->Opt[0]->isChecked()); // board 1 is the only one fitted
    Press(form->cmdOptData);
    EXPECT_EQ(ReadFile(QStringLiteral("VK_ES_OPT1.DAT")), DumpPattern('b', 2048));
    EXPECT_EQ(Requests("MM,W,1,E"), 1);
    EXPECT_TRUE(LogLines().join(QString()).isEmpty()) << "a good dump writes no log line";

    // The board (the third slot's here) refuses transfer mode: skipped, still ended.
    form->Opt[2]->setChecked(true);
    sim->addRule({SimFault::Refuse, "MM", 'W', 1, 1});
    sim->clearRequests();
    Press(form->cmdOptData);
    EXPECT_EQ(Requests("OD,R"), 0);
    EXPECT_EQ(Requests("MM,W,3,E"), 1);
    EXPECT_EQ(LogColor(Text(kOptionRefused, {QStringLiteral("3")})), kRed);
    form->Opt[0]->setChecked(true);

    // The board stalls; the user gives up waiting.
    Keep(QStringLiteral("VK_EF_OPT1.DAT"));
    sim->clearRules();
    sim->addRule({SimFault::NoAnswer, "OD", 'R', 1, -1});
    sim->clearRequests();
    CancelAfter("OD,R");
    Press(form->cmdOptFlash);
    EXPECT_EQ(ReadFile(QStringLiteral("VK_EF_OPT1.DAT")), QByteArray("last good image"));
    EXPECT_EQ(LogColor(Line(5462)), kRed);
    EXPECT_EQ(Requests("MM,W,1,E"), 1);
}

// A failed dump says in the pane, under the failure line, which dump, where and why; a
// later command that runs no dump says nothing of an earlier one's failure.
TEST_F(Dumps, AFailedDumpNamesItselfItsBlockAndWhyUnderTheFailureLine)
{
    ASSERT_TRUE(StartAndRead(true));
    // The next line with text after the failure line (its own line break leaves an empty one).
    auto below = [this](const QString &failed) {
        const QStringList lines = LogLines();
        qsizetype at = lines.indexOf(failed);
        if (at < 0)
            return QStringLiteral("<no line \"%1\">").arg(failed);
        while (++at < lines.size() && lines.at(at).isEmpty()) {
        }
        return lines.value(at);
    };

    sim->addRule({SimFault::NoAnswer, "EP", 'R', 1, -1});
    Press(form->cmdDown[2]);
    const QString flash = QStringLiteral("FLASH Dump (EP) failed at block 1 of 4096: no answer from the instrument (%1 tries)")
                              .arg(form->uclQL7150->Retry() + 1);
    EXPECT_EQ(below(Text(kFlashFailed)), flash);
    EXPECT_EQ(LogColor(flash), kRed);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("<<< %1 >>>").arg(flash)));

    sim->clearRules();
    form->rtbLog->clear();
    sim->addRule({SimFault::Refuse, "OD", 'R', 1, 1});
    Press(form->cmdOptData);
    const QString option = QStringLiteral("OPT1 DATA Dump (OD 1,ESR) failed at block 1 of 16: the instrument refused it");
    EXPECT_EQ(below(Text(kDumpFailed, {QStringLiteral("VK_ES_OPT1")})), option);
    EXPECT_EQ(LogColor(option), kRed);

    // The board refuses transfer mode: no dump ran, so no dump's reason is shown.
    form->rtbLog->clear();
    sim->addRule({SimFault::Refuse, "MM", 'W', 1, 1});
    Press(form->cmdOptData);
    EXPECT_EQ(LogLines(), QStringList{Text(kOptionRefused, {QStringLiteral("1")})});
}
