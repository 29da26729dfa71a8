// Export, import and bulk import against a small stand-in for the main dialog: a unit table and a
// unit list, recording which units were shown.

#include "support/GuiTest.h"
#include "support/TestFiles.h"

#include "app/SettingsStore.h"
#include "data/FileIo.h"
#include "data/UnitTable.h"
#include "exchange/BulkImportDlg.h"
#include "exchange/ExchangeCommands.h"
#include "exchange/core/UnitFile.h"
#include "framework/Controls.h"
#include "framework/DataExchange.h"
#include "framework/MessageService.h"
#include "framework/UnitEditorHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>

#include <unistd.h>

namespace {

const QString kName24 = QStringLiteral("超高速長距離全天候迎撃機");  // 24 bytes in code page 932

std::string Cp932(const QString& text)
{
    return ToCp932(text).value();
}

class FakeHost : public UnitEditorHost {
public:
    FakeHost()
    {
        std::vector<std::uint8_t> image(kUnitTableSize);
        for (std::size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<std::uint8_t>((i * 13 + i / 138) & 0xff);
        table.load(image);
        for (int u = 0; u < kUnitCount; ++u)
            table.record(u).setName(Cp932(QStringLiteral("兵器%1").arg(u)));
        for (int u = 0; u < kUnitCount; ++u)
            lb::insert(&list, u, listText(u), u);
        lb::setCurSel(&list, 1);
    }

    QString listText(int u) const { return FromCp932(UnitListText(u, table.record(u))); }

    UnitTable& unitTable() override { return table; }
    bool isDataLoaded() const override { return loaded; }
    int currentUnit() const override
    {
        const int sel = lb::curSel(&list);
        return sel < 0 ? -1 : lb::itemData(&list, sel);
    }
    void RefreshUnitListEntry(int u) override
    {
        lb::remove(&list, u);
        lb::insert(&list, u, listText(u), u);
    }
    void selectUnitInList(int u) override { lb::setCurSel(&list, u); }
    void ShowUnit(int u) override { shown.push_back(u); }
    bool saveFormFields() override { return true; }
    void recordUnitChanges(UnitChanges changes, const QString& text) override
    {
        steps.push_back({std::move(changes), text});
    }
    QString gameFolder() const override { return {}; }
    QWidget* window() override { return &owner; }

    UnitTable table;
    QWidget owner;
    QListWidget list;
    bool loaded = true;
    std::vector<int> shown;
    std::vector<std::pair<UnitChanges, QString>> steps;
};

QByteArray UnitFile(int tag, int unit, const UnitRecord& record)
{
    const auto bytes = UnitFileBytes(0, record);
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    data[0] = char(tag & 0xff);
    data[1] = char(tag >> 8);
    data[2] = char(unit & 0xff);
    data[3] = char(unit >> 8);
    return data;
}

UnitRecord NamedRecord(const QString& name, int seed)
{
    UnitRecord record;
    for (std::size_t i = 0; i < record.bytes.size(); ++i)
        record.bytes[i] = static_cast<std::uint8_t>(seed + i * 3);
    record.setName(Cp932(name));
    return record;
}

QString Setting(const char* name)
{
    return ReadSettingText(kInitData, QString::fromLatin1(name), QStringLiteral("<missing>"));
}

// What the confirmation of a bulk import showed before it was answered.
struct Confirmation {
    bool seen = false;
    QStringList listed;
};

// Answers the next bulk-import confirmation once it runs: Enter with the focus on button 1 (OK) or
// 2 (Cancel).
void AnswerConfirmation(Confirmation& seen, int buttonId)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &seen, buttonId, left = 500]() mutable {
        auto* dialog = qobject_cast<CBulkImportDlg*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (--left <= 0)
                timer->deleteLater();
            return;
        }
        timer->stop();
        timer->deleteLater();
        seen.seen = true;
        for (int i = 0; i < lb::count(dialog->list(1000)); ++i)
            seen.listed << lb::text(dialog->list(1000), i);
        dialog->button(buttonId)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dialog->button(buttonId), Qt::Key_Return);
    });
    timer->start();
}

}  // namespace

class ExchangeCommandsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    MessageService& service() { return MessageService::instance(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    // A folder whose names differ in letter case from the lines of a command file written on
    // Windows, with two files whose names differ only in case.
    void writeMixedCaseFolder()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("bulk5/Sub"));
        WriteAll(path(QStringLiteral("bulk5/UNIT0001.SUI")), UnitFile(143, 1, NamedRecord(QStringLiteral("大文字"), 1)));
        WriteAll(path(QStringLiteral("bulk5/unit0002.sui")), UnitFile(143, 2, NamedRecord(QStringLiteral("小文字"), 2)));
        WriteAll(path(QStringLiteral("bulk5/Sub/Unit0003.Sui")), UnitFile(143, 3, NamedRecord(QStringLiteral("混在"), 3)));
        WriteAll(path(QStringLiteral("bulk5/TWIN.SUI")), UnitFile(143, 4, NamedRecord(QStringLiteral("大きい方"), 4)));
        WriteAll(path(QStringLiteral("bulk5/twin.sui")), UnitFile(143, 5, NamedRecord(QStringLiteral("小さい方"), 5)));
    }

private slots:
    void initTestCase()
    {
        guitest::init();
        QVERIFY(m_dir.isValid());
    }
    void init() { guitest::resetSettings(); }

    // ---- export ----

    void exportWritesTheSelectedUnitUnderTheProposedName()
    {
        FakeHost host;
        host.selectUnitInList(12);
        service().queueFile(path(QStringLiteral("unit0012.sui")));
        ExportUnit(host);

        const auto requests = service().takeFileRequests();
        QCOMPARE(requests.size(), size_t(1));
        QVERIFY(requests[0].save);
        QVERIFY(requests[0].confirmOverwrite);
        QCOMPARE(requests[0].title, QStringLiteral("兵器データの保存"));
        QCOMPARE(requests[0].filter, QStringLiteral("ﾕﾆｯﾄﾃﾞｰﾀﾌｧｲﾙ (*.sui)|*.sui|全てのﾌｧｲﾙ (*.*)|*.*||"));
        QCOMPARE(requests[0].initialFolder, QString());
        QCOMPARE(requests[0].initialName, QStringLiteral("unit0012.sui"));
        QVERIFY(service().takeShown().empty());

        const QByteArray written = ReadAll(path(QStringLiteral("unit0012.sui")));
        QCOMPARE(written, UnitFile(143, 12, host.table.record(12)));
        QCOMPARE(Setting("UnitInfoSaveDir"), m_dir.path() + u'/');

        // The next export opens in that folder.
        host.selectUnitInList(0);
        ExportUnit(host);
        const auto next = service().takeFileRequests();
        QCOMPARE(next[0].initialFolder, m_dir.path() + u'/');
        QCOMPARE(next[0].initialName, QStringLiteral("unit0000.sui"));
    }

    void exportOfTheLastUnitWritesItsNumber()
    {
        FakeHost host;
        host.selectUnitInList(1279);
        service().queueFile(path(QStringLiteral("last")));
        ExportUnit(host);
        QCOMPARE(service().takeFileRequests()[0].initialName, QStringLiteral("unit1279.sui"));
        const QByteArray written = ReadAll(path(QStringLiteral("last")));
        QCOMPARE(written.size(), 154);
        QCOMPARE(written.left(16), QByteArray("\x8f\x00\xff\x04\0\0\0\0\0\0\0\0\0\0\0\0", 16));
    }

    void cancelledExportChangesNothing()
    {
        FakeHost host;
        ExportUnit(host);  // the file queue is empty: the dialog is cancelled
        QCOMPARE(service().takeFileRequests().size(), size_t(1));
        QVERIFY(service().takeShown().empty());
        QCOMPARE(Setting("UnitInfoSaveDir"), QStringLiteral("<missing>"));
    }

    void exportIntoAMissingFolderFailsAfterRememberingIt()
    {
        FakeHost host;
        service().queueFile(path(QStringLiteral("gone/unit0001.sui")));
        ExportUnit(host);
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("書き出しに失敗しました"));
        QCOMPARE(shown[0].icon, MsgIcon::Stop);
        QCOMPARE(shown[0].buttons, MsgButtons::Ok);
        QCOMPARE(Setting("UnitInfoSaveDir"), path(QStringLiteral("gone/")));
    }

    void failedExportOverAFileLeavesItWhole()
    {
        FakeHost host;
        const QString target = path(QStringLiteral("keep.sui"));
        const QByteArray old = UnitFile(143, 99, NamedRecord(QStringLiteral("古い兵器"), 9));
        WriteAll(target, old);
        const corvane::FileWriteHooks saved = corvane::fileWriteHooks;
        corvane::fileWriteHooks.writeSome = [](int, const void*, std::size_t) -> long {
            errno = ENOSPC;
            return -1;
        };
        service().queueFile(target);
        ExportUnit(host);
        corvane::fileWriteHooks = saved;

        QCOMPARE(service().takeShown().at(0).text, QStringLiteral("書き出しに失敗しました"));
        QCOMPARE(ReadAll(target), old);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".tmp")), QStringList());
    }

    void commandsDoNothingWithoutData()
    {
        FakeHost host;
        host.loaded = false;
        service().queueFile(path(QStringLiteral("x.sui")));
        ExportUnit(host);
        ImportUnit(host);
        BulkImportUnits(host);
        QVERIFY(service().takeFileRequests().empty());
        QVERIFY(service().takeShown().empty());
        QVERIFY(host.shown.empty());
    }

    // ---- import ----

    void importReplacesTheUnitTheFileNamesNotTheOneShown()
    {
        FakeHost host;
        host.selectUnitInList(300);
        const UnitRecord before300 = host.table.record(300);
        const UnitRecord incoming = NamedRecord(kName24, 7);
        const QString file = path(QStringLiteral("unit0007.sui"));
        WriteAll(file, UnitFile(143, 7, incoming));

        service().queueFile(file);
        ImportUnit(host);

        const auto requests = service().takeFileRequests();
        QCOMPARE(requests.size(), size_t(1));
        QVERIFY(!requests[0].save);
        QCOMPARE(requests[0].title, QStringLiteral("兵器データの読み込み"));
        QCOMPARE(requests[0].filter, QStringLiteral("ﾕﾆｯﾄﾃﾞｰﾀﾌｧｲﾙ (*.sui)|*.sui|全てのﾌｧｲﾙ (*.*)|*.*||"));
        QCOMPARE(requests[0].initialName, QString());
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("0007にデータを読み込んでよろしいですか？"));
        QCOMPARE(shown[0].icon, MsgIcon::Question);
        QCOMPARE(shown[0].buttons, MsgButtons::OkCancel);

        QCOMPARE(host.table.record(7).bytes, incoming.bytes);
        QCOMPARE(host.table.record(300).bytes, before300.bytes);
        QCOMPARE(lb::text(&host.list, 7), QStringLiteral("0007:") + kName24);
        QCOMPARE(lb::itemData(&host.list, 7), 7);
        QCOMPARE(lb::count(&host.list), kUnitCount);
        QCOMPARE(host.currentUnit(), 7);
        QCOMPARE(host.shown, std::vector<int>{7});
        QCOMPARE(Setting("UnitInfoLoadDir"), m_dir.path() + u'/');
    }

    void cancelAtTheQuestionOnlyRemembersTheFolder()
    {
        FakeHost host;
        host.selectUnitInList(300);
        const UnitTable before = host.table;
        const QString file = path(QStringLiteral("unit0007.sui"));
        WriteAll(file, UnitFile(143, 7, NamedRecord(kName24, 7)));

        service().queueFile(file);
        service().queueAnswer(MsgAnswer::Cancel);
        ImportUnit(host);
        QCOMPARE(service().takeShown().size(), size_t(1));
        QVERIFY(std::equal(before.image().begin(), before.image().end(), host.table.image().begin()));
        QCOMPARE(lb::text(&host.list, 7), host.listText(7));
        QVERIFY(lb::text(&host.list, 7).startsWith(QStringLiteral("0007:兵器7")));
        QCOMPARE(host.currentUnit(), 300);
        QVERIFY(host.shown.empty());

        ImportUnit(host);
        QCOMPARE(service().takeFileRequests().at(1).initialFolder, m_dir.path() + u'/');
    }

    void importRefusesWhatCannotBeUsed_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("message");
        const QByteArray good = UnitFile(143, 5, NamedRecord(QStringLiteral("良い兵器"), 5));
        const QString failed = QStringLiteral("読み込みに失敗しました");
        const QString unusable = QStringLiteral("このデータは使用できません");
        QTest::newRow("missing file") << QByteArray() << false << failed;
        QTest::newRow("unit 1280") << UnitFile(143, 1280, NamedRecord(QStringLiteral("x"), 1)) << true << unusable;
        QTest::newRow("tag 0") << UnitFile(0, 5, NamedRecord(QStringLiteral("x"), 1)) << true << unusable;
        QTest::newRow("153 bytes") << good.left(153) << true << unusable;
        QTest::newRow("empty file") << QByteArray() << true << unusable;
    }

    void importRefusesWhatCannotBeUsed()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        QFETCH(QString, message);
        FakeHost host;
        const UnitTable before = host.table;
        const QString file = path(QStringLiteral("refused.sui"));
        QFile::remove(file);
        if (exists)
            WriteAll(file, content);
        service().queueFile(file);
        ImportUnit(host);
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, message);
        QCOMPARE(shown[0].icon, MsgIcon::Stop);
        QVERIFY(std::equal(before.image().begin(), before.image().end(), host.table.image().begin()));
        QVERIFY(host.shown.empty());
        QCOMPARE(Setting("UnitInfoLoadDir"), m_dir.path() + u'/');
    }

    void importAcceptsTheLastUnitAndIgnoresTheReservedBytes()
    {
        FakeHost host;
        QByteArray data = UnitFile(143, 1279, NamedRecord(QStringLiteral("最後"), 3));
        for (int i = 4; i < 16; ++i)
            data[i] = char(0x5A);
        data.append(QByteArray(50, 'x'));  // a longer file: only its first 154 bytes count
        WriteAll(path(QStringLiteral("last.sui")), data);
        service().queueFile(path(QStringLiteral("last.sui")));
        ImportUnit(host);
        QCOMPARE(service().takeShown().at(0).text, QStringLiteral("1279にデータを読み込んでよろしいですか？"));
        QCOMPARE(host.table.record(1279).bytes, NamedRecord(QStringLiteral("最後"), 3).bytes);
        QCOMPARE(host.currentUnit(), 1279);
    }

    void exportChangeAndImportRestoresTheExportedBytes()
    {
        FakeHost host;
        host.selectUnitInList(42);
        const UnitRecord exported = host.table.record(42);
        service().queueFile(path(QStringLiteral("unit0042.sui")));
        ExportUnit(host);

        host.table.record(42).setPrice(123456);
        host.table.record(42).setName(Cp932(QStringLiteral("変更後")));
        host.RefreshUnitListEntry(42);
        host.selectUnitInList(3);

        service().queueFile(path(QStringLiteral("unit0042.sui")));
        ImportUnit(host);
        QCOMPARE(host.table.record(42).bytes, exported.bytes);
        QCOMPARE(lb::text(&host.list, 42), host.listText(42));
        QCOMPARE(host.currentUnit(), 42);
    }

    // ---- bulk import ----

    void bulkImportOfGoodMissingAndUnusableFiles()
    {
        FakeHost host;
        host.selectUnitInList(100);
        const UnitRecord good = NamedRecord(QStringLiteral("第五兵器"), 5);
        QDir(m_dir.path()).mkpath(QStringLiteral("bulk1"));
        WriteAll(path(QStringLiteral("bulk1/unit0005.sui")), UnitFile(143, 5, good));
        WriteAll(path(QStringLiteral("bulk1/zero.sui")), UnitFile(0, 33, NamedRecord(QStringLiteral("壊れた"), 1)));
        WriteAll(path(QStringLiteral("bulk1/units.cmd")), "unit0005.sui\r\nmissing.sui\r\nzero.sui\r\n");
        const UnitRecord before33 = host.table.record(33);

        service().queueFile(path(QStringLiteral("bulk1/units.cmd")));
        Confirmation confirmation;
        AnswerConfirmation(confirmation, 1);
        BulkImportUnits(host);

        QVERIFY(confirmation.seen);
        QCOMPARE(confirmation.listed, (QStringList{QStringLiteral("0005:第五兵器"), QStringLiteral("0033:壊れた")}));
        const auto requests = service().takeFileRequests();
        QCOMPARE(requests.size(), size_t(1));
        QVERIFY(!requests[0].save);
        QCOMPARE(requests[0].title, QStringLiteral("兵器データの一括読み込み"));
        QCOMPARE(requests[0].filter, QStringLiteral("ｺﾏﾝﾄﾞﾌｧｲﾙ (*.cmd)|*.cmd|全てのﾌｧｲﾙ (*.*)|*.*||"));
        QCOMPARE(requests[0].initialName, QString());

        QCOMPARE(host.table.record(5).bytes, good.bytes);
        QCOMPARE(host.table.record(33).bytes, before33.bytes);
        QCOMPARE(lb::text(&host.list, 5), QStringLiteral("0005:第五兵器"));
        QCOMPARE(host.currentUnit(), 5);
        QCOMPARE(host.shown, std::vector<int>{5});
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("1個の兵器を正常に読み込み、2個の兵器の読み込みに失敗しました"));
        QCOMPARE(shown[0].icon, MsgIcon::Exclamation);
        QCOMPARE(Setting("UnitInfoLoadDir2"), path(QStringLiteral("bulk1/")));
    }

    void emptyCommandFileReadsNothing()
    {
        FakeHost host;
        host.selectUnitInList(100);
        WriteAll(path(QStringLiteral("empty.cmd")), QByteArray());
        service().queueFile(path(QStringLiteral("empty.cmd")));
        Confirmation confirmation;
        AnswerConfirmation(confirmation, 1);
        BulkImportUnits(host);
        QVERIFY(confirmation.seen);
        QVERIFY(confirmation.listed.isEmpty());
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("0個の兵器を読み込みました"));
        QCOMPARE(shown[0].icon, MsgIcon::Information);
        QCOMPARE(host.currentUnit(), 100);
        QVERIFY(host.shown.empty());
    }

    void laterFilesForTheSameUnitWinAndEveryLineCounts()
    {
        FakeHost host;
        QDir(m_dir.path()).mkpath(QStringLiteral("bulk2"));
        WriteAll(path(QStringLiteral("bulk2/a.sui")), UnitFile(143, 9, NamedRecord(QStringLiteral("一番目"), 1)));
        WriteAll(path(QStringLiteral("bulk2/b.sui")), UnitFile(143, 9, NamedRecord(QStringLiteral("二番目"), 2)));
        WriteAll(path(QStringLiteral("bulk2/c.sui")), UnitFile(143, 20, NamedRecord(QStringLiteral("三番目"), 3)));
        // The last unit imported comes before a failed line; the same file twice counts twice.
        WriteAll(path(QStringLiteral("bulk2/units.cmd")), "a.sui\nc.sui\nb.sui\nc.sui\n\nnone.sui");
        service().queueFile(path(QStringLiteral("bulk2/units.cmd")));
        Confirmation confirmation;
        AnswerConfirmation(confirmation, 1);
        BulkImportUnits(host);
        QCOMPARE(confirmation.listed,
                 (QStringList{QStringLiteral("0009:一番目"), QStringLiteral("0020:三番目"), QStringLiteral("0009:二番目"),
                              QStringLiteral("0020:三番目")}));
        QCOMPARE(host.table.record(9).bytes, NamedRecord(QStringLiteral("二番目"), 2).bytes);
        QCOMPARE(lb::text(&host.list, 9), QStringLiteral("0009:二番目"));
        QCOMPARE(host.currentUnit(), 20);
        QCOMPARE(host.shown, std::vector<int>{20});
        QCOMPARE(service().takeShown().at(0).text, QStringLiteral("4個の兵器を正常に読み込み、2個の兵器の読み込みに失敗しました"));
    }

    void linesWrittenOnWindowsReachSubfoldersAndParents()
    {
        FakeHost host;
        QDir(m_dir.path()).mkpath(QStringLiteral("bulk3/cmd/sub"));
        QDir(m_dir.path()).mkpath(QStringLiteral("bulk3/shared"));
        WriteAll(path(QStringLiteral("bulk3/cmd/sub/unit0005.sui")), UnitFile(143, 5, NamedRecord(QStringLiteral("下"), 1)));
        WriteAll(path(QStringLiteral("bulk3/shared/unit0010.sui")), UnitFile(143, 10, NamedRecord(QStringLiteral("上"), 2)));
        // "表" ends in the byte 5C; a line that is no code page 932 text fails on its own.
        QDir(m_dir.path()).mkpath(QStringLiteral("bulk3/cmd/表"));
        WriteAll(path(QStringLiteral("bulk3/cmd/表/UNIT0011.SUI")), UnitFile(143, 11, NamedRecord(QStringLiteral("表"), 3)));
        WriteAll(path(QStringLiteral("bulk3/cmd/units.cmd")),
                 "sub\\unit0005.sui\r\n..\\shared\\unit0010.sui\r\n\x95\x5c\\unit0011.sui\r\nbad\x81.sui\r\n");
        service().queueFile(path(QStringLiteral("bulk3/cmd/units.cmd")));
        Confirmation confirmation;
        AnswerConfirmation(confirmation, 1);
        BulkImportUnits(host);
        QCOMPARE(confirmation.listed,
                 (QStringList{QStringLiteral("0005:下"), QStringLiteral("0010:上"), QStringLiteral("0011:表")}));
        QCOMPARE(FromCp932(host.table.record(5).nameText()), QStringLiteral("下"));
        QCOMPARE(FromCp932(host.table.record(10).nameText()), QStringLiteral("上"));
        QCOMPARE(FromCp932(host.table.record(11).nameText()), QStringLiteral("表"));
        QCOMPARE(host.currentUnit(), 11);
        QCOMPARE(service().takeShown().at(0).text, QStringLiteral("3個の兵器を正常に読み込み、1個の兵器の読み込みに失敗しました"));
    }

    void linesInAnotherLetterCaseImportEveryFile()
    {
#ifdef Q_OS_WIN
        QSKIP("two file names that differ only in letter case cannot both exist on Windows");
#endif
        FakeHost host;
        writeMixedCaseFolder();
        // Of two names differing only in case, a line spelled exactly like one reads that one; any
        // other spelling reads the first in byte order (capitals first): TWIN.SUI.
        WriteAll(path(QStringLiteral("bulk5/units.cmd")),
                 "unit0001.sui\r\nUNIT0002.SUI\r\nSUB\\UNIT0003.SUI\r\ntwin.sui\r\nTwin.Sui\r\nTWIN.SUI\r\n");
        service().queueFile(path(QStringLiteral("bulk5/units.cmd")));
        Confirmation confirmation;
        AnswerConfirmation(confirmation, 1);
        BulkImportUnits(host);
        QCOMPARE(confirmation.listed,
                 (QStringList{QStringLiteral("0001:大文字"), QStringLiteral("0002:小文字"), QStringLiteral("0003:混在"),
                              QStringLiteral("0005:小さい方"), QStringLiteral("0004:大きい方"), QStringLiteral("0004:大きい方")}));
        QCOMPARE(FromCp932(host.table.record(1).nameText()), QStringLiteral("大文字"));
        QCOMPARE(FromCp932(host.table.record(2).nameText()), QStringLiteral("小文字"));
        QCOMPARE(FromCp932(host.table.record(3).nameText()), QStringLiteral("混在"));
        QCOMPARE(FromCp932(host.table.record(4).nameText()), QStringLiteral("大きい方"));
        QCOMPARE(FromCp932(host.table.record(5).nameText()), QStringLiteral("小さい方"));
        QCOMPARE(host.currentUnit(), 4);
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QStringLiteral("6個の兵器を読み込みました"));
        QCOMPARE(shown[0].icon, MsgIcon::Information);
    }

    void singleImportOfANameInAnotherLetterCaseReadsWhatTheBulkImportReads()
    {
#ifdef Q_OS_WIN
        QSKIP("two file names that differ only in letter case cannot both exist on Windows");
#endif
        FakeHost host;
        writeMixedCaseFolder();
        for (const auto& [typed, unit] : {std::pair{"bulk5/Twin.Sui", 4}, {"bulk5/twin.sui", 5}, {"bulk5/unit0001.SUI", 1}}) {
            service().queueFile(path(QString::fromLatin1(typed)));
            ImportUnit(host);
            const auto shown = service().takeShown();
            QCOMPARE(shown.size(), size_t(1));
            QCOMPARE(shown[0].text, QStringLiteral("%1にデータを読み込んでよろしいですか？").arg(unit, 4, 10, QLatin1Char('0')));
            QCOMPARE(host.currentUnit(), unit);
        }
        QCOMPARE(Setting("UnitInfoLoadDir"), path(QStringLiteral("bulk5/")));
    }

    void allLinesFailingLeavesTheSelection()
    {
        FakeHost host;
        host.selectUnitInList(64);
        WriteAll(path(QStringLiteral("fails.cmd")), "no1.sui\nno2.sui\nrefused.sui\ncut.sui\n");
        WriteAll(path(QStringLiteral("refused.sui")), UnitFile(143, 4000, NamedRecord(QStringLiteral("x"), 1)));
        // A file cut short is listed like any file that can be read, and fails like an unusable one.
        WriteAll(path(QStringLiteral("cut.sui")), UnitFile(143, 6, NamedRecord(QStringLiteral("y"), 1)).left(30));
        service().queueFile(path(QStringLiteral("fails.cmd")));
        Confirmation confirmation;
        AnswerConfirmation(confirmation, 1);
        BulkImportUnits(host);
        QCOMPARE(confirmation.listed, (QStringList{QStringLiteral("4000:x"), QStringLiteral("0006:y")}));
        const auto shown = service().takeShown();
        QCOMPARE(shown.at(0).text, QStringLiteral("0個の兵器を正常に読み込み、4個の兵器の読み込みに失敗しました"));
        QCOMPARE(shown.at(0).icon, MsgIcon::Exclamation);
        QCOMPARE(host.currentUnit(), 64);
        QVERIFY(host.shown.empty());
    }

    void cancelledConfirmationImportsNothingButRemembersTheFolder()
    {
        FakeHost host;
        const UnitTable before = host.table;
        QDir(m_dir.path()).mkpath(QStringLiteral("bulk4"));
        WriteAll(path(QStringLiteral("bulk4/unit0005.sui")), UnitFile(143, 5, NamedRecord(QStringLiteral("第五"), 5)));
        WriteAll(path(QStringLiteral("bulk4/units.cmd")), "unit0005.sui\n");
        service().queueFile(path(QStringLiteral("bulk4/units.cmd")));
        Confirmation confirmation;
        AnswerConfirmation(confirmation, 2);
        BulkImportUnits(host);
        QVERIFY(confirmation.seen);
        QVERIFY(service().takeShown().empty());
        QVERIFY(std::equal(before.image().begin(), before.image().end(), host.table.image().begin()));
        QCOMPARE(Setting("UnitInfoLoadDir2"), path(QStringLiteral("bulk4/")));

        BulkImportUnits(host);  // cancelled file dialog
        const auto requests = service().takeFileRequests();
        QCOMPARE(requests.at(1).initialFolder, path(QStringLiteral("bulk4/")));
    }

    // The Open dialog of the bulk import takes a typed name of a file that does not exist; the
    // command then reports that it cannot open it, while filling the list and again on OK.
    void commandFileThatCannotBeOpenedIsReportedTwice()
    {
        FakeHost host;
        BulkImportUnits(host);  // the dialog the command asks for, cancelled
        const auto requests = service().takeFileRequests();
        QCOMPARE(requests.size(), size_t(1));
        QFileDialog dialog;
        FileDialogRequest request = requests[0];
        request.initialFolder = m_dir.path();
        MessageService::prepareFileDialog(dialog, request);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("nothing-here.cmd"));
        // A dialog that insists on an existing file says so in a box of its own: close it.
        bool refused = false;
        QTimer::singleShot(500, &dialog, [&refused] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                refused = true;
                box->reject();
            }
        });
        QTest::keyClick(name, Qt::Key_Return);
        QVERIFY(!refused);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.selectedFiles(), QStringList{path(QStringLiteral("nothing-here.cmd"))});

        service().queueFile(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
        Confirmation confirmation;
        AnswerConfirmation(confirmation, 1);
        BulkImportUnits(host);
        QVERIFY(confirmation.seen);
        QVERIFY(confirmation.listed.isEmpty());
        const auto shown = service().takeShown();
        QCOMPARE(shown.size(), size_t(2));
        for (const auto& message : shown) {
            QCOMPARE(message.text, QStringLiteral("コマンドファイルのオープンに失敗しました"));
            QCOMPARE(message.icon, MsgIcon::Stop);
        }
        QVERIFY(host.shown.empty());
    }
};

QTEST_MAIN(ExchangeCommandsTest)
#include "ExchangeCommandsTest.moc"
