// The settings store and the window-position protocol.

#include "support/GuiTest.h"

#include "app/Placement.h"
#include "app/SettingsStore.h"

#include <QSettings>

#ifdef Q_OS_WIN
#include <windows.h>

#include <string>
#endif
#include <QTest>
#include <QWidget>

class SettingsStoreTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { guitest::init(); }
    void init() { guitest::resetSettings(); }

    void missingValuesGiveTheDefault()
    {
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("LastSelectUnit"), 1), 1);
        QCOMPARE(ReadSettingText(kInitData, QStringLiteral("DS6InstallDir"),
                                 QStringLiteral("c:\\Program Files\\SystemSoft Game\\Ds6\\")),
                 QStringLiteral("c:\\Program Files\\SystemSoft Game\\Ds6\\"));
        QCOMPARE(ReadSettingText(kInitData, QStringLiteral("UnitInfoLoadDir"), QString()), QString());
    }

    void storedValuesComeBack()
    {
        QVERIFY(WriteSettingInt(kInitData, QStringLiteral("LastSelectUnit"), -1));
        QVERIFY(WriteSettingText(kInitData, QStringLiteral("UnitInfoSaveDir"), QStringLiteral("/tmp/ユニット/")));
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("LastSelectUnit"), 1), -1);
        QCOMPARE(ReadSettingText(kInitData, QStringLiteral("UnitInfoSaveDir"), QString()), QStringLiteral("/tmp/ユニット/"));
        // The values live in section InitData of Orlane/Corvane.
        QCOMPARE(QSettings().value(QStringLiteral("InitData/LastSelectUnit")).toInt(), -1);
        QCOMPARE(QSettings().organizationName(), QStringLiteral("Orlane"));
#ifdef Q_OS_WIN
        // On Windows the application is the executable's name, and the store the registry.
        QCOMPARE(QSettings().applicationName(), QStringLiteral("SettingsStoreTest"));
#else
        QCOMPARE(QSettings().applicationName(), QStringLiteral("Corvane"));
#endif
    }

#ifdef Q_OS_WIN
    // HKEY_CURRENT_USER\software\Orlane\<exe>\InitData: a read creates the keys, integers are REG_DWORD
    // and texts REG_SZ.
    void windowsRegistryKeysAndTypes()
    {
        const std::wstring key = L"software\\Orlane\\SettingsStoreTest\\InitData";
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"software\\Orlane\\SettingsStoreTest");
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("LastSelectUnit"), 7), 7);
        HKEY handle = nullptr;
        QCOMPARE(::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle), LONG(ERROR_SUCCESS));
        WriteSettingInt(kInitData, QStringLiteral("LastSelectUnit"), 1279);
        WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"), QStringLiteral("C:\\ゲーム\\大戦略\\"));
        DWORD type = 0, value = 0, size = sizeof value;
        QCOMPARE(::RegQueryValueExW(handle, L"LastSelectUnit", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size),
                 LONG(ERROR_SUCCESS));
        QCOMPARE(type, DWORD(REG_DWORD));
        QCOMPARE(value, DWORD(1279));
        wchar_t text[64] = {};
        size = sizeof text;
        QCOMPARE(::RegQueryValueExW(handle, L"DS6InstallDir", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
                 LONG(ERROR_SUCCESS));
        QCOMPARE(type, DWORD(REG_SZ));
        QCOMPARE(QString::fromWCharArray(text), QStringLiteral("C:\\ゲーム\\大戦略\\"));
        ::RegCloseKey(handle);
    }
#endif

    void anEmptyTextStaysEmpty()
    {
        WriteSettingText(kInitData, QStringLiteral("DS6InstallDir"), QString());
        QCOMPARE(ReadSettingText(kInitData, QStringLiteral("DS6InstallDir"), QStringLiteral("default")), QString());
    }

    void aValueThatIsNotANumberGivesTheDefault()
    {
        QSettings().setValue(QStringLiteral("InitData/LastSelectUnit"), QStringLiteral("many"));
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("LastSelectUnit"), 1), 1);
    }

    void placementRestoresOnlyTheTopLeftCorner()
    {
        QWidget window;
        window.setGeometry(100, 120, 200, 150);
        window.show();
        SavePlacement(&window, QStringLiteral("SpeedDlg"));
        const QRect frame = window.frameGeometry();
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), -1), frame.top());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgLeft"), -1), frame.left());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgRight"), -1), frame.left() + frame.width());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("SpeedDlgBottom"), -1), frame.top() + frame.height());

        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgLeft"), 30);
        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgTop"), 40);
        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgRight"), 9999);   // never read
        WriteSettingInt(kInitData, QStringLiteral("SpeedDlgBottom"), 9999);
        QWidget other;
        other.setGeometry(300, 300, 200, 150);
        other.show();
        RestorePlacement(&other, QStringLiteral("SpeedDlg"));
        QCOMPARE(other.frameGeometry().topLeft(), QPoint(30, 40));
        QCOMPARE(other.size(), QSize(200, 150));
    }

    void withoutStoredValuesAWindowStaysWhereItIs()
    {
        QWidget window;
        window.setGeometry(210, 220, 100, 80);
        window.show();
        const QPoint before = window.frameGeometry().topLeft();
        RestorePlacement(&window, QStringLiteral("EtcDlg"));
        QCOMPARE(window.frameGeometry().topLeft(), before);
    }

    void mainDialogWritesAllFourEdges()
    {
        QWidget window;
        window.setGeometry(0, 0, 640, 480);
        window.show();
        SaveMainDialogPlacement(&window);
        const QRect frame = window.frameGeometry();
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("MainDialogLeft"), -1), frame.left());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("MainDialogRight"), -1), frame.left() + frame.width());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("MainDialogTop"), -1), frame.top());
        QCOMPARE(ReadSettingInt(kInitData, QStringLiteral("MainDialogBottom"), -1), frame.top() + frame.height());
    }
};

QTEST_MAIN(SettingsStoreTest)
#include "SettingsStoreTest.moc"
