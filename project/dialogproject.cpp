#include "dialogproject.h"

#include "buttonscript.h"
#include "failure.h"
#include "projectfile.h"
#include "reasontext.h"

#include <algorithm>

namespace kq {

namespace {

constexpr ReasonText TooManyDialogs{TextId::TooManyDialogs,
                                    u"The file holds %1 dialogs; a project takes at most %2."};
constexpr ReasonText CutShort{TextId::FileCutShort,
                              u"The file is cut short: it holds %1 bytes, less than the %2 "
                              u"of one record."};

} // namespace

DialogProject::DialogProject()
{
    clear();
}

bool DialogProject::load(ProjectFile &file, QString *error)
{
    const qint16 count = file.count();
    if (count > MaxDialogs)
        return failWith(error,
                        TooManyDialogs.with({QString::number(count), QString::number(MaxDialogs)}));
    std::array<DialogRecord, Capacity> records = mRecords;
    for (int i = 0; i <= count; ++i) {
        const std::optional<DialogRecord> record = file.read(i + 1);
        // Only the header can be missing: the count holds no record the file lacks.
        if (!record && file.size() < DialogRecord::Size)
            return failWith(error, CutShort.with({QString::number(file.size()),
                                                  QString::number(DialogRecord::Size)}));
        if (!record)
            return failWith(error, file.errorString());
        records.at(i) = *record;
    }
    mRecords = records;
    mDialogCount = count;
    return true;
}

bool DialogProject::store(ProjectFile &file, QString *error) const
{
    for (int i = 0; i < fileRecordCount(); ++i) {
        if (!file.write(i + 1, mRecords.at(i)))
            return failWith(error, file.errorString());
    }
    return true;
}

int DialogProject::fileRecordCount() const
{
    // The header is always written, so even a project without dialogs reads back.
    return std::clamp<int>(mDialogCount, 0, MaxDialogs) + 1;
}

QByteArray DialogProject::fileBytes() const
{
    QByteArray bytes;
    bytes.reserve(fileRecordCount() * DialogRecord::Size);
    for (int i = 0; i < fileRecordCount(); ++i)
        bytes += mRecords.at(i).toBytes();
    return bytes;
}

void DialogProject::clear()
{
    mRecords.fill(DialogRecord::cleared());
}

void DialogProject::clearRecord(int index)
{
    mRecords.at(index) = DialogRecord::cleared();
}

void DialogProject::newDialog(int index, const QString &text)
{
    DialogRecord record = DialogRecord::cleared();
    record.text = text;
    record.type = DialogRecord::Message;
    record.btnscr1 = ButtonScript::GoNext;
    record.btnscr2 = ButtonScript::GoNext;
    mRecords.at(index) = record;
}

} // namespace kq
