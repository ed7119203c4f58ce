#pragma once

#include "dialogrecord.h"

#include <QString>

#include <array>

namespace kq {

class ProjectFile;

// The editor's project in memory: record 0 is the header, records 1 to 99 the dialogs.
class DialogProject
{
public:
    static constexpr int Capacity = 100;
    static constexpr int MaxDialogs = Capacity - 1;

    DialogProject();

    DialogRecord &record(int index) { return mRecords.at(index); }
    const DialogRecord &record(int index) const { return mRecords.at(index); }

    qint16 dialogCount() const { return mDialogCount; }
    void setDialogCount(qint16 count) { mDialogCount = count; }

    QString path() const { return mPath; }
    void setPath(const QString &path) { mPath = path; }

    // Reads the header and every dialog of an open file. Fails, leaving the project as it
    // was and a reason in *error (when given), when the file holds more than the 99 dialogs the
    // project can take or cannot be read.
    bool load(ProjectFile &file, QString *error = nullptr);
    // Writes the header and the dialogs; a longer old file keeps its trailing records. False
    // with the file's reason in *error (when given) when a record cannot be written.
    bool store(ProjectFile &file, QString *error = nullptr) const;

    // The records a file of this project holds: the header and dialogs 1 to the dialog count.
    int fileRecordCount() const;
    // Those records as one byte stream, the whole content of a project or data file.
    QByteArray fileBytes() const;

    // Clears all 100 records; the dialog count stays.
    void clear();
    void clearRecord(int index);
    // A new dialog: a cleared record with the given (already resolved) text, type message and
    // both scripts "go next".
    void newDialog(int index, const QString &text);

private:
    std::array<DialogRecord, Capacity> mRecords;
    qint16 mDialogCount = 0;
    QString mPath;
};

} // namespace kq
