#include "pausewindow.h"

#include <QTimer>

namespace kq {

PauseWindow::PauseWindow(const DialogRecord &record, qint16, qint16 previousResult)
    : QDialog(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowTransparentForInput | Qt::X11BypassWindowManagerHint),
      mResult(previousResult)
{
    setObjectName(QStringLiteral("nthg"));
    setFixedSize(6, 6);
    // The pause is modal in Qt's sense but never reaches the screen, with or without a compositor.
    setAttribute(Qt::WA_DontShowOnScreen);
    setWindowOpacity(0.0);

    // Formed in 32 bits so that every 16-bit time plays; a negative one counts as 0.
    mWait = new QTimer(this);
    mWait->setObjectName(QStringLiteral("wait"));
    mWait->setTimerType(Qt::PreciseTimer);
    mWait->setInterval(qMax<int>(record.time, 0) * 1000);
    connect(mWait, &QTimer::timeout, this, &PauseWindow::tick);
}

int PauseWindow::interval() const
{
    return mWait->interval();
}

qint16 PauseWindow::play()
{
    if (interval() == 0)
        return 1;
    mWait->start();
    exec();
    return mResult;
}

void PauseWindow::tick()
{
    mResult = 1;
    mWait->stop();
    done(mResult);
}

} // namespace kq
