// Start-up of Corvane against a bare Qt dialog of the same size: each run starts a fresh process and
// times it from the moment it is started to the end of the first paint of its main window. Corvane
// runs as its executable does (application set-up, then the start-up step with the main dialog on the
// demo game folder); the bare dialog is a plain QDialog with the main dialog's controls at their
// places, its menu and its 1280-entry list, built with nothing but Qt's own calls. The two alternate,
// many runs; the medians and their ratio are printed.
//
//   corvane_startup_bench [--runs N]
//
// The platform is whatever the children get: QT_QPA_PLATFORM=offscreen, or an X display (for
// instance under xvfb-run). Settings go to a temporary folder, never to the user's own.

#include "app/EditorApp.h"
#include "data/Cp932.h"
#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"
#include "editor/MainDialog.h"
#include "res/Resources.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

long long nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Ends the child right after the first paint of `isMainWindow`'s window has been put on the screen:
// the zero timer runs once the whole paint of that window, its children included, is done.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(bool (*isMainWindow)(QObject*)) : m_isMainWindow(isMainWindow) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen && m_isMainWindow(watched)) {
            m_seen = true;
            QTimer::singleShot(0, [] {
                std::printf("%lld\n", nowNs());
                std::fflush(stdout);
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    bool (*m_isMainWindow)(QObject*);
    bool m_seen = false;
};

void quietMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

int runCorvane(int argc, char** argv)
{
    QApplication application(argc, argv);
    SetUpApplication(application);
    FirstPaint filter([](QObject* o) { return qobject_cast<CMainDialog*>(o) != nullptr; });
    application.installEventFilter(&filter);
    CEditorApp editor;
    editor.InitInstance();
    return 1;  // the dialog closed before it was painted
}

QDialog* bareDialog = nullptr;

int runBare(int argc, char** argv, const char* gameFolder)
{
    QApplication application(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("IPAPGothic"), 9));
    FirstPaint filter([](QObject* o) { return o == bareDialog; });
    application.installEventFilter(&filter);

    // Dialog units at the pixel size the main dialog has with this font.
    constexpr int kBaseX = 6;
    constexpr int kBaseY = 12;
    const auto rect = [](int x, int y, int w, int h) { return QRect(x * kBaseX / 4, y * kBaseY / 8, w * kBaseX / 4, h * kBaseY / 8); };
    QDialog dialog;
    bareDialog = &dialog;
    dialog.setWindowTitle(QStringLiteral("Corvane"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* menuBar = new QMenuBar(&dialog);
    menuBar->setNativeMenuBar(false);
    for (const MenuPopupTemplate& popup : res::kMenu133.popups) {
        QMenu* menu = menuBar->addMenu(QString::fromUtf8(popup.text));
        for (const MenuItemTemplate& item : popup.items)
            item.text ? (void)menu->addAction(QString::fromUtf8(item.text)) : (void)menu->addSeparator();
    }
    layout->setMenuBar(menuBar);
    auto* client = new QWidget(&dialog);
    client->setFixedSize(rect(0, 0, res::kDialog102.width, res::kDialog102.height).size());
    layout->addWidget(client);

    std::ifstream in(fs::path(gameFolder) / "UNITINFO.DAT", std::ios::binary);
    std::vector<std::uint8_t> bytes(kUnitTableSize);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    UnitTable table;
    table.load(bytes);

    for (const ControlTemplate& c : res::kDialog102.controls) {
        const QString text = QString::fromUtf8(c.text ? c.text : "");
        QWidget* widget = nullptr;
        switch (c.kind) {
        case ControlKind::Static: widget = new QLabel(text, client); break;
        case ControlKind::Icon: widget = new QLabel(client); break;
        case ControlKind::GroupBox: widget = new QGroupBox(text, client); break;
        case ControlKind::Edit: widget = new QLineEdit(text, client); break;
        case ControlKind::ListBox: {
            auto* list = new QListWidget(client);
            list->setUniformItemSizes(true);
            if (c.id == 1000)
                for (int u = 0; u < kUnitCount; ++u)
                    list->addItem(QString::number(u).rightJustified(4, u'0') + u':'
                                  + QString::fromStdU16String(cp932::decode(table.record(u).nameText())));
            widget = list;
            break;
        }
        case ControlKind::ComboBox: {
            auto* combo = new QComboBox(client);
            const int items = c.id == 1003 ? 128 : c.id == 1272 ? 52 : 10;
            for (int i = 0; i < items; ++i)
                combo->addItem(QString::number(i));
            widget = combo;
            break;
        }
        case ControlKind::PushButton: widget = new QPushButton(text, client); break;
        case ControlKind::CheckBox: widget = new QCheckBox(text, client); break;
        case ControlKind::RadioButton: widget = new QRadioButton(text, client); break;
        case ControlKind::ListView: widget = new QTreeWidget(client); break;
        case ControlKind::Frame: {
            auto* frame = new QFrame(client);
            frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            widget = frame;
            break;
        }
        case ControlKind::Placeholder: widget = new QWidget(client); break;
        }
        widget->setGeometry(rect(c.x, c.y, c.width, c.kind == ControlKind::ComboBox ? 12 : c.height));
    }
    dialog.exec();
    return 1;
}

// One child run: the nanoseconds from its start to the end of its first paint.
double runChild(const char* self, const char* kind, const std::string& gameFolder)
{
    int out[2];
    if (::pipe(out) != 0)
        std::exit(1);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const char* args[] = {self, "--child", kind, gameFolder.c_str(), nullptr};
    const long long start = nowNs();
    pid_t pid = 0;
    if (posix_spawn(&pid, self, &actions, nullptr, const_cast<char* const*>(args), environ) != 0)
        std::exit(1);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    std::string text;
    char chunk[64];
    for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;)
        text.append(chunk, std::size_t(n));
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || text.empty()) {
        std::fprintf(stderr, "corvane_startup_bench: the %s child did not paint\n", kind);
        std::exit(1);
    }
    return double(std::atoll(text.c_str()) - start) / 1e6;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && !std::strcmp(argv[1], "--child")) {
        qInstallMessageHandler(quietMessages);
        int qtArgc = 1;
        return !std::strcmp(argv[2], "corvane") ? runCorvane(qtArgc, argv) : runBare(qtArgc, argv, argv[3]);
    }
    int runs = 40;
    if (argc == 3 && !std::strcmp(argv[1], "--runs"))
        runs = std::max(1, std::atoi(argv[2]));

    // A demo game folder and the settings that point at it, in a scratch folder the children take as
    // their home.
    char pattern[] = "/tmp/corvane-startup-XXXXXX";
    if (!::mkdtemp(pattern))
        return 1;
    const fs::path scratch = pattern;
    const fs::path game = scratch / "game";
    WriteGameFolder(game.string(), MakeDemoGameFiles());
    fs::create_directories(scratch / "config" / "Orlane");
    fs::create_directories(scratch / "runtime");
    fs::permissions(scratch / "runtime", fs::perms::owner_all);
    std::ofstream(scratch / "config" / "Orlane" / "Corvane.conf") << "[InitData]\nDS6InstallDir=" << game.string() << "/\n";
    ::setenv("HOME", scratch.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (scratch / "config").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (scratch / "runtime").c_str(), 1);

    const std::string gameFolder = game.string();
    std::vector<double> corvane, bare, ratios;
    runChild(argv[0], "bare", gameFolder);  // warm-up of the libraries and fonts in the page cache
    runChild(argv[0], "corvane", gameFolder);
    for (int run = 0; run < runs; ++run) {
        // Alternating which goes first keeps a drift of the machine from favouring either.
        double c = 0, b = 0;
        if (run % 2) {
            c = runChild(argv[0], "corvane", gameFolder);
            b = runChild(argv[0], "bare", gameFolder);
        } else {
            b = runChild(argv[0], "bare", gameFolder);
            c = runChild(argv[0], "corvane", gameFolder);
        }
        corvane.push_back(c);
        bare.push_back(b);
        ratios.push_back(c / b);
    }
    std::error_code ec;
    fs::remove_all(scratch, ec);

    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("Start-up, process start to the main window's first paint, %d interleaved runs (%s)\n", runs,
                platform && *platform ? platform : "default platform");
    std::printf("  bare Qt dialog   median %7.1f ms\n", median(bare));
    std::printf("  Corvane          median %7.1f ms\n", median(corvane));
    std::printf("  ratio of the medians %.2fx, median of the per-run ratios %.2fx\n", median(corvane) / median(bare),
                median(ratios));
    return 0;
}
