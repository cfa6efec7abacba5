#pragma once
#include "core/Messages.h"
#include "core/Wait.h"
#include "core/modMain.h"
#include "link/modAddLib.h"
#include "link/uclQlif.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "sim/SimInstrument.h"
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The real link over a real pseudo-terminal against the simulator, on one event loop.
// Ticks are 5 ms and the time-out one second (ten ticks), so every wait is short.
class LinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetCoreGlobals();
        ResetLinkGlobals();
        ASSERT_TRUE(dir.isValid());
        SetAppPath(dir.path());
        sim.fillDemoState();
        ptyPath = sim.openPty();
        ASSERT_FALSE(ptyPath.isEmpty());
        link.setTickInterval(5);
        link.setRetry(2);
        link.setTimeout(1);
        link.setSerialComm(true);
        link.setCommDevice(ptyPath);
        link.setSerialFileNo(1);
    }
    void TearDown() override
    {
        // The link never sends a request the instrument would refuse as malformed.
        for (const SimInstrument::Refusal &r : sim.malformedRequests())
            ADD_FAILURE() << "malformed request " << r.request.toStdString() << ": " << r.reason.toStdString();
        link.setPortOpen(false);
        link.setTimerEnabled(false);
        SetAppPath(QString());
    }

    bool waitFor(const std::function<bool()> &what, int ms = 5000)
    {
        return WaitUntil(what, ms) == WaitResult::Done;
    }
    bool connectLink()
    {
        link.setPortOpen(true);
        return waitFor([this] { return link.Connected(); });
    }
    QString logText()
    {
        QFile f(link.serialLog().path());
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    // Requests of one code seen by the instrument.
    QList<QByteArray> requestsOf(const QByteArray &prefix) const
    {
        QList<QByteArray> out;
        for (const QByteArray &r : sim.requests())
            if (r.startsWith(prefix))
                out.append(r);
        return out;
    }
    static SimFaultRule Rule(SimFault fault, const QByteArray &code, char mode = 0, int nth = 1, int times = 1)
    {
        return {fault, code, mode, nth, times};
    }
    // Answers of the code held back from the nth on (and, as the line keeps order, every answer
    // after them) until the test lets them go: late answers come by events, not by time.
    static SimFaultRule Hold(const QByteArray &code, int nth = 1, int times = 1)
    {
        SimFaultRule r{SimFault::Delay, code, 0, nth, times};
        r.delayMs = 600000;
        return r;
    }
    // The held answers go with the next request starting with prefix ("": any) once something
    // is held, before that request's own answer.
    void releaseAt(const QByteArray &prefix)
    {
        QObject::disconnect(release);
        release = QObject::connect(&sim, &SimInstrument::requestSeen, &link, [this, prefix](const QByteArray &body) {
            if (!body.startsWith(prefix) || sim.heldCount() == 0)
                return;
            QObject::disconnect(release);
            sim.sendHeldNow();
        });
    }
    // The line is clean again: what is held goes now, and the rules end.
    void flush()
    {
        QObject::disconnect(release);
        sim.clearRules();
        sim.sendHeldNow();
        link.setCancel(false);
    }

    QTemporaryDir dir;
    SimInstrument sim;
    uclQlif link;
    QString ptyPath;
    QMetaObject::Connection release;
};

// Readable QString and QByteArray values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
