#include "flowplan.h"

#include "dialogproject.h"
#include "findingtext.h"
#include "language.h"
#include "mnemonic.h"
#include "textlines.h"

#include <QHash>
#include <QStringList>

#include <algorithm>
#include <numeric>
#include <utility>

namespace kq {

namespace {

constexpr qreal Width = FlowPlan::NodeWidth;
constexpr qreal Height = FlowPlan::NodeHeight;
// Arcs of jumps run in lanes right of the boxes, one lane per arc where their rows overlap.
constexpr qreal LaneStart = Width + 26;
constexpr qreal LaneGap = 14;
constexpr qreal Corner = 6;
// End boxes stand left of the step that leads to them, with room for the label on the arrow.
constexpr qreal EndRight = -96;
constexpr qreal EndWidth = 150;
constexpr qreal EndHeight = 22;
constexpr qreal DownSpacing = 84;
constexpr qreal StayLoopWidth = 34;
constexpr qreal LabelRise = 5;
constexpr int TooltipLines = 6;

// The worst severity among the findings on one thing, and their texts.
struct Marked
{
    FlowMark mark = FlowMark::None;
    QStringList texts;

    void add(const Finding &finding, const QString &text)
    {
        const FlowMark level =
            finding.severity() == Finding::Severity::Error ? FlowMark::Error : FlowMark::Warning;
        mark = std::max(mark, level);
        texts << text;
    }
};

using EdgeKey = QPair<int, int>;

struct Marks
{
    QHash<int, Marked> nodes; // by step; -1 the project as a whole
    QHash<EdgeKey, Marked> edges;

    explicit Marks(const QList<Finding> &findings)
    {
        const QStringList texts = FindingText::texts(findings);
        for (qsizetype i = 0; i < findings.size(); ++i) {
            const Finding &finding = findings.at(i);
            nodes[finding.step].add(finding, texts.at(i));
            if (finding.field != StepField::None && finding.field != StepField::Header)
                edges[{finding.step, int(finding.field)}].add(finding, texts.at(i));
            // A circle shows on every step it passes.
            if (finding.kind == Finding::Kind::SilentLoop) {
                for (const QString &step : finding.arguments.mid(1))
                    nodes[step.toInt()].add(finding, texts.at(i));
            }
        }
    }
};

QString withFindings(const QString &text, const Marked &marked)
{
    QStringList lines;
    if (!text.isEmpty())
        lines << text;
    for (const QString &finding : marked.texts)
        lines << QStringLiteral("• ") + finding;
    return lines.join(u'\n');
}

QString firstLine(const QString &text)
{
    const QString box = toBoxText(trimmedRight(text));
    return box.section(u'\n', 0, 0).trimmed();
}

// The texts of the active language one plan shows, each looked up once: every lookup checks the
// language file on disk, and a plan of 99 steps names the same few types and buttons hundreds of
// times.
class PlanTexts
{
public:
    QString text(TextId id) { return mTexts(id); }

    QString fieldName(StepField field)
    {
        auto it = mFieldNames.constFind(field);
        if (it == mFieldNames.constEnd())
            it = mFieldNames.insert(field, FindingText::fieldName(field));
        return *it;
    }

    QString typeName(qint16 type)
    {
        switch (type) {
        case DialogRecord::Message:
            return text(TextId::TypeMessage);
        case DialogRecord::Progress:
            return text(TextId::TypeProgress);
        case DialogRecord::Pause:
            return text(TextId::TypePause);
        default:
            return withoutMnemonic(text(TextId::LabelType)) + u' ' + QString::number(type) +
                   QStringLiteral(" · ") + text(TextId::FlowNoWindow);
        }
    }

    QString subtitle(const DialogRecord &record)
    {
        const QString type = typeName(record.type);
        if (record.type != DialogRecord::Progress && record.type != DialogRecord::Pause)
            return type;
        return type + QStringLiteral(" · ") + withoutMnemonic(text(TextId::LabelTime)) + u' ' +
               QString::number(record.time);
    }

    QString exitLabel(const StepExit &exit)
    {
        switch (exit.field) {
        case StepField::BarFull:
            return text(TextId::BarFullButton);
        case StepField::PauseEnd:
            return text(TextId::PauseOverButton);
        case StepField::None:
            return text(TextId::FlowNoWindow);
        default:
            return exit.caption.isEmpty() ? fieldName(exit.field) : exit.caption;
        }
    }

    QString endTitle(const StepExit &exit)
    {
        switch (exit.leads) {
        case StepExit::Leads::Exit:
            return text(TextId::FlowExit);
        case StepExit::Leads::Fault:
            return u'"' + exit.script + u'"';
        default:
            return text(exit.target < 0 ? TextId::FlowBeforeFirstStep : TextId::FlowPastLastStep);
        }
    }

private:
    LanguageTexts mTexts;
    QHash<StepField, QString> mFieldNames;
};

QString stepTooltip(const DialogRecord &record)
{
    QStringList lines = toBoxText(trimmedRight(record.text)).split(u'\n');
    if (lines.size() > TooltipLines) {
        lines = lines.mid(0, TooltipLines);
        lines << QStringLiteral("…");
    }
    const QString caption = trimmedRight(record.caption);
    if (!caption.isEmpty())
        lines.prepend(caption);
    return lines.join(u'\n');
}

// An end box of the picture: all have the same size.
FlowNode endBox(FlowNode::Kind kind, int step, QPointF topLeft, const QString &title)
{
    FlowNode end;
    end.kind = kind;
    end.step = step;
    end.rect = QRectF(topLeft, QSizeF(EndWidth, EndHeight));
    end.title = title;
    return end;
}

FlowNode::Kind endKind(const StepExit &exit)
{
    switch (exit.leads) {
    case StepExit::Leads::Exit:
        return FlowNode::Kind::Exit;
    case StepExit::Leads::Fault:
        return FlowNode::Kind::Fault;
    default:
        return FlowNode::Kind::PastEnd;
    }
}

// The arrowhead ends a path, so arrows run from their step to where they lead.
QPainterPath line(QPointF from, QPointF to)
{
    QPainterPath path(from);
    path.lineTo(to);
    return path;
}

// An arc right of the boxes: out of the step at yOut, along its lane, into the target at yIn.
QPainterPath arc(qreal yOut, qreal yIn, qreal laneX)
{
    const qreal sign = yIn >= yOut ? 1 : -1;
    QPainterPath path(QPointF(Width, yOut));
    path.lineTo(laneX - Corner, yOut);
    path.quadTo(laneX, yOut, laneX, yOut + sign * Corner);
    path.lineTo(laneX, yIn - sign * Corner);
    path.quadTo(laneX, yIn, laneX - Corner, yIn);
    path.lineTo(Width, yIn);
    return path;
}

// A button that does nothing: a small loop back into the box's left side.
QPainterPath stayLoop(qreal y)
{
    QPainterPath path(QPointF(0, y - 6));
    path.cubicTo(-StayLoopWidth, y - 20, -StayLoopWidth, y + 20, 0, y + 6);
    return path;
}

// Lanes for the arcs: shorter arcs nearer the boxes, and arcs whose rows overlap never share a
// lane, so each arc can be followed from end to end.
QList<int> assignLanes(const QList<QPair<int, int>> &spans)
{
    QList<int> order(spans.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto length = [&](int i) { return spans.at(i).second - spans.at(i).first; };
        return length(a) < length(b);
    });
    QList<QList<QPair<int, int>>> lanes;
    QList<int> result(spans.size(), 0);
    for (int index : order) {
        const QPair<int, int> span = spans.at(index);
        const auto overlaps = [&](const QPair<int, int> &other) {
            return span.first <= other.second && other.first <= span.second;
        };
        int lane = 0;
        while (lane < lanes.size() &&
               std::any_of(lanes.at(lane).cbegin(), lanes.at(lane).cend(), overlaps))
            ++lane;
        if (lane == lanes.size())
            lanes.append(QList<QPair<int, int>>());
        lanes[lane] << span;
        result[index] = lane;
    }
    return result;
}

size_t hashPoint(QPointF point, size_t seed)
{
    return qHashMulti(seed, point.x(), point.y());
}

size_t hashRect(const QRectF &rect, size_t seed)
{
    return qHashMulti(seed, rect.x(), rect.y(), rect.width(), rect.height());
}

} // namespace

// Hashes of everything equality compares: the flow view finds the item of an unchanged box or
// arrow by them.
size_t qHash(const FlowNode &node, size_t seed)
{
    seed = hashRect(node.rect, seed);
    return qHashMulti(seed, int(node.kind), node.step, node.title, node.subtitle, node.type,
                      node.ico, node.style, int(node.mark), node.tooltip);
}

size_t qHash(const FlowEdge &edge, size_t seed)
{
    for (int i = 0; i < edge.path.elementCount(); ++i)
        seed = hashPoint(edge.path.elementAt(i), seed);
    seed = hashPoint(edge.labelAt, seed);
    return qHashMulti(seed, edge.step, int(edge.field), int(edge.leads), edge.target,
                      int(edge.look), edge.arrowhead, edge.label, edge.labelWidth,
                      edge.labelAlignedRight, int(edge.mark), edge.tooltip);
}

namespace {

// Builds the picture in the order it is read: the start, each step with the ways out of it,
// the arcs of the jumps once every jump is known, the box past the last step, the bounds.
class PlanBuilder
{
public:
    PlanBuilder(const DialogProject &project, const QList<Finding> &findings)
        : mProject(project), mMarks(findings), mStyle(project.record(0).projectStyle().value_or(0))
    {
    }

    FlowPlan build()
    {
        addStart();
        for (int step = 0; step < mProject.dialogCount(); ++step)
            addStep(step);
        addJumpArcs();
        addPastEndBox();
        computeBounds();
        return std::move(mPlan);
    }

private:
    void addStart()
    {
        FlowNode start;
        start.kind = FlowNode::Kind::Start;
        start.rect = QRectF(Width / 2 - 70, -64, 140, 28);
        start.title = FindingText::stepLabel(-1);
        start.mark = mMarks.nodes.value(-1).mark;
        start.tooltip = withFindings(QString(), mMarks.nodes.value(-1));
        mPlan.nodes << start;
        if (mProject.dialogCount() == 0)
            return;
        FlowEdge edge;
        edge.look = FlowEdge::Look::Start;
        edge.target = 0;
        edge.path = line(QPointF(Width / 2, start.rect.bottom()), QPointF(Width / 2, 0));
        mPlan.edges << edge;
    }

    void addStep(int step)
    {
        mPlan.nodes << stepNode(step);
        const QList<StepExit> exits = StepFlow::exits(mProject, step);
        const QList<int> down = downwardExits(exits, step);
        int endRow = 0;
        int jumpRow = 0;
        for (int i = 0; i < exits.size(); ++i) {
            FlowEdge edge = exitEdge(step, exits.at(i));
            if (down.contains(i))
                addDownArrow(edge, down.indexOf(i), down.size());
            else if (exits.at(i).leads == StepExit::Leads::Step)
                addJump(edge, jumpRow++);
            else
                addEnd(edge, exits.at(i), endRow++);
        }
    }

    FlowNode stepNode(int step)
    {
        const DialogRecord &record = mProject.record(step + 1);
        FlowNode node;
        node.step = step;
        node.rect = QRectF(0, FlowPlan::rowTop(step), Width, Height);
        node.title = trimmedRight(record.caption);
        if (node.title.isEmpty())
            node.title = firstLine(record.text);
        node.subtitle = mTexts.subtitle(record);
        // A pause usually has neither caption nor text: its type and time name it.
        if (node.title.isEmpty())
            node.title = std::exchange(node.subtitle, QString());
        node.type = record.type;
        node.ico = StepFlow::showsIcon(record) ? record.ico : 0;
        node.style = mStyle;
        node.mark = mMarks.nodes.value(step).mark;
        node.tooltip = withFindings(stepTooltip(record), mMarks.nodes.value(step));
        return node;
    }

    // The exits drawn straight down: to the next step, or from the last step past the end.
    static QList<int> downwardExits(const QList<StepExit> &exits, int step)
    {
        QList<int> down;
        for (int i = 0; i < exits.size(); ++i) {
            const StepExit &exit = exits.at(i);
            if ((exit.leads == StepExit::Leads::Step || exit.leads == StepExit::Leads::OffList) &&
                exit.target == step + 1)
                down << i;
        }
        return down;
    }

    // What every arrow of an exit shows, wherever it is drawn.
    FlowEdge exitEdge(int step, const StepExit &exit)
    {
        const Marked &marked = mMarks.edges.value({step, int(exit.field)});
        FlowEdge edge;
        edge.step = step;
        edge.field = exit.field;
        edge.leads = exit.leads;
        edge.target = exit.target;
        edge.label = mTexts.exitLabel(exit);
        edge.mark = marked.mark;
        edge.tooltip = withFindings(exit.script, marked);
        return edge;
    }

    // Arrows down sit side by side, centred under the box.
    void addDownArrow(FlowEdge &edge, int index, int count)
    {
        const qreal x = Width / 2 + (index - (count - 1) / 2.0) * DownSpacing;
        const qreal bottom = FlowPlan::rowTop(edge.step) + Height;
        edge.look =
            edge.leads == StepExit::Leads::Step ? FlowEdge::Look::Next : FlowEdge::Look::End;
        edge.path = line(QPointF(x, bottom), QPointF(x, FlowPlan::rowTop(edge.step + 1)));
        edge.labelAt = QPointF(x + 5, bottom + (FlowPlan::RowPitch - Height) / 2 + 4);
        // Only the arrow to the right limits a label's room.
        edge.labelWidth = index == count - 1 ? 120 : DownSpacing - 10;
        mPastEndBox = mPastEndBox || edge.leads == StepExit::Leads::OffList;
        mPlan.edges << edge;
    }

    // A jump leaves the box's right side; its arc is routed once every jump is known.
    void addJump(FlowEdge &edge, int row)
    {
        const qreal yOut = FlowPlan::rowTop(edge.step) + 14 + row * 12;
        edge.look = edge.target > edge.step ? FlowEdge::Look::Forward : FlowEdge::Look::Back;
        edge.path =
            line(QPointF(Width, yOut), QPointF(Width, FlowPlan::rowTop(edge.target) + Height - 14));
        edge.labelAt = QPointF(Width + 5, yOut - LabelRise);
        mJumps << edge;
        mSpans << qMakePair(std::min(edge.step, edge.target), std::max(edge.step, edge.target));
    }

    // Ends stand left of the box, one row each: a loop for a button that stays, a box otherwise.
    void addEnd(FlowEdge &edge, const StepExit &exit, int row)
    {
        const qreal y = FlowPlan::rowTop(edge.step) + 16 + row * 26;
        edge.labelAt = QPointF(EndRight + 5, y - LabelRise);
        edge.labelWidth = -EndRight - 10;
        if (exit.leads == StepExit::Leads::Stays) {
            edge.look = FlowEdge::Look::Stays;
            edge.path = stayLoop(y);
            edge.labelAt = QPointF(-StayLoopWidth - 6, y + 4);
            edge.labelWidth = EndWidth;
            edge.labelAlignedRight = true;
        } else {
            edge.look =
                exit.leads == StepExit::Leads::Fault ? FlowEdge::Look::Fault : FlowEdge::Look::End;
            edge.path = line(QPointF(0, y), QPointF(EndRight, y));
            mPlan.nodes << endNode(exit, edge.step, y, mTexts.endTitle(exit));
        }
        mPlan.edges << edge;
    }

    static FlowNode endNode(const StepExit &exit, int step, qreal y, const QString &title)
    {
        FlowNode end =
            endBox(endKind(exit), step, QPointF(EndRight - EndWidth, y - EndHeight / 2), title);
        end.mark = exit.leads == StepExit::Leads::Fault ? FlowMark::Error : FlowMark::None;
        return end;
    }

    void addJumpArcs()
    {
        const QList<int> lanes = assignLanes(mSpans);
        for (int i = 0; i < mJumps.size(); ++i) {
            FlowEdge &edge = mJumps[i];
            const qreal laneX = LaneStart + lanes.at(i) * LaneGap;
            const QPointF out = edge.path.elementAt(0);
            const QPointF in = edge.path.elementAt(1);
            edge.path = arc(out.y(), in.y(), laneX);
            edge.labelWidth = std::clamp(laneX - Width - 12, 100.0, 130.0);
            mPlan.edges << edge;
        }
    }

    void addPastEndBox()
    {
        if (!mPastEndBox)
            return;
        FlowNode end;
        end.kind = FlowNode::Kind::PastEnd;
        end.rect = QRectF(Width / 2 - 90, FlowPlan::rowTop(mProject.dialogCount()), 180, 30);
        end.title = mTexts.text(TextId::FlowPastLastStep);
        mPlan.nodes << end;
    }

    // Every box, arrow and label, with a margin.
    void computeBounds()
    {
        QRectF &bounds = mPlan.bounds;
        for (const FlowNode &node : std::as_const(mPlan.nodes))
            bounds = bounds.united(node.rect);
        for (const FlowEdge &edge : std::as_const(mPlan.edges)) {
            bounds = bounds.united(edge.path.boundingRect());
            if (!edge.label.isEmpty())
                bounds = bounds.united(
                    QRectF(edge.labelAt.x() - (edge.labelAlignedRight ? edge.labelWidth : 0),
                           edge.labelAt.y() - 14, edge.labelWidth, 18));
        }
        bounds.adjust(-20, -20, 20, 20);
    }

    const DialogProject &mProject;
    const Marks mMarks;
    const qint16 mStyle;
    PlanTexts mTexts;
    FlowPlan mPlan;
    QList<FlowEdge> mJumps;
    QList<QPair<int, int>> mSpans;
    bool mPastEndBox = false;
};

} // namespace

FlowPlan FlowPlan::make(const DialogProject &project, const QList<Finding> &findings)
{
    return PlanBuilder(project, findings).build();
}

FlowNode FlowPlan::exitBoxAt(QPointF topLeft, int step)
{
    return endBox(FlowNode::Kind::Exit, step, topLeft, languageText(TextId::FlowExit));
}

} // namespace kq
