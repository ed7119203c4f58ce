#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace kq {

class DialogProject;

// The numbers of the go-to scripts ("Идти К 05") are positions in the list, so a list operation
// moves what they lead to. These rules rewrite them so that every button keeps leading to the
// same step. Steps are numbered as the editor's list numbers them, from 0.
namespace GoToTargets {

// The target of a go-to written as the editor writes it: seven letters ("Идти К ", any letter
// case) and two digits. No value for any other script, which no list operation touches.
std::optional<int> target(const QString &script);

// The same script leading to another step: the two digits replaced, the words kept as written.
QString retargeted(const QString &script, int target);

// How one list operation renumbers the steps.
class ListChange
{
public:
    // `count` new steps got the numbers from `number` on in a list of `steps` steps; the steps
    // from `number` on move down by `count`.
    static ListChange inserted(int number, int steps, int count = 1);
    // The step `number` of `steps` steps was deleted; the later ones move up by one.
    static ListChange removed(int number, int steps);
    // Two steps changed places.
    static ListChange swapped(int first, int second);
    // The steps were put in a new order: the step numbered k before has the number
    // newNumbers[k] after. Numbers the list does not hold stay.
    static ListChange reordered(const QList<int> &newNumbers);

    // The number a target has after the change. Targets past the last step keep their number:
    // an author writing top-down names steps that are still to be made.
    int renumbered(int target) const;
    // The target named the deleted step: it keeps its number and now leads to the step that
    // took the deleted one's place.
    bool leadsToRemoved(int target) const;

private:
    enum class Kind { Inserted, Removed, Swapped, Reordered };
    ListChange(Kind kind, int first, int second, int steps)
        : mKind(kind), mFirst(first), mSecond(second), mSteps(steps)
    {
    }

    Kind mKind;
    // Inserted: the first new number and how many; Removed: the number twice; Swapped: the two.
    int mFirst;
    int mSecond;
    QList<int> mNewNumbers;
    // The steps before the change; only targets below this lead to a step that exists.
    int mSteps;
};

// One script the change concerns: dialog index 1 to 99 and script 1 (btnscr1) or 2 (btnscr2).
struct Rewrite
{
    int dialog = 0;
    int script = 1;
    QString before;
    QString after;
    bool leadsToRemoved = false;

    bool operator==(const Rewrite &other) const = default;
};

// The scripts of the project, as it is after the list operation, that the change renumbers or
// leaves leading to a deleted step. Applying `after` to each keeps every button's step.
QList<Rewrite> rewrites(const DialogProject &project, const ListChange &change);

} // namespace GoToTargets

} // namespace kq
