#pragma once

#include "dialogrecord.h"

#include <QFile>
#include <QString>

#include <optional>

namespace kq {

// A file of DialogRecords and nothing else: record 1 is the project header, record k + 2 the
// dialog the editor numbers k. There is no magic and no length field; the dialog count is the
// number of whole records minus the header, so a short tail is no record.
class ProjectFile
{
public:
    enum class Access { ReadWrite, ReadOnly };

    // Opens for random access; in ReadWrite a missing file is created empty.
    bool open(const QString &path, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const { return mFile.isOpen(); }

    qint16 count() const;
    // Record numbers count from 1; a record that the file does not hold whole gives none.
    std::optional<DialogRecord> read(int recordNumber);
    // Writing past the end extends the file.
    bool write(int recordNumber, const DialogRecord &record);

    QString errorString() const { return mFile.errorString(); }
    qint64 size() const { return mFile.size(); }

    // Whole records in a file of the given size, the header included.
    static qint64 wholeRecords(qint64 fileSize) { return fileSize / DialogRecord::Size; }

private:
    QFile mFile;
};

} // namespace kq
