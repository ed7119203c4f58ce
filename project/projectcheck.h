#pragma once

#include "stepflow.h"

#include <QList>
#include <QStringList>

#include <functional>

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
        EndlessLoop,     // steps (pauses, windows) that lead round with none to answer: the steps
        // warnings
        TargetOutside,     // a go-to past the last step (or before step 0): target, last step
        Unreachable,       // no path from step 0 reaches the step: nothing
        NoEnd,             // no reachable exit or way past the last step: nothing
        BackFromFirst,     // "Идти Назад" on step 0 ends the run: nothing
        ButtonDoesNothing, // a shown button with a caption and the script "Нет": the caption
        UnknownType,       // a type the runner skips: the type
        UnknownIcon,       // an icon code without a picture: the code
        WideMessage,       // a message line wider than most screens: its width in pixels
        TargetDeleted,     // a go-to whose step was deleted (the editor's document knows): nothing
    };

    Kind kind = Kind::NoEnd;
    int step = -1; // as the editor's list numbers it, from 0; -1 for the project as a whole
    StepField field = StepField::None;
    QStringList arguments;
    // False on a step that no path from step 0 reaches: what cannot happen at run time is no
    // error, only a warning.
    bool canHappen = true;

    Severity severity() const;
    bool operator==(const Finding &other) const = default;
};

namespace ProjectCheck {

// A message window is as wide as its longest text line. Wider than this, it no longer fits most
// screens and its buttons may be off screen.
inline constexpr int WidestMessage = 1000;
// Whether a message line of this width in pixels is wider than most screens.
inline bool isTooWide(int lineWidth)
{
    return lineWidth > WidestMessage;
}

// The width in pixels of a line of text as the runner's message window shows it.
using LineMeasure = std::function<int(const QString &line)>;

// The width of a line at the runner's usual font (a sans serif of 9 points at 96 dots an inch)
// by the kind of each character, for a check without a display, where no font can be measured.
int estimatedLineWidth(const QString &line);

// Every finding of the project by the runner's rules: the header first, then step by step.
// Message lines are measured by lineWidth: the runner's font metrics where the caller has them.
QList<Finding> check(const DialogProject &project,
                     const LineMeasure &lineWidth = estimatedLineWidth);

int errorCount(const QList<Finding> &findings);

} // namespace ProjectCheck

} // namespace kq
