#include "picturebutton.h"

#include "editorlook.h"

#include <QBoxLayout>
#include <QPushButton>

namespace kq {

QPushButton *pictureButton(const QString &name, const QString &picture, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(EditorLook::artwork(picture));
    button->setIconSize(QSize(16, 16));
    button->setFixedSize(30, 26);
    button->setAutoDefault(false);
    return button;
}

void describePictureButton(QWidget *button, const QString &text, const QKeySequence &key)
{
    button->setToolTip(toolTipWithKey(text, key));
    button->setAccessibleName(text);
}

void stackButtonsWhenNarrow(QBoxLayout *row, const QList<QWidget *> &buttons, int width, int gap)
{
    int sideBySide = gap;
    for (const QWidget *button : buttons)
        sideBySide += button->sizeHint().width();
    row->setDirection(width < sideBySide ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
}

QString toolTipWithKey(const QString &text, const QKeySequence &key)
{
    if (key.isEmpty())
        return text;
    return text + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) + u')';
}

} // namespace kq
