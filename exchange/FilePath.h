#pragma once
// Paths as the file dialogs give them (native texts) and as the file layer takes them.

#include <QString>

#include <filesystem>

// The file-system path of a native path text.
std::filesystem::path ToFsPath(const QString& nativePath);

// The folder part of a chosen file's native path: everything up to and including the last separator
// ("/home/me/units/unit0012.sui" gives "/home/me/units/").
QString FolderPartOf(const QString& nativePath);
