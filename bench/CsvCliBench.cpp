// How long the CSV exchange of the whole unit table takes, and how long corvane-cli takes from start to
// exit to show one unit of the demo game folder. No Qt.

#include "data/UnitFields.h"
#include "demo/DemoGameFolder.h"
#include "exchange/core/UnitCsv.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>

extern char** environ;

namespace {

struct Game {
    UnitTable units;
    WeaponTable weapons;
    KindTable kinds;
    std::vector<UnitField> fields = MakeUnitFields(DefaultProductionTypeNames());

    Game()
    {
        const GameFolderFiles files = MakeDemoGameFiles();
        units.load(files.unitInfo);
        std::copy(files.weapons.begin(), files.weapons.end(), weapons.image().begin());
        std::copy(files.kinds.begin(), files.kinds.end(), kinds.image().begin());
    }
};

const Game& Demo()
{
    static const Game game;
    return game;
}

void BM_CsvExport(benchmark::State& state)
{
    const Game& game = Demo();
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteUnitCsv(game.units, game.weapons, game.kinds, game.fields));
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond);

// Reading and checking every cell of the exported file, then putting the 1280 rows into the table.
void BM_CsvImport(benchmark::State& state)
{
    const Game& game = Demo();
    const std::string csv = WriteUnitCsv(game.units, game.weapons, game.kinds, game.fields);
    UnitTable table = game.units;
    for (auto _ : state) {
        const UnitCsvChanges changes = ReadUnitCsv(csv, table, game.fields);
        if (ApplyUnitCsv(changes, table) != kUnitCount)
            state.SkipWithError("import failed");
    }
}
BENCHMARK(BM_CsvImport)->Unit(benchmark::kMillisecond);

// corvane-cli show on the demo game folder, from the start of the process to its exit.
void BM_CliShow(benchmark::State& state)
{
    char pattern[] = "/tmp/corvane-bench-XXXXXX";
    const std::filesystem::path root = ::mkdtemp(pattern);
    WriteGameFolder(root / "Ds6", MakeDemoGameFiles());
    std::string program = CORVANE_CLI_PATH, command = "show", game = (root / "Ds6").string(), unit = "737";
    char* argv[] = {program.data(), command.data(), game.data(), unit.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    for (auto _ : state) {
        pid_t pid;
        int status = 0;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0
            || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("corvane-cli show failed");
    }
    posix_spawn_file_actions_destroy(&actions);
    std::filesystem::remove_all(root);
}
BENCHMARK(BM_CliShow)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
