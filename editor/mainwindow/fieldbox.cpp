#include "fieldbox.h"

#include "editorlook.h"

namespace kq {

FieldBox::FieldBox(const QString &name, int maxLength, QWidget *parent) : QLineEdit(parent)
{
    setObjectName(name);
    setMaxLength(maxLength);
    setFont(EditorLook::fixedPitchFont());
}

} // namespace kq
