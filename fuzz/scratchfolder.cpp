#include "scratchfolder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace kq::Fuzz {

QString scratchFolder()
{
    static QTemporaryDir folder;
    return folder.path();
}

QString freshScratchPath(const QString &relativeFolder, const QString &suffix)
{
    static quint64 inputs = 0;
    const QString folder = QDir(scratchFolder()).filePath(relativeFolder);
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("input%1%2").arg(++inputs).arg(suffix));
}

bool writeScratchFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush() &&
           file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                            QFileDevice::FileModificationTime);
}

} // namespace kq::Fuzz
