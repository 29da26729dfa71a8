#include "app/SettingsStore.h"

#include <QSettings>

static QString key(const QString& section, const QString& name) { return section + u'/' + name; }

int ReadSettingInt(const QString& section, const QString& name, int defaultValue)
{
    const QVariant value = QSettings().value(key(section, name));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int result = value.toInt(&ok);
    return ok ? result : defaultValue;
}

QString ReadSettingText(const QString& section, const QString& name, const QString& defaultValue)
{
    const QVariant value = QSettings().value(key(section, name));
    if (!value.isValid() || !value.canConvert<QString>())
        return defaultValue;
    return value.toString();
}

static bool write(const QString& section, const QString& name, const QVariant& value)
{
    QSettings settings;
    settings.setValue(key(section, name), value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool WriteSettingInt(const QString& section, const QString& name, int value) { return write(section, name, value); }

bool WriteSettingText(const QString& section, const QString& name, const QString& value)
{
    return write(section, name, value);
}
