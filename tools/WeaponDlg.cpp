#include "tools/WeaponDlg.h"

#include "app/Placement.h"
#include "framework/Controls.h"
#include "framework/FitToContents.h"
#include "res/Resources.h"
#include "tools/ToolIds.h"

#include <QListWidget>

namespace {

const QString kPlacementPrefix = QStringLiteral("WeaponDlg");

}  // namespace

CWeaponDlg::CWeaponDlg(QWidget* owner) : CDialog(res::kDialog135, owner)
{
    setRoutes({
        {Notify::SelChange, tool::kWeaponList, tool::kWeaponList, [this](int) { OnWeaponSelChange(); }, false},
    });
}

CWeaponDlg::~CWeaponDlg() { DestroyWindow(); }

const WeaponTable& CWeaponDlg::weapons() const
{
    static const WeaponTable kNoWeapons;
    return m_weapons ? *m_weapons : kNoWeapons;
}

int CWeaponDlg::DoModal()
{
    const int result = CDialog::DoModal();
    DestroyWindow();
    return result;
}

bool CWeaponDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillWeaponList();
    FitToContents(*this, [](int controlId) {
        return controlId == tool::kWeaponSeparation ? QStringLiteral("-32768") : QStringLiteral("255");
    });
    placeWindow();
    ShowWeaponFields();
    lb::setCurSel(list(tool::kWeaponList), currentWeapon >= 0 && currentWeapon <= kLastWeapon ? currentWeapon : -1);
    return true;
}

// Where the system would put it, centred over its owner, unless a position is stored.
void CWeaponDlg::placeWindow()
{
    adjustSize();
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
        QRect ownerRect = owner->frameGeometry();
        if (!owner->isVisible())
            ownerRect.setSize(ownerRect.size().expandedTo(owner->sizeHint()));
        move(ownerRect.center() - rect().center());
    }
    RestorePlacement(this, kPlacementPrefix);
}

void CWeaponDlg::showEvent(QShowEvent* event)
{
    m_screenKeeper.shown(this);
    CDialog::showEvent(event);
}

void CWeaponDlg::OnDestroy()
{
    m_screenKeeper.beforeSave(this);
    SavePlacement(this, kPlacementPrefix);
}

void CWeaponDlg::DoDataExchange(DataExchange& dx)
{
    for (int i = 0; i < 10; ++i)
        dx.intField(tool::kWeaponAttackFirst + i, m_attack[i]);
    for (int i = 0; i < 4; ++i)
        dx.intField(tool::kWeaponPower + i, m_values[i]);
    dx.shortField(tool::kWeaponSeparation, m_separation);
}

void CWeaponDlg::FillWeaponList()
{
    QListWidget* weaponList = list(tool::kWeaponList);
    lb::reset(weaponList);
    for (int w = 0; w <= kLastWeapon; ++w)
        lb::insert(weaponList, w, FromCp932(WeaponListText(weapons(), w)), w);
}

// The values of currentWeapon; all zero for "nothing" and for a number without a table entry.
void CWeaponDlg::ShowWeaponFields()
{
    const WeaponEntry entry = weapons().entry(currentWeapon);
    for (int i = 0; i < 10; ++i)
        m_attack[i] = entry.attack(i);
    m_values = {entry.power(), entry.shots(), entry.reload(), entry.range()};
    const int separation = entry.separationUnit();
    m_separation = static_cast<std::int16_t>(separation != 0 ? separation - 1 : 0);
    UpdateData(false);
}

void CWeaponDlg::OnWeaponSelChange()
{
    QListWidget* weaponList = list(tool::kWeaponList);
    const int selected = lb::curSel(weaponList);
    if (selected < 0)
        return;
    currentWeapon = lb::itemData(weaponList, selected);
    ShowWeaponFields();
}
