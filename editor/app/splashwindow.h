#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QTimer;

namespace kq {

// The editor's first window: a borderless picture that fades in, stays, fades out and then
// hands over to the main window through the callback given to it. A click skips the rest.
class SplashWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SplashWindow(std::function<void()> showMainWindow, QWidget *parent = nullptr);

    // One step of the timer `time`: phase 0 fades in, phase 1 fades out, phase 2 finishes.
    void tick();

    int phase() const { return mPhase; }
    int opacity() const { return mOpacity; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void finish();

    QLabel *mPct;
    QTimer *mTime;
    std::function<void()> mShowMainWindow;
    int mPhase = 0;
    qint16 mOpacity = 0;
    bool mFinished = false;
};

} // namespace kq
