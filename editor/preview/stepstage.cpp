#include "stepstage.h"

#include "kxbutton.h"
#include "stepwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGraphicsObject>
#include <QGraphicsProxyWidget>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTitleBar>

namespace kq {

// The title bar over the window: the style's own, with the caption and a close box.
class TitleBarItem : public QGraphicsObject
{
    Q_OBJECT

public:
    TitleBarItem() { setAcceptedMouseButtons(Qt::LeftButton); }

    void setBar(int width, const QString &caption)
    {
        prepareGeometryChange();
        mWidth = width;
        mCaption = caption;
        update();
    }

    static int height() { return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight); }

    QRectF boundingRect() const override { return QRectF(0, 0, mWidth, height()); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        const QStyleOptionTitleBar bar = option();
        QApplication::style()->drawComplexControl(QStyle::CC_TitleBar, &bar, painter);
    }

signals:
    void closeClicked();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override { event->accept(); }

    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override
    {
        const QStyleOptionTitleBar bar = option();
        const QStyle::SubControl hit = QApplication::style()->hitTestComplexControl(
            QStyle::CC_TitleBar, &bar, event->pos().toPoint());
        if (hit == QStyle::SC_TitleBarCloseButton)
            emit closeClicked();
    }

private:
    QStyleOptionTitleBar option() const { return StepStage::titleBarOption(mWidth, mCaption); }

    int mWidth = 0;
    QString mCaption;
};

// The window's proxy on the stage: Tab goes round the window's controls as in a window of its
// own, instead of leaving it for the controls around the stage.
class WindowProxy : public QGraphicsProxyWidget
{
public:
    using QGraphicsProxyWidget::QGraphicsProxyWidget;

protected:
    bool focusNextPrevChild(bool next) override
    {
        QWidget *window = widget();
        QWidget *from = window ? window->focusWidget() : nullptr;
        if (!from)
            return QGraphicsProxyWidget::focusNextPrevChild(next);
        for (QWidget *candidate = step(from, next); candidate && candidate != from;
             candidate = step(candidate, next)) {
            if (window->isAncestorOf(candidate) && candidate->isVisible() &&
                candidate->isEnabled() && (candidate->focusPolicy() & Qt::TabFocus)) {
                candidate->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
                return true;
            }
        }
        return true;
    }

private:
    static QWidget *step(QWidget *widget, bool next)
    {
        return next ? widget->nextInFocusChain() : widget->previousInFocusChain();
    }
};

namespace {

// Room around the window, as on a desktop.
constexpr int Margin = 8;
// The scale where the stage has no room at all (not laid out yet): positive, and small enough
// for any window a step can build.
constexpr double SmallestScale = 0.0001;

} // namespace

StepStage::StepStage(QWidget *parent) : QGraphicsView(parent)
{
    setObjectName(QStringLiteral("preview_stage"));
    auto *scene = new QGraphicsScene(this);
    setScene(scene);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAlignment(Qt::AlignCenter);
    setFrameShape(QFrame::NoFrame);
    // A change of scale moves everything: drawn anew as a whole, no edge of the old is left.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    mTitleBar = new TitleBarItem;
    scene->addItem(mTitleBar);
    connect(mTitleBar, &TitleBarItem::closeClicked, this, [this] {
        if (mPlayable)
            emit closeBoxClicked();
    });
    setPlayable(false);
}

StepStage::~StepStage()
{
    // The proxy owns its widget; the stage deletes the window itself.
    showWindow(nullptr);
}

void StepStage::showWindow(std::unique_ptr<StepWindow> window)
{
    if (mProxy) {
        mProxy->setWidget(nullptr);
        delete mProxy;
        mProxy = nullptr;
    }
    delete mWindow.data();
    mWindow = window.release();
    mTitleBar->setVisible(mWindow);
    if (!mWindow) {
        scene()->setSceneRect(QRectF());
        return;
    }
    mProxy = new WindowProxy;
    mProxy->setWidget(mWindow);
    scene()->addItem(mProxy);
    mProxy->setPos(0, TitleBarItem::height());
    // The proxy keeps the window off the screen; shown, it draws and takes part in focus.
    mWindow->show();
    // The title as the window manager would show it: Qt's title holds the caption's "[*]" marks
    // doubled, which a title bar shows once.
    mTitleBar->setBar(mWindow->width(), mWindow->shownTitle());
    connect(mWindow, &QWidget::windowTitleChanged, mTitleBar,
            [this] { mTitleBar->setBar(mWindow->width(), mWindow->shownTitle()); });
    fitWindow();
}

QStyleOptionTitleBar StepStage::titleBarOption(int width, const QString &title)
{
    QStyleOptionTitleBar bar;
    bar.rect = QRect(0, 0, width, TitleBarItem::height());
    bar.palette = QApplication::palette();
    bar.state = QStyle::State_Active | QStyle::State_Enabled;
    bar.titleBarState = Qt::WindowActive;
    bar.titleBarFlags =
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    bar.subControls = QStyle::SC_TitleBarLabel | QStyle::SC_TitleBarCloseButton;
    bar.text = title;
    return bar;
}

QSize StepStage::outerSize() const
{
    if (!mWindow)
        return {};
    return {mWindow->width(), mWindow->height() + TitleBarItem::height()};
}

QRect StepStage::clientRect() const
{
    if (!mProxy)
        return {};
    const QRectF shown = transform().mapRect(mProxy->sceneBoundingRect());
    return {mapFromScene(mProxy->scenePos()), shown.size().toSize()};
}

void StepStage::setPlayable(bool playable)
{
    mPlayable = playable;
    setInteractive(playable);
    setFocusPolicy(playable ? Qt::StrongFocus : Qt::NoFocus);
    if (playable && mProxy) {
        setFocus(Qt::OtherFocusReason);
        scene()->setFocusItem(mProxy, Qt::TabFocusReason);
    }
}

bool StepStage::event(QEvent *event)
{
    // In a window of its own, a step window's access keys are the only ones there are. On the
    // stage the editor's own (the labels of the properties panel) would share some, and of two
    // alike Qt presses neither: while the window plays, its keys come first.
    if (event->type() == QEvent::ShortcutOverride &&
        accessKeyButton(*static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QGraphicsView::event(event);
}

void StepStage::keyPressEvent(QKeyEvent *event)
{
    QWidget *button = accessKeyButton(*event);
    if (!button) {
        QGraphicsView::keyPressEvent(event);
        return;
    }
    event->accept();
    // What the button's own access key does: a system button shows its click, and a key held
    // down does not click it again; a skinned one acts on the first press only.
    if (auto *system = qobject_cast<QAbstractButton *>(button)) {
        if (!system->isDown())
            system->animateClick();
    } else if (!event->isAutoRepeat()) {
        static_cast<KXButton *>(button)->click();
    }
}

QWidget *StepStage::accessKeyButton(const QKeyEvent &key) const
{
    if (!mPlayable || !mWindow)
        return nullptr;
    const QKeySequence pressed(key.keyCombination());
    QWidget *found = nullptr;
    for (QWidget *button : mWindow->findChildren<QWidget *>()) {
        QString caption;
        if (const auto *system = qobject_cast<QAbstractButton *>(button))
            caption = system->text();
        else if (const auto *skinned = qobject_cast<KXButton *>(button))
            caption = skinned->caption();
        if (caption.isEmpty() || !button->isVisible() || !button->isEnabled() ||
            QKeySequence::mnemonic(caption) != pressed)
            continue;
        // Two buttons of the window with one key: Qt's rule for keys alike holds, as it does in
        // the runner.
        if (found)
            return nullptr;
        found = button;
    }
    return found;
}

void StepStage::resizeEvent(QResizeEvent *event)
{
    QGraphicsView::resizeEvent(event);
    fitWindow();
}

void StepStage::fitWindow()
{
    const QSize outer = outerSize();
    double scale = 1.0;
    if (!outer.isEmpty()) {
        const QSize room = viewport()->size() - QSize(2 * Margin, 2 * Margin);
        scale = qMin(1.0, qMin(double(room.width()) / outer.width(),
                               double(room.height()) / outer.height()));
        // However small it must be, the whole window is shown, its buttons and title bar too.
        scale = qMax(scale, SmallestScale);
        scene()->setSceneRect(QRectF(QPointF(0, 0), outer));
    }
    resetTransform();
    // Smoothing only where the window is scaled: at its real size it would blend the skinned
    // controls' stretched pictures with their neighbours, which the runner does not.
    setRenderHint(QPainter::SmoothPixmapTransform, scale < 1.0);
    if (scale < 1.0)
        QGraphicsView::scale(scale, scale);
    if (!qFuzzyCompare(scale, mScale)) {
        mScale = scale;
        emit scaleChanged(scale);
    }
}

} // namespace kq

#include "stepstage.moc"
