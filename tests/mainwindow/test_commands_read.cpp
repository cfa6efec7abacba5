// The read-side commands against the simulator: download, read and save, power off, the
// clock check, and the failures each must report honestly.
#include "CommandsFixture.h"
#include <QLineEdit>

using namespace Commands;

class ReadCommands : public CommandsFixture {};

TEST_F(ReadCommands, DownloadFillsTheRecordAndTheView)
{
    ASSERT_TRUE(Start());
    Download();
    const clsInstrument &rec = gInstrument();
    EXPECT_EQ(rec.SerialNo(), sim->state().SerialNo());
    EXPECT_EQ(rec.GasName(1), QStringLiteral("OXY"));
    EXPECT_FLOAT_EQ(rec.Warning(0), 10.0f);
    EXPECT_EQ(rec.CommFlags(), -1);
    EXPECT_EQ(form->txtOption[0]->text(), sim->state().SerialNo());
    EXPECT_EQ(form->lblOptROM[0]->text(), QStringLiteral("V1.20")); // board 1 fitted
    EXPECT_TRUE(form->cmdOption[0]->isEnabled());                    // upload now possible
    EXPECT_TRUE(form->fraCommand[0]->isEnabled());
    EXPECT_EQ(frmUpload::Find(), nullptr);
    EXPECT_EQ(LogColor(Line(5415)), kGreen);
    EXPECT_TRUE(HasLine(Line(5414)));
    const QString serial = SerialLogText();
    EXPECT_TRUE(serial.contains(QStringLiteral("---Instrument Download Start Sequence---")));
    EXPECT_TRUE(serial.contains(QStringLiteral("---Instrument Download Finished---")));
    // Only boards that are fitted are asked for their ROM version.
    EXPECT_EQ(Requests("MM,W,1,S"), 1);
    EXPECT_EQ(Requests("MM,W,2"), 0);
    EXPECT_EQ(Requests("MM,W,1,E"), 1);
    // A plain download writes no history row.
    EXPECT_TRUE(HistoryActions().isEmpty());
}

TEST_F(ReadCommands, ReadFailureMidwayKeepsTheEarlierRecord)
{
    ASSERT_TRUE(Start());
    Download();
    const QString serialBefore = gInstrument().SerialNo();
    const float warnBefore = gInstrument().Warning(0);
    // The instrument changes, then stops answering halfway through the next read.
    {
        clsInstrument::DeviceDoor door(sim->state());
        sim->state().setWarning(0, 20);
        sim->state().setSerialNo(QStringLiteral("OTHER"));
    }
    sim->addRule({SimFault::NoAnswer, "XP", 'R', 1, -1});
    form->rtbLog->clear();
    Download();
    EXPECT_EQ(LogColor(Line(5416)), kRed);
    EXPECT_EQ(LogColor(Line(5415)), -1) << "no success text after a failed read";
    EXPECT_EQ(gInstrument().SerialNo(), serialBefore);
    EXPECT_FLOAT_EQ(gInstrument().Warning(0), warnBefore);
    EXPECT_EQ(gInstrument().CommFlags(), -1);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("---Instrument Download Fail Line--- XP,R")));
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("---Instrument Download Failed---")));
    EXPECT_TRUE(form->fraCommand[1]->isEnabled());
}

TEST_F(ReadCommands, FirstReadFailingLeavesNoRecordToUpload)
{
    ASSERT_TRUE(Start());
    sim->addRule({SimFault::NoAnswer, "GN", 'R', 1, -1});
    Download();
    EXPECT_EQ(LogColor(Line(5416)), kRed);
    EXPECT_EQ(gInstrument().CommFlags(), 0);
    EXPECT_FALSE(form->cmdOption[0]->isEnabled());
}

TEST_F(ReadCommands, CancelledReadThenTheNextReadWorks)
{
    ASSERT_TRUE(Start());
    WhenRequest("XS,R", [this] { form->uclQL7150->setCancel(true); }, 3);
    Download();
    EXPECT_EQ(LogColor(Line(5462)), kRed);
    EXPECT_EQ(LogColor(Line(5416)), -1);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("---Process to Canceled---")));
    EXPECT_EQ(gInstrument().CommFlags(), 0);
    // The cancel does not stick to the link.
    form->rtbLog->clear();
    Download();
    EXPECT_EQ(LogColor(Line(5415)), kGreen);
    EXPECT_EQ(gInstrument().SerialNo(), sim->state().SerialNo());
}

TEST_F(ReadCommands, ImproperInstrumentDateIsNamed)
{
    ASSERT_TRUE(Start());
    sim->addRule({SimFault::BadClock, "HC", 'R', 1, -1});
    Download();
    EXPECT_EQ(LogColor(Line(5416)), kRed);
    EXPECT_EQ(LogColor(Line(5590)), kRed);
}

TEST_F(ReadCommands, NotConnectedSaysSo)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(Start());
    form->DownloadInstrument(gInstrument());
    EXPECT_EQ(LogColor(Line(5417)), kRed);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("---Instrument Download Failed--- VANTIK  No response.")));
}

TEST_F(ReadCommands, ClockCheckAfterEveryIndexAtMoreThanOneDay)
{
    ASSERT_TRUE(Start());
    clsInstrument &rec = gInstrument();
    {
        clsInstrument::DeviceDoor door(rec);
        rec.setSysDateOffset(kSecondsPerDay);
    }
    form->cmdDown_Click(3);
    EXPECT_FALSE(HasLine(Line(5591)));
    {
        clsInstrument::DeviceDoor door(rec);
        rec.setSysDateOffset(-kSecondsPerDay - 1);
    }
    form->cmdDown_Click(0);
    EXPECT_EQ(LogColor(Line(5591)), kRed);
}

TEST_F(ReadCommands, InstrumentClockFarOffIsReportedAfterTheDownload)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(form->uclQL7150->SetDateTime(QDateTime::currentDateTime().addDays(3)));
    Download();
    EXPECT_NEAR(double(gInstrument().SysDateOffset()), -3.0 * kSecondsPerDay, 5);
    EXPECT_EQ(LogColor(Line(5591)), kRed);
}

TEST_F(ReadCommands, ReadAndSaveAppendsAReadRow)
{
    ASSERT_TRUE(Start());
    form->txtSuffix->setText(QStringLiteral("_A"));
    gFactorySuffix = QStringLiteral("_A");
    Press(form->cmdDown[5]);
    EXPECT_EQ(HistoryActions(), QStringList{QStringLiteral("Read")});
    EXPECT_TRUE(HistoryFilePath().endsWith(QStringLiteral("VANTIK_Setting_A.csv")));
    EXPECT_EQ(gInstrument().SerialNo(), sim->state().SerialNo());
    EXPECT_TRUE(HistoryRows().value(0).contains(sim->state().SerialNo()));
}

TEST_F(ReadCommands, SaveOnlyReadsIntoItsOwnRecord)
{
    ASSERT_TRUE(Start());
    Download();
    // The main record's clock looks far off; the instrument's own clock is right.
    {
        clsInstrument::DeviceDoor door(gInstrument());
        gInstrument().setSysDateOffset(5 * kSecondsPerDay);
        gInstrument().setSerialNo(QStringLiteral("MAIN"));
    }
    {
        clsInstrument::DeviceDoor door(sim->state());
        sim->state().setAnalogValue(3, 4321);
    }
    form->rtbLog->clear();
    form->chkSaveOnly->setChecked(true);
    Press(form->cmdDown[5]);
    EXPECT_EQ(gInstrument().SerialNo(), QStringLiteral("MAIN"));
    ASSERT_EQ(HistoryRows().size(), 1);
    EXPECT_TRUE(HistoryRows()[0].contains(sim->state().SerialNo()));
    EXPECT_FALSE(HasLine(Line(5591))) << "the clock just read is compared, not the main record's";
    EXPECT_TRUE(HasLine(QStringLiteral("ch3 \t: 4.321V"))) << "the values just read are listed";
}

TEST_F(ReadCommands, SaveOnlyFarOffClockOfTheReadRecordIsReported)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(form->uclQL7150->SetDateTime(QDateTime::currentDateTime().addDays(-2)));
    form->chkSaveOnly->setChecked(true);
    Press(form->cmdDown[5]);
    EXPECT_EQ(LogColor(Line(5591)), kRed);
    EXPECT_EQ(gInstrument().SysDateOffset(), 0);
}

TEST_F(ReadCommands, SuffixThatCannotNameAFileIsRefusedBeforeAnyTransfer)
{
    ASSERT_TRUE(Start());
    for (const QString &bad : {QStringLiteral("a/b"), QStringLiteral("x\"y"), QStringLiteral("q?"), QStringLiteral("|")}) {
        gFactorySuffix = bad;
        sim->clearRequests();
        boxes->clear();
        form->cmdDown_Click(5);
        ASSERT_EQ(boxes->calls().size(), 1) << bad.toStdString();
        EXPECT_EQ(boxes->calls()[0].icon(), vb::Critical);
        EXPECT_EQ(boxes->calls()[0].title, GetMsg(5001));
        EXPECT_EQ(Requests("XP"), 0);
    }
    EXPECT_TRUE(HistoryActions().isEmpty());
    gFactorySuffix = QStringLiteral("Site 4-B");
    form->cmdDown_Click(5);
    EXPECT_EQ(HistoryActions(), QStringList{QStringLiteral("Read")});
}

TEST_F(ReadCommands, HistoryThatCannotBeWrittenIsReported)
{
    ASSERT_TRUE(Start());
    // A folder in the way of the history file.
    QDir(dir.path()).mkdir(QStringLiteral("VANTIK_Setting.csv"));
    Press(form->cmdDown[5]);
    EXPECT_EQ(LogColor(Line(5415)), kGreen);
    bool reported = false;
    for (const QString &l : Lines())
        reported = reported || l.startsWith(QStringLiteral("Settings history not written"));
    EXPECT_TRUE(reported);
}

TEST_F(ReadCommands, PowerOffResetsToStartUp)
{
    ASSERT_TRUE(Start());
    Download();
    boxes->push(vb::Yes);
    Press(form->cmdDown[4]);
    EXPECT_EQ(boxes->calls().last().prompt, GetMsg(5347));
    EXPECT_TRUE(Requests("RO,W") == 1);
    EXPECT_EQ(gInstrument().CommFlags(), 0);
    EXPECT_TRUE(gInstrument().SerialNo().trimmed().isEmpty());
    EXPECT_TRUE(form->txtOption[0]->text().trimmed().isEmpty());
    EXPECT_FALSE(gInstrument().Change_SerialNo());
    EXPECT_TRUE(form->cmdExit->isEnabled());
    EXPECT_TRUE(QFile::exists(file(QString::fromLatin1(kSettingsFileName))));
    // The instrument is switched on again: the link finds it.
    sim->setPoweredOn(true);
    EXPECT_TRUE(WaitConnected());
}

TEST_F(ReadCommands, PowerOffDeclinedOrRefusedIsHonest)
{
    ASSERT_TRUE(Start());
    Download();
    boxes->push(vb::No);
    Press(form->cmdDown[4]);
    EXPECT_EQ(Requests("RO,W"), 0);
    EXPECT_TRUE(form->cmdExit->isEnabled());
    EXPECT_EQ(gInstrument().CommFlags(), -1);

    sim->addRule({SimFault::Refuse, "RO", 'W', 1, 1});
    boxes->push(vb::Yes);
    Press(form->cmdDown[4]);
    EXPECT_EQ(LogColor(Line(5408)), kRed);
    EXPECT_EQ(LogColor(Line(5407)), -1);
    EXPECT_EQ(gInstrument().CommFlags(), -1) << "a failed power off keeps the record";
    EXPECT_TRUE(form->cmdExit->isEnabled());
}

TEST_F(ReadCommands, PowerOffWithoutConnection)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(Start());
    boxes->push(vb::Yes);
    form->cmdDown_Click(4);
    EXPECT_EQ(LogColor(Line(5409)), kRed);
    EXPECT_TRUE(form->cmdExit->isEnabled());
}
