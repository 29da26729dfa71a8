#pragma once
// Finding a unit: by its name, its number, or the name of a weapon in one of its six slots. Names
// match whatever their width (full-width or half-width forms) and kana (hiragana or katakana), and
// regardless of letter case: both sides are folded the same way first.

#include <QString>

class UnitTable;
class WeaponTable;

enum class FindTarget { Name, Number, Weapon };

struct FindResult {
    int unit = -1;         // -1: no unit matches
    bool wrapped = false;  // the search went past the last (or first) unit to find it
};

// NFKC, katakana as hiragana, letter case folded.
QString FoldForSearch(const QString& text);

// The first unit after `from` (before it when not `forward`) that matches, going round the table:
// `from` itself is tried last. `text` must not be empty.
FindResult FindUnit(const UnitTable& units, const WeaponTable& weapons, FindTarget target, const QString& text, int from,
                    bool forward);
