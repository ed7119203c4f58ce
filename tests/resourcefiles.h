#pragma once

#include "codepage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

#include <unistd.h>

// Scratch files for the tests: whole files written and read back as bytes, and language, theme
// and plug-in description files as the program writes them.
namespace kq::TestFiles {

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// Each line in code page 1251 ended by CR LF, as the program's own files are written.
inline QByteArray crlfLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += kq::toCodePage(line) + "\r\n";
    return bytes;
}

inline bool writeLines(const QString &path, const QStringList &lines)
{
    return writeBytes(path, crlfLines(lines));
}

// Writes a file of the given name into a scratch folder and returns its path; a test cannot go
// on without it.
inline QString scratchFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    if (!writeBytes(path, bytes))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// Gives a file a modification time, as a file written at another moment has.
inline bool setModified(const QString &path, const QDateTime &time)
{
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(time, QFileDevice::FileModificationTime);
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// File permissions do not stop the superuser, so refusals can only be tested as a normal user.
inline bool permissionsApply()
{
    return ::geteuid() != 0;
}

} // namespace kq::TestFiles
