// How long the main dialog takes to load the game's data with every list filled, to show a unit and
// to apply one, on the demo game folder. Runs on Qt's offscreen platform; settings go to a
// temporary folder, never to the user's own.

#include "app/EditorApp.h"
#include "app/SettingsStore.h"
#include "bench/QtBench.h"
#include "data/UnitRecord.h"
#include "demo/DemoGameFolder.h"
#include "editor/MainDialog.h"
#include "framework/MessageService.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The opened dialog every benchmark works on: a demo game folder, the settings pointing at it.
struct Setup {
    QTemporaryDir settings;
    QTemporaryDir game;
    std::unique_ptr<CMainDialog> dialog;

    Setup()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
        MessageService::instance().setTestMode(true);
        WriteGameFolder(game.path().toStdString(), MakeDemoGameFiles());
        WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"),
                         QDir::toNativeSeparators(game.path()) + QDir::separator());
        dialog = std::make_unique<CMainDialog>();
        dialog->Create();
        dialog->show();
        QCoreApplication::processEvents();
        if (!dialog->isDataLoaded())
            std::abort();
    }
};

Setup& setup()
{
    static Setup instance;
    return instance;
}

// LoadDataFiles as the opening sequence runs it: the four files read, the unit list and the five
// combos emptied and filled again, and the window laid out for the next paint.
void BM_LoadDataFiles(benchmark::State& state)
{
    CMainDialog& dialog = *setup().dialog;
    for (auto _ : state) {
        benchmark::DoNotOptimize(dialog.LoadDataFiles());
        QCoreApplication::processEvents();
    }
}

// ShowUnit of a different unit each time.
void BM_ShowUnit(benchmark::State& state)
{
    CMainDialog& dialog = *setup().dialog;
    int unit = 0;
    for (auto _ : state) {
        dialog.ShowUnit(unit);
        unit = (unit + 37) % kUnitCount;
    }
}

// ShowUnit followed by a full repaint of the main dialog, as the user sees it.
void BM_ShowUnitAndPaint(benchmark::State& state)
{
    CMainDialog& dialog = *setup().dialog;
    int unit = 0;
    for (auto _ : state) {
        dialog.ShowUnit(unit);
        dialog.repaint();
        unit = (unit + 37) % kUnitCount;
    }
}

// ApplyUnit of the unit on show: every box taken back, the record written, its list entry rebuilt
// and the unit shown again.
void BM_ApplyUnit(benchmark::State& state)
{
    CMainDialog& dialog = *setup().dialog;
    int unit = 1;
    for (auto _ : state) {
        state.PauseTiming();
        dialog.selectUnitInList(unit);
        dialog.ShowUnit(unit);
        unit = (unit + 37) % kUnitCount;
        state.ResumeTiming();
        dialog.ApplyUnit();
    }
}

}  // namespace

BENCHMARK(BM_LoadDataFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowUnit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowUnitAndPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplyUnit)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, [] { setup().dialog.reset(); });
}
