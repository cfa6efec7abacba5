// The main window's download and upload as the user runs them (progress window, view
// refresh, A/D listing, history row) against the simulator over a pseudo-terminal, beside
// the link's bare read and write and the window's own work alone. The window's share is
// the difference between the first two; the third shows it directly.
#include "BenchMain.h"
#include "ExchangeMeter.h"
#include "core/Wait.h"
#include "core/modMain.h"
#include "link/modAddLib.h"
#include "link/uclQlif.h"
#include "mainwindow/frmMain.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "platform/MsgBox.h"
#include "platform/RichLog.h"
#include "settingsfiles/SettingsHistory.h"
#include "sim/SimInstrument.h"
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

class OneAdapter : public PortLister {
public:
    QString device;
    QList<UsbSerialPort> ports() const override
    {
        UsbSerialPort p;
        p.portName = QStringLiteral("ttyUSB0");
        p.systemLocation = device;
        p.hasIds = true;
        p.vendorId = 0x10C4;
        p.productId = 0xEA60;
        return {p};
    }
};

struct Rig {
    QTemporaryDir dir;
    SimInstrument sim;
    OneAdapter lister;
    frmMain *form = nullptr;
    Rig()
    {
        SetAppPath(dir.path());
        // Every question answered Yes, every notice taken.
        SetMsgBoxResponder([](const MsgBoxCall &c) { return c.buttons() == vb::YesNo ? int(vb::Yes) : int(vb::OK); });
        sim.fillDemoState();
        {
            // Settings the upload's own checks accept.
            clsInstrument::DeviceDoor door(sim.state());
            sim.state().setAlarmO2(1);
            sim.state().setAutoCalib(1, 0);
            sim.state().setAutoCalib(2, 25);
            sim.state().setAutoCalib(3, 100);
            sim.state().setAutoCalib(4, 50);
        }
        lister.device = sim.openPty();
        SetPortLister(&lister);
        frmMain::Register();
        form = frmMain::Default();
        form->uclQL7150->setTickInterval(10);
        form->show();
        WaitUntil([this] { return form->uclQL7150->Connected(); }, 5000);
        form->cmdDown_Click(1);
    }
    // Keeps each iteration alike: an empty log pane and no history to rewrite.
    void Fresh()
    {
        form->rtbLog->clear();
        QFile::remove(HistoryFilePath());
    }
};

Rig &TheRig()
{
    static Rig rig;
    return rig;
}

void BM_WindowDownloadWithHistoryRow(benchmark::State &state)
{
    Rig &r = TheRig();
    for (auto _ : state) {
        state.PauseTiming();
        r.Fresh();
        state.ResumeTiming();
        r.form->cmdDown_Click(5);
        if (gInstrument().CommFlags() != -1)
            state.SkipWithError("download failed");
    }
}
BENCHMARK(BM_WindowDownloadWithHistoryRow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LinkReadAlone(benchmark::State &state)
{
    Rig &r = TheRig();
    ExchangeMeter meter(r.sim);
    meter.start();
    for (auto _ : state) {
        clsInstrument rec;
        if (!r.form->uclQL7150->GetInstrument(rec))
            state.SkipWithError("read failed");
    }
    meter.report(state);
}
BENCHMARK(BM_LinkReadAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowUploadWithHistoryRow(benchmark::State &state)
{
    Rig &r = TheRig();
    for (auto _ : state) {
        state.PauseTiming();
        r.Fresh();
        state.ResumeTiming();
        r.form->cmdOption_Click(0);
        if (gInstrument().Change_Warn(0))
            state.SkipWithError("upload failed");
    }
}
BENCHMARK(BM_WindowUploadWithHistoryRow)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LinkWriteAlone(benchmark::State &state)
{
    Rig &r = TheRig();
    clsInstrument rec(gInstrument());
    ExchangeMeter meter(r.sim);
    meter.start();
    for (auto _ : state) {
        rec.SetChangeFlags(true);
        if (!r.form->uclQL7150->SetInstrument(rec))
            state.SkipWithError("write failed");
    }
    meter.report(state);
}
BENCHMARK(BM_LinkWriteAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the window adds to a download and an upload without any traffic: view refresh,
// A/D listing, result lines and the history row.
void BM_WindowShareAlone(benchmark::State &state)
{
    Rig &r = TheRig();
    for (auto _ : state) {
        state.PauseTiming();
        r.Fresh();
        state.ResumeTiming();
        r.form->RestoreGasEnable();
        r.form->ShowAnalogValues();
        r.form->AddInfo(QStringLiteral("done"), frmMain::kGreen);
        deviceUpdateLog(gInstrument(), false);
    }
}
BENCHMARK(BM_WindowShareAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv) { return RunBenchmarks(argc, argv); }
