// The link against the simulator over a pseudo-terminal: a full settings read, a full write
// and a 1 MiB FLASH dump. Times are wall times (the simulator runs in the same process, so
// CPU time would count its work too); the counters give the wall time per exchange and its
// ratio to the wire limit at 921600 baud (ExchangeMeter.h).
#include "BenchMain.h"
#include "ExchangeMeter.h"
#include "core/Wait.h"
#include "core/modMain.h"
#include "link/uclQlif.h"
#include "model/clsInstrument.h"
#include "sim/SimInstrument.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
struct Rig {
    QTemporaryDir dir;
    SimInstrument sim;
    uclQlif link;
    Rig()
    {
        SetAppPath(dir.path());
        sim.fillDemoState();
        link.setTickInterval(10);
        link.setSerialComm(true);
        link.setCommDevice(sim.openPty());
        link.setSerialFileNo(1); // the log is part of the program's cost
        link.setPortOpen(true);
        WaitUntil([this] { return link.Connected(); }, 5000);
    }
};

Rig &TheRig()
{
    static Rig rig;
    return rig;
}

void BM_SettingsRead(benchmark::State &state)
{
    Rig &r = TheRig();
    ExchangeMeter meter(r.sim);
    meter.start();
    for (auto _ : state) {
        clsInstrument rec;
        if (!r.link.GetInstrument(rec))
            state.SkipWithError("read failed");
    }
    meter.report(state);
}
BENCHMARK(BM_SettingsRead)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same read with the serial log on and off. A fixed count of reads, so that the whole
// process can be timed from outside as well.
void BM_SettingsReadLog(benchmark::State &state)
{
    Rig &r = TheRig();
    r.link.setSerialFileNo(int16_t(state.range(0)));
    for (auto _ : state) {
        clsInstrument rec;
        if (!r.link.GetInstrument(rec))
            state.SkipWithError("read failed");
    }
    r.link.setSerialFileNo(1);
}
BENCHMARK(BM_SettingsReadLog)->ArgName("log")->Arg(1)->Arg(0)->Iterations(100)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SettingsWrite(benchmark::State &state)
{
    Rig &r = TheRig();
    clsInstrument rec;
    r.link.GetInstrument(rec);
    ExchangeMeter meter(r.sim);
    meter.start();
    for (auto _ : state) {
        rec.SetChangeFlags(true);
        if (!r.link.SetInstrument(rec))
            state.SkipWithError("write failed");
    }
    meter.report(state);
}
BENCHMARK(BM_SettingsWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// What one lost station write costs an upload of four stations: the lost request waits its
// time-out and is sent again; counters give the requests beyond the four writes and their
// resend, per upload: exchanges that settle the line and read-backs.
void BM_UploadAfterALostWrite(benchmark::State &state)
{
    Rig &r = TheRig();
    clsInstrument rec;
    r.link.GetInstrument(rec);
    r.link.setTimeout(1);
    qint64 settling = 0, readBacks = 0, n = 0;
    for (auto _ : state) {
        for (int i = 0; i < 4; ++i)
            rec.setXS_(i, QStringLiteral("LOST %1 %2").arg(n).arg(i));
        r.sim.clearRules();
        r.sim.addRule({SimFault::NoAnswer, "XS", 'W', 2, 1});
        r.sim.clearRequests();
        if (!r.link.SetInstrument(rec))
            state.SkipWithError("upload failed");
        for (const QByteArray &q : r.sim.requests()) {
            settling += q.startsWith("RC,R,") || q.startsWith("VP,R,") ? 1 : 0;
            readBacks += q.startsWith("XS,R,") ? 1 : 0;
        }
        ++n;
    }
    r.sim.clearRules();
    r.link.setTimeout(3);
    state.counters["settling"] = benchmark::Counter(double(settling), benchmark::Counter::kAvgIterations);
    state.counters["readbacks"] = benchmark::Counter(double(readBacks), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_UploadAfterALostWrite)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// What one damaged or lost answer costs six pump commands, the third hit: 0 a clean line, 1 a
// damaged frame before its answer (noise), 2 its answer itself damaged, 3 its request lost.
// Counters per run: sends of the pump command beyond the six, and connection checks.
void BM_PumpCommandsWithOneHit(benchmark::State &state)
{
    Rig &r = TheRig();
    const int hit = int(state.range(0));
    qint64 resends = 0, checks = 0;
    for (auto _ : state) {
        r.sim.clearRules();
        if (hit == 1)
            r.sim.addRule({SimFault::DamagedBefore, "BP", 'W', 3, 1});
        else if (hit == 2)
            r.sim.addRule({SimFault::CorruptChecksum, "BP", 0, 3, 1});
        else if (hit == 3)
            r.sim.addRule({SimFault::NoAnswer, "BP", 'W', 3, 1});
        r.sim.clearRequests();
        for (int i = 0; i < 6; ++i)
            if (!r.link.SetPump(i % 2 == 0))
                state.SkipWithError("pump command failed");
        for (const QByteArray &q : r.sim.requests()) {
            resends += q.startsWith("BP,W,") ? 1 : 0;
            checks += q.startsWith("RC,R,") || q.startsWith("VP,R,") ? 1 : 0;
        }
        resends -= 6;
    }
    r.sim.clearRules();
    state.counters["resends"] = benchmark::Counter(double(resends), benchmark::Counter::kAvgIterations);
    state.counters["checks"] = benchmark::Counter(double(checks), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PumpCommandsWithOneHit)->ArgName("hit")->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_FlashDump1MiB(benchmark::State &state)
{
    Rig &r = TheRig();
    const QString path = r.dir.filePath(QStringLiteral("VANTIK.DAT"));
    ExchangeMeter meter(r.sim);
    meter.start();
    for (auto _ : state)
        if (!r.link.GetBinDump(path, 0, 1023))
            state.SkipWithError("dump failed");
    meter.report(state); // one exchange per dump: the request and its 1024 blocks
    state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 1024);
}
BENCHMARK(BM_FlashDump1MiB)->Unit(benchmark::kMillisecond)->UseRealTime();
} // namespace

int main(int argc, char **argv) { return RunBenchmarks(argc, argv); }
