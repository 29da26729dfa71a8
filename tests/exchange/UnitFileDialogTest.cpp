// The unit file dialog: the name preview under the file dialog's own controls, in the Open and the
// Save dialog, and its filters.

#include "support/GuiTest.h"
#include "support/TestFiles.h"

#include "exchange/UnitFileDialog.h"
#include "exchange/core/UnitFile.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/MessageService.h"
#include "res/Strings.h"

#include <QAbstractProxyModel>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QTreeView>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kName24 = QStringLiteral("超高速長距離全天候迎撃機");  // 24 bytes in code page 932
const QString kNotUnitFile = QString::fromUtf8(str::kNotUnitFile);

QByteArray UnitFile(int tag, int unit, const QString& name, int size = 154)
{
    UnitRecord record;
    record.bytes.fill(0x31);
    record.setName(ToCp932(name).value());
    const auto bytes = UnitFileBytes(unit, record);
    QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    data[0] = char(tag & 0xff);
    data[1] = char(tag >> 8);
    data.resize(size, 'z');
    return data;
}

FileDialogRequest Request(bool save, const QString& folder, const QString& name = {})
{
    FileDialogRequest request;
    request.save = save;
    request.title = QString::fromUtf8(save ? str::kExportTitle : str::kImportTitle);
    request.filter = QString::fromUtf8(str::kUnitFileFilter);
    request.initialFolder = folder;
    request.initialName = name;
    request.confirmOverwrite = true;
    return request;
}

}  // namespace

class UnitFileDialogTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }

    // Clicks a file of the folder in the dialog's file list, as the user would.
    static void clickFile(CUnitFileDialog& dialog, const QString& file)
    {
        QAbstractItemView* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
        if (!view || !view->isVisible())
            view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
        QVERIFY(view);
        auto* model = dialog.findChild<QFileSystemModel*>();
        QVERIFY(model);
        // The view shows the files through the dialog's filter.
        const auto shown = [&] { return dialog.proxyModel()->mapFromSource(model->index(file)); };
        QTRY_VERIFY(shown().isValid() && view->visualRect(shown()).isValid());
        const QModelIndex index = shown();
        view->scrollTo(index);
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        view->setFocus();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

private slots:
    void initTestCase()
    {
        guitest::init();
        QVERIFY(m_dir.isValid());
        WriteAll(path(QStringLiteral("unit0007.sui")), UnitFile(143, 7, kName24));
        WriteAll(path(QStringLiteral("UNIT0012.SUI")), UnitFile(143, 12, QStringLiteral("ｼﾃﾞﾝ攻撃機")));
        WriteAll(path(QStringLiteral("tag0.sui")), UnitFile(0, 12, QStringLiteral("偽物")));
        WriteAll(path(QStringLiteral("unit1280.sui")), UnitFile(143, 1280, QStringLiteral("範囲外")));
        WriteAll(path(QStringLiteral("short.sui")), UnitFile(143, 12, QStringLiteral("短い"), 153));
        WriteAll(path(QStringLiteral("long.sui")), UnitFile(143, 12, QStringLiteral("長い"), 600));
        WriteAll(path(QStringLiteral("readme.txt")), "hello");
        WriteAll(path(QStringLiteral("unit0013")), UnitFile(143, 13, QStringLiteral("拡張子なし")));
        QDir(m_dir.path()).mkdir(QStringLiteral("folder.sui"));
    }
    void init() { guitest::resetSettings(); }

    void previewTextOfEveryKindOfPath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("24-byte name in full") << "unit0007.sui" << kName24;
        QTest::newRow("half-width katakana") << "UNIT0012.SUI" << QStringLiteral("ｼﾃﾞﾝ攻撃機");
        QTest::newRow("longer file") << "long.sui" << QStringLiteral("長い");
        QTest::newRow("tag 0") << "tag0.sui" << kNotUnitFile;
        QTest::newRow("unit 1280") << "unit1280.sui" << kNotUnitFile;
        QTest::newRow("153 bytes") << "short.sui" << kNotUnitFile;
        QTest::newRow("other file") << "readme.txt" << kNotUnitFile;
        QTest::newRow("folder") << "folder.sui" << QString();
        QTest::newRow("missing") << "missing.sui" << QString();
    }

    void previewTextOfEveryKindOfPath()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        QCOMPARE(CUnitFileDialog::PreviewText(path(name)), shown);
        QCOMPARE(CUnitFileDialog::PreviewText(QString()), QString());
    }

    void openDialogPreviewsTheFileUnderTheCursor()
    {
        CUnitFileDialog dialog(Request(false, m_dir.path()));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QLineEdit* box = dialog.unitNameBox();
        QVERIFY(box);
        QCOMPARE(box->objectName(), QStringLiteral("1001"));
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->text(), QString());

        clickFile(dialog, path(QStringLiteral("unit0007.sui")));
        QTRY_COMPARE(box->text(), kName24);
        clickFile(dialog, path(QStringLiteral("tag0.sui")));
        QTRY_COMPARE(box->text(), kNotUnitFile);
        clickFile(dialog, path(QStringLiteral("folder.sui")));
        QTRY_COMPARE(box->text(), QString());
        clickFile(dialog, path(QStringLiteral("short.sui")));
        QTRY_COMPARE(box->text(), kNotUnitFile);
        clickFile(dialog, path(QStringLiteral("UNIT0012.SUI")));
        QTRY_COMPARE(box->text(), QStringLiteral("ｼﾃﾞﾝ攻撃機"));
    }

    void saveDialogPreviewsTooAndProposesTheName()
    {
        CUnitFileDialog dialog(Request(true, m_dir.path(), QStringLiteral("unit0003.sui")));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(!dialog.testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(dialog.defaultSuffix(), QString());
        QCOMPARE(dialog.windowTitle(), QStringLiteral("兵器データの保存"));
        auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(nameEdit);
        QCOMPARE(nameEdit->text(), QStringLiteral("unit0003.sui"));

        clickFile(dialog, path(QStringLiteral("UNIT0012.SUI")));
        QTRY_COMPARE(dialog.unitNameBox()->text(), QStringLiteral("ｼﾃﾞﾝ攻撃機"));
        clickFile(dialog, path(QStringLiteral("unit0007.sui")));
        QTRY_COMPARE(dialog.unitNameBox()->text(), kName24);
    }

    void withoutAFileUnderTheCursorTheProposedNameIsPreviewed()
    {
        CUnitFileDialog dialog(Request(true, m_dir.path(), QStringLiteral("unit0007.sui")));
        emit dialog.currentChanged(QString());
        QCOMPARE(dialog.unitNameBox()->text(), kName24);
        CUnitFileDialog open(Request(false, m_dir.path()));
        open.unitNameBox()->setText(QStringLiteral("x"));
        emit open.currentChanged(QString());
        QCOMPARE(open.unitNameBox()->text(), QString());
    }

    void openDialogAcceptsANameThatDoesNotExist()
    {
        CUnitFileDialog dialog(Request(false, m_dir.path()));
        QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog.fileMode(), QFileDialog::AnyFile);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("兵器データの読み込み"));
    }

    // The unit file filter lists exchange files whatever their case; "全てのﾌｧｲﾙ (*.*)", chosen with
    // the keyboard, lists every file: one saved without an extension can be picked and previewed.
    void filtersListWhatTheyMatch()
    {
        CUnitFileDialog dialog(Request(false, m_dir.path()));
        QCOMPARE(dialog.nameFilters(), QStringList({QStringLiteral("ﾕﾆｯﾄﾃﾞｰﾀﾌｧｲﾙ (*.sui)"), QStringLiteral("全てのﾌｧｲﾙ (*.*)")}));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QStringList unitFiles{"UNIT0012.SUI", "folder.sui", "long.sui", "short.sui", "tag0.sui", "unit0007.sui", "unit1280.sui"};
        QTRY_COMPARE(guitest::shownFileNames(dialog), unitFiles);

        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QVERIFY(types);
        types->setFocus();
        QTest::keyClick(types, Qt::Key_Down);
        QTRY_VERIFY(guitest::shownFileNames(dialog).contains(QStringLiteral("unit0013")));
        QVERIFY(guitest::shownFileNames(dialog).contains(QStringLiteral("readme.txt")));
        clickFile(dialog, path(QStringLiteral("unit0013")));
        QTRY_COMPARE(dialog.unitNameBox()->text(), QStringLiteral("拡張子なし"));
    }

    void panelStandsUnderTheStandardControls()
    {
        CUnitFileDialog dialog(Request(false, m_dir.path()));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        CDialog* panel = dialog.panel();
        QVERIFY(panel->isVisible());
        QVERIFY(!panel->control(1119)->isVisible());
        auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QVERIFY(buttons);
        const QRect box = dialog.unitNameBox()->geometry().translated(dialog.unitNameBox()->parentWidget()->mapTo(&dialog, QPoint()));
        QVERIFY(box.top() >= buttons->geometry().bottom());
        QVERIFY(dialog.rect().contains(box));
        QLabel* label = nullptr;
        for (QLabel* candidate : panel->findChildren<QLabel*>())
            if (candidate->text() == QStringLiteral("兵器名"))
                label = candidate;
        QVERIFY(label);
        const QRect labelRect = label->geometry().translated(label->parentWidget()->mapTo(&dialog, QPoint()));
        QVERIFY(dialog.rect().contains(labelRect));
        QVERIFY(labelRect.right() < box.left());
    }

    void escapeAndEnterInThePanelAreTheFileDialogs()
    {
        CUnitFileDialog cancelled(Request(false, m_dir.path()));
        cancelled.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cancelled));
        cancelled.unitNameBox()->setFocus();
        QTest::keyClick(cancelled.unitNameBox(), Qt::Key_Escape);
        QVERIFY(!cancelled.isVisible());
        QCOMPARE(cancelled.result(), int(QDialog::Rejected));
        QVERIFY(cancelled.panel()->isVisibleTo(&cancelled));

        CUnitFileDialog chosen(Request(false, m_dir.path()));
        chosen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&chosen));
        clickFile(chosen, path(QStringLiteral("unit0007.sui")));
        QTRY_COMPARE(chosen.unitNameBox()->text(), kName24);
        chosen.unitNameBox()->setFocus();
        QTest::keyClick(chosen.unitNameBox(), Qt::Key_Return);
        QVERIFY(!chosen.isVisible());
        QCOMPARE(chosen.result(), int(QDialog::Accepted));
        QCOMPARE(chosen.selectedFiles(), QStringList{path(QStringLiteral("unit0007.sui"))});
    }

    void testModeTakesTheQueuedFile()
    {
        MessageService::instance().queueFile(path(QStringLiteral("unit0007.sui")));
        CUnitFileDialog dialog(Request(false, m_dir.path()));
        QCOMPARE(dialog.DoModal(), std::optional<QString>(path(QStringLiteral("unit0007.sui"))));
        QCOMPARE(dialog.DoModal(), std::optional<QString>());
        QCOMPARE(MessageService::instance().takeFileRequests().size(), size_t(2));
    }

    // Renders the import dialog with a unit's name in the preview, when CORVANE_RENDER_PNG names a file.
    void rendersTheImportDialogWithAPreview()
    {
        const QString target = qEnvironmentVariable("CORVANE_RENDER_PNG");
        if (target.isEmpty())
            QSKIP("CORVANE_RENDER_PNG is not set");
        CUnitFileDialog dialog(Request(false, m_dir.path()));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        clickFile(dialog, path(QStringLiteral("unit0007.sui")));
        QTRY_COMPARE(dialog.unitNameBox()->text(), kName24);
        QVERIFY(guitest::renderToPng(&dialog, target));
    }
};

QTEST_MAIN(UnitFileDialogTest)
#include "UnitFileDialogTest.moc"
