#pragma once

class QWidget;

namespace kq {

// Replaces the caption of every label, push button, option button, menu entry (QAction) and
// KXButton of the window by languageText of it, in the window's object order. Empty captions and
// other kinds of control are left alone; windows the window owns are not entered. A menu entry
// whose text becomes "-" is a separator.
void localizeControls(QWidget *window);

} // namespace kq
