#pragma once

#include <QString>

class QFrame;
class QWidget;

namespace kq::mainwindow {

// A framed area of the window with its own background.
QFrame *panel(const QString &name, QWidget *parent);

} // namespace kq::mainwindow
