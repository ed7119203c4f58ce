#pragma once

#include "stepflow.h"

#include <QList>
#include <QStringList>

namespace kq {

class DialogProject;

// Something the project check found. Errors make the built program fail or trap its user;
// warnings are probably not what the author meant. The check gives kinds and arguments; the
// editor turns them into texts of the active language.
struct Finding
{
    enum class Severity { Error, Warning };

    // The arguments each kind carries, in order.
    enum class Kind {
        // errors
        ScriptCannotRun, // a script the runner runs but cannot interpret: the script
        EndRunsNoAction, // an automatic end whose script is "Нет": nothing
        NoWayOut,        // a message whose every shown button does nothing: nothing
        NoProjectStyle,  // the header holds no style 0 or 1: the header text
        SilentLoop,      // steps that lead round without a window: the steps, in order
        // warnings
        TargetOutside,     // a go-to past the last step (or before step 0): target, last step
        Unreachable,       // no path from step 0 reaches the step: nothing
        NoEnd,             // no reachable exit or way past the last step: nothing
        BackFromFirst,     // "Идти Назад" on step 0 ends the run: nothing
        ButtonDoesNothing, // a shown button with a caption and the script "Нет": the caption
        UnknownType,       // a type the runner skips: the type
        UnknownIcon,       // an icon code without a picture: the code
    };

    Kind kind = Kind::NoEnd;
    int step = -1; // as the editor's list numbers it, from 0; -1 for the project as a whole
    StepField field = StepField::None;
    QStringList arguments;

    Severity severity() const;
    bool operator==(const Finding &other) const = default;
};

namespace ProjectCheck {

// Every finding of the project by the runner's rules: the header first, then step by step.
QList<Finding> check(const DialogProject &project);

int errorCount(const QList<Finding> &findings);

} // namespace ProjectCheck

} // namespace kq
