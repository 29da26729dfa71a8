// The clone command through a stand-in for the main dialog.

#include "support/GuiTest.h"
#include "tools/ToolTestSupport.h"

#include "data/UnitTable.h"
#include "editor/CloneTargetDlg.h"
#include "editor/CloneUnit.h"
#include "framework/Controls.h"
#include "framework/MessageService.h"
#include "framework/UnitEditorHost.h"
#include "res/Strings.h"

#include <QAbstractButton>
#include <QWidget>

#include <cstring>
#include <vector>

namespace {

// The main dialog as the clone command sees it; records what the command asked of it.
class FakeHost : public UnitEditorHost {
public:
    FakeHost() : units(std::make_unique<UnitTable>())
    {
        std::vector<std::uint8_t> image(kUnitTableSize);
        for (size_t i = 0; i < image.size(); ++i)
            image[i] = static_cast<std::uint8_t>((i * 7 + i / 138) & 0xff);
        units->load(image);
        for (int u = 0; u < kUnitCount; ++u)
            units->record(u).setName(tooltest::Cp932("兵器") + std::to_string(u));
    }

    UnitTable& unitTable() override { return *units; }
    bool isDataLoaded() const override { return loaded; }
    int currentUnit() const override { return current; }
    void RefreshUnitListEntry(int u) override { calls.push_back("refresh " + std::to_string(u)); }
    void selectUnitInList(int u) override
    {
        calls.push_back("select " + std::to_string(u));
        current = u;
    }
    void ShowUnit(int u) override { calls.push_back("show " + std::to_string(u)); }
    bool saveFormFields() override
    {
        calls.push_back("save form");
        return true;
    }
    void recordUnitChanges(UnitChanges changes, const QString& text) override
    {
        calls.push_back("step " + text.toStdString() + " " + std::to_string(changes.size()));
    }
    QString gameFolder() const override { return {}; }
    QWidget* window() override { return &mainWindow; }

    std::unique_ptr<UnitTable> units;
    bool loaded = true;
    int current = 10;
    std::vector<std::string> calls;
    QWidget mainWindow;
};

std::vector<std::uint8_t> Image(const UnitTable& units)
{
    return {units.image().begin(), units.image().end()};
}

struct TargetView {
    int selectedRow = -2;
    int count = 0;
    QString text20;
};

// Picks `row` in the destination list (or none with -1) and ends the dialog with `button`.
void Answer(TargetView& view, int row, int button)
{
    tooltest::OnNextModal<CCloneTargetDlg>([&view, row, button](CCloneTargetDlg& dialog) {
        QListWidget* targets = dialog.list(CCloneTargetDlg::kTargetListId);
        view.selectedRow = lb::curSel(targets);
        view.count = lb::count(targets);
        view.text20 = lb::text(targets, 20);
        if (row >= 0)
            tooltest::ClickRow(targets, row);
        else if (lb::curSel(targets) >= 0)  // Ctrl+click takes the selection away
            tooltest::ClickRow(targets, lb::curSel(targets), Qt::ControlModifier);
        QTest::mouseClick(dialog.button(button), Qt::LeftButton);
    });
}

}  // namespace

class CloneUnitTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }
    void init() { guitest::resetSettings(); }

    void cloneCopiesTheWholeRecordAndMovesThere()
    {
        FakeHost host;
        host.units->record(10).setName(tooltest::Cp932("複製元の兵器"));
        const std::vector<std::uint8_t> before = Image(*host.units);

        TargetView view;
        Answer(view, 20, 1);
        CloneUnit(host);

        QCOMPARE(view.selectedRow, 10);  // opens at the current unit
        QCOMPARE(view.count, kUnitCount);
        QCOMPARE(view.text20, QStringLiteral("0020:兵器20"));
        const auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QString::fromUtf8(str::kCloneQuestion));
        QCOMPARE(shown[0].icon, MsgIcon::Question);
        QCOMPARE(shown[0].buttons, MsgButtons::OkCancel);

        const std::vector<std::uint8_t> after = Image(*host.units);
        const size_t target = UnitTable::recordOffset(20), source = UnitTable::recordOffset(10);
        QVERIFY(std::memcmp(&after[target], &before[source], kUnitRecordSize) == 0);
        for (size_t i = 0; i < after.size(); ++i)
            if (i < target || i >= target + kUnitRecordSize)
                QCOMPARE(after[i], before[i]);
        QCOMPARE(FromCp932(UnitListText(20, host.units->record(20))), QStringLiteral("0020:複製元の兵器"));
        QCOMPARE(host.calls, (std::vector<std::string>{"save form", "refresh 20", "select 20", "show 20", "step 0020への複製 1"}));
    }

    void destinationListShowsTheTableAsItIsNow()
    {
        FakeHost host;
        host.units->record(20).setName(tooltest::Cp932("改名済み"));
        TargetView view;
        Answer(view, 20, 2);
        CloneUnit(host);
        QCOMPARE(view.text20, QStringLiteral("0020:改名済み"));
    }

    void sameUnitIsRefused()
    {
        FakeHost host;
        const std::vector<std::uint8_t> before = Image(*host.units);
        TargetView view;
        tooltest::OnNextModal<CCloneTargetDlg>([](CCloneTargetDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
        CloneUnit(host);
        const auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QString::fromUtf8(str::kCloneSameUnit));
        QCOMPARE(shown[0].icon, MsgIcon::Stop);
        QCOMPARE(Image(*host.units), before);
        QCOMPARE(host.calls, (std::vector<std::string>{"save form"}));
    }

    void noDestinationIsRefused()
    {
        FakeHost host;
        const std::vector<std::uint8_t> before = Image(*host.units);
        TargetView view;
        Answer(view, -1, 1);
        CloneUnit(host);
        const auto shown = MessageService::instance().takeShown();
        QCOMPARE(shown.size(), size_t(1));
        QCOMPARE(shown[0].text, QString::fromUtf8(str::kCloneBadTarget));
        QCOMPARE(shown[0].icon, MsgIcon::Stop);
        QCOMPARE(Image(*host.units), before);
    }

    void cancelChangesNothing()
    {
        FakeHost host;
        const std::vector<std::uint8_t> before = Image(*host.units);
        TargetView view;
        Answer(view, 30, 2);  // the dialog is cancelled
        CloneUnit(host);
        QVERIFY(MessageService::instance().takeShown().empty());
        QCOMPARE(Image(*host.units), before);

        MessageService::instance().queueAnswer(MsgAnswer::Cancel);  // the confirmation is cancelled
        Answer(view, 30, 1);
        CloneUnit(host);
        QCOMPARE(MessageService::instance().takeShown().size(), size_t(1));
        QCOMPARE(Image(*host.units), before);
        QCOMPARE(host.calls, (std::vector<std::string>{"save form", "save form"}));
    }

    void nothingSelectedDoesNothing()
    {
        FakeHost host;
        host.current = -1;
        host.loaded = false;
        CloneUnit(host);  // no dialog opens: the call returns at once
        QVERIFY(host.calls.empty());
        QVERIFY(MessageService::instance().takeShown().empty());
    }

    void cloneOntoTheLastUnit()
    {
        FakeHost host;
        host.current = 0;
        const std::vector<std::uint8_t> before = Image(*host.units);
        TargetView view;
        Answer(view, 1279, 1);
        CloneUnit(host);
        const auto& units = *host.units;
        QCOMPARE(units.record(1279).bytes, units.record(0).bytes);
        const std::vector<std::uint8_t> after = Image(units);
        // The tail after the last record is untouched.
        const size_t tail = UnitTable::recordOffset(kUnitCount);
        QVERIFY(std::equal(after.begin() + long(tail), after.end(), before.begin() + long(tail)));
    }
};

QTEST_MAIN(CloneUnitTest)
#include "CloneUnitTest.moc"
