#pragma once
// Shared fixture of the main-window tests: a scratch program folder, the simulated
// instrument on a pseudo-terminal behind the real link (serial mode through a stub port
// lister), scripted message boxes, and frmMain created through its Load and shown.
// Helpers press commands, read the log pane, the serial log and the history file, and
// edit the gas grid and the text fields the way a user does.
//
// Options go in `options` before StartMain()/Start(). Everything is torn down in TearDown.
#include "support/GridEditor.h"
#include "support/TestFiles.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "core/modMain.h"
#include "link/modAddLib.h"
#include "link/uclQlif.h"
#include "mainwindow/GasGridRules.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmMain_commands_p.h"
#include "mainwindow/frmUpload.h"
#include "mainwindow/modMainWindow.h"
#include "model/ModelGlobals.h"
#include "platform/CommonDialog.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/RichLog.h"
#include "settingsfiles/SettingsHistory.h"
#include "sim/SimInstrument.h"
#include "model/modGasCommon.h"
#include "sim/samples/SampleRecord.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

// A record as a download leaves it: every channel filled through the device door, so
// no Change_ flag is set. Channels (grid row = channel + 2):
//   0 CH4 %LEL  0..100 step 1          5 SO2 ppm  0..100 step 5
//   1 OXY vol%  0..25  step 0.1        6 no gas (empty name)
//   2 CO  ppm   0..500 step 1          7 CH4 ppm  0..100000 step 10 (CATppm)
//   3 H2S ppm   0..100 step 0.1        8 CH4 vol% 0..5 step 0.01 (CATvol)
//   4 no gas ("---")                   9 OXY vol% 0..40 step 0.1 (inert)
inline void FillGasRecord(clsInstrument &rec, bool withIF = true)
{
    rec.ClearDatas();
    clsInstrument::DeviceDoor door(rec);
    rec.setInvalidIF(!withIF);
    constexpr float NotSet = ReadingCode::NotSet;
    FillChannels(rec, {
        {"CH4", "%LEL", 100, 1, 0, 0, 10, 50, NotSet, NotSet, 50},
        {"OXY", "vol%", 25, 0.1f, 1, 0, 19.5f, 18, NotSet, NotSet, 0},
        {"CO ", "ppm", 500, 1, 0, 0, 50, 100, 25, 20, 100},
        {"H2S", "ppm", 100, 0.1f, 1, 0, 10, 15, 25, 20, 25},
        {"---", "", 0, 1, 0, 0, NotSet, NotSet, 25, 20, NotSet},
        {"SO2", "ppm", 100, 5, 0, 0, 20, 40, 25, 20, 50},
        {"", "", 0, 1, 0, 0, NotSet, NotSet, 25, 20, NotSet},
        {"CH4", "ppm", 100000, 10, 0, 0, 5000, 25000, NotSet, NotSet, 0},
        {"CH4", "vol%", 5, 0.01f, 2, 0, 0.5f, 2.5f, NotSet, NotSet, 0},
        {"OXY", "vol%", 40, 0.1f, 1, 0, 1, 3, NotSet, NotSet, 0},
    });
    rec.setCATppm1st(5000);
    rec.setCATppm2nd(25000);
    rec.setCATvol1st(0.5f);
    rec.setCATvol2nd(2.5f);
    rec.setInert1st(1);
    rec.setInert2nd(3);
    rec.setIntervals(60);
    for (int i = 0; i < 128; ++i) {
        rec.setXS_(i, QStringLiteral("ST%1").arg(i, 3, 10, QLatin1Char('0')));
        if (i < 32)
            rec.setXZ_(i, QStringLiteral("USER%1").arg(i));
    }
    rec.setXV_(0, 3);
    rec.setXV_(1, 2);
    rec.setSerialNo(QStringLiteral("AB-1234"));
    rec.setRomNumber(123);
    rec.setSUM(QStringLiteral("5A3C"));
    rec.setAlarmO2(1);
    rec.setCommFlags(-1);
}

// Lists whatever ports a test wants; by default one adapter on the simulator's pty.
class StubPortLister : public PortLister {
public:
    QList<UsbSerialPort> list;
    QList<UsbSerialPort> ports() const override { return list; }
};

struct MainOptions {
    bool debugMode = false;
    int adapters = 1;          // adapters the port lister shows (the first is the simulator)
    bool waitConnected = true; // StartMain waits for OnConnect
    QString settingsFile;      // text of VANTIKConfig.ini written before Load ("" none)
};

class MainFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    MainOptions options;
    std::unique_ptr<SimInstrument> sim;
    StubPortLister lister;
    std::unique_ptr<ScriptedMsgBox> boxes;
    ScriptedCommonDialog dialogs;
    frmMain *form = nullptr;
    QString refusedText; // what a refused grid entry left in the editor

    static constexpr int kGreen = frmMain::kGreen;
    static constexpr int kRed = frmMain::kRed;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetForms();
        ResetCoreGlobals();
        ResetModelGlobals();
        ResetMainWindowGlobals();
        ResetLinkGlobals();
        SetAppPath(dir.path());
        boxes = std::make_unique<ScriptedMsgBox>();
        sim = std::make_unique<SimInstrument>();
        sim->fillDemoState();
    }

    void TearDown() override
    {
        // Closing asks "End ?": answer Yes so the window goes, then drop everything.
        if (frmMain *f = frmMain::Find()) {
            boxes->push(vb::Yes);
            f->uclQL7150->setCancel(true);
            ResetForms();
        }
        form = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The program never sends a request the instrument would refuse as malformed.
        for (const SimInstrument::Refusal &r : sim->malformedRequests())
            ADD_FAILURE() << "malformed request " << r.request.toStdString() << ": " << r.reason.toStdString();
        sim.reset();
        SetPortLister(nullptr);
        ResetLinkGlobals();
        boxes.reset();
        ResetForms();
        ResetMainWindowGlobals();
        ResetModelGlobals();
        ResetCoreGlobals();
        SetAppPath(QString());
    }

    // Files of the scratch program folder.
    QString file(const QString &name) const { return dir.filePath(name); }
    void writeFile(const QString &name, const QByteArray &bytes) { WriteTestFile(file(name), bytes); }
    QByteArray ReadFile(const QString &name) const { return ReadTestFile(QDir::isAbsolutePath(name) ? name : file(name)); }
    QString SerialLogText() const { return QString::fromLatin1(ReadFile(QStringLiteral("SerialLog.log"))); }

    // Creates, loads and shows frmMain against the simulator.
    // False when the link did not connect in time (with waitConnected).
    bool StartMain()
    {
        gDebugMode = options.debugMode;
        gPassword = QString::fromLatin1(kDefaultPassword);
        if (!options.settingsFile.isEmpty())
            writeFile(QString::fromLatin1(kSettingsFileName), options.settingsFile.toLatin1());
        const QString ptyPath = sim->openPty();
        if (ptyPath.isEmpty())
            return false;
        lister.list.clear();
        for (int i = 0; i < options.adapters; ++i)
            lister.list << UsbSerialPort{QStringLiteral("ttyUSB%1").arg(i),
                                         i == 0 ? ptyPath : QStringLiteral("/dev/null-%1").arg(i), true, 0x10C4, 0xEA60};
        SetPortLister(&lister);

        frmMain::Register();
        // Constructed first so the link's tick and socket name are set before Load opens the port.
        form = qobject_cast<frmMain *>(Form(QStringLiteral("frmMain")));
        if (!form)
            return false;
        form->uclQL7150->setTickInterval(5);
        form->uclQL7150->setIrdaServerName(QStringLiteral("vantik-test-") + QUuid::createUuid().toString(QUuid::Id128));
        frmMain::Default();
        form->show();
        return !options.waitConnected || WaitConnected();
    }
    bool WaitConnected(int ms = 30000)
    {
        if (QTest::qWaitFor([this] { return form && form->uclQL7150->Connected(); }, ms))
            return true;
        // Say what the line did, so a failure far from here can be read.
        const QStringList log = SerialLogText().split(QStringLiteral("\r\n"));
        ADD_FAILURE() << "not connected: link state " << (form ? form->uclQL7150->LinkState() : -1) << ", "
                      << sim->requestCount() << " requests seen by the instrument, serial log ends:\n"
                      << log.mid(qMax(0, int(log.size()) - 12)).join(QLatin1Char('\n')).toStdString();
        return false;
    }

    // --- Commands -------------------------------------------------------------------------

    // Starts (connected unless the options say otherwise) with quick busy polls, which keep
    // DEFAULT and the restore short.
    bool Start(bool debug = false)
    {
        options.debugMode = debug;
        if (!StartMain())
            return false;
        form->uclQL7150->setBusyPollLimit(20);
        sim->setBusyPolls(1);
        return true;
    }
    // Starts and downloads, then clears the log, the boxes and the simulator's requests.
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
    // Presses a button the way a user does; the command runs to its end inside.
    void Press(QPushButton *b)
    {
        ASSERT_NE(b, nullptr);
        ASSERT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void Download() { Press(form->cmdDown[1]); }
    // Presses a command that asks first, with the answer given.
    void Confirm(QPushButton *b, int answer = vb::Yes) { boxes->push(answer), Press(b); }
    void ExportThenImport(const QString &name)
    {
        dialogs.choose(file(name));
        Press(form->cmdExportSetting);
        dialogs.choose(file(name));
        Press(form->cmdImportSetting);
    }

    // Runs action once the link has sent the nth request starting with prefix, from inside
    // the blocking call.
    void WhenRequest(const QByteArray &prefix, std::function<void()> action, int nth = 1)
    {
        auto seen = std::make_shared<int>(0);
        auto conn = std::make_shared<QMetaObject::Connection>();
        *conn = QObject::connect(sim.get(), &SimInstrument::requestSeen, sim.get(), [=](const QByteArray &body) {
            if (!body.startsWith(prefix) || ++*seen != nth)
                return;
            QObject::disconnect(*conn);
            action();
        });
    }
    int Requests(const QByteArray &prefix) const
    {
        int n = 0;
        for (const QByteArray &r : sim->requests())
            n += r.startsWith(prefix) ? 1 : 0;
        return n;
    }

    // Lines of the log pane (CR LF split), without the empty tail.
    QStringList LogLines() const
    {
        QStringList lines = form->rtbLog->Text().split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }
    bool HasLine(const QString &text) const { return LogLines().contains(text); }
    // Colour of the log line that contains text (-1 when none).
    int LogColor(const QString &text) const
    {
        const int at = form->rtbLog->Text().indexOf(text);
        return at < 0 ? -1 : form->rtbLog->ColorAt(at);
    }
    // A message as the log shows it (its own line breaks dropped).
    static QString Line(int id) { return GetMsg(id).remove(QStringLiteral("\r\n")); }
    static QString Text(const char *text, const QStringList &args = {})
    {
        return ExpandMessage(QString::fromLatin1(text), args).remove(QStringLiteral("\r\n"));
    }

    // The first field of each data row of the history file.
    QStringList HistoryActions() const
    {
        QStringList rows = QString::fromLatin1(ReadFile(HistoryFilePath())).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        for (QString &r : rows)
            r = r.section(QLatin1Char(','), 0, 0);
        return rows.mid(1);
    }

    // --- Instrument view and editing -----------------------------------------------------

    clsInstrument &rec() { return gInstrument(); }
    FlexGrid *grid() const { return form->vfgOption; }

    // Starts the window and shows the test record (as a download would leave it).
    bool StartWith(bool withIF = true)
    {
        if (!StartMain())
            return false;
        SetBeepHook([] {});
        ResetBeepCount();
        FillGasRecord(rec(), withIF);
        form->ShowInstrument();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form);
    }
    QLineEdit *editor() const { return GridLineEditor(grid()); }
    // Clicks the cell and opens its editor with F2; false when no editor opened.
    bool OpenCell(int r, int c)
    {
        QTableView *view = grid()->view();
        const QModelIndex at = view->model()->index(r, c);
        view->scrollTo(at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(at).center());
        QTest::keyClick(view, Qt::Key_F2);
        return grid()->IsEditing() && grid()->EditRow() == r && grid()->EditCol() == c;
    }
    // Types text over the cell and presses Enter. True when the cell took it. A refused
    // entry leaves the editor open: its text goes to refusedText, then Escape drops it.
    bool Edit(int r, int c, const QString &text)
    {
        refusedText.clear();
        if (!OpenCell(r, c))
            return false;
        editor()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(editor(), Qt::Key_Backspace);
        else
            QTest::keyClicks(editor(), text);
        QTest::keyClick(editor(), Qt::Key_Return);
        if (!grid()->IsEditing())
            return true;
        refusedText = editor()->text();
        QTest::keyClick(editor(), Qt::Key_Escape);
        return false;
    }
    int Back(int r, int c) const { return grid()->Cell(FlexGrid::SetBackColor, r, c).toInt(); }

    // Focus into a text field, and out of it as clicking elsewhere would.
    void Enter(QWidget *field)
    {
        field->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
    }
    void Leave(QWidget *field) { Enter(field == form->txtOption[2] ? form->txtOption[1] : form->txtOption[2]); }
};
