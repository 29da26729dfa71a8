#pragma once
// The About entry of the main window: in the window's system menu on Windows (the only Windows-only code
// of the dialogs, kept here), in a Help menu of the menu bar elsewhere.

#include <QString>

#include <functional>

class QWidget;

// Adds the entry "text" with command id `command`; `run` is called when it is chosen through the menu
// bar. On Windows the system menu's size and maximise items are greyed as well.
void AddAboutEntry(QWidget* window, const QString& text, int command, std::function<void()> run);

// Whether a native message of the window is the system menu's command `command` (Windows only).
bool IsSystemMenuCommand(const void* message, int command);
