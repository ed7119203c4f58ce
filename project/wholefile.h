#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

#include <optional>

namespace kq {

// Replaces the file at path with bytes as one step: the old file stays whole unless every byte
// of the new one was written. False with a reason in *error (when given) otherwise.
bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// What tells one file from another, whatever names it has: its place on its device, and the
// moment its status last changed, which tells a new file apart from an old one whose place it
// took.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 changedSeconds = 0;
    qint64 changedNanoseconds = 0;
    bool operator==(const FileIdentity &) const = default;
};

// The regular file at path itself, never followed through a link; none for a link, a folder
// or nothing.
std::optional<FileIdentity> regularFileAt(const QString &path);

// Writes bytes as a new regular file at path, never through what is there: a file or a link at
// path is removed first, then the file is created exclusively, so a link placed there in between
// makes the write fail instead of leading it elsewhere; a folder there makes it fail too.
// The identity of the file written goes to *written (when given), taken from the open file
// itself. False with a reason in *error (when given) otherwise.
bool writeNewFile(const QString &path, const QByteArray &bytes,
                  QFileDevice::Permissions permissions, FileIdentity *written = nullptr,
                  QString *error = nullptr);

} // namespace kq
