#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace kq {

class DialogProject;
struct DialogRecord;

// The part of a project something refers to: a step's button or automatic end, the header, or
// nothing in particular. Button 1 and the pause end share btnscr1, button 2 and the bar end
// btnscr2.
enum class StepField { None, Button1, Button2, BarFull, PauseEnd, Header };

// One way out of a step as the runner plays it: a button that its window shows, or the end the
// step comes to by itself (a full bar, the end of a pause, a step that shows nothing).
struct StepExit
{
    enum class Leads {
        Step,    // to the step `target`
        Exit,    // "Выход" ends the run
        OffList, // to a position outside the list (`target` is its step number): the run ends
        Stays,   // a button whose script is "Нет": the window stays open
        Fault,   // a script the runner cannot interpret: the run ends as a fault
    };

    StepField field = StepField::None; // None: a step type without a window, going next
    QString caption; // the button's caption as the window shows it; empty for automatic ends
    QString script;  // the script the runner takes, spaces removed at both ends
    Leads leads = Leads::Fault;
    int target = -1;

    bool isAutomatic() const { return field != StepField::Button1 && field != StepField::Button2; }
    bool endsRun() const { return leads == Leads::Exit || leads == Leads::OffList; }
    bool operator==(const StepExit &other) const = default;
};

// The runner's movement rules seen from outside the runner: which ways out each step has and
// where they lead. Steps are numbered as the editor's list numbers them, from 0.
namespace StepFlow {

// The script a way out runs: 1 for button 1 and a pause's end, 2 for button 2 and a full bar,
// 0 for a step type without a window, which has none.
int scriptOf(StepField field);

// A progress or pause step of no time (or less) ends at once without showing anything.
bool isTimed(qint16 time);

// Whether playing the step shows a window that waits for the user or the clock; a step that
// does not ends at once the same way every time.
bool waits(const DialogRecord &record);

// How playing a step comes to its end. Only a window the user can answer may lead elsewhere
// another time; every other step leads on the same way each time it is played.
enum class Ending {
    AtOnce,          // shows nothing and ends at once
    ByClock,         // a pause: nothing to see, it ends when its time is up
    ByClockInWindow, // a progress window without a button that does something
    ByUser,          // a message, or a progress window with a button that does something
};
Ending ending(const DialogRecord &record);

// The script a step runs when it ends by itself: a pause's end runs btnscr1, a full bar btnscr2;
// a step of a type without a window goes next.
QString automaticScript(const DialogRecord &record);

// Steps that nobody answers lead on by their own end, the same way every time, so where a run
// goes from them can be read ahead. A circle they come to never ends by itself: without any
// window it is a fault; with a progress window, that window's close box ends the run.
struct EndlessCircle
{
    int first = 0;            // the first of its steps in the order the run takes them
    bool silent = true;       // every step of it shows nothing
    bool showsWindow = false; // a progress window goes round with it
};

// The circle the run comes to from `step` (numbered from 0, in a list of `count`), or nothing
// when it ends, leaves the list or reaches a step to answer first. `read` gives a step's record
// (nothing when it cannot be read), `endingOf` how playing a record ends. `passed`, when given,
// receives the steps read on the way: when there is no circle ahead of `step`, there is none
// ahead of any of them either.
std::optional<EndlessCircle>
circleAhead(int step, int count, const std::function<std::optional<DialogRecord>(int)> &read,
            const std::function<Ending(const DialogRecord &)> &endingOf,
            QList<int> *passed = nullptr);

// Message and progress windows show the step's icon; pauses and skipped types show none.
bool showsIcon(const DialogRecord &record);

// The caption and the text as a message or progress window shows them: the padding cut, and the
// text's line breaks (CR LF, CR alone or LF alone) as LF.
QString shownCaption(const DialogRecord &record);
QString shownText(const DialogRecord &record);

// The ways out of dialog `step` of the project, buttons first, in the order of their fields.
QList<StepExit> exits(const DialogProject &project, int step);

// What the close box (and Esc) of the step's window does. A message window's presses its last
// button, button 2 when it shows one; where that button does nothing, it ends the run, so that no
// window traps its user. A progress window's presses its button when it shows one and is ignored
// otherwise: the bar ends by itself. Other steps show no window.
enum class CloseBox { Button1, Button2, EndRun, Ignored };
CloseBox closeBox(const DialogRecord &record);

} // namespace StepFlow

} // namespace kq
