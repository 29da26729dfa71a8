// Start-up as the user waits for it: Corvane's own executable, from the moment it is started to the
// end of its main window's first paint, against a separate bare Qt dialog of the same size
// (corvane_startup_baseline). Both are timed alike: a probe loaded with LD_PRELOAD
// (corvane_startup_probe) notes the end of the first paint of the window with the given title and
// ends the process. Runs come in interleaved pairs, the order inside a pair alternating; printed are
// both medians, the median of the pairwise ratios, the ratio of the first quartiles and the load
// average of the machine during the pairs.
//
//   corvane_startup_bench [--pairs N]
//
// The platform is QT_QPA_PLATFORM when set, else the X display in DISPLAY, else offscreen; for an X
// display: xvfb-run -a corvane_startup_bench. Corvane opens the demo game folder; its settings and
// runtime folder are in a scratch folder, never the user's own.

#include "demo/DemoGameFolder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

long long nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);  // the probe's clock
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The lower quartile, interpolated as Python's statistics.quantiles does by default.
double firstQuartile(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const double position = double(values.size() + 1) / 4;
    const std::size_t below = std::size_t(position);
    if (below < 1)
        return values.front();
    if (below >= values.size())
        return values.back();
    return values[below - 1] + (position - double(below)) * (values[below] - values[below - 1]);
}

struct Program {
    const char* path;
    const char* title;
};

class Runner {
public:
    Runner(const fs::path& scratch, const fs::path& game, const std::string& platform) : m_scratch(scratch)
    {
        m_settings = scratch / "config" / "Orlane" / "Corvane.conf";
        m_settingsText = "[InitData]\nDS6InstallDir=" + game.string() + "/\n";
        m_out = scratch / "probe.txt";
        // Both programs get the same environment: no inherited Qt settings, no session bus (so no
        // accessibility bridge), no preload but the probe.
        for (char** entry = environ; *entry; ++entry) {
            const std::string text = *entry;
            const std::string name = text.substr(0, text.find('='));
            if (name.rfind("QT_", 0) == 0 || name == "LD_PRELOAD" || name == "DBUS_SESSION_BUS_ADDRESS"
                || name == "WAYLAND_DISPLAY" || name == "HOME" || name.rfind("XDG_", 0) == 0
                || (name == "DISPLAY" && platform != "xcb"))
                continue;
            m_environment.push_back(text);
        }
        m_environment.push_back("HOME=" + scratch.string());
        m_environment.push_back("XDG_CONFIG_HOME=" + (scratch / "config").string());
        m_environment.push_back("XDG_RUNTIME_DIR=" + (scratch / "runtime").string());
        m_environment.push_back("QT_QPA_PLATFORM=" + platform);
        m_environment.push_back("LD_PRELOAD=" CORVANE_STARTUP_PROBE);
        m_environment.push_back("PROBE_OUT=" + m_out.string());
    }

    // Milliseconds from the start of `program` to the end of its main window's first paint.
    double run(const Program& program)
    {
        std::ofstream(m_settings) << m_settingsText;  // as it was, whatever the last run left
        std::error_code ignored;
        fs::remove(m_out, ignored);
        std::vector<std::string> environment = m_environment;
        environment.push_back(std::string("PROBE_TITLE=") + program.title);
        std::vector<char*> envp;
        for (std::string& entry : environment)
            envp.push_back(entry.data());
        envp.push_back(nullptr);
        char* argv[] = {const_cast<char*>(program.path), nullptr};

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const long long start = nowNs();
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, program.path, &actions, nullptr, argv, envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            fail(program, "could not be started");
        int status = 0;
        ::waitpid(pid, &status, 0);

        long long painted = 0;
        int width = 0;
        int height = 0;
        std::ifstream(m_out) >> painted >> width >> height;
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || painted == 0)
            fail(program, "ended without painting its main window");
        if (width < 400 || height < 250)
            fail(program, "painted a small window first (a message box?)");
        return double(painted - start) / 1e6;
    }

private:
    [[noreturn]] static void fail(const Program& program, const char* what)
    {
        std::fprintf(stderr, "corvane_startup_bench: %s %s\n", program.path, what);
        std::exit(1);
    }

    fs::path m_scratch;
    fs::path m_settings;
    std::string m_settingsText;
    fs::path m_out;
    std::vector<std::string> m_environment;
};

double loadAverage()
{
    double load = 0;
    return ::getloadavg(&load, 1) == 1 ? load : -1;
}

}  // namespace

int main(int argc, char** argv)
{
    int pairs = 40;
    if (argc == 3 && !std::strcmp(argv[1], "--pairs"))
        pairs = std::max(1, std::atoi(argv[2]));
    else if (argc != 1) {
        std::fprintf(stderr, "usage: corvane_startup_bench [--pairs N]\n");
        return 2;
    }
    std::string platform = "offscreen";
    if (const char* chosen = std::getenv("QT_QPA_PLATFORM"); chosen && *chosen)
        platform = chosen;
    else if (const char* display = std::getenv("DISPLAY"); display && *display)
        platform = "xcb";

    char pattern[] = "/tmp/corvane-startup-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    const fs::path scratch = pattern;
    const fs::path game = scratch / "game";
    WriteGameFolder(game, MakeDemoGameFiles());
    fs::create_directories(scratch / "config" / "Orlane");
    fs::create_directories(scratch / "runtime");
    fs::permissions(scratch / "runtime", fs::perms::owner_all);

    Runner runner(scratch, game, platform);
    const Program corvane{CORVANE_STARTUP_CORVANE, "Corvane"};
    const Program bare{CORVANE_STARTUP_BASELINE, "Baseline"};
    for (int warmUp = 0; warmUp < 2; ++warmUp) {  // libraries, fonts and files into the page cache
        runner.run(corvane);
        runner.run(bare);
    }
    std::vector<double> corvaneMs, bareMs, ratios, loads;
    for (int pair = 0; pair < pairs; ++pair) {
        loads.push_back(loadAverage());
        double c = 0;
        double b = 0;
        if (pair % 2 == 0) {
            c = runner.run(corvane);
            b = runner.run(bare);
        } else {
            b = runner.run(bare);
            c = runner.run(corvane);
        }
        corvaneMs.push_back(c);
        bareMs.push_back(b);
        ratios.push_back(c / b);
    }
    std::error_code ignored;
    fs::remove_all(scratch, ignored);

    std::printf("Start-up to the main window's first paint, %d interleaved pairs (%s)\n", pairs, platform.c_str());
    std::printf("  bare Qt dialog   median %6.1f ms   first quartile %6.1f ms\n", median(bareMs), firstQuartile(bareMs));
    std::printf("  Corvane          median %6.1f ms   first quartile %6.1f ms\n", median(corvaneMs),
                firstQuartile(corvaneMs));
    std::printf("  ratio: median of the pairs %.2fx, first quartiles %.2fx\n", median(ratios),
                firstQuartile(corvaneMs) / firstQuartile(bareMs));
    std::printf("  load average (1 min) during the pairs: %.2f to %.2f, median %.2f\n",
                *std::min_element(loads.begin(), loads.end()), *std::max_element(loads.begin(), loads.end()),
                median(loads));
    return 0;
}
