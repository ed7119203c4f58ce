#include "textlinereader.h"

#include "codepage.h"
#include "textlines.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>

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

// Files read recently, by path. A few files and a few dozen megabytes are kept; the file used
// longest ago goes first.
//
// A file's modification time moves in steps (a clock tick, two seconds on some file systems),
// so a file rewritten at the same size within the step it was read in would look unchanged.
// What was read of a file changed shortly before is therefore not kept: such a file is read
// again until it has been left alone for longer than a step.
class ReadFiles
{
public:
    TextLines find(const QString &path, const QFileInfo &info)
    {
        const auto it = mFiles.find(path);
        if (it == mFiles.end() || it->size != info.size() ||
            it->modified != info.lastModified().toMSecsSinceEpoch())
            return {};
        it->lastUse = ++mUses;
        return it->lines;
    }

    void keep(const QString &path, const QFileInfo &info, const TextLines &lines)
    {
        mFiles.remove(path);
        const qint64 modified = info.lastModified().toMSecsSinceEpoch();
        if (QDateTime::currentMSecsSinceEpoch() - modified <= TimeStepMs)
            return;
        while (!mFiles.isEmpty() &&
               (mFiles.size() >= MaxFiles || keptBytes() + info.size() > MaxBytes))
            mFiles.erase(leastRecentlyUsed());
        mFiles.insert(path, {info.size(), modified, lines, ++mUses});
    }

private:
    static constexpr qsizetype MaxFiles = 16;
    static constexpr qint64 MaxBytes = 64 * 1024 * 1024;
    static constexpr qint64 TimeStepMs = 2000;

    struct Entry
    {
        qint64 size;
        qint64 modified; // milliseconds since the epoch
        TextLines lines;
        quint64 lastUse;
    };

    qint64 keptBytes() const
    {
        qint64 bytes = 0;
        for (const Entry &entry : mFiles)
            bytes += entry.size;
        return bytes;
    }

    QHash<QString, Entry>::iterator leastRecentlyUsed()
    {
        auto oldest = mFiles.begin();
        for (auto it = mFiles.begin(); it != mFiles.end(); ++it) {
            if (it->lastUse < oldest->lastUse)
                oldest = it;
        }
        return oldest;
    }

    QHash<QString, Entry> mFiles;
    quint64 mUses = 0;
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
    QFile file(path);
    // What was read is no answer for a file that can no longer be read.
    if (!info.isFile() || !info.isReadable()) {
        mError = openFailureCode(path, file);
        return false;
    }
    mLines = readFiles().find(path, info);
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
        readFiles().keep(path, info, mLines);
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
