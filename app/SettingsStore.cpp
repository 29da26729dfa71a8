#include "app/SettingsStore.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

QStringList* settingsWriteLog = nullptr;
QStringList* settingsReadLog = nullptr;

namespace {

QSettings* openBatch = nullptr;

QString key(const QString& section, const QString& name) { return section + u'/' + name; }

#ifdef Q_OS_WIN
// As the registry-backed profile does, a read first opens the section's key, creating whatever is
// missing below HKEY_CURRENT_USER\software.
void createSectionKey(const QString& section)
{
    const QString path = QStringLiteral("software\\%1\\%2\\%3")
                             .arg(QCoreApplication::organizationName(), QCoreApplication::applicationName(), section);
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(path.utf16()), 0, nullptr, 0,
                          KEY_READ, nullptr, &key, nullptr) == ERROR_SUCCESS)
        ::RegCloseKey(key);
}
#endif

QVariant read(const QString& section, const QString& name)
{
    if (settingsReadLog)
        settingsReadLog->append(name);
#ifdef Q_OS_WIN
    createSectionKey(section);
#endif
    if (openBatch)
        return openBatch->value(key(section, name));
    return QSettings().value(key(section, name));
}

void sync(QSettings& settings)
{
    settings.sync();
    if (settingsWriteLog)
        settingsWriteLog->append(QStringLiteral("sync"));
}

bool write(const QString& section, const QString& name, const QVariant& value)
{
    if (settingsWriteLog)
        settingsWriteLog->append(name);
    if (openBatch) {
        openBatch->setValue(key(section, name), value);
        return openBatch->status() == QSettings::NoError;
    }
    QSettings settings;
    settings.setValue(key(section, name), value);
    sync(settings);
    return settings.status() == QSettings::NoError;
}

}  // namespace

int ReadSettingInt(const QString& section, const QString& name, int defaultValue)
{
    return ReadStoredSettingInt(section, name).value_or(defaultValue);
}

std::optional<int> ReadStoredSettingInt(const QString& section, const QString& name)
{
    const QVariant value = read(section, name);
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const int result = value.toInt(&ok);
    return ok ? std::optional<int>(result) : std::nullopt;
}

QString ReadSettingText(const QString& section, const QString& name, const QString& defaultValue)
{
    const QVariant value = read(section, name);
    if (!value.isValid() || !value.canConvert<QString>())
        return defaultValue;
    return value.toString();
}

bool WriteSettingInt(const QString& section, const QString& name, int value) { return write(section, name, value); }

bool WriteSettingText(const QString& section, const QString& name, const QString& value)
{
    return write(section, name, value);
}

SettingsBatch::SettingsBatch()
{
    if (openBatch)
        return;
    m_settings = std::make_unique<QSettings>();
    openBatch = m_settings.get();
}

SettingsBatch::~SettingsBatch()
{
    if (!m_settings)
        return;
    sync(*m_settings);
    openBatch = nullptr;
}
