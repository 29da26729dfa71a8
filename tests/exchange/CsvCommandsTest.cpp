// The CSV commands of the File menu on the real main dialog opened on a demo game folder: what the
// file dialogs ask, what is written, and what the list, the form and the table show after a read.

#include "support/GuiTest.h"
#include "support/TestFiles.h"

#include "app/SettingsStore.h"
#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"
#include "editor/MainDialog.h"
#include "editor/UnitFormIds.h"
#include "framework/Controls.h"
#include "framework/MessageService.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

class CsvCommandsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_game;
    QTemporaryDir m_files;
    UnitTable m_demo;
    MessageService& service() { return MessageService::instance(); }
    QString path(const QString& name) const { return m_files.filePath(name); }

    std::unique_ptr<CMainDialog> open()
    {
        WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"), QDir::toNativeSeparators(m_game.path()) + QDir::separator());
        auto dialog = std::make_unique<CMainDialog>();
        dialog->Create();
        dialog->show();
        dialog->activateWindow();
        (void)QTest::qWaitForWindowActive(dialog.get(), 1000);
        [&] { QVERIFY(dialog->isDataLoaded()); }();
        return dialog;
    }
    static void choose(CMainDialog& dialog, int unit)
    {
        dialog.list(form::kUnitList)->setFocus();
        dialog.list(form::kUnitList)->setCurrentRow(unit);
    }
    // Runs a File menu command as the keyboard does: Alt+F, then the command's mnemonic.
    static void fileMenuKey(CMainDialog& dialog, Qt::Key key)
    {
        QTest::keyClick(&dialog, Qt::Key_F, Qt::AltModifier);
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QTest::keyClick(menu, key);
    }
    QByteArray exported(CMainDialog& dialog)
    {
        service().queueFile(path(QStringLiteral("units.csv")));
        dialog.menuCommand(form::kCmdCsvExport)->trigger();
        service().takeFileRequests();
        return ReadAll(path(QStringLiteral("units.csv")));
    }

private slots:
    void initTestCase()
    {
        guitest::init();
        const GameFolderFiles files = MakeDemoGameFiles();
        WriteGameFolder(m_game.path().toStdString(), files);
        m_demo.load(files.unitInfo);
    }
    void init() { guitest::resetSettings(); }

    void fileMenuHoldsTheCsvCommandsBetweenTheExchangeCommandsAndExit()
    {
        auto dialog = open();
        QStringList texts;
        QMenu* file = dialog->findChild<QMenuBar*>()->actions().at(0)->menu();
        QCOMPARE(file->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
        for (QAction* action : file->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        const int at = texts.indexOf(QStringLiteral("兵器ﾃﾞｰﾀの一括読み込み"));
        QVERIFY(at > 0);
        QCOMPARE(texts.mid(at + 1, 4), (QStringList{QStringLiteral("-"), QStringLiteral("CSVに書き出し(&C)..."),
                                                    QStringLiteral("CSVから読み込み(&V)..."), QStringLiteral("-")}));
        QCOMPARE(texts.last(), QStringLiteral("終了(&E)"));
    }

    void exportByKeyboardWritesTheTableAndRemembersTheFolder()
    {
        auto dialog = open();
        service().queueFile(path(QStringLiteral("table.csv")));
        fileMenuKey(*dialog, Qt::Key_C);
        const auto requests = service().takeFileRequests();
        QCOMPARE(int(requests.size()), 1);
        QVERIFY(requests[0].save);
        QCOMPARE(requests[0].title, QStringLiteral("CSVに書き出し"));
        QCOMPARE(requests[0].filter, QStringLiteral("CSVﾌｧｲﾙ (*.csv)|*.csv|全てのﾌｧｲﾙ (*.*)|*.*||"));
        QCOMPARE(requests[0].initialName, QStringLiteral("unitinfo.csv"));
        QVERIFY(service().takeShown().empty());
        const QByteArray csv = ReadAll(path(QStringLiteral("table.csv")));
        QVERIFY(csv.startsWith("\xEF\xBB\xBF" "番号,名前,兵種,兵種名,"));
        QCOMPARE(csv.count("\r\n"), 1 + kUnitCount);
        QCOMPARE(ReadSettingText(kInitData, QStringLiteral("CsvSaveDir"), QString()), m_files.path() + u'/');

        // The next export opens in that folder; cancelling it writes nothing.
        QVERIFY(QFile::remove(path(QStringLiteral("table.csv"))));
        dialog->menuCommand(form::kCmdCsvExport)->trigger();
        QCOMPARE(service().takeFileRequests().at(0).initialFolder, m_files.path() + u'/');
        QVERIFY(!QFile::exists(path(QStringLiteral("table.csv"))));
    }

    void importRefreshesTheListAndTheShownUnitAndSaysHowMany()
    {
        auto dialog = open();
        choose(*dialog, 16);
        QByteArray csv = exported(*dialog);
        // A spreadsheet edit of unit 16's name and unit 300's price, and only those two rows kept.
        const QList<QByteArray> lines = csv.split('\n');
        QByteArray row16 = lines.at(1 + 16);
        QByteArray row300 = lines.at(1 + 300);
        row16.replace(row16.indexOf(',') + 1, row16.indexOf(',', row16.indexOf(',') + 1) - row16.indexOf(',') - 1,
                      QStringLiteral("新しい名前").toUtf8());
        const QByteArray price300 = QByteArray::number(m_demo.record(300).price());
        const int at = row300.indexOf("," + price300 + ",");
        QVERIFY(at > 0);
        row300.replace(at + 1, price300.size(), "-5");
        WriteAll(path(QStringLiteral("edited.csv")), lines.at(0) + "\n" + row16 + "\n" + row300 + "\n");

        dialog->edit(form::kPrice)->setText(QStringLiteral("777"));  // typed, not applied: replaced
        service().queueFile(path(QStringLiteral("edited.csv")));
        fileMenuKey(*dialog, Qt::Key_V);

        const auto shown = service().takeShown();
        QCOMPARE(int(shown.size()), 1);
        QCOMPARE(shown[0].text, QStringLiteral("2個の兵器を読み込みました"));
        QCOMPARE(shown[0].icon, MsgIcon::Information);
        QCOMPARE(service().takeFileRequests().at(0).title, QStringLiteral("CSVから読み込み"));
        QCOMPARE(ReadSettingText(kInitData, QStringLiteral("CsvLoadDir"), QString()), m_files.path() + u'/');

        UnitTable expected = m_demo;
        expected.record(16).setName(ToCp932(QStringLiteral("新しい名前")).value());
        expected.record(300).setPrice(static_cast<std::uint32_t>(-5));
        QVERIFY(std::equal(expected.image().begin(), expected.image().end(), dialog->unitTable().image().begin()));
        QCOMPARE(lb::text(dialog->list(form::kUnitList), 16), QStringLiteral("0016:新しい名前"));
        QCOMPARE(dialog->currentUnit(), 16);
        QCOMPARE(dialog->edit(form::kName)->text(), QStringLiteral("新しい名前"));
        QCOMPARE(dialog->edit(form::kPrice)->text(), QString::number(m_demo.record(16).price()));
        choose(*dialog, 300);
        QCOMPARE(dialog->edit(form::kPrice)->text(), QStringLiteral("-5"));

        // One undo step takes the whole file back.
        dialog->menuCommand(32800)->trigger();
        QVERIFY(std::equal(m_demo.image().begin(), m_demo.image().end(), dialog->unitTable().image().begin()));
        QCOMPARE(lb::text(dialog->list(form::kUnitList), 16), FromCp932(UnitListText(16, m_demo.record(16))));
    }

    void aFileWithErrorsChangesNothingAndListsThemAll()
    {
        auto dialog = open();
        choose(*dialog, 5);
        WriteAll(path(QStringLiteral("bad.csv")), "番号,耐久,価格\r\n5,256,1\r\n6,1,x\r\n");
        service().queueFile(path(QStringLiteral("bad.csv")));
        dialog->menuCommand(form::kCmdCsvImport)->trigger();
        const auto shown = service().takeShown();
        QCOMPARE(int(shown.size()), 1);
        QCOMPARE(shown[0].text, QStringLiteral("CSVファイルに2個の誤りがあるため、何も読み込みませんでした。\n\n"
                                               "行 2 (0005), 列「耐久」: 「256」は 0 から 255 までの整数ではありません\n"
                                               "行 3 (0006), 列「価格」: 「x」は整数ではありません"));
        QCOMPARE(shown[0].icon, MsgIcon::Stop);
        QVERIFY(std::equal(m_demo.image().begin(), m_demo.image().end(), dialog->unitTable().image().begin()));

        // A file that cannot be read: the file's message, nothing changed.
        service().queueFile(path(QStringLiteral("missing.csv")));
        dialog->menuCommand(form::kCmdCsvImport)->trigger();
        QCOMPARE(service().takeShown().at(0).text,
                 QStringLiteral("読み込みに失敗しました\n%1 が見つかりませんでした。").arg(path(QStringLiteral("missing.csv"))));

        // A pipe nobody writes to is not waited for; a file far larger than any table's CSV is not read.
#ifdef _WIN32
        qInfo("Windows has no named pipes in its folders: the pipe case is tested on Linux only");
#else
        QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.csv"))).constData(), 0600), 0);
        service().queueFile(path(QStringLiteral("pipe.csv")));
        dialog->menuCommand(form::kCmdCsvImport)->trigger();
        QCOMPARE(service().takeShown().at(0).text,
                 QStringLiteral("読み込みに失敗しました\n%1 へのｱｸｾｽは拒否されました。").arg(path(QStringLiteral("pipe.csv"))));
#endif
        QFile huge(path(QStringLiteral("huge.csv")));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(qint64(100) << 20));
        huge.close();
        service().queueFile(huge.fileName());
        dialog->menuCommand(form::kCmdCsvImport)->trigger();
        QCOMPARE(service().takeShown().at(0).text,
                 QStringLiteral("読み込みに失敗しました\n%1 は 100 MB あり、兵器の CSV としては大きすぎます (16 MB まで)").arg(huge.fileName()));
        QVERIFY(std::equal(m_demo.image().begin(), m_demo.image().end(), dialog->unitTable().image().begin()));
    }

    // The File menu as it drops down, for looking at (CORVANE_RENDER_PNG names the file).
    // Both exports refuse the loaded folder's own tables, however the chosen name reaches them; an
    // unreadable prokind.dat is told, not taken for a missing one.
    void exportsRefuseTheGamesTablesAndSayWhatCannotBeRead()
    {
        auto dialog = open();
        const QString table = QDir(m_game.path()).filePath(QStringLiteral("UNITINFO.DAT"));
        const QByteArray before = ReadAll(table);
#ifdef Q_OS_WIN
        // The same file by another spelling (Windows links are shortcuts, not files of their own).
        const QString link = QDir(m_game.path()).filePath(QStringLiteral("unitinfo.dat"));
#else
        const QString link = path(QStringLiteral("table.csv"));
        QVERIFY(QFile::link(table, link));
#endif
        const QString refused = QStringLiteral("書き出しに失敗しました\n") + link
            + QStringLiteral(" はゲームの兵器データファイル (UNITINFO.DAT または UNITINFO.ORG) です。別のファイルを指定してください。");
        for (const int command : {form::kCmdCsvExport, form::kCmdExport}) {
            service().queueFile(link);
            dialog->menuCommand(command)->trigger();
            const auto shown = service().takeShown();
            QCOMPARE(shown.size(), size_t(1));
            QCOMPARE(shown[0].text, refused);
            QCOMPARE(shown[0].icon, MsgIcon::Stop);
        }
        QCOMPARE(ReadAll(table), before);
#ifndef Q_OS_WIN
        QVERIFY(QFileInfo(link).isSymLink());
        QFile::remove(link);
#endif

#ifdef Q_OS_LINUX
        const QString prokind = QDir(m_game.path()).filePath(QStringLiteral("prokind.dat"));
        QVERIFY(QFile::rename(prokind, prokind + QStringLiteral(".kept")));
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), prokind));  // reading its start fails with EIO
        service().queueFile(path(QStringLiteral("unread.csv")));
        dialog->menuCommand(form::kCmdCsvExport)->trigger();
        QFile::remove(prokind);
        QVERIFY(QFile::rename(prokind + QStringLiteral(".kept"), prokind));
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("書き出しに失敗しました\n") + prokind
                                    + QStringLiteral(" へのｱｸｾｽ中にﾊｰﾄﾞｳｪｱ I/O ｴﾗｰが報告されました。"));
        QVERIFY(!QFileInfo::exists(path(QStringLiteral("unread.csv"))));
#endif
        service().takeFileRequests();
    }

    void renderFileMenuWhenAsked()
    {
        const QString out = qEnvironmentVariable("CORVANE_RENDER_PNG");
        if (out.isEmpty())
            QSKIP("CORVANE_RENDER_PNG is not set");
        auto dialog = open();
        QMenu* file = dialog->findChild<QMenuBar*>()->actions().at(0)->menu();
        file->popup(dialog->mapToGlobal(QPoint(0, 0)));
        QTest::qWait(50);
        QVERIFY(guitest::renderToPng(file, out));
        file->close();
    }
};

QTEST_MAIN(CsvCommandsTest)
#include "CsvCommandsTest.moc"
