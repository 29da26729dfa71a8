// Export, import and bulk import on the real main dialog opened on a demo game folder: the unit
// list, the form and the table as the user sees them.

#include "support/GuiTest.h"
#include "support/TestFiles.h"

#include "app/SettingsStore.h"
#include "data/FileIo.h"
#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"
#include "editor/MainDialog.h"
#include "editor/UnitFormIds.h"
#include "exchange/BulkImportDlg.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/core/UnitFile.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/MessageService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <functional>
#include <memory>

namespace {

// The demo game folder in a temporary directory.
struct GameFolder {
    QTemporaryDir dir;
    GameFolderFiles files = MakeDemoGameFiles();

    GameFolder() { WriteGameFolder(dir.path().toStdString(), files); }
    QString folderText() const { return QDir::toNativeSeparators(dir.path()) + QDir::separator(); }
    UnitTable demoTable() const
    {
        UnitTable table;
        table.load(files.unitInfo);
        return table;
    }
};

bool SameBytes(const UnitRecord& a, const UnitRecord& b)
{
    return a.bytes == b.bytes;
}

// Types text into an edit the way a user does: select everything, then the keys.
void TypeInto(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Runs action on the bulk import's confirmation as soon as it shows; the action must close it.
void OnConfirmation(std::function<void(CBulkImportDlg&)> action)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, tries = 0]() mutable {
        auto* dialog = qobject_cast<CBulkImportDlg*>(QApplication::activeModalWidget());
        if ((dialog && dialog->isVisible()) || ++tries > 2000) {
            timer->stop();
            timer->deleteLater();
            if (dialog)
                action(*dialog);
        }
    });
    timer->start();
}

const QString kName24 = QStringLiteral("超高速長距離全天候迎撃機");

std::string Cp932(const QString& text)
{
    return ToCp932(text).value();
}

QByteArray UnitFile(int tag, int unit, const UnitRecord& record)
{
    auto bytes = UnitFileBytes(unit, record);
    bytes[0] = static_cast<std::uint8_t>(tag);
    bytes[1] = static_cast<std::uint8_t>(tag >> 8);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// A record unlike any of the demo's, named name.
UnitRecord Incoming(const UnitRecord& like, const QString& name)
{
    UnitRecord record = like;
    record.setName(Cp932(name));
    record.setPrice(like.price() + 4321);
    record.setDurability(static_cast<std::uint8_t>(like.durability() ^ 0x5A));
    return record;
}

}  // namespace

class MainDialogExchangeTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<GameFolder> m_game;
    QTemporaryDir m_files;
    MessageService& service() { return MessageService::instance(); }
    QString path(const QString& name) const { return m_files.filePath(name); }

    std::unique_ptr<CMainDialog> open()
    {
        WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"), m_game->folderText());
        auto dialog = std::make_unique<CMainDialog>();
        dialog->Create();
        dialog->show();
        [&] { QVERIFY(dialog->isDataLoaded()); }();
        return dialog;
    }
    static QString nameShown(CMainDialog& dialog) { return dialog.edit(form::kName)->text(); }
    static QListWidget* units(CMainDialog& dialog) { return dialog.list(form::kUnitList); }
    // Moves the unit list to a unit as the arrow keys do: the selection changes, then the list
    // reports it and the dialog shows the unit.
    static void choose(CMainDialog& dialog, int unitNumber)
    {
        units(dialog)->setFocus();
        units(dialog)->setCurrentRow(unitNumber);
        QCOMPARE(dialog.currentUnit(), unitNumber);
        QCOMPARE(nameShown(dialog), FromCp932(dialog.unitTable().record(unitNumber).nameText()));
    }

private slots:
    void initTestCase()
    {
        guitest::init();
        m_game = std::make_unique<GameFolder>();
        QVERIFY(m_files.isValid());
    }
    void init() { guitest::resetSettings(); }

    void importFromUnit7WhileUnit300IsShown()
    {
        auto dialog = open();
        choose(*dialog, 300);
        QCOMPARE(dialog->currentUnit(), 300);
        const UnitRecord before300 = dialog->unitTable().record(300);
        const QString shown300 = nameShown(*dialog);
        const UnitRecord incoming = Incoming(dialog->unitTable().record(7), QStringLiteral("輸入された迎撃機"));
        WriteAll(path(QStringLiteral("unit0007.sui")), UnitFile(143, 7, incoming));

        service().queueFile(path(QStringLiteral("unit0007.sui")));
        ImportUnit(*dialog);

        QCOMPARE(service().takeShown().at(0).text, QStringLiteral("0007にデータを読み込んでよろしいですか？"));
        QVERIFY(SameBytes(dialog->unitTable().record(7), incoming));
        QVERIFY(SameBytes(dialog->unitTable().record(300), before300));
        QCOMPARE(lb::curSel(units(*dialog)), 7);
        QCOMPARE(lb::text(units(*dialog), 7), QStringLiteral("0007:輸入された迎撃機"));
        QCOMPARE(lb::text(units(*dialog), 300).mid(5), shown300);
        QCOMPARE(lb::count(units(*dialog)), kUnitCount);
        QCOMPARE(nameShown(*dialog), QStringLiteral("輸入された迎撃機"));
        QCOMPARE(dialog->edit(form::kPrice)->text(), QString::number(incoming.price()));
    }

    void cancelAtTheQuestionChangesOnlyTheRememberedFolder()
    {
        auto dialog = open();
        choose(*dialog, 300);
        const std::vector<std::uint8_t> table(dialog->unitTable().image().begin(), dialog->unitTable().image().end());
        const QString listed7 = lb::text(units(*dialog), 7);
        const QString shown = nameShown(*dialog);
        WriteAll(path(QStringLiteral("unit0007.sui")),
                 UnitFile(143, 7, Incoming(dialog->unitTable().record(7), QStringLiteral("取り消される"))));

        service().queueFile(path(QStringLiteral("unit0007.sui")));
        service().queueAnswer(MsgAnswer::Cancel);
        ImportUnit(*dialog);

        QVERIFY(std::equal(table.begin(), table.end(), dialog->unitTable().image().begin()));
        QCOMPARE(lb::text(units(*dialog), 7), listed7);
        QCOMPARE(lb::curSel(units(*dialog)), 300);
        QCOMPARE(nameShown(*dialog), shown);
        QCOMPARE(ReadSettingText(kInitData, QStringLiteral("UnitInfoLoadDir"), QString()), m_files.path() + u'/');
        ImportUnit(*dialog);
        QCOMPARE(service().takeFileRequests().at(1).initialFolder, m_files.path() + u'/');
    }

    void exportChangeApplyAndImportRestoresTheExportedBytes()
    {
        auto dialog = open();
        choose(*dialog, 42);
        const UnitRecord exported = dialog->unitTable().record(42);
        service().queueFile(path(QStringLiteral("unit0042.sui")));
        ExportUnit(*dialog);
        QCOMPARE(service().takeFileRequests().at(0).initialName, QStringLiteral("unit0042.sui"));
        QCOMPARE(ReadAll(path(QStringLiteral("unit0042.sui"))), UnitFile(143, 42, exported));

        TypeInto(dialog->edit(form::kPrice), QStringLiteral("98765"));
        TypeInto(dialog->edit(form::kName), QStringLiteral("Changed"));
        dialog->button(form::kApply)->click();
        QCOMPARE(dialog->unitTable().record(42).price(), 98765u);
        QVERIFY(lb::text(units(*dialog), 42).endsWith(QStringLiteral("Changed")));

        service().queueFile(path(QStringLiteral("unit0042.sui")));
        ImportUnit(*dialog);
        QVERIFY(SameBytes(dialog->unitTable().record(42), exported));
        QCOMPARE(dialog->edit(form::kPrice)->text(), QString::number(exported.price()));
        QCOMPARE(lb::text(units(*dialog), 42), FromCp932(UnitListText(42, exported)));
    }

    void exportWritesTheStoredRecordNotPendingEdits()
    {
        auto dialog = open();
        choose(*dialog, 1279);
        TypeInto(dialog->edit(form::kPrice), QStringLiteral("1"));
        service().queueFile(path(QStringLiteral("unit1279.sui")));
        ExportUnit(*dialog);
        const QByteArray written = ReadAll(path(QStringLiteral("unit1279.sui")));
        QCOMPARE(written.size(), 154);
        QCOMPARE(written.left(4), QByteArray("\x8f\x00\xff\x04", 4));
        QCOMPARE(written, UnitFile(143, 1279, m_game->demoTable().record(1279)));
    }

    void failedExportOverAnExistingFileLeavesItWhole()
    {
        auto dialog = open();
        choose(*dialog, 12);
        const QString target = path(QStringLiteral("precious.sui"));
        const QByteArray old = UnitFile(143, 99, m_game->demoTable().record(99));
        WriteAll(target, old);
        const corvane::FileWriteHooks saved = corvane::fileWriteHooks;
        corvane::fileWriteHooks.writeSome = [](int, const void*, std::size_t) -> long {
            errno = EIO;
            return -1;
        };
        service().queueFile(target);
        ExportUnit(*dialog);
        corvane::fileWriteHooks = saved;

        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("書き出しに失敗しました"));
        QCOMPARE(shown[0].icon, MsgIcon::Stop);
        QCOMPARE(ReadAll(target), old);
    }

    void bulkImportOfAGoodAMissingAndAnUnusableFile()
    {
        auto dialog = open();
        choose(*dialog, 300);
        const UnitRecord good = Incoming(dialog->unitTable().record(5), QStringLiteral("第五の兵器"));
        UnitRecord zeroTag = Incoming(dialog->unitTable().record(33), QStringLiteral("タグなし"));
        QDir(m_files.path()).mkpath(QStringLiteral("bulk"));
        WriteAll(path(QStringLiteral("bulk/unit0005.sui")), UnitFile(143, 5, good));
        WriteAll(path(QStringLiteral("bulk/zero.sui")), UnitFile(0, 33, zeroTag));
        WriteAll(path(QStringLiteral("bulk/units.cmd")), "unit0005.sui\r\nmissing.sui\r\nzero.sui\r\n");
        const UnitRecord before33 = dialog->unitTable().record(33);

        QStringList listed;
        OnConfirmation([&listed](CBulkImportDlg& confirmation) {
            for (int i = 0; i < lb::count(confirmation.list(1000)); ++i)
                listed << lb::text(confirmation.list(1000), i);
            confirmation.button(1)->click();
        });
        service().queueFile(path(QStringLiteral("bulk/units.cmd")));
        BulkImportUnits(*dialog);

        QCOMPARE(listed, (QStringList{QStringLiteral("0005:第五の兵器"), QStringLiteral("0033:タグなし")}));
        QVERIFY(SameBytes(dialog->unitTable().record(5), good));
        QVERIFY(SameBytes(dialog->unitTable().record(33), before33));
        QCOMPARE(lb::curSel(units(*dialog)), 5);
        QCOMPARE(lb::text(units(*dialog), 5), QStringLiteral("0005:第五の兵器"));
        QCOMPARE(nameShown(*dialog), QStringLiteral("第五の兵器"));
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("1個の兵器を正常に読み込み、2個の兵器の読み込みに失敗しました"));
        QCOMPARE(shown[0].icon, MsgIcon::Exclamation);
    }

    void bulkImportOfAnEmptyCommandFile()
    {
        auto dialog = open();
        choose(*dialog, 300);
        const QString shown300 = nameShown(*dialog);
        WriteAll(path(QStringLiteral("empty.cmd")), QByteArray());
        int listed = -1;
        OnConfirmation([&listed](CBulkImportDlg& confirmation) {
            listed = lb::count(confirmation.list(1000));
            confirmation.button(1)->click();
        });
        service().queueFile(path(QStringLiteral("empty.cmd")));
        BulkImportUnits(*dialog);
        QCOMPARE(listed, 0);
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("0個の兵器を読み込みました"));
        QCOMPARE(shown[0].icon, MsgIcon::Information);
        QCOMPARE(lb::curSel(units(*dialog)), 300);
        QCOMPARE(nameShown(*dialog), shown300);
    }

    void fullLengthNameShowsWholeInTheListAndTheForm()
    {
        auto dialog = open();
        const UnitRecord incoming = Incoming(dialog->unitTable().record(64), kName24);
        WriteAll(path(QStringLiteral("long-name.sui")), UnitFile(143, 64, incoming));
        service().queueFile(path(QStringLiteral("long-name.sui")));
        ImportUnit(*dialog);
        QCOMPARE(lb::text(units(*dialog), 64), QStringLiteral("0064:") + kName24);
        QCOMPARE(nameShown(*dialog), kName24);
    }
};

QTEST_MAIN(MainDialogExchangeTest)
#include "MainDialogExchangeTest.moc"
