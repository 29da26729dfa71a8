#pragma once
// The About box (template 100): the icon, the version line and OK.

#include "framework/Dialog.h"

class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
