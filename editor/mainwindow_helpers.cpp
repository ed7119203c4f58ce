#include "mainwindow_helpers.h"

#include <QFrame>
#include <QPushButton>

// The pictures live in a static library, so nothing would pull them in without this call.
static void initMainWindowResources()
{
    Q_INIT_RESOURCE(mainwindow);
}

namespace kq::mainwindow {

QPixmap art(const QString &fileName)
{
    static const bool initialised = [] {
        initMainWindowResources();
        return true;
    }();
    Q_UNUSED(initialised);
    return QPixmap(QStringLiteral(":/kq/editor/mainwindow/") + fileName);
}

QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(art(picture));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(30, 26);
    return button;
}

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
