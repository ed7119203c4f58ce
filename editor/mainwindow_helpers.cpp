#include "mainwindow_helpers.h"

#include <QFrame>

namespace kq::mainwindow {

QFrame *panel(const QString &name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    frame->setMouseTracking(true);
    return frame;
}

} // namespace kq::mainwindow
