#include "framework/MessageService.h"

#include "data/GamePaths.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QSortFilterProxyModel>

#include <functional>
#include <string>
#include <utility>

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
    if (buttons == MsgButtons::YesNo) {
        // Questions of our own: "いいえ" is the default, so that Return never goes ahead unasked.
        QMessageBox box(qtIcon(icon), caption, text, QMessageBox::Yes | QMessageBox::No, m_parent);
        box.setTextFormat(Qt::PlainText);
        box.button(QMessageBox::Yes)->setText(QString::fromUtf8("はい(&Y)"));
        box.button(QMessageBox::No)->setText(QString::fromUtf8("いいえ(&N)"));
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Ok : MsgAnswer::Cancel;
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

namespace {

// The entries of a filter in the program's form, "desc|pat|desc|pat||": what the dialog lists, as
// "desc (pat)", and the pattern. A description that already ends with its patterns in parentheses
// is listed as it is.
std::vector<std::pair<QString, QString>> FilterEntries(const QString& programFilter)
{
    const QStringList parts = programFilter.split(u'|');
    std::vector<std::pair<QString, QString>> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(u';', u' ');
        if (description.isEmpty() && patterns.isEmpty())
            break;
        if (description.endsWith(u')') && description.contains(u'(' + patterns.section(u' ', 0, 0)))
            entries.emplace_back(description, parts[i + 1]);
        else
            entries.emplace_back(description + QStringLiteral(" (") + patterns + u')', parts[i + 1]);
    }
    return entries;
}

// Shows the files whose names the selected filter's pattern matches, by the program's one matcher:
// whatever the letters' case, and "*.*" for every file, names without a dot included. Folders are
// always shown. The file system model underneath filters nothing.
class FileNameFilter : public QSortFilterProxyModel {
public:
    FileNameFilter(QFileDialog& dialog, const QString& programFilter)
        : QSortFilterProxyModel(&dialog), m_entries(FilterEntries(programFilter))
    {
        QObject::connect(&dialog, &QFileDialog::filterSelected, this, &FileNameFilter::use);
    }

    // The dialog applies its own filter to the model first; it is taken off again here.
    void use(const QString& shownFilter)
    {
        if (auto* files = qobject_cast<QFileSystemModel*>(sourceModel()))
            files->setNameFilters({});
        m_pattern.clear();
        for (const auto& [shown, pattern] : m_entries)
            if (shown == shownFilter)
                m_pattern = pattern.toStdString();
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        const QModelIndex index = sourceModel()->index(row, 0, parent);
        if (!files || m_pattern.empty() || files->isDir(index))
            return true;
        return MatchesFilterPattern(QFile::encodeName(files->fileName(index)).toStdString(), m_pattern);
    }

private:
    std::vector<std::pair<QString, QString>> m_entries;
    std::string m_pattern;
};

}  // namespace

QStringList MessageService::qtNameFilters(const QString& programFilter)
{
    QStringList filters;
    for (const auto& [shown, pattern] : FilterEntries(programFilter))
        filters << shown;
    return filters;
}

void MessageService::prepareFileDialog(QFileDialog& dialog, const FileDialogRequest& request)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(request.title);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Open dialogs too take a typed name of a file that does not exist: the command then fails to
    // open it and says so.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    auto* filter = new FileNameFilter(dialog, request.filter);
    dialog.setProxyModel(filter);
    dialog.setNameFilters(qtNameFilters(request.filter));
    filter->use(dialog.selectedNameFilter());
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
