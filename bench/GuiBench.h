// The main of a benchmark that paints or drives windows: a Qt application (off-screen
// where there is no display) around Google Benchmark's own run.
#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

inline int RunGuiBenchmarks(int argc, char** argv, const std::function<void()>& beforeQuit = {}) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeQuit) beforeQuit();
    return 0;
}
