#pragma once
// The per-user store of remembered values. On Windows it is the registry under
// HKEY_CURRENT_USER\Software\Orlane\<application>\<section> (integers as REG_DWORD, texts as
// REG_SZ); elsewhere the per-user settings file of Orlane/<application>. Nothing is cached here:
// every read and write goes to the store.

#include <QString>

inline const QString kInitData = QStringLiteral("InitData");

// The stored integer, or `defaultValue` when it is missing or cannot be read as an integer.
int ReadSettingInt(const QString& section, const QString& name, int defaultValue);
// The stored text (an empty text stays empty), or `defaultValue` when it is missing.
QString ReadSettingText(const QString& section, const QString& name, const QString& defaultValue);
bool WriteSettingInt(const QString& section, const QString& name, int value);
bool WriteSettingText(const QString& section, const QString& name, const QString& value);
