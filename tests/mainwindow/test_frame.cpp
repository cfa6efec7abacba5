// The main window's frame: start-up and shut-down, serial-log rotation, command state,
// the log pane, link events, layout and the progress window.
#include "MainFixture.h"
#include "platform/CommonDialog.h"
#include "support/CutCaptions.h"
#include "platform/Animation.h"
#include "platform/StatusLamp.h"
#include "platform/Twips.h"
#include <QFileInfo>
#include <QTimer>

namespace {
// A stand-in calibration window that counts the forwarded readings.
class CalibrationProbe : public QWidget {
    Q_OBJECT
public:
    int refreshed = 0;
    Q_INVOKABLE void Refresh_InstMoment() { ++refreshed; }
};
} // namespace

class Frame : public MainFixture {
protected:
    bool StartOffline()
    {
        options.adapters = 0;
        options.waitConnected = false;
        return StartMain();
    }
    // Serial logs present in the scratch folder: generation -> first line of its content.
    QMap<int, QString> Logs() const
    {
        QMap<int, QString> out;
        for (int n = 0; n <= 10; ++n) {
            QFile f(file(n == 0 ? QStringLiteral("SerialLog.log") : QStringLiteral("SerialLog%1.log").arg(n)));
            if (f.open(QIODevice::ReadOnly))
                out.insert(n, QString::fromLatin1(f.readLine()).trimmed());
        }
        return out;
    }
    void PutLogs(std::initializer_list<int> generations)
    {
        for (int n : generations)
            writeFile(n == 0 ? QStringLiteral("SerialLog.log") : QStringLiteral("SerialLog%1.log").arg(n),
                      QStringLiteral("gen %1\r\n").arg(n).toLatin1());
    }
    QList<QWidget *> ServiceControls() const
    {
        return {form->cmdDown[2], form->cmdFRAMDump, form->cmdOption[3], form->frmOPT, form->chkUx[0], form->chkUx[3]};
    }
    void RotateOnStart()
    {
        options.waitConnected = false;
        options.settingsFile = QStringLiteral("Serial Log File\tON\r\n");
    }
    // Enabled state of every control of the command-state table, in table order.
    QList<bool> Table() const
    {
        QList<bool> out;
        for (QWidget *w : QList<QWidget *>{
                 form->txtOption[0], form->txtOption[1], form->txtOption[2], form->cmbStation, form->cmbUser,
                 form->cmbInterval, form->cmdOptFlash, form->cmdOptData, form->cmdDown[1], form->cmdDown[5],
                 form->cmdDown[2], form->cmdDown[4], form->cmdFRAMDump, form->cmdFactorySetting, form->cmdOption[0],
                 form->cmdOption[1], form->cmdOption[2], form->cmdOption[3], form->chkUx[0], form->chkUx[3],
                 form->cmdOption[4], form->chkFactorySave, form->cmdImportSetting, form->cmdExportSetting,
                 form->txtSuffix, form->vfgOption})
            out << !w->testAttribute(Qt::WA_ForceDisabled);
        return out;
    }
    // Columns: not connected / connected, no record / connected, record.
    static QList<bool> Column(int c)
    {
        static const char *const cols[] = {"00000000000001000000001100",
                                           "00000000111111010111001110",
                                           "11111111111111111111111111"};
        QList<bool> out;
        for (const char *p = cols[c]; *p; ++p)
            out << (*p == '1');
        return out;
    }
};

// --- Start-up and shut-down ------------------------------------------------------------

TEST_F(Frame, DefaultsFillOnlyWhatIsUnsetAndResetPaneAndLamps)
{
    ASSERT_TRUE(StartOffline());
    EXPECT_EQ(gCommSettings, QStringLiteral("921600,n,8,1")) << "the fallback never replaces what is set";
    EXPECT_FALSE(gTcName.isEmpty());
    clsInstrument &sample = gSampleInstrument();
    EXPECT_EQ(sample.GasName(3), QStringLiteral("CO "));
    // A second call (as the power off makes it) keeps what is set and the sample record,
    // empties the pane and puts the lamps back.
    {
        clsInstrument::DeviceDoor door(sample);
        sample.setWarning(0, 12);
    }
    gTcName = QStringLiteral("X");
    gCommSettings.clear(); // the settings file may leave it empty
    form->AddInfo(QStringLiteral("line"), frmMain::kGreen);
    form->shpStatus[1]->setColors(form->StatusGreen[0], form->StatusGreen[1]);
    form->InitDefaults();
    EXPECT_EQ(gTcName, QStringLiteral("X"));
    EXPECT_EQ(gCommSettings, QStringLiteral("921600,n,8,1"));
    EXPECT_FLOAT_EQ(sample.Warning(0), 12);
    EXPECT_TRUE(form->rtbLog->toPlainText().isEmpty());
    EXPECT_EQ(form->shpStatus[0]->FillColor(), form->StatusGreen[0]);
    EXPECT_EQ(form->shpStatus[1]->FillColor(), form->StatusGrey[0]);
    EXPECT_FALSE(form->shpStatus[2]->isVisibleTo(form));
}

TEST_F(Frame, InstrumentClockShowsOnlyWhileTheLinkWorks)
{
    ASSERT_TRUE(Start());
    ASSERT_GT(form->uclQL7150->Status(), 1);
    {
        clsInstrument::DeviceDoor door(gInstrument());
        gInstrument().setSysDateOffset(3600); // the instrument runs an hour behind
    }
    form->lblOption[5]->setProperty("Tag", QString());
    form->tmrInter_Timer();
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_TRUE(form->lblOption[6]->text() == FormatGeneralDate(now.addSecs(-3600)) ||
                form->lblOption[6]->text() == FormatGeneralDate(now.addSecs(-3601)));
    form->uclQL7150->Reset(); // status 0: the PC clock alone
    form->tmrInter_Timer();
    EXPECT_FALSE(form->lblOption[5]->text().isEmpty());
    EXPECT_TRUE(form->lblOption[6]->text().isEmpty());
}

// Without an adapter, whatever port the settings name: the socket, no service controls, and
// with rotation off only the current serial log goes.
TEST_F(Frame, PlainStartUpUsesTheSocketHidesServiceControlsAndDeletesOnlyTheCurrentLog)
{
    options.settingsFile = QStringLiteral("IrCOMM Num\t7\r\n");
    PutLogs({0, 1, 3});
    ASSERT_TRUE(StartOffline());
    EXPECT_EQ(gIrCommNum, 0);
    EXPECT_FALSE(form->uclQL7150->SerialComm());
    EXPECT_TRUE(form->uclQL7150->PortOpen());
    EXPECT_TRUE(boxes->calls().isEmpty());
    for (QWidget *w : ServiceControls())
        EXPECT_TRUE(w->isHidden()) << qPrintable(w->objectName());
    EXPECT_FALSE(form->cmdDown[1]->isHidden());
    const auto logs = Logs();
    EXPECT_NE(logs.value(0), QStringLiteral("gen 0"));
    EXPECT_EQ(logs.value(1), QStringLiteral("gen 1"));
    EXPECT_EQ(logs.value(3), QStringLiteral("gen 3"));
    EXPECT_FALSE(logs.contains(2));
}

TEST_F(Frame, TwoAdaptersWarnOnceAndUseTheSocket)
{
    options.adapters = 2;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_EQ(boxes->calls()[0].prompt, QStringLiteral("IrDA Adapter has more than one is connected."));
    EXPECT_FALSE(form->uclQL7150->SerialComm());
    EXPECT_TRUE(form->uclQL7150->PortOpen());
}

TEST_F(Frame, ServiceControlsShownInServiceModeAndSettingsReachTheLink)
{
    options.debugMode = true;
    options.settingsFile = QStringLiteral("Retry\t5\r\nTimeout\t4\r\nFactory Record Suffix\t_A1\r\n");
    ASSERT_TRUE(StartMain());
    for (QWidget *w : ServiceControls())
        EXPECT_TRUE(w->isVisible()) << qPrintable(w->objectName());
    EXPECT_EQ(form->uclQL7150->Retry(), 5);
    EXPECT_EQ(form->uclQL7150->Timeout(), 4);
    EXPECT_EQ(form->txtSuffix->text(), QStringLiteral("_A1"));
    EXPECT_NE(form->uclQL7150->SerialFileNo(), form->uclQL7150->DumpListFileNo());
}

TEST_F(Frame, RotationMovesEveryGenerationUpKeepsGapsAndDiscardsTheOldest)
{
    RotateOnStart();
    PutLogs({0, 1, 2, 4, 8, 9});
    ASSERT_TRUE(StartMain());
    const auto logs = Logs();
    EXPECT_EQ(logs.value(1), QStringLiteral("gen 0"));
    EXPECT_EQ(logs.value(2), QStringLiteral("gen 1"));
    EXPECT_EQ(logs.value(3), QStringLiteral("gen 2"));
    EXPECT_FALSE(logs.contains(4));
    EXPECT_EQ(logs.value(5), QStringLiteral("gen 4"));
    EXPECT_EQ(logs.value(9), QStringLiteral("gen 8"));
    EXPECT_FALSE(logs.contains(10));
    EXPECT_NE(logs.value(0), QStringLiteral("gen 0"));
}

// A log that cannot be removed (a folder in its place) is reported; start-up goes on.
TEST_F(Frame, UndeletableLogIsReportedAndStartUpContinues)
{
    options.waitConnected = false;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("SerialLog.log/keep")));
    ASSERT_TRUE(StartMain());
    EXPECT_TRUE(form->IsLoaded());
    EXPECT_EQ(LogColor(QStringLiteral("Serial log could not be deleted")), kRed);
    EXPECT_EQ(LogColor(QStringLiteral("Serial log is off")), kRed); // not a file it can write
    ASSERT_FALSE(LogLines().isEmpty());
    EXPECT_TRUE(LogLines().last().contains(QStringLiteral("SerialLog.log")));
}

// The oldest log cannot be discarded: nothing is overwritten, the failure is reported, and
// the logs that can move still do.
TEST_F(Frame, BlockedRotationLosesNoLog)
{
    RotateOnStart();
    PutLogs({0, 7, 8});
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("SerialLog9.log/keep")));
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(LogColor(QStringLiteral("Serial log could not be deleted")), kRed);
    EXPECT_GE(LogColor(QStringLiteral("Serial log could not be moved up")), 0);
    const auto logs = Logs();
    EXPECT_EQ(logs.value(8), QStringLiteral("gen 8"));
    EXPECT_EQ(logs.value(7), QStringLiteral("gen 7"));
    EXPECT_EQ(logs.value(1), QStringLiteral("gen 0"));
}

TEST_F(Frame, UnloadStopsTheLinkAndWritesSettings)
{
    ASSERT_TRUE(StartMain());
    boxes->push(vb::Yes);
    uclQlif *link = form->uclQL7150;
    EXPECT_TRUE(Unload(form));
    EXPECT_FALSE(link->TimerEnabled());
    EXPECT_TRUE(QFile::exists(file(QString::fromLatin1(kSettingsFileName))));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmMain::Find(), nullptr);
}

// --- Command state and closing ---------------------------------------------------------

// A dropped line leaves nothing that needs the link usable, even with a record.
TEST_F(Frame, CommandStateFollowsTheLinkAndTheRecord)
{
    options.debugMode = true;
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(Table(), Column(1));
    gInstrument().setCommFlags(-1);
    for (int ch = 4; ch < 7; ++ch)
        gInstrument().setGasType(ch, 0);
    form->SetCommandEnabled();
    EXPECT_EQ(Table(), Column(2));
    EXPECT_TRUE(form->Opt[2]->isChecked());

    gInstrument().setImportFlag(-1);
    form->shpStatus[2]->show();
    sim->hangUp();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->uclQL7150->Connected(); }, 5000));
    emit form->uclQL7150->LinkLost(); // whether or not the transport reported it already
    EXPECT_EQ(Table(), Column(0));
    EXPECT_TRUE(form->shpStatus[2]->isHidden());
    EXPECT_EQ(form->shpStatus[1]->FillColor(), RGB(160, 160, 160));
}

TEST_F(Frame, ImportedRecordEnablesTheSlotsItsGasTypesAllow)
{
    ASSERT_TRUE(StartMain());
    gInstrument().setImportFlag(-1);
    for (int ch = 4; ch < 7; ++ch)
        gInstrument().setGasType(ch, ch == 5 ? 16 : 0); // 16: no board in that slot
    form->SetCommandEnabled();
    EXPECT_TRUE(form->Opt[0]->isEnabled() && !form->Opt[1]->isEnabled() && form->Opt[2]->isEnabled());
    EXPECT_TRUE(form->Opt[2]->isChecked());
    EXPECT_TRUE(form->cmdOption[0]->isEnabled());
    for (int ch = 4; ch < 7; ++ch)
        gInstrument().setGasType(ch, 16);
    form->SetCommandEnabled();
    EXPECT_FALSE(form->Opt[0]->isEnabled() || form->Opt[1]->isEnabled() || form->Opt[2]->isEnabled());
    EXPECT_FALSE(form->cmdOptData->isEnabled() || form->cmdOptFlash->isEnabled());
}

TEST_F(Frame, CloseIsRefusedSilentlyWhileATransferRunsAndAsksOtherwise)
{
    ASSERT_TRUE(StartMain());
    {
        frmMain::BusyGuard busy(*form);
        EXPECT_FALSE(frmMain::BusyGuard(*form, false)) << "one transfer at a time";
        EXPECT_FALSE(form->close());
    }
    bool closed = true;
    bool tried = false;
    QTimer::singleShot(0, form, [&] {
        tried = true;
        closed = form->close();
    });
    clsInstrument scratch;
    form->uclQL7150->GetInstrument(scratch); // a blocking link call
    EXPECT_TRUE(tried);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(boxes->calls().isEmpty());
    EXPECT_EQ(frmMain::Find(), form);
    // Idle, closing asks, unless Exit is off.
    boxes->push(vb::No);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5373)});
    form->cmdExit->setEnabled(false);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(boxes->calls().size(), 1);
    // Frames switched off for a transfer leave the buttons' own state alone.
    form->cmdExit->setEnabled(true);
    form->EnableCommands(false);
    EXPECT_FALSE(form->cmdDown[1]->testAttribute(Qt::WA_ForceDisabled));
    boxes->push(vb::No);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(boxes->calls().size(), 2);
}

// --- Log pane and link events ---------------------------------------------------

TEST_F(Frame, AddInfoAppendsAtTheEndAndPortErrorsGoRedWithABox)
{
    ASSERT_TRUE(StartOffline());
    form->rtbLog->clear();
    form->AddInfo(QStringLiteral("first"), kGreen);
    form->AddInfo(QStringLiteral("second"), kRed);
    // The user selects part of the first line.
    QTextCursor c = form->rtbLog->textCursor();
    c.setPosition(1);
    c.setPosition(4, QTextCursor::KeepAnchor);
    form->rtbLog->setTextCursor(c);
    form->AddInfo(QString(), frmMain::kBlue);
    form->AddInfo(QStringLiteral("ends with break\r\n"), frmMain::kDarkBlue);
    EXPECT_EQ(form->rtbLog->Text(), QStringLiteral("first\r\nsecond\r\n\r\nends with break\r\n\r\n"));
    EXPECT_EQ(LogColor(QStringLiteral("first")), kGreen);
    EXPECT_EQ(LogColor(QStringLiteral("second")), kRed);
    EXPECT_EQ(LogColor(QStringLiteral("ends")), frmMain::kDarkBlue);
    EXPECT_EQ(form->rtbLog->SelStart(), form->rtbLog->TextLength());
    // Port errors go red with a box; a search only logs.
    form->rtbLog->clear();
    emit form->uclQL7150->IrDAError(10060);
    EXPECT_EQ(LogColor(GetMsg(5371)), kRed);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5371)});
    emit form->uclQL7150->IrDAError(1022);
    emit form->uclQL7150->IrDAError(5);
    EXPECT_EQ(LogLines(), (QStringList{GetMsg(5371), QStringLiteral("Search...")}));
    EXPECT_EQ(boxes->calls().size(), 1);
}

TEST_F(Frame, ReadingsStoreEnabledChannelsAndReachOnlyAnOpenCalibrationWindow)
{
    ASSERT_TRUE(StartOffline());
    for (int ch = 0; ch < 7; ++ch)
        gInstrument().setGasEnabled(ch, ch == 3 ? 0 : -1);
    emit form->uclQL7150->Densty(1, 2, 3, 4, 5, -101, 7);
    EXPECT_FLOAT_EQ(gMomentValues[3], -101);
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

// --- Progress window -------------------------------------------------------------------

// Progress text with no transfer running creates no window that a later transfer would
// reuse with stale texts; each transfer gets a fresh one.
TEST_F(Frame, ProgressWindowIsFreshAndCancelsOnlyWhereATransferCanStop)
{
    ASSERT_TRUE(StartOffline());
    emit form->uclQL7150->DumpMessage(QStringLiteral("Get FRAM Image"));
    EXPECT_EQ(frmUpload::Find(), nullptr);
    gTransferMode = 1;
    frmUpload *u = form->ShowUpload(GetMsg(6019));
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->lblUpload->text(), GetMsg(6001));
    emit form->uclQL7150->DumpMessage(QStringLiteral("Block 3"));
    EXPECT_EQ(u->lblUpload->text(), QStringLiteral("Block 3"));
    EXPECT_FALSE(u->close()) << "nothing but the transfer's end closes it";
    EXPECT_EQ(frmUpload::Find(), u);
    form->UnloadUpload();
    EXPECT_EQ(frmUpload::Find(), nullptr);
    gTransferMode = 0;
    u = form->ShowUpload(GetMsg(6056));
    EXPECT_EQ(u->windowTitle(), GetMsg(6056));
    EXPECT_EQ(u->lblUpload->text(), GetMsg(6004));
    EXPECT_EQ(u->amnUpload->FrameCount(), 0) << "no animation file: an empty area";
    form->UnloadUpload();
    // The cancel button only where a transfer can stop, and it works once.
    for (int mode : {0, 2, 3, 4, 8, 1, 5, 6, 7, 42}) {
        gTransferMode = mode;
        frmUpload::UnloadDefault();
        const bool canStop = mode == 1 || (mode >= 5 && mode <= 7) || mode > 8;
        EXPECT_EQ(!frmUpload::Default()->cmdUpload->isHidden(), canStop) << mode;
    }
    u = frmUpload::Default(); // mode 42: an unknown transfer can always stop
    u->show();
    EXPECT_GT(u->cmdUpload->y(), u->lblUpload->geometry().bottom());
    EXPECT_LE(u->cmdUpload->geometry().bottom(), u->height());
    form->uclQL7150->setCancel(false);
    QTest::mouseClick(u->cmdUpload, Qt::LeftButton);
    EXPECT_TRUE(u->Canceled());
    EXPECT_TRUE(form->uclQL7150->Cancel());
    EXPECT_EQ(u->lblUpload->text(), GetMsg(6006));
    // A second press cannot reach it.
    form->uclQL7150->setCancel(false);
    QTest::mouseClick(u->cmdUpload, Qt::LeftButton);
    EXPECT_FALSE(form->uclQL7150->Cancel());
}

// --- Layout ----------------------------------------------------------------------------

TEST(GasGridColumns, HalvesGoToEven)
{
    EXPECT_EQ(GasGridColumnWidths(10010, 2, QStringLiteral("EN"))[0], 1502); // 1501.5
    EXPECT_TRUE(GasGridColumnWidths(10000, 1, QStringLiteral("EN")).isEmpty());
}

TEST_F(Frame, AnySizeSnapsToTheMinimumAndStaysSane)
{
    ASSERT_TRUE(StartMain());
    form->resize(200, 150);
    EXPECT_GE(form->width(), TwipsToPixels(12300));
    EXPECT_GE(form->height(), TwipsToPixels(11025));
    for (int w : {0, 12300, 24000, 40000}) {
        if (w)
            form->resize(TwipsToPixels(w), TwipsToPixels(11025 + w / 4));
        for (QWidget *x : QList<QWidget *>{form->fraStatus, form->vfgOption, form->fraTransStatus, form->rtbLog,
                                           form->fraCommand[0], form->fraCommand[1], form->fraCommand[2]})
            EXPECT_TRUE(x->width() > 0 && x->height() > 0) << qPrintable(x->objectName()) << w;
        EXPECT_GT(LeftTwips(form->fraCommand[0]), LeftTwips(form->fraTransStatus) + WidthTwips(form->fraTransStatus));
        for (int i = 0; i < 3; ++i)
            EXPECT_LE(form->fraInCommand[i]->geometry().right(), form->fraCommand[i]->width()) << w;
    }
    // Minimising and restoring keeps the layout.
    const QRect grid = form->vfgOption->geometry();
    form->showMinimized();
    form->Form_Resize();
    form->showNormal();
    form->resize(TwipsToPixels(40000), TwipsToPixels(21025));
    EXPECT_EQ(form->vfgOption->geometry(), grid);
}

// Every caption whole, at the smallest window and at the size the README shows, with a record
// on screen and after an import.
TEST_F(Frame, NoCaptionIsCut)
{
    ScriptedCommonDialog dialogs;
    ASSERT_TRUE(StartMain());
    auto expectWhole = [&](const char *when) {
        for (const QSize twips : {QSize(12300, 11025), QSize(14400, 11025)}) {
            form->resize(TwipsToPixels(twips.width()), TwipsToPixels(twips.height()));
            QCoreApplication::processEvents();
            form->txtOption_Change(0); // "(Left space n)" beside the serial number
            EXPECT_EQ(CutCaptions(form).join(QLatin1Char('\n')).toStdString(), "")
                << when << ", " << twips.width() << " x " << twips.height();
        }
    };
    Press(form->cmdDown[1]);
    expectWhole("after a download");
    dialogs.choose(file(QStringLiteral("site.seq")));
    Press(form->cmdExportSetting);
    dialogs.choose(file(QStringLiteral("site.seq")));
    Press(form->cmdImportSetting);
    ASSERT_EQ(gInstrument().ImportFlag(), -1);
    expectWhole("after an import");
}

#include "test_frame.moc"
