#include "MainFixture.h"
#include "platform/StatusLamp.h"
#include <QLabel>
#include <QPushButton>
#include <QWidget>

class FrameEvents : public MainFixture {};

// A stand-in calibration window that counts the forwarded readings.
class CalibrationProbe : public QWidget {
    Q_OBJECT
public:
    int refreshed = 0;
    Q_INVOKABLE void Refresh_InstMoment() { ++refreshed; }
};

TEST_F(FrameEvents, OnConnectLogsBlueTurnsLampsGreenAndAppliesTheState)
{
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(LogColor(GetMsg(5432)), frmMain::kBlue);
    EXPECT_EQ(form->shpStatus[1]->FillColor(), RGB(0, 255, 0));
    EXPECT_EQ(form->shpStatus[1]->BorderColor(), RGB(0, 192, 0));
    EXPECT_TRUE(form->cmdDown[1]->isEnabled());
}

TEST_F(FrameEvents, OnConnectWithoutAConnectionDoesNothing)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    const QString before = form->rtbLog->Text();
    emit form->uclQL7150->OnConnect();
    EXPECT_EQ(form->rtbLog->Text(), before);
    EXPECT_EQ(form->shpStatus[1]->FillColor(), RGB(160, 160, 160));
}

TEST_F(FrameEvents, DenstyStoresEnabledChannelsAndForwardsToCalibration)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    clsInstrument &inst = gInstrument();
    for (int ch = 0; ch < 7; ++ch)
        inst.setGasEnabled(ch, ch == 3 ? 0 : -1);
    emit form->uclQL7150->Densty(1, 2, 3, 4, 5, -101, 7);
    EXPECT_FLOAT_EQ(gMomentValues[0], 1);
    EXPECT_FLOAT_EQ(gMomentValues[3], -101);
    EXPECT_FLOAT_EQ(gMomentValues[5], -101); // a reading of -101 stays as it came
    EXPECT_FLOAT_EQ(gMomentValues[6], 7);

    RegisterForm(QStringLiteral("frmCalibration"), [] { return new CalibrationProbe; });
    auto *cal = static_cast<CalibrationProbe *>(Form(QStringLiteral("frmCalibration")));
    emit form->uclQL7150->Densty(1, 2, 3, 4, 5, 6, 7);
    EXPECT_EQ(cal->refreshed, 0); // only while the calibration window says it is open
    gCalFormOpen = true;
    emit form->uclQL7150->Densty(1, 2, 3, 4, 5, 6, 7);
    EXPECT_EQ(cal->refreshed, 1);
    Unload(cal);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    emit form->uclQL7150->Densty(1, 2, 3, 4, 5, 6, 7); // no window: nothing, no crash
    EXPECT_EQ(FindForm(QStringLiteral("frmCalibration")), nullptr);
}

TEST_F(FrameEvents, MessagesGoIntoTheLogInTheirColours)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    form->rtbLog->clear();
    emit form->uclQL7150->ConnectRetry(3);
    emit form->uclQL7150->InstMessage(QStringLiteral("inst text"));
    emit form->uclQL7150->InterMessage(QStringLiteral("inter text"));
    emit form->uclQL7150->AlarmMessage(GetMsg(5405));
    emit form->uclQL7150->InstMessage(GetMsg(5417));
    emit form->uclQL7150->StsTransmit();
    emit form->uclQL7150->StsIdle();
    const QStringList lines = LogLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], GetMsg(5412, 3));
    EXPECT_TRUE(lines[0].contains(QStringLiteral("(3)")));
    EXPECT_EQ(LogColor(GetMsg(5412, 3)), frmMain::kGreen);
    EXPECT_EQ(LogColor(QStringLiteral("inst text")), frmMain::kDarkBlue);
    EXPECT_EQ(LogColor(QStringLiteral("inter text")), frmMain::kDarkBlue);
    EXPECT_EQ(LogColor(GetMsg(5405).trimmed()), frmMain::kDarkBlue);
    // A text that ends with a break of its own leaves an empty line after it.
    EXPECT_TRUE(form->rtbLog->Text().endsWith(QStringLiteral("\r\n\r\n")));
}

TEST_F(FrameEvents, PortErrorsGoRedWithABoxSearchOnlyLogs)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    for (int16_t number : {int16_t(10048), int16_t(10060)}) {
        form->rtbLog->clear();
        boxes->clear();
        form->shpStatus[1]->setColors(1, 2);
        emit form->uclQL7150->IrDAError(number);
        EXPECT_EQ(LogLines(), QStringList{GetMsg(5371)});
        EXPECT_EQ(LogColor(GetMsg(5371)), frmMain::kRed);
        EXPECT_EQ(form->shpStatus[0]->FillColor(), RGB(254, 0, 0));
        EXPECT_EQ(form->shpStatus[0]->BorderColor(), RGB(192, 0, 0));
        EXPECT_EQ(form->shpStatus[1]->FillColor(), RGB(160, 160, 160));
        ASSERT_EQ(boxes->calls().size(), 1);
        EXPECT_EQ(boxes->calls()[0].prompt, GetMsg(5371));
        EXPECT_EQ(boxes->calls()[0].title, GetMsg(5372));
        EXPECT_EQ(boxes->calls()[0].buttons(), int(vb::OKOnly));
    }
    form->rtbLog->clear();
    boxes->clear();
    emit form->uclQL7150->IrDAError(1022);
    EXPECT_EQ(LogLines(), QStringList{QStringLiteral("Search...")});
    EXPECT_EQ(LogColor(QStringLiteral("Search...")), frmMain::kRed);
    emit form->uclQL7150->IrDAError(5);
    EXPECT_EQ(LogLines().size(), 1);
    EXPECT_TRUE(boxes->calls().isEmpty());
}

// A dropped line leaves nothing that needs the link usable.
TEST_F(FrameEvents, LinkLostAppliesTheNotConnectedState)
{
    options.debugMode = true;
    ASSERT_TRUE(StartMain());
    gInstrument().setCommFlags(-1);
    form->SetCommandEnabled();
    form->shpStatus[2]->show();
    form->lblStatus[2]->show();
    sim->hangUp();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->uclQL7150->Connected(); }, 5000));
    emit form->uclQL7150->LinkLost(); // whether or not the transport reported it already
    EXPECT_EQ(form->shpStatus[0]->FillColor(), RGB(0, 255, 0));
    EXPECT_EQ(form->shpStatus[1]->FillColor(), RGB(160, 160, 160));
    EXPECT_TRUE(form->shpStatus[2]->isHidden());
    EXPECT_TRUE(form->lblStatus[2]->isHidden());
    for (QPushButton *b : {form->cmdDown[1], form->cmdDown[2], form->cmdDown[4], form->cmdDown[5],
                           form->cmdOption[0], form->cmdOption[1], form->cmdOption[3], form->cmdOption[4],
                           form->cmdFRAMDump})
        EXPECT_FALSE(b->isEnabled()) << qPrintable(b->objectName());
    EXPECT_TRUE(form->cmdImportSetting->isEnabled());
}

// Progress text with no transfer running creates no window that a later transfer would
// reuse with stale texts.
TEST_F(FrameEvents, DumpMessageWithoutAProgressWindowCreatesNone)
{
    options.adapters = 0;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    emit form->uclQL7150->DumpMessage(QStringLiteral("Get FRAM Image"));
    EXPECT_EQ(frmUpload::Find(), nullptr);
    gTransferMode = 1;
    frmUpload *u = form->ShowUpload(GetMsg(6019));
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->lblUpload->text(), GetMsg(6001));
    emit form->uclQL7150->DumpMessage(QStringLiteral("Block 3"));
    EXPECT_EQ(u->lblUpload->text(), QStringLiteral("Block 3"));
    form->UnloadUpload();
    EXPECT_EQ(frmUpload::Find(), nullptr);
}

#include "test_frame_events.moc"
