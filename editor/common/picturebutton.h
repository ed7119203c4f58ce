#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

class QBoxLayout;
class QPushButton;
class QWidget;

namespace kq {

// A small push button that shows only a picture of the editor's artwork. It is never a default
// button: Enter in a list of a dialog must not press it.
QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent);

// A button that shows only a picture is named by its tooltip, for assistive technology too.
void describePictureButton(QWidget *button, const QString &text, const QKeySequence &key = {});

// A tooltip that names the key doing the same, when there is one: "Save the project (Ctrl+S)".
QString toolTipWithKey(const QString &text, const QKeySequence &key);

// A row of buttons in a pane `width` wide puts them one above the other when they do not fit
// side by side with `gap` pixels besides them, so that their captions stay whole.
void stackButtonsWhenNarrow(QBoxLayout *row, const QList<QWidget *> &buttons, int width, int gap);

} // namespace kq
