#pragma once
// CWeaponDlg: the modal weapon picker. Lists every weapon of the weapon table and shows the values
// of the weapon under the cursor; on OK the caller reads currentWeapon. It remembers its top-left
// corner under "WeaponDlg": restored when it opens, saved when it closes.

#include "data/ReferenceTables.h"
#include "framework/Dialog.h"

#include <array>
#include <cstdint>

class CWeaponDlg : public CDialog {
    Q_OBJECT
public:
    static constexpr int kWeaponListId = 1252;
    static constexpr int kFirstAttackId = 1253;       // 1253..1262: 高 中 低 車 兵 司 艦 潜 ミ 設
    static constexpr std::array<int, 4> kValueIds{1263, 1264, 1265, 1266};  // 力 数 填 射
    static constexpr int kSeparationId = 1269;        // 分離ﾕﾆｯﾄ
    static constexpr int kLastWeapon = WeaponTable::kEntryCount;  // 472

    // `owner` is the window the picker runs over.
    explicit CWeaponDlg(QWidget* owner = nullptr);
    ~CWeaponDlg() override;

    // The weapon table the picker lists; given before it runs.
    void setWeaponTable(const WeaponTable* weapons) { m_weapons = weapons; }

    // Runs the picker modally and destroys its window afterwards (its position is saved then).
    int DoModal();

    // The weapon under the cursor: set before the picker runs, read after OK. A number above 472
    // has no list entry: nothing is selected and the boxes show zeros.
    int currentWeapon = 0;

protected:
    bool OnInitDialog() override;
    void OnDestroy() override;
    void DoDataExchange(DataExchange& dx) override;

private:
    void placeWindow();
    void FillWeaponList();
    void ShowWeaponFields();
    void OnWeaponSelChange();
    const WeaponTable& weapons() const;

    const WeaponTable* m_weapons = nullptr;
    std::array<int, 10> m_attack{};
    std::array<int, 4> m_values{};
    std::int16_t m_separation = 0;
};
