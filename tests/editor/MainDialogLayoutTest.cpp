// The main dialog's window: every control of the form in its place, nothing overlapping, every
// text fully visible with the demo data. With CORVANE_RENDER_PNG set, the loaded dialog is also
// written to that PNG file (scripts/render-main-dialog.sh uses this), showing unit
// CORVANE_RENDER_UNIT when that is set.

#include "support/GuiTest.h"

#include "MainDialogFixture.h"
#include "editor/UnitFormIds.h"
#include "framework/Controls.h"
#include "framework/MessageService.h"
#include "res/Resources.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

#include <cstring>
#include <map>
#include <set>

namespace {

// Whether an edit shows its whole text: the text and the cursor fit inside the frame.
bool editShowsAll(QLineEdit* edit)
{
    const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    const QMargins margins = edit->textMargins();
    const int room = edit->width() - 2 * frame - qMax(0, margins.left()) - qMax(0, margins.right());
    const int needed = edit->fontMetrics().horizontalAdvance(edit->text())
                       + (margins.left() < 0 && margins.right() < 0 ? 0 : 2 * 2 + 1);
    return needed <= room;
}

// Width a closed combo gives to the text of its selected item.
int textRoom(QComboBox* combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = false;
    return combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
}

bool comboShows(QComboBox* combo, int index)
{
    return combo->fontMetrics().horizontalAdvance(combo->itemText(index)) <= textRoom(combo);
}

// The width of the list's widest entry in bold, as a changed unit shows.
int widestBoldEntry(QListWidget* units)
{
    QFont bold = units->font();
    bold.setBold(true);
    int widest = 0;
    for (int u = 0; u < units->count(); ++u)
        widest = qMax(widest, QFontMetrics(bold).horizontalAdvance(units->item(u)->text()));
    return widest;
}

}  // namespace

class MainDialogLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }
    void init() { guitest::resetSettings(); }

    void controlsStayInsideTheirGroupsAndNeverOverlap();
    void fixedTextsFitTheirControls();
    void windowIsFixedSizeWithMinimiseButAnyMaximise();
    void menuHasEveryCommandAndTheAboutEntry();
    void demoUnitsShowEveryTextCompletely();
    void unitListIsAsWideAsItsWidestEntryWhateverItsCharacters();
    void renderWhenAsked();
};

void MainDialogLayoutTest::controlsStayInsideTheirGroupsAndNeverOverlap()
{
    struct Box {
        QRect rect;
        QString name;
    };
    const auto toRect = [](const ControlTemplate& c) { return QRect(c.x, c.y, c.width, c.height); };
    std::vector<Box> groups, controls;
    for (const ControlTemplate& c : res::kDialog102.controls) {
        const QString name = c.id == -1 ? QString::fromUtf8(c.text) : QString::number(c.id);
        QRect rect = toRect(c);
        if (c.kind == ControlKind::ComboBox)
            rect.setHeight(12);  // the template's height is the dropped list's
        (c.kind == ControlKind::GroupBox ? groups : controls).push_back({rect, name});
    }
    // The group boxes are exactly where the form says.
    const std::map<QString, QRect> expectedGroups{
        {"兵器選択", {5, 5, 100, 265}},    {"兵器情報", {110, 5, 320, 265}}, {"補給", {385, 15, 40, 45}},
        {"防御力", {115, 135, 55, 90}},    {"索敵能力", {175, 135, 35, 90}}, {"搭載", {215, 135, 50, 45}},
        {"隠蔽能力", {215, 180, 50, 45}},  {"搭乗", {270, 135, 45, 110}},    {"移動力", {115, 225, 75, 40}},
        {"変形", {195, 225, 70, 40}},      {"グラフィック", {320, 190, 105, 75}},
    };
    QCOMPARE(groups.size(), expectedGroups.size());
    for (const Box& group : groups)
        QCOMPARE(group.rect, expectedGroups.at(group.name));

    const QRect client(0, 0, res::kDialog102.width, res::kDialog102.height);
    for (const Box& control : controls) {
        QVERIFY2(client.contains(control.rect), qPrintable(control.name));
        // A control is either wholly inside a group box (the inner one of 兵器情報) or outside it.
        for (const Box& group : groups) {
            const QRect inside = group.rect.adjusted(1, 8, -1, -1);  // below the title line, inside the frame
            if (group.rect.intersects(control.rect))
                QVERIFY2(inside.contains(control.rect),
                         qPrintable(QStringLiteral("%1 crosses the frame of %2").arg(control.name, group.name)));
        }
        for (const Box& other : controls)
            if (&other != &control)
                QVERIFY2(!control.rect.intersects(other.rect),
                         qPrintable(QStringLiteral("%1 overlaps %2").arg(control.name, other.name)));
    }
    // The sizes the form gives: the unit list, the slot lists, the picture frame and the "№" edit.
    for (const ControlTemplate& c : res::kDialog102.controls) {
        if (c.id == form::kUnitList)
            QCOMPARE(QSize(c.width, c.height), QSize(90, 215));
        if (c.id >= form::kSlotListFirst && c.id < form::kSlotListFirst + form::kSlotCount)
            QCOMPARE(QSize(c.width, c.height), QSize(75, 10));
        if (c.id == form::kPicture)
            QCOMPARE(toRect(c), QRect(325, 215, 95, 45));
        if (c.id == form::kGraphicNumber)
            QCOMPARE(toRect(c), QRect(390, 200, 30, 10));
    }
}

void MainDialogLayoutTest::fixedTextsFitTheirControls()
{
    CMainDialog dialog;
    dialog.show();
    for (QLabel* label : dialog.clientArea()->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QSize text = label->fontMetrics().size(0, label->text());
        QVERIFY2(text.width() <= label->width() && text.height() <= label->height(), qPrintable(label->text()));
    }
    for (QCheckBox* box : dialog.clientArea()->findChildren<QCheckBox*>())
        QVERIFY2(box->sizeHint().width() <= box->width() + 1 && box->sizeHint().height() <= box->height() + 3,
                 qPrintable(box->text()));
    for (QPushButton* button : dialog.clientArea()->findChildren<QPushButton*>())
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 4 <= button->width(),
                 qPrintable(button->text()));
    for (QGroupBox* group : dialog.clientArea()->findChildren<QGroupBox*>())
        QVERIFY2(group->fontMetrics().horizontalAdvance(group->title()) + 12 <= group->width(), qPrintable(group->title()));
}

void MainDialogLayoutTest::windowIsFixedSizeWithMinimiseButAnyMaximise()
{
    CMainDialog dialog;
    dialog.show();
    QVERIFY(dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(dialog.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.clientArea()->size(), dialog.dialogRect(0, 0, 435, 295).size());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Corvane"));
    QVERIFY(!dialog.windowIcon().isNull());
    // OK is the default button, so Enter in any box acts as OK.
    QVERIFY(qobject_cast<QPushButton*>(dialog.button(1))->isDefault());
    QVERIFY(!qobject_cast<QPushButton*>(dialog.button(form::kApply))->isDefault());
}

void MainDialogLayoutTest::menuHasEveryCommandAndTheAboutEntry()
{
    CMainDialog dialog;
    const std::map<int, QString> commands{
        {32775, "上書き保存(&S)"},         {32777, "兵器ﾃﾞｰﾀの読み込み(&I)"}, {32776, "兵器ﾃﾞｰﾀの書き出し(&O)"},
        {32778, "兵器ﾃﾞｰﾀの一括読み込み"}, {57665, "終了(&E)"},               {32771, "移動力(&S)"},
        {32772, "生産可能国(&P)"},         {32779, "不明ﾃﾞｰﾀ(&E)"},
    };
    for (const auto& [command, text] : commands) {
        QVERIFY(dialog.menuCommand(command));
        QCOMPARE(dialog.menuCommand(command)->text(), text);
    }
    QCOMPARE(dialog.menuCommand(32775)->statusTip(), QStringLiteral("変更をUnitinfo.datに保存"));
    QCOMPARE(dialog.menuCommand(57665)->statusTip(), QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの終了"));

    auto* menuBar = dialog.findChild<QMenuBar*>();
    QVERIFY(menuBar);
    QStringList titles;
    for (QAction* action : menuBar->actions())
        titles << action->text();
#ifdef Q_OS_WIN
    QCOMPARE(titles, QStringList({"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)"}));
#else
    // The opening sequence adds the About entry; with no game folder the user gives up the search.
    MessageService::instance().queueAnswer(MsgAnswer::Cancel);
    MessageService::instance().queueAnswer(MsgAnswer::Ok);
    dialog.Create();
    titles.clear();
    for (QAction* action : menuBar->actions())
        titles << action->text();
    QCOMPARE(titles, QStringList({"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ﾍﾙﾌﾟ(&H)"}));
    QMenu* help = menuBar->actions().last()->menu();
    QCOMPARE(help->actions().size(), 1);
    QCOMPARE(help->actions().first()->text(), QStringLiteral("Corvane のﾊﾞｰｼﾞｮﾝ情報(&A)..."));
#endif
}

// The widest entry in bold, whichever characters make it the widest: many narrow ones, fewer wide
// ones, or a mix, wherever in the table it stands.
void MainDialogLayoutTest::unitListIsAsWideAsItsWidestEntryWhateverItsCharacters()
{
    const std::vector<std::vector<std::pair<int, QString>>> tables{
        {{7, QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWW")}, {8, QStringLiteral("超高速長距離全天候迎撃機")}},
        {{1279, QStringLiteral("ﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜﾜ")}, {0, QStringLiteral("iiiiiiiiiiiiiiiiiiiiiiii")}},
        {{640, QStringLiteral("ＷＷＷＷＷＷＷＷＷＷＷＷ")}, {641, QStringLiteral("ﾊﾟﾝｻﾞｰ@#%&W改改改改改")}},
    };
    for (const auto& names : tables) {
        GameFolderFiles files = MakeDemoGameFiles();
        UnitTable table;
        table.load(files.unitInfo);
        for (const auto& [unit, name] : names)
            table.record(unit).setName(ToCp932(name).value());
        std::memcpy(files.unitInfo.data(), table.image().data(), table.image().size());
        fixture::GameFolder folder(files);
        fixture::pointSettingsAt(folder);
        auto dialog = fixture::openDialog();
        QListWidget* units = dialog->list(form::kUnitList);
        QCOMPARE(units->gridSize().width(), widestBoldEntry(units) + 2 * units->fontMetrics().averageCharWidth());
        dialog->reject();
        dialog->DestroyWindow();
    }
}

void MainDialogLayoutTest::demoUnitsShowEveryTextCompletely()
{
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    auto dialog = fixture::openDialog();
    QVERIFY(dialog->isDataLoaded());

    for (int id : {form::kCategory, form::kKind, form::kAltitude, form::kDefenceType, form::kCarrierClass}) {
        QComboBox* combo = dialog->combo(id);
        for (int i = 0; i < combo->count(); ++i)
            QVERIFY2(comboShows(combo, i), qPrintable(combo->itemText(i)));
    }
    // The unit list scrolls sideways where a name is wider than the list, and cuts nothing off.
    QListWidget* units = dialog->list(form::kUnitList);
    QCOMPARE(units->textElideMode(), Qt::ElideNone);
    QCOMPARE(units->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    // Its entries are exactly as wide as the widest entry in bold (as a changed unit shows), with a
    // margin.
    const int widest = widestBoldEntry(units);
    QCOMPARE(units->gridSize().width(), widest + 2 * units->fontMetrics().averageCharWidth());
    QTest::qWait(1);
    QVERIFY(widest <= units->viewport()->width() + units->horizontalScrollBar()->maximum());

    std::vector<QLineEdit*> edits;
    for (const ControlTemplate& control : res::kDialog102.controls)
        if (control.kind == ControlKind::Edit)
            edits.push_back(dialog->edit(control.id));
    for (int u = 0; u < kUnitCount; ++u) {
        dialog->ShowUnit(u);
        for (QLineEdit* edit : edits)
            QVERIFY2(editShowsAll(edit), qPrintable(QStringLiteral("unit %1, box %2: %3").arg(u).arg(edit->objectName(), edit->text())));
        for (int k = 0; k < form::kSlotCount; ++k) {
            QListWidget* slot = dialog->list(form::kSlotListFirst + k);
            const int width = slot->fontMetrics().horizontalAdvance(slot->item(0)->text());
            QVERIFY2(width + 4 <= slot->viewport()->width(), qPrintable(slot->item(0)->text()));
        }
    }
}

void MainDialogLayoutTest::renderWhenAsked()
{
    const QString path = qEnvironmentVariable("CORVANE_RENDER_PNG");
    if (path.isEmpty())
        QSKIP("CORVANE_RENDER_PNG is not set");
    fixture::GameFolder folder;
    fixture::pointSettingsAt(folder);
    // CORVANE_RENDER_UNIT picks the unit on show (default: the first start's unit 1).
    bool numbered = false;
    const int unit = qEnvironmentVariableIntValue("CORVANE_RENDER_UNIT", &numbered);
    if (numbered)
        WriteSettingInt(kInitData, QStringLiteral("LastSelectUnit"), unit);
    auto dialog = fixture::openDialog();
    QVERIFY(dialog->isDataLoaded());
    QTest::qWait(50);
    QVERIFY(guitest::renderToPng(dialog.get(), path));
}

QTEST_MAIN(MainDialogLayoutTest)
#include "MainDialogLayoutTest.moc"
