#include "fieldbox.h"

#include "editorlook.h"

#include <QKeyEvent>

namespace kq {

bool isHistoryKey(const QKeyEvent *key)
{
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           (key->modifiers() == Qt::ControlModifier && key->key() == Qt::Key_Y);
}

FieldBox::FieldBox(const QString &name, int maxLength, QWidget *parent) : QLineEdit(parent)
{
    setObjectName(name);
    setMaxLength(maxLength);
    setFont(EditorLook::fixedPitchFont());
}

bool FieldBox::event(QEvent *event)
{
    // Not taken as the box's own shortcut, the key reaches the window's undo and redo.
    if (event->type() == QEvent::ShortcutOverride && isHistoryKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QLineEdit::event(event);
}

} // namespace kq
