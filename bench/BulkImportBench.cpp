// The bulk import of 10,000 exchange files through the real main dialog: the menu command runs with
// the message service's test seams choosing the command file, and the confirmation is answered with
// its OK button as soon as it shows. Once with the lines spelled as the files are named, once with
// every line in another letter case (a command file written on Windows). In the same run, and
// interleaved with them, the floor: a plain open, read and close of the same files, and one pass of
// the command's own reading (look-up and read of every line) to set against it.
//
//   corvane_bulk_bench [--files N] [--runs N]
//
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise; settings go to a temporary
// folder.

#include "app/EditorApp.h"
#include "bench/QtBench.h"
#include "app/SettingsStore.h"
#include "data/GamePaths.h"
#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"
#include "editor/MainDialog.h"
#include "editor/UnitFormIds.h"
#include "exchange/BulkImportDlg.h"
#include "exchange/core/CommandFile.h"
#include "exchange/core/UnitFile.h"
#include "framework/MessageService.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsOf(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void fail(const char* what)
{
    std::fprintf(stderr, "corvane_bulk_bench: %s\n", what);
    std::exit(1);
}

// The floor: each file opened, its 154 bytes read and closed, nothing else.
void plainReads(const std::vector<std::string>& paths)
{
    unsigned char bytes[kUnitFileSize];
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::read(fd, bytes, sizeof bytes) != ssize_t(sizeof bytes))
            fail("a file of the floor could not be read");
        ::close(fd);
    }
}

// One pass of the command's reading: every line looked up and read, as the list and the import do.
void commandPass(const std::string& folder, const std::vector<std::string>& lines)
{
    PathLookup lookup;
    UnitFileHeader head;
    UnitRecord record;
    for (const std::string& line : lines)
        if (!ReadCommandLineFile(lookup, folder, line, head, record) || !IsUsableUnitFile(head))
            fail("a line of the command could not be read");
}

// The whole command through the dialog's menu: file chosen, confirmation listed and accepted,
// every unit imported, the last one shown, the summary given.
void bulkImport(CMainDialog& dialog, const QString& commandFile, int expected)
{
    MessageService& messages = MessageService::instance();
    messages.queueFile(commandFile);
    QTimer answer;
    answer.setInterval(0);
    QObject::connect(&answer, &QTimer::timeout, [&answer] {
        if (auto* confirmation = qobject_cast<CBulkImportDlg*>(QApplication::activeModalWidget())) {
            answer.stop();
            confirmation->button(1)->click();
        }
    });
    answer.start();
    dialog.menuCommand(form::kCmdBulkImport)->trigger();
    const auto shown = messages.takeShown();
    if (shown.size() != 1 || shown[0].text != QStringLiteral("%1個の兵器を読み込みました").arg(expected))
        fail("the bulk import did not read every file");
    messages.takeFileRequests();
}


}  // namespace

int main(int argc, char** argv)
{
    int fileCount = 10000;
    int runs = 9;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--files"))
            fileCount = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--runs"))
            runs = std::atoi(argv[i + 1]);
    }
    if (fileCount <= 0 || runs <= 0)
        fail("usage: corvane_bulk_bench [--files N] [--runs N]");

    PrepareQtBench();
    QApplication application(argc, argv);
    SetUpApplication(application);
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    MessageService::instance().setTestMode(true);

    QTemporaryDir game;
    const GameFolderFiles demo = MakeDemoGameFiles();
    WriteGameFolder(game.path().toStdString(), demo);
    WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"), QDir::toNativeSeparators(game.path()) + QDir::separator());

    // The exchange files, each a unit of the demo table, and the two command files naming them.
    QTemporaryDir units;
    const std::string folder = units.path().toStdString() + "/";
    UnitTable table;
    table.load(demo.unitInfo);
    std::vector<std::string> paths;
    std::vector<std::string> sameCase;
    std::vector<std::string> otherCase;
    std::ofstream sameCmd(folder + "same.cmd", std::ios::binary);
    std::ofstream otherCmd(folder + "other.cmd", std::ios::binary);
    for (int i = 0; i < fileCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "UNIT%05d.SUI", i);
        const auto bytes = UnitFileBytes(i % kUnitCount, table.record(i % kUnitCount));
        std::ofstream(folder + name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        paths.push_back(folder + name);
        sameCase.push_back(name);
        std::string lower = name;
        for (char& c : lower)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        otherCase.push_back(lower);
        sameCmd << name << "\r\n";
        otherCmd << lower << "\r\n";
    }
    sameCmd.close();
    otherCmd.close();

    CMainDialog dialog;
    dialog.Create();
    dialog.show();
    QCoreApplication::processEvents();
    if (!dialog.isDataLoaded())
        fail("the demo game folder did not load");

    std::vector<double> floor, passSame, passOther, wholeSame, wholeOther;
    bulkImport(dialog, QString::fromStdString(folder + "same.cmd"), fileCount);  // warm-up
    for (int run = 0; run < runs; ++run) {
        floor.push_back(millisecondsOf([&] { plainReads(paths); }));
        passSame.push_back(millisecondsOf([&] { commandPass(folder, sameCase); }));
        passOther.push_back(millisecondsOf([&] { commandPass(folder, otherCase); }));
        wholeSame.push_back(millisecondsOf([&] { bulkImport(dialog, QString::fromStdString(folder + "same.cmd"), fileCount); }));
        wholeOther.push_back(millisecondsOf([&] { bulkImport(dialog, QString::fromStdString(folder + "other.cmd"), fileCount); }));
    }
    dialog.DestroyWindow();

    const double perFile = 1000.0 / fileCount;
    std::printf("Bulk import of %d exchange files, medians of %d interleaved runs (platform %s)\n", fileCount, runs,
                qPrintable(QGuiApplication::platformName()));
    std::printf("  floor: plain open/read/close, one pass          %8.1f ms  %6.2f us/file\n", median(floor),
                median(floor) * perFile);
    std::printf("  one pass of the command, names as the files     %8.1f ms  %6.2f us/file  %.2fx the floor\n",
                median(passSame), median(passSame) * perFile, median(passSame) / median(floor));
    std::printf("  one pass of the command, names in other case    %8.1f ms  %6.2f us/file  %.2fx the floor\n",
                median(passOther), median(passOther) * perFile, median(passOther) / median(floor));
    std::printf("  whole command through the dialog, same case     %8.1f ms  (two reads of every file)\n",
                median(wholeSame));
    std::printf("  whole command through the dialog, other case    %8.1f ms  (two reads of every file)\n",
                median(wholeOther));
    return 0;
}
