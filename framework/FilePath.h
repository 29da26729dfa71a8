#pragma once
// The one conversion between the Qt layer's texts and file-system paths: wide characters on Windows,
// the file system's own bytes elsewhere. Folder texts go to the data layer as UTF-8 texts
// (corvane::PathFromText makes paths of them there).

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

// The file-system path of a native path text.
std::filesystem::path ToFsPath(const QString& nativePath);

// A path as text, for the screen and for messages.
QString FromFsPath(const std::filesystem::path& path);

// A folder text of the Qt layer as the data layer takes it, and back.
std::string ToPathText(const QString& text);
QString FromPathText(std::string_view text);

// The folder part of a chosen file's native path: everything up to and including the last separator
// ("/home/me/units/unit0012.sui" gives "/home/me/units/").
QString FolderPartOf(const QString& nativePath);
