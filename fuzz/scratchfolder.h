#pragma once

#include <QByteArray>
#include <QString>

namespace kq::Fuzz {

// A folder of the harness's own for the files it writes, in memory where the system has a memory
// file system (/dev/shm), removed when the process ends. It is the program folder of the
// resource readers.
QString scratchFolder();

// The one scratch file of a kind, a path relative to the scratch folder: every input is written
// over it, so that no input costs the file system a new file.
QString scratchPath(const QString &relativePath);

// Writes the input over the scratch file. The readers keep what they read of a file by its path,
// size, modification time and inode; each write dates the file an hour back and a millisecond
// before the write ahead of it, so that two inputs of one size never look alike to them and what
// they keep never stands for an earlier input.
bool writeScratchFile(const QString &path, const QByteArray &bytes);

} // namespace kq::Fuzz
