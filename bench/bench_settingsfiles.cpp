// Settings files and the history CSV: store and load of a full file, and one history row
// appended to a history that already holds 10,000 or 50,000 rows.
#include "BenchMain.h"
#include "core/FileIO.h"
#include "core/modMain.h"
#include "model/clsInstrument.h"
#include "settingsfiles/SettingLines.h"
#include "settingsfiles/SettingsFile.h"
#include "settingsfiles/SettingsHistory.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

clsInstrument sampleRecord()
{
    clsInstrument r;
    r.ClearDatas();
    clsInstrument::DeviceDoor door(r);
    for (int i = 0; i < 128; ++i)
        r.setXS_(i, QStringLiteral("STATION %1").arg(i));
    for (int i = 0; i < 32; ++i)
        r.setXZ_(i, QStringLiteral("USER %1").arg(i));
    for (int ch = 0; ch < 7; ++ch) {
        r.setGasName(ch, QStringLiteral("G%1X").arg(ch));
        r.setGasPoint(ch, ch % 3);
        r.setGasFullScale(ch, 100.0f);
        r.setWarning(ch, 10.0f);
        r.setAlarm(ch, 20.0f);
    }
    r.setFL_(0, 100);
    return r;
}

void BM_StoreConfig(benchmark::State &state)
{
    QTemporaryDir dir;
    const clsInstrument r = sampleRecord();
    const bool scramble = state.range(0) != 0;
    const QString file = dir.filePath(QStringLiteral("b.seq"));
    for (auto _ : state) {
        const SettingsFileResult res = StoreConfig(r, file, scramble, Distribution::everything());
        if (!res.ok)
            state.SkipWithError(res.error.toStdString().c_str());
    }
}
BENCHMARK(BM_StoreConfig)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_LoadConfig(benchmark::State &state)
{
    QTemporaryDir dir;
    const bool scramble = state.range(0) != 0;
    const QString file = dir.filePath(QStringLiteral("b.seq"));
    StoreConfig(sampleRecord(), file, scramble, Distribution::everything());
    clsInstrument r;
    for (auto _ : state) {
        const SettingsFileResult res = LoadConfig(r, file, scramble);
        if (!res.ok)
            state.SkipWithError(res.error.toStdString().c_str());
    }
}
BENCHMARK(BM_LoadConfig)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Parsing one answer line as the link does (a copy of the record per line).
void BM_ParseLine(benchmark::State &state)
{
    clsInstrument r = sampleRecord();
    const QString line = SettingLines::lineText(r, SettingLines::Entry{QStringLiteral("A1")}).text;
    for (auto _ : state)
        benchmark::DoNotOptimize(SettingLines::parseLine(r, line).ok());
}
BENCHMARK(BM_ParseLine)->Unit(benchmark::kMicrosecond)->UseRealTime();

// One row appended to a history of state.range(0) rows. Run alone under /usr/bin/time -v,
// the 50,000-row case gives the peak memory of a row (the history is grown piece by piece,
// so the set-up adds nothing to it).
void BM_DeviceUpdateLog(benchmark::State &state)
{
    QTemporaryDir dir;
    SetAppPath(dir.path());
    const clsInstrument r = sampleRecord();
    deviceUpdateLog(r, false);
    {
        QByteArray first;
        if (!ReadFileWhole(HistoryFilePath(), 1 << 20, first)) {
            state.SkipWithError("no history to grow");
            return;
        }
        const QList<QByteArray> lines = first.split('\n');
        const QByteArray row = lines.value(1) + "\n";
        FileWriter w;
        if (!w.open(HistoryFilePath())) {
            state.SkipWithError("history not opened");
            return;
        }
        w.write(lines.value(0) + "\n");
        for (int64_t k = 0; k < state.range(0); ++k)
            w.write(row);
        if (!w.commit()) {
            state.SkipWithError("history not written");
            return;
        }
        state.counters["row_bytes"] = double(row.size() + 1);
        state.counters["file_MB"] = double(QFileInfo(HistoryFilePath()).size()) / (1 << 20);
    }
    for (auto _ : state) {
        const HistoryFile::Outcome o = deviceUpdateLog(r, true);
        if (!o.ok)
            state.SkipWithError(o.error.toStdString().c_str());
    }
    SetAppPath(QString());
}
BENCHMARK(BM_DeviceUpdateLog)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

int main(int argc, char **argv) { return RunBenchmarks(argc, argv); }
