#pragma once
#include <benchmark/benchmark.h>

#include <QApplication>

// The main function of a benchmark that paints or builds widgets: an application object on the
// offscreen platform, then the benchmarks.
#define RSGZ_WIDGET_BENCHMARK_MAIN()                       \
    int main(int argc, char** argv)                        \
    {                                                      \
        qputenv("QT_QPA_PLATFORM", "offscreen");           \
        QApplication app(argc, argv);                      \
        benchmark::Initialize(&argc, argv);                \
        benchmark::RunSpecifiedBenchmarks();               \
        benchmark::Shutdown();                             \
        return 0;                                          \
    }
