#pragma once
// Common set-up for the GUI tests: the program's identity, settings in a temporary folder, and the
// message service answering instead of the user.

#include <QString>

class QWidget;

namespace guitest {
// Call from initTestCase(): application identity and translations, settings redirected to a fresh
// temporary folder, message boxes and file dialogs in test mode.
void init();
// Forgets every stored setting and every queued answer.
void resetSettings();
// Renders a window (offscreen) to a PNG file; returns false when it could not be written.
bool renderToPng(QWidget* window, const QString& path);
}  // namespace guitest
