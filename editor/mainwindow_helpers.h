#pragma once

#include <QString>

class QFrame;
class QPushButton;
class QWidget;

namespace kq::mainwindow {

// A small push button that shows only a picture.
QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent);

// A framed area of the window with its own background.
QFrame *panel(const QString &name, QWidget *parent);

} // namespace kq::mainwindow
