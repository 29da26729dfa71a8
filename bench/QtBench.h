#pragma once
// What the benchmarks of the Qt program share: Qt's own messages kept out of the timings, Qt's
// offscreen platform unless QT_QPA_PLATFORM names another, and Google Benchmark's main.

#include "app/EditorApp.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdio>
#include <functional>

// Qt's warnings and debug output would be timed with the code that raises them: they are dropped.
inline void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

// Before the application is made.
inline void PrepareQtBench()
{
    qInstallMessageHandler(QuietQtMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Runs the registered Google benchmarks in an application set up as Corvane's; `teardown` runs
// while the application still exists.
inline int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& teardown)
{
    PrepareQtBench();
    QApplication application(argc, argv);
    SetUpApplication(application);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    teardown();
    return 0;
}
