#pragma once

#include "stepwindow.h"

#include <QGraphicsView>
#include <QPointer>
#include <QStyleOptionTitleBar>

#include <memory>

class QGraphicsProxyWidget;

namespace kq {

class TitleBarItem;

// A runner's step window shown inside the editor: the window itself, not a picture of it, under
// a title bar with its caption and close box as a window manager draws one. The window is shown
// at its real size, or scaled down as a whole when the stage is too small for it. Until it is
// made interactive, the window takes neither clicks nor keys, so its buttons cannot end it.
class StepStage : public QGraphicsView
{
    Q_OBJECT

public:
    explicit StepStage(QWidget *parent = nullptr);
    ~StepStage() override;

    // The stage takes the window; the one shown before is deleted. Null shows nothing.
    void showWindow(std::unique_ptr<StepWindow> window);
    StepWindow *window() const { return mWindow; }

    // The title bar the stage draws over a window of the given width, as the application's
    // style draws a window manager's.
    static QStyleOptionTitleBar titleBarOption(int width, const QString &title);

    // The window with its title bar, at its real size.
    QSize outerSize() const;
    // The scale the window is shown at: 1 at its real size, less when scaled down to fit.
    double scale() const { return mScale; }
    // Where the window's client area is on the viewport, for a look at its pixels.
    QRect clientRect() const;

    // Whether clicks and keys reach the window (while it plays).
    void setPlayable(bool playable);

signals:
    // The close box was clicked while the window plays.
    void closeBoxClicked();
    void scaleChanged(double scale);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitWindow();
    QWidget *accessKeyButton(const QKeyEvent &key) const;

    QPointer<StepWindow> mWindow;
    QGraphicsProxyWidget *mProxy = nullptr;
    TitleBarItem *mTitleBar = nullptr;
    double mScale = 1.0;
    bool mPlayable = false;
};

} // namespace kq
