// The write-side commands against the simulator: upload, clock, calibration, DEFAULT,
// factory restore, and the detail-settings dialog; each failure reported as one.
#include "CommandsFixture.h"
#include <QDialog>
#include <QLineEdit>
#include <QTimer>

using namespace Commands;

namespace {
// Stands in for a window opened by name: closes itself once shown, after running a hook.
class StubDialog : public QDialog {
    Q_OBJECT
public:
    std::function<void()> onShow;
    clsInstrument *given = nullptr;
    Q_INVOKABLE void setInstrument(clsInstrument *inst) { given = inst; }

protected:
    void showEvent(QShowEvent *e) override
    {
        QDialog::showEvent(e);
        QTimer::singleShot(0, this, [this] {
            if (onShow)
                onShow();
            accept();
        });
    }
};
} // namespace

class WriteCommands : public CommandsFixture {
protected:
    bool StartAndRead(bool debug = false)
    {
        if (!Start(debug))
            return false;
        Download();
        form->rtbLog->clear();
        boxes->clear();
        sim->clearRequests();
        return gInstrument().CommFlags() == -1;
    }
    void Upload(int answer = vb::Yes)
    {
        boxes->push(answer);
        Press(form->cmdOption[0]);
    }
    QStringList BoxPrompts() const { return boxes->prompts(); }
};

TEST_F(WriteCommands, UploadSendsEverySettingAndLogsAWriteRow)
{
    ASSERT_TRUE(StartAndRead());
    gInstrument().setWarning(0, 15); // the user's edit
    Upload();
    EXPECT_FLOAT_EQ(sim->state().Warning(0), 15.0f);
    EXPECT_EQ(BoxPrompts(), (QStringList{GetMsg(5309), GetMsg(5311)}));
    EXPECT_EQ(boxes->calls().last().icon(), vb::Information);
    EXPECT_EQ(boxes->calls().last().title, GetMsg(5312));
    EXPECT_EQ(LogColor(Line(5429)), kGreen);
    EXPECT_EQ(HistoryActions(), QStringList{QStringLiteral("Write")});
    // Unchanged settings go too, and the record's flags are clear once accepted.
    EXPECT_GT(Requests("XS,W"), 100);
    EXPECT_FALSE(gInstrument().Change_Warn(0));
    EXPECT_EQ(Requests("UD,W"), 0);
    EXPECT_TRUE(SerialLogText().contains(QStringLiteral("---Instrument Upload Start Sequence---")));
    EXPECT_TRUE(form->fraCommand[1]->isEnabled());
    EXPECT_EQ(frmUpload::Find(), nullptr);
}

TEST_F(WriteCommands, FactorySaveEndsTheUpload)
{
    ASSERT_TRUE(StartAndRead());
    form->chkFactorySave->setChecked(true);
    Upload();
    ASSERT_FALSE(sim->requests().isEmpty());
    EXPECT_TRUE(sim->requests().last().startsWith("UD,W"));
    EXPECT_TRUE(gFactorySave);
}

TEST_F(WriteCommands, RefusedWriteIsAFailureButStillLeavesItsRow)
{
    ASSERT_TRUE(StartAndRead());
    sim->addRule({SimFault::Refuse, "XP", 'W', 1, 1});
    Upload();
    EXPECT_EQ(LogColor(Text(kUploadFailed)), kRed);
    EXPECT_EQ(LogColor(Line(5429)), -1);
    EXPECT_EQ(BoxPrompts(), QStringList{GetMsg(5309)}) << "no success box";
    EXPECT_EQ(HistoryActions(), QStringList{QStringLiteral("Write")});
    EXPECT_TRUE(form->fraCommand[1]->isEnabled());
}


TEST_F(WriteCommands, UploadRefusesBadValuesBeforeAsking)
{
    ASSERT_TRUE(StartAndRead());
    clsInstrument &rec = gInstrument();
    rec.setWarning(0, 60); // above the alarm point
    Press(form->cmdOption[0]);
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_EQ(boxes->calls()[0].prompt, GetMsg(5361));
    EXPECT_EQ(boxes->calls()[0].icon(), vb::Critical);
    EXPECT_EQ(boxes->calls()[0].title, GetMsg(5362));
    rec.setWarning(0, 10);

    rec.setAutoCalib(0, 5); // below the warning point
    boxes->clear();
    Press(form->cmdOption[0]);
    EXPECT_EQ(BoxPrompts(), QStringList{GetMsg(5380)});
    rec.setAutoCalib(0, 50);

    for (int ch = 0; ch <= 6; ++ch)
        rec.setGasEnabled(ch, 0);
    boxes->clear();
    Press(form->cmdOption[0]);
    EXPECT_EQ(BoxPrompts(), QStringList{GetMsg(5365)});
    rec.setGasEnabled(2, -1);

    boxes->clear();
    Upload(vb::No);
    EXPECT_EQ(BoxPrompts(), QStringList{GetMsg(5309)});
    EXPECT_EQ(Requests("XP,W"), 0);
    EXPECT_TRUE(HistoryActions().isEmpty());
}

TEST_F(WriteCommands, ClockSetsTheInstrumentAndClearsTheOffsetOnlyOnSuccess)
{
    ASSERT_TRUE(StartAndRead());
    clsInstrument &rec = gInstrument();
    {
        clsInstrument::DeviceDoor door(rec);
        rec.setSysDateOffset(7200);
    }
    sim->addRule({SimFault::Refuse, "HC", 'W', 1, 1});
    boxes->push(vb::Yes);
    Press(form->cmdOption[1]);
    EXPECT_EQ(LogColor(Text(kClockFailed)), kRed);
    EXPECT_EQ(LogColor(Line(5429)), -1);
    EXPECT_EQ(rec.SysDateOffset(), 7200);
    EXPECT_EQ(BoxPrompts(), QStringList{GetMsg(5384)});

    boxes->clear();
    boxes->push(vb::Yes);
    Press(form->cmdOption[1]);
    EXPECT_EQ(LogColor(Line(5429)), kGreen);
    EXPECT_EQ(rec.SysDateOffset(), 0);
    EXPECT_LE(qAbs(sim->clock().secsTo(QDateTime::currentDateTime())), 2);
    EXPECT_EQ(BoxPrompts(), (QStringList{GetMsg(5384), GetMsg(5311)}));

    boxes->clear();
    boxes->push(vb::No);
    sim->clearRequests();
    Press(form->cmdOption[1]);
    EXPECT_EQ(Requests("HC,W"), 0);
}

TEST_F(WriteCommands, DefaultSendsTheBoardMaskAndNamesFailedBoards)
{
    ASSERT_TRUE(StartAndRead(true));
    form->chkUx[0]->setChecked(true);
    form->chkUx[2]->setChecked(true);
    boxes->push(vb::Yes);
    Press(form->cmdOption[3]);
    EXPECT_EQ(Requests("UX,W,5,"), 1);
    EXPECT_EQ(LogColor(Line(5466)), kGreen);
    EXPECT_EQ(LogColor(Line(5467)), kGreen);
    EXPECT_EQ(boxes->calls().value(0).title, QStringLiteral("DEFAULT"));

    sim->setDefaultResult(QStringLiteral("A"));
    boxes->push(vb::Yes);
    Press(form->cmdOption[3]);
    EXPECT_EQ(LogColor(Line(5468)), kRed);
    EXPECT_EQ(LogColor(GetMsg(5383, QStringLiteral("OPT1 OPT3 "))), kRed);

    // A status that is no number is shown as it came.
    form->rtbLog->clear();
    sim->setDefaultResult(QStringLiteral("E?"));
    boxes->push(vb::Yes);
    Press(form->cmdOption[3]);
    EXPECT_EQ(LogColor(GetMsg(5383, QStringLiteral("E?"))), kRed);
}

TEST_F(WriteCommands, DefaultWithoutBoardsOrConnection)
{
    ASSERT_TRUE(StartAndRead(true));
    Press(form->cmdOption[3]);
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_EQ(boxes->calls()[0].prompt, GetMsg(5382));
    EXPECT_EQ(boxes->calls()[0].style, vb::OKOnly);
    EXPECT_TRUE(boxes->calls()[0].title.isEmpty());
    EXPECT_EQ(Requests("UX"), 0);

    sim->addRule({SimFault::Refuse, "UX", 'W', 1, 1});
    form->chkUx[1]->setChecked(true);
    boxes->push(vb::Yes);
    Press(form->cmdOption[3]);
    EXPECT_EQ(LogColor(Line(5468)), kRed);
    EXPECT_FALSE(HasLine(GetMsg(5383, QString())));
    EXPECT_TRUE(SerialLogText().contains(GetMsg(5376)));
}

TEST_F(WriteCommands, FactoryRestoreReadsBackTheInstrument)
{
    ASSERT_TRUE(StartAndRead());
    // Make today's settings the factory ones, then change the instrument.
    form->chkFactorySave->setChecked(true);
    Upload();
    {
        clsInstrument::DeviceDoor door(sim->state());
        sim->state().setWarning(0, 33);
    }
    ASSERT_TRUE(form->DownloadInstrument(gInstrument()));
    ASSERT_FLOAT_EQ(gInstrument().Warning(0), 33.0f);
    boxes->clear();
    boxes->push(vb::Yes);
    Press(form->cmdOption[4]);
    EXPECT_EQ(Requests("UP,W"), 1);
    EXPECT_FLOAT_EQ(sim->state().Warning(0), 10.0f);
    EXPECT_FLOAT_EQ(gInstrument().Warning(0), 10.0f);
    EXPECT_EQ(gInstrument().CommFlags(), -1);
    EXPECT_EQ(BoxPrompts(), (QStringList{GetMsg(5337), GetMsg(5311)}));
}

TEST_F(WriteCommands, FactoryRestoreWithAFailedReadBackKeepsTheRecord)
{
    ASSERT_TRUE(StartAndRead());
    const QString serial = gInstrument().SerialNo();
    gInstrument().setWarning(0, 12);
    sim->addRule({SimFault::NoAnswer, "XP", 'R', 1, -1});
    boxes->push(vb::Yes);
    Press(form->cmdOption[4]);
    EXPECT_EQ(LogColor(QString::fromLatin1(kRereadFailed)), kRed);
    EXPECT_EQ(gInstrument().SerialNo(), serial);
    EXPECT_FLOAT_EQ(gInstrument().Warning(0), 12.0f);
    EXPECT_EQ(BoxPrompts(), QStringList{GetMsg(5337)}) << "no success box";

    sim->clearRules();
    sim->addRule({SimFault::Refuse, "UP", 'W', 1, 1});
    boxes->clear();
    boxes->push(vb::Yes);
    Press(form->cmdOption[4]);
    EXPECT_EQ(LogColor(Text(kRestoreFailed)), kRed);
    EXPECT_EQ(BoxPrompts(), QStringList{GetMsg(5337)});
}

TEST_F(WriteCommands, CalibrationWindowByNameThenPollAndPumpStop)
{
    ASSERT_TRUE(StartAndRead());
    Press(form->cmdOption[2]);
    EXPECT_EQ(BoxPrompts(), QStringList{QString::fromLatin1(kCalibrationMissing)});

    bool shown = false;
    RegisterForm(QStringLiteral("frmCalibration"), [&] {
        auto *d = new StubDialog;
        d->onShow = [&] {
            shown = true;
            form->uclQL7150->setRunDensty(true);
            form->uclQL7150->SetPump(true);
        };
        return d;
    });
    Press(form->cmdOption[2]);
    EXPECT_TRUE(shown);
    EXPECT_FALSE(form->uclQL7150->RunDensty());
    EXPECT_FALSE(sim->pumpOn());
    EXPECT_TRUE(sim->requests().last().startsWith("BP,W,0"));
}

TEST_F(WriteCommands, DetailSettingsOpenByNameOrSayTheyAreMissing)
{
    ASSERT_TRUE(StartAndRead());
    Press(form->cmdFactorySetting);
    EXPECT_EQ(BoxPrompts(), QStringList{QString::fromLatin1(kFactoryDialogMissing)});

    StubDialog *made = nullptr;
    clsInstrument *given = nullptr;
    RegisterForm(QStringLiteral("frmFsDialog"), [&] {
        made = new StubDialog;
        made->onShow = [&] {
            given = made->given;
            given->setSerialNo(QStringLiteral("EDITED")); // the dialog's OK copies back
        };
        return made;
    });
    {
        clsInstrument::DeviceDoor door(gInstrument());
        gInstrument().setRomNumber(70000); // beyond 16 bits: still "4770 or later"
    }
    Press(form->cmdFactorySetting);
    EXPECT_EQ(given, &gInstrument());
    EXPECT_EQ(gCatName.count(QLatin1Char('|')), 5);
    EXPECT_EQ(form->txtOption[0]->text(), QStringLiteral("EDITED")) << "view refreshed after the dialog";
}

TEST_F(WriteCommands, SecondCommandDuringATransferIsRefused)
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
    EXPECT_EQ(Requests("UX"), 0);
    EXPECT_EQ(LogColor(Line(5415)), kGreen);
}

TEST(CommandRules, DefaultStatusBoards)
{
    EXPECT_EQ(FailedBoards(QStringLiteral("A")), QStringLiteral("OPT1 OPT3 "));
    EXPECT_EQ(FailedBoards(QStringLiteral("1")), QString());
    EXPECT_EQ(FailedBoards(QStringLiteral("e")), QStringLiteral("OPT1 OPT2 OPT3 "));
    EXPECT_EQ(FailedBoards(QStringLiteral("0004")), QStringLiteral("OPT2 "));
    EXPECT_EQ(FailedBoards(QStringLiteral("XZ")), QStringLiteral("XZ"));
    EXPECT_EQ(FailedBoards(QStringLiteral("12345")), QStringLiteral("12345"));
    EXPECT_EQ(FailedBoards(QStringLiteral("-2")), QStringLiteral("-2"));
}

TEST(CommandRules, ClockAndVersionAndElapsed)
{
    EXPECT_FALSE(ClockFarOff(0));
    EXPECT_FALSE(ClockFarOff(kSecondsPerDay));
    EXPECT_FALSE(ClockFarOff(-kSecondsPerDay));
    EXPECT_TRUE(ClockFarOff(kSecondsPerDay + 1));
    EXPECT_TRUE(ClockFarOff(-kSecondsPerDay - 1));
    EXPECT_EQ(CatTableVersion(4810), 4810);
    EXPECT_EQ(CatTableVersion(70000), 32767);
    EXPECT_EQ(CatTableVersion(-70000), -32768);
    EXPECT_EQ(ElapsedText(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(ElapsedText(3723999), QStringLiteral("01:02:03"));
    EXPECT_EQ(ElapsedText(-5), QStringLiteral("00:00:00"));
}

#include "test_commands_write.moc"
