#include "wholefile.h"

#include <QSaveFile>

namespace kq {

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    // Unbuffered, a short write (disk full) shows in write()'s count; a buffered QSaveFile
    // could commit the shortened file.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
                         file.write(bytes) == bytes.size() && file.commit();
    if (!written && error)
        *error = file.error() == QFileDevice::NoError
                     ? QStringLiteral("%1 could not be written completely.").arg(path)
                     : QStringLiteral("%1: %2").arg(path, file.errorString());
    return written;
}

} // namespace kq
