#pragma once
// Shared fixture of the main-window tests: a scratch program folder, the simulated
// instrument on a pseudo-terminal behind the real link (serial mode through a stub port
// lister that shows one infrared adapter), scripted message boxes, and frmMain created
// through its Load and shown, waiting until the link is connected.
//
//   class MyTest : public MainFixture {};
//   TEST_F(MyTest, Something) { ASSERT_TRUE(StartMain()); form->cmdDown[1]->click(); ... }
//
// Options go in `options` before StartMain(). Everything is torn down in TearDown.
#include "core/Messages.h"
#include "core/Settings.h"
#include "core/modMain.h"
#include "link/modAddLib.h"
#include "link/uclQlif.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/frmUpload.h"
#include "mainwindow/modMainWindow.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/RichLog.h"
#include "platform/Twips.h"
#include "sim/SimInstrument.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>
#include <memory>

// Lists whatever ports a test wants; by default one adapter on the simulator's pty.
class StubPortLister : public PortLister {
public:
    QList<UsbSerialPort> list;
    QList<UsbSerialPort> ports() const override { return list; }
    static UsbSerialPort Adapter(const QString &name, const QString &device)
    {
        UsbSerialPort p;
        p.portName = name;
        p.systemLocation = device;
        p.hasIds = true;
        p.vendorId = 0x10C4;
        p.productId = 0xEA60;
        return p;
    }
};

struct MainOptions {
    bool debugMode = false;
    int adapters = 1;          // adapters the port lister shows (the first is the simulator)
    bool waitConnected = true; // StartMain waits for OnConnect
    bool show = true;          // show (and so activate) the window
    int tickMs = 5;            // the link's tick in the tests
    QString settingsFile;      // text of VANTIKConfig.ini written before Load ("" none)
};

class MainFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    MainOptions options;
    std::unique_ptr<SimInstrument> sim;
    StubPortLister lister;
    std::unique_ptr<ScriptedMsgBox> boxes;
    frmMain *form = nullptr;
    QString ptyPath;

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

    QString file(const QString &name) const { return dir.filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // Creates, loads and (by default) shows frmMain against the simulator.
    // False when the link did not connect in time (with waitConnected).
    bool StartMain()
    {
        gDebugMode = options.debugMode;
        gPassword = QString::fromLatin1(kDefaultPassword);
        if (!options.settingsFile.isEmpty())
            writeFile(QString::fromLatin1(kSettingsFileName), options.settingsFile.toLatin1());
        ptyPath = sim->openPty();
        if (ptyPath.isEmpty())
            return false;
        lister.list.clear();
        for (int i = 0; i < options.adapters; ++i)
            lister.list << StubPortLister::Adapter(QStringLiteral("ttyUSB%1").arg(i),
                                                   i == 0 ? ptyPath : QStringLiteral("/dev/null-%1").arg(i));
        SetPortLister(&lister);

        frmMain::Register();
        // Constructed first so the link's tick and socket name are set before Load opens the port.
        form = qobject_cast<frmMain *>(Form(QStringLiteral("frmMain")));
        if (!form)
            return false;
        form->uclQL7150->setTickInterval(options.tickMs);
        form->uclQL7150->setIrdaServerName(QStringLiteral("vantik-test-") + QUuid::createUuid().toString(QUuid::Id128));
        frmMain::Default();
        if (options.show)
            form->show();
        if (!options.waitConnected)
            return true;
        return WaitConnected();
    }

    bool WaitConnected(int ms = 5000)
    {
        return QTest::qWaitFor([this] { return form && form->uclQL7150->Connected(); }, ms);
    }

    // Lines of the log pane (CR LF split), without the empty tail.
    QStringList LogLines() const
    {
        QStringList lines = form->rtbLog->Text().split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    // Colour of the log line that contains text (-1 when none).
    int LogColor(const QString &text) const
    {
        const QString all = form->rtbLog->Text();
        const int at = all.indexOf(text);
        return at < 0 ? -1 : form->rtbLog->ColorAt(at);
    }

    // The serial log written so far.
    QString SerialLogText() const
    {
        QFile f(dir.filePath(QStringLiteral("SerialLog.log")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(f.readAll());
    }
};
