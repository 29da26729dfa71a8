// The dialog layer: templates turned into widgets, routing, field exchange and the message service.

#include "support/GuiTest.h"

#include "app/EditorApp.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/MessageService.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace {

const DialogTemplate kTestTemplate{
    900, "テスト", 200, 100, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
    {
        {10, ControlKind::Edit, 5, 5, 40, 12, "", Style::Right | Style::TabStop},
        {11, ControlKind::Edit, 5, 20, 40, 12, "", Style::Right | Style::TabStop},
        {12, ControlKind::Edit, 5, 35, 40, 12, "", Style::Right | Style::TabStop},
        {13, ControlKind::Edit, 5, 50, 80, 12, "", Style::TabStop},
        {14, ControlKind::CheckBox, 5, 65, 60, 10, "占領", Style::TabStop},
        {20, ControlKind::ListBox, 100, 5, 90, 60, "", Style::Notify | Style::VScroll | Style::TabStop},
        {21, ControlKind::ComboBox, 100, 70, 90, 80, "", Style::TabStop},
        {-1, ControlKind::Static, 50, 5, 40, 10, "防御力", Style::None},
        {1, ControlKind::PushButton, 100, 85, 40, 14, "OK", Style::Default | Style::TabStop},
        {2, ControlKind::PushButton, 145, 85, 40, 14, "ｷｬﾝｾﾙ", Style::TabStop},
    },
};

class TestDialog : public CDialog {
public:
    TestDialog() : CDialog(kTestTemplate)
    {
        setRoutes({
            {Notify::SelChange, 20, 20, [this](int) { ++listChanges; selectedWhenNotified = lb::curSel(list(20)); }, true},
            {Notify::SelChange, 21, 21, [this](int) { ++comboChanges; }, false},
            {Notify::KillFocus, 20, 20, [this](int) { ++listFocusLost; }, false},
        });
    }
    bool isDataLoaded() const override { return loaded; }

    bool loaded = true;
    int listChanges = 0, comboChanges = 0, listFocusLost = 0;
    int selectedWhenNotified = -1;
    int first = 1, second = 2;
    std::uint8_t third = 3;
    cp932::StoredText name;
    int ticked = 0;

protected:
    void DoDataExchange(DataExchange& dx) override
    {
        dx.intField(10, first);
        dx.intField(11, second);
        dx.byteField(12, third);
        dx.textField(13, name, 24);
        dx.checkField(14, ticked);
    }
};

}  // namespace

class DialogFrameworkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }
    void init() { MessageService::instance().resetTestState(); }

    // A menu bar's extension button has no icon until it first shows, then the platform style's.
    void menuBarExtensionTakesItsIconWhenItFirstShows()
    {
        QWidget window;
        auto* bar = new QMenuBar(&window);
        for (int i = 0; i < 3; ++i)
            bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F) %1").arg(i));
        auto* extension = bar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button"));
        QVERIFY(extension && extension->icon().isNull());
        window.resize(400, 100);
        bar->setGeometry(0, 0, 400, bar->sizeHint().height());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!extension->isVisible() && extension->icon().isNull());
        bar->setGeometry(0, 0, 60, bar->sizeHint().height());
        QTRY_VERIFY(extension->isVisible());
        auto* style = qobject_cast<QProxyStyle*>(QApplication::style());
        QVERIFY(style);
        const QIcon platformIcon = style->baseStyle()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, nullptr, bar);
        QVERIFY(!platformIcon.isNull());
        QCOMPARE(extension->icon().pixmap(16).toImage(), platformIcon.pixmap(16).toImage());
        // Asked by anyone else, the style answers at once.
        QVERIFY(!QApplication::style()->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).isNull());
    }

    void controlsAreFoundByIdFromOutside()
    {
        TestDialog dialog;
        dialog.Create();
        QWidget* edit = dialog.findChild<QWidget*>(QStringLiteral("10"));
        QVERIFY(edit);
        QCOMPARE(edit, dialog.edit(10));
        QCOMPARE(edit->accessibleDescription(), QStringLiteral("id=10"));
        QCOMPARE(dialog.button(14)->text(), QStringLiteral("占領"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("テスト"));
    }

    void dialogUnitsKeepTheTemplateProportions()
    {
        TestDialog dialog;
        const QRect unit = dialog.dialogRect(0, 0, 4, 8);
        QVERIFY(unit.width() >= 5 && unit.width() <= 9);   // base units of a 9-point Japanese font
        QVERIFY(unit.height() >= 11 && unit.height() <= 17);
        QCOMPARE(dialog.edit(11)->geometry().top(), dialog.dialogRect(5, 20, 40, 12).top());
        QCOMPARE(dialog.clientArea()->size(), dialog.dialogRect(0, 0, 200, 100).size());
    }

    void programChangesNeverRaiseSelectionNotifications()
    {
        TestDialog dialog;
        dialog.Create();
        dialog.show();
        for (int i = 0; i < 5; ++i) {
            lb::insert(dialog.list(20), i, QStringLiteral("item %1").arg(i), 100 + i);
            cb::insert(dialog.combo(21), i, QStringLiteral("choice %1").arg(i), 200 + i);
        }
        lb::setCurSel(dialog.list(20), 3);
        cb::setCurSel(dialog.combo(21), 2);
        lb::remove(dialog.list(20), 3);
        QCOMPARE(dialog.listChanges, 0);
        QCOMPARE(dialog.comboChanges, 0);
        QCOMPARE(cb::selectedData(dialog.combo(21)), 202);
        QCOMPARE(cb::curSel(dialog.combo(21)), 2);

        // A click by the user does notify.
        QListWidget* list = dialog.list(20);
        const QRect itemRect = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, itemRect.center());
        QCOMPARE(dialog.listChanges, 1);
        QCOMPARE(dialog.selectedWhenNotified, 1);  // the handler already sees the new selection
        QCOMPARE(lb::itemData(list, lb::curSel(list)), 101);
    }

    // The selected entry stands out in the highlight colour, also while another control has the focus.
    void selectedEntryIsDrawnInTheHighlightColour()
    {
        TestDialog dialog;
        dialog.Create();
        dialog.show();
        QListWidget* list = dialog.list(20);
        for (int i = 0; i < 3; ++i)
            lb::insert(list, i, QStringLiteral("0%1:ﾃｽﾄ").arg(i), i);
        lb::setCurSel(list, 1);
        dialog.edit(11)->setFocus();
        QApplication::processEvents();
        const QImage image = list->viewport()->grab().toImage();
        const QRect entry = list->visualItemRect(list->item(1));
        const QColor seen = image.pixelColor(entry.right() - 2, entry.center().y());
        const QPalette& colours = list->palette();
        QVERIFY2(seen == colours.color(QPalette::Inactive, QPalette::Highlight)
                     || seen == colours.color(QPalette::Active, QPalette::Highlight),
                 qPrintable(seen.name()));
        QVERIFY(image.pixelColor(entry.right() - 2, list->visualItemRect(list->item(0)).center().y()) != seen);
    }

    void aComboStartsWithoutSelection()
    {
        TestDialog dialog;
        cb::insert(dialog.combo(21), 0, QStringLiteral("無し"), 255);
        QCOMPARE(cb::curSel(dialog.combo(21)), -1);
        QCOMPARE(cb::selectedData(dialog.combo(21)), -1);
    }

    void guardedRoutesDoNothingUntilDataIsLoaded()
    {
        TestDialog dialog;
        dialog.loaded = false;
        dialog.dispatch(Notify::SelChange, 20);
        dialog.dispatch(Notify::SelChange, 21);
        QCOMPARE(dialog.listChanges, 0);
        QCOMPARE(dialog.comboChanges, 1);
        dialog.loaded = true;
        dialog.dispatch(Notify::SelChange, 20);
        QCOMPARE(dialog.listChanges, 1);
    }

    void listLosingFocusIsRouted()
    {
        TestDialog dialog;
        dialog.Create();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.list(20)->setFocus();
        dialog.edit(10)->setFocus();
        QCOMPARE(dialog.listFocusLost, 1);
    }

    void numbersMayHaveBlanksAround()
    {
        TestDialog dialog;
        dialog.Create();
        dialog.edit(10)->setText(QStringLiteral("  -42 "));
        dialog.edit(11)->setText(QStringLiteral("+7"));
        dialog.edit(12)->setText(QStringLiteral(" 255"));
        QVERIFY(dialog.UpdateData(true));
        QCOMPARE(dialog.first, -42);
        QCOMPARE(dialog.second, 7);
        QCOMPARE(dialog.third, 255);
        QVERIFY(MessageService::instance().takeShown().empty());
    }

    void saveStopsAtTheFirstBadBox_data()
    {
        QTest::addColumn<QString>("secondText");
        QTest::newRow("empty") << QString();
        QTest::newRow("letters") << QStringLiteral("12a");
        QTest::newRow("inner blank") << QStringLiteral("1 2");
        QTest::newRow("too large") << QStringLiteral("2147483648");
        QTest::newRow("decimal") << QStringLiteral("1.5");
    }
    void saveStopsAtTheFirstBadBox()
    {
        QFETCH(QString, secondText);
        TestDialog dialog;
        dialog.Create();
        dialog.show();
        dialog.edit(10)->setText(QStringLiteral("10"));
        dialog.edit(11)->setText(secondText);
        dialog.edit(12)->setText(QStringLiteral("30"));
        QVERIFY(!dialog.UpdateData(true));
        QCOMPARE(dialog.first, 10);   // before the bad box: taken
        QCOMPARE(dialog.second, 2);   // the bad box and all after it keep their values
        QCOMPARE(dialog.third, 3);
        const auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("整数を入力してください。"));
        QCOMPARE(shown[0].caption, guitest::appName());
        QCOMPARE(shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(shown[0].buttons, MsgButtons::Ok);
        QCOMPARE(dialog.edit(11)->selectedText(), secondText);
    }

    void byteFieldsRefuseWhatIsNotZeroTo255_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("negative") << QStringLiteral("-1");
        QTest::newRow("256") << QStringLiteral("256");
        QTest::newRow("letters") << QStringLiteral("abc");
    }
    void byteFieldsRefuseWhatIsNotZeroTo255()
    {
        QFETCH(QString, text);
        TestDialog dialog;
        dialog.Create();
        dialog.edit(12)->setText(text);
        QVERIFY(!dialog.UpdateData(true));
        QCOMPARE(dialog.third, 3);
        const auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("0 から 255 までの整数を入力してください。"));
    }

    void textLimitCountsCodePage932Bytes()
    {
        TestDialog dialog;
        dialog.Create();
        dialog.edit(13)->setText(QStringLiteral("戦闘機戦闘機戦闘機戦闘機"));  // 12 kanji = 24 bytes
        QVERIFY(dialog.UpdateData(true));
        QCOMPARE(dialog.name.bytes(), ToCp932(QStringLiteral("戦闘機戦闘機戦闘機戦闘機")).value());

        dialog.edit(13)->setText(QStringLiteral("戦闘機戦闘機戦闘機戦闘機A"));  // 25 bytes
        QVERIFY(!dialog.UpdateData(true));
        auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("24 文字以内で入力してください。"));

        dialog.edit(13)->setText(QStringLiteral("ﾊﾝｶｸｶﾀｶﾅは一バイト"));  // half-width katakana: 1 byte each
        QVERIFY(dialog.UpdateData(true));
    }

    void charactersOutsideCodePage932AreRefusedWithAMessage()
    {
        TestDialog dialog;
        dialog.Create();
        dialog.edit(13)->setText(QStringLiteral("戦車😀"));
        QVERIFY(!dialog.UpdateData(true));
        const auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QVERIFY(shown[0].text.contains(QStringLiteral("😀")));
        QCOMPARE(dialog.name.bytes(), std::string());
    }

    void displayDirectionFillsEveryControl()
    {
        TestDialog dialog;
        dialog.first = -5;
        dialog.third = 200;
        dialog.name = cp932::StoredText(ToCp932(QStringLiteral("零式")).value());
        dialog.ticked = 1;
        dialog.Create();
        QCOMPARE(dialog.edit(10)->text(), QStringLiteral("-5"));
        QCOMPARE(dialog.edit(12)->text(), QStringLiteral("200"));
        QCOMPARE(dialog.edit(13)->text(), QStringLiteral("零式"));
        QVERIFY(dialog.button(14)->isChecked());
    }

    void okClosesOnlyWhenEveryBoxIsGood()
    {
        TestDialog dialog;
        dialog.Create();
        dialog.show();
        dialog.edit(10)->setText(QStringLiteral("x"));
        QTest::mouseClick(dialog.button(1), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
        QCOMPARE(MessageService::instance().takeShown().size(), size_t(1));
        dialog.edit(10)->setText(QStringLiteral("1"));
        dialog.edit(10)->setFocus();
        QTest::keyClick(dialog.edit(10), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void escapeCancels()
    {
        TestDialog dialog;
        dialog.Create();
        dialog.show();
        dialog.edit(10)->setText(QStringLiteral("not a number"));
        QTest::keyClick(dialog.edit(10), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(MessageService::instance().takeShown().empty());
    }

    void messageServiceRecordsWhatWasShownAndAnswers()
    {
        MessageService& service = MessageService::instance();
        service.queueAnswer(MsgAnswer::Cancel);
        QCOMPARE(ShowMessage(QStringLiteral("保存してよろしいですか？"), MsgIcon::Question, MsgButtons::OkCancel),
                 MsgAnswer::Cancel);
        QCOMPARE(ShowMessage(QStringLiteral("次"), MsgIcon::Question, MsgButtons::OkCancel), MsgAnswer::Ok);
        const auto shown = service.takeShown();
        QCOMPARE(shown.size(), size_t(2));
        QCOMPARE(shown[0].text, QStringLiteral("保存してよろしいですか？"));
        QCOMPARE(shown[0].icon, MsgIcon::Question);
        QCOMPARE(shown[0].buttons, MsgButtons::OkCancel);
    }

    // The real box: text that looks like markup shows as it is, with the caption, icon and buttons
    // asked for; Enter on the focused Cancel answers Cancel.
    void messageBoxShowsPlainTextAndEnterPressesTheFocusedButton()
    {
        MessageService& service = MessageService::instance();
        service.setTestMode(false);
        const QString text = QStringLiteral("C:\\<b>ゲーム</b>\\UNITINFO.DAT\n保存してよろしいですか？");
        QString seenText, seenCaption;
        Qt::TextFormat format = Qt::AutoText;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenText = box->text();
            seenCaption = box->windowTitle();
            format = box->textFormat();
            icon = box->icon();
            for (QAbstractButton* button : box->buttons())
                buttons << button->text();
            QAbstractButton* cancel = box->button(QMessageBox::Cancel);
            cancel->setFocus(Qt::TabFocusReason);
            QTest::keyClick(cancel, Qt::Key_Return);
        });
        const MsgAnswer answer = ShowMessage(text, MsgIcon::Question, MsgButtons::OkCancel);
        service.setTestMode(true);
        QCOMPARE(answer, MsgAnswer::Cancel);
        QCOMPARE(seenText, text);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(seenCaption, guitest::appName());
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(buttons.size(), 2);
    }

    // Enter with the focus on a push button presses it; in an edit box it is OK's.
    void enterPressesTheFocusedButton()
    {
        TestDialog dialog;
        dialog.Create();
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.button(2)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dialog.button(2), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void programFiltersBecomeQtFilters()
    {
        QCOMPARE(MessageService::qtNameFilters(QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙ (*.dat)|*.dat|全てのﾌｧｲﾙ (*.*)|*.*||")),
                 QStringList({QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙ (*.dat)"), QStringLiteral("全てのﾌｧｲﾙ (*.*)")}));
        QCOMPARE(MessageService::qtNameFilters(QStringLiteral("Units|*.sui;*.bak||")),
                 QStringList({QStringLiteral("Units (*.sui *.bak)")}));
    }

    // What a file dialog lists is what its selected filter matches, whatever the letters' case;
    // "全てのﾌｧｲﾙ (*.*)" lists every file, names without a dot included. The filter is picked with
    // the keyboard.
    void fileDialogsListWhatTheirFilterMatches()
    {
        QTemporaryDir folder;
        for (const char* name : {"UNITINFO.DAT", "weaponkd.dat", "readme.txt", "README"}) {
            QFile file(folder.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("Unit")));
        QFileDialog dialog;
        FileDialogRequest request;
        request.title = QStringLiteral("大戦略インストールフォルダの選択");
        request.filter = QStringLiteral("ﾃﾞｰﾀﾌｧｲﾙ (*.dat)|*.dat|全てのﾌｧｲﾙ (*.*)|*.*||");
        request.initialFolder = folder.path();
        MessageService::prepareFileDialog(dialog, request);
        QCOMPARE(dialog.windowTitle(), request.title);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QStringList dataFiles{"UNITINFO.DAT", "Unit", "weaponkd.dat"};
        QTRY_COMPARE(guitest::shownFileNames(dialog), dataFiles);

        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        QCOMPARE(types->currentText(), QStringLiteral("全てのﾌｧｲﾙ (*.*)"));
        const QStringList everything{"README", "UNITINFO.DAT", "Unit", "readme.txt", "weaponkd.dat"};
        QTRY_COMPARE(guitest::shownFileNames(dialog), everything);
        QTest::keyClick(types, Qt::Key_Up);
        QTRY_COMPARE(guitest::shownFileNames(dialog), dataFiles);
    }

    // The file dialog's sizes and dates read in Japanese.
    void fileDialogSpeaksJapanese()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("unit0001.sui")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(154, '\0'));
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(10, 5)), QFileDevice::FileModificationTime));
        file.close();
        QFileDialog dialog;
        FileDialogRequest request;
        request.filter = QStringLiteral("兵器ﾃﾞｰﾀ (*.sui)|*.sui|全てのﾌｧｲﾙ (*.*)|*.*||");
        request.initialFolder = folder.path();
        MessageService::prepareFileDialog(dialog, request);
        auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model);
        QTRY_VERIFY(model->rowCount(model->index(folder.path())) > 0);
        const QModelIndex name = model->index(file.fileName());
        QCOMPARE(name.siblingAtColumn(1).data().toString(), QStringLiteral("154 バイト"));
#ifdef Q_OS_WIN
        // Windows shows dates in the user's own short format, year first in Japanese.
        const QString date = QLocale::system().toString(QDateTime(QDate(2026, 12, 7), QTime(10, 5)), QLocale::ShortFormat);
        QVERIFY(date.startsWith(QStringLiteral("2026/12/")));
#else
        const QString date = QStringLiteral("2026/12/07 10:05");
#endif
        QCOMPARE(name.siblingAtColumn(3).data().toString(), date);
    }
};

// Started the way the program starts: in the Japanese locale.
int main(int argc, char* argv[])
{
    UseJapaneseLocale();
    QApplication application(argc, argv);
    DialogFrameworkTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "DialogFrameworkTest.moc"
