#pragma once

#include "projectcheck.h"

#include <QList>
#include <QPainterPath>
#include <QRectF>
#include <QString>

namespace kq {

class DialogProject;

// How a finding marks what the flow view draws: the worst severity among its findings.
enum class FlowMark { None, Warning, Error };

// One box of the flow picture: a step, the start, or an end (exit, past the last step, a
// script that cannot run).
struct FlowNode
{
    enum class Kind { Start, Step, PastEnd, Exit, Fault };

    Kind kind = Kind::Step;
    int step = -1; // the step it shows, or for an end box the step that leads to it
    QRectF rect;
    QString title;    // a step's caption or first line of text; an end box's label
    QString subtitle; // a step's type, with its time for timed steps
    qint16 type = 0;
    qint16 ico = 0; // drawn only when the step's window shows it
    qint16 style = 0;
    FlowMark mark = FlowMark::None;
    QString tooltip;

    // Everything that decides how it looks: equal nodes draw the same.
    bool operator==(const FlowNode &other) const = default;
};

size_t qHash(const FlowNode &node, size_t seed = 0);

// One arrow of the flow picture: a way out of a step, or the start's arrow to step 0.
struct FlowEdge
{
    enum class Look { Next, Forward, Back, End, Stays, Fault, Start };

    int step = -1; // the step it leaves; -1 for the start's arrow
    StepField field = StepField::None;
    StepExit::Leads leads = StepExit::Leads::Step;
    int target = -1;
    Look look = Look::Next;
    QPainterPath path; // ends where the arrowhead points
    bool arrowhead = true;
    QString label;
    QPointF labelAt;      // where the label's baseline starts, or ends for a label aligned right
    qreal labelWidth = 0; // room for the label; longer labels are cut with "…"
    bool labelAlignedRight = false;
    FlowMark mark = FlowMark::None;
    QString tooltip;

    bool operator==(const FlowEdge &other) const = default;
};

size_t qHash(const FlowEdge &edge, size_t seed = 0);

// The whole picture: steps top to bottom in list order, arrows to the next step straight down,
// other jumps as arcs on the right (each in a lane of its own), ends as boxes on the left, and
// going on from the last step into a box below it.
struct FlowPlan
{
    QList<FlowNode> nodes;
    QList<FlowEdge> edges;
    QRectF bounds;

    static constexpr qreal NodeWidth = 280;
    static constexpr qreal NodeHeight = 58;
    static constexpr qreal RowPitch = 112;

    static FlowPlan make(const DialogProject &project, const QList<Finding> &findings);
    // An exit box as the plan draws one, for an arrow being drawn where the plan has none.
    static FlowNode exitBoxAt(QPointF topLeft, int step);
    // The top edge of a step's box.
    static qreal rowTop(int step) { return step * RowPitch; }
};

} // namespace kq
