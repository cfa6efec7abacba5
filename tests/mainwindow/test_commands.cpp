// The commands against the simulator: every failure reported as one, records kept,
// refusals before any transfer.
#include "MainFixture.h"
#include "platform/Twips.h"
#include <QRegularExpression>

using namespace Commands;

class MainCommands : public MainFixture {};

// --- Reading ---------------------------------------------------------------------------

TEST_F(MainCommands, ReadFailuresKeepTheEarlierRecord)
{
    ASSERT_TRUE(Start());
    Download();
    // Only fitted boards are asked for their ROM version; a plain download writes no history.
    EXPECT_TRUE(Requests("MM,W,1,S") == 1 && Requests("MM,W,2") == 0 && HistoryActions().isEmpty());
    EXPECT_EQ(Requests("MM,W,1,E"), 1) << "the board is taken out of transfer mode again";
    const QString serialBefore = gInstrument().SerialNo();
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
    EXPECT_TRUE(gInstrument().SerialNo() == serialBefore && gInstrument().Warning(0) == 10.0f);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("---Instrument Download Fail Line--- XP,R")));
    EXPECT_EQ(LogColor(QStringLiteral("Interval Trend Time (XP): no answer from the instrument (")), kRed) << "where and why, in the pane";
    EXPECT_TRUE(form->fraCommand[1]->isEnabled());
    // A failed clock read names the improper date.
    sim->clearRules();
    sim->addRule({SimFault::BadClock, "HC", 'R', 1, -1});
    Download();
    EXPECT_EQ(LogColor(Line(5590)), kRed);
    // A name the line does not carry is named as such, not as damage.
    sim->clearRules();
    {
        clsInstrument::DeviceDoor door(sim->state());
        sim->state().setXS_(4, QString::fromLatin1("A\xC9" "B"));
    }
    Download();
    EXPECT_EQ(LogColor(QStringLiteral("Station 5 (XS 05): the answer holds a character the link does not take (0xC9)")), kRed);
}

TEST_F(MainCommands, FirstReadFailingOrCancelledLeavesNoRecordToUpload)
{
    ASSERT_TRUE(Start());
    sim->addRule({SimFault::NoAnswer, "GN", 'R', 1, -1});
    Download();
    EXPECT_EQ(gInstrument().CommFlags(), 0);
    EXPECT_FALSE(form->cmdOption[0]->isEnabled());
    sim->clearRules();
    WhenRequest("XS,R", [this] { form->uclQL7150->setCancel(true); }, 3);
    form->rtbLog->clear();
    Download();
    EXPECT_EQ(LogColor(Line(5462)), kRed);
    EXPECT_EQ(LogColor(Line(5416)), -1) << "a cancel is no failure";
    EXPECT_EQ(gInstrument().CommFlags(), 0);
    // The cancel does not stick to the link.
    Download();
    EXPECT_EQ(LogColor(Line(5415)), kGreen);
    EXPECT_EQ(gInstrument().SerialNo(), sim->state().SerialNo());
}

// Read and save reads into a record of its own: the main record and its clock stay.
TEST_F(MainCommands, SaveOnlyComparesTheClockJustRead)
{
    ASSERT_TRUE(Start());
    Download();
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
    EXPECT_EQ(QString::fromLatin1(ReadFile(HistoryFilePath())).count(sim->state().SerialNo()), 1);
    EXPECT_FALSE(HasLine(Line(5591))) << "the clock just read is compared, not the main record's";
    EXPECT_TRUE(HasLine(QStringLiteral("ch3 \t: 4.321V"))) << "the values just read are listed";

    ASSERT_TRUE(form->uclQL7150->SetDateTime(QDateTime::currentDateTime().addDays(-2)));
    Press(form->cmdDown[5]);
    EXPECT_EQ(LogColor(Line(5591)), kRed);
    EXPECT_EQ(gInstrument().SysDateOffset(), 5 * kSecondsPerDay);
    // A plain download takes the instrument's clock offset and reports it.
    form->rtbLog->clear();
    Download();
    EXPECT_NEAR(double(gInstrument().SysDateOffset()), 2.0 * kSecondsPerDay, 5);
    EXPECT_EQ(LogColor(Line(5591)), kRed);
}

// The field is checked on what it shows when the command starts, not when it was last left:
// a tap delivers press and release before a refused field has taken the focus back.
TEST_F(MainCommands, SuffixThatCannotNameAFileIsRefusedBeforeAnyTransfer)
{
    ASSERT_TRUE(Start());
    form->txtSuffix->setText(QStringLiteral("a|b")); // what a file name cannot hold: the rule's own table
    sim->clearRequests();
    form->cmdDown_Click(5);
    EXPECT_EQ(boxes->prompts(), QStringList{QString::fromLatin1(kSuffixRefused)});
    EXPECT_EQ(boxes->calls().value(0).icon(), vb::Critical);
    EXPECT_TRUE(gFactorySuffix.isEmpty() && form->txtSuffix->text() == "a|b") << "the field keeps what was typed";
    form->cmdOption_Click(1); // every command, not only the save
    EXPECT_TRUE(sim->requests().isEmpty());
    form->txtSuffix->setText(QStringLiteral("Site 4-B"));
    form->cmdDown_Click(5);
    EXPECT_EQ(HistoryActions(), QStringList{QStringLiteral("Read")});
    EXPECT_TRUE(HistoryFilePath().endsWith(QStringLiteral("VANTIK_SettingSite 4-B.csv")));
}

TEST_F(MainCommands, HistoryThatCannotBeWrittenIsReported)
{
    ASSERT_TRUE(Start());
    QDir(dir.path()).mkdir(QStringLiteral("VANTIK_Setting.csv")); // a folder in the way
    Press(form->cmdDown[5]);
    EXPECT_EQ(LogColor(Line(5415)), kGreen);
    EXPECT_FALSE(LogLines().filter(QRegularExpression(QStringLiteral("^Settings history not written"))).isEmpty());
}

TEST_F(MainCommands, PowerOffDeclinedRefusedOrDone)
{
    ASSERT_TRUE(StartAndRead());
    Confirm(form->cmdDown[4], vb::No);
    EXPECT_EQ(Requests("RO,W"), 0);

    sim->addRule({SimFault::Refuse, "RO", 'W', 1, 1});
    Confirm(form->cmdDown[4]);
    EXPECT_EQ(LogColor(Line(5408)), kRed);
    EXPECT_EQ(LogColor(QStringLiteral("Power Off (RO): refused by the instrument")), kRed) << "what and why";
    EXPECT_EQ(LogColor(Line(5407)), -1);
    EXPECT_EQ(gInstrument().CommFlags(), -1) << "a failed power off keeps the record";
    EXPECT_TRUE(form->cmdExit->isEnabled());

    // An imported record is gone with the power off as much as a read one.
    ExportThenImport(QStringLiteral("site.seq"));
    ASSERT_EQ(gInstrument().ImportFlag(), -1);
    Confirm(form->cmdDown[4]);
    EXPECT_TRUE(gInstrument().SerialNo().trimmed().isEmpty());
    EXPECT_TRUE(ReadFile(QString::fromLatin1(kSettingsFileName)).contains(
        QStringLiteral("Size Values\t0,%1,%2").arg(PixelsToTwips(form->width())).arg(PixelsToTwips(form->height())).toLatin1()))
        << "the window's own size, not a stale one";
    // The instrument is switched on again: the link finds it, with no record behind it.
    sim->setPoweredOn(true);
    ASSERT_TRUE(WaitConnected());
    EXPECT_TRUE(gInstrument().ImportFlag() == 0 && !form->cmdOption[0]->isEnabled());
}

// --- Writing ---------------------------------------------------------------------------

TEST_F(MainCommands, UploadSendsEverySettingAndFactorySaveThenRestoreReadsBack)
{
    ASSERT_TRUE(StartAndRead());
    gInstrument().setWarning(0, 15);
    Confirm(form->cmdOption[0]);
    // Unchanged settings go too, and the record's flags are clear once accepted.
    EXPECT_GT(Requests("XS,W"), 100);
    EXPECT_TRUE(!gInstrument().Change_Warn(0) && Requests("UD,W") == 0);

    // Today's settings become the factory ones; then the instrument changes.
    form->chkFactorySave->setChecked(true);
    Confirm(form->cmdOption[0]);
    EXPECT_TRUE(sim->requests().value(sim->requests().size() - 1).startsWith("UD,W"));
    {
        clsInstrument::DeviceDoor door(sim->state());
        sim->state().setWarning(0, 33);
    }
    ASSERT_TRUE(form->DownloadInstrument(gInstrument()));
    boxes->clear();
    Confirm(form->cmdOption[4]);
    EXPECT_TRUE(sim->state().Warning(0) == 15.0f && gInstrument().Warning(0) == 15.0f);
    EXPECT_EQ(grid()->TextMatrix(GasGrid::RowOfChannel(0), GasGrid::ColWarning), QStringLiteral("15")) << "the view follows";
    EXPECT_EQ(boxes->prompts(), (QStringList{GetMsg(5337), GetMsg(5311)}));
}

TEST_F(MainCommands, FactoryRestoreFailuresKeepTheRecord)
{
    ASSERT_TRUE(StartAndRead());
    const QString serial = gInstrument().SerialNo();
    gInstrument().setWarning(0, 12);
    sim->addRule({SimFault::NoAnswer, "XP", 'R', 1, -1});
    Confirm(form->cmdOption[4]);
    EXPECT_EQ(LogColor(QString::fromLatin1(kRereadFailed)), kRed);
    EXPECT_TRUE(gInstrument().SerialNo() == serial && gInstrument().Warning(0) == 12.0f);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5337)}) << "no success box";

    sim->clearRules();
    sim->addRule({SimFault::Refuse, "UP", 'W', 1, 1});
    boxes->clear();
    Confirm(form->cmdOption[4]);
    EXPECT_EQ(LogColor(Text(kRestoreFailed)), kRed);
    EXPECT_EQ(LogColor(QStringLiteral("Restore Factory Set (UP): refused by the instrument")), kRed);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5337)});
}

TEST_F(MainCommands, UploadRefusesBadValuesBeforeAsking)
{
    ASSERT_TRUE(StartAndRead());
    clsInstrument &rec = gInstrument();
    rec.setWarning(0, 60); // above the alarm point
    Press(form->cmdOption[0]);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5361)});
    EXPECT_EQ(boxes->calls().value(0).icon(), vb::Critical);
    rec.setWarning(0, 10);

    rec.setAutoCalib(0, 5); // below the warning point
    boxes->clear();
    Press(form->cmdOption[0]);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5380)});
    rec.setAutoCalib(0, 50);

    for (int ch = 0; ch <= 6; ++ch)
        rec.setGasEnabled(ch, 0);
    boxes->clear();
    Press(form->cmdOption[0]);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5365)});
    rec.setGasEnabled(2, -1);

    boxes->clear();
    Confirm(form->cmdOption[0], vb::No);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5309)});
    EXPECT_TRUE(Requests("XP,W") == 0 && HistoryActions().isEmpty());
}

TEST_F(MainCommands, ClockClearsTheOffsetOnlyOnSuccessAndMissingWindowsSaySo)
{
    ASSERT_TRUE(StartAndRead());
    clsInstrument &rec = gInstrument();
    {
        clsInstrument::DeviceDoor door(rec);
        rec.setSysDateOffset(7200);
    }
    sim->addRule({SimFault::Refuse, "HC", 'W', 1, 1});
    Confirm(form->cmdOption[1]);
    EXPECT_EQ(LogColor(Text(kClockFailed)), kRed);
    EXPECT_EQ(LogColor(QStringLiteral("VANTIK Date/Time (HC): refused by the instrument")), kRed);
    EXPECT_EQ(LogColor(Line(5429)), -1);
    EXPECT_EQ(rec.SysDateOffset(), 7200);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5384)});

    Confirm(form->cmdOption[1]);
    EXPECT_EQ(rec.SysDateOffset(), 0);
    EXPECT_LE(qAbs(sim->clock().secsTo(QDateTime::currentDateTime())), 2);
    // Windows this program lacks say so.
    boxes->clear();
    Press(form->cmdOption[2]);
    Press(form->cmdFactorySetting);
    EXPECT_EQ(boxes->prompts(), (QStringList{QString::fromLatin1(kCalibrationMissing),
                                             QString::fromLatin1(kFactoryDialogMissing)}));
}

TEST_F(MainCommands, DefaultNamesFailedBoardsAndRefusesWithoutBoards)
{
    ASSERT_TRUE(StartAndRead(true));
    Press(form->cmdOption[3]);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5382)}) << "no board ticked";

    for (int i : {0, 2, 3})
        form->chkUx[i]->setChecked(true);
    sim->setDefaultResult(QStringLiteral("A"));
    Confirm(form->cmdOption[3]);
    EXPECT_EQ(Requests("UX,W,D,"), 1);
    EXPECT_EQ(LogColor(Line(5468)), kRed);
    EXPECT_EQ(LogColor(GetMsg(5383, QStringLiteral("OPT1 OPT3 "))), kRed);
    // Refused outright: a failure without a board list.
    form->rtbLog->clear();
    sim->addRule({SimFault::Refuse, "UX", 'W', 1, 1});
    Confirm(form->cmdOption[3]);
    EXPECT_EQ(LogColor(Line(5468)), kRed);
    EXPECT_EQ(LogColor(QStringLiteral("DEFAULT (UX): refused by the instrument")), kRed);
    EXPECT_FALSE(HasLine(GetMsg(5383, QString())));
}

TEST_F(MainCommands, SecondCommandDuringATransferIsRefused)
{
    ASSERT_TRUE(StartAndRead(true));
    form->chkUx[0]->setChecked(true);
    int refused = 0;
    WhenRequest("XS,R", [&] {
        boxes->clear();
        form->cmdOption_Click(3);
        form->cmdDown_Click(1);
        refused = int(boxes->calls().size());
    }, 5);
    Download();
    EXPECT_EQ(refused, 2);
    EXPECT_EQ(boxes->calls().value(0).prompt, GetMsg(5367));
    EXPECT_EQ(Requests("UX"), 0) << "neither command reached the line";
    EXPECT_EQ(LogColor(Line(5415)), kGreen);
}

// --- Export and import -----------------------------------------------------------------

// A cancelled or bad import changes nothing; a good one marks every setting for upload but
// not the serial number; an export that cannot complete keeps the old file.
TEST_F(MainCommands, ImportAndExportChangeOnlyWhatTheyShould)
{
    ASSERT_TRUE(Start());
    Download();
    dialogs.cancel();
    Press(form->cmdImportSetting);
    EXPECT_EQ(gInstrument().ImportFlag(), 0);
    EXPECT_EQ(boxes->calls().value(0).title, GetMsg(5001)) << "the cancel is said in a titled box";
    boxes->clear();
    dialogs.choose(file(QStringLiteral("site.seq")));
    Press(form->cmdExportSetting);
    QList<QByteArray> lines = ReadFile(QStringLiteral("site.seq")).split('\n');
    ASSERT_GT(lines.size(), 200);
    lines[200] = "XP,W,ZZ,\r";
    writeFile(QStringLiteral("bad.seq"), lines.join('\n'));
    dialogs.choose(file(QStringLiteral("bad.seq")));
    Press(form->cmdImportSetting);
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_TRUE(boxes->calls()[0].prompt.contains(QStringLiteral("Line 201"))) << boxes->calls()[0].prompt.toStdString();
    EXPECT_EQ(boxes->calls()[0].title, GetMsg(5001)) << "titled like every other box";
    EXPECT_TRUE(gInstrument().ImportFlag() == 0 && !gInstrument().AnyChangeFlag());
    boxes->clear();
    gInstrument().setWarning(0, 42);
    form->ShowInstrument();
    dialogs.choose(file(QStringLiteral("site.seq")));
    Press(form->cmdImportSetting);
    EXPECT_TRUE(gInstrument().Warning(0) == 10.0f && gInstrument().ImportFlag() == -1);
    EXPECT_EQ(grid()->TextMatrix(GasGrid::RowOfChannel(0), GasGrid::ColWarning), QStringLiteral("10")) << "the view follows";
    EXPECT_TRUE(gInstrument().Change_Warn(3)) << "every setting goes with the next upload";
    EXPECT_FALSE(gInstrument().Change_SerialNo());
    // A record whose text cannot form a line is refused before the file is touched.
    writeFile(QStringLiteral("old.seq"), "XP,W,01,\r\n");
    {
        clsInstrument::DeviceDoor door(gInstrument());
        gInstrument().setXS_(3, QStringLiteral("A,B"));
    }
    dialogs.choose(file(QStringLiteral("old.seq")));
    Press(form->cmdExportSetting);
    EXPECT_TRUE(boxes->calls().size() == 1 && ReadFile(QStringLiteral("old.seq")) == "XP,W,01,\r\n");
}

// --- Rules behind the commands ---------------------------------------------------------

TEST(CommandRules, BoundariesAndStatuses)
{
    const std::pair<const char *, const char *> boards[] = {
        {"A", "OPT1 OPT3 "}, {"1", ""}, {"e", "OPT1 OPT2 OPT3 "}, {"0004", "OPT2 "}, {"XZ", "XZ"}, {"12345", "12345"}, {"-2", "-2"}};
    for (auto [status, named] : boards)
        EXPECT_EQ(FailedBoards(QString::fromLatin1(status)), QString::fromLatin1(named)) << status;
    for (qint64 s : {kSecondsPerDay, -kSecondsPerDay})
        EXPECT_TRUE(!ClockFarOff(s) && ClockFarOff(s + (s > 0 ? 1 : -1))) << s;
    EXPECT_EQ(CatTableVersion(4810), 4810);
    EXPECT_EQ(CatTableVersion(70000), 32767);
    EXPECT_EQ(CatTableVersion(-70000), -32768);
    EXPECT_EQ(ElapsedText(3723999), QStringLiteral("01:02:03"));
    EXPECT_EQ(ElapsedText(-5), QStringLiteral("00:00:00"));
}
