#pragma once
// CUnitFileDialog: the file dialog of the unit exchange files. Under the dialog's own controls a panel
// (template 139) shows the name of the unit in the file under the cursor, in the read-only box 1001:
// the unit's name for a usable exchange file, "兵器データファイルではありません" for any other file,
// nothing for a folder or a file that cannot be opened. Used to open (import) and to save (export).

#include "framework/MessageService.h"

#include <QFileDialog>

#include <optional>

class CDialog;
class QLineEdit;

class CUnitFileDialog : public QFileDialog {
    Q_OBJECT
public:
    // Title, filter, initial folder and name, and the question before replacing a file as in request.
    // An Open dialog accepts a typed name of a file that does not exist; the caller then fails to read it.
    explicit CUnitFileDialog(const FileDialogRequest& request, QWidget* parent = nullptr);
    ~CUnitFileDialog() override;

    // Runs the dialog modally: the chosen file's native path, or nothing when the user cancelled. While
    // the message service is in test mode nothing is shown and the service's next queued file is taken.
    std::optional<QString> DoModal();

    CDialog* panel() const { return m_panel; }
    QLineEdit* unitNameBox() const;

    // What the panel shows for a path.
    static QString PreviewText(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSelChange(const QString& currentPath);

    FileDialogRequest m_request;
    CDialog* m_panel = nullptr;
};
