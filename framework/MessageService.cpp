#include "framework/MessageService.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <functional>

MessageService& MessageService::instance()
{
    static MessageService service;
    return service;
}

static QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Stop: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

MsgAnswer MessageService::show(const QString& text, MsgIcon icon, MsgButtons buttons)
{
    const QString caption = QApplication::applicationName();
    if (m_testMode) {
        m_shown.push_back({text, caption, icon, buttons});
        if (m_answers.empty())
            return MsgAnswer::Ok;
        const MsgAnswer answer = m_answers.front();
        m_answers.pop_front();
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : answer;
    }
    QMessageBox box(qtIcon(icon), caption, text,
                    buttons == MsgButtons::Ok ? QMessageBox::Ok : QMessageBox::Ok | QMessageBox::Cancel,
                    m_parent);
    box.setTextFormat(Qt::PlainText);  // paths and names are shown as they are, never as markup
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

MsgAnswer MessageService::message(std::string_view utf8Text, MsgIcon icon, MsgButtons buttons)
{
    return show(QString::fromUtf8(utf8Text.data(), qsizetype(utf8Text.size())), icon, buttons);
}

QStringList MessageService::qtNameFilters(const QString& programFilter)
{
    // "desc|pat|desc|pat||" -> {"desc (pat)", ...}; a description that already ends with its
    // patterns in parentheses is kept as it is.
    QStringList parts = programFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        if (description.isEmpty() && patterns.isEmpty())
            break;
        if (description.endsWith(u')') && description.contains(u'(' + patterns.section(u' ', 0, 0)))
            filters << description;
        else
            filters << description + QStringLiteral(" (") + patterns + u')';
    }
    return filters;
}

void MessageService::prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    dialog.setNameFilters(qtNameFilters(request.filter));
    // Game folders come from Windows: "*.dat" must show UNITINFO.DAT too.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    if (!request.initialName.isEmpty())
        dialog.selectFile(request.initialName);
}

std::optional<QString> MessageService::chooseFile(const FileDialogRequest& request,
                                                  const std::function<void(QFileDialog&)>& customize)
{
    if (m_testMode) {
        m_fileRequests.push_back(request);
        if (m_files.empty())
            return std::nullopt;
        const QString file = m_files.front();
        m_files.pop_front();
        if (file.isNull())
            return std::nullopt;
        return file;
    }
    QFileDialog dialog(m_parent);
    prepareFileDialog(dialog, request);
    if (customize)
        customize(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

std::optional<std::string> MessageService::chooseFile(const OpenFileRequest& request)
{
    FileDialogRequest qtRequest;
    qtRequest.save = request.save;
    qtRequest.title = QString::fromStdString(request.title);
    qtRequest.filter = QString::fromStdString(request.filter);
    qtRequest.initialFolder = QString::fromStdString(request.initialFolder);
    qtRequest.initialName = QString::fromStdString(request.initialName);
    qtRequest.confirmOverwrite = request.confirmOverwrite;
    const std::optional<QString> chosen = chooseFile(qtRequest);
    if (!chosen)
        return std::nullopt;
    return chosen->toStdString();
}

std::vector<MessageService::Shown> MessageService::takeShown()
{
    return std::exchange(m_shown, {});
}

std::vector<FileDialogRequest> MessageService::takeFileRequests()
{
    return std::exchange(m_fileRequests, {});
}

void MessageService::resetTestState()
{
    m_answers.clear();
    m_files.clear();
    m_shown.clear();
    m_fileRequests.clear();
}
