#include "MainFixture.h"
#include "model/modGasCommon.h"
#include "platform/FlexGrid.h"
#include "platform/StatusLamp.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

class FrameState : public MainFixture {
protected:
    // Enabled state of every control of the command-state table, in table order.
    QList<bool> Table() const
    {
        QList<bool> out;
        QList<QWidget *> ws{form->txtOption[0], form->txtOption[1], form->txtOption[2], form->cmbStation,
                            form->cmbUser, form->cmbInterval, form->cmdOptFlash, form->cmdOptData,
                            form->cmdDown[1], form->cmdDown[5], form->cmdDown[2], form->cmdDown[4],
                            form->cmdFRAMDump, form->cmdFactorySetting, form->cmdOption[0], form->cmdOption[1],
                            form->cmdOption[2], form->cmdOption[3], form->chkUx[0], form->chkUx[3],
                            form->cmdOption[4], form->chkFactorySave, form->cmdImportSetting,
                            form->cmdExportSetting, form->txtSuffix, form->vfgOption};
        for (QWidget *w : ws)
            out << !w->testAttribute(Qt::WA_ForceDisabled);
        return out;
    }
    static QList<bool> Column(int c)
    {
        // not connected / connected, no record / connected, record (option slots fitted)
        static const int rows[][3] = {
            {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1},
            {0, 1, 1}, {0, 1, 1}, {0, 1, 1}, {0, 1, 1}, {0, 1, 1}, {1, 1, 1}, {0, 0, 1}, {0, 1, 1},
            {0, 0, 1}, {0, 1, 1}, {0, 1, 1}, {0, 1, 1}, {0, 0, 1}, {0, 0, 1}, {1, 1, 1}, {1, 1, 1},
            {0, 1, 1}, {0, 0, 1}};
        QList<bool> out;
        for (const auto &r : rows)
            out << bool(r[c]);
        return out;
    }
};

TEST_F(FrameState, DefaultsOnFirstCall)
{
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(gFont.size, 9);
    EXPECT_TRUE(form->tmrInter->isActive());
    EXPECT_EQ(form->tmrInter->interval(), 1000);
    EXPECT_EQ(gCommSettings, QStringLiteral("921600,n,8,1"));
    EXPECT_EQ(gPassword, QString::fromLatin1(kDefaultPassword));
    EXPECT_EQ(gTcName, QStringLiteral("CH4 100.0vol%|H2 100.0vol%|H2 10.0vol%"));
    EXPECT_EQ(gTcDigit.split(QLatin1Char('|')).size(), 4);
    EXPECT_FALSE(gCalFormOpen);
    // Reference tables.
    EXPECT_FLOAT_EQ(gRangeSpecs[1][2].Warning, -121);
    EXPECT_FLOAT_EQ(gRangeSpecs[1][2].Twa, -121);
    EXPECT_FLOAT_EQ(gRangeSpecs[1][2].AutoCalib, 25);
    EXPECT_FLOAT_EQ(gRangeSpecs[1][2].Step, 5);
    EXPECT_FLOAT_EQ(gRangeSpecs[0][1].DecimalPlaces, 1);
    EXPECT_FLOAT_EQ(gRangeSpecs[1][3].Warning, 24);
    for (int r = 0; r < 2; ++r)
        EXPECT_FLOAT_EQ(gRangeSpecs[r][0].FullScale + gRangeSpecs[r][0].AutoCalib + gRangeSpecs[r][0].Warning, 0);
    EXPECT_FLOAT_EQ(gO2Alarm[0][1], 18.5f);
    EXPECT_FLOAT_EQ(gO2Warning[0][1], 19.5f);
    EXPECT_FLOAT_EQ(gO2Alarm[0][2], 25.0f);
    EXPECT_FLOAT_EQ(gO2Warning[1][2], 23.0f);
    EXPECT_FLOAT_EQ(gO2Alarm[1][0], 23.0f);
    // Sample record.
    const clsInstrument &s = gSampleInstrument();
    EXPECT_EQ(s.GasName(3), QStringLiteral("CO "));
    EXPECT_FLOAT_EQ(s.GasFullScale(3), 500);
    EXPECT_FLOAT_EQ(s.GasDesit(2), 0.5f);
    EXPECT_EQ(s.GasUnit(0), QStringLiteral("%LEL"));
    EXPECT_NE(s.GasEnabled(1), 0);
    EXPECT_FLOAT_EQ(s.AutoCalib(3), 100);
    // Lamps.
    EXPECT_EQ(form->shpStatus[0]->FillColor(), RGB(0, 255, 0));
    EXPECT_EQ(form->shpStatus[0]->BorderColor(), RGB(0, 192, 0));
    EXPECT_TRUE(form->shpStatus[2]->isHidden());
    EXPECT_TRUE(form->lblStatus[3]->isHidden());
    EXPECT_EQ(form->StatusRed[0], RGB(254, 0, 0));
}

TEST_F(FrameState, SecondCallKeepsWhatIsSetAndResetsPaneAndLamps)
{
    ASSERT_TRUE(StartMain());
    gSampleInstrument().setWarning(0, 33);
    gTcName = QStringLiteral("X");
    gIrCommNum = 9;
    gCommSettings.clear();
    gPassword.clear();
    gCatName = QStringLiteral("changed");
    form->InitDefaults();
    EXPECT_FLOAT_EQ(gSampleInstrument().Warning(0), 33); // channel already filled: untouched
    EXPECT_EQ(gTcName, QStringLiteral("X"));
    EXPECT_EQ(gIrCommNum, 9);
    EXPECT_EQ(gCommSettings, QStringLiteral("921600,n,8,1"));
    EXPECT_EQ(gPassword, QStringLiteral("zuq"));
    EXPECT_NE(gCatName, QStringLiteral("changed"));
    EXPECT_TRUE(form->rtbLog->Text().isEmpty());
    EXPECT_EQ(form->shpStatus[1]->FillColor(), RGB(160, 160, 160));
    EXPECT_EQ(form->shpStatus[0]->FillColor(), RGB(0, 255, 0));
}

TEST_F(FrameState, PasswordByLanguage)
{
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    const QString table = file(QStringLiteral("jp.txt"));
    QFile f(table);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("101\tJP\r\n");
    f.close();
    struct Restore {
        ~Restore() { LoadMessageTable(QStringLiteral(":/messages.txt")); }
    } restore;
    ASSERT_TRUE(LoadMessageTable(table));
    gPassword.clear();
    form->InitDefaults();
    EXPECT_EQ(gPassword, QStringLiteral("Malur"));
}

TEST_F(FrameState, CommandStateNotConnected)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    gInstrument().setCommFlags(-1); // a record without a link still counts as not connected
    form->SetCommandEnabled();
    EXPECT_EQ(Table(), Column(0));
}

TEST_F(FrameState, CommandStateConnectedNoRecordAndRecord)
{
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(Table(), Column(1));
    gInstrument().setCommFlags(-1);
    for (int ch = 4; ch < 7; ++ch)
        gInstrument().setGasType(ch, 0);
    form->SetCommandEnabled();
    EXPECT_EQ(Table(), Column(2));
    EXPECT_TRUE(form->Opt[2]->isChecked());
}

TEST_F(FrameState, ImportFlagCountsAsRecordAndSlotsFollowGasType)
{
    ASSERT_TRUE(StartMain());
    clsInstrument &inst = gInstrument();
    inst.setImportFlag(-1);
    inst.setGasType(4, 0);
    inst.setGasType(5, 16);
    inst.setGasType(6, 4);
    form->SetCommandEnabled();
    EXPECT_TRUE(form->Opt[0]->isEnabled());
    EXPECT_FALSE(form->Opt[1]->isEnabled());
    EXPECT_TRUE(form->Opt[2]->isEnabled());
    EXPECT_TRUE(form->Opt[2]->isChecked());
    EXPECT_TRUE(form->cmdOptData->isEnabled());
    EXPECT_TRUE(form->cmdOption[0]->isEnabled());

    for (int ch = 4; ch < 7; ++ch)
        inst.setGasType(ch, 16);
    form->SetCommandEnabled();
    for (QRadioButton *o : form->Opt)
        EXPECT_FALSE(o->isEnabled());
    EXPECT_FALSE(form->cmdOptData->isEnabled());
    EXPECT_FALSE(form->cmdOptFlash->isEnabled());
}

TEST_F(FrameState, EnableCommandsSwitchesFramesOnly)
{
    ASSERT_TRUE(StartMain());
    form->EnableCommands(false);
    for (QGroupBox *f : form->fraCommand)
        EXPECT_FALSE(f->isEnabled());
    EXPECT_FALSE(form->cmdDown[1]->isEnabled());
    EXPECT_FALSE(form->cmdDown[1]->testAttribute(Qt::WA_ForceDisabled));
    form->EnableCommands(true);
    EXPECT_TRUE(form->cmdDown[1]->isEnabled());
}

TEST_F(FrameState, AddInfoAppendsAtTheEndAndKeepsASelection)
{
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    form->rtbLog->clear();
    form->AddInfo(QStringLiteral("first"), frmMain::kGreen);
    form->AddInfo(QStringLiteral("second"), frmMain::kRed);
    // The user selects part of the first line.
    form->rtbLog->setSelStart(1);
    QTextCursor c = form->rtbLog->textCursor();
    c.setPosition(1);
    c.setPosition(4, QTextCursor::KeepAnchor);
    form->rtbLog->setTextCursor(c);
    form->AddInfo(QString(), frmMain::kBlue);
    form->AddInfo(QStringLiteral("ends with break\r\n"), frmMain::kDarkBlue);
    EXPECT_EQ(form->rtbLog->Text(),
              QStringLiteral("first\r\nsecond\r\n\r\nends with break\r\n\r\n"));
    EXPECT_EQ(LogColor(QStringLiteral("first")), frmMain::kGreen);
    EXPECT_EQ(LogColor(QStringLiteral("second")), frmMain::kRed);
    EXPECT_EQ(LogColor(QStringLiteral("ends")), frmMain::kDarkBlue);
    EXPECT_EQ(form->rtbLog->SelStart(), form->rtbLog->TextLength());
}

TEST_F(FrameState, ClockShowsOnlyThePcClockWhileTheLinkIsReset)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    form->uclQL7150->setPortOpen(false); // status 0
    ASSERT_EQ(form->uclQL7150->Status(), 0);
    form->lblOption[6]->setText(QStringLiteral("old"));
    form->tmrInter_Timer();
    EXPECT_EQ(form->lblOption[5]->text(), FormatGeneralDate(QDateTime::currentDateTime()));
    EXPECT_TRUE(form->lblOption[6]->text().isEmpty());
}

TEST_F(FrameState, ClockShowsTheInstrumentClockOnceASecondWhenIdle)
{
    ASSERT_TRUE(StartMain());
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->uclQL7150->Status() == 2; }, 3000));
    gInstrument().setSysDateOffset(3600);
    form->lblOption[5]->setProperty("Tag", QString());
    form->tmrInter_Timer();
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_EQ(form->lblOption[5]->text(), FormatGeneralDate(now));
    EXPECT_EQ(form->lblOption[6]->text(), FormatGeneralDate(now.addSecs(-3600)));
    // Within the same second the labels are left alone.
    form->lblOption[6]->setText(QStringLiteral("kept"));
    form->lblOption[5]->setProperty("Tag", now.toString(Qt::ISODate));
    form->tmrInter_Timer();
    if (QDateTime::currentDateTime().toString(Qt::ISODate) == now.toString(Qt::ISODate)) {
        EXPECT_EQ(form->lblOption[6]->text(), QStringLiteral("kept"));
    }
}

TEST_F(FrameState, SubBoardWarningOnlyInServiceMode)
{
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    gInstrument().setWarning(4, 5); // an option-board channel
    ASSERT_TRUE(gInstrument().Change_SubBoard());
    form->tmrInter_Timer();
    EXPECT_TRUE(form->lblSubBoard->isHidden());
    gDebugMode = true;
    form->tmrInter_Timer();
    EXPECT_FALSE(form->lblSubBoard->isHidden());
    gInstrument().setChange_SubBoard(false);
    form->tmrInter_Timer();
    EXPECT_TRUE(form->lblSubBoard->isHidden());
}

TEST_F(FrameState, BusyGuardAdmitsOneTransfer)
{
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    {
        frmMain::BusyGuard first(*form);
        EXPECT_TRUE(bool(first));
        EXPECT_TRUE(form->TransferRunning());
        frmMain::BusyGuard second(*form);
        EXPECT_FALSE(bool(second));
    }
    EXPECT_FALSE(form->TransferRunning());
}

TEST_F(FrameState, CloseRefusedSilentlyWhileATransferRuns)
{
    ASSERT_TRUE(StartMain());
    {
        frmMain::BusyGuard busy(*form);
        EXPECT_FALSE(form->close());
    }
    EXPECT_TRUE(boxes->calls().isEmpty());
    EXPECT_EQ(frmMain::Find(), form);
}

TEST_F(FrameState, CloseRefusedInsideABlockingLinkCall)
{
    ASSERT_TRUE(StartMain());
    bool closed = true;
    bool tried = false;
    QTimer::singleShot(0, form, [&] {
        tried = true;
        closed = form->close();
    });
    clsInstrument scratch;
    form->uclQL7150->GetInstrument(scratch);
    EXPECT_TRUE(tried);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(boxes->calls().isEmpty());
    EXPECT_EQ(frmMain::Find(), form);
}

TEST_F(FrameState, CloseAsksAndNoKeepsTheWindow)
{
    ASSERT_TRUE(StartMain());
    boxes->push(vb::No);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_EQ(boxes->calls()[0].prompt, GetMsg(5373));
    EXPECT_EQ(boxes->calls()[0].title, GetMsg(5001));
    EXPECT_EQ(boxes->calls()[0].style, vb::YesNo | vb::Question);
    EXPECT_EQ(frmMain::Find(), form);
}

TEST_F(FrameState, CloseRefusedSilentlyWhileExitIsOff)
{
    ASSERT_TRUE(StartMain());
    form->cmdExit->setEnabled(false);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(boxes->calls().isEmpty());
    // Frames switched off for a transfer leave the exit button's own state alone.
    form->cmdExit->setEnabled(true);
    form->EnableCommands(false);
    boxes->push(vb::No);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(boxes->calls().size(), 1);
}
