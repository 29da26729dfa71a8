// The main dialog with what it owns and runs: the three tool windows (made and shown right after the
// first paint at every start, toggled by the View menu, fed by ShowUnit and collected by Apply), the picture, the
// weapon picker of the slot lines, the clone button and the exchange commands.

#include "support/GuiTest.h"

#include "MainDialogFixture.h"
#include "editor/CloneTargetDlg.h"
#include "editor/UnitFormIds.h"
#include "editor/UnitPicture.h"
#include "framework/Controls.h"
#include "framework/MessageService.h"
#include "tools/EtcDlg.h"
#include "tools/ProductDlg.h"
#include "tools/SpeedDlg.h"
#include "tools/WeaponDlg.h"
#include "tools/ToolIds.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QImage>
#include <QScreen>

namespace {

MessageService& messages() { return MessageService::instance(); }

template <class T>
T* toolWindow(CMainDialog& dialog)
{
    return dialog.findChild<T*>(QString(), Qt::FindDirectChildrenOnly);
}

}  // namespace

class MainDialogToolsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }
    void init() { guitest::resetSettings(); }

    void toolWindowsOpenWithTheDataAndShowAtEveryStart();
    void toolWindowsDoNotExistWhenNothingLoaded();
    void toolWindowsComeUpAfterTheMainDialogWithoutTheFocus();
    void firstPaintShowsTheStoredUnitThenTheToolWindowsComeUpFitted();
    void showUnitFeedsTheWindowsAndApplyCollectsThem();
    void clickOnTheSelectedSetStoresIt();
    void pictureFollowsTheGraphicNumber();
    void doubleClickOnASlotRunsTheWeaponPicker();
    void cloneButtonAndExchangeCommandsRunTheirCommands();
};

void MainDialogToolsTest::toolWindowsOpenWithTheDataAndShowAtEveryStart()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    {
        auto dialog = fixture::openDialog();
        auto* speed = toolWindow<CSpeedDlg>(*dialog);
        auto* product = toolWindow<CProductDlg>(*dialog);
        auto* etc = toolWindow<CEtcDlg>(*dialog);
        QVERIFY(speed && product && etc);
        // The main dialog opens at the top-left of the work area; with no stored positions the
        // tool windows stand to its right, as far as the screen allows.
        const QRect available = dialog->screen()->availableGeometry();
        QCOMPARE(dialog->pos(), dialog->screen()->availableGeometry().topLeft());
        for (CDialog* window : std::initializer_list<CDialog*>{speed, product, etc}) {
            QVERIFY(window->isCreated());
            QVERIFY(window->isVisible());
            const QRect frame = window->frameGeometry();
            QVERIFY(frame.left() > dialog->frameGeometry().right()
                    || frame.left() >= available.right() - frame.width() - 16);
        }
        // The View menu hides and shows them; hiding never destroys them.
        dialog->menuCommand(form::kCmdToggleSpeed)->trigger();
        dialog->menuCommand(form::kCmdToggleProduct)->trigger();
        dialog->menuCommand(form::kCmdToggleEtc)->trigger();
        QVERIFY(!speed->isVisible() && !product->isVisible() && !etc->isVisible());
        dialog->menuCommand(form::kCmdToggleEtc)->trigger();
        QVERIFY(etc->isVisible());
        QVERIFY(dialog->menuCommand(form::kCmdToggleEtc)->isCheckable() == false);
        // Each window opens whole on the screen, the producing-countries window too, though its
        // captions from prokind.dat make it wider than its template.
        for (CDialog* window : std::initializer_list<CDialog*>{speed, product, etc})
            QVERIFY2(available.contains(window->frameGeometry()), window->metaObject()->className());
        speed->move(speed->pos() + QPoint(13, 17));
        const QPoint speedCorner = speed->frameGeometry().topLeft();
        dialog->reject();
        dialog->DestroyWindow();
        // Each window wrote its own position while it was destroyed with the main dialog.
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgLeft"), -9999), speedCorner.x());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), -9999), speedCorner.y());
        QVERIFY(ReadSettingInt(kInitData, QStringLiteral("ProductDlgRight"), -9999) != -9999);
        QVERIFY(ReadSettingInt(kInitData, QStringLiteral("EtcDlgBottom"), -9999) != -9999);
    }
    // Hidden at the last exit, shown again at the next start.
    auto dialog = fixture::openDialog();
    QVERIFY(toolWindow<CSpeedDlg>(*dialog)->isVisible());
    QVERIFY(toolWindow<CProductDlg>(*dialog)->isVisible());
    QVERIFY(toolWindow<CEtcDlg>(*dialog)->isVisible());
    QVERIFY(messages().takeShown().empty());
}

// Records which windows had their first paint, in order.
class FirstPaints : public QObject {
public:
    std::vector<QWidget*> windows;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            QWidget* window = static_cast<QWidget*>(watched)->window();
            if (std::find(windows.begin(), windows.end(), window) == windows.end())
                windows.push_back(window);
        }
        return false;
    }
};

void MainDialogToolsTest::toolWindowsComeUpAfterTheMainDialogWithoutTheFocus()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = std::make_unique<CMainDialog>();
    dialog->Create();
    QVERIFY(dialog->findChildren<CToolWindow*>().isEmpty());  // made after the first paint
    FirstPaints paints;
    qApp->installEventFilter(&paints);
    dialog->show();
    dialog->activateWindow();
    QTRY_VERIFY(toolWindow<CSpeedDlg>(*dialog) && toolWindow<CProductDlg>(*dialog) && toolWindow<CEtcDlg>(*dialog));
    std::vector<CDialog*> tools{toolWindow<CSpeedDlg>(*dialog), toolWindow<CProductDlg>(*dialog),
                                toolWindow<CEtcDlg>(*dialog)};
    QTRY_VERIFY(std::all_of(tools.begin(), tools.end(), [](CDialog* window) { return window->isVisible(); }));
    QTRY_VERIFY(paints.windows.size() == 4);
    qApp->removeEventFilter(&paints);
    QCOMPARE(paints.windows.front(), dialog.get());
    // The main dialog keeps the focus: the arrow key moves the unit list's selection.
    QTRY_COMPARE(QApplication::activeWindow(), dialog.get());
    QListWidget* units = dialog->list(form::kUnitList);
    units->setFocus();
    const int before = lb::curSel(units);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(lb::curSel(units), before + 1);
    dialog->reject();
    dialog->DestroyWindow();

    // A dialog closed before its first paint never shows them, and still stores where they stand:
    // beside it, or at the corners read as it opened (written since, but not read again).
    guitest::resetSettings();
    fixture::pointSettingsAt(folder);
    WriteSettingInt(kInitData, QStringLiteral("EtcDlgLeft"), 40);
    WriteSettingInt(kInitData, QStringLiteral("EtcDlgTop"), 50);
    auto closed = std::make_unique<CMainDialog>();
    closed->Create();
    WriteSettingInt(kInitData, QStringLiteral("EtcDlgLeft"), 400);
    closed->show();
    closed->DestroyWindow();
    QTest::qWait(20);
    QVERIFY(!toolWindow<CSpeedDlg>(*closed)->isVisible());
    QVERIFY(!toolWindow<CEtcDlg>(*closed)->isVisible());
    QVERIFY(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), -9999) != -9999);
    QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("EtcDlgLeft"), -9999), 40);
    QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("EtcDlgTop"), -9999), 50);
}

// What the user sees at the main dialog's first paint, and after it: the form already holds the
// stored unit (the only values its boxes got), the tool windows are made but not shown; then they
// come up, fitted to the captions read from prokind.dat, at their stored corners or beside the
// dialog.
// Runs `seen` for every paint event, before the widget paints.
class PaintWatcher : public QObject {
public:
    explicit PaintWatcher(std::function<void(QObject*)> seen) : m_seen(std::move(seen)) { qApp->installEventFilter(this); }
    ~PaintWatcher() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_seen(watched);
        return false;
    }

private:
    std::function<void(QObject*)> m_seen;
};

void MainDialogToolsTest::firstPaintShowsTheStoredUnitThenTheToolWindowsComeUpFitted()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    const int unit = corvane::demo::kFullNameUnit;
    WriteSettingInt(kInitData, QStringLiteral("LastSelectUnit"), unit);
    WriteSettingInt(kInitData, QStringLiteral("ProductDlgTop"), 60);
    WriteSettingInt(kInitData, QStringLiteral("ProductDlgLeft"), 70);
    auto dialog = std::make_unique<CMainDialog>();
    std::vector<QString> priceTexts;
    QLineEdit* price = dialog->edit(form::kPrice);
    connect(price, &QLineEdit::textChanged, this, [&](const QString& text) { priceTexts.push_back(text); });
    // The opening sequence reads the settings in their order, the tool windows' corners included,
    // though the windows are made only after the first paint; nothing is read after it.
    QStringList reads;
    settingsReadLog = &reads;
    dialog->Create();
    const QStringList expectedReads{QStringLiteral("DS6InstallDir"), QStringLiteral("SpeedDlgTop"),
                                    QStringLiteral("SpeedDlgLeft"),  QStringLiteral("ProductDlgTop"),
                                    QStringLiteral("ProductDlgLeft"), QStringLiteral("EtcDlgTop"),
                                    QStringLiteral("EtcDlgLeft"),    QStringLiteral("LastSelectUnit")};
    QCOMPARE(reads, expectedReads);

    struct AtFirstPaint {
        bool seen = false;
        QString name;
        int row = -1;
        QString price;
        bool anyToolMade = true;
    } atFirstPaint;
    PaintWatcher paints([&](QObject* watched) {
        if (watched != dialog.get() || atFirstPaint.seen)
            return;
        atFirstPaint = {true, dialog->edit(form::kName)->text(), lb::curSel(dialog->list(form::kUnitList)),
                        price->text(), !dialog->findChildren<CToolWindow*>().isEmpty()};
    });
    dialog->show();
    QTRY_VERIFY(toolWindow<CSpeedDlg>(*dialog) && toolWindow<CProductDlg>(*dialog) && toolWindow<CEtcDlg>(*dialog));
    std::vector<CToolWindow*> tools{toolWindow<CSpeedDlg>(*dialog), toolWindow<CProductDlg>(*dialog),
                                    toolWindow<CEtcDlg>(*dialog)};
    QTRY_VERIFY(std::all_of(tools.begin(), tools.end(), [](CToolWindow* w) { return w->isVisible(); }));
    settingsReadLog = nullptr;
    QCOMPARE(reads, expectedReads);
    QVERIFY(atFirstPaint.seen);
    const UnitTable table = folder.demoTable();
    const UnitRecord& record = table.record(unit);
    QVERIFY(record.price() != 0);
    QCOMPARE(atFirstPaint.name, FromCp932(record.nameText()));
    QCOMPARE(atFirstPaint.row, unit);
    QCOMPARE(atFirstPaint.price, QString::number(std::int32_t(record.price())));
    QVERIFY(!atFirstPaint.anyToolMade);
    QCOMPARE(priceTexts, std::vector<QString>{atFirstPaint.price});  // no zeroed form before it

    // Made after it, they show the unit the form shows.
    auto* product = toolWindow<CProductDlg>(*dialog);
    QCOMPARE(product->frameGeometry().topLeft(), QPoint(70, 60));
    for (int k = 0; k < CProductDlg::kTypeCount; ++k) {
        const QAbstractButton* box = product->button(tool::ProductBox(k));
        if (box) {
            QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(box->text()));
            QCOMPARE(box->isChecked(), ((record.productionFlags() >> k) & 1u) != 0);
        }
    }
    QCOMPARE(toolWindow<CSpeedDlg>(*dialog)->currentSet, int(record.moveSet()));
    // Nothing stored: beside the dialog, as far as the screen allows.
    const QRect speed = toolWindow<CSpeedDlg>(*dialog)->frameGeometry();
    QVERIFY(speed.left() > dialog->frameGeometry().right()
            || speed.left() >= dialog->screen()->availableGeometry().right() - speed.width() - 16);
    dialog->reject();
    dialog->DestroyWindow();
}

void MainDialogToolsTest::toolWindowsDoNotExistWhenNothingLoaded()
{
    QTemporaryDir empty;
    WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"), QDir::toNativeSeparators(empty.path()) + QDir::separator());
    messages().queueAnswer(MsgAnswer::Cancel);
    messages().queueAnswer(MsgAnswer::Ok);
    auto dialog = fixture::openDialog();
    QVERIFY(!dialog->isDataLoaded());
    QTest::qWait(20);
    QVERIFY(dialog->findChildren<CToolWindow*>().isEmpty());
    for (int command : {form::kCmdToggleSpeed, form::kCmdToggleProduct, form::kCmdToggleEtc})
        dialog->menuCommand(command)->trigger();
    QVERIFY(dialog->findChildren<CToolWindow*>().isEmpty());
    QTest::mouseClick(dialog->button(form::kClone), Qt::LeftButton);  // nothing selected: nothing happens
    dialog->reject();
    dialog->DestroyWindow();
    // Windows never created write no position.
    QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), -9999), -9999);
    QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("EtcDlgLeft"), -9999), -9999);
}

void MainDialogToolsTest::showUnitFeedsTheWindowsAndApplyCollectsThem()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    auto* speed = toolWindow<CSpeedDlg>(*dialog);
    auto* product = toolWindow<CProductDlg>(*dialog);
    auto* etc = toolWindow<CEtcDlg>(*dialog);

    const int unit = corvane::demo::kFirstAndLastProducerUnit;
    fixture::clickListRow(dialog->list(form::kUnitList), unit);
    const UnitRecord before = dialog->unitTable().record(unit);
    QCOMPARE(speed->currentSet, int(before.moveSet()));
    QVERIFY(product->button(tool::ProductBox(0))->isChecked());
    QVERIFY(product->button(tool::ProductBox(31))->isChecked());
    QVERIFY(!product->button(tool::ProductBox(5))->isChecked());
    QCOMPARE(etc->edit(tool::kDataFirst)->text(), QString::number(before.data00()));

    // Pending edits in the three windows go into the record on Apply, with the form's own.
    QTest::mouseClick(product->button(tool::ProductBox(5)), Qt::LeftButton);
    fixture::typeInto(etc->edit(tool::kDataFirst), QStringLiteral("201"));
    fixture::clickListRow(speed->list(tool::kSetList), 42);
    fixture::typeInto(dialog->edit(form::kDurability), QStringLiteral("66"));
    QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);

    const UnitRecord& after = dialog->unitTable().record(unit);
    QCOMPARE(after.productionFlags(), before.productionFlags() | (1u << 5));
    QCOMPARE(int(after.data00()), 201);
    QCOMPARE(int(after.moveSet()), 42);
    QCOMPARE(int(after.durability()), 66);
    QCOMPARE(dialog->edit(form::kMoveSet)->text(), QStringLiteral("42"));
    QVERIFY(messages().takeShown().empty());

    // Showing another unit discards what was not applied.
    QTest::mouseClick(product->button(tool::ProductBox(6)), Qt::LeftButton);
    fixture::clickListRow(dialog->list(form::kUnitList), unit + 1);
    fixture::clickListRow(dialog->list(form::kUnitList), unit);
    QCOMPARE(product->button(tool::ProductBox(6))->isChecked(), bool((after.productionFlags() >> 6) & 1));
}

// A unit whose set has no table row shows "255" selected; clicking just that entry and applying
// stores 255.
void MainDialogToolsTest::clickOnTheSelectedSetStoresIt()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    const int unit = dialog->currentUnit();
    dialog->unitTable().record(unit).setMoveSet(200);
    dialog->ShowUnit(unit);
    QListWidget* sets = toolWindow<CSpeedDlg>(*dialog)->list(tool::kSetList);
    QCOMPARE(lb::curSel(sets), 174);
    fixture::clickListRow(sets, 174);
    QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
    QCOMPARE(int(dialog->unitTable().record(unit).moveSet()), 255);
    QCOMPARE(dialog->edit(form::kMoveSet)->text(), QStringLiteral("255"));
}

void MainDialogToolsTest::pictureFollowsTheGraphicNumber()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    auto* picture = dialog->findChild<UnitPicture*>();
    QVERIFY(picture);
    const int unit = corvane::demo::kFourDigitPictureUnit;  // graphic number 1234
    fixture::clickListRow(dialog->list(form::kUnitList), unit);
    QVERIFY(picture->picturePath().endsWith(QStringLiteral("Unit1234.bmp"), Qt::CaseInsensitive));
    QVERIFY(!picture->picture().isNull());
    // The frame shows more than black.
    const QImage shown = dialog->control(form::kPicture)->grab().toImage();
    bool drawn = false;
    for (int y = 0; y < shown.height() && !drawn; ++y)
        for (int x = 0; x < shown.width() && !drawn; ++x)
            drawn = (shown.pixel(x, y) & 0xFFFFFF) != 0;
    QVERIFY(drawn);

    // A number without a picture empties the paths; Apply of a new number shows its picture.
    fixture::typeInto(dialog->edit(form::kGraphicNumber), QStringLiteral("9999"));
    QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
    QVERIFY(picture->picturePath().isEmpty());
    fixture::typeInto(dialog->edit(form::kGraphicNumber), QStringLiteral("1234"));
    QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
    QVERIFY(!picture->picturePath().isEmpty());
}

void MainDialogToolsTest::doubleClickOnASlotRunsTheWeaponPicker()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    fixture::clickListRow(dialog->list(form::kUnitList), 20);
    fixture::typeInto(dialog->edit(form::kPrice), QStringLiteral("777"));  // typed elsewhere: survives

    int offered = -1;
    fixture::onNextModal<CWeaponDlg>([&](CWeaponDlg& picker) {
        offered = picker.currentWeapon;
        fixture::clickListRow(picker.list(tool::kWeaponList), 5);
        QTest::mouseClick(picker.button(1), Qt::LeftButton);
    });
    QListWidget* slot = dialog->list(form::kSlotListFirst + 3);
    const QPoint item = slot->visualItemRect(slot->item(0)).center();
    QTest::mouseClick(slot->viewport(), Qt::LeftButton, {}, item);  // a double click starts with a click
    QTest::mouseDClick(slot->viewport(), Qt::LeftButton, {}, item);
    QCOMPARE(offered, int(dialog->unitTable().record(20).weapon(3)));
    QCOMPARE(lb::itemData(slot, 0), 5);
    QCOMPARE(lb::text(slot, 0), FromCp932(dialog->weaponTable().entry(5).nameText()));
    QCOMPARE(dialog->edit(form::kSlotAttackFirst[3])->text(), QString::number(dialog->weaponTable().entry(5).attack(0)));
    QCOMPARE(dialog->edit(form::kPrice)->text(), QStringLiteral("777"));
    QCOMPARE(int(dialog->unitTable().record(20).weapon(3)), offered);  // only Apply stores
    QTest::mouseClick(dialog->button(form::kApply), Qt::LeftButton);
    QCOMPARE(int(dialog->unitTable().record(20).weapon(3)), 5);
    QCOMPARE(dialog->unitTable().record(20).price(), 777u);
}

void MainDialogToolsTest::cloneButtonAndExchangeCommandsRunTheirCommands()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    fixture::clickListRow(dialog->list(form::kUnitList), 30);

    bool targetListShown = false;
    fixture::onNextModal<CCloneTargetDlg>([&](CCloneTargetDlg& target) {
        targetListShown = true;
        QTest::mouseClick(target.button(2), Qt::LeftButton);
    });
    QTest::mouseClick(dialog->button(form::kClone), Qt::LeftButton);
    QVERIFY(targetListShown);
    QCOMPARE(dialog->currentUnit(), 30);

    // Export and the two imports ask for their files; cancelled, nothing changes.
    const UnitTable before = dialog->unitTable();
    for (int command : {form::kCmdExport, form::kCmdImport, form::kCmdBulkImport})
        dialog->menuCommand(command)->trigger();
    const auto requests = messages().takeFileRequests();
    QCOMPARE(int(requests.size()), 3);
    QCOMPARE(requests[0].title, QStringLiteral("兵器データの保存"));
    QCOMPARE(requests[1].title, QStringLiteral("兵器データの読み込み"));
    QCOMPARE(requests[2].title, QStringLiteral("兵器データの一括読み込み"));
    QVERIFY(std::equal(before.image().begin(), before.image().end(), dialog->unitTable().image().begin()));
}

QTEST_MAIN(MainDialogToolsTest)
#include "MainDialogToolsTest.moc"
