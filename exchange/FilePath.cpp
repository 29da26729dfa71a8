#include "exchange/FilePath.h"

#include <QFile>

std::filesystem::path ToFsPath(const QString& nativePath)
{
#ifdef _WIN32
    return std::filesystem::path(nativePath.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(nativePath).toStdString());
#endif
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
