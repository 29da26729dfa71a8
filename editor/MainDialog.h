#pragma once
// CMainDialog: the program's one top-level window (template 102, menu 133). It owns the game's data
// images, the game folder and the data-loaded flag, and shows one unit at a time in its form.

#include "data/Cp932.h"
#include "data/ReferenceTables.h"
#include "data/UnitRecord.h"
#include "editor/UnitHistory.h"
#include "editor/UnitPicture.h"
#include "framework/Dialog.h"
#include "framework/UnitEditorHost.h"
#include "tools/EtcDlg.h"
#include "tools/ProductDlg.h"
#include "tools/SpeedDlg.h"

#include <QFontMetricsF>
#include <QString>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

struct GameImages;
class CFindDlg;
class CCompareDlg;
class CCheckDlg;

class CMainDialog : public CDialog, public UnitEditorHost {
    Q_OBJECT
public:
    explicit CMainDialog(QWidget* parent = nullptr);
    ~CMainDialog() override;

    // ---- UnitEditorHost ----
    UnitTable& unitTable() override;
    bool isDataLoaded() const override { return m_dataLoaded != 0; }
    int currentUnit() const override;
    void RefreshUnitListEntry(int unitNumber) override;
    void selectUnitInList(int unitNumber) override;
    void ShowUnit(int unitNumber) override;
    bool saveFormFields() override { return UpdateData(true); }
    void recordUnitChanges(UnitChanges changes, const QString& stepText) override;
    QString gameFolder() const override;
    QWidget* window() override { return this; }

    // Finds the game folder, reads the four data files and fills the unit list and the combos; false
    // (after its message) when a file cannot be read. Run by the opening sequence.
    bool LoadDataFiles();
    // Applies the form to the current unit (button "適用").
    void ApplyUnit();
    // True when the form or a tool window holds edits that Apply would write: its bytes differ from
    // what Apply would have written when the unit was shown (or a box would be refused).
    bool hasPendingEdits();
    // The weapon table's entry of a weapon number; "nothing" with all values 0 for 0 or less.
    WeaponEntry GetWeaponEntry(int weaponNumber) const;

    // The reference images, for the tool windows and the commands.
    const WeaponTable& weaponTable() const;
    const KindTable& kindTable() const;
    const MoveCostTable& moveCostTable() const;

    // The table's undo history; it tells when the table changed.
    UnitHistory& history() { return m_history; }
    // True when unit u differs from the table as last loaded or saved (its list entry is bold).
    bool isUnitChanged(int unitNumber) const;
    // The find window, once Ctrl+F or F3 has opened it.
    CFindDlg* findDialog() const { return m_findDlg.get(); }
    // The compare window, once a comparison has opened it.
    CCompareDlg* compareDialog() const { return m_compareDlg.get(); }
    // The check window, once the check has opened it.
    CCheckDlg* checkDialog() const { return m_checkDlg.get(); }

protected:
    bool OnInitDialog() override;
    void OnDestroy() override;
    void DoDataExchange(DataExchange& dx) override;
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
    bool event(QEvent* event) override;

private:
    // The tool windows come up once the main dialog has been painted, without taking the focus.
    void showToolWindows();
    // The form's controls: number font, the name's byte limit, boxes outside the tab order.
    void setUpFormControls();
    // Opening: the About entry, then the data files.
    void addAboutEntry();
    void fillLists();
    void fillUnitList();
    void widenUnitList(const QString& entryText);
    // The list entry of unit u in bold when the unit differs from the table as last loaded or saved.
    void markUnitEntry(int unitNumber);
    void clearUnitMarks();
    // The Edit menu's undo and redo items name the steps they would act on.
    void setUpEditMenu();
    void updateEditMenu();
    // The font the unit list's entries are measured in, and a bound on an entry's width in it.
    QFont entryFont() const;
    int entryWidthBound(const QString& entryText);

    // Routed handlers.
    void OnUnitListSelChange();
    void OnCategorySelChange();
    void OnJumpToTransformTarget();
    void OnKindSelChange();
    void OnCloneUnit();
    void OnSlotDoubleClick(int slot);
    void OnSlotKillFocus(int slot);
    void OnSaveUnitTable();
    void OnImportUnit();
    void OnExportUnit();
    void OnBulkImportUnits();
    void OnExportUnitCsv();
    void OnImportUnitCsv();
    void OnToggleSpeedDlg();
    void OnToggleProductDlg();
    void OnToggleEtcDlg();
    void OnAppExit();
    void OnAbout();
    void OnUndo();
    void OnRedo();
    void OnFind();
    void OnFindNext(bool forward);
    void OnCompareWithBackup();
    void OnCompareWithFile();
    // Reads a unit table of 276,016 bytes or more for the compare window; nothing (after a message)
    // when the file cannot be read or is too short.
    std::unique_ptr<UnitTable> readTableToCompare(const std::filesystem::path& file, const QString& shownPath);
    void showComparison(const QString& title, const QString& shownPath, const std::filesystem::path& file,
                        std::unique_ptr<UnitTable> other);
    // The find window, made when first asked for.
    CFindDlg& findWindow();
    // Undo, redo and find (and find next and previous) answer their keys in a window of ours beside
    // the main dialog too.
    void shareEditKeys(CDialog& window, bool withFindNext);

    // The record Apply writes for unit u: the form's boxes and the tool windows' taken back over the
    // record's bytes. `allTaken` tells whether every box of the form was.
    UnitRecord formRecord(int unitNumber, bool* allTaken = nullptr);
    void OnPackChanges();
    void OnCheckTable();

    // One slot line from a weapon number: its list item and its fourteen value fields.
    void setSlotLine(int slot, int weaponNumber);

    // The three tool windows, made right after the main dialog's first paint once the data files
    // have loaded (or as the dialog is destroyed, when it never painted). What they read when they
    // are created is read in the opening sequence and kept here until then.
    struct ToolWindowStartData {
        StoredCorner speedCorner, productCorner, etcCorner;
        std::optional<CProductDlg::TypeFile> productionTypes;
    };
    void makeToolWindows();
    std::unique_ptr<ToolWindowStartData> m_toolWindowData;
    std::unique_ptr<CEtcDlg> m_etcDlg;
    std::unique_ptr<CProductDlg> m_productDlg;
    std::unique_ptr<CSpeedDlg> m_speedDlg;
    UnitPicture m_picture{this};

    std::string m_gameFolder;   // empty or ending in a separator; 8-bit file-name encoding
    int m_dataLoaded = 0;
    enum class ToolWindowStart { Done, AfterFirstPaint, Posted };
    ToolWindowStart m_toolWindowStart = ToolWindowStart::Done;
    // The unit list's entry font (which never changes), and the width each character counts for in
    // an entry's bound: narrow ones measured as they are met, any other as the widest glyph.
    std::optional<QFontMetricsF> m_entryMetrics;
    std::array<qreal, 0x100 + 0x3F> m_narrowAdvances{};  // Latin-1, then U+FF61..U+FF9F; -1 until measured
    qreal m_wideAdvance = 0;
    std::unique_ptr<GameImages> m_images;
    // The unit table as last loaded or saved. Until the table is first handed out for a change, the
    // table itself is that; the copy is made then.
    std::unique_ptr<UnitTable> m_savedUnits;
    const UnitTable& savedUnits() const;
    UnitHistory m_history{*this};
    int m_shownUnit = -1;        // the unit ShowUnit last put into the form
    UnitRecord m_shownForm;      // what Apply would have written for it then
    std::unique_ptr<CFindDlg> m_findDlg;   // made when first asked for
    std::unique_ptr<CCompareDlg> m_compareDlg;
    QString m_compareSource;   // the file the compare window holds, as shown
    std::unique_ptr<CCheckDlg> m_checkDlg;

    // Field values of the form, moved to and from the controls by DoDataExchange.
    cp932::StoredText m_name;  // the name's bytes, as shown and as taken back
    std::array<int, 10> m_defence{};
    std::array<int, 8> m_board{};
    int m_durability = 0;
    int m_count = 0;
    int m_concealActive = 0;
    int m_concealIdle = 0;
    std::array<int, 5> m_search{};
    std::array<std::array<int, 14>, 6> m_weaponValues{};   // per slot line: ten attacks, 力 数 填 射
    std::array<std::array<int, 4>, 6> m_slotPattern{};     // per slot line: P1..P4
    std::array<int, 4> m_speedModifier{};
    std::array<int, 4> m_tank{};
    std::array<int, 4> m_ecm{};
    std::array<int, 4> m_unnamed{};
    std::array<int, 4> m_fuel{};
    std::array<int, 3> m_supply{};
    int m_price = 0;
    int m_boardSize = 0;
    int m_carryCapacity = 0;
    int m_transformTarget = 0;
    int m_graphicNumber = 0;
    int m_transformTime = 0;
    int m_airborne = 0;
    int m_capture = 0;
    int m_roadSeaCost = 0;
    int m_moveSet = 0;
};
