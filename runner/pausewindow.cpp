#include "pausewindow.h"

#include <QTimer>

namespace kq {

PauseWindow::PauseWindow(const DialogRecord &record, qint16 projectStyle, qint16 previousResult)
    : StepWindow(QStringLiteral("nthg"), projectStyle, previousResult,
                 Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                     Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint)
{
    setFixedSize(6, 6);
    // The pause is modal in Qt's sense but never reaches the screen, with or without a compositor.
    setAttribute(Qt::WA_DontShowOnScreen);
    setWindowOpacity(0.0);

    mWait = addTimer(QStringLiteral("wait"), record.time, 1000);
    connect(mWait, &QTimer::timeout, this, &PauseWindow::tick);
}

qint16 PauseWindow::play()
{
    return playTimed(1);
}

void PauseWindow::tick()
{
    mWait->stop();
    finish(1);
}

} // namespace kq
