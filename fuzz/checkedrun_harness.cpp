#include "harnesses.h"
#include "scratchfolder.h"

#include "buttonscript.h"
#include "dialogproject.h"
#include "projectcheck.h"
#include "projectfile.h"
#include "projectio.h"
#include "steploop.h"

namespace kq::Fuzz {

namespace {

// What the user does while a window waits, one input byte each.
enum class Action { Button1, Button2, Close, Wait };

// Thrown when the input has no more actions: the user walked away from the program.
struct UserWalkedAway
{
};

class Actions
{
public:
    explicit Actions(const QByteArray &bytes) : mBytes(bytes) {}

    Action next()
    {
        if (mNext >= mBytes.size())
            throw UserWalkedAway();
        return Action(quint8(mBytes.at(mNext++)) % 4);
    }

private:
    QByteArray mBytes;
    qsizetype mNext = 0;
};

// Plays a step as its runner window does, without showing it: the buttons the window shows, a
// button whose script is "Нет" doing nothing, the close box pressing the last button shown, and
// the clock ending a timed step, and the close box of a progress window that goes round with
// pauses forever ending the run. Every step that waits takes one action, even a pause that only
// the clock ends, so that a run of pauses in a circle ends with the input.
class WindowlessStep : public StepKind
{
public:
    WindowlessStep(qint16 type, Actions *actions) : mType(type), mActions(actions) {}

    std::optional<qint16> play(const DialogRecord &record, qint16 style, qint16) override
    {
        // The message and progress windows have a look for the two project styles; a pause
        // needs none. (The windows' own canPlay asks for their pictures, which need a GUI.)
        if (mType != DialogRecord::Pause && style != 0 && style != 1)
            return std::nullopt;
        switch (mType) {
        case DialogRecord::Message:
            return message(record);
        case DialogRecord::Progress:
            return progress(record);
        default:
            if (waits(record))
                mActions->next();
            return qint16(1);
        }
    }

    StepFlow::Ending ending(const DialogRecord &record) const override
    {
        return StepFlow::ending(record);
    }

private:
    static bool does(const QString &script) { return !ButtonScript::isNoAction(script); }

    qint16 message(const DialogRecord &record)
    {
        const bool twoButtons = !trimmedSpaces(record.btn2).isEmpty();
        for (;;) {
            switch (mActions->next()) {
            case Action::Button1:
                if (does(record.btnscr1))
                    return 1;
                break;
            case Action::Button2:
                if (twoButtons && does(record.btnscr2))
                    return 2;
                break;
            case Action::Close:
                if (!does(twoButtons ? record.btnscr2 : record.btnscr1))
                    return StepKind::EndRun;
                return twoButtons ? 2 : 1;
            case Action::Wait:
                break;
            }
        }
    }

    qint16 progress(const DialogRecord &record)
    {
        // A bar of no time is full at once.
        if (!waits(record))
            return 2;
        const bool hasButton = !trimmedSpaces(record.btn1).isEmpty();
        for (;;) {
            switch (mActions->next()) {
            case Action::Button1:
                if (hasButton && does(record.btnscr1))
                    return 1;
                break;
            case Action::Close:
                if (hasButton && does(record.btnscr1))
                    return 1;
                // Going round with pauses forever, the close box ends the run.
                if (endlessLoop())
                    return StepKind::EndRun;
                break;
            case Action::Button2:
                break;
            case Action::Wait:
                return 2;
            }
        }
    }

    qint16 mType;
    Actions *mActions;
};

} // namespace

void checkedRun(const QByteArray &input)
{
    static const QString path = scratchPath(QStringLiteral("checked/input.dll"));
    require(writeScratchFile(path, input), "the scratch file is written");
    DialogProject project;
    if (!ProjectIO::loadProjectFile(project, path, nullptr))
        return;
    if (ProjectCheck::errorCount(ProjectCheck::check(project)) > 0)
        return;

    // The tail too short for a record is no part of the project; it is what the user does.
    Actions actions(input.mid(ProjectFile::wholeRecords(input.size()) * DialogRecord::Size));
    WindowlessStep message(DialogRecord::Message, &actions);
    WindowlessStep progress(DialogRecord::Progress, &actions);
    WindowlessStep pause(DialogRecord::Pause, &actions);
    StepLoop loop;
    loop.setStepKind(DialogRecord::Message, &message);
    loop.setStepKind(DialogRecord::Progress, &progress);
    loop.setStepKind(DialogRecord::Pause, &pause);
    StepLoop::Outcome outcome;
    try {
        outcome = loop.run(path, false);
    } catch (const UserWalkedAway &) {
        return;
    }
    if (outcome.status == StepLoop::Status::Fault)
        throw InvariantBroken("a project the check passes without errors ends as a fault: " +
                              outcome.fault.toStdString());
}

} // namespace kq::Fuzz
