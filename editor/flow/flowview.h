#pragma once

#include "flowplan.h"

#include <QGraphicsView>
#include <QHash>

#include <optional>

class QGraphicsLineItem;
class QPainter;

namespace kq {

class DialogProject;
class FlowEdgeItem;
class FlowHandleItem;
class FlowNodeItem;

// A picture of the project's flow: one box per step in list order, one arrow per shown button
// or automatic end, end boxes for "Выход" and for leaving the list, and the findings of the
// project check on the boxes and arrows they concern. It does not know the document: the owner
// calls showProject after every change, and only what changed is drawn again, so zoom, scroll
// position and the selected step stay.
class FlowView : public QGraphicsView
{
    Q_OBJECT

public:
    static constexpr qreal MinZoom = 0.1;
    static constexpr qreal MaxZoom = 4.0;

    explicit FlowView(QWidget *parent = nullptr);

    void showProject(const DialogProject &project, const QList<Finding> &findings);

    // Highlights the step's box and scrolls it into view; -1 highlights none. Emits nothing.
    void selectStep(int step);
    int selectedStep() const { return mSelected; }
    // Highlights the boxes of the other selected steps too.
    void showSelection(const QList<int> &steps);
    // Marks the boxes of the steps where the find bar's text is.
    void showFound(const QList<int> &steps);
    const QList<int> &foundSteps() const { return mFound; }

    // The whole picture as a PNG file, or SVG when the path ends in ".svg" (any letter case).
    bool exportPicture(const QString &path, QString *error = nullptr);

    qreal zoom() const;
    // A zoom chosen by the user; the view stops following its width from then on.
    void setZoom(qreal factor);
    void zoomIn();
    void zoomOut();
    // The whole picture in the view, never larger than its own size (Fit, Ctrl+0).
    void fitToView();
    // Shows the whole width of the picture from its top, and keeps doing so as the view is
    // resized, until the user zooms: how a project opens, its end boxes never cut off.
    void showWholeWidth();

    // What is drawn: the plan and the items showing it.
    const FlowPlan &plan() const { return mPlan; }
    FlowNodeItem *stepItem(int step) const;
    // The step whose box, arrow or end box is at the place in the view; -1 for none.
    int stepAt(const QPoint &position) const;
    // The step a context menu opened at `position` is for: the one under the pointer when the
    // button was pressed there, also where taking the focus laid the map out anew since.
    int menuStepAt(const QPoint &position) const;
    QList<FlowEdgeItem *> edgeItems(int step) const;
    // The handles on the ways out that have a script, of the current step and of the step under
    // the pointer, in the order of their exits.
    const QList<FlowHandleItem *> &handleItems() const { return mHandles; }
    void setHandleToolTip(const QString &tip);

signals:
    // The user clicked a step's box, one of its arrows or end boxes, or moved with the arrow keys.
    void stepActivated(int step);
    // The user double-clicked a step's box, to edit the step.
    void stepOpened(int step);
    // The user drew a way out's arrow from its handle to another place: to a step's box
    // (`leads` Step), the exit box (Exit), or empty space (Step, with `target` one past the last
    // step: a step to be made there).
    void exitRelinked(int step, kq::StepField field, kq::StepExit::Leads leads, int target);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    // The items of the plan's boxes or arrows: those of the old items that show the same, new
    // ones for the rest. The old items not kept are deleted.
    template <class Shown, class Item>
    QHash<Shown, Item *> keptOrNewItems(const QList<Shown> &plan, QHash<Shown, Item *> &old);
    void updateHighlight();
    void applyZoom(qreal factor);
    void fitWidth();
    void activate(int step);
    void showHandles();
    void hover(int step);
    // Drawing an arrow anew: from the handle pressed to where the mouse is.
    struct LinkDrag
    {
        int step = -1;
        StepField field = StepField::None;
        QPoint pressedAt;
        QGraphicsLineItem *line = nullptr;
        // An exit box to drop on, in the view's corner, where the map shows none.
        FlowNodeItem *exitBox = nullptr;
    };
    void showExitBoxToDropOn();
    bool startLinkDrag(const QPoint &position);
    void endLinkDrag(const QPoint &position);
    // The box at the place in the view, if any.
    std::optional<FlowNode> nodeAt(const QPoint &position) const;
    void cancelLinkDrag();
    // Draws the scene without the highlight onto a painter sized to the picture.
    void render(QPainter *painter, const QRectF &area);

    QGraphicsScene *mScene = nullptr;
    FlowPlan mPlan;
    // Items by what they show: an item whose box or arrow stays the same is kept as it is.
    QHash<FlowNode, FlowNodeItem *> mNodeItems;
    QHash<FlowEdge, FlowEdgeItem *> mEdgeItems;
    QHash<int, FlowNodeItem *> mSteps;
    int mSelected = -1;
    int mHovered = -1;
    QList<int> mSelection;
    QList<int> mFound;
    QList<FlowHandleItem *> mHandles;
    QString mHandleTip;
    std::optional<LinkDrag> mLinkDrag;
    bool mFollowsWidth = true;
    // How often a project was shown: a press that took the focus sees whether that changed it.
    int mProjectsShown = 0;
    // Where the last press laid the map out anew, and the step that was under it.
    std::optional<std::pair<QPoint, int>> mRelaidPress;
};

} // namespace kq
