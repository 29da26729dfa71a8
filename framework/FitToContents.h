#pragma once
// Widens the controls of a template-built window where the font needs more room than the template
// gives: a label, check box or button gets the width of its text, a list the width of its widest
// item, a value box the width of the widest value it shows. Controls further right move right by
// as much as the ones before them in their own row grew, so the template's columns and gaps are
// kept, and the window grows with them. Vertical positions stay as the template has them; a list is
// trimmed to whole rows. Can be run again after texts change.

#include <QString>

#include <functional>

class CDialog;

// The widest text a value box (edit) must show whole, by control id.
using WidestValueText = std::function<QString(int controlId)>;

void FitToContents(CDialog& dialog, const WidestValueText& widestValue);
