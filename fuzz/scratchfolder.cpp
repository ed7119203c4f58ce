#include "scratchfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace kq::Fuzz {

namespace {

QString memoryOrTempFolder()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    return memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
}

} // namespace

QString scratchFolder()
{
    static QTemporaryDir folder(
        QDir(memoryOrTempFolder()).filePath(QStringLiteral("kq-fuzz-XXXXXX")));
    return folder.path();
}

QString scratchPath(const QString &relativePath)
{
    const QString path = QDir(scratchFolder()).filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    return path;
}

bool writeScratchFile(const QString &path, const QByteArray &bytes)
{
    static qint64 modified = QDateTime::currentMSecsSinceEpoch() - 3600 * 1000;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush() &&
           file.setFileTime(QDateTime::fromMSecsSinceEpoch(--modified, Qt::UTC),
                            QFileDevice::FileModificationTime);
}

} // namespace kq::Fuzz
