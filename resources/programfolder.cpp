#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace kq {

namespace {
QString &folderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    const QString &folder = folderOverride();
    return folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder;
}

void setProgramFolder(const QString &path)
{
    folderOverride() = path.isEmpty() ? QString() : QDir::cleanPath(path);
}

QString programPath(const QString &relative)
{
    return QDir(programFolder()).filePath(relative);
}

} // namespace kq
