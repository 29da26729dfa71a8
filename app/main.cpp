#include "app/EditorApp.h"
#include "app/FontConfigLoader.h"
#include "app/StartupHeap.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// On X11 and Wayland systems a missing display would end in a toolkit error; say it plainly.
static bool displayAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform)
        return true;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
#else
    return true;
#endif
}

int main(int argc, char* argv[])
{
    PrepareStartupHeap();
    if (!displayAvailable()) {
        std::fputs("Corvane needs a graphical display, and none was found (DISPLAY and WAYLAND_DISPLAY are not set).\n"
                   "Start it from a desktop session, or through a virtual display such as: xvfb-run scripts/run.sh\n",
                   stderr);
        return 1;
    }
    UseJapaneseLocale();
    FontConfigLoader fonts;  // at work while the application object is made
    QApplication application(argc, argv);
    fonts.wait();
    SetUpApplication(application);
    CEditorApp editor;
    editor.InitInstance();
    return 0;
}
