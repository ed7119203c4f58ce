#include "mainwindow_helpers.h"

#include "editorhelpers.h"

#include <QFrame>
#include <QPushButton>

namespace kq::mainwindow {

QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(editor::artwork(QStringLiteral("mainwindow/") + picture));
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
