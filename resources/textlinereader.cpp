#include "textlinereader.h"

#include "codepage.h"
#include "textlines.h"

#include <QCache>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <sys/stat.h>

namespace kq {

namespace {

int openFailureCode(const QString &path, const QFile &file)
{
    const QFileInfo info(path);
    if (!info.exists())
        return FileErrorCode::FileNotFound;
    if (!info.isFile())
        return FileErrorCode::PathAccess;
    if (file.error() == QFileDevice::PermissionsError || !info.isReadable())
        return FileErrorCode::PermissionDenied;
    return FileErrorCode::PathAccess;
}

// What tells one version of a file from another: its size, its modification time and the file
// itself (a file replaced by a new one has a new inode). Whatever the clock says, a change of
// any of them makes the file read again.
struct FileVersion
{
    qint64 size = -1;
    qint64 modifiedNs = 0;
    quint64 inode = 0;

    bool operator==(const FileVersion &other) const = default;
};

std::optional<FileVersion> versionOf(const QString &path)
{
    // A file built into the program (the shipped languages) never changes while it runs.
    if (path.startsWith(u':')) {
        const QFileInfo builtIn(path);
        return builtIn.isFile() ? std::optional(FileVersion{builtIn.size(), 0, 0}) : std::nullopt;
    }
    struct stat status;
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileVersion{qint64(status.st_size),
                       qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
                       quint64(status.st_ino)};
}

// Files read recently, by path: up to 64 MB of them, each counted at its size but at least a
// sixteenth of that, so that no more than 16 are kept. The file used longest ago goes first.
class ReadFiles
{
public:
    TextLines find(const QString &path, const FileVersion &version)
    {
        const Entry *entry = mFiles.object(path);
        return entry && entry->version == version ? entry->lines : TextLines();
    }

    void keep(const QString &path, const FileVersion &version, const TextLines &lines)
    {
        mFiles.insert(path, new Entry{version, lines}, std::max(version.size, MaxBytes / MaxFiles));
    }

private:
    static constexpr qint64 MaxFiles = 16;
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;

    struct Entry
    {
        FileVersion version;
        TextLines lines;
    };

    QCache<QString, Entry> mFiles{MaxBytes};
};

ReadFiles &readFiles()
{
    static ReadFiles files;
    return files;
}

} // namespace

bool TextLineReader::open(const QString &path)
{
    mLines.reset();
    mNext = 0;
    mOpen = false;
    mError = 0;

    if (path.isEmpty()) {
        mError = FileErrorCode::FileNotFound;
        return false;
    }
    // Taken before reading: a file changed while it is read is read again next time.
    const QFileInfo info(path);
    const std::optional<FileVersion> version = versionOf(path);
    QFile file(path);
    // What was read is no answer for a file that can no longer be read.
    if (!info.isFile() || !info.isReadable() || !version) {
        mError = openFailureCode(path, file);
        return false;
    }
    mLines = readFiles().find(path, *version);
    if (!mLines) {
        if (!file.open(QIODevice::ReadOnly)) {
            mError = openFailureCode(path, file);
            return false;
        }
        const QByteArray bytes = file.readAll();
        const bool failed = file.error() != QFileDevice::NoError;
        file.close();
        if (failed) {
            mError = FileErrorCode::DeviceIo;
            return false;
        }
        mLines = std::make_shared<const QStringList>(splitTextLines(fromCodePage(bytes)));
        readFiles().keep(path, *version, mLines);
    }
    mOpen = true;
    return true;
}

std::optional<QString> TextLineReader::readLine()
{
    if (!mOpen)
        return std::nullopt;
    if (atEnd()) {
        mError = FileErrorCode::InputPastEnd;
        return std::nullopt;
    }
    mError = 0;
    return mLines->at(mNext++);
}

} // namespace kq
