#include "steptable.h"

#include "dialogproject.h"
#include "mnemonic.h"
#include "runfault.h"
#include "stepflow.h"

#include <QJsonArray>
#include <QList>

#include <optional>

namespace kq {

namespace {

using Way = StepTable::Way;

constexpr int WayEnd = -1;
constexpr int WayStays = -2;
// The runner's timers: a bar of a hundred ticks that ends on the one after, a pause of one tick.
constexpr int BarTickPerSecond = 10;
constexpr int PauseTickPerSecond = 1000;

Way stepWay(int step)
{
    return {Way::Kind::Step, step, {}};
}

Way endWay()
{
    return {Way::Kind::End, -1, {}};
}

Way faultWay(const QString &reason)
{
    return {Way::Kind::Fault, -1, reason};
}

class Compiler
{
public:
    explicit Compiler(const DialogProject &project)
        : mProject(project), mCount(project.dialogCount()),
          mStyle(project.record(0).projectStyle().value_or(0))
    {
    }

    // The way into `step` as the runner's loop takes it: a step that waits is shown; one that
    // shows nothing is played at once and its only way followed, until a step waits or the run
    // ends. Steps that nobody answers and that lead round without any window end the run as a
    // fault before the first of them plays.
    Way arrive(int step) const
    {
        while (step >= 0 && step < mCount) {
            const DialogRecord &record = mProject.record(step + 1);
            if (const std::optional<StepFlow::EndlessCircle> circle = circleAhead(step);
                circle && !circle->showsWindow)
                return faultWay(circle->silent ? RunFault::silentLoop(circle->first)
                                               : RunFault::pauseLoop(circle->first));
            if (!hasLook(record))
                return faultWay(RunFault::cannotShow(step, mStyle));
            if (StepFlow::waits(record))
                return stepWay(step);
            const StepExit exit = StepFlow::exits(mProject, step).constFirst();
            if (exit.leads != StepExit::Leads::Step)
                return follow(exit, step);
            step = exit.target;
        }
        return endWay();
    }

    // Where a way out of `step` leads.
    Way follow(const StepExit &exit, int step) const
    {
        switch (exit.leads) {
        case StepExit::Leads::Step:
            return arrive(exit.target);
        case StepExit::Leads::Exit:
        case StepExit::Leads::OffList:
            return endWay();
        case StepExit::Leads::Stays:
            return {Way::Kind::Stays, -1, {}};
        case StepExit::Leads::Fault:
            break;
        }
        return faultWay(RunFault::scriptCannotRun(step, exit.script));
    }

    StepTable::Step compileStep(int step) const
    {
        const DialogRecord &record = mProject.record(step + 1);
        StepTable::Step compiled;
        compiled.type = record.type;
        compiled.caption = StepFlow::shownCaption(record);
        compiled.text = StepFlow::shownText(record);
        compiled.icon = iconOf(record);
        for (const StepExit &exit : StepFlow::exits(mProject, step)) {
            if (exit.isAutomatic())
                compiled.end = follow(exit, step);
            else
                compiled.buttons << StepTable::Button{exit.caption, follow(exit, step)};
        }
        compiled.closeBox = closeBoxWay(record, compiled.buttons);
        // A progress window on its way round with pauses forever: its close box ends the run.
        if (const std::optional<StepFlow::EndlessCircle> circle = circleAhead(step);
            circle && circle->showsWindow)
            compiled.closeBox = endWay();
        const int perSecond =
            record.type == DialogRecord::Pause ? PauseTickPerSecond : BarTickPerSecond;
        compiled.interval = record.type == DialogRecord::Message ? 0 : record.time * perSecond;
        return compiled;
    }

private:
    std::optional<StepFlow::EndlessCircle> circleAhead(int step) const
    {
        return StepFlow::circleAhead(
            step, mCount, [this](int at) { return std::optional(mProject.record(at + 1)); },
            StepFlow::ending);
    }

    // Message and progress windows need the look of the project style; a pause plays in any.
    bool hasLook(const DialogRecord &record) const
    {
        const bool window =
            record.type == DialogRecord::Message || record.type == DialogRecord::Progress;
        return !window || mStyle == 0 || mStyle == 1;
    }

    // A message shows its icon box unless the icon is 0, a progress window always; a code
    // without a cell leaves the box empty.
    static int iconOf(const DialogRecord &record)
    {
        if (record.type == DialogRecord::Message && record.ico == 0)
            return -1;
        return record.ico >= 1 && record.ico <= 5 ? record.ico : 0;
    }

    static Way closeBoxWay(const DialogRecord &record, const QList<StepTable::Button> &buttons)
    {
        switch (StepFlow::closeBox(record)) {
        case StepFlow::CloseBox::Button1:
            return buttons.value(0).way;
        case StepFlow::CloseBox::Button2:
            return buttons.value(1).way;
        case StepFlow::CloseBox::EndRun:
            return endWay();
        case StepFlow::CloseBox::Ignored:
            break;
        }
        return {Way::Kind::Stays, -1, {}};
    }

    const DialogProject &mProject;
    int mCount;
    qint16 mStyle;
};

QJsonValue wayJson(const Way &way)
{
    switch (way.kind) {
    case Way::Kind::Step:
        return way.step;
    case Way::Kind::End:
        return WayEnd;
    case Way::Kind::Stays:
        return WayStays;
    case Way::Kind::Fault:
        break;
    }
    return way.fault;
}

QJsonObject buttonJson(const StepTable::Button &button)
{
    const MnemonicCaption caption = splitMnemonic(button.caption);
    return {{QStringLiteral("before"), caption.before},
            {QStringLiteral("key"), caption.key},
            {QStringLiteral("after"), caption.after},
            {QStringLiteral("way"), wayJson(button.way)}};
}

QJsonValue stepJson(const std::optional<StepTable::Step> &step)
{
    if (!step)
        return QJsonValue::Null;
    QJsonArray buttons;
    for (const StepTable::Button &button : step->buttons)
        buttons.append(buttonJson(button));
    return QJsonObject{{QStringLiteral("type"), step->type},
                       {QStringLiteral("caption"), step->caption},
                       {QStringLiteral("text"), step->text},
                       {QStringLiteral("icon"), step->icon},
                       {QStringLiteral("buttons"), buttons},
                       {QStringLiteral("close"), wayJson(step->closeBox)},
                       {QStringLiteral("end"), wayJson(step->end)},
                       {QStringLiteral("interval"), step->interval}};
}

} // namespace

StepTable StepTable::compile(const DialogProject &project)
{
    StepTable table;
    const std::optional<qint16> style = project.record(0).projectStyle();
    if (!style) {
        table.mStart = faultWay(RunFault::noProjectStyle());
        return table;
    }
    table.mStyle = *style;
    const Compiler compiler(project);
    table.mStart = compiler.arrive(0);
    for (int step = 0; step < project.dialogCount(); ++step) {
        if (StepFlow::waits(project.record(step + 1)))
            table.mSteps << compiler.compileStep(step);
        else
            table.mSteps << std::nullopt;
    }
    return table;
}

QJsonObject StepTable::toJson() const
{
    QJsonArray steps;
    for (const std::optional<Step> &step : mSteps)
        steps.append(stepJson(step));
    return {{QStringLiteral("style"), mStyle},
            {QStringLiteral("start"), wayJson(mStart)},
            {QStringLiteral("steps"), steps}};
}

} // namespace kq
