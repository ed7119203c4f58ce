#include "splashwindow.h"

#include "editorlook.h"
#include "productinfo.h"
#include "windowsystem.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace kq {

SplashWindow::SplashWindow(std::function<void()> showMainWindow, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), mPct(new QLabel(this)),
      mTime(new QTimer(this)), mShowMainWindow(std::move(showMainWindow))
{
    setObjectName(QStringLiteral("splash"));
    setWindowTitle(ProductTitle);
    mPct->setObjectName(QStringLiteral("pct"));
    mPct->setPixmap(EditorLook::artwork(QStringLiteral("splash.png")));
    mPct->setGeometry(0, 0, 569, 198);
    setFixedSize(mPct->size());
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Fully transparent until the first fade-in step shows the window.
    WindowSystem::setWindowAlpha(this, 0);
    mTime->setObjectName(QStringLiteral("time"));
    mTime->setInterval(1000);
    connect(mTime, &QTimer::timeout, this, &SplashWindow::tick);
    mTime->start();
}

void SplashWindow::tick()
{
    if (mFinished)
        return;
    switch (mPhase) {
    case 0:
        mTime->setInterval(10);
        mOpacity += 6;
        if (mOpacity < 256) {
            // Shown first, so the flush of the new alpha sends the window's mapping with it.
            show();
            WindowSystem::setWindowAlpha(this, mOpacity);
        } else {
            // The window stays at the last opacity shown, 252, for the pause.
            mPhase = 1;
            mTime->setInterval(2000);
            mOpacity = 256;
        }
        break;
    case 1:
        mTime->setInterval(10);
        mOpacity -= 6;
        if (mOpacity > 0) {
            WindowSystem::setWindowAlpha(this, mOpacity);
        } else {
            mPhase = 2;
            mTime->setInterval(2000);
        }
        break;
    default:
        finish();
        close();
        break;
    }
}

void SplashWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    finish();
    close();
}

// However the splash goes away, the main window must appear, or the editor would end unseen.
void SplashWindow::closeEvent(QCloseEvent *event)
{
    finish();
    QWidget::closeEvent(event);
}

void SplashWindow::finish()
{
    if (mFinished)
        return;
    mFinished = true;
    mPhase = 2;
    mTime->stop();
    if (mShowMainWindow)
        mShowMainWindow();
}

} // namespace kq
