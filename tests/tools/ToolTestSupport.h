#pragma once
// Shared by the tool-window tests: answering modal dialogs through their widgets, clicking list
// items, and small made-up tables.

#include "data/ReferenceTables.h"
#include "framework/DataExchange.h"

#include <QApplication>
#include <QListWidget>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace tooltest {

// Runs action on the next modal dialog of type T as soon as it shows. The action must end the
// dialog (OK or Cancel) or the modal run never returns.
template <class T>
void OnNextModal(std::function<void(T&)> action)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, action] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(*dialog);
        } else if (++*tries > 2000) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

// A click by the user on row `row` of a list.
inline void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = {})
{
    list->scrollToItem(list->item(row));
    QApplication::processEvents();  // lets the list lay out its items
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualItemRect(list->item(row)).center());
}

// Code page 932 bytes of a UTF-8 text.
inline std::string Cp932(const char* utf8)
{
    return ToCp932(QString::fromUtf8(utf8)).value();
}

// A weapon table whose weapon w is named "兵器<w>" and has attack values w + i, 力 数 填 射 = 1..4
// plus w, and separation unit (w % 3).
inline std::unique_ptr<WeaponTable> MakeWeapons()
{
    auto table = std::make_unique<WeaponTable>();
    for (int w = 1; w <= WeaponTable::kEntryCount; ++w) {
        std::uint8_t* entry = table->image().data() + kTableHeadSize + WeaponTable::kEntrySize * (w - 1);
        const std::string name = Cp932("兵器") + std::to_string(w);
        std::memcpy(entry, name.data(), name.size());
        for (int i = 0; i < 10; ++i)
            entry[18 + i] = static_cast<std::uint8_t>((w + i) & 0xff);
        for (int i = 0; i < 4; ++i)
            entry[28 + i] = static_cast<std::uint8_t>((w + 1 + i) & 0xff);
        entry[32] = static_cast<std::uint8_t>(w % 3);
    }
    return table;
}

}  // namespace tooltest
