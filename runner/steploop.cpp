#include "steploop.h"

#include "buttonscript.h"
#include "projectfile.h"
#include "projectio.h"
#include "runfault.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSet>

#include <algorithm>

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

// Why a circle without any window ends the run, named after its first step.
QString circleReason(const StepFlow::EndlessCircle &circle)
{
    return circle.silent ? RunFault::silentLoop(circle.first) : RunFault::pauseLoop(circle.first);
}

} // namespace

StepFlow::Ending StepLoop::endingOf(const DialogRecord &record) const
{
    const StepKind *kind = mKinds.value(record.type);
    return kind ? kind->ending(record) : StepFlow::Ending::AtOnce;
}

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
        return fault(RunFault::dataFileNotOpened(dataPath), 0);

    const std::optional<DialogRecord> header = file.read(1);
    if (!header)
        return fault(RunFault::noProjectHeader(dataPath), 0);
    const Outcome outcome =
        play(*header, file.count(), [&file](int record) { return file.read(record); });
    if (outcome.status != Status::Finished)
        return outcome;

    file.close();
    if (testMode)
        QFile::remove(dataPath);
    return outcome;
}

StepLoop::Outcome StepLoop::play(const DialogRecord &header, qint16 count, const RecordReader &read,
                                 qint16 first)
{
    const std::optional<qint16> projectStyle = header.projectStyle();
    if (!projectStyle)
        return fault(RunFault::noProjectStyle(), 0);
    const qint16 style = *projectStyle;

    qint16 position = first;
    qint16 stepResult = 0;
    int steps = 0;
    // Set while the steps go round forever without a window the user can answer.
    bool endless = false;
    // Steps whose way on was read ahead and leads to a step to answer, or out: a chain of steps
    // that end by themselves is read ahead once, not again from each of its steps.
    QSet<int> noCircleAhead;
    while (position <= count && position > 0) {
        const std::optional<DialogRecord> current = read(position + 1);
        if (!current)
            return fault(RunFault::stepNotRead(stepOf(position)), steps);
        StepKind *kind = mKinds.value(current->type);
        if (endingOf(*current) == StepFlow::Ending::ByUser) {
            endless = false;
        } else if (!endless && !noCircleAhead.contains(stepOf(position))) {
            QList<int> passed;
            const std::optional<StepFlow::EndlessCircle> circle = StepFlow::circleAhead(
                stepOf(position), count, [&read](int step) { return read(step + 2); },
                [this](const DialogRecord &record) { return endingOf(record); }, &passed);
            if (!circle)
                noCircleAhead.unite(QSet<int>(passed.cbegin(), passed.cend()));
            if (circle && !circle->showsWindow)
                return fault(circleReason(*circle), steps);
            // A progress window goes round with them: it stays, and its close box ends the run.
            endless = circle.has_value();
        }
        if (kind) {
            kind->setEndlessLoop(endless);
            kind->setStep(stepOf(position));
            const std::optional<qint16> result = kind->play(*current, style, stepResult);
            if (!result)
                return fault(RunFault::cannotShow(stepOf(position), style), steps);
            stepResult = *result;
        } else {
            stepResult = 0;
        }
        ++steps;
        const QString script = scriptFor(*current, stepResult);
        const std::optional<qint16> next = ButtonScript::interpret(script, position);
        if (!next)
            return fault(RunFault::scriptCannotRun(stepOf(position), script), steps);
        position = *next;
    }
    return {Status::Finished, {}, steps};
}

} // namespace kq
