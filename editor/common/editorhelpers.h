#pragma once

#include <QFont>
#include <QIcon>
#include <QKeySequence>
#include <QPixmap>
#include <QString>

class QPushButton;
class QWidget;

// Small pieces that more than one window of the editor uses.
namespace kq {
class UiServices;
}

namespace kq::editor {

// The font of the editor's lists and text boxes: "Courier New", or the system's fixed-pitch
// font where it is missing.
QFont fixedPitchFont();

// A picture of the editor's artwork by its path below ":/kq/editor/", such as "splash.png" or
// "mainwindow/new.png"; null when missing.
QPixmap artwork(const QString &path);

// The application icon of the desktop entry, in its 48 and 256 pixel pictures, for the windows'
// title bars and task switchers.
QIcon applicationIcon();

// A small push button that shows only a picture of the artwork. It is never a default button:
// Enter in a list of a dialog must not press it.
QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent);

// The whole window's alpha, 0 transparent to 255 opaque, as the fading windows step it. The
// change reaches the window system at once, so a compositor shows every step of a fade.
void setWindowAlpha(QWidget *window, int alpha);

// Asks the X11 window manager to bring the windows of another process of ours to the front, as
// a task bar does on a click (window managers refuse such a request from the process itself while
// the user works in another window). Does nothing on other platforms.
void activateWindowsOf(qint64 pid);

// A tooltip that names the key doing the same, when there is one: "Save the project (Ctrl+S)".
QString toolTipWithKey(const QString &text, const QKeySequence &key);

// A button that shows only a picture is named by its tooltip, for assistive technology too.
void describePictureButton(QWidget *button, const QString &text, const QKeySequence &key = {});

// Opens "readme.txt" of the program folder with the desktop's viewer; nothing when it is missing.
void openReadme(UiServices &ui);

// The warning of a command that failed, "%0020" as its text and its title, with the reason the
// operation gave as the detail text.
void warnFailed(UiServices &ui, QWidget *parent, const QString &reason = {});

// "Undo (typing)": an undo or redo entry by its language id, with what it would undo.
QString undoEntryText(const QString &id, const QString &commandText);

} // namespace kq::editor
