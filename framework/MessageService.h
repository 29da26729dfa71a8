#pragma once
// The one way the program talks to the user in modal boxes: message boxes with the application's
// name as caption, and the file dialogs. Tests replace the user: they queue the next answers and
// the next chosen files, and read back exactly what was shown.

#include "data/UserPrompts.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class QFileDialog;
class QWidget;

// A file dialog as the program asks for it. The filter is in the program's own form:
// "description|pattern|description|pattern||".
struct FileDialogRequest {
    bool save = false;
    QString title;
    QString filter;
    QString initialFolder;   // empty: the platform's choice
    QString initialName;
    bool confirmOverwrite = false;
};

class MessageService : public UserPrompts {
public:
    // The service the whole program uses; its parent window is the main dialog once it exists.
    static MessageService& instance();
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    MsgAnswer show(const QString& text, MsgIcon icon, MsgButtons buttons);
    MsgAnswer message(std::string_view utf8Text, MsgIcon icon, MsgButtons buttons) override;

    // The chosen file's native path, or nothing when the user cancelled. `customize` may add
    // widgets to the dialog before it is shown (it is a non-native Qt file dialog).
    std::optional<QString> chooseFile(const FileDialogRequest& request,
                                      const std::function<void(QFileDialog&)>& customize = {});
    std::optional<std::string> chooseFile(const OpenFileRequest& request) override;

    // Sets up a file dialog for a request: title, filters matching names whatever their case,
    // initial folder and name. Used by chooseFile and by dialogs that extend the file dialog.
    static void prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request);
    static QStringList qtNameFilters(const QString& programFilter);

    // ---- test seam ----
    struct Shown {
        QString text;
        QString caption;
        MsgIcon icon;
        MsgButtons buttons;
    };
    // From now on nothing modal is shown: answers and files come from the queues below; an empty
    // answer queue answers OK, an empty file queue cancels the dialog.
    void setTestMode(bool on) { m_testMode = on; }
    bool testMode() const { return m_testMode; }
    void queueAnswer(MsgAnswer answer) { m_answers.push_back(answer); }
    void queueFile(const std::optional<QString>& path) { m_files.push_back(path ? *path : QString()); }
    std::vector<Shown> takeShown();
    std::vector<FileDialogRequest> takeFileRequests();
    void resetTestState();

private:
    QWidget* m_parent = nullptr;
    bool m_testMode = false;
    std::deque<MsgAnswer> m_answers;
    std::deque<QString> m_files;  // a null text cancels the dialog
    std::vector<Shown> m_shown;
    std::vector<FileDialogRequest> m_fileRequests;
};

// Shorthand for the common case.
inline MsgAnswer ShowMessage(const QString& text, MsgIcon icon = MsgIcon::Stop, MsgButtons buttons = MsgButtons::Ok)
{
    return MessageService::instance().show(text, icon, buttons);
}
