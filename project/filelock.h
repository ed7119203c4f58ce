#pragma once

#include <QString>

namespace kq {

// A lock on a file that the system lets go of when its holder ends, however it ends: whether it
// is held never rests on a process id, which a later process may be given again (a new editor in
// a container often gets the very id of the one that was killed). Locks belong to an opened file,
// so two locks of one process on the same file exclude each other as those of two processes do.
class FileLock
{
public:
    enum class Mode { Shared, Exclusive };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Takes the lock on the file or folder at path, a file made (for its owner alone) when
    // missing; false at once when a lock of the other kind is held there, or it cannot be opened.
    bool tryLock(const QString &path, Mode mode);
    // The same, waiting for the holders of other locks to let go.
    bool lock(const QString &path, Mode mode);
    void unlock();
    bool isLocked() const { return mFile >= 0; }

    // Whether anyone, this process included, holds a lock on the file at path. A missing file
    // is not held; one that cannot be opened counts as held, since nothing shows that it is not.
    static bool isHeld(const QString &path);

private:
    bool take(const QString &path, Mode mode, bool wait);

    int mFile = -1;
};

} // namespace kq
