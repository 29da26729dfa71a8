#include "app/EditorApp.h"

#include "editor/MainDialog.h"
#include "framework/Dialog.h"
#include "framework/MessageService.h"

#include <QApplication>

bool CEditorApp::InitInstance()
{
    // The platform's own look stands in for the three-dimensional control look.
    CMainDialog dialog;
    MessageService::instance().setParentWindow(&dialog);
    dialog.DoModal();
    dialog.DestroyWindow();
    MessageService::instance().setParentWindow(nullptr);
    return false;
}
