#include "steploop.h"

#include "buttonscript.h"
#include "projectfile.h"
#include "projectio.h"
#include "runfault.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace kq {

namespace {

QString scriptFor(const DialogRecord &record, qint16 stepResult)
{
    switch (stepResult) {
    case 1:
        return trimmedSpaces(record.btnscr1);
    case 2:
        return trimmedSpaces(record.btnscr2);
    case StepKind::EndRun:
        return ButtonScript::Exit;
    default:
        return ButtonScript::GoNext;
    }
}

// The step as the editor's list numbers it, from 0: position p is list entry p - 1.
int stepOf(qint16 position)
{
    return position - 1;
}

StepLoop::Outcome fault(const QString &what, int steps)
{
    return {StepLoop::Status::Fault, what, steps};
}

} // namespace

QString StepLoop::dataFilePath(const QString &programPath)
{
    return ProjectIO::buildDataFilePath(programPath);
}

bool StepLoop::isTestMode(const QStringList &arguments)
{
    return trimmedSpaces(arguments.join(u' ')).endsWith(QStringLiteral("editor"));
}

bool StepLoop::hasDataFile(const QString &dataPath)
{
    return QFileInfo(dataPath).isFile();
}

StepLoop::Outcome StepLoop::run(const QString &dataPath, bool testMode)
{
    if (!hasDataFile(dataPath))
        return {Status::NoDataFile, {}, 0};

    // The runner only reads its data file, so a project on a read-only medium still plays.
    ProjectFile file;
    if (!file.open(dataPath, ProjectFile::Access::ReadOnly))
        return fault(QStringLiteral("cannot open %1: %2").arg(dataPath, file.errorString()), 0);

    const std::optional<DialogRecord> header = file.read(1);
    if (!header)
        return fault(QStringLiteral("%1 holds no project header").arg(dataPath), 0);
    const std::optional<qint16> projectStyle = header->projectStyle();
    if (!projectStyle)
        return fault(RunFault::noProjectStyle(), 0);
    const qint16 style = *projectStyle;

    const qint16 count = file.count();
    qint16 position = 1;
    qint16 stepResult = 0;
    int steps = 0;
    // Steps that end at once always lead on the same way; coming back to one of them before
    // any step has waited means the run would go round forever without a window.
    QSet<qint16> passedAtOnce;
    while (position <= count && position > 0) {
        const std::optional<DialogRecord> read = file.read(position + 1);
        if (!read)
            return fault(QStringLiteral("cannot read step %1").arg(stepOf(position)), steps);
        const DialogRecord &current = *read;
        StepKind *kind = mKinds.value(current.type);
        if (kind && kind->waits(current)) {
            passedAtOnce.clear();
        } else if (passedAtOnce.contains(position)) {
            return fault(RunFault::silentLoop(stepOf(position)), steps);
        } else {
            passedAtOnce.insert(position);
        }
        if (kind) {
            const std::optional<qint16> result = kind->play(current, style, stepResult);
            if (!result)
                return fault(RunFault::cannotShow(stepOf(position), style), steps);
            stepResult = *result;
        } else {
            stepResult = 0;
        }
        ++steps;
        const QString script = scriptFor(current, stepResult);
        const std::optional<qint16> next = ButtonScript::interpret(script, position);
        if (!next)
            return fault(RunFault::scriptCannotRun(stepOf(position), script), steps);
        position = *next;
    }

    file.close();
    if (testMode)
        QFile::remove(dataPath);
    return {Status::Finished, {}, steps};
}

} // namespace kq
