// The link against the simulator over a pseudo-terminal: a full settings read, a full write
// and a 1 MiB FLASH dump. Reports the program's own time per exchange and per byte; there is
// no baud rate on a pseudo-terminal, so this is the overhead on top of the wire time (about
// 11 us per byte at 921600 baud).
#include "BenchMain.h"
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
    quint64 frames = 0;
    for (auto _ : state) {
        clsInstrument rec;
        const quint64 before = r.link.framesSent();
        if (!r.link.GetInstrument(rec))
            state.SkipWithError("read failed");
        frames += r.link.framesSent() - before;
    }
    state.counters["exchanges"] = benchmark::Counter(double(frames) / 2, benchmark::Counter::kAvgIterations);
    state.counters["us_per_exchange"] =
        benchmark::Counter(double(frames) / 2, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SettingsRead)->Unit(benchmark::kMillisecond);

void BM_SettingsWrite(benchmark::State &state)
{
    Rig &r = TheRig();
    clsInstrument rec;
    r.link.GetInstrument(rec);
    quint64 frames = 0;
    for (auto _ : state) {
        rec.SetChangeFlags(true);
        const quint64 before = r.link.framesSent();
        if (!r.link.SetInstrument(rec))
            state.SkipWithError("write failed");
        frames += r.link.framesSent() - before;
    }
    state.counters["us_per_exchange"] =
        benchmark::Counter(double(frames) / 2, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_SettingsWrite)->Unit(benchmark::kMillisecond);

void BM_FlashDump1MiB(benchmark::State &state)
{
    Rig &r = TheRig();
    const QString path = r.dir.filePath(QStringLiteral("VANTIK.DAT"));
    for (auto _ : state)
        if (!r.link.GetBinDump(path, 0, 1023))
            state.SkipWithError("dump failed");
    state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 1024);
    state.counters["ns_per_byte"] =
        benchmark::Counter(double(1024 * 1024), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FlashDump1MiB)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv) { return RunBenchmarks(argc, argv); }
