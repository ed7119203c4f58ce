#include "flowview.h"

#include "flowitems.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QSaveFile>
#include <QScrollBar>
#include <QStyle>
#include <QSvgGenerator>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace kq {

namespace {

constexpr qreal ZoomStep = 1.2;
// Room left around the picture when it is fitted to the view.
constexpr qreal FitMargin = 8;

} // namespace

FlowView::FlowView(QWidget *parent) : QGraphicsView(parent), mScene(new QGraphicsScene(this))
{
    setObjectName(QStringLiteral("flow_view"));
    setScene(mScene);
    mScene->setFont(font());
    setBackgroundBrush(QColor(0xfa, 0xfb, 0xfc));
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // A press takes the focus itself (mousePressEvent), once it knows what it pressed on.
    setFocusPolicy(Qt::TabFocus);
    // The handles of the step under the pointer show without a button held.
    viewport()->setMouseTracking(true);
}

void FlowView::showProject(const DialogProject &project, const QList<Finding> &findings)
{
    // An arrow being drawn names its step by number: after a change (an undo, a delete by key)
    // that number may be another step's, so the drag ends rather than relink that one.
    cancelLinkDrag();
    ++mProjectsShown;
    mPlan = FlowPlan::make(project, findings);
    mSteps.clear();
    mNodeItems = keptOrNewItems(mPlan.nodes, mNodeItems);
    for (FlowNodeItem *item : std::as_const(mNodeItems)) {
        if (item->node().kind == FlowNode::Kind::Step)
            mSteps.insert(item->node().step, item);
    }
    mEdgeItems = keptOrNewItems(mPlan.edges, mEdgeItems);
    mScene->setSceneRect(mPlan.bounds);
    updateHighlight();
    if (mFollowsWidth)
        fitWidth();
}

template <class Shown, class Item>
QHash<Shown, Item *> FlowView::keptOrNewItems(const QList<Shown> &plan, QHash<Shown, Item *> &old)
{
    QHash<Shown, Item *> items;
    items.reserve(plan.size());
    for (const Shown &shown : plan) {
        Item *item = old.take(shown);
        if (!item) {
            item = new Item(shown);
            mScene->addItem(item);
        }
        items.insert(shown, item);
    }
    qDeleteAll(old);
    return items;
}

void FlowView::selectStep(int step)
{
    mSelected = step;
    updateHighlight();
    if (FlowNodeItem *item = stepItem(step))
        ensureVisible(item, 40, 60);
}

void FlowView::showSelection(const QList<int> &steps)
{
    mSelection = steps;
    updateHighlight();
}

void FlowView::showFound(const QList<int> &steps)
{
    mFound = steps;
    updateHighlight();
}

void FlowView::updateHighlight()
{
    for (auto it = mSteps.cbegin(); it != mSteps.cend(); ++it) {
        it.value()->setFound(mFound.contains(it.key()));
        it.value()->setCurrent(it.key() == mSelected);
        it.value()->setInSelection(mSelected >= 0 && mSelection.contains(it.key()));
    }
    showHandles();
}

void FlowView::showHandles()
{
    qDeleteAll(mHandles);
    mHandles.clear();
    QList<FlowEdgeItem *> edges = edgeItems(mSelected);
    if (mHovered != mSelected)
        edges += edgeItems(mHovered);
    for (const FlowEdgeItem *edge : std::as_const(edges)) {
        const FlowEdge &shown = edge->edge();
        if (StepFlow::scriptOf(shown.field) == 0 || shown.path.isEmpty())
            continue;
        auto *handle = new FlowHandleItem(shown.step, shown.field, shown.path.pointAtPercent(0));
        handle->setToolTip(mHandleTip);
        mScene->addItem(handle);
        mHandles << handle;
    }
}

void FlowView::hover(int step)
{
    if (step == mHovered)
        return;
    mHovered = step;
    showHandles();
}

void FlowView::setHandleToolTip(const QString &tip)
{
    mHandleTip = tip;
    for (FlowHandleItem *handle : std::as_const(mHandles))
        handle->setToolTip(tip);
}

FlowNodeItem *FlowView::stepItem(int step) const
{
    return mSteps.value(step);
}

QList<FlowEdgeItem *> FlowView::edgeItems(int step) const
{
    QList<FlowEdgeItem *> edges;
    for (FlowEdgeItem *edge : mEdgeItems) {
        if (edge->edge().step == step)
            edges << edge;
    }
    // In the order the plan lists them, which is the order of the step's exits.
    std::sort(edges.begin(), edges.end(), [](const FlowEdgeItem *a, const FlowEdgeItem *b) {
        return int(a->edge().field) < int(b->edge().field);
    });
    return edges;
}

qreal FlowView::zoom() const
{
    return transform().m11();
}

void FlowView::setZoom(qreal factor)
{
    mFollowsWidth = false;
    applyZoom(factor);
}

void FlowView::applyZoom(qreal factor)
{
    const qreal bounded = std::clamp(factor, MinZoom, MaxZoom);
    setTransform(QTransform::fromScale(bounded, bounded));
}

void FlowView::fitToView()
{
    mFollowsWidth = false;
    // The room without scroll bars: a picture that fits needs none.
    const QSizeF picture = mPlan.bounds.size() + QSizeF(2 * FitMargin, 2 * FitMargin);
    const QSize room = maximumViewportSize();
    applyZoom(std::min({1.0, room.width() / picture.width(), room.height() / picture.height()}));
    centerOn(mPlan.bounds.center());
}

void FlowView::showWholeWidth()
{
    mFollowsWidth = true;
    fitWidth();
}

void FlowView::fitWidth()
{
    const qreal picture = mPlan.bounds.width() + 2 * FitMargin;
    const QSize room = maximumViewportSize();
    qreal factor = std::min(1.0, room.width() / picture);
    // A column taller than the view brings a vertical scroll bar, which takes its width.
    if (mPlan.bounds.height() * factor > room.height()) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        factor = std::min(1.0, (room.width() - bar) / picture);
    }
    applyZoom(factor);
    horizontalScrollBar()->setValue(horizontalScrollBar()->minimum());
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
}

void FlowView::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    if (mFollowsWidth)
        fitWidth();
}

void FlowView::zoomIn()
{
    setZoom(zoom() * ZoomStep);
}

void FlowView::zoomOut()
{
    setZoom(zoom() / ZoomStep);
}

void FlowView::wheelEvent(QWheelEvent *event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    // One notch of a wheel is 120; touch pads send smaller steps.
    const qreal notches = event->angleDelta().y() / 120.0;
    setZoom(zoom() * std::pow(ZoomStep, notches));
    event->accept();
}

void FlowView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomIn();
        return;
    case Qt::Key_Minus:
        zoomOut();
        return;
    case Qt::Key_0:
        if (event->modifiers() & Qt::ControlModifier)
            fitToView();
        else
            setZoom(1);
        return;
    case Qt::Key_Escape:
        if (mLinkDrag) {
            cancelLinkDrag();
            return;
        }
        QGraphicsView::keyPressEvent(event);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int step = mSelected + (event->key() == Qt::Key_Up ? -1 : 1);
        if (stepItem(step))
            activate(step);
        return;
    }
    default:
        QGraphicsView::keyPressEvent(event);
    }
}

void FlowView::mousePressEvent(QMouseEvent *event)
{
    // Leaving a panel box writes what was typed there, and a script written may lay the map out
    // anew under the pointer: the press then chooses the step the user saw there, and no more.
    const int pressed = stepAt(event->position().toPoint());
    const int shownBefore = mProjectsShown;
    mRelaidPress.reset();
    setFocus(Qt::MouseFocusReason);
    if (mProjectsShown != shownBefore) {
        mRelaidPress = std::pair(event->position().toPoint(), pressed);
        if (event->button() == Qt::LeftButton && pressed >= 0)
            activate(pressed);
        event->accept();
        return;
    }
    // A handle is not grabbed to scroll the picture.
    if (event->button() == Qt::LeftButton && startLinkDrag(event->position().toPoint())) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        const int step = stepAt(event->position().toPoint());
        if (step >= 0)
            activate(step);
    }
    QGraphicsView::mousePressEvent(event);
}

void FlowView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // Only a step's own box opens it; an arrow or an end box is no place to edit.
    for (QGraphicsItem *item : items(event->position().toPoint())) {
        if (item->type() != FlowNodeItem::Type)
            continue;
        const int step = static_cast<FlowNodeItem *>(item)->node().step;
        if (step >= 0 && static_cast<FlowNodeItem *>(item)->node().kind == FlowNode::Kind::Step) {
            activate(step);
            emit stepOpened(step);
            event->accept();
            return;
        }
    }
    QGraphicsView::mouseDoubleClickEvent(event);
}

bool FlowView::startLinkDrag(const QPoint &position)
{
    for (QGraphicsItem *item : items(position)) {
        if (item->type() != FlowHandleItem::Type)
            continue;
        const auto *handle = static_cast<FlowHandleItem *>(item);
        mLinkDrag = LinkDrag{handle->step(), handle->field(), position, nullptr};
        return true;
    }
    return false;
}

void FlowView::mouseMoveEvent(QMouseEvent *event)
{
    if (!mLinkDrag) {
        // The step under the pointer shows its handles too, so that any arrow can be drawn anew.
        if (event->buttons() == Qt::NoButton)
            hover(stepAt(event->position().toPoint()));
        QGraphicsView::mouseMoveEvent(event);
        return;
    }
    const QPoint position = event->position().toPoint();
    if (!mLinkDrag->line) {
        // A press that hardly moves is a click, not a new arrow.
        if ((position - mLinkDrag->pressedAt).manhattanLength() < QApplication::startDragDistance())
            return;
        mLinkDrag->line =
            mScene->addLine(QLineF(), QPen(QColor(0x1e, 0x63, 0xc8), 2, Qt::DashLine));
        mLinkDrag->line->setZValue(20);
        showExitBoxToDropOn();
    }
    mLinkDrag->line->setLine(QLineF(mapToScene(mLinkDrag->pressedAt), mapToScene(position)));
    event->accept();
}

void FlowView::mouseReleaseEvent(QMouseEvent *event)
{
    if (mLinkDrag && event->button() == Qt::LeftButton) {
        endLinkDrag(event->position().toPoint());
        event->accept();
        return;
    }
    QGraphicsView::mouseReleaseEvent(event);
}

void FlowView::leaveEvent(QEvent *event)
{
    if (!mLinkDrag)
        hover(-1);
    QGraphicsView::leaveEvent(event);
}

void FlowView::endLinkDrag(const QPoint &position)
{
    // What is under the pointer is read while the drag's own items are still on the map.
    const std::optional<FlowNode> dropped = nodeAt(position);
    const bool drawn = mLinkDrag->line != nullptr;
    const LinkDrag drag = *mLinkDrag;
    cancelLinkDrag();
    if (!drawn)
        return;
    if (!dropped)
        emit exitRelinked(drag.step, drag.field, StepExit::Leads::Step, int(mSteps.size()));
    else if (dropped->kind == FlowNode::Kind::Step)
        emit exitRelinked(drag.step, drag.field, StepExit::Leads::Step, dropped->step);
    else if (dropped->kind == FlowNode::Kind::Exit)
        emit exitRelinked(drag.step, drag.field, StepExit::Leads::Exit, -1);
    // The start and the boxes for leaving the list or a fault are nowhere to lead to.
}

std::optional<FlowNode> FlowView::nodeAt(const QPoint &position) const
{
    for (QGraphicsItem *item : items(position)) {
        if (item->type() == FlowNodeItem::Type)
            return static_cast<FlowNodeItem *>(item)->node();
    }
    return std::nullopt;
}

void FlowView::showExitBoxToDropOn()
{
    const bool mapHasOne =
        std::any_of(mNodeItems.cbegin(), mNodeItems.cend(), [](const FlowNodeItem *item) {
            return item->node().kind == FlowNode::Kind::Exit;
        });
    if (mapHasOne)
        return;
    const QPointF corner = mapToScene(QPoint(8, 8));
    mLinkDrag->exitBox = new FlowNodeItem(FlowPlan::exitBoxAt(corner, mLinkDrag->step));
    mLinkDrag->exitBox->setZValue(15);
    mScene->addItem(mLinkDrag->exitBox);
}

void FlowView::cancelLinkDrag()
{
    if (mLinkDrag) {
        delete mLinkDrag->line;
        delete mLinkDrag->exitBox;
    }
    mLinkDrag.reset();
}

int FlowView::stepAt(const QPoint &position) const
{
    // Boxes lie above arrows; an end box or an arrow belongs to the step it leaves.
    for (QGraphicsItem *item : items(position)) {
        if (item->type() == FlowNodeItem::Type)
            return static_cast<FlowNodeItem *>(item)->node().step;
        if (item->type() == FlowEdgeItem::Type)
            return static_cast<FlowEdgeItem *>(item)->edge().step;
    }
    return -1;
}

int FlowView::menuStepAt(const QPoint &position) const
{
    return mRelaidPress && mRelaidPress->first == position ? mRelaidPress->second
                                                           : stepAt(position);
}

void FlowView::activate(int step)
{
    selectStep(step);
    emit stepActivated(step);
}

void FlowView::render(QPainter *painter, const QRectF &area)
{
    // The picture shows the flow, not what the editor marks on it.
    const int selected = std::exchange(mSelected, -1);
    const int hovered = std::exchange(mHovered, -1);
    const QList<int> found = std::exchange(mFound, {});
    updateHighlight();
    painter->setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    mScene->render(painter, QRectF(QPointF(0, 0), area.size()), area);
    mSelected = selected;
    mHovered = hovered;
    mFound = found;
    updateHighlight();
}

bool FlowView::exportPicture(const QString &path, QString *error)
{
    const QRectF area = mPlan.bounds;
    const QSize size = area.size().toSize();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QFileInfo(path).suffix().compare(QStringLiteral("svg"), Qt::CaseInsensitive) == 0) {
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(size);
        generator.setViewBox(QRect(QPoint(0, 0), size));
        // The boxes' texts are sized in points: at the PNG image's resolution they take as many
        // pixels as there, where the generator's own 72 dots an inch would draw them smaller.
        generator.setResolution(QImage(1, 1, QImage::Format_ARGB32_Premultiplied).logicalDpiY());
        QPainter painter(&generator);
        painter.fillRect(QRectF(QPointF(0, 0), area.size()), Qt::white);
        render(&painter, area);
    } else {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        render(&painter, area);
        painter.end();
        if (!image.save(&buffer, "PNG")) {
            if (error)
                *error = QStringLiteral("the picture could not be encoded as PNG");
            return false;
        }
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace kq
