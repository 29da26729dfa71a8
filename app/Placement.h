#pragma once
// Window positions in the settings store. A tool window or the weapon picker restores only its
// top-left corner (its size always comes from its template) and saves all four edges.

#include <QString>

class QWidget;

// On creation: move the window to the stored <prefix>Left / <prefix>Top, defaulting to where it is.
void RestorePlacement(QWidget* window, const QString& prefix);
// On destruction: write <prefix>Top, Bottom, Left, Right, in this order.
void SavePlacement(QWidget* window, const QString& prefix);
// The main dialog writes its edges in the order Left, Right, Top, Bottom and never reads them.
void SaveMainDialogPlacement(QWidget* window);
