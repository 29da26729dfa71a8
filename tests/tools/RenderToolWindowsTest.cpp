// The weapon picker, the three tool windows and the clone dialog as the user sees them, on the demo
// game data: every text fits its control and no two controls overlap. With CORVANE_RENDER_DIR set,
// each window is also written there as a PNG (scripts/render-tool-windows.sh).

#include "support/GuiTest.h"

#include "data/UnitTable.h"
#include "demo/DemoGameFolder.h"
#include "editor/CloneTargetDlg.h"
#include "editor/UnitPicture.h"
#include "framework/Controls.h"
#include "res/Resources.h"
#include "tools/EtcDlg.h"
#include "tools/ProductDlg.h"
#include "tools/SpeedDlg.h"
#include "tools/WeaponDlg.h"
#include "tools/ToolIds.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstring>

namespace {

template <class Table>
void LoadImage(Table& table, const std::vector<std::uint8_t>& bytes)
{
    std::memcpy(table.image().data(), bytes.data(), std::min(bytes.size(), table.image().size()));
}

// The widest text each value box must show whole.
QString WidestValue(const CDialog& dialog, int id)
{
    if (dialog.dialogTemplate().id == 137 && id == 1267)
        return QStringLiteral("-32768");
    if (dialog.dialogTemplate().id == 135 && id == tool::kWeaponSeparation)
        return QStringLiteral("-32768");
    return QStringLiteral("255");
}

// Room for text inside a one-line edit box.
int EditTextRoom(const QLineEdit* edit)
{
    const int frame = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit) : 0;
    const QMargins margins = edit->textMargins();
    return edit->width() - 2 * frame - margins.left() - margins.right() - 2 * 2;  // 2: the box's own side margin
}

// Every text of the window fits its control, and no two controls overlap.
void CheckLayout(CDialog& dialog)
{
    const QString window = QString::fromUtf8(dialog.dialogTemplate().title);
    const QList<QWidget*> controls = dialog.clientArea()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        const QString where = window + u' ' + control->objectName() + u' ' + control->metaObject()->className();
        QVERIFY2(dialog.clientArea()->rect().contains(control->geometry()), qPrintable(where + " lies outside the window"));
        if (auto* label = qobject_cast<QLabel*>(control)) {
            const int needed = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(needed <= label->contentsRect().width(), qPrintable(where + " cuts " + label->text()));
            QVERIFY2(label->fontMetrics().height() <= label->height(), qPrintable(where + " is too low for " + label->text()));
        } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
            QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(where + " cuts " + box->text()));
        } else if (auto* button = qobject_cast<QPushButton*>(control)) {
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(), qPrintable(where));
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            const QString widest = WidestValue(dialog, control->objectName().toInt());
            QVERIFY2(edit->fontMetrics().horizontalAdvance(widest) <= EditTextRoom(edit),
                     qPrintable(where + " cannot show " + widest));
        }
        if (qobject_cast<QGroupBox*>(control))
            continue;
        for (QWidget* other : controls)
            if (other != control && !qobject_cast<QGroupBox*>(other))
                QVERIFY2(!control->geometry().intersects(other->geometry()),
                         qPrintable(where + " overlaps " + other->objectName() + u' ' + other->metaObject()->className()));
    }
}

}  // namespace

class RenderToolWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        guitest::init();
        QVERIFY(m_game.isValid());
        m_files = MakeDemoGameFiles();
        WriteGameFolder(QFile::encodeName(m_game.path()).toStdString(), m_files);
        LoadImage(m_weapons, m_files.weapons);
        LoadImage(m_moveCosts, m_files.moveCosts);
        m_units = std::make_unique<UnitTable>();
        m_units->load(m_files.unitInfo);
        m_output = qEnvironmentVariable("CORVANE_RENDER_DIR");
        if (m_output.isEmpty())
            m_output = m_scratch.path();
        QDir().mkpath(m_output);
    }

    void weaponPicker()
    {
        CWeaponDlg picker;
        picker.setWeaponTable(&m_weapons);
        picker.currentWeapon = m_units->record(1279).weapon(0);
        picker.Create();
        picker.show();
        QVERIFY(QTest::qWaitForWindowExposed(&picker));
        CheckLayout(picker);
        // OK and Cancel keep the template's gap: nothing in other rows pushes one of them.
        QCOMPARE(picker.button(2)->x() - picker.button(1)->geometry().right() - 1, picker.dialogRect(170, 0, 5, 1).width());
        QVERIFY(guitest::renderToPng(&picker, m_output + QStringLiteral("/weapon-picker.png")));
        picker.reject();
    }

    void movementCosts()
    {
        CSpeedDlg window;
        window.setMoveCostTable(&m_moveCosts);
        window.Create();
        window.ShowUnitSet(m_units->record(1279));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CheckLayout(window);
        QVERIFY(guitest::renderToPng(&window, m_output + QStringLiteral("/movement-costs.png")));
    }

    void producingCountries()
    {
        CProductDlg window;
        window.Create();
        if (const auto types = CProductDlg::ReadProductionTypes(m_game.path() + u'/'))
            window.SetProductionTypes(*types);
        UnitRecord record = m_units->record(corvane::demo::kFirstAndLastProducerUnit);
        record.setProductionFlags(record.productionFlags() | (1u << corvane::demo::kFullNameProductionType) | 0x00420000u);
        window.ShowUnitMask(record);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CheckLayout(window);
        QVERIFY(guitest::renderToPng(&window, m_output + QStringLiteral("/producing-countries.png")));

        CProductDlg plain;  // the template's own captions
        plain.Create();
        plain.show();
        QVERIFY(QTest::qWaitForWindowExposed(&plain));
        CheckLayout(plain);
        QVERIFY(guitest::renderToPng(&plain, m_output + QStringLiteral("/producing-countries-template.png")));
    }

    void unknownData()
    {
        CEtcDlg window;
        window.Create();
        UnitRecord record = m_units->record(corvane::demo::kCommandPostFirst);
        record.setData05(255);
        window.ShowUnitData(record);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        CheckLayout(window);
        QVERIFY(guitest::renderToPng(&window, m_output + QStringLiteral("/unknown-data.png")));
    }

    void cloneTarget()
    {
        CCloneTargetDlg dialog;
        dialog.setUnitTable(m_units.get());
        dialog.targetPosition = corvane::demo::kFullNameUnit;
        dialog.Create();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CheckLayout(dialog);
        // The list shows whole rows only, also when scrolled to its end.
        QListWidget* list = dialog.list(CCloneTargetDlg::kTargetListId);
        list->scrollToBottom();
        QCOMPARE(list->viewport()->height() % list->sizeHintForRow(0), 0);
        QCOMPARE(list->visualItemRect(list->item(kUnitCount - 1)).bottom(), list->viewport()->height() - 1);
        QVERIFY(guitest::renderToPng(&dialog, m_output + QStringLiteral("/clone-target.png")));
        dialog.reject();
    }

    void unitPicture()
    {
        static const DialogTemplate kFrame{902, "グラフィック", 105, 55, "ＭＳ Ｐゴシック", 9, DialogStyle::None, 0,
                                           {{1216, ControlKind::Frame, 5, 5, 95, 45, "", Style::None}}};
        CDialog dialog(kFrame);
        UnitPicture picture;
        picture.attach(dialog.control(1216));
        picture.SetPicturePaths(m_game.path() + u'/', m_units->record(corvane::demo::kFullNameUnit).graphicNumber());
        QVERIFY(picture.LoadUnitPicture());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(guitest::renderToPng(&dialog, m_output + QStringLiteral("/unit-picture.png")));
    }

private:
    QTemporaryDir m_game;
    QTemporaryDir m_scratch;
    QString m_output;
    GameFolderFiles m_files;
    WeaponTable m_weapons;
    MoveCostTable m_moveCosts;
    std::unique_ptr<UnitTable> m_units;
};

QTEST_MAIN(RenderToolWindowsTest)
#include "RenderToolWindowsTest.moc"
