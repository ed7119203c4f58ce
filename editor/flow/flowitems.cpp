#include "flowitems.h"

#include "dialogrecord.h"
#include "iconstrips.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QPainter>
#include <QPainterPathStroker>
#include <QtMath>

namespace kq {

namespace {

const QColor ErrorColor(0xc6, 0x28, 0x28);
const QColor WarningColor(0xe0, 0x6c, 0x00);
const QColor CurrentColor(0x1e, 0x63, 0xc8);
const QColor BorderColor(0x8a, 0x8f, 0x98);
const QColor TextColor(0x20, 0x24, 0x2a);
const QColor QuietTextColor(0x5f, 0x66, 0x70);
// A highlighter's yellow, as found text is marked in most programs.
const QColor FoundColor(0xff, 0xd5, 0x4f);

constexpr qreal NumberColumn = 46;
constexpr qreal IconSize = 20;
constexpr qreal BadgeRadius = 8;
constexpr qreal ArrowLength = 9;

QColor markColor(FlowMark mark)
{
    return mark == FlowMark::Error ? ErrorColor : WarningColor;
}

QFont sized(const QFont &base, qreal points, bool bold = false)
{
    QFont font = base;
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QFont sceneFont(const QGraphicsItem *item)
{
    return item->scene() ? item->scene()->font() : QFont();
}

// Simple pictures of the step types: a window, a window with a bar, an hourglass, a question.
void paintTypeGlyph(QPainter *painter, const QRectF &box, qint16 type)
{
    painter->save();
    painter->setPen(QPen(QuietTextColor, 1.4));
    painter->setBrush(Qt::NoBrush);
    const QRectF window = box.adjusted(1, 3, -1, -3);
    switch (type) {
    case DialogRecord::Message:
    case DialogRecord::Progress:
        painter->drawRoundedRect(window, 2, 2);
        painter->drawLine(QPointF(window.left(), window.top() + 4),
                          QPointF(window.right(), window.top() + 4));
        if (type == DialogRecord::Message) {
            painter->drawLine(QPointF(window.left() + 3, window.top() + 8),
                              QPointF(window.right() - 3, window.top() + 8));
            painter->drawLine(QPointF(window.left() + 3, window.top() + 11),
                              QPointF(window.right() - 7, window.top() + 11));
        } else {
            const QRectF bar(window.left() + 3, window.top() + 8, window.width() - 6, 4);
            painter->drawRect(bar);
            painter->fillRect(QRectF(bar.topLeft(), QSizeF(bar.width() * 0.6, bar.height())),
                              QuietTextColor);
        }
        break;
    case DialogRecord::Pause: {
        const QRectF glass = box.adjusted(4, 1, -4, -1);
        QPolygonF hourglass{glass.topLeft(), glass.topRight(), glass.bottomLeft(),
                            glass.bottomRight()};
        painter->drawPolygon(hourglass);
        break;
    }
    default:
        painter->setPen(QPen(QuietTextColor, 1.2, Qt::DashLine));
        painter->drawRoundedRect(window, 2, 2);
        painter->setFont(sized(painter->font(), 8, true));
        painter->drawText(window, Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    painter->restore();
}

void paintLabel(QPainter *painter, const FlowEdge &edge, const QColor &color)
{
    const QFontMetricsF metrics(painter->font());
    const QString shown = metrics.elidedText(edge.label, Qt::ElideRight, edge.labelWidth);
    const qreal textWidth = metrics.horizontalAdvance(shown);
    QPointF baseline = edge.labelAt;
    if (edge.labelAlignedRight)
        baseline.rx() -= textWidth;
    const QRectF back(baseline.x() - 2, baseline.y() - metrics.ascent() - 1, textWidth + 4,
                      metrics.height() + 2);
    painter->setPen(Qt::NoPen);
    // Lines behind a label stay faintly visible, so arcs can still be followed.
    painter->setBrush(QColor(255, 255, 255, 200));
    painter->drawRoundedRect(back, 3, 3);
    painter->setPen(color);
    painter->drawText(baseline, shown);
}

} // namespace

FlowNodeItem::FlowNodeItem(const FlowNode &node) : mNode(node)
{
    setToolTip(node.tooltip);
    setZValue(1);
    setAcceptHoverEvents(false);
}

void FlowNodeItem::setCurrent(bool current)
{
    if (mCurrent == current)
        return;
    mCurrent = current;
    update();
}

void FlowNodeItem::setInSelection(bool selected)
{
    if (mInSelection == selected)
        return;
    mInSelection = selected;
    update();
}

void FlowNodeItem::setFound(bool found)
{
    if (mFound == found)
        return;
    mFound = found;
    update();
}

QRectF FlowNodeItem::boundingRect() const
{
    return mNode.rect.adjusted(-3, -BadgeRadius - 2, BadgeRadius + 2, 3);
}

void FlowNodeItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    painter->setFont(sceneFont(this));
    if (mNode.kind == FlowNode::Kind::Step)
        paintStep(painter);
    else
        paintEnd(painter);
    if (mNode.mark != FlowMark::None)
        paintBadge(painter);
}

void FlowNodeItem::paintStep(QPainter *painter) const
{
    const QRectF box = mNode.rect;
    QPen border(BorderColor, 1.2);
    if (mNode.mark != FlowMark::None)
        border = QPen(markColor(mNode.mark), 2);
    if (mCurrent || mInSelection)
        border = QPen(CurrentColor, mCurrent ? 3 : 2);
    painter->setPen(border);
    painter->setBrush(mCurrent || mInSelection ? QColor(0xe6, 0xef, 0xfb) : QColor(Qt::white));
    painter->drawRoundedRect(box, 6, 6);
    if (mFound) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(FoundColor);
        painter->drawRoundedRect(QRectF(box.left() + 4, box.top() + 4, NumberColumn - 8, 24), 4, 4);
    }

    painter->setPen(QPen(QColor(0xd5, 0xd9, 0xde), 1));
    painter->drawLine(QPointF(box.left() + NumberColumn, box.top() + 6),
                      QPointF(box.left() + NumberColumn, box.bottom() - 6));

    painter->setPen(TextColor);
    painter->setFont(sized(painter->font(), 11, true));
    painter->drawText(QRectF(box.left(), box.top() + 4, NumberColumn, 24), Qt::AlignCenter,
                      QString::number(mNode.step));
    paintTypeGlyph(
        painter,
        QRectF(box.left() + (NumberColumn - IconSize) / 2, box.top() + 30, IconSize, IconSize - 2),
        mNode.type);

    qreal textRight = box.right() - 8;
    const QPixmap &strip = iconStrip(mNode.style == 1 ? 1 : 0);
    if (mNode.ico >= 1 && mNode.ico <= 5 && !strip.isNull()) {
        const QRectF target(box.right() - IconSize - 8, box.top() + 8, IconSize, IconSize);
        // The cell is cut out first: an SVG painter would draw the whole strip into the target.
        painter->drawPixmap(target, strip.copy(mNode.ico * 32, 0, 32, 32), QRectF(0, 0, 32, 32));
        textRight = target.left() - 4;
    }
    const qreal textLeft = box.left() + NumberColumn + 8;
    const QFont titleFont = sized(sceneFont(this), 9.5, true);
    painter->setFont(titleFont);
    painter->drawText(
        QPointF(textLeft, box.top() + 24),
        QFontMetricsF(titleFont).elidedText(mNode.title, Qt::ElideRight, textRight - textLeft));
    const QFont subtitleFont = sized(sceneFont(this), 8.5);
    painter->setFont(subtitleFont);
    painter->setPen(QuietTextColor);
    painter->drawText(QPointF(textLeft, box.top() + 44),
                      QFontMetricsF(subtitleFont)
                          .elidedText(mNode.subtitle, Qt::ElideRight, box.right() - 8 - textLeft));
}

void FlowNodeItem::paintEnd(QPainter *painter) const
{
    QColor fill(0xee, 0xf0, 0xf3);
    QColor edge(0x6b, 0x72, 0x80);
    QColor text = TextColor;
    switch (mNode.kind) {
    case FlowNode::Kind::Exit:
        fill = QColor(0xe6, 0xf4, 0xea);
        edge = QColor(0x2e, 0x7d, 0x32);
        break;
    case FlowNode::Kind::Fault:
        fill = QColor(0xfd, 0xec, 0xea);
        edge = ErrorColor;
        text = ErrorColor;
        break;
    case FlowNode::Kind::Start:
        fill = QColor(0xf4, 0xf5, 0xf7);
        break;
    default:
        break;
    }
    if (mNode.mark != FlowMark::None)
        edge = markColor(mNode.mark);
    const QRectF box = mNode.rect;
    painter->setPen(QPen(edge, 1.4));
    painter->setBrush(fill);
    painter->drawRoundedRect(box, box.height() / 2, box.height() / 2);
    const QFont font = sized(sceneFont(this), 8.5, mNode.kind == FlowNode::Kind::Start);
    painter->setFont(font);
    painter->setPen(text);
    painter->drawText(
        box, Qt::AlignCenter,
        QFontMetricsF(font).elidedText(mNode.title, Qt::ElideRight, box.width() - box.height()));
}

void FlowNodeItem::paintBadge(QPainter *painter) const
{
    const QPointF centre(mNode.rect.right() - 2, mNode.rect.top() + 1);
    painter->setPen(QPen(Qt::white, 1.5));
    painter->setBrush(markColor(mNode.mark));
    painter->drawEllipse(centre, BadgeRadius, BadgeRadius);
    painter->setPen(Qt::white);
    painter->setFont(sized(sceneFont(this), 8, true));
    painter->drawText(QRectF(centre - QPointF(BadgeRadius, BadgeRadius),
                             QSizeF(2 * BadgeRadius, 2 * BadgeRadius)),
                      Qt::AlignCenter, QStringLiteral("!"));
}

namespace {

// Large enough to hit with a mouse at the zoom a project opens with.
constexpr qreal HandleRadius = 5.5;

} // namespace

FlowHandleItem::FlowHandleItem(int step, StepField field, const QPointF &at)
    : mStep(step), mField(field)
{
    setPos(at);
    // Above the boxes, which the arrows leave from their edges.
    setZValue(10);
    setCursor(Qt::CrossCursor);
}

QRectF FlowHandleItem::boundingRect() const
{
    return QRectF(-HandleRadius - 1, -HandleRadius - 1, 2 * HandleRadius + 2, 2 * HandleRadius + 2);
}

void FlowHandleItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(CurrentColor, 1.6));
    painter->setBrush(Qt::white);
    painter->drawEllipse(QPointF(0, 0), HandleRadius, HandleRadius);
    painter->setBrush(CurrentColor);
    painter->setPen(Qt::NoPen);
    painter->drawEllipse(QPointF(0, 0), HandleRadius / 2.5, HandleRadius / 2.5);
}

FlowEdgeItem::FlowEdgeItem(const FlowEdge &edge) : mEdge(edge)
{
    setToolTip(edge.tooltip);
}

QPolygonF FlowEdgeItem::arrowhead() const
{
    if (!mEdge.arrowhead || mEdge.path.isEmpty())
        return {};
    const QPointF tip = mEdge.path.currentPosition();
    const qreal angle = qDegreesToRadians(mEdge.path.angleAtPercent(1));
    // Angles count counter-clockwise with y pointing down: the line runs along (cos, -sin).
    const QPointF along(std::cos(angle), -std::sin(angle));
    const QPointF across(-along.y(), along.x());
    const QPointF base = tip - along * ArrowLength;
    return QPolygonF{tip, base + across * (ArrowLength / 2.2), base - across * (ArrowLength / 2.2)};
}

QRectF FlowEdgeItem::labelRect() const
{
    if (mEdge.label.isEmpty())
        return {};
    const qreal left = mEdge.labelAt.x() - (mEdge.labelAlignedRight ? mEdge.labelWidth : 0);
    return QRectF(left - 3, mEdge.labelAt.y() - 14, mEdge.labelWidth + 6, 19);
}

QRectF FlowEdgeItem::boundingRect() const
{
    return mEdge.path.boundingRect()
        .united(arrowhead().boundingRect())
        .united(labelRect())
        .adjusted(-3, -3, 3, 3);
}

QPainterPath FlowEdgeItem::shape() const
{
    QPainterPathStroker stroker;
    stroker.setWidth(8);
    QPainterPath shape = stroker.createStroke(mEdge.path);
    shape.addPolygon(arrowhead());
    if (!mEdge.label.isEmpty())
        shape.addRect(labelRect());
    return shape;
}

void FlowEdgeItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->setRenderHint(QPainter::Antialiasing);
    QColor color(0x55, 0x5b, 0x66);
    qreal width = 1.4;
    Qt::PenStyle style = Qt::SolidLine;
    switch (mEdge.look) {
    case FlowEdge::Look::Forward:
        color = QColor(0x1f, 0x6f, 0xb2);
        break;
    case FlowEdge::Look::Back:
        color = QColor(0x7b, 0x4f, 0xb0);
        break;
    case FlowEdge::Look::Stays:
        color = QColor(0x8a, 0x8f, 0x98);
        style = Qt::DashLine;
        break;
    case FlowEdge::Look::Fault:
        color = ErrorColor;
        break;
    default:
        break;
    }
    if (mEdge.mark != FlowMark::None) {
        color = markColor(mEdge.mark);
        width = 2.4;
    }
    painter->setPen(QPen(color, width, style, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(mEdge.path);
    painter->setPen(Qt::NoPen);
    painter->setBrush(color);
    painter->drawPolygon(arrowhead());
    if (!mEdge.label.isEmpty()) {
        QFont font = sceneFont(this);
        font.setPointSizeF(8.5);
        painter->setFont(font);
        paintLabel(painter, mEdge, mEdge.mark == FlowMark::None ? TextColor : color);
    }
}

} // namespace kq
