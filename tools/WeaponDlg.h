#pragma once
// CWeaponDlg: the modal weapon picker. Lists every weapon of the weapon table and shows the values
// of the weapon under the cursor; on OK the caller reads currentWeapon. It remembers its top-left
// corner under "WeaponDlg": restored when it opens, saved when it closes.

#include "app/Placement.h"
#include "data/ReferenceTables.h"
#include "framework/Dialog.h"

#include <array>
#include <cstdint>

class CWeaponDlg : public CDialog {
    Q_OBJECT
public:
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
    void showEvent(QShowEvent* event) override;

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
    ScreenKeeper m_screenKeeper;
};
