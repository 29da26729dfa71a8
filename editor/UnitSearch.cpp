#include "editor/UnitSearch.h"

#include "data/ReferenceTables.h"
#include "data/UnitTable.h"
#include "framework/DataExchange.h"

#include <array>

namespace {

// A weapon number's name as the slot lines show it, folded; built once per search.
class FoldedWeaponNames {
public:
    explicit FoldedWeaponNames(const WeaponTable& weapons) : m_weapons(weapons) {}
    const QString& operator[](int weapon)
    {
        if (weapon > WeaponTable::kEntryCount)
            return m_unknown = FoldForSearch(FromCp932(m_weapons.entry(weapon).nameText()));
        QString& name = m_names[std::size_t(weapon)];
        if (name.isNull())
            name = FoldForSearch(FromCp932(m_weapons.entry(weapon).nameText()));
        return name;
    }

private:
    const WeaponTable& m_weapons;
    std::array<QString, WeaponTable::kEntryCount + 1> m_names;
    QString m_unknown;
};

}  // namespace

QString FoldForSearch(const QString& text)
{
    QString folded = text.normalized(QString::NormalizationForm_KC);
    for (QChar& c : folded) {
        // Katakana ァ..ヶ sit 0x60 above their hiragana ぁ..ゖ.
        if (c.unicode() >= 0x30A1 && c.unicode() <= 0x30F6)
            c = QChar(char16_t(c.unicode() - 0x60));
    }
    return folded.toCaseFolded();
}

FindResult FindUnit(const UnitTable& units, const WeaponTable& weapons, FindTarget target, const QString& text, int from,
                    bool forward)
{
    const QString wanted = FoldForSearch(text).trimmed();
    if (wanted.isEmpty())
        return {};
    bool isNumber = false;
    const int number = wanted.toInt(&isNumber);
    if (target == FindTarget::Number && !isNumber)
        return {};
    FoldedWeaponNames weaponNames(weapons);

    const auto matches = [&](int unit) {
        const UnitRecord& record = units.record(unit);
        switch (target) {
        case FindTarget::Name:
            return FoldForSearch(FromCp932(record.nameText())).contains(wanted);
        case FindTarget::Number:
            return unit == number;
        case FindTarget::Weapon:
            for (int slot = 0; slot < kWeaponSlotCount; ++slot)
                if (const int weapon = record.weapon(slot); weapon != 0 && weaponNames[weapon].contains(wanted))
                    return true;
            return false;
        }
        return false;
    };

    const bool fromUnit = from >= 0 && from < kUnitCount;
    const int start = fromUnit ? from : (forward ? kUnitCount - 1 : 0);
    const int step = forward ? 1 : -1;
    for (int i = 1; i <= kUnitCount; ++i) {
        const int unit = ((start + step * i) % kUnitCount + kUnitCount) % kUnitCount;
        // A number names one unit: finding it is never news of going round.
        if (matches(unit))
            return {unit, fromUnit && target != FindTarget::Number && (forward ? unit <= start : unit >= start)};
    }
    return {};
}
