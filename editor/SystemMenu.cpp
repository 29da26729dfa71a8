#include "editor/SystemMenu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

#include "res/Strings.h"

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

void AddAboutEntry(QWidget* window, const QString& text, int command, std::function<void()>)
{
    // The system menu takes the entry; its size and maximise items are greyed.
    if (HMENU systemMenu = GetSystemMenu(reinterpret_cast<HWND>(window->winId()), FALSE)) {
        if (!text.isEmpty()) {
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            AppendMenuW(systemMenu, MF_STRING, UINT_PTR(command), reinterpret_cast<LPCWSTR>(text.utf16()));
        }
        EnableMenuItem(systemMenu, 2, MF_BYPOSITION | MF_GRAYED);
        EnableMenuItem(systemMenu, 4, MF_BYPOSITION | MF_GRAYED);
    }
}

bool IsSystemMenuCommand(const void* message, int command)
{
    const MSG* msg = static_cast<const MSG*>(message);
    return msg->message == WM_SYSCOMMAND && (msg->wParam & 0xFFF0) == WPARAM(command);
}
#else
void AddAboutEntry(QWidget* window, const QString& text, int, std::function<void()> run)
{
    // Elsewhere a program cannot extend the window's system menu: a Help menu carries the entry.
    auto* menuBar = window->findChild<QMenuBar*>();
    if (!menuBar || text.isEmpty())
        return;
    QMenu* help = menuBar->addMenu(QString::fromUtf8(str::kHelpMenu));
    QAction* about = help->addAction(text);
    QObject::connect(about, &QAction::triggered, window, std::move(run));
}

bool IsSystemMenuCommand(const void*, int) { return false; }
#endif
