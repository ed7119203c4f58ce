#include "fieldbox.h"

#include "editorlook.h"

#include <QKeyEvent>
#include <QMimeData>

namespace kq {

bool isHistoryShortcut(const QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
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
    return isHistoryShortcut(event) || QLineEdit::event(event);
}

FieldTextBox::FieldTextBox(const QString &name, int maxLength, QWidget *parent)
    : QPlainTextEdit(parent), mMaxLength(maxLength)
{
    setObjectName(name);
    setFont(EditorLook::fixedPitchFont());
}

bool FieldTextBox::event(QEvent *event)
{
    return isHistoryShortcut(event) || QPlainTextEdit::event(event);
}

void FieldTextBox::insertFromMimeData(const QMimeData *source)
{
    // Qt's own reader takes the first format of the clipboard unchecked and crashes on one that
    // offers none (nobody owns the clipboard). A record holds plain text, no longer than its field:
    // a huge paste is cut before it reaches the box.
    if (source && source->hasText())
        insertPlainText(source->text().left(mMaxLength));
}

} // namespace kq
