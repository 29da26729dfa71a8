#include "editor/AboutDlg.h"

#include "res/Resources.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(res::kDialog100, parent) {}
