#pragma once
// Shared by the main-dialog tests: a demo game folder in a temporary directory, the settings that
// point the dialog at it, and short ways to reach the form's controls.

#include "app/SettingsStore.h"
#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"
#include "editor/MainDialog.h"
#include "framework/DataExchange.h"
#include "tools/ToolWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>
#include <vector>

namespace fixture {

// A game folder holding the demo files (optionally changed first), and its folder text as the
// settings store keeps it: a native path ending in the separator.
struct GameFolder {
    QTemporaryDir dir;
    GameFolderFiles files;

    explicit GameFolder(GameFolderFiles demo = MakeDemoGameFiles()) : files(std::move(demo))
    {
        WriteGameFolder(dir.path().toStdString(), files);
    }
    QString folderText() const { return QDir::toNativeSeparators(dir.path()) + QDir::separator(); }
    QString file(const QString& name) const { return dir.filePath(name); }
    QByteArray read(const QString& name) const
    {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The unit table as written, for comparing with what the dialog holds.
    UnitTable demoTable() const
    {
        UnitTable table;
        table.load(files.unitInfo);
        return table;
    }
};

inline void pointSettingsAt(const GameFolder& folder)
{
    WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"), folder.folderText());
}

// The dialog opened on a folder: the opening sequence has run, the window is shown (offscreen) and
// active, and the tool windows that come up after its first paint have come up.
inline std::unique_ptr<CMainDialog> openDialog()
{
    auto dialog = std::make_unique<CMainDialog>();
    dialog->Create();
    dialog->show();
    dialog->activateWindow();
    (void)QTest::qWaitForWindowActive(dialog.get(), 1000);
    const auto toolWindowsUp = [&dialog] {
        const QList<CToolWindow*> windows = dialog->findChildren<CToolWindow*>();
        if (dialog->isDataLoaded() && windows.size() < 3)
            return false;
        for (const CToolWindow* window : windows)
            if (window->isCreated() && !window->isVisible())
                return false;
        return QApplication::activeWindow() == dialog.get();
    };
    (void)QTest::qWaitFor(toolWindowsUp, 1000);
    return dialog;
}

inline bool sameBytes(const UnitRecord& a, const UnitRecord& b) { return a.bytes == b.bytes; }

// Runs action on the next modal dialog of type T as soon as it shows; the action must end it.
template <class T>
void onNextModal(std::function<void(T&)> action)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, action] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if ((dialog && dialog->isVisible()) || ++*tries > 2000) {
            timer->stop();
            timer->deleteLater();
            if (dialog)
                action(*dialog);
        }
    });
    timer->start();
}

// Types text into an edit the way a user does: select everything, then one key per character
// (characters beyond ASCII arrive as key events carrying their text).
inline void typeText(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, width);
        i += width - 1;
        if (character.size() == 1 && character[0].unicode() < 0x80) {
            QTest::keyClicks(widget, character);
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, character);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, character);
        QApplication::sendEvent(widget, &release);
    }
}

inline void typeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    else
        typeText(edit, text);
}

// Picks combo position `index` the way a user does: drop the list, move to the item, press Enter.
inline void chooseInCombo(QComboBox* combo, int index)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(combo->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
}

// Clicks a list entry the way a user does.
inline void clickListRow(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace fixture
