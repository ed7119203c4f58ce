#include "projectfile.h"

#include <algorithm>

namespace kq {

bool ProjectFile::open(const QString &path, Access access)
{
    close();
    mFile.setFileName(path);
    return mFile.open(access == Access::ReadOnly ? QIODevice::ReadOnly : QIODevice::ReadWrite);
}

void ProjectFile::close()
{
    if (mFile.isOpen())
        mFile.close();
}

qint16 ProjectFile::count() const
{
    const qint64 records = wholeRecords(mFile.size());
    // A file of more than 32768 records has more dialogs than a 16-bit count can hold.
    return qint16(std::clamp<qint64>(records - 1, 0, 32767));
}

std::optional<DialogRecord> ProjectFile::read(int recordNumber)
{
    if (recordNumber < 1 || !mFile.seek(qint64(recordNumber - 1) * DialogRecord::Size))
        return std::nullopt;
    const QByteArray bytes = mFile.read(DialogRecord::Size);
    if (bytes.size() != DialogRecord::Size)
        return std::nullopt;
    return DialogRecord::fromBytes(bytes);
}

bool ProjectFile::write(int recordNumber, const DialogRecord &record)
{
    if (recordNumber < 1 || !mFile.seek(qint64(recordNumber - 1) * DialogRecord::Size))
        return false;
    return mFile.write(record.toBytes()) == DialogRecord::Size;
}

} // namespace kq
