// The main window's frame: start-up and shut-down, serial-log rotation, command state,
// the log pane, link events, layout and the progress window.
#include "MainFixture.h"
#include "support/CutCaptions.h"
#include "platform/StatusLamp.h"
#include "platform/Twips.h"
#include <QFileInfo>
#include <QRegularExpression>
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
    static QString LogName(int n) { return n == 0 ? QStringLiteral("SerialLog.log") : QStringLiteral("SerialLog%1.log").arg(n); }
    QMap<int, QString> Logs() const
    {
        QMap<int, QString> out;
        for (int n = 0; n <= 10; ++n)
            if (QFileInfo(file(LogName(n))).isFile())
                out.insert(n, QString::fromLatin1(ReadFile(LogName(n))).section(QLatin1Char('\r'), 0, 0));
        return out;
    }
    // Puts the given generations in place; with rotate, start-up rotates them.
    void PutLogs(std::initializer_list<int> generations, bool rotate)
    {
        for (int n : generations)
            writeFile(LogName(n), QStringLiteral("gen %1\r\n").arg(n).toLatin1());
        options.waitConnected = false;
        if (rotate)
            options.settingsFile = QStringLiteral("Serial Log File\tON\r\n");
    }
    QList<QWidget *> ServiceControls() const
    {
        return {form->cmdDown[2], form->cmdFRAMDump, form->cmdOption[3], form->frmOPT, form->chkUx[0], form->chkUx[3]};
    }
    // Enabled controls of the command-state table, as '1' and '0' in table order.
    QString Table() const
    {
        QString out;
        for (QWidget *w : QList<QWidget *>{
                 form->txtOption[0], form->txtOption[1], form->txtOption[2], form->cmbStation, form->cmbUser,
                 form->cmbInterval, form->cmdOptFlash, form->cmdOptData, form->cmdDown[1], form->cmdDown[5],
                 form->cmdDown[2], form->cmdDown[4], form->cmdFRAMDump, form->cmdFactorySetting, form->cmdOption[0],
                 form->cmdOption[1], form->cmdOption[2], form->cmdOption[3], form->chkUx[0], form->chkUx[3],
                 form->cmdOption[4], form->chkFactorySave, form->cmdImportSetting, form->cmdExportSetting,
                 form->txtSuffix, form->vfgOption})
            out += w->testAttribute(Qt::WA_ForceDisabled) ? '0' : '1';
        return out;
    }
};

// --- Start-up and shut-down ------------------------------------------------------------

// A second run of the start-up defaults (as the power off makes it) keeps what is set and
// the sample record, empties the pane and puts the lamps back.
TEST_F(Frame, DefaultsFillOnlyWhatIsUnsetAndResetPaneAndLamps)
{
    ASSERT_TRUE(StartOffline());
    EXPECT_EQ(gCommSettings, QStringLiteral("921600,n,8,1"));
    EXPECT_FALSE(gTcName.isEmpty());
    clsInstrument &sample = gSampleInstrument();
    EXPECT_EQ(sample.GasName(3), QStringLiteral("CO "));
    {
        clsInstrument::DeviceDoor door(sample);
        sample.setWarning(0, 12);
    }
    gTcName = QStringLiteral("X");
    gCommSettings.clear(); // the settings file may leave it empty
    form->AddInfo(QStringLiteral("line"), kGreen);
    form->shpStatus[0]->setColors(form->StatusRed[0], form->StatusRed[1]);
    form->shpStatus[1]->setColors(form->StatusGreen[0], form->StatusGreen[1]);
    form->shpStatus[2]->show();
    form->InitDefaults();
    EXPECT_EQ(gTcName, QStringLiteral("X"));
    EXPECT_EQ(gCommSettings, QStringLiteral("921600,n,8,1"));
    EXPECT_FLOAT_EQ(sample.Warning(0), 12);
    EXPECT_TRUE(form->rtbLog->toPlainText().isEmpty());
    EXPECT_EQ(form->shpStatus[0]->FillColor(), RGB(0, 255, 0));
    EXPECT_EQ(form->shpStatus[1]->FillColor(), RGB(160, 160, 160));
    EXPECT_FALSE(form->shpStatus[2]->isVisibleTo(form));
}

TEST_F(Frame, InstrumentClockShowsOnlyWhileTheLinkWorks)
{
    ASSERT_TRUE(Start());
    {
        clsInstrument::DeviceDoor door(gInstrument());
        gInstrument().setSysDateOffset(3600); // the instrument runs an hour behind
    }
    form->lblOption[5]->setProperty("Tag", QString());
    form->tmrInter_Timer();
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_TRUE(form->lblOption[6]->text() == FormatGeneralDate(now.addSecs(-3600)) ||
                form->lblOption[6]->text() == FormatGeneralDate(now.addSecs(-3601)));
    form->uclQL7150->Reset(); // status 0: the PC clock alone, at every tick
    form->lblOption[5]->clear();
    const QDateTime before = QDateTime::currentDateTime();
    form->tmrInter_Timer();
    EXPECT_TRUE(form->lblOption[5]->text() == FormatGeneralDate(before) ||
                form->lblOption[5]->text() == FormatGeneralDate(before.addSecs(1)));
    EXPECT_TRUE(form->lblOption[6]->text().isEmpty());
}

// Two adapters, whatever port the settings name: one warning, the socket, no service
// controls, and with rotation off only the current serial log goes.
TEST_F(Frame, PlainStartUpUsesTheSocketHidesServiceControlsAndDeletesOnlyTheCurrentLog)
{
    options.settingsFile = QStringLiteral("IrCOMM Num\t7\r\n");
    PutLogs({0, 1, 3}, false);
    options.adapters = 2;
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(boxes->prompts(), QStringList{QStringLiteral("IrDA Adapter has more than one is connected.")});
    EXPECT_TRUE(gIrCommNum == 0 && !form->uclQL7150->SerialComm() && form->uclQL7150->PortOpen());
    for (QWidget *w : ServiceControls())
        EXPECT_TRUE(w->isHidden()) << qPrintable(w->objectName());
    EXPECT_FALSE(form->cmdDown[1]->isHidden()) << "only the service controls";
    const auto logs = Logs();
    EXPECT_NE(logs.value(0), QStringLiteral("gen 0"));
    EXPECT_TRUE(logs.value(1) == QStringLiteral("gen 1") && logs.value(3) == QStringLiteral("gen 3"));
}

// A log that cannot be removed (a folder in its place) is reported, and start-up goes on.
TEST_F(Frame, ServiceControlsShownInServiceModeAndSettingsReachTheLink)
{
    options.debugMode = true;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("SerialLog.log/keep")));
    options.settingsFile = QStringLiteral("Retry\t5\r\nTimeout\t4\r\nFactory Record Suffix\t_A1\r\n");
    ASSERT_TRUE(StartMain());
    for (QWidget *w : ServiceControls())
        EXPECT_TRUE(w->isVisible()) << qPrintable(w->objectName());
    EXPECT_EQ(form->uclQL7150->Retry(), 5);
    EXPECT_EQ(form->uclQL7150->Timeout(), 4);
    EXPECT_EQ(form->txtSuffix->text(), QStringLiteral("_A1"));
    EXPECT_NE(form->uclQL7150->SerialFileNo(), form->uclQL7150->DumpListFileNo());
    EXPECT_EQ(LogColor(QStringLiteral("Serial log could not be deleted")), kRed);
    EXPECT_TRUE(HasLine(QStringLiteral("Serial log could not be deleted: ") + file(QStringLiteral("SerialLog.log"))))
        << LogLines().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(LogColor(QStringLiteral("Serial log is off")), kRed); // not a file it can write
}

TEST_F(Frame, RotationMovesEveryGenerationUpKeepsGapsAndDiscardsTheOldest)
{
    PutLogs({0, 1, 2, 4, 8, 9}, true);
    ASSERT_TRUE(StartMain());
    auto logs = Logs();
    logs.remove(0); // the new log
    EXPECT_EQ(logs, (QMap<int, QString>{{1, "gen 0"}, {2, "gen 1"}, {3, "gen 2"}, {5, "gen 4"}, {9, "gen 8"}}));
}

// The oldest log cannot be discarded: nothing is overwritten, the failure is reported, and
// the logs that can move still do.
TEST_F(Frame, BlockedRotationLosesNoLog)
{
    PutLogs({0, 7, 8}, true);
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("SerialLog9.log/keep")));
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(LogColor(QStringLiteral("Serial log could not be deleted")), kRed);
    EXPECT_TRUE(HasLine(QStringLiteral("Serial log could not be deleted: ") + file(QStringLiteral("SerialLog9.log"))));
    EXPECT_GE(LogColor(QStringLiteral("Serial log could not be moved up")), 0);
    auto logs = Logs();
    logs.remove(0);
    EXPECT_EQ(logs, (QMap<int, QString>{{1, "gen 0"}, {7, "gen 7"}, {8, "gen 8"}}));
}

// Closing asks first; on Yes the link's timer stops and the program settings are written,
// the window's own size and the run counter included.
TEST_F(Frame, ClosingStopsTheLinkAndWritesTheSettings)
{
    options.settingsFile = QStringLiteral("Execute Count\t6\r\nRetry\t5\r\n");
    ASSERT_TRUE(StartMain());
    const QString settings = QString::fromLatin1(kSettingsFileName);
    const QByteArray before = ReadFile(settings);
    Enter(form->txtSuffix);
    form->txtSuffix->setText(QStringLiteral("_B2"));
    Leave(form->txtSuffix);
    uclQlif *link = form->uclQL7150;
    ASSERT_TRUE(link->TimerEnabled());
    Confirm(form->cmdExit, vb::No);
    EXPECT_TRUE(link->TimerEnabled() && form->isVisible());
    EXPECT_EQ(ReadFile(settings), before);

    const QSize size = form->size();
    Confirm(form->cmdExit);
    EXPECT_FALSE(link->TimerEnabled());
    const QByteArray written = ReadFile(settings);
    for (const QString &line : {QStringLiteral("Factory Record Suffix\t_B2"), QStringLiteral("Execute Count\t7"),
                                QStringLiteral("Retry\t5"),
                                QStringLiteral("Size Values\t0,%1,%2").arg(PixelsToTwips(size.width())).arg(PixelsToTwips(size.height()))})
        EXPECT_TRUE(written.contains((line + QStringLiteral("\r\n")).toLatin1())) << line.toStdString();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmMain::Find(), nullptr);
}

// --- Command state and closing ---------------------------------------------------------

// A dropped line leaves nothing that needs the link usable, even with a record. An imported
// record enables the option slots its gas types allow.
TEST_F(Frame, CommandStateFollowsTheLinkAndTheRecord)
{
    options.debugMode = true;
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(Table(), "00000000111111010111001110");
    gInstrument().setImportFlag(-1);
    for (int ch = 4; ch < 7; ++ch)
        gInstrument().setGasType(ch, ch == 5 ? 16 : 0); // 16: no board in that slot
    form->SetCommandEnabled();
    EXPECT_EQ(Table(), "11111111111111111111111111");
    EXPECT_TRUE(form->Opt[0]->isEnabled() && !form->Opt[1]->isEnabled() && form->Opt[2]->isEnabled());
    EXPECT_TRUE(form->Opt[2]->isChecked());
    for (int ch = 4; ch < 7; ++ch)
        gInstrument().setGasType(ch, 16);
    form->SetCommandEnabled();
    EXPECT_FALSE(form->Opt[0]->isEnabled() || form->Opt[2]->isEnabled());
    EXPECT_FALSE(form->cmdOptData->isEnabled() || form->cmdOptFlash->isEnabled());

    form->shpStatus[2]->show();
    sim->hangUp();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->uclQL7150->Connected(); }, 5000));
    emit form->uclQL7150->LinkLost(); // whether or not the transport reported it already
    EXPECT_EQ(Table(), "00000000000001000000001100");
    EXPECT_TRUE(form->shpStatus[2]->isHidden());
    EXPECT_EQ(form->shpStatus[1]->FillColor(), RGB(160, 160, 160));
}

TEST_F(Frame, CloseIsRefusedSilentlyWhileATransferRunsAndAsksOtherwise)
{
    ASSERT_TRUE(StartMain());
    {
        frmMain::BusyGuard busy(*form);
        EXPECT_FALSE(frmMain::BusyGuard(*form, false)) << "one transfer at a time";
        ASSERT_FALSE(form->close());
    }
    bool closed = true;
    QTimer::singleShot(0, form, [&] { closed = form->close(); });
    clsInstrument scratch;
    form->uclQL7150->GetInstrument(scratch); // a blocking link call
    EXPECT_FALSE(closed);
    EXPECT_TRUE(boxes->calls().isEmpty());
    // Idle, closing asks, unless Exit is off.
    boxes->push(vb::No);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5373)});
    form->cmdExit->setEnabled(false);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(boxes->calls().size(), 1) << "not asked again";
    // Frames switched off for a transfer leave the buttons' own state alone.
    form->cmdExit->setEnabled(true);
    form->EnableCommands(false);
    EXPECT_FALSE(form->cmdDown[1]->testAttribute(Qt::WA_ForceDisabled));
    boxes->push(vb::No);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(boxes->calls().size(), 2) << "asked again";
}

// Every transfer holds the command frames off while it runs and gives them back after it,
// whatever its outcome; the buttons inside keep their own state all the while.
TEST_F(Frame, CommandFramesAreOffWhileATransferRuns)
{
    ASSERT_TRUE(Start(true));
    auto frames = [this] {
        QString out;
        for (QGroupBox *f : form->fraCommand)
            out += f->isEnabled() ? '1' : '0';
        return out;
    };
    QString during;
    // A first read that fails: no record, so the upload and what needs a record stay off.
    sim->addRule({SimFault::NoAnswer, "GN", 'R', 1, -1});
    WhenRequest("GN,R", [&] { during = frames(); });
    Download();
    EXPECT_EQ(during, "000");
    EXPECT_EQ(frames(), "111");
    EXPECT_EQ(Table(), "00000000111111010111001110");
    sim->clearRules();
    Download();
    ASSERT_EQ(gInstrument().CommFlags(), -1);

    form->FlashDumpLastBlock = 3;
    struct Transfer { QPushButton *button; bool asks; const char *request; };
    const Transfer transfers[] = {
        {form->cmdDown[1], false, "XP,R"},   {form->cmdDown[5], false, "XP,R"}, {form->cmdOption[0], true, "XV,W"},
        {form->cmdOption[1], true, "HC,W"},  {form->cmdOption[4], true, "UP,W"}, {form->cmdDown[2], false, "EP,R"},
        {form->cmdFRAMDump, true, "EF,R"},   {form->cmdOptData, false, "OD,R"},
    };
    for (const Transfer &t : transfers) {
        during.clear();
        WhenRequest(t.request, [&] { during = frames(); });
        if (t.asks)
            boxes->push(vb::Yes);
        Press(t.button);
        EXPECT_EQ(during, "000") << t.button->objectName().toStdString() << t.request;
        EXPECT_EQ(frames(), "111") << t.button->objectName().toStdString();
    }
    // A refused upload gives the frames back too.
    sim->addRule({SimFault::Refuse, "", 'W', 1, -1});
    Confirm(form->cmdOption[0]);
    EXPECT_EQ(LogColor(Text(Commands::kUploadFailed)), kRed);
    EXPECT_EQ(frames(), "111");
    EXPECT_EQ(Table(), "11111111111111111111111111");
}

// --- Log pane, link events and the progress window ---------------------------------------

// The log pane's own rules are the pane's test; here what the link's events put in it.
TEST_F(Frame, PortErrorsAndProgressWindow)
{
    ASSERT_TRUE(StartOffline());
    // A line goes at the end, whatever the user has selected in the pane.
    form->rtbLog->clear();
    form->AddInfo(QStringLiteral("first"), kGreen);
    QTextCursor c = form->rtbLog->textCursor();
    c.setPosition(1);
    c.setPosition(4, QTextCursor::KeepAnchor);
    form->rtbLog->setTextCursor(c);
    form->AddInfo(QStringLiteral("second"), kRed);
    EXPECT_EQ(form->rtbLog->Text(), QStringLiteral("first\r\nsecond\r\n"));
    // Port errors go red with a box; a search only logs.
    form->rtbLog->clear();
    emit form->uclQL7150->IrDAError(10060);
    emit form->uclQL7150->IrDAError(1022);
    emit form->uclQL7150->IrDAError(5);
    EXPECT_EQ(LogLines(), (QStringList{GetMsg(5371), QStringLiteral("Search...")}));
    EXPECT_EQ(LogColor(GetMsg(5371)), kRed);
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5371)});

    // Progress text with no transfer running creates no window a later transfer would reuse.
    emit form->uclQL7150->DumpMessage(QStringLiteral("Get FRAM Image"));
    EXPECT_EQ(frmUpload::Find(), nullptr);
    gTransferMode = 1;
    frmUpload *u = form->ShowUpload(GetMsg(6019));
    ASSERT_NE(u, nullptr);
    emit form->uclQL7150->DumpMessage(QStringLiteral("Block 3"));
    EXPECT_EQ(u->lblUpload->text(), QStringLiteral("Block 3"));
    EXPECT_FALSE(u->close()) << "nothing but the transfer's end closes it";
    // Each load takes its texts from the transfer mode; the cancel button only where a
    // transfer can stop (an unknown one can always stop), and it works once.
    struct Mode { int mode, text; bool canStop; };
    for (const Mode m : {Mode{0, 6004, false}, {2, 6001, false}, {3, 6002, false}, {4, 6003, false}, {8, 6058, false},
                         {1, 6001, true}, {5, 6004, true}, {6, 6004, true}, {7, 6004, true}, {42, 0, true}}) {
        gTransferMode = m.mode;
        frmUpload::UnloadDefault();
        u = frmUpload::Default();
        EXPECT_EQ(!u->cmdUpload->isHidden(), m.canStop) << m.mode;
        if (m.text) {
            EXPECT_EQ(u->lblUpload->text(), GetMsg(m.text)) << m.mode;
        }
    }
    frmUpload::UnloadDefault();
    gTransferMode = 0;
    u = form->ShowUpload(GetMsg(6056));
    EXPECT_EQ(u->windowTitle(), GetMsg(6056)) << "the command's own caption";
    form->UnloadUpload();
    gTransferMode = 42;
    u = frmUpload::Default();
    u->show();
    EXPECT_GT(u->cmdUpload->y(), u->lblUpload->geometry().bottom());
    EXPECT_LE(u->cmdUpload->geometry().bottom(), u->height());
    form->uclQL7150->setCancel(false);
    QTest::mouseClick(u->cmdUpload, Qt::LeftButton);
    EXPECT_TRUE(form->uclQL7150->Cancel());
    EXPECT_EQ(u->lblUpload->text(), GetMsg(6006));
    form->uclQL7150->setCancel(false);
    QTest::mouseClick(u->cmdUpload, Qt::LeftButton);
    EXPECT_FALSE(form->uclQL7150->Cancel());
}

// Readings reach the calibration window only while it says it is open, and never make one.
TEST_F(Frame, ReadingsReachOnlyAnOpenCalibrationWindow)
{
    ASSERT_TRUE(StartOffline());
    RegisterForm(QStringLiteral("frmCalibration"), [] { return new CalibrationProbe; });
    auto *cal = static_cast<CalibrationProbe *>(Form(QStringLiteral("frmCalibration")));
    emit form->uclQL7150->Densty(1, 2, 3, 4, 5, 6, 7);
    EXPECT_EQ(cal->refreshed, 0);
    gCalFormOpen = true;
    emit form->uclQL7150->Densty(1, 2, 3, 4, 5, 6, 7);
    EXPECT_EQ(cal->refreshed, 1);
    Unload(cal);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    emit form->uclQL7150->Densty(1, 2, 3, 4, 5, 6, 7);
    EXPECT_EQ(FindForm(QStringLiteral("frmCalibration")), nullptr);
}

// What the instrument and the link say reaches the log pane in dark blue as it arrives: the
// instrument's message and the latest calibration inside a read, and the give-up text once
// the instrument stops answering.
TEST_F(Frame, InstrumentAndLinkTextsReachTheLogInDarkBlue)
{
    options.settingsFile = QStringLiteral("Retry\t1\r\n");
    ASSERT_TRUE(Start());
    {
        clsInstrument::DeviceDoor door(sim->state());
        sim->state().setMessageString(QStringLiteral("REPLACE FILTER"));
    }
    form->rtbLog->clear();
    Download();
    const QStringList lines = LogLines();
    const int start = lines.indexOf(Line(5414));
    const int done = lines.indexOf(Line(5415));
    const int message = lines.indexOf(QStringLiteral("REPLACE FILTER"));
    const int history = lines.indexOf(QRegularExpression(QStringLiteral("^Latest Calibration \\d{4}/.*, CH4 .*")));
    EXPECT_TRUE(start >= 0 && start < message && message < done) << lines.join('|').toStdString();
    EXPECT_TRUE(start < history && history < done) << lines.join('|').toStdString();
    constexpr int darkBlue = RGB(0, 0, 192);
    EXPECT_EQ(LogColor(QStringLiteral("REPLACE FILTER")), darkBlue);
    EXPECT_EQ(LogColor(QStringLiteral("Latest Calibration")), darkBlue);

    // The instrument goes quiet while its readings are polled.
    form->uclQL7150->setRunDensty(true);
    sim->setPoweredOn(false);
    ASSERT_TRUE(QTest::qWaitFor([this] { return HasLine(GetMsg(5405)); }, 20000));
    EXPECT_EQ(LogColor(GetMsg(5405)), darkBlue);
}

// --- Layout ----------------------------------------------------------------------------

// Every caption the window sets, read off the real controls: each from its message, the
// message holding the text the technician knows; the rest keep their designed text.
TEST_F(Frame, CaptionsComeFromTheirMessages)
{
    ASSERT_TRUE(StartOffline());
    const struct {
        const char *control; // objectName; "" the window itself
        int message;         // 0: a designed caption
        const char *caption;
    } captions[] = {
        {"", 5001, "VANTIK - Configuration Program"},
        {"lblSubBoard", 5061, "Influence to sub board"},
        {"lblStatus_0", 5022, "Serial Port"},
        {"lblStatus_1", 5023, "Connect"},
        {"lblTitle", 5012, "Download State"},
        {"fraCommand_0", 5035, "Download Commands"},
        {"fraCommand_1", 5227, "Write Commands"},
        {"fraCommand_2", 5049, "Setting Commands"},
        {"cmdDown_1", 5037, "Instrument Information"},
        {"cmdDown_2", 5038, "Download Logger Data"},
        {"cmdDown_4", 5041, "Power Off"},
        {"cmdDown_5", 5047, "Information Get && Save"},
        {"cmdFRAMDump", 5222, "FRAM Dump"},
        {"lblSuffix", 5048, "Filename Suffix at Save"},
        {"cmdOption_0", 5214, "Update"},
        {"cmdOption_1", 5215, "Date/Time Set"},
        {"cmdOption_2", 5216, "Calibration"},
        {"cmdOption_3", 5257, "DEFAULT"},
        {"cmdOption_4", 5221, "Restore Factory Set"},
        {"chkFactorySave", 8040, "Update as Factory Settings."},
        {"cmdImportSetting", 5228, "Load Local file"},
        {"cmdExportSetting", 5229, "Store Local file"},
        {"cmdFactorySetting", 5226, "Detail Settings"},
        {"cmdExit", 5007, "Exit"},
        {"fraTransStatus", 5021, "Status"},
        {"lblInst_6", 5056, "Program Number"},
        {"lblInst_8", 5060, "SUM"},
        {"lblOption_0", 5209, "Serial No. (20 Characters)"},
        {"lblOption_1", 5210, "Station ID (16 Characters)"},
        {"lblOption_2", 5211, "User ID (16 Characters)"},
        {"lblOption_3", 5212, "PC Date/Time"},
        {"lblOption_4", 5213, "VANTIK  Date/Time"},
        {"lblOption_7", 5223, "Interval Trend Time (Sec)"},
        {"fraStatus", 0, "VANTIK Status"},
        {"chkSaveOnly", 0, "Save Only"},
        {"cmdOptData", 0, "OPT  DATA"},
        {"cmdOptFlash", 0, "OPT FLASH"},
        {"Opt_0", 0, "OPT1"},
        {"chkUx_0", 0, "MAIN"},
        {"chkUx_1", 0, "OPT1"},
        {"lblStatus_2", 0, "Cal.Unit"},
        {"lblStatus_3", 0, "Cal.Gas"},
    };
    auto shown = [&](const QString &name) -> std::optional<QString> {
        if (name.isEmpty())
            return form->windowTitle();
        const QList<QWidget *> found = form->findChildren<QWidget *>(name);
        if (found.size() != 1)
            return std::nullopt;
        if (auto *l = qobject_cast<QLabel *>(found[0]))
            return l->text();
        if (auto *b = qobject_cast<QAbstractButton *>(found[0]))
            return b->text();
        if (auto *g = qobject_cast<QGroupBox *>(found[0]))
            return g->title();
        return std::nullopt;
    };
    for (const auto &c : captions) {
        const QString name = QString::fromLatin1(c.control);
        const QString caption = QString::fromLatin1(c.caption);
        if (c.message) {
            EXPECT_EQ(GetMsg(c.message).toStdString(), c.caption) << c.message;
        }
        QString expected = c.message ? GetMsg(c.message) : caption;
        if (name.isEmpty())
            expected += QStringLiteral(" [P.No.05223]");
        EXPECT_EQ(shown(name).value_or(QStringLiteral("<no such control>")).toStdString(), expected.toStdString())
            << c.control;
    }
}


TEST(GasGridColumns, HalvesGoToEven)
{
    EXPECT_EQ(GasGridColumnWidths(10010, 2, QStringLiteral("EN"))[0], 1502); // 1501.5
    EXPECT_TRUE(GasGridColumnWidths(10000, 1, QStringLiteral("EN")).isEmpty());
}

// Any size snaps to the minimum; every caption whole at the smallest window and at the size
// the README shows, with a record on screen and after an import.
TEST_F(Frame, LayoutAtAnySizeCutsNoCaption)
{
    ASSERT_TRUE(StartMain());
    form->resize(200, 150);
    EXPECT_TRUE(form->width() >= TwipsToPixels(12300) && form->height() >= TwipsToPixels(11025));
    auto expectWhole = [&](const char *when) {
        for (const QSize twips : {QSize(12300, 11025), QSize(14400, 11025), QSize(40000, 21025)}) {
            form->resize(TwipsToPixels(twips.width()), TwipsToPixels(twips.height()));
            QCoreApplication::processEvents();
            form->txtOption_Change(0); // "(Left space n)" beside the serial number
            EXPECT_EQ(CutCaptions(form).join(QLatin1Char('\n')).toStdString(), "") << when << ", " << twips.width();
            EXPECT_GT(LeftTwips(form->fraCommand[0]), LeftTwips(form->fraTransStatus) + WidthTwips(form->fraTransStatus));
        }
    };
    Press(form->cmdDown[1]);
    expectWhole("after a download");
    ExportThenImport(QStringLiteral("site.seq"));
    ASSERT_EQ(gInstrument().ImportFlag(), -1);
    expectWhole("after an import");
}

#include "test_frame.moc"
