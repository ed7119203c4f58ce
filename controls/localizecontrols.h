#pragma once

#include "textid.h"

class QObject;
class QWidget;

namespace kq {

// Replaces the caption of every label, push button, option button, menu entry (QAction) and
// KXButton of the window by languageText of it, in the window's object order. Empty captions and
// other kinds of control are left alone; windows the window owns are not entered. A menu entry
// whose text becomes "-" is a separator.
void localizeControls(QWidget *window);

// Gives a label, push button, option button, menu entry or KXButton the resource id of a text as
// its caption, for localizeControls, and remembers the id on the control.
void setCaptionId(QObject *control, TextId id);
// Gives every control of the window that setCaptionId captioned its id back, so that
// localizeControls can localise the window again after a change of language.
void restoreCaptionIds(QWidget *window);

} // namespace kq
