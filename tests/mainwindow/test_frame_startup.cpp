#include "MainFixture.h"
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class FrameStartup : public MainFixture {
protected:
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
};

TEST_F(FrameStartup, OneAdapterRunsTheSerialLinkOnItsPort)
{
    ASSERT_TRUE(StartMain());
    EXPECT_TRUE(form->uclQL7150->SerialComm());
    EXPECT_EQ(form->uclQL7150->CommDevice(), ptyPath);
    EXPECT_EQ(form->uclQL7150->Settings(), QStringLiteral("921600,n,8,1"));
    EXPECT_TRUE(form->uclQL7150->RTSEnable());
    EXPECT_TRUE(form->uclQL7150->DTREnable());
    EXPECT_EQ(form->uclQL7150->Handshaking(), 2);
    EXPECT_TRUE(form->uclQL7150->PortOpen());
    EXPECT_EQ(LogColor(GetMsg(5432)), 0xFF0000);
    EXPECT_TRUE(boxes->calls().isEmpty());
}

TEST_F(FrameStartup, NoAdapterFallsBackToTheInfraredSocketEvenWhenSettingsNamedAPort)
{
    options.adapters = 0;
    options.waitConnected = false;
    options.settingsFile = QStringLiteral("IrCOMM Num\t7\r\n");
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(gIrCommNum, 0);
    EXPECT_FALSE(form->uclQL7150->SerialComm());
    EXPECT_TRUE(form->uclQL7150->PortOpen());
    EXPECT_TRUE(boxes->calls().isEmpty());
}

TEST_F(FrameStartup, TwoAdaptersWarnOnceAndUseTheSocket)
{
    options.adapters = 2;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_EQ(boxes->calls()[0].prompt, QStringLiteral("IrDA Adapter has more than one is connected."));
    EXPECT_EQ(boxes->calls()[0].title, QStringLiteral("IrDA Adapter Error"));
    EXPECT_EQ(boxes->calls()[0].icon(), int(vb::Critical));
    EXPECT_EQ(gIrCommNum, 0);
    EXPECT_FALSE(form->uclQL7150->SerialComm());
    EXPECT_TRUE(form->uclQL7150->PortOpen());
}

TEST_F(FrameStartup, ServiceControlsHiddenWithoutDebugAndShownWithIt)
{
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    QList<QWidget *> service{form->cmdDown[2], form->cmdFRAMDump, form->cmdOption[3], form->frmOPT};
    for (QCheckBox *c : form->chkUx)
        service << c;
    for (QWidget *w : service)
        EXPECT_TRUE(w->isHidden()) << qPrintable(w->objectName());
    for (QWidget *w : QList<QWidget *>{form->cmdDown[1], form->cmdDown[4], form->cmdDown[5], form->cmdOption[0],
                                       form->cmdOption[4], form->chkSaveOnly, form->cmdExit})
        EXPECT_FALSE(w->isHidden()) << qPrintable(w->objectName());
}

TEST_F(FrameStartup, ServiceControlsVisibleInServiceMode)
{
    options.debugMode = true;
    options.waitConnected = false;
    ASSERT_TRUE(StartMain());
    for (QWidget *w : QList<QWidget *>{form->cmdDown[2], form->cmdFRAMDump, form->cmdOption[3], form->frmOPT,
                                       form->chkUx[0], form->chkUx[3]})
        EXPECT_TRUE(w->isVisible()) << qPrintable(w->objectName());
}

TEST_F(FrameStartup, LoadSetsLinkSuffixDumpPathAndSerialLog)
{
    options.settingsFile = QStringLiteral("Retry\t5\r\nTimeout\t4\r\nFactory Record Suffix\t_A1\r\n");
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(form->uclQL7150->Retry(), 5);
    EXPECT_EQ(form->uclQL7150->Timeout(), 4);
    EXPECT_EQ(form->txtSuffix->text(), QStringLiteral("_A1"));
    EXPECT_EQ(QDir::cleanPath(form->FlashDumpPath), QDir::cleanPath(file(QStringLiteral("VANTIK.DAT"))));
    EXPECT_GE(form->uclQL7150->SerialFileNo(), 1);
    EXPECT_NE(form->uclQL7150->SerialFileNo(), form->uclQL7150->DumpListFileNo());
    EXPECT_EQ(form->windowTitle(), GetMsg(5001) + QStringLiteral(" [P.No.05223]"));
}

TEST_F(FrameStartup, FirstActivationLogsOnceAndFocusesExit)
{
    ASSERT_TRUE(StartMain());
    EXPECT_FALSE(form->FirstActivate);
    const QString log = SerialLogText();
    EXPECT_EQ(log.count(QStringLiteral("Comm = True")), 1);
    EXPECT_EQ(log.count(QStringLiteral("Delay = 0")), 1);
    EXPECT_TRUE(log.contains(GetMsg(5541, QString()).left(20)));
    EXPECT_TRUE(form->cmdExit->isEnabled());
    // A later activation changes nothing.
    form->Form_Activate();
    EXPECT_EQ(SerialLogText().count(QStringLiteral("Comm = True")), 1);
}

TEST_F(FrameStartup, RotationMovesEveryGenerationUpAndKeepsGaps)
{
    options.waitConnected = false;
    options.settingsFile = QStringLiteral("Serial Log File\tON\r\n");
    PutLogs({0, 1, 2, 4});
    ASSERT_TRUE(StartMain());
    const auto logs = Logs();
    EXPECT_EQ(logs.value(1), QStringLiteral("gen 0"));
    EXPECT_EQ(logs.value(2), QStringLiteral("gen 1"));
    EXPECT_EQ(logs.value(3), QStringLiteral("gen 2"));
    EXPECT_EQ(logs.value(5), QStringLiteral("gen 4"));
    EXPECT_FALSE(logs.contains(4));
}

TEST_F(FrameStartup, RotationWithAllNineDiscardsTheOldest)
{
    options.waitConnected = false;
    options.settingsFile = QStringLiteral("Serial Log File\tON\r\n");
    PutLogs({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_TRUE(StartMain());
    const auto logs = Logs();
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(logs.value(n), QStringLiteral("gen %1").arg(n - 1)) << n;
    EXPECT_FALSE(logs.contains(10));
    // The link's own log of this run may exist again, but not the old content.
    EXPECT_NE(logs.value(0), QStringLiteral("gen 0"));
}

TEST_F(FrameStartup, RotationOffDeletesOnlyTheCurrentLog)
{
    options.waitConnected = false;
    PutLogs({0, 1, 3});
    ASSERT_TRUE(StartMain());
    const auto logs = Logs();
    EXPECT_NE(logs.value(0), QStringLiteral("gen 0"));
    EXPECT_EQ(logs.value(1), QStringLiteral("gen 1"));
    EXPECT_EQ(logs.value(3), QStringLiteral("gen 3"));
    EXPECT_FALSE(logs.contains(2));
}

// A log that cannot be removed (here a folder in its place) is reported once; start-up
// goes on instead of waiting for ever.
TEST_F(FrameStartup, UndeletableLogIsReportedAndStartUpContinues)
{
    options.waitConnected = false;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("SerialLog.log/keep")));
    ASSERT_TRUE(StartMain());
    EXPECT_TRUE(form->IsLoaded());
    const QStringList lines = LogLines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().contains(QStringLiteral("SerialLog.log")));
    EXPECT_EQ(LogColor(QStringLiteral("Serial log could not be deleted")), 0x0000FF);
}

// The oldest log cannot be discarded (a folder in its place): nothing is overwritten, the
// failure is reported, and the logs that can move still do.
TEST_F(FrameStartup, BlockedRotationLosesNoLog)
{
    options.waitConnected = false;
    options.settingsFile = QStringLiteral("Serial Log File\tON\r\n");
    PutLogs({0, 7, 8});
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("SerialLog9.log/keep")));
    ASSERT_TRUE(StartMain());
    EXPECT_EQ(LogColor(QStringLiteral("Serial log could not be deleted")), frmMain::kRed);
    EXPECT_GE(LogColor(QStringLiteral("Serial log could not be moved up")), 0);
    const auto logs = Logs();
    EXPECT_EQ(logs.value(8), QStringLiteral("gen 8"));
    EXPECT_EQ(logs.value(7), QStringLiteral("gen 7"));
    EXPECT_EQ(logs.value(1), QStringLiteral("gen 0"));
}

TEST_F(FrameStartup, FirstRunSizeAndCentring)
{
    options.waitConnected = false;
    options.show = false;
    options.settingsFile = QStringLiteral("Execute Count\t1\r\n");
    ASSERT_TRUE(StartMain());
    const QSize screen = form->screen()->geometry().size();
    const int wantW = std::max(TwipsToPixels(12300), TwipsToPixels(int(0.8 * PixelsToTwips(screen.width()))));
    const int wantH = std::max(TwipsToPixels(11025), TwipsToPixels(int(0.6 * PixelsToTwips(screen.height()))));
    EXPECT_NEAR(form->width(), wantW, 1);
    EXPECT_NEAR(form->height(), wantH, 1);
    EXPECT_NEAR(form->x(), (screen.width() - form->frameGeometry().width()) / 2, 1);
}

TEST_F(FrameStartup, UnloadStopsTheLinkAndWritesSettings)
{
    ASSERT_TRUE(StartMain());
    boxes->push(vb::Yes);
    uclQlif *link = form->uclQL7150;
    EXPECT_TRUE(Unload(form));
    EXPECT_FALSE(link->TimerEnabled());
    EXPECT_TRUE(QFile::exists(file(QString::fromLatin1(kSettingsFileName))));
    EXPECT_EQ(boxes->calls().last().prompt, GetMsg(5373));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmMain::Find(), nullptr);
}
