#pragma once

#include <QtGlobal>

class QWidget;

// Requests to the window system that Qt does not make itself: on X11 they go straight to the
// X connection; elsewhere they do what Qt can.
namespace kq::WindowSystem {

// The whole window's alpha, 0 transparent to 255 opaque, as the fading windows step it. The
// change reaches the window system at once, so a compositor shows every step of a fade.
void setWindowAlpha(QWidget *window, int alpha);

// Asks the X11 window manager to bring the windows of another process of ours to the front, as
// a task bar does on a click (window managers refuse such a request from the process itself while
// the user works in another window). Does nothing on other platforms.
void activateWindowsOf(qint64 pid);

} // namespace kq::WindowSystem
