#include "CalFixture.h"
#include "model/modGasCommon.h"
#include "platform/Twips.h"
#include <QGroupBox>

class CalWindow : public CalFixture {
protected:
    // Red pixels in the frame's caption strip (above the grid): what the technician sees there.
    int RedCaptionPixels() const
    {
        const QImage img = cal->fraCalibration->grab().toImage();
        int n = 0;
        for (int y = 0; y < std::min(img.height(), TwipsToPixels(360)); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QColor c = img.pixelColor(x, y);
                n += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        return n;
    }
};

TEST_F(CalWindow, WithoutDataSpansAreLockedAndSampleGasesShown)
{
    ASSERT_TRUE(StartMain());
    // Switched on, but never read from the instrument.
    for (int ch = 0; ch < 4; ++ch)
        gInstrument().setGasEnabled(ch, -1);
    ASSERT_TRUE(OpenCal());
    EXPECT_TRUE(gCalFormOpen);
    EXPECT_TRUE(QTest::qWaitFor([this] { return sim->pumpOn(); }, 2000));
    const clsInstrument &s = gSampleInstrument();
    for (int ch = 0; ch < 7; ++ch) {
        EXPECT_EQ(grid()->TextMatrix(ch + 1, 0), GasLabel(s.GasName(ch), s.GasUnit(ch), s.GasFullScale(ch), s.GasPoint(ch)));
        EXPECT_EQ(grid()->TextMatrix(ch + 1, 2), QStringLiteral("-----"));
        EXPECT_EQ(Checked(ch + 1), ch < 4 ? FlexGrid::Checked : FlexGrid::Unchecked) << ch;
    }
    EXPECT_FALSE(TypeSpan(1, QStringLiteral("5")));
    Toggle(6); // a grey check cell cannot be toggled either
    EXPECT_EQ(Checked(6), FlexGrid::Unchecked);
}

TEST_F(CalWindow, TicksSpanCellsAndReadingsUntilTheLineIsLost)
{
    ASSERT_TRUE(StartAndRead());
    ASSERT_TRUE(OpenCal());
    FlexGrid *g = grid();
    // Channel 6 is off: unticked, and a tick does not hold; on a channel that is on it does.
    for (int row : {7, 1}) {
        Toggle(row);
        EXPECT_EQ(Checked(row), FlexGrid::Unchecked) << row;
    }
    Toggle(1);
    EXPECT_EQ(Checked(1), FlexGrid::Checked);
    g->setRow(1);
    g->setCol(3);
    EXPECT_FALSE(g->EditCell()) << "readings are not edited";

    // H2S: full scale 30, warning 5, step 0.1. A refused value stays in the open editor.
    EXPECT_FALSE(TypeSpan(3, QStringLiteral("31")));
    EXPECT_TRUE(g->IsEditing() && g->EditText() == QStringLiteral("31.0"));
    g->CancelEdit();
    EXPECT_TRUE(TypeSpan(3, QStringLiteral("12.34")));
    EXPECT_EQ(g->TextMatrix(3, 2), QStringLiteral("12.3"));
    EXPECT_TRUE(TypeSpan(3, QString())); // clearing the cell unticks the channel
    EXPECT_EQ(Checked(3), FlexGrid::Unchecked);

    // The poll the window switched on reaches the grid through the main window.
    EXPECT_TRUE(QTest::qWaitFor([g] { return g->TextMatrix(2, 3).startsWith(QStringLiteral("2")); }, 3000));
    FreezeReadings({});
    {
        // The last channel fitted and on: its reading reaches the last row too.
        clsInstrument::DeviceDoor door(gInstrument());
        gInstrument().setGasEnabled(6, -1);
        gInstrument().setGasFullScale(6, 20);
    }
    form->uclQL7150_Densty(-101, 30, 2.5f, 600, 0, 7, 7);
    const auto readings = [g] {
        QStringList shown;
        for (int r = 1; r <= 7; ++r)
            shown << g->TextMatrix(r, 3);
        return shown.join(QLatin1Char('|'));
    };
    EXPECT_EQ(readings(), QStringLiteral("-----|OVER|2.5|OVER|0|-----|7")); // row 6: switched off

    // The line is lost: no readings, no runs until it is back.
    const QString header = g->TextMatrix(0, 3);
    form->uclQL7150->setRunDensty(true);
    sim->setPoweredOn(false); // the instrument goes quiet: the reading polls fail
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->uclQL7150->Connected(); }, 5000));
    // Every row's reading goes, the last one's too; the header stays.
    EXPECT_EQ(readings(), QStringLiteral("-----|-----|-----|-----|-----|-----|-----"));
    EXPECT_EQ(g->TextMatrix(0, 3), header);
    EXPECT_FALSE(cal->cmdCal[0]->isEnabled() || cal->cmdCal[1]->isEnabled());
    form->uclQL7150_Densty(1, 20.9f, 0, 0, 0, 0, 0); // a late reading changes nothing
    EXPECT_EQ(readings(), QStringLiteral("-----|-----|-----|-----|-----|-----|-----"));
    sim->setPoweredOn(true);
    ASSERT_TRUE(WaitConnected());
    EXPECT_TRUE(cal->cmdCal[0]->isEnabled() && cal->cmdCal[1]->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([g] { return g->TextMatrix(2, 3).startsWith(QStringLiteral("2")); }, 3000))
        << "readings shown again";
}

// The pump is not confirmed when its answer never comes, and also when its request never went
// out because another transfer held the line (the link then gives no reason of its own).
TEST_F(CalWindow, APumpThatDidNotConfirmIsSaidInRedAndTheWindowStillOpens)
{
    ASSERT_TRUE(StartAndRead());
    form->uclQL7150->setRetry(1);
    form->uclQL7150->setTimeout(1);
    struct Case {
        const char *what;
        SimFaultRule rule; // no code: none
        bool lineHeld;     // the window opens while the clock is being set
        QString why;       // empty: the pump confirmed
    };
    const QList<Case> cases = {
        {"clean line", {}, false, {}},
        {"another transfer holds the line", {}, true, QStringLiteral("Pump (BP): not sent")},
        {"pump unanswered", {SimFault::NoAnswer, "BP", 'W', 1, -1}, false,
         QStringLiteral("Pump (BP): no answer from the instrument (2 tries)")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        sim->clearRules();
        if (!c.rule.code.isEmpty())
            sim->addRule(c.rule);
        form->rtbLog->clear();
        const int pumpRequests = Requests("BP,W,1,");
        if (c.lineHeld) {
            const QMetaObject::Connection open =
                QObject::connect(sim.get(), &SimInstrument::requestSeen, form, [this](const QByteArray &body) {
                    if (!cal && body.startsWith("HC,W,"))
                        OpenCal();
                });
            EXPECT_TRUE(form->uclQL7150->SetDateTime(QDateTime::currentDateTime()));
            QObject::disconnect(open);
            ASSERT_TRUE(cal);
            EXPECT_EQ(Requests("BP,W,1,"), pumpRequests) << "never sent";
        } else {
            ASSERT_TRUE(OpenCal());
        }
        EXPECT_TRUE(cal->isVisible() && form->uclQL7150->RunDensty());
        const QString title = cal->fraCalibration->title();
        if (c.why.isEmpty()) {
            EXPECT_TRUE(sim->pumpOn());
            for (const QString &line : LogLines())
                EXPECT_NE(LogColor(line), frmMain::kRed) << line.toStdString();
            EXPECT_EQ(title, GetMsg(5216));
            EXPECT_EQ(RedCaptionPixels(), 0);
        } else {
            EXPECT_EQ(LogColor(QStringLiteral("The pump did not confirm that it is on: check it before a span calibration.")),
                      frmMain::kRed);
            EXPECT_EQ(LogColor(c.why), frmMain::kRed);
            EXPECT_EQ(title, GetMsg(5216) + QStringLiteral(" - pump not confirmed: ") + c.why);
            EXPECT_GT(RedCaptionPixels(), 0);
        }
        cal->cmdCal[2]->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        cal = nullptr;
    }
}

TEST_F(CalWindow, SpanRunsWithoutUsableValuesAreRefusedBeforeSending)
{
    ASSERT_TRUE(StartAndRead());
    gInstrument().setAutoCalib(2, -101);
    gInstrument().ClearChangeFlags();
    ASSERT_TRUE(OpenCal());
    // Every switched-on channel starts ticked; H2S has no span value ("-----"): the box names
    // it (which texts are no span is the request's own test).
    cal->cmdCal[1]->click();
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_TRUE(boxes->calls()[0].prompt.contains(QStringLiteral("H2S(30.0ppm)")));
    EXPECT_EQ(boxes->calls()[0].icon(), int(vb::Critical));
    // A refused value in an open editor (the last row's) stops both runs, Zero as well as Span.
    EXPECT_FALSE(TypeSpan(7, QStringLiteral("999999")));
    boxes->clear();
    for (int button : {0, 1})
        cal->cmdCal[button]->click();
    EXPECT_TRUE(grid()->IsEditing() && boxes->calls().isEmpty());
    EXPECT_EQ(Requests("SZ,"), 0);
    grid()->CancelEdit();
    for (int r = 1; r <= 5; ++r)
        Toggle(r);
    boxes->clear();
    cal->cmdCal[1]->click();
    EXPECT_EQ(boxes->prompts(), QStringList{GetMsg(5345)});
    EXPECT_EQ(Requests("S2,"), 0);
    EXPECT_EQ(gTransferMode, 0);
}

TEST_F(CalWindow, RunsSendTheirRequestsAndReportTheChannelsTheyConcern)
{
    ASSERT_TRUE(StartAndRead());
    sim->setCalibrationDigit(1, '0');
    sim->setCalibrationDigit(2, '2'); // the others follow the request: 1 for ticked, 2 for the rest
    sim->setCalibrationDigit(5, '1'); // off: no line whatever was asked
    ASSERT_TRUE(OpenCal());
    FreezeReadings({0.0f, 20.5f, 0.0f, 0.0f, 0.0f, -101.0f, -101.0f});
    cal->cmdCal[0]->click();
    EXPECT_TRUE(sim->requests().contains(QByteArray("SZ,W,1111111,")));
    EXPECT_EQ(cal->CalReport, QStringLiteral("CH4  Adjustment Complete.\r\nOXY(20.5) Failed\r\nH2S No Action\r\n"
                                             "CO   Adjustment Complete.\r\nNH3  Adjustment Complete.\r\n"));
    EXPECT_EQ(boxes->prompts(), QStringList{cal->CalReport});

    sim->setCalibrationDigit(1, '1');
    for (int r : {2, 4, 5})
        Toggle(r);
    ASSERT_TRUE(TypeSpan(3, QStringLiteral("25.0")));
    boxes->clear();
    cal->cmdCal[1]->click();
    // 50 %LEL of methane at 50000 ppm per 100 %LEL goes out as 25000 ppm.
    EXPECT_TRUE(sim->requests().contains(QByteArray("S2,W,1010000,61A8,0000,00FA,0000,0000,0000,0000,")));
    EXPECT_TRUE(gCalSelect[0] && !gCalSelect[1] && gCalSelect[2] && !gCalSelect[3]);
    EXPECT_TRUE(cal->CalResult);
    EXPECT_EQ(cal->CalReport, QStringLiteral("CH4  Adjustment Complete.\r\nH2S No Action\r\n")); // 1 was not ticked
    EXPECT_EQ(boxes->prompts(), QStringList{cal->CalReport});
    EXPECT_EQ(gTransferMode, 0);
    EXPECT_TRUE(form->uclQL7150->RunDensty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmUploadCalib::Find(), nullptr);
}

TEST_F(CalWindow, FailedRunsAreLoggedOnceWithoutAReport)
{
    ASSERT_TRUE(StartAndRead());
    form->uclQL7150->setRetry(1);
    form->uclQL7150->setTimeout(1);
    ASSERT_TRUE(OpenCal());
    sim->addRule({SimFault::NoAnswer, "SZ", 'C', 1, -1});
    sim->addRule({SimFault::Refuse, "S2", 'C', 1, -1});
    for (int r : {2, 3, 4, 5})
        Toggle(r); // CH4 alone: a span request the window sends
    for (int button : {0, 1}) {
        cal->cmdCal[button]->click();
        EXPECT_TRUE(!cal->CalResult && cal->CalReport.isEmpty() && boxes->calls().isEmpty()) << button;
        EXPECT_EQ(LogLines().filter(GetMsg(5413)).size(), button + 1);
        EXPECT_EQ(SerialLogText().count(QStringLiteral("---Calibration Upload Failed---")), button + 1);
        EXPECT_EQ(gTransferMode, 0);
    }
    EXPECT_EQ(Requests("S2,W,1000000,61A8,"), 1);
    EXPECT_EQ(LogColor(GetMsg(5413)), frmMain::kRed);
    // Under each failure, which run and why.
    EXPECT_EQ(LogColor(QStringLiteral("Zero calibration and ZERO readings (SZ): its status poll: no answer from the instrument (2 tries)")),
              frmMain::kRed) << LogLines().join('\n').toStdString();
    EXPECT_EQ(LogColor(QStringLiteral("Span calibration (S2): its status poll: refused by the instrument")),
              frmMain::kRed);
}

TEST_F(CalWindow, OneRunAtATimeAndNoCloseDuringIt)
{
    ASSERT_TRUE(StartAndRead());
    sim->setBusyPolls(3);
    ASSERT_TRUE(OpenCal());
    bool tried = false;
    bool runUnloaded = true, calUnloaded = true, runGone = true;
    QObject::connect(sim.get(), &SimInstrument::requestSeen, cal, [&](const QByteArray &body) {
        if (tried || !body.startsWith("SZ,C,"))
            return;
        tried = true;
        frmUploadCalib *run = frmUploadCalib::Find();
        if (!run)
            return;
        runUnloaded = Unload(run);
        run->reject();               // Escape
        calUnloaded = Unload(cal);   // the calibration window's close box
        cal->cmdCal_Click(0);        // a second run from a click served by the wait
        cal->cmdCal_Click(2);        // Exit
        run->tmrInter_Timer();       // a tick served by the wait
        runGone = frmUploadCalib::Find() == nullptr;
    });
    cal->cmdCal[0]->click();
    ASSERT_TRUE(tried);
    EXPECT_FALSE(runUnloaded || calUnloaded || runGone);
    EXPECT_EQ(Requests("SZ,W,"), 1);
    EXPECT_TRUE(cal->CalResult);
    // Once the run is over the window closes as usual.
    QTest::keyClick(cal, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmCalibration::Find(), nullptr);
    cal = nullptr;
}

TEST_F(CalWindow, MainWindowCommandOpensItAndStopsPollAndPumpAfterwards)
{
    ASSERT_TRUE(StartAndRead());
    bool shown = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        frmCalibration *w = frmCalibration::Find();
        if (!w || !w->isVisible() || shown)
            return;
        shown = true;
        EXPECT_TRUE(w->isModal() && form->uclQL7150->RunDensty() && sim->pumpOn());
        w->cmdCal[2]->click();
    });
    closer.start(20);
    form->cmdOption_Click(2);
    closer.stop();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(form->uclQL7150->RunDensty() || sim->pumpOn());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmCalibration::Find(), nullptr) << "Exit unloads the window";
}
