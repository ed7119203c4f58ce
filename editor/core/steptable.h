#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

#include <optional>

namespace kq {

class DialogProject;

// A project compiled for a player that knows no scripts: what each step that waits shows, and
// for every way out of it the step it leads to or how the run ends, resolved at build time by
// the runner's rules (StepFlow). Steps that show nothing are passed through then, so no way
// leads to one. Steps are numbered as the editor's list numbers them, from 0.
class StepTable
{
public:
    struct Way
    {
        enum class Kind {
            Step,  // shows `step`
            End,   // the run ends: "Выход", a position outside the list, a close box that ends
            Stays, // nothing happens: the window stays as it is
            Fault, // the run ends as a fault for the runner's reason `fault`
        };
        Kind kind = Kind::End;
        int step = -1;
        QString fault;

        bool operator==(const Way &other) const = default;
    };

    struct Button
    {
        QString caption; // as stored, "&" marking the access key
        Way way;
    };

    struct Step
    {
        qint16 type = 0; // DialogRecord::Message, Progress or Pause
        QString caption;
        QString text;
        int icon = -1; // the icon cell shown; 0 an empty icon box, -1 no icon box
        QList<Button> buttons;
        Way closeBox;
        Way end;          // the bar's or the pause's own end
        int interval = 0; // milliseconds per tick of the bar (a hundred and one ticks) or pause
    };

    static StepTable compile(const DialogProject &project);

    qint16 projectStyle() const { return mStyle; }
    const Way &start() const { return mStart; }
    // Every step of the project; none for the steps that show nothing.
    const QList<std::optional<Step>> &steps() const { return mSteps; }

    // The table as the web page reads it. A way is a step number, -1 for the end, -2 for
    // staying, or the text of a fault.
    QJsonObject toJson() const;

private:
    qint16 mStyle = 0;
    Way mStart;
    QList<std::optional<Step>> mSteps;
};

} // namespace kq
