#include "harnesses.h"
#include "scratchfolder.h"

#include "dialogproject.h"
#include "projectfile.h"
#include "projectio.h"
#include "stepflow.h"
#include "steploop.h"

#include <QFile>

namespace kq::Fuzz {

namespace {

// Thrown by a waiting step once the imagined user has pressed enough buttons.
struct UserGaveUp
{
};

// Stands in for the step windows without showing one. Steps that would end at once end with the
// windows' own results; steps that wait answer like a user pressing buttons in a fixed order.
class WindowlessStep : public StepKind
{
public:
    WindowlessStep(qint16 type, int *instantInARow) : mType(type), mInstantInARow(instantInARow) {}

    std::optional<qint16> play(const DialogRecord &record, qint16 style, qint16) override
    {
        if (!canPlay(style))
            return std::nullopt;
        if (!waits(record)) {
            ++*mInstantInARow;
            return mType == DialogRecord::Pause ? 1 : 2;
        }
        *mInstantInARow = 0;
        if (++mPresses > MaxPresses)
            throw UserGaveUp();
        return qint16(mPresses % 3);
    }

    StepFlow::Ending ending(const DialogRecord &record) const override
    {
        return StepFlow::ending(record);
    }

private:
    // Enough to go through a full list of dialogs; every press reads a record again, so more
    // presses would slow every input.
    static constexpr int MaxPresses = DialogProject::Capacity;

    // The runner's windows have a look for the two project styles; a pause needs none.
    bool canPlay(qint16 style) const
    {
        return mType == DialogRecord::Pause || style == 0 || style == 1;
    }

    qint16 mType;
    int *mInstantInARow;
    int mPresses = 0;
};

// The whole records of the file, which every reader must write back byte for byte: each byte
// of a record is one character or number and back.
QByteArrayView wholeRecordBytes(const QByteArray &input, qint64 records)
{
    return QByteArrayView(input).first(records * DialogRecord::Size);
}

void checkRecords(const QString &path, const QByteArray &input, qint64 records)
{
    ProjectFile file;
    require(file.open(path, ProjectFile::Access::ReadOnly), "a readable file opens");
    require(file.count() == qMax<qint64>(records - 1, 0),
            "the dialog count is the records less one");
    const QByteArrayView expected = wholeRecordBytes(input, records);
    for (int number = 1; number <= records; ++number) {
        const std::optional<DialogRecord> record = file.read(number);
        require(record.has_value(), "every whole record reads");
        require(record->toBytes() ==
                    expected.sliced((number - 1) * DialogRecord::Size, DialogRecord::Size),
                "a record writes back byte for byte");
    }
}

// The editor's open: a project takes the file's dialogs when it has its header and 99 dialogs at
// most, and is left as it was otherwise; what it took it writes back byte for byte.
void checkEditorLoad(const QString &path, const QByteArray &input, qint64 records)
{
    DialogProject project;
    QString error;
    const bool loaded = ProjectIO::loadProjectFile(project, path, &error);
    require(project.dialogCount() >= 0 && project.dialogCount() <= DialogProject::MaxDialogs,
            "the dialog count stays 0 to 99");
    require(loaded == (records >= 1 && records - 1 <= DialogProject::MaxDialogs),
            "a project loads exactly when it has a header and at most 99 dialogs");
    if (!loaded) {
        require(!error.isEmpty() && project.dialogCount() == 0, "a refused file changes nothing");
        return;
    }
    require(project.dialogCount() == qMax<qint64>(records - 1, 0), "every dialog is loaded");
    require(project.fileBytes() == wholeRecordBytes(input, records),
            "the project writes back what it read");
}

void checkStepLoop(const QString &path, qint16 count)
{
    int instantInARow = 0;
    WindowlessStep message(DialogRecord::Message, &instantInARow);
    WindowlessStep progress(DialogRecord::Progress, &instantInARow);
    WindowlessStep pause(DialogRecord::Pause, &instantInARow);
    StepLoop loop;
    loop.setStepKind(DialogRecord::Message, &message);
    loop.setStepKind(DialogRecord::Progress, &progress);
    loop.setStepKind(DialogRecord::Pause, &pause);

    StepLoop::Outcome outcome;
    try {
        outcome = loop.run(path, true);
    } catch (const UserGaveUp &) {
        return;
    }
    // Between two steps that wait, each dialog can come up at most once without a window:
    // the loop ends a circle of steps that end at once.
    require(instantInARow <= count, "the loop ends");
    require(outcome.status != StepLoop::Status::NoDataFile, "the data file is found");
    require(QFile::exists(path) == (outcome.status == StepLoop::Status::Fault),
            "test mode deletes the data file at a normal end and only then");
    require(outcome.status == StepLoop::Status::Finished || !outcome.fault.isEmpty(),
            "a fault says what went wrong");
}

} // namespace

void projectFile(const QByteArray &input)
{
    static const QString path = scratchPath(QStringLiteral("projects/input.dll"));
    require(writeScratchFile(path, input), "the scratch file is written");
    const qint64 records = ProjectFile::wholeRecords(input.size());
    checkRecords(path, input, records);
    checkEditorLoad(path, input, records);
    checkStepLoop(path, qint16(qMax<qint64>(records - 1, 0)));
}

} // namespace kq::Fuzz
