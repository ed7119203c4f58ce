#include "raiserequests.h"

#include "testrun.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <unistd.h>

namespace kq {

RaiseRequests::RaiseRequests(int descriptor, QObject *parent)
    : QObject(parent), mDescriptor(descriptor),
      mNotifier(new QSocketNotifier(descriptor, QSocketNotifier::Read, this))
{
    connect(mNotifier, &QSocketNotifier::activated, this, &RaiseRequests::readAvailable);
}

bool RaiseRequests::isListening() const
{
    return mNotifier->isEnabled();
}

void RaiseRequests::readAvailable()
{
    char buffer[256];
    const ssize_t count = ::read(mDescriptor, buffer, sizeof buffer);
    if (count <= 0) {
        // End of input or a broken pipe: no more requests can come.
        mNotifier->setEnabled(false);
        return;
    }
    mPending.append(buffer, count);
    qsizetype end;
    while ((end = mPending.indexOf('\n')) >= 0) {
        const QByteArray line = mPending.left(end + 1);
        mPending.remove(0, end + 1);
        if (line == RaiseRequest)
            emit raiseRequested();
    }
    // A line never ends: keep only what a request could still become.
    if (mPending.size() > qsizetype(sizeof RaiseRequest))
        mPending.clear();
}

void raiseVisibleWindows()
{
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        window->raise();
        window->activateWindow();
    }
}

} // namespace kq
