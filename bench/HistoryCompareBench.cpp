// How long one undo of a step that changed all 1280 units takes (records put back, list entries
// rebuilt and marked, the unit shown), and how long the compare window takes to compare with a
// table that differs in every unit and to build its list. Demo game folder, Qt's offscreen
// platform; settings go to a temporary folder, never to the user's own.

#include "app/EditorApp.h"
#include "app/SettingsStore.h"
#include "bench/QtBench.h"
#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"
#include "editor/CompareDlg.h"
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
#include <random>

namespace {

struct Setup {
    QTemporaryDir settings;
    QTemporaryDir game;
    std::unique_ptr<CMainDialog> dialog;
    UnitTable other;  // the demo table with every record's bytes scrambled

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
        other = dialog->unitTable();
        std::mt19937 random(7);
        for (int u = 0; u < kUnitCount; ++u)
            for (std::uint8_t& byte : other.record(u).bytes)
                byte = std::uint8_t(random());
    }
};

Setup& setup()
{
    static Setup instance;
    return instance;
}

// One step that changed all 1280 units, undone and redone in turn: each is one timed undo-sized step.
void BM_UndoAllUnitsStep(benchmark::State& state)
{
    CMainDialog& dialog = *setup().dialog;
    UnitTable& table = dialog.unitTable();
    UnitChanges changes;
    for (int u = 0; u < kUnitCount; ++u) {
        changes.push_back({u, table.record(u), setup().other.record(u)});
        table.record(u) = setup().other.record(u);
    }
    dialog.recordUnitChanges(std::move(changes), QStringLiteral("bench"));
    bool undo = true;
    for (auto _ : state) {
        if (undo)
            dialog.history().undo();
        else
            dialog.history().redo();
        undo = !undo;
        QCoreApplication::processEvents();
    }
}

// The compare window given a table that differs in every unit: all 1280 compared and listed with
// both names, and the fields of the selected unit.
void BM_CompareAllUnitsDiffer(benchmark::State& state)
{
    CMainDialog& dialog = *setup().dialog;
    dialog.history().stack().clear();
    auto first = std::make_unique<CCompareDlg>(dialog, dialog.weaponTable(), dialog.kindTable(), &dialog);
    for (auto _ : state) {
        state.PauseTiming();
        auto other = std::make_unique<UnitTable>(setup().other);
        state.ResumeTiming();
        first->CompareWith(QStringLiteral("bench"), QStringLiteral("bench"), std::move(other));
        if (first->differingUnits().size() != std::size_t(kUnitCount))
            std::abort();
        QCoreApplication::processEvents();
    }
    first->DestroyWindow();
}

}  // namespace

BENCHMARK(BM_UndoAllUnitsStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareAllUnitsDiffer)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return RunQtBenchmarks(argc, argv, [] { setup().dialog.reset(); });
}
