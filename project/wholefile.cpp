#include "wholefile.h"

#include "failure.h"
#include "reasontext.h"

#include <QFile>
#include <QSaveFile>

#include <sys/stat.h>

namespace kq {

namespace {

constexpr ReasonText NotWrittenCompletely{TextId::NotWrittenCompletely,
                                          u"%1 could not be written completely."};

FileIdentity identityOf(const struct stat &status)
{
    return {quint64(status.st_dev), quint64(status.st_ino), qint64(status.st_ctim.tv_sec),
            qint64(status.st_ctim.tv_nsec)};
}

} // namespace

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    // Unbuffered, a short write (disk full) shows in write()'s count; a buffered QSaveFile
    // could commit the shortened file.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                         file.write(bytes) == bytes.size() && file.commit();
    if (!written && error)
        *error = file.error() == QFileDevice::NoError
                     ? NotWrittenCompletely.with({path})
                     : QStringLiteral("%1: %2").arg(path, file.errorString());
    return written;
}

std::optional<FileIdentity> regularFileAt(const QString &path)
{
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return identityOf(status);
}

bool writeNewFile(const QString &path, const QByteArray &bytes,
                  QFileDevice::Permissions permissions, FileIdentity *written, QString *error)
{
    // Removing a link removes the link, not the file it leads to.
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, permissions))
        return failWith(error, QStringLiteral("%1: %2").arg(path, file.errorString()));
    struct stat status;
    const bool complete =
        file.write(bytes) == bytes.size() && file.flush() && ::fstat(file.handle(), &status) == 0;
    file.close();
    if (!complete) {
        // The file is the one just made; half of it is of no use to anyone.
        QFile::remove(path);
        return failWith(error, NotWrittenCompletely.with({path}));
    }
    if (written)
        *written = identityOf(status);
    return true;
}

} // namespace kq
