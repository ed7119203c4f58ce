#pragma once

#include <QPixmap>
#include <QString>

class QFrame;
class QPushButton;
class QWidget;

namespace kq::mainwindow {

// A picture of the main window's artwork (":/kq/editor/mainwindow/<fileName>").
QPixmap art(const QString &fileName);

// A small push button that shows only a picture.
QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent);

// A framed area of the window with its own background.
QFrame *panel(const QString &name, QWidget *parent);

} // namespace kq::mainwindow
