#pragma once

#include <QFont>
#include <QPixmap>
#include <QString>

class QFrame;
class QPushButton;
class QWidget;

namespace kq::mainwindow {

// A picture of the main window's artwork (":/kq/editor/mainwindow/<fileName>").
QPixmap art(const QString &fileName);

// The font of the list and the text boxes: Courier New, or the nearest fixed-pitch font.
QFont fixedPitchFont();

// A small push button that shows only a picture.
QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent);

// A framed area of the window with its own background.
QFrame *panel(const QString &name, QWidget *parent);

// Record text keeps line breaks as CR LF; the text box shows them as plain line breaks.
QString toRecordText(const QString &boxText);
QString toBoxText(const QString &recordText);

} // namespace kq::mainwindow
