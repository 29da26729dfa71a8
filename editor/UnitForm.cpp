// The unit form of the main dialog: putting a unit into the controls (ShowUnit) and storing the
// controls back into its record (ApplyUnit), with the field exchange between them.

#include "editor/MainDialog.h"

#include "data/DataFileSet.h"
#include "editor/UnitFormIds.h"
#include "framework/Controls.h"
#include "res/Strings.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QListWidget>
#include <QValidator>

#include <algorithm>
#include <bit>

namespace {

constexpr int kNameBytes = 24;

// The name edit takes at most 24 bytes of code page 932 text: twelve kanji fit, a thirteenth does not.
// What the user inserts (typed or pasted) keeps its first whole characters, as many as fit. Bytes of
// the stored name that the user leaves in place count at their own length.
class NameLengthValidator : public QValidator {
public:
    NameLengthValidator(QLineEdit* edit, const cp932::StoredText& stored)
        : QValidator(edit), m_stored(stored), m_shown(edit->text())
    {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { m_shown = text; });
    }
    State validate(QString& input, int& cursor) const override
    {
        if (length(input) <= kNameBytes)
            return Acceptable;
        // The inserted characters are what lies between the parts the text shown before shares.
        const qsizetype shared = std::min(input.size(), m_shown.size());
        qsizetype head = 0;
        while (head < shared && input[head] == m_shown[head])
            ++head;
        qsizetype tail = 0;
        while (tail < shared - head && input[input.size() - 1 - tail] == m_shown[m_shown.size() - 1 - tail])
            ++tail;
        if (head > 0 && input[head - 1].isHighSurrogate())
            --head;
        qsizetype end = input.size() - tail;
        if (end < input.size() && input[end].isLowSurrogate())
            ++end;
        while (end > head && length(input) > kNameBytes) {
            const qsizetype width = end - head >= 2 && input[end - 1].isLowSurrogate() ? 2 : 1;
            input.remove(end - width, width);
            end -= width;
        }
        cursor = int(end);
        return length(input) <= kNameBytes ? Acceptable : Invalid;
    }

private:
    int length(const QString& text) const { return int(m_stored.length(text.toStdU16String())); }

    const cp932::StoredText& m_stored;
    QString m_shown;
};

// Numbers in the narrow boxes read best in the fixed-pitch companion of the dialog font, whose digits
// are half as wide as a kanji.
QFont numberFont(const QFont& dialogFont)
{
    for (const char* family : {"ＭＳ ゴシック", "MS Gothic", "IPAGothic", "IPAゴシック", "VL Gothic", "Noto Sans Mono CJK JP"}) {
        const QString name = QString::fromUtf8(family);
        if (QFontDatabase::hasFamily(name)) {
            QFont font(dialogFont);
            font.setFamily(name);
            return font;
        }
    }
    return dialogFont;
}

// Number of significant bits: the position of a carrier class in combo 1037.
int significantBits(std::uint8_t value) { return std::bit_width(value); }

}  // namespace

void CMainDialog::setUpFormControls()
{
    const QFont digits = numberFont(font());
    for (const ControlTemplate& control : dialogTemplate().controls) {
        if (control.kind != ControlKind::Edit || !(control.style & Style::Right))
            continue;
        QLineEdit* box = edit(control.id);
        box->setFont(digits);
        // The boxes are narrow: the text may use the whole inside of the frame.
        box->setTextMargins(-3, 0, -3, 0);
    }
    edit(form::kName)->setValidator(new NameLengthValidator(edit(form::kName), m_name));
    // A name of twelve kanji is wider than the unit list: the list scrolls sideways instead of
    // cutting it off.
    QListWidget* units = list(form::kUnitList);
    units->setTextElideMode(Qt::ElideNone);
    units->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // "SET" and "路上/海上" are not reached with the Tab key.
    edit(form::kMoveSet)->setFocusPolicy(Qt::ClickFocus);
    edit(form::kRoadSeaCost)->setFocusPolicy(Qt::ClickFocus);
}

WeaponEntry CMainDialog::GetWeaponEntry(int weaponNumber) const { return m_images->weapons.entry(weaponNumber); }

void CMainDialog::DoDataExchange(DataExchange& dx)
{
    // What the user did not touch in the name goes back as the bytes it came from, whatever they hold.
    dx.textField(form::kName, m_name, kNameBytes);

    for (int i = 0; i < 10; ++i)
        dx.intField(form::kDefenceFirst + i, m_defence[i]);
    for (int i = 0; i < 8; ++i)
        dx.checkField(form::kBoardFirst + i, m_board[i]);
    dx.intField(form::kDurability, m_durability);
    dx.intField(form::kCount, m_count);
    dx.intField(form::kConcealActive, m_concealActive);
    dx.intField(form::kConcealIdle, m_concealIdle);
    for (int i = 0; i < 5; ++i)
        dx.intField(form::kSearchFirst + i, m_search[i]);
    for (int k = 0; k < form::kSlotCount; ++k) {
        for (int i = 0; i < 10; ++i)
            dx.intField(form::kSlotAttackFirst[k] + i, m_weaponValues[k][i]);
        for (int i = 0; i < 4; ++i)
            dx.intField(form::kSlotValues[k][i], m_weaponValues[k][10 + i]);
    }
    for (int k = 0; k < form::kSlotCount; ++k)
        for (int p = 0; p < 4; ++p)
            dx.intField(form::kSlotPatternFirst[k] + p, m_slotPattern[k][p]);
    dx.intField(form::kTank[0], m_tank[0]);
    dx.intField(form::kEcm[0], m_ecm[0]);
    dx.intField(form::kUnnamed[0], m_unnamed[0]);
    dx.intField(form::kFuel[0], m_fuel[0]);
    dx.intField(form::kSpeedModifier[0], m_speedModifier[0]);
    for (int p = 1; p < 4; ++p) {
        dx.intField(form::kEcm[p], m_ecm[p]);
        dx.intField(form::kUnnamed[p], m_unnamed[p]);
        dx.intField(form::kFuel[p], m_fuel[p]);
        dx.intField(form::kSpeedModifier[p], m_speedModifier[p]);
        dx.intField(form::kTank[p], m_tank[p]);
    }
    for (int i = 0; i < 3; ++i)
        dx.checkField(form::kSupplyFirst + i, m_supply[i]);
    dx.intField(form::kPrice, m_price);
    dx.intField(form::kBoardSize, m_boardSize);
    dx.intField(form::kCarryCapacity, m_carryCapacity);
    dx.intField(form::kTransformTarget, m_transformTarget);
    dx.intField(form::kGraphicNumber, m_graphicNumber);
    dx.intField(form::kTransformTime, m_transformTime);
    dx.checkField(form::kAirborne, m_airborne);
    dx.checkField(form::kCapture, m_capture);
    dx.intField(form::kRoadSeaCost, m_roadSeaCost);
    dx.intField(form::kMoveSet, m_moveSet);
}

void CMainDialog::setSlotLine(int slot, int weaponNumber)
{
    const WeaponEntry entry = GetWeaponEntry(weaponNumber);
    QListWidget* slotList = list(form::kSlotListFirst + slot);
    lb::reset(slotList);
    lb::insert(slotList, 0, FromCp932(entry.nameText()), weaponNumber);
    for (int i = 0; i < 10; ++i)
        m_weaponValues[slot][i] = entry.attack(i);
    m_weaponValues[slot][10] = entry.power();
    m_weaponValues[slot][11] = entry.shots();
    m_weaponValues[slot][12] = entry.reload();
    m_weaponValues[slot][13] = entry.range();
}

void CMainDialog::ShowUnit(int unitNumber)
{
    Q_ASSERT(unitNumber >= 0 && unitNumber < kUnitCount);
    const UnitRecord& r = m_images->units.record(unitNumber);

    m_name = cp932::StoredText(r.nameText());
    cb::setCurSel(combo(form::kKind), r.kind());
    m_capture = m_images->kinds.canCapture(r.kind()) ? 1 : 0;
    m_airborne = m_images->kinds.airborne(r.kind()) ? 1 : 0;
    cb::setCurSel(combo(form::kAltitude), r.altitude());
    cb::setCurSel(combo(form::kDefenceType), std::min<int>(r.defenceType(), 9));
    for (int i = 0; i < 10; ++i)
        m_defence[i] = r.defence(i);
    for (int i = 0; i < 8; ++i)
        m_board[i] = (r.boardFlags() >> i) & 1;
    m_count = r.count();
    m_durability = r.durability();
    m_concealIdle = r.concealIdle();
    m_concealActive = r.concealActive();
    for (int i = 0; i < 5; ++i)
        m_search[i] = r.search(i);
    for (int i = 0; i < 3; ++i)
        m_supply[i] = (r.supplyFlags() >> i) & 1;
    cb::setCurSel(combo(form::kCarrierClass), significantBits(r.carrierClass()));
    for (int k = 0; k < form::kSlotCount; ++k)
        setSlotLine(k, r.weapon(k));
    for (int p = 0; p < 4; ++p) {
        for (int k = 0; k < form::kSlotCount; ++k)
            m_slotPattern[k][p] = r.patternSlotValue(p, k);
        m_speedModifier[p] = r.patternSpeedModifier(p);
        m_tank[p] = r.patternTank(p);
        m_ecm[p] = r.patternEcm(p);
        m_unnamed[p] = r.patternUnnamed(p);
        m_fuel[p] = r.patternFuel(p);
    }
    m_price = static_cast<std::int32_t>(r.price());
    m_carryCapacity = r.carryCapacity();
    m_boardSize = r.boardSize();
    m_transformTarget = r.transformTarget() > 0 ? r.transformTarget() - 1 : 0;
    m_transformTime = r.transformTime();
    m_moveSet = r.moveSet();
    m_roadSeaCost = m_images->moveCosts.roadOrSeaCost(r.moveSet());
    m_graphicNumber = r.graphicNumber();

    if (m_speedDlg)
        m_speedDlg->ShowUnitSet(r);
    if (m_productDlg)
        m_productDlg->ShowUnitMask(r);
    if (m_etcDlg)
        m_etcDlg->ShowUnitData(r);
    m_picture.SetPicturePaths(gameFolder(), r.graphicNumber());
    m_picture.LoadUnitPicture();
    m_picture.DrawUnitPicture();

    UpdateData(false);
    // What Apply would write from the form as shown: the form holds edits while Apply's bytes differ.
    const DataExchange::Quiet quiet;
    m_shownUnit = unitNumber;
    m_shownForm = formRecord(unitNumber);
}

bool CMainDialog::hasPendingEdits()
{
    const int unit = currentUnit();
    if (!m_dataLoaded || unit < 0 || unit != m_shownUnit)
        return false;
    // Taken back without a word: a box Apply would refuse holds typing too.
    const DataExchange::Quiet quiet;
    const UnitRecord now = formRecord(unit);
    return quiet.refused() || now.bytes != m_shownForm.bytes;
}

UnitRecord CMainDialog::formRecord(int unitNumber, bool* allTaken)
{
    // A refused box is reported and ends the exchange; the record is built all the same.
    // The tool windows take their boxes back in their Collect steps below, once each.
    const bool taken = UpdateData(true);
    if (allTaken)
        *allTaken = taken;

    UnitRecord w = m_images->units.record(unitNumber);
    w.setName(m_name.bytes());
    w.setKind(std::uint8_t(cb::selectedData(combo(form::kKind))));
    w.setAltitude(std::uint8_t(cb::selectedData(combo(form::kAltitude))));
    w.setDefenceType(std::uint8_t(cb::selectedData(combo(form::kDefenceType))));
    for (int i = 0; i < 10; ++i)
        w.setDefence(i, std::uint8_t(m_defence[i]));
    std::uint8_t board = 0;
    for (int i = 0; i < 8; ++i)
        board |= std::uint8_t((m_board[i] ? 1 : 0) << i);
    w.setBoardFlags(board);
    w.setCount(std::uint8_t(m_count));
    w.setDurability(std::uint8_t(m_durability));
    w.setConcealIdle(std::uint8_t(m_concealIdle));
    w.setConcealActive(std::uint8_t(m_concealActive));
    for (int i = 0; i < 5; ++i)
        w.setSearch(i, std::uint8_t(m_search[i]));
    w.setCarrierClass(std::uint8_t(cb::selectedData(combo(form::kCarrierClass))));
    std::uint8_t supply = 0;
    for (int i = 0; i < 3; ++i)
        supply |= std::uint8_t((m_supply[i] ? 1 : 0) << i);
    w.setSupplyFlags(supply);
    for (int k = 0; k < form::kSlotCount; ++k)
        w.setWeapon(k, std::uint16_t(lb::itemData(list(form::kSlotListFirst + k), 0)));
    for (int p = 0; p < 4; ++p) {
        UnitPattern pattern = w.pattern(p);
        for (int k = 0; k < form::kSlotCount; ++k)
            pattern.setSlotValue(k, std::uint8_t(m_slotPattern[k][p]));
        pattern.setSpeedModifier(std::uint8_t(m_speedModifier[p]));
        pattern.setTank(std::uint8_t(m_tank[p]));
        pattern.setEcm(std::uint8_t(m_ecm[p]));
        pattern.setUnnamed(std::uint8_t(m_unnamed[p]));
        pattern.setFuel(std::uint16_t(m_fuel[p]));
        w.setPattern(p, pattern);
    }
    if (m_productDlg)
        w.setProductionFlags(m_productDlg->CollectUnitMask());
    w.setPrice(static_cast<std::uint32_t>(m_price));
    w.setCarryCapacity(std::uint8_t(m_carryCapacity));
    w.setBoardSize(std::uint8_t(m_boardSize));
    const std::uint16_t target = std::uint16_t(m_transformTarget);
    w.setTransformTarget(target == 0 ? 0 : std::uint16_t(target + 1));
    w.setTransformTime(std::uint8_t(m_transformTime));
    // The set comes from the movement-cost window; edit 1250 only shows it.
    if (m_speedDlg)
        w.setMoveSet(m_speedDlg->CollectUnitSet());
    w.setGraphicNumber(std::uint16_t(m_graphicNumber));
    if (m_etcDlg)
        m_etcDlg->CollectUnitData(w);
    return w;
}

void CMainDialog::ApplyUnit()
{
    QListWidget* units = list(form::kUnitList);
    const int position = lb::curSel(units);
    if (position < 0)
        return;
    const int unitNumber = lb::itemData(units, position);
    Q_ASSERT(unitNumber >= 0 && unitNumber < kUnitCount);
    bool allTaken = true;
    const UnitRecord w = formRecord(unitNumber, &allTaken);

    const UnitRecord before = m_images->units.record(unitNumber);
    unitTable().record(unitNumber) = w;
    RefreshUnitListEntry(unitNumber);
    lb::setCurSel(units, position);
    ShowUnit(unitNumber);
    recordUnitChanges({{unitNumber, before, w}},
                      QString::fromUtf8(str::kStepApply).arg(unitNumber, 4, 10, QLatin1Char('0')));
    // The refused box keeps the focus, its text selected again after the refresh.
    if (!allTaken)
        if (auto* refused = qobject_cast<QLineEdit*>(focusWidget()))
            refused->selectAll();
}
