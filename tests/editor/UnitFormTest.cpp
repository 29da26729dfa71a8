// The unit form: showing a record in the controls and applying the controls back, driven through
// the widgets (typing, clicking Apply, choosing in combos and lists) on the demo game folder.

#include "support/GuiTest.h"

#include "MainDialogFixture.h"
#include "editor/UnitFormIds.h"
#include "framework/Controls.h"
#include "framework/MessageService.h"

#include <QClipboard>
#include <QGuiApplication>

#include <bit>

namespace {

MessageService& messages() { return MessageService::instance(); }

std::string sjis(const char* utf8) { return ToCp932(QString::fromUtf8(utf8)).value(); }

// What applying a record without edits makes of it: the values the form cannot show are replaced
// as documented, the name's field is zero-filled after the name, and nothing else changes.
UnitRecord normalised(UnitRecord r)
{
    r.setName(r.nameText());
    if (r.kind() >= 128)
        r.setKind(255);
    if (r.altitude() >= 6)
        r.setAltitude(255);
    if (r.defenceType() >= 9)
        r.setDefenceType(255);
    if (r.carrierClass() != 0)
        r.setCarrierClass(std::uint8_t(1u << (std::bit_width(r.carrierClass()) - 1)));
    r.setSupplyFlags(r.supplyFlags() & 0x07);
    if (r.transformTarget() == 1)
        r.setTransformTarget(0);
    return r;
}

}  // namespace

class UnitFormTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }
    void init();
    void cleanup();

    void byteBoxesStoreTheLowEightBits();
    void priceShowsSignedAndGoesBackUnchanged();
    void transformTargetIsShownAsTheUnitNumber();
    void carrierClassShowsItsHighestBit();
    void valuesWithoutAnItemLeaveTheComboEmptyAndStore255();
    void supplyFlagsKeepOnlyTheirThreeBits();
    void nameEditHoldsTwentyFourBytes();
    void pastedNameKeepsItsFirstTwentyFourBytes();
    void untouchedNameGoesBackByteForByte();
    void nameWithACharacterOutsideTheCodePageIsRefused();
    void editedNameKeepsTheBytesLeftInPlace();
    void badIntegerStopsTheExchangeButApplyStores();
    void slotLinesShowTheWeaponTable();
    void applyStoresTheSlotListsWeapons();
    void kindComboRefreshesTheFlagsAndKeepsTyping();
    void moveSetBoxesShowButNeverStore();
    void categoryJumpsToItsFirstUnit();
    void transformButtonJumpsByTheStoredTarget();
    void selectingAnotherUnitDiscardsTyping();
    void applyRefreshesTheListEntryAndKeepsItSelected();
    void refreshingAListEntryDoesNotSelectIt();
    void slotListLosesItsHighlightWithTheFocus();
    void applyingEveryDemoUnitChangesOnlyWhatTheFormCannotShow();

private:
    // Puts a changed record into the table and shows it through its list entry.
    void showChanged(int unit, const std::function<void(UnitRecord&)>& change);
    UnitRecord& record(int unit) { return dialog->unitTable().record(unit); }
    QLineEdit* box(int id) { return dialog->edit(id); }
    void apply() { QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton); }

    std::unique_ptr<fixture::GameFolder> folder;
    std::unique_ptr<CMainDialog> dialog;
};

void UnitFormTest::init()
{
    guitest::resetSettings();
    folder = std::make_unique<fixture::GameFolder>();
    fixture::pointSettingsAt(*folder);
    dialog = fixture::openDialog();
    QVERIFY(dialog->isDataLoaded());
}

void UnitFormTest::cleanup()
{
    dialog.reset();
    folder.reset();
    messages().resetTestState();
}

void UnitFormTest::showChanged(int unit, const std::function<void(UnitRecord&)>& change)
{
    change(record(unit));
    dialog->RefreshUnitListEntry(unit);
    dialog->selectUnitInList(unit == 0 ? 1 : 0);
    fixture::clickListRow(dialog->list(form::kUnitList), unit);
    QCOMPARE(dialog->currentUnit(), unit);
}

void UnitFormTest::byteBoxesStoreTheLowEightBits()
{
    showChanged(30, [](UnitRecord&) {});
    fixture::typeInto(box(1006), QStringLiteral("256"));
    fixture::typeInto(box(1007), QStringLiteral("-1"));
    fixture::typeInto(box(1008), QStringLiteral(" 300 "));
    fixture::typeInto(box(form::kSearchFirst + 4), QStringLiteral("+7"));
    apply();
    QVERIFY(messages().takeShown().empty());
    QCOMPARE(record(30).defence(0), 0);
    QCOMPARE(record(30).defence(1), 255);
    QCOMPARE(record(30).defence(2), 44);
    QCOMPARE(record(30).search(4), 7);
    // After Apply the boxes show the stored values.
    QCOMPARE(box(1006)->text(), QStringLiteral("0"));
    QCOMPARE(box(1007)->text(), QStringLiteral("255"));
    QCOMPARE(box(1008)->text(), QStringLiteral("44"));
    // Fuel keeps sixteen bits.
    fixture::typeInto(box(form::kFuel[2]), QStringLiteral("65537"));
    apply();
    QCOMPARE(record(30).patternFuel(2), 1);
}

void UnitFormTest::priceShowsSignedAndGoesBackUnchanged()
{
    showChanged(40, [](UnitRecord& r) { r.setPrice(2147483648u); });
    QCOMPARE(box(form::kPrice)->text(), QStringLiteral("-2147483648"));
    apply();
    QCOMPARE(record(40).price(), 2147483648u);

    showChanged(41, [](UnitRecord& r) { r.setPrice(0xFFFFFFFFu); });
    QCOMPARE(box(form::kPrice)->text(), QStringLiteral("-1"));
    apply();
    QCOMPARE(record(41).price(), 0xFFFFFFFFu);

    fixture::typeInto(box(form::kPrice), QStringLiteral("1000"));
    apply();
    const auto& bytes = record(41).bytes;
    QCOMPARE(std::vector<int>(bytes.begin() + 114, bytes.begin() + 118), std::vector<int>({0xE8, 0x03, 0x00, 0x00}));
    // Beyond the range of a signed 32-bit number the box is refused.
    fixture::typeInto(box(form::kPrice), QStringLiteral("4294967295"));
    apply();
    QCOMPARE(int(messages().takeShown().size()), 1);
    QCOMPARE(record(41).price(), 1000u);
}

void UnitFormTest::transformTargetIsShownAsTheUnitNumber()
{
    showChanged(50, [](UnitRecord& r) { r.setTransformTarget(1); });
    QCOMPARE(box(form::kTransformTarget)->text(), QStringLiteral("0"));
    apply();
    QCOMPARE(record(50).transformTarget(), 0);

    const std::vector<std::pair<QString, int>> typed{{"5", 6}, {"0", 0}, {"65535", 0}, {"1279", 1280}, {"-2", 65535}};
    for (const auto& [text, stored] : typed) {
        fixture::typeInto(box(form::kTransformTarget), text);
        apply();
        QCOMPARE(int(record(50).transformTarget()), stored);
    }
    showChanged(51, [](UnitRecord& r) { r.setTransformTarget(281); });
    QCOMPARE(box(form::kTransformTarget)->text(), QStringLiteral("280"));
}

void UnitFormTest::carrierClassShowsItsHighestBit()
{
    QComboBox* carrier = dialog->combo(form::kCarrierClass);
    const std::vector<std::tuple<int, QString, int>> cases{
        {0, "無し", 0}, {8, "輸送艦", 8}, {12, "輸送艦", 8}, {3, "予備", 2}, {255, "ヘリ空母", 128}, {64, "輸送ヘリ", 64}};
    int unit = 60;
    for (const auto& [stored, shown, applied] : cases) {
        showChanged(unit, [&](UnitRecord& r) { r.setCarrierClass(std::uint8_t(stored)); });
        QCOMPARE(carrier->currentText(), shown);
        apply();
        QCOMPARE(int(record(unit).carrierClass()), applied);
        ++unit;
    }
}

void UnitFormTest::valuesWithoutAnItemLeaveTheComboEmptyAndStore255()
{
    showChanged(70, [](UnitRecord& r) {
        r.setKind(128);
        r.setAltitude(6);
        r.setDefenceType(9);
    });
    QCOMPARE(cb::curSel(dialog->combo(form::kKind)), -1);
    QVERIFY(dialog->combo(form::kKind)->currentText().isEmpty());
    QCOMPARE(cb::curSel(dialog->combo(form::kAltitude)), -1);
    QCOMPARE(dialog->combo(form::kDefenceType)->currentText(), QStringLiteral("無し"));
    // A kind without an entry has neither flag.
    QVERIFY(!dialog->button(form::kCapture)->isChecked());
    QVERIFY(!dialog->button(form::kAirborne)->isChecked());
    apply();
    QCOMPARE(record(70).kind(), 255);
    QCOMPARE(record(70).altitude(), 255);
    QCOMPARE(record(70).defenceType(), 255);

    showChanged(71, [](UnitRecord& r) { r.setDefenceType(200); });
    QCOMPARE(dialog->combo(form::kDefenceType)->currentText(), QStringLiteral("無し"));
    apply();
    QCOMPARE(record(71).defenceType(), 255);
    showChanged(72, [](UnitRecord& r) { r.setDefenceType(8); r.setAltitude(5); r.setKind(127); });
    QCOMPARE(dialog->combo(form::kDefenceType)->currentText(), QStringLiteral("ミサイル"));
    QCOMPARE(dialog->combo(form::kAltitude)->currentText(), QStringLiteral("海中"));
    QCOMPARE(cb::curSel(dialog->combo(form::kKind)), 127);
    apply();
    QCOMPARE(record(72).defenceType(), 8);
    QCOMPARE(record(72).altitude(), 5);
    QCOMPARE(record(72).kind(), 127);
}

void UnitFormTest::supplyFlagsKeepOnlyTheirThreeBits()
{
    showChanged(80, [](UnitRecord& r) { r.setSupplyFlags(0xFA); r.setBoardFlags(0xA5); });
    QVERIFY(!dialog->button(1193)->isChecked());
    QVERIFY(dialog->button(1194)->isChecked());
    QVERIFY(!dialog->button(1195)->isChecked());
    for (int i = 0; i < 8; ++i)
        QCOMPARE(dialog->button(form::kBoardFirst + i)->isChecked(), bool((0xA5 >> i) & 1));
    apply();
    QCOMPARE(record(80).supplyFlags(), 0x02);
    QCOMPARE(record(80).boardFlags(), 0xA5);
    QTest::mouseClick(dialog->button(1195), Qt::LeftButton);
    QTest::mouseClick(dialog->button(form::kBoardFirst), Qt::LeftButton);
    apply();
    QCOMPARE(record(80).supplyFlags(), 0x06);
    QCOMPARE(record(80).boardFlags(), 0xA4);
}

void UnitFormTest::nameEditHoldsTwentyFourBytes()
{
    using corvane::demo::kFullNameUnit;
    showChanged(kFullNameUnit, [](UnitRecord&) {});
    QLineEdit* name = box(form::kName);
    QCOMPARE(name->text(), QStringLiteral("超高速長距離全天候迎撃機"));
    name->setFocus();
    name->end(false);
    fixture::typeText(name, QStringLiteral("A"));  // a 25th byte
    QCOMPARE(name->text(), QStringLiteral("超高速長距離全天候迎撃機"));
    apply();
    QCOMPARE(record(kFullNameUnit).nameText(), sjis("超高速長距離全天候迎撃機"));

    // Twelve kanji fit, a thirteenth is refused; half-width katakana take one byte each.
    fixture::typeInto(name, QStringLiteral("一二三四五六七八九十百千万"));
    QCOMPARE(name->text(), QStringLiteral("一二三四五六七八九十百千"));
    fixture::typeInto(name, QString(25, QChar(0xFF71)));  // ｱ
    QCOMPARE(name->text(), QString(24, QChar(0xFF71)));
    fixture::typeInto(name, QStringLiteral("新型機"));
    apply();
    const UnitRecord& r = record(kFullNameUnit);
    QCOMPARE(r.nameText(), sjis("新型機"));
    for (int i = 6; i < 24; ++i)
        QCOMPARE(int(r.bytes[i]), 0);
    QCOMPARE(lb::text(dialog->list(form::kUnitList), kFullNameUnit), QStringLiteral("0007:新型機"));
}

// A paste that does not fit keeps as many of its first whole characters as the 24 bytes allow.
void UnitFormTest::pastedNameKeepsItsFirstTwentyFourBytes()
{
    QLineEdit* name = box(form::kName);
    const auto pasteInto = [&](const QString& before, int cursor, const QString& pasted) {
        name->setFocus();
        name->setText(before);
        name->setCursorPosition(cursor);
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        return name->text();
    };
    QCOMPARE(pasteInto(QString(), 0, QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWX"));
    // A kanji that would be cut in half is left out whole; the text after the cursor stays.
    QCOMPARE(pasteInto(QStringLiteral("AB"), 1, QStringLiteral("一二三四五六七八九十百千万")),
             QStringLiteral("A一二三四五六七八九十百B"));
    QCOMPARE(pasteInto(QStringLiteral("零式"), 2, QStringLiteral("ｱ一二三四五六七八九十百千")),
             QStringLiteral("零式ｱ一二三四五六七八九"));
    apply();
    QCOMPARE(record(dialog->currentUnit()).nameText(), sjis("零式ｱ一二三四五六七八九"));
    QVERIFY(messages().takeShown().empty());
}

void UnitFormTest::untouchedNameGoesBackByteForByte()
{
    // Bytes that are not code page 932 text survive an Apply that does not touch the name.
    const std::string odd{'\x81', '\x7F', 'A', '\xFF', '\x82', '\xA0', 'Z'};
    showChanged(90, [&](UnitRecord& r) { r.setName(odd); });
    QVERIFY(box(form::kName)->text().contains(QChar(0xFFFD)));
    fixture::typeInto(box(1006), QStringLiteral("12"));
    apply();
    QVERIFY(messages().takeShown().empty());
    QCOMPARE(record(90).nameText(), odd);
    QCOMPARE(record(90).defence(0), 12);

    // Bytes after the name's end are not part of the name: Apply clears them.
    showChanged(91, [](UnitRecord& r) {
        r.setName("AB");
        r.bytes[5] = 0x55;
        r.bytes[23] = 0x66;
    });
    QCOMPARE(box(form::kName)->text(), QStringLiteral("AB"));
    apply();
    QCOMPARE(record(91).nameText(), std::string("AB"));
    QCOMPARE(int(record(91).bytes[5]), 0);
    QCOMPARE(int(record(91).bytes[23]), 0);
}

void UnitFormTest::nameWithACharacterOutsideTheCodePageIsRefused()
{
    showChanged(95, [](UnitRecord&) {});
    const UnitRecord before = record(95);
    fixture::typeInto(box(form::kName), QStringLiteral("한국"));
    fixture::typeInto(box(1006), QStringLiteral("99"));
    apply();
    const auto shown = messages().takeShown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("「한」はゲームのデータに保存できない文字です。"));
    // The name is the first box: nothing after it was taken, and the record keeps its values.
    QVERIFY(fixture::sameBytes(record(95), normalised(before)));
    QCOMPARE(box(form::kName)->text(), FromCp932(before.nameText()));
}

void UnitFormTest::editedNameKeepsTheBytesLeftInPlace()
{
    // Eleven kanji, 'A' and a double-byte character cut off after its first byte: 24 bytes.
    const std::string cut = sjis("一二三四五六七八九十百") + "A\x83";
    showChanged(92, [&](UnitRecord& r) { r.setName(cut); });
    QLineEdit* name = box(form::kName);
    QCOMPARE(name->text(), QStringLiteral("一二三四五六七八九十百A\uFFFD"));

    // The cut character counts as its one byte: after the first kanji goes, two letters fit, a
    // third does not.
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Home);
    QTest::keyClick(name, Qt::Key_Delete);
    fixture::typeText(name, QStringLiteral("BCD"));
    QCOMPARE(name->text(), QStringLiteral("BC二三四五六七八九十百A\uFFFD"));
    fixture::typeInto(box(1006), QStringLiteral("12"));  // a later box of the same exchange
    apply();
    QVERIFY(messages().takeShown().empty());
    QCOMPARE(record(92).nameText(), "BC" + sjis("二三四五六七八九十百") + "A\x83");
    QCOMPARE(record(92).defence(0), 12);

    // A replacement character the user types is refused; the name keeps its bytes.
    name->setFocus();
    QTest::keyClick(name, Qt::Key_Home);
    QTest::keyClick(name, Qt::Key_Delete);
    QTest::keyClick(name, Qt::Key_Delete);
    fixture::typeText(name, QStringLiteral("\uFFFD"));
    apply();
    auto shown = messages().takeShown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("「\uFFFD」はゲームのデータに保存できない文字です。"));
    QCOMPARE(record(92).nameText(), "BC" + sjis("二三四五六七八九十百") + "A\x83");

    // Kept bytes that the new text would turn into another character are refused as well.
    showChanged(93, [](UnitRecord& r) { r.setName("AB\x83"); });
    name->setFocus();
    QTest::keyClick(name, Qt::Key_End);
    fixture::typeText(name, QStringLiteral("X"));
    apply();
    shown = messages().takeShown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("「\uFFFD」はゲームのデータに保存できない文字です。"));
    QCOMPARE(record(93).nameText(), std::string("AB\x83"));

    // A character with two codes keeps the code it was stored with; the single bytes Windows maps
    // to characters of their own go back as those bytes.
    showChanged(94, [](UnitRecord& r) { r.setName("\xEE\xEF\x80X\xFF"); });
    QCOMPARE(name->text(), QStringLiteral("\u2170\u0080X\uF8F3"));
    name->setFocus();
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClick(name, Qt::Key_Left);
    QTest::keyClick(name, Qt::Key_Backspace);
    fixture::typeText(name, QStringLiteral("Y"));
    apply();
    QVERIFY(messages().takeShown().empty());
    QCOMPARE(record(94).nameText(), std::string("\xEE\xEF\x80Y\xFF"));
}

void UnitFormTest::badIntegerStopsTheExchangeButApplyStores()
{
    showChanged(100, [](UnitRecord& r) { r.setSupplyFlags(0); });
    const UnitRecord before = record(100);
    fixture::typeInto(box(1006), QStringLiteral("77"));                // before the bad box
    fixture::typeInto(box(form::kSearchFirst), QStringLiteral("abc"));  // the bad box
    fixture::typeInto(box(form::kPrice), QStringLiteral("123"));        // after it
    fixture::typeInto(box(form::kFuel[0]), QStringLiteral("9"));        // after it
    QTest::mouseClick(dialog->button(1193), Qt::LeftButton);           // after it
    apply();

    const auto shown = messages().takeShown();
    QCOMPARE(int(shown.size()), 1);
    QCOMPARE(shown[0].text, QStringLiteral("整数を入力してください。"));
    QCOMPARE(shown[0].icon, MsgIcon::Exclamation);
    QCOMPARE(dialog->focusWidget(), box(form::kSearchFirst));
    QCOMPARE(box(form::kSearchFirst)->selectedText(), box(form::kSearchFirst)->text());

    // The record is stored: the box before took the typed value; the bad box and every box after
    // it kept what the form last showed.
    const UnitRecord& r = record(100);
    QCOMPARE(r.defence(0), 77);
    QCOMPARE(r.search(0), before.search(0));
    QCOMPARE(r.price(), before.price());
    QCOMPARE(r.patternFuel(0), before.patternFuel(0));
    QCOMPARE(r.supplyFlags(), 0);
    QCOMPARE(box(form::kSearchFirst)->text(), QString::number(before.search(0)));
    QCOMPARE(box(form::kPrice)->text(), QString::number(std::int32_t(before.price())));
    QCOMPARE(box(1006)->text(), QStringLiteral("77"));
    QCOMPARE(dialog->currentUnit(), 100);
}

void UnitFormTest::slotLinesShowTheWeaponTable()
{
    using corvane::demo::kFourDigitPictureUnit;  // carries weapon 472
    showChanged(kFourDigitPictureUnit, [](UnitRecord& r) {
        r.setWeapon(1, 0);
        r.setWeapon(2, 500);
        r.setWeapon(3, 1);
    });
    const UnitRecord& r = record(kFourDigitPictureUnit);
    QCOMPARE(r.weapon(0), 472);
    const auto checkLine = [&](int k, int weapon, const QString& name) {
        QListWidget* slot = dialog->list(form::kSlotListFirst + k);
        QCOMPARE(slot->count(), 1);
        QCOMPARE(lb::text(slot, 0), name);
        QCOMPARE(lb::itemData(slot, 0), weapon);
        const WeaponEntry e = dialog->GetWeaponEntry(weapon);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(box(form::kSlotAttackFirst[k] + i)->text(), QString::number(e.attack(i)));
        QCOMPARE(box(form::kSlotValues[k][0])->text(), QString::number(e.power()));
        QCOMPARE(box(form::kSlotValues[k][1])->text(), QString::number(e.shots()));
        QCOMPARE(box(form::kSlotValues[k][2])->text(), QString::number(e.reload()));
        QCOMPARE(box(form::kSlotValues[k][3])->text(), QString::number(e.range()));
        for (int p = 0; p < 4; ++p)
            QCOMPARE(box(form::kSlotPatternFirst[k] + p)->text(), QString::number(r.patternSlotValue(p, k)));
    };
    checkLine(0, 472, FromCp932(dialog->weaponTable().entry(472).nameText()));
    checkLine(1, 0, QStringLiteral("nothing"));
    checkLine(2, 500, QStringLiteral("不明500"));
    checkLine(3, 1, FromCp932(dialog->weaponTable().entry(1).nameText()));
    for (int i = 0; i < 10; ++i)
        QCOMPARE(box(form::kSlotAttackFirst[1] + i)->text(), QStringLiteral("0"));

    // GetWeaponEntry: the table's bytes for 1..472, "nothing" with zeros for 0 and below.
    const auto image = dialog->weaponTable().image();
    const WeaponEntry last = dialog->GetWeaponEntry(472);
    QVERIFY(std::equal(last.bytes.begin(), last.bytes.end(), image.end() - 36));
    for (int w : {0, -3}) {
        const WeaponEntry none = dialog->GetWeaponEntry(w);
        QCOMPARE(none.nameText(), std::string("nothing"));
        for (int i = 18; i < 32; ++i)
            QCOMPARE(int(none.bytes[i]), 0);
    }
    // Typing into a weapon value changes nothing: the line is the table's.
    fixture::typeInto(box(form::kSlotAttackFirst[0]), QStringLiteral("99"));
    apply();
    QCOMPARE(box(form::kSlotAttackFirst[0])->text(), QString::number(dialog->GetWeaponEntry(472).attack(0)));
    QCOMPARE(record(kFourDigitPictureUnit).weapon(2), 500);  // stored as the slot list holds it
}

void UnitFormTest::applyStoresTheSlotListsWeapons()
{
    showChanged(120, [](UnitRecord&) {});
    // The slot list's single item is what Apply stores (the weapon picker changes it).
    QListWidget* slot = dialog->list(form::kSlotListFirst + 4);
    lb::reset(slot);
    lb::insert(slot, 0, QStringLiteral("x"), 0x10000 + 33);
    fixture::typeInto(box(form::kSlotPatternFirst[4] + 3), QStringLiteral("21"));
    apply();
    QCOMPARE(record(120).weapon(4), 33);
    QCOMPARE(record(120).patternSlotValue(3, 4), 21);
    QCOMPARE(lb::text(slot, 0), FromCp932(dialog->weaponTable().entry(33).nameText()));
}

void UnitFormTest::kindComboRefreshesTheFlagsAndKeepsTyping()
{
    const KindTable& kinds = dialog->kindTable();
    // A kind that can capture and is airborne, and one that is neither, if the demo has them.
    int both = -1, neither = -1;
    for (int k = 0; k < 128; ++k) {
        if (kinds.canCapture(k) && kinds.airborne(k) && both < 0)
            both = k;
        if (!kinds.canCapture(k) && !kinds.airborne(k) && neither < 0)
            neither = k;
    }
    QVERIFY(both >= 0 && neither >= 0);
    showChanged(130, [&](UnitRecord& r) { r.setKind(std::uint8_t(neither)); });
    const UnitRecord before = record(130);
    QVERIFY(!dialog->button(form::kCapture)->isChecked());

    fixture::typeInto(box(form::kPrice), QStringLiteral("4321"));
    fixture::typeInto(box(form::kName), QStringLiteral("試作"));
    QTest::mouseClick(dialog->button(form::kBoardFirst + 2), Qt::LeftButton);
    fixture::chooseInCombo(dialog->combo(form::kKind), both);
    QCOMPARE(cb::curSel(dialog->combo(form::kKind)), both);
    QVERIFY(dialog->button(form::kCapture)->isChecked());
    QVERIFY(dialog->button(form::kAirborne)->isChecked());
    QCOMPARE(box(form::kPrice)->text(), QStringLiteral("4321"));
    QCOMPARE(box(form::kName)->text(), QStringLiteral("試作"));
    QCOMPARE(dialog->button(form::kBoardFirst + 2)->isChecked(), !((before.boardFlags() >> 2) & 1));
    QVERIFY(fixture::sameBytes(record(130), before));  // only Apply stores

    apply();
    QCOMPARE(int(record(130).kind()), both);
    QCOMPARE(record(130).price(), 4321u);
    QVERIFY(messages().takeShown().empty());
}

void UnitFormTest::moveSetBoxesShowButNeverStore()
{
    const MoveCostTable& costs = dialog->moveCostTable();
    int seaOnly = -1;
    for (int s = 0; s < MoveCostTable::kSetCount && seaOnly < 0; ++s)
        if (costs.costs(s)[kTerrainRoad] == 0 && costs.costs(s)[kTerrainSea] != 0)
            seaOnly = s;
    if (seaOnly >= 0) {
        showChanged(140, [&](UnitRecord& r) { r.setMoveSet(std::uint8_t(seaOnly)); });
        QCOMPARE(box(form::kRoadSeaCost)->text(), QString::number(costs.costs(seaOnly)[kTerrainSea]));
    }
    showChanged(141, [](UnitRecord& r) { r.setMoveSet(3); });
    QCOMPARE(box(form::kMoveSet)->text(), QStringLiteral("3"));
    QCOMPARE(box(form::kRoadSeaCost)->text(), QString::number(costs.roadOrSeaCost(3)));
    showChanged(142, [](UnitRecord& r) { r.setMoveSet(200); });
    QCOMPARE(box(form::kMoveSet)->text(), QStringLiteral("200"));
    QCOMPARE(box(form::kRoadSeaCost)->text(), QStringLiteral("0"));
    // Typed but never read back: the record keeps its set; the next show puts the values back.
    fixture::typeInto(box(form::kMoveSet), QStringLiteral("7"));
    fixture::typeInto(box(form::kRoadSeaCost), QStringLiteral("8"));
    apply();
    QCOMPARE(record(142).moveSet(), 200);
    QCOMPARE(box(form::kMoveSet)->text(), QStringLiteral("200"));
    QCOMPARE(box(form::kRoadSeaCost)->text(), QStringLiteral("0"));
}

void UnitFormTest::categoryJumpsToItsFirstUnit()
{
    QComboBox* categories = dialog->combo(form::kCategory);
    fixture::chooseInCombo(categories, 1);
    QCOMPARE(categories->currentText(), QStringLiteral("戦闘機"));
    QCOMPARE(dialog->currentUnit(), 16);
    QListWidget* units = dialog->list(form::kUnitList);
    QCOMPARE(lb::curSel(units), 16);
    QCOMPARE(lb::text(units, 16), QStringLiteral("0016:") + box(form::kName)->text());
    QCOMPARE(box(form::kName)->text(), FromCp932(record(16).nameText()));
    // Apply now stores into unit 16.
    fixture::typeInto(box(form::kDurability), QStringLiteral("88"));
    apply();
    QCOMPARE(record(16).durability(), 88);
    // The last category.
    fixture::chooseInCombo(categories, 51);
    QCOMPARE(dialog->currentUnit(), 1260);
    // The combo keeps showing the category while the user moves elsewhere.
    fixture::clickListRow(units, 3);
    QCOMPARE(categories->currentText(), QStringLiteral("巡航ミサイル"));
    QCOMPARE(dialog->currentUnit(), 3);
}

void UnitFormTest::transformButtonJumpsByTheStoredTarget()
{
    using namespace corvane::demo;
    QAbstractButton* jump = dialog->button(form::kJumpToTransformTarget);
    showChanged(kTransformUnitA, [](UnitRecord&) {});
    QTest::mouseClick(jump, Qt::LeftButton);
    QCOMPARE(dialog->currentUnit(), kTransformUnitB);
    QCOMPARE(lb::curSel(dialog->list(form::kUnitList)), kTransformUnitB);
    QCOMPARE(box(form::kName)->text(), FromCp932(record(kTransformUnitB).nameText()));
    QTest::mouseClick(jump, Qt::LeftButton);
    QCOMPARE(dialog->currentUnit(), kTransformUnitA);

    showChanged(kTransformToLastUnit, [](UnitRecord&) {});
    QTest::mouseClick(jump, Qt::LeftButton);
    QCOMPARE(dialog->currentUnit(), 1279);

    // Stored 0 and 1281 go nowhere; stored 1 goes to unit 0.
    for (int stored : {0, 1281, 65535}) {
        showChanged(150, [&](UnitRecord& r) { r.setTransformTarget(std::uint16_t(stored)); });
        fixture::typeInto(box(form::kPrice), QStringLiteral("55"));
        QTest::mouseClick(jump, Qt::LeftButton);
        QCOMPARE(dialog->currentUnit(), 150);
        QCOMPARE(box(form::kPrice)->text(), QStringLiteral("55"));  // nothing was shown again
    }
    showChanged(151, [](UnitRecord& r) { r.setTransformTarget(1); });
    QTest::mouseClick(jump, Qt::LeftButton);
    QCOMPARE(dialog->currentUnit(), 0);

    // A number typed into the box but not applied is not used.
    showChanged(152, [](UnitRecord& r) { r.setTransformTarget(0); });
    fixture::typeInto(box(form::kTransformTarget), QStringLiteral("9"));
    QTest::mouseClick(jump, Qt::LeftButton);
    QCOMPARE(dialog->currentUnit(), 152);
}

void UnitFormTest::selectingAnotherUnitDiscardsTyping()
{
    showChanged(5, [](UnitRecord&) {});
    const UnitRecord before = record(5);
    fixture::typeInto(box(form::kPrice), QStringLiteral("999"));
    fixture::typeInto(box(form::kName), QStringLiteral("消える"));
    QListWidget* units = dialog->list(form::kUnitList);
    fixture::clickListRow(units, 6);
    QCOMPARE(dialog->currentUnit(), 6);
    fixture::clickListRow(units, 5);
    QCOMPARE(box(form::kPrice)->text(), QString::number(std::int32_t(before.price())));
    QCOMPARE(box(form::kName)->text(), FromCp932(before.nameText()));
    QVERIFY(fixture::sameBytes(record(5), before));
    // Ctrl+click on the selected entry does not leave the list without one.
    const QPoint row5 = units->visualItemRect(units->item(5)).center();
    QTest::mouseClick(units->viewport(), Qt::LeftButton, Qt::ControlModifier, row5);
    QCOMPARE(dialog->currentUnit(), 5);
    // Keyboard navigation in the list shows units too.
    units->setFocus();
    QTest::keyClick(units, Qt::Key_Down);
    QCOMPARE(dialog->currentUnit(), 6);
    QCOMPARE(box(form::kName)->text(), FromCp932(record(6).nameText()));
}

void UnitFormTest::applyRefreshesTheListEntryAndKeepsItSelected()
{
    showChanged(200, [](UnitRecord&) {});
    fixture::typeInto(box(form::kName), QStringLiteral("改名"));
    apply();
    QListWidget* units = dialog->list(form::kUnitList);
    QCOMPARE(lb::text(units, 200), QStringLiteral("0200:改名"));
    QCOMPARE(lb::itemData(units, 200), 200);
    QCOMPARE(lb::curSel(units), 200);
    QCOMPARE(units->count(), kUnitCount);
}

void UnitFormTest::refreshingAListEntryDoesNotSelectIt()
{
    showChanged(300, [](UnitRecord&) {});
    record(301).setName(sjis("別名"));
    dialog->RefreshUnitListEntry(301);
    QListWidget* units = dialog->list(form::kUnitList);
    QCOMPARE(lb::text(units, 301), QStringLiteral("0301:別名"));
    QCOMPARE(lb::itemData(units, 301), 301);
    QCOMPARE(lb::curSel(units), 300);
    // The entry that is selected loses its selection when it is rebuilt; its caller selects it again.
    dialog->RefreshUnitListEntry(300);
    dialog->selectUnitInList(300);
    QCOMPARE(dialog->currentUnit(), 300);
    QCOMPARE(box(form::kName)->text(), FromCp932(record(300).nameText()));
}

void UnitFormTest::slotListLosesItsHighlightWithTheFocus()
{
    QListWidget* slot = dialog->list(form::kSlotListFirst + 2);
    QTest::mouseClick(slot->viewport(), Qt::LeftButton, {}, slot->visualItemRect(slot->item(0)).center());
    QCOMPARE(lb::curSel(slot), 0);
    box(form::kPrice)->setFocus();
    QCOMPARE(lb::curSel(slot), -1);
    QCOMPARE(slot->count(), 1);
}

void UnitFormTest::applyingEveryDemoUnitChangesOnlyWhatTheFormCannotShow()
{
    // The demo table, with one unit for each value the form cannot show as it is stored.
    GameFolderFiles files = MakeDemoGameFiles();
    const auto at = [&](int unit, std::size_t offset) -> std::uint8_t& {
        return files.unitInfo[UnitTable::recordOffset(unit) + offset];
    };
    at(10, 24) = 200;   // kind without an entry
    at(11, 25) = 7;     // altitude without an item
    at(12, 37) = 100;   // defence type between 9 and 254
    at(13, 47) = 12;    // carrier class with two bits
    at(14, 49) = 0xFF;  // supply bits 3 to 7
    at(15, 124) = 1;    // transformation into unit 0
    at(15, 125) = 0;
    at(18, 0) = 'A';    // bytes after the end of the name
    at(18, 1) = 0;
    at(18, 2) = 0x77;
    dialog.reset();
    folder = std::make_unique<fixture::GameFolder>(std::move(files));
    fixture::pointSettingsAt(*folder);
    dialog = fixture::openDialog();

    const UnitTable original = folder->demoTable();
    QListWidget* units = dialog->list(form::kUnitList);
    for (int u = 0; u < kUnitCount; ++u) {
        lb::setCurSel(units, u == 0 ? 1 : u - 1);
        fixture::clickListRow(units, u);
        QCOMPARE(dialog->currentUnit(), u);
        apply();
    }
    QVERIFY(messages().takeShown().empty());
    const auto after = dialog->unitTable().image();
    const auto before = original.image();
    // Head and tail never change.
    QVERIFY(std::equal(before.begin(), before.begin() + 16, after.begin()));
    QVERIFY(std::equal(before.begin() + 176656, before.end(), after.begin() + 176656));
    std::vector<int> changed;
    for (int u = 0; u < kUnitCount; ++u) {
        const UnitRecord expected = normalised(original.record(u));
        QVERIFY2(fixture::sameBytes(dialog->unitTable().record(u), expected), qPrintable(QString::number(u)));
        if (!fixture::sameBytes(expected, original.record(u)))
            changed.push_back(u);
    }
    QCOMPARE(changed, std::vector<int>({10, 11, 12, 13, 14, 15, 18}));
    QCOMPARE(int(dialog->unitTable().record(13).carrierClass()), 8);
    QCOMPARE(int(dialog->unitTable().record(14).supplyFlags()), 0x07);
}

QTEST_MAIN(UnitFormTest)
#include "UnitFormTest.moc"
