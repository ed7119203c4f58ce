#include "flowlayout.h"

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

const QChar Separator(0x1f);

// The worst severity among the findings on one thing, and their texts.
struct Marked
{
    FlowMark mark = FlowMark::None;
    QStringList texts;

    void add(const Finding &finding)
    {
        const FlowMark level =
            finding.severity() == Finding::Severity::Error ? FlowMark::Error : FlowMark::Warning;
        mark = std::max(mark, level);
        texts << FindingText::text(finding);
    }
};

using EdgeKey = QPair<int, int>;

struct Marks
{
    QHash<int, Marked> nodes; // by step; -1 the project as a whole
    QHash<EdgeKey, Marked> edges;

    explicit Marks(const QList<Finding> &findings)
    {
        for (const Finding &finding : findings) {
            nodes[finding.step].add(finding);
            if (finding.field != StepField::None && finding.field != StepField::Header)
                edges[{finding.step, int(finding.field)}].add(finding);
            // A circle shows on every step it passes.
            if (finding.kind == Finding::Kind::SilentLoop) {
                for (const QString &step : finding.arguments.mid(1))
                    nodes[step.toInt()].add(finding);
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

QString typeName(qint16 type)
{
    switch (type) {
    case DialogRecord::Message:
        return languageText(120);
    case DialogRecord::Progress:
        return languageText(121);
    case DialogRecord::Pause:
        return languageText(122);
    default:
        return withoutMnemonic(languageText(101)) + u' ' + QString::number(type) +
               QStringLiteral(" · ") + languageText(362);
    }
}

QString subtitle(const DialogRecord &record)
{
    const QString type = typeName(record.type);
    if (record.type != DialogRecord::Progress && record.type != DialogRecord::Pause)
        return type;
    return type + QStringLiteral(" · ") + withoutMnemonic(languageText(102)) + u' ' +
           QString::number(record.time);
}

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

QString exitLabel(const StepExit &exit)
{
    switch (exit.field) {
    case StepField::BarFull:
        return languageText(126);
    case StepField::PauseEnd:
        return languageText(127);
    case StepField::None:
        return languageText(362);
    default:
        return exit.caption.isEmpty() ? FindingText::fieldName(exit.field) : exit.caption;
    }
}

QString endTitle(const StepExit &exit)
{
    switch (exit.leads) {
    case StepExit::Leads::Exit:
        return languageText(360);
    case StepExit::Leads::Fault:
        return u'"' + exit.script + u'"';
    default:
        return languageText(exit.target < 0 ? QStringLiteral("%0363") : QStringLiteral("%0361"));
    }
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

QString joinKey(const QStringList &parts)
{
    return parts.join(Separator);
}

QString rectKey(const QRectF &rect)
{
    return QStringLiteral("%1,%2,%3,%4")
        .arg(rect.x())
        .arg(rect.y())
        .arg(rect.width())
        .arg(rect.height());
}

} // namespace

QString FlowNode::key() const
{
    return joinKey({QString::number(int(kind)), QString::number(step), rectKey(rect), title,
                    subtitle, QString::number(type), QString::number(ico), QString::number(style),
                    QString::number(int(mark)), tooltip});
}

QString FlowEdge::key() const
{
    QStringList points;
    for (int i = 0; i < path.elementCount(); ++i)
        points << QStringLiteral("%1:%2").arg(path.elementAt(i).x).arg(path.elementAt(i).y);
    return joinKey({QString::number(step), QString::number(int(field)), QString::number(int(look)),
                    points.join(u' '), QString::number(arrowhead), label,
                    QStringLiteral("%1,%2").arg(labelAt.x()).arg(labelAt.y()),
                    QString::number(labelWidth), QString::number(labelAlignedRight),
                    QString::number(int(mark)), tooltip});
}

FlowPlan FlowPlan::make(const DialogProject &project, const QList<Finding> &findings)
{
    FlowPlan plan;
    const Marks marks(findings);
    const int count = project.dialogCount();
    const qint16 style = project.record(0).projectStyle().value_or(0);

    FlowNode start;
    start.kind = FlowNode::Kind::Start;
    start.rect = QRectF(Width / 2 - 70, -64, 140, 28);
    start.title = FindingText::stepLabel(-1);
    start.mark = marks.nodes.value(-1).mark;
    start.tooltip = withFindings(QString(), marks.nodes.value(-1));
    plan.nodes << start;
    if (count > 0) {
        FlowEdge edge;
        edge.look = FlowEdge::Look::Start;
        edge.target = 0;
        edge.path = line(QPointF(Width / 2, start.rect.bottom()), QPointF(Width / 2, 0));
        plan.edges << edge;
    }

    QList<FlowEdge> jumps;
    QList<QPair<int, int>> spans;
    bool pastEndBox = false;
    for (int step = 0; step < count; ++step) {
        const DialogRecord &record = project.record(step + 1);
        const qreal top = rowTop(step);
        FlowNode node;
        node.step = step;
        node.rect = QRectF(0, top, Width, Height);
        node.title = trimmedRight(record.caption);
        if (node.title.isEmpty())
            node.title = firstLine(record.text);
        node.subtitle = subtitle(record);
        // A pause usually has neither caption nor text: its type and time name it.
        if (node.title.isEmpty())
            node.title = std::exchange(node.subtitle, QString());
        node.type = record.type;
        node.ico = StepFlow::showsIcon(record) ? record.ico : 0;
        node.style = style;
        node.mark = marks.nodes.value(step).mark;
        node.tooltip = withFindings(stepTooltip(record), marks.nodes.value(step));
        plan.nodes << node;

        const QList<StepExit> exits = StepFlow::exits(project, step);
        // Arrows straight down: to the next step, or from the last step past the end.
        QList<int> down;
        int left = 0;
        int right = 0;
        for (int i = 0; i < exits.size(); ++i) {
            const StepExit &exit = exits.at(i);
            if ((exit.leads == StepExit::Leads::Step || exit.leads == StepExit::Leads::OffList) &&
                exit.target == step + 1)
                down << i;
        }
        for (int i = 0; i < exits.size(); ++i) {
            const StepExit &exit = exits.at(i);
            const Marked &marked = marks.edges.value({step, int(exit.field)});
            FlowEdge edge;
            edge.step = step;
            edge.field = exit.field;
            edge.leads = exit.leads;
            edge.target = exit.target;
            edge.label = exitLabel(exit);
            edge.mark = marked.mark;
            edge.tooltip = withFindings(exit.script, marked);
            if (down.contains(i)) {
                const qreal x =
                    Width / 2 + (down.indexOf(i) - (down.size() - 1) / 2.0) * DownSpacing;
                const qreal bottom = top + Height;
                edge.look = exit.leads == StepExit::Leads::Step ? FlowEdge::Look::Next
                                                                : FlowEdge::Look::End;
                edge.path = line(QPointF(x, bottom), QPointF(x, rowTop(step + 1)));
                edge.labelAt = QPointF(x + 5, bottom + (RowPitch - Height) / 2 + 4);
                // Only the arrow to the right limits a label's room.
                const bool rightmost = down.indexOf(i) == down.size() - 1;
                edge.labelWidth = rightmost ? 120 : DownSpacing - 10;
                pastEndBox = pastEndBox || exit.leads == StepExit::Leads::OffList;
                plan.edges << edge;
            } else if (exit.leads == StepExit::Leads::Step) {
                const qreal yOut = top + 14 + right++ * 12;
                edge.look = exit.target > step ? FlowEdge::Look::Forward : FlowEdge::Look::Back;
                edge.path =
                    line(QPointF(Width, yOut), QPointF(Width, rowTop(exit.target) + Height - 14));
                edge.labelAt = QPointF(Width + 5, yOut - LabelRise);
                jumps << edge;
                spans << qMakePair(std::min(step, exit.target), std::max(step, exit.target));
            } else {
                const qreal y = top + 16 + left++ * 26;
                edge.labelAt = QPointF(EndRight + 5, y - LabelRise);
                edge.labelWidth = -EndRight - 10;
                if (exit.leads == StepExit::Leads::Stays) {
                    edge.look = FlowEdge::Look::Stays;
                    edge.path = stayLoop(y);
                    edge.labelAt = QPointF(-StayLoopWidth - 6, y + 4);
                    edge.labelWidth = EndWidth;
                    edge.labelAlignedRight = true;
                } else {
                    edge.look = exit.leads == StepExit::Leads::Fault ? FlowEdge::Look::Fault
                                                                     : FlowEdge::Look::End;
                    edge.path = line(QPointF(0, y), QPointF(EndRight, y));
                    FlowNode end;
                    end.kind = endKind(exit);
                    end.step = step;
                    end.rect = QRectF(EndRight - EndWidth, y - EndHeight / 2, EndWidth, EndHeight);
                    end.title = endTitle(exit);
                    end.mark =
                        exit.leads == StepExit::Leads::Fault ? FlowMark::Error : FlowMark::None;
                    plan.nodes << end;
                }
                plan.edges << edge;
            }
        }
    }

    const QList<int> lanes = assignLanes(spans);
    for (int i = 0; i < jumps.size(); ++i) {
        FlowEdge &edge = jumps[i];
        const qreal laneX = LaneStart + lanes.at(i) * LaneGap;
        const QPointF out = edge.path.elementAt(0);
        const QPointF in = edge.path.elementAt(1);
        edge.path = arc(out.y(), in.y(), laneX);
        edge.labelWidth = std::clamp(laneX - Width - 12, 100.0, 130.0);
        plan.edges << edge;
    }

    if (pastEndBox) {
        FlowNode end;
        end.kind = FlowNode::Kind::PastEnd;
        end.rect = QRectF(Width / 2 - 90, rowTop(count), 180, 30);
        end.title = languageText(361);
        plan.nodes << end;
    }

    for (const FlowNode &node : plan.nodes)
        plan.bounds = plan.bounds.united(node.rect);
    for (const FlowEdge &edge : plan.edges) {
        plan.bounds = plan.bounds.united(edge.path.boundingRect());
        if (!edge.label.isEmpty())
            plan.bounds = plan.bounds.united(
                QRectF(edge.labelAt.x() - (edge.labelAlignedRight ? edge.labelWidth : 0),
                       edge.labelAt.y() - 14, edge.labelWidth, 18));
    }
    plan.bounds.adjust(-20, -20, 20, 20);
    return plan;
}

} // namespace kq
