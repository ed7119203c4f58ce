#include "filelock.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kq {

namespace {

int openForLocking(const QString &path, int flags)
{
    int file = -1;
    do
        file = ::open(QFile::encodeName(path).constData(), flags | O_RDONLY | O_CLOEXEC, 0600);
    while (file < 0 && errno == EINTR);
    return file;
}

int lockFile(int file, int operation)
{
    int result = -1;
    do
        result = ::flock(file, operation);
    while (result < 0 && errno == EINTR);
    return result;
}

} // namespace

FileLock::~FileLock()
{
    unlock();
}

bool FileLock::tryLock(const QString &path, Mode mode)
{
    return take(path, mode, false);
}

bool FileLock::lock(const QString &path, Mode mode)
{
    return take(path, mode, true);
}

bool FileLock::take(const QString &path, Mode mode, bool wait)
{
    unlock();
    int file = openForLocking(path, O_CREAT);
    if (file < 0 && errno == EISDIR)
        file = openForLocking(path, 0);
    if (file < 0)
        return false;
    const int operation = (mode == Mode::Shared ? LOCK_SH : LOCK_EX) | (wait ? 0 : LOCK_NB);
    if (lockFile(file, operation) != 0) {
        ::close(file);
        return false;
    }
    mFile = file;
    return true;
}

void FileLock::unlock()
{
    // Closing the only descriptor of the opened file lets go of its lock.
    if (mFile >= 0)
        ::close(mFile);
    mFile = -1;
}

bool FileLock::isHeld(const QString &path)
{
    const int file = openForLocking(path, 0);
    if (file < 0)
        return errno != ENOENT;
    const bool held = lockFile(file, LOCK_EX | LOCK_NB) != 0;
    ::close(file);
    return held;
}

} // namespace kq
