#pragma once

#include "flowplan.h"

#include <QGraphicsItem>

namespace kq {

// A box of the flow picture, drawn from its plan entry.
class FlowNodeItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 1 };

    explicit FlowNodeItem(const FlowNode &node);

    const FlowNode &node() const { return mNode; }
    // The step selected in the list is drawn highlighted.
    void setCurrent(bool current);
    bool isCurrent() const { return mCurrent; }
    // The other selected steps are drawn lightly highlighted.
    void setInSelection(bool selected);
    bool isInSelection() const { return mInSelection; }
    // Steps where the find bar's text is are marked in their number column.
    void setFound(bool found);
    bool isFound() const { return mFound; }

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    void paintStep(QPainter *painter) const;
    void paintEnd(QPainter *painter) const;
    void paintBadge(QPainter *painter) const;

    FlowNode mNode;
    bool mCurrent = false;
    bool mInSelection = false;
    bool mFound = false;
};

// The handle where a way out leaves the current step's box: dragging it draws the arrow anew.
class FlowHandleItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 3 };

    FlowHandleItem(int step, StepField field, const QPointF &at);

    int step() const { return mStep; }
    StepField field() const { return mField; }

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    int mStep;
    StepField mField;
};

// An arrow of the flow picture with its label, drawn from its plan entry.
class FlowEdgeItem : public QGraphicsItem
{
public:
    enum { Type = UserType + 2 };

    explicit FlowEdgeItem(const FlowEdge &edge);

    const FlowEdge &edge() const { return mEdge; }

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    QPolygonF arrowhead() const;
    QRectF labelRect() const;

    FlowEdge mEdge;
};

} // namespace kq
