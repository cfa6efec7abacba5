#pragma once
#include <QApplication>
#include <benchmark/benchmark.h>

// The benchmarks run inside an application object (offscreen), as the program's code expects
// timers, sockets and widgets to have one.
inline int RunBenchmarks(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
