// How long the table check takes: all 1280 units, every picture's headers read from disk. No Qt.
//
// BM_CheckDemoFolder: the demo game folder (units of a category share a picture).
// BM_CheckEveryUnitItsOwnPicture: every unit its own graphic number, so 1280 pictures are looked up
// and their headers read; only every other one has the s-variant, so the rest are looked for twice.

#include "data/TableCheck.h"
#include "demo/DemoGameFolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {

struct Folder {
    fs::path path;
    UnitTable units;

    explicit Folder(bool ownPictures)
    {
        std::random_device random;
        path = fs::temp_directory_path() / ("corvane-check-bench-" + std::to_string(random()));
        GameFolderFiles files = MakeDemoGameFiles();
        units.load(files.unitInfo);
        if (ownPictures) {
            const std::vector<std::uint8_t> picture = files.pictures.begin()->second;
            files.pictures.clear();
            for (int u = 0; u < kUnitCount; ++u) {
                const int graphic = 2000 + u;
                units.record(u).setGraphicNumber(std::uint16_t(graphic));
                char name[32];
                std::snprintf(name, sizeof name, u % 2 ? "Unit%03ds.bmp" : "Unit%03d.bmp", graphic);
                files.pictures[name] = picture;
            }
        }
        WriteGameFolder(path, files);
    }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string text() const { return path.string() + "/"; }
};

void RunCheck(benchmark::State& state, const Folder& folder)
{
    std::size_t rows = 0;
    for (auto _ : state) {
        // As the check window opens: the labels, a fresh look at the pictures, the check.
        const auto fields = MakeUnitFields(ReadProductionTypeNames(folder.text()));
        UnitPictureFiles pictures(folder.text());
        rows = CheckUnitTable(folder.units, fields, pictures).size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = double(rows);
}

void BM_CheckDemoFolder(benchmark::State& state)
{
    static const Folder folder(false);
    RunCheck(state, folder);
}
BENCHMARK(BM_CheckDemoFolder)->Unit(benchmark::kMillisecond);

void BM_CheckEveryUnitItsOwnPicture(benchmark::State& state)
{
    static const Folder folder(true);
    RunCheck(state, folder);
}
BENCHMARK(BM_CheckEveryUnitItsOwnPicture)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
