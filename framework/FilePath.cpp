#include "framework/FilePath.h"

#include <QFile>

#include "data/FileIo.h"

std::filesystem::path ToFsPath(const QString& nativePath)
{
#ifdef _WIN32
    return std::filesystem::path(nativePath.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(nativePath).toStdString());
#endif
}

QString FromFsPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

std::string ToPathText(const QString& text)
{
    return corvane::TextFromPath(ToFsPath(text));
}

QString FromPathText(std::string_view text)
{
    return FromFsPath(corvane::PathFromText(text));
}

QString FolderPartOf(const QString& nativePath)
{
#ifdef _WIN32
    const qsizetype cut = qMax(nativePath.lastIndexOf(u'\\'), nativePath.lastIndexOf(u'/'));
#else
    const qsizetype cut = nativePath.lastIndexOf(u'/');
#endif
    return nativePath.left(cut + 1);
}
