#pragma once
// Common set-up for the GUI tests: the program's identity, settings in a temporary folder, and the
// message service answering instead of the user.

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace guitest {
// The application's name, the caption of every message box: the executable's name on Windows.
QString appName();
// Call from initTestCase(): application identity and translations, settings redirected to a fresh
// temporary folder, message boxes and file dialogs in test mode.
void init();
// Forgets every stored setting and every queued answer.
void resetSettings();
// Renders a window (offscreen) to a PNG file; returns false when it could not be written.
bool renderToPng(QWidget* window, const QString& path);
// The names a file dialog lists in its folder now, sorted; empty until the folder has been read.
QStringList shownFileNames(const QFileDialog& dialog);
}  // namespace guitest
