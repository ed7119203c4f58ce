#include "projectcheck.h"

#include "buttonscript.h"
#include "dialogproject.h"

#include <algorithm>

namespace kq {

namespace {

using Kind = Finding::Kind;
using Leads = StepExit::Leads;

Finding finding(Kind kind, int step, StepField field = StepField::None,
                const QStringList &arguments = {})
{
    return {kind, step, field, arguments};
}

bool hasProjectStyle(const DialogRecord &header)
{
    const std::optional<qint16> style = header.projectStyle();
    return style && (*style == 0 || *style == 1);
}

bool isKnownType(qint16 type)
{
    return type >= DialogRecord::Message && type <= DialogRecord::Pause;
}

// A message whose every button does nothing cannot be left: its close box presses a button too.
bool trapsItsUser(const DialogRecord &record, const QList<StepExit> &exits)
{
    return record.type == DialogRecord::Message &&
           std::all_of(exits.cbegin(), exits.cend(),
                       [](const StepExit &exit) { return exit.leads == Leads::Stays; });
}

void checkExit(const StepExit &exit, int step, int dialogCount, bool trapped,
               QList<Finding> &findings)
{
    switch (exit.leads) {
    case Leads::Fault:
        if (exit.isAutomatic() && ButtonScript::isNoAction(exit.script))
            findings << finding(Kind::EndRunsNoAction, step, exit.field);
        else
            findings << finding(Kind::ScriptCannotRun, step, exit.field, {exit.script});
        break;
    case Leads::Stays:
        // A blank button doing nothing is left alone: it looks like the placeholder it is.
        if (!trapped && !exit.caption.isEmpty())
            findings << finding(Kind::ButtonDoesNothing, step, exit.field, {exit.caption});
        break;
    case Leads::OffList:
        switch (ButtonScript::command(exit.script)) {
        case ButtonScript::Command::GoBack:
            findings << finding(Kind::BackFromFirst, step, exit.field);
            break;
        case ButtonScript::Command::GoTo:
            findings << finding(Kind::TargetOutside, step, exit.field,
                                {QString::number(exit.target), QString::number(dialogCount - 1)});
            break;
        default: // going on from the last step is the ordinary end
            break;
        }
        break;
    case Leads::Step:
    case Leads::Exit:
        break;
    }
}

// Steps that nobody answers (no window, pauses, progress windows without a working button) lead
// on by their own end, the same way every time. Following those ways, coming back to a step
// already passed is a circle the run never leaves: the runner ends one without any window as a
// fault, and one with a progress window goes on until its close box ends the run. Each circle is
// reported once, at its lowest step, with its steps in the order the run takes them.
void checkEndlessLoops(const DialogProject &project, const QList<QList<StepExit>> &exits,
                       QList<Finding> &findings)
{
    const int count = int(exits.size());
    auto fixedWay = [&](int step) {
        if (StepFlow::ending(project.record(step + 1)) == StepFlow::Ending::ByUser)
            return -1;
        const StepExit &own = exits.at(step).constLast(); // the step's own end comes last
        return own.leads == Leads::Step ? own.target : -1;
    };
    enum Mark { Unseen, OnPath, Done };
    QList<Mark> marks(count, Unseen);
    for (int start = 0; start < count; ++start) {
        QList<int> path;
        int step = start;
        while (step >= 0 && marks.at(step) == Unseen) {
            marks[step] = OnPath;
            path << step;
            step = fixedWay(step);
        }
        if (step >= 0 && marks.at(step) == OnPath) {
            QList<int> loop = path.mid(path.indexOf(step));
            std::rotate(loop.begin(), std::min_element(loop.begin(), loop.end()), loop.end());
            QStringList steps;
            bool silent = true;
            for (int member : loop) {
                steps << QString::number(member);
                silent = silent && !StepFlow::waits(project.record(member + 1));
            }
            const int first = loop.constFirst();
            findings << finding(silent ? Kind::SilentLoop : Kind::EndlessLoop, first,
                                exits.at(first).constLast().field, steps);
        }
        for (int passed : path)
            marks[passed] = Done;
    }
}

// The width of the widest line of a text as the message window shows it.
int widestLine(const QString &text, const ProjectCheck::LineMeasure &lineWidth)
{
    int widest = 0;
    const QString lines = QString(trimmedRight(text)).replace(u'\r', u'\n');
    for (const QString &line : lines.split(u'\n'))
        widest = qMax(widest, lineWidth(line));
    return widest;
}

// The advance of a character in pixels, near the sans serif fonts of the desktops at 9 points.
int estimatedAdvance(QChar c)
{
    static const QString narrow = QStringLiteral(" !'(),./:;I[]`fijlrt|");
    static const QString wide = QStringLiteral("%@MWmwЖМШЩЮжмшщю");
    if (narrow.contains(c))
        return 4;
    if (wide.contains(c))
        return 11;
    return c.isUpper() || c.isDigit() ? 8 : 7;
}

// Steps reached from step 0 along every way out that leads to a step.
QList<bool> reachable(const QList<QList<StepExit>> &exits)
{
    QList<bool> reached(exits.size(), false);
    if (exits.isEmpty())
        return reached;
    QList<int> pending{0};
    reached[0] = true;
    while (!pending.isEmpty()) {
        const int step = pending.takeLast();
        for (const StepExit &exit : exits.at(step)) {
            if (exit.leads == Leads::Step && !reached.at(exit.target)) {
                reached[exit.target] = true;
                pending << exit.target;
            }
        }
    }
    return reached;
}

} // namespace

Finding::Severity Finding::severity() const
{
    if (!canHappen)
        return Severity::Warning;
    switch (kind) {
    case Kind::ScriptCannotRun:
    case Kind::EndRunsNoAction:
    case Kind::NoWayOut:
    case Kind::NoProjectStyle:
    case Kind::SilentLoop:
    case Kind::EndlessLoop:
        return Severity::Error;
    default:
        return Severity::Warning;
    }
}

namespace ProjectCheck {

QList<Finding> check(const DialogProject &project, const LineMeasure &lineWidth)
{
    QList<Finding> findings;
    const DialogRecord &header = project.record(0);
    if (!hasProjectStyle(header))
        findings << finding(Kind::NoProjectStyle, -1, StepField::Header,
                            {trimmedSpaces(header.text)});

    const int count = project.dialogCount();
    QList<QList<StepExit>> exits;
    for (int step = 0; step < count; ++step)
        exits << StepFlow::exits(project, step);
    const QList<bool> reached = reachable(exits);

    bool endReached = false;
    for (int step = 0; step < count; ++step) {
        const DialogRecord &record = project.record(step + 1);
        if (!reached.at(step))
            findings << finding(Kind::Unreachable, step);
        if (!isKnownType(record.type))
            findings << finding(Kind::UnknownType, step, StepField::None,
                                {QString::number(record.type)});
        if (StepFlow::showsIcon(record) && (record.ico < 0 || record.ico > 5))
            findings << finding(Kind::UnknownIcon, step, StepField::None,
                                {QString::number(record.ico)});
        if (record.type == DialogRecord::Message) {
            if (const int width = widestLine(record.text, lineWidth);
                ProjectCheck::isTooWide(width))
                findings << finding(Kind::WideMessage, step, StepField::None,
                                    {QString::number(width)});
        }
        const bool trapped = trapsItsUser(record, exits.at(step));
        if (trapped)
            findings << finding(Kind::NoWayOut, step);
        for (const StepExit &exit : exits.at(step)) {
            checkExit(exit, step, count, trapped, findings);
            endReached = endReached || (reached.at(step) && exit.endsRun());
        }
    }
    checkEndlessLoops(project, exits, findings);
    if (count > 0 && !endReached)
        findings << finding(Kind::NoEnd, -1);
    for (Finding &found : findings)
        found.canHappen = found.step < 0 || reached.at(found.step);

    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.step < b.step; });
    return findings;
}

int estimatedLineWidth(const QString &line)
{
    int width = 0;
    for (const QChar c : line)
        width += estimatedAdvance(c);
    return width;
}

int errorCount(const QList<Finding> &findings)
{
    return int(std::count_if(findings.cbegin(), findings.cend(), [](const Finding &finding) {
        return finding.severity() == Finding::Severity::Error;
    }));
}

} // namespace ProjectCheck

} // namespace kq
