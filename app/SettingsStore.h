#pragma once
// The per-user store of remembered values. On Windows it is the registry under
// HKEY_CURRENT_USER\Software\Orlane\<application>\<section> (integers as REG_DWORD, texts as
// REG_SZ); elsewhere the per-user settings file of Orlane/<application>. Nothing is cached here:
// every read and write goes to the store.

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QSettings;


inline const QString kInitData = QStringLiteral("InitData");

// The stored integer, or `defaultValue` when it is missing or cannot be read as an integer.
int ReadSettingInt(const QString& section, const QString& name, int defaultValue);
// The same read for a caller whose default is known only later: nothing when it is missing or
// cannot be read as an integer.
std::optional<int> ReadStoredSettingInt(const QString& section, const QString& name);
// The stored text (an empty text stays empty), or `defaultValue` when it is missing.
QString ReadSettingText(const QString& section, const QString& name, const QString& defaultValue);
// Each write reaches the disk at once, unless a SettingsBatch is open.
bool WriteSettingInt(const QString& section, const QString& name, int value);
bool WriteSettingText(const QString& section, const QString& name, const QString& value);

// While a batch lives, every read and write goes through one settings object, in the order made,
// and the values reach the disk together with one sync when the outermost batch ends. Used where
// many values are written at once, such as the closing of the main dialog with its tool windows.
class SettingsBatch {
public:
    SettingsBatch();
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

private:
    std::unique_ptr<QSettings> m_settings;  // only the outermost batch has one
};

// Test seam: while set, the name of every value written and "sync" for every sync to disk are
// appended to this list, in the order they happen; the other, the name of every value read.
extern QStringList* settingsWriteLog;
extern QStringList* settingsReadLog;
