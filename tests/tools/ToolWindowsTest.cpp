// The three tool windows beside the main dialog: movement set, producing countries, unknown data.

#include "support/GuiTest.h"
#include "tools/ToolTestSupport.h"
#include "tools/ToolIds.h"

#include "app/SettingsStore.h"
#include "data/UnitRecord.h"
#include "framework/Controls.h"
#include "framework/MessageService.h"
#include "res/Strings.h"
#include "tools/EtcDlg.h"
#include "tools/ProductDlg.h"
#include "tools/SpeedDlg.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QLineEdit>
#include <QTemporaryDir>

#include <functional>
#include <vector>

namespace {

// The producing-countries window made, then captioned from the folder's prokind.dat as the main
// dialog does it (a file that cannot be read gives its message and no captions).
void openWithTypesOf(CProductDlg& window, const QTemporaryDir& folder)
{
    window.Create();
    if (const auto types = CProductDlg::ReadProductionTypes(folder.path() + u'/'))
        window.SetProductionTypes(*types);
}

std::unique_ptr<MoveCostTable> MakeMoveCosts()
{
    // Cost i of set s is (s + i) % 256.
    auto table = std::make_unique<MoveCostTable>();
    for (int s = 0; s < MoveCostTable::kSetCount; ++s)
        for (int i = 0; i < kTerrainCount; ++i)
            table->image()[kTableHeadSize + MoveCostTable::kSetSize * s + i] = static_cast<std::uint8_t>((s + i) % 256);
    return table;
}

QStringList CostBoxes(CSpeedDlg& window)
{
    QStringList texts;
    for (int i = 0; i < kTerrainCount; ++i)
        texts << window.edit(tool::kCostFirst + i)->text();
    return texts;
}

QStringList Costs(int set)
{
    QStringList texts;
    for (int i = 0; i < kTerrainCount; ++i)
        texts << QString::number(set < MoveCostTable::kSetCount ? (set + i) % 256 : 0);
    return texts;
}

UnitRecord RecordWithSet(int set)
{
    UnitRecord record;
    record.setMoveSet(static_cast<std::uint8_t>(set));
    return record;
}

std::vector<int> TickedTypes(CProductDlg& window)
{
    std::vector<int> ticked;
    for (int k = 0; k < CProductDlg::kTypeCount; ++k)
        if (window.button(tool::ProductBox(k))->isChecked())
            ticked.push_back(k);
    return ticked;
}

// prokind.dat bytes: head, then 32 entries of 4 unused bytes and a 24-byte name.
QByteArray Prokind(const std::vector<std::string>& names)
{
    QByteArray bytes(int(CProductDlg::kReadSize), '\0');
    for (int i = 0; i < 16; ++i)
        bytes[i] = char(0xA0 + i);
    for (size_t k = 0; k < names.size() && k < 32; ++k) {
        const int offset = int(16 + 28 * k);
        bytes[offset] = char(0x7F);  // not used
        const std::string& name = names[k];
        for (size_t i = 0; i < name.size() && i < 24; ++i)
            bytes[offset + 4 + int(i)] = name[i];
    }
    return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QStringList DataBoxes(CEtcDlg& window)
{
    QStringList texts;
    for (int id = tool::kDataFirst; id < tool::kDataFirst + 12; ++id)
        texts << window.edit(id)->text();
    return texts;
}

}  // namespace

class ToolWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }
    void init() { guitest::resetSettings(); }

    // ---- movement set ----

    void setListShowsTheUnitsSet()
    {
        auto costs = MakeMoveCosts();
        CSpeedDlg window;
        window.setMoveCostTable(costs.get());
        window.Create();
        QListWidget* sets = window.list(tool::kSetList);
        QCOMPARE(lb::count(sets), 175);
        QCOMPARE(lb::text(sets, 173), QStringLiteral("173"));
        QCOMPARE(lb::text(sets, 174), QStringLiteral("255"));
        QCOMPARE(lb::itemData(sets, 174), 255);
        QCOMPARE(lb::curSel(sets), -1);  // nothing until a unit is shown

        window.ShowUnitSet(RecordWithSet(0));
        QCOMPARE(lb::curSel(sets), 0);
        QCOMPARE(CostBoxes(window), Costs(0));
        window.ShowUnitSet(RecordWithSet(173));
        QCOMPARE(lb::curSel(sets), 173);
        QCOMPARE(CostBoxes(window), Costs(173));
        QCOMPARE(window.CollectUnitSet(), std::uint8_t(173));
    }

    void setWithoutTableRowStaysUnlessPicked()
    {
        auto costs = MakeMoveCosts();
        CSpeedDlg window;
        window.setMoveCostTable(costs.get());
        window.Create();
        window.show();
        QListWidget* sets = window.list(tool::kSetList);

        window.ShowUnitSet(RecordWithSet(200));
        QCOMPARE(lb::curSel(sets), 174);
        QCOMPARE(CostBoxes(window), Costs(200));
        QCOMPARE(window.CollectUnitSet(), std::uint8_t(200));

        // Picking "255" by hand stores 255, though it is the entry already selected: a click on it,
        // Space, or a key that cannot move past the last entry.
        const std::vector<std::function<void()>> picks{
            [&] { tooltest::ClickRow(sets, 174); },
            [&] { QTest::keyClick(sets, Qt::Key_Space); },
            [&] { QTest::keyClick(sets, Qt::Key_Down); },
            [&] { QTest::keyClick(sets, Qt::Key_End); },
        };
        for (const auto& pick : picks) {
            window.ShowUnitSet(RecordWithSet(200));
            pick();
            QCOMPARE(lb::curSel(sets), 174);
            QCOMPARE(window.currentSet, 255);
            QCOMPARE(CostBoxes(window), Costs(255));
            QCOMPARE(window.CollectUnitSet(), std::uint8_t(255));
        }
    }

    void pickingASetShowsItsCostsAtOnce()
    {
        auto costs = MakeMoveCosts();
        CSpeedDlg window;
        window.setMoveCostTable(costs.get());
        window.Create();
        window.show();
        window.ShowUnitSet(RecordWithSet(3));
        QListWidget* sets = window.list(tool::kSetList);
        tooltest::ClickRow(sets, 12);
        QCOMPARE(CostBoxes(window), Costs(12));
        QTest::keyClick(sets, Qt::Key_Down);
        QCOMPARE(window.currentSet, 13);
        QCOMPARE(CostBoxes(window), Costs(13));
        // Showing another unit discards the pick.
        window.ShowUnitSet(RecordWithSet(3));
        QCOMPARE(window.CollectUnitSet(), std::uint8_t(3));
    }

    void typedCostsAreRefusedButTheSetIsCollected()
    {
        auto costs = MakeMoveCosts();
        CSpeedDlg window;
        window.setMoveCostTable(costs.get());
        window.Create();
        window.ShowUnitSet(RecordWithSet(7));
        window.edit(1230)->setText(QStringLiteral("abc"));
        QCOMPARE(window.CollectUnitSet(), std::uint8_t(7));
        const auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QString::fromUtf8(str::kParseInt));
        window.ShowUnitSet(RecordWithSet(7));
        QCOMPARE(CostBoxes(window), Costs(7));
    }

    // ---- producing countries ----

    void maskShowsFirstAndLastType()
    {
        CProductDlg window;
        window.Create();
        UnitRecord record;
        record.bytes[110] = 0x01;
        record.bytes[113] = 0x80;
        window.ShowUnitMask(record);
        QCOMPARE(TickedTypes(window), (std::vector<int>{0, 31}));
        QCOMPARE(window.button(1219)->isChecked(), true);
        QCOMPARE(window.button(1251)->isChecked(), true);
        QCOMPARE(window.CollectUnitMask(), 0x80000001u);
    }

    void tickingTypeTenSetsBitTwoOfTheSecondByte()
    {
        CProductDlg window;
        window.Create();
        window.show();
        UnitRecord record;
        record.setProductionFlags(0x80000001u);
        window.ShowUnitMask(record);
        QAbstractButton* box = window.button(tool::ProductBox(10));
        QCOMPARE(box->objectName(), QStringLiteral("1229"));
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        UnitRecord applied = record;
        applied.setProductionFlags(window.CollectUnitMask());
        QCOMPARE(applied.bytes[110], std::uint8_t(0x01));
        QCOMPARE(applied.bytes[111], std::uint8_t(0x04));
        QCOMPARE(applied.bytes[112], std::uint8_t(0x00));
        QCOMPARE(applied.bytes[113], std::uint8_t(0x80));
        // Unticking the old ones clears them: every bit comes from the boxes.
        QTest::mouseClick(window.button(1219), Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        QCOMPARE(window.CollectUnitMask(), 0x80000400u);
    }

    void captionsComeFromProkind()
    {
        QTemporaryDir folder;
        std::vector<std::string> names;
        for (int k = 0; k < 32; ++k)
            names.push_back(tooltest::Cp932("国") + std::to_string(k));
        names[15] = tooltest::Cp932("北方諸島自由都市連合王国");  // 24 bytes, no terminator
        names[3] = "R&D";
        // The name is looked up whatever its case.
        WriteFile(folder.filePath(QStringLiteral("PROKIND.DAT")), Prokind(names));

        CProductDlg window;
        openWithTypesOf(window, folder);
        QVERIFY(MessageService::instance().takeShown().empty());
        QCOMPARE(window.button(1219)->text(), QStringLiteral("国0"));
        QCOMPARE(window.button(tool::ProductBox(15))->text(), QStringLiteral("北方諸島自由都市連合王国"));
        QCOMPARE(window.button(tool::ProductBox(3))->text().remove(u'&'), QStringLiteral("RD"));
        QCOMPARE(window.button(tool::ProductBox(3))->text(), QStringLiteral("R&&D"));
        QCOMPARE(window.button(1251)->text(), QStringLiteral("国31"));
    }

    void missingProkindKeepsTemplateCaptions()
    {
        QTemporaryDir folder;
        CProductDlg window;
        openWithTypesOf(window, folder);
        const auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QString::fromUtf8(str::kProkindOpenFailed));
        QCOMPARE(shown[0].icon, MsgIcon::Stop);
        QCOMPARE(window.button(1219)->text(), QStringLiteral("アメリカ"));
        QCOMPARE(window.button(1220)->text(), QStringLiteral("イギリス"));
        QCOMPARE(window.button(1233)->text(), QStringLiteral("マイナーリーグ"));
        QCOMPARE(window.button(1251)->text(), QStringLiteral("オリジナル"));

        // The mask still works.
        UnitRecord record;
        record.setProductionFlags(0x00010002u);
        window.ShowUnitMask(record);
        QCOMPARE(TickedTypes(window), (std::vector<int>{1, 16}));
        QCOMPARE(window.CollectUnitMask(), 0x00010002u);

        // A folder of that name cannot be read either.
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("prokind.dat")));
        CProductDlg second;
        openWithTypesOf(second, folder);
        QCOMPARE(MessageService::instance().takeShown().size(), size_t(1));
        QCOMPARE(second.button(1219)->text(), QStringLiteral("アメリカ"));

#ifdef Q_OS_LINUX
        // Nor a file that opens but fails to read (EIO).
        QVERIFY(QDir(folder.path()).rmdir(QStringLiteral("prokind.dat")));
        QVERIFY(QFile::link(QStringLiteral("/proc/self/mem"), folder.filePath(QStringLiteral("prokind.dat"))));
        CProductDlg third;
        openWithTypesOf(third, folder);
        const auto shownThird = MessageService::instance().takeShown();
        QCOMPARE(shownThird.size(), size_t(1));
        QCOMPARE(shownThird[0].text, QString::fromUtf8(str::kProkindOpenFailed));
        QCOMPARE(third.button(1219)->text(), QStringLiteral("アメリカ"));
#endif
    }

    void shortProkindCaptionsOnlyWhatItHolds()
    {
        QTemporaryDir folder;
        std::vector<std::string> names{"A0", "A1", "A2", "A3"};
        // Ends inside the name of type 3: types 0 to 2 come from the file, 3 onwards keep the template's.
        WriteFile(folder.filePath(QStringLiteral("prokind.dat")), Prokind(names).left(16 + 28 * 3 + 6));
        CProductDlg window;
        openWithTypesOf(window, folder);
        QVERIFY(MessageService::instance().takeShown().empty());
        QCOMPARE(window.button(1221)->text(), QStringLiteral("A2"));
        QCOMPARE(window.button(1222)->text(), QStringLiteral("ドイツ"));
        QCOMPARE(window.button(1251)->text(), QStringLiteral("オリジナル"));

        // An empty file: every caption stays.
        WriteFile(folder.filePath(QStringLiteral("prokind.dat")), QByteArray());
        CProductDlg empty;
        openWithTypesOf(empty, folder);
        QCOMPARE(empty.button(1219)->text(), QStringLiteral("アメリカ"));
    }

    // ---- unknown data ----

    void unknownDataShowsAndWritesBackUnchanged()
    {
        CEtcDlg window;
        window.Create();
        UnitRecord record;
        for (size_t i = 0; i < record.bytes.size(); ++i)
            record.bytes[i] = static_cast<std::uint8_t>(i * 3 + 1);
        record.bytes[122] = 0xFF;
        record.bytes[123] = 0xFF;
        window.ShowUnitData(record);
        QCOMPARE(DataBoxes(window), (QStringList{"145", "102", "108", "-1", "126", "129", "132", "141", "144", "150", "153", "156"}));

        UnitRecord applied;  // a different record: all twelve fields are written
        window.CollectUnitData(applied);
        for (int offset : {48, 119, 121, 122, 123, 127, 128, 129, 132, 133, 135, 136, 137})
            QCOMPARE(applied.bytes[offset], record.bytes[offset]);
        UnitRecord untouched = record;
        window.CollectUnitData(untouched);
        QCOMPARE(untouched.bytes, record.bytes);
        QVERIFY(MessageService::instance().takeShown().empty());
    }

    void refusedByteStopsTheExchangeInItsOrder()
    {
        CEtcDlg window;
        window.Create();
        UnitRecord record;
        record.setData00(10);
        record.setData01(11);
        record.setData02(12);
        record.setData03(13);
        record.setData04(14);
        record.setData05(15);
        record.setData06(16);
        record.setData11(21);
        window.ShowUnitData(record);

        const std::array<const char*, 12> typed{"100", "101", "102", "103", "104", "256", "106", "107", "108", "109", "110", "111"};
        for (int i = 0; i < 12; ++i)
            window.edit(tool::kDataFirst + i)->setText(QString::fromLatin1(typed[i]));
        UnitRecord applied = record;
        window.CollectUnitData(applied);

        const auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QString::fromUtf8(str::kParseByte));
        // data01, data00, data02 and data04 come before data05 in the exchange order.
        QCOMPARE(applied.data01(), std::uint8_t(101));
        QCOMPARE(applied.data00(), std::uint8_t(100));
        QCOMPARE(applied.data02(), std::uint8_t(102));
        QCOMPARE(applied.data04(), std::uint8_t(104));
        // data05 and everything after it keep the shown values.
        QCOMPARE(applied.data05(), std::uint8_t(15));
        QCOMPARE(applied.data06(), std::uint8_t(16));
        QCOMPARE(applied.data11(), std::uint8_t(21));
        QCOMPARE(applied.data03(), std::int16_t(13));
        QCOMPARE(window.edit(1269)->selectedText(), QStringLiteral("256"));
    }

    void data03IsSigned()
    {
        CEtcDlg window;
        window.Create();
        UnitRecord record;
        window.ShowUnitData(record);
        window.edit(1267)->setText(QStringLiteral("65535"));
        UnitRecord applied = record;
        window.CollectUnitData(applied);
        auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QString::fromUtf8(str::kParseInt));
        QCOMPARE(applied.data03(), std::int16_t(0));

        window.edit(1267)->setText(QStringLiteral(" -2 "));
        window.CollectUnitData(applied);
        QVERIFY(MessageService::instance().takeShown().empty());
        QCOMPARE(applied.bytes[122], std::uint8_t(0xFE));
        QCOMPARE(applied.bytes[123], std::uint8_t(0xFF));

        window.edit(1264)->setText(QStringLiteral("-1"));
        window.CollectUnitData(applied);
        QCOMPARE(MessageService::instance().takeShown().size(), size_t(1));
    }

    // ---- all three: closing only hides, positions ----

    void closeBoxEscapeAndEnterOnlyHide()
    {
        QWidget owner;
        CEtcDlg window(&owner);
        QVERIFY(window.windowFlags() & Qt::Tool);
        QCOMPARE(window.parentWidget(), &owner);
        window.Create();
        UnitRecord record;
        record.setData05(5);
        window.ShowUnitData(record);

        window.show();
        window.close();
        QVERIFY(!window.isVisible());
        window.show();
        QTest::keyClick(window.edit(1264), Qt::Key_Escape);
        QVERIFY(!window.isVisible());

        // Enter takes the boxes back first and stays open when one is refused.
        window.show();
        window.edit(1269)->setText(QStringLiteral("300"));
        QTest::keyClick(window.edit(1269), Qt::Key_Return);
        QVERIFY(window.isVisible());
        QCOMPARE(MessageService::instance().takeShown().size(), size_t(1));
        window.edit(1269)->setText(QStringLiteral("9"));
        QTest::keyClick(window.edit(1269), Qt::Key_Return);
        QVERIFY(!window.isVisible());
        UnitRecord applied;
        window.CollectUnitData(applied);
        QCOMPARE(applied.data05(), std::uint8_t(9));  // hidden, not destroyed: the values stay

        // Enter on a check box of the producing-countries window hides it too.
        CProductDlg product(&owner);
        product.Create();
        product.show();
        QTest::keyClick(product.button(1225), Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(!product.isVisible());
    }

    void positionsAreRestoredAndSaved()
    {
        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgLeft"), 700);
        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), 40);
        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgRight"), 5);     // never read
        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgBottom"), 5);
        WriteSettingInt(kInitData, QStringLiteral("EtcDlgLeft"), -30);      // used as stored
        WriteSettingInt(kInitData, QStringLiteral("EtcDlgTop"), 400);
        QWidget owner;
        CSpeedDlg speed(&owner);
        CEtcDlg etc(&owner);
        CProductDlg product(&owner);
        speed.Create();
        etc.Create();
        product.Create();
        // The corners are read at creation and taken when a window is first shown; the windows
        // never shown (etc, product) take theirs when they are destroyed, and store them.
        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgLeft"), 1);
        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), 1);
        speed.show();
        QCOMPARE(speed.pos(), QPoint(700, 40));
        QCOMPARE(speed.height(), speed.dialogRect(0, 0, 115, 87).height());
        QVERIFY(speed.width() >= speed.dialogRect(0, 0, 115, 87).width());

        speed.move(650, 60);
        speed.hide();  // a hidden window saves its position too
        speed.DestroyWindow();
        etc.DestroyWindow();
        product.DestroyWindow();
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgLeft"), 0), 650);
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), 0), 60);
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgRight"), 0), 650 + speed.frameGeometry().width());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgBottom"), 0), 60 + speed.frameGeometry().height());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("EtcDlgLeft"), 0), -30);
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("EtcDlgTop"), 0), 400);
        QVERIFY(ReadSettingInt(kInitData, QStringLiteral("ProductDlgTop"), -1) >= 0);
        QVERIFY(ReadSettingInt(kInitData, QStringLiteral("ProductDlgRight"), -1) > 0);
    }

    // A stored corner off every screen (a monitor that is gone): the window comes onto the nearest
    // screen when shown; the stored values change only when the user moves it.
    void windowStoredOffEveryScreenComesOntoIt()
    {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        for (const QPoint stored : {QPoint(5000, 3000), QPoint(-2000, 40), QPoint(available.right() - 2, -900)}) {
            guitest::resetSettings();
            WriteSettingInt(kInitData, QStringLiteral("SpeedDlgLeft"), stored.x());
            WriteSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), stored.y());
            CSpeedDlg speed;
            speed.Create();
            speed.show();
            QTRY_VERIFY2(available.contains(speed.frameGeometry()), qPrintable(QStringLiteral("%1,%2").arg(stored.x()).arg(stored.y())));
            speed.DestroyWindow();
            QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgLeft"), 0), stored.x());
            QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), 0), stored.y());
        }
        // Moved by the user, it stores where it went.
        WriteSettingInt(kInitData, QStringLiteral("EtcDlgLeft"), 5000);
        CEtcDlg etc;
        etc.Create();
        etc.show();
        etc.move(available.topLeft() + QPoint(30, 50));
        etc.DestroyWindow();
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("EtcDlgLeft"), 0), available.left() + 30);
    }

    void withoutStoredPositionsTheyStackBesideTheOwner()
    {
        QWidget owner;
        owner.setGeometry(0, 0, 300, 420);
        CSpeedDlg speed(&owner);
        CProductDlg product(&owner);
        CEtcDlg etc(&owner);
        speed.Create();
        product.Create();
        etc.Create();
        speed.show();
        product.show();
        etc.show();
        const QRect ownerRect = owner.frameGeometry();
        for (CToolWindow* window : std::initializer_list<CToolWindow*>{&speed, &product, &etc})
            QVERIFY2(window->x() > ownerRect.right(), qPrintable(window->placementPrefix()));
        QVERIFY(speed.y() < product.y());
        QVERIFY(product.y() < etc.y());
        QVERIFY(speed.geometry().bottom() < product.geometry().top());
        QVERIFY(product.geometry().bottom() < etc.geometry().top());
    }
};

QTEST_MAIN(ToolWindowsTest)
#include "ToolWindowsTest.moc"
