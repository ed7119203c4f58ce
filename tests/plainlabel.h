#pragma once

#include <QLabel>

namespace kq::TestLabels {

// What a label of the same font and wrapping asks for with its text shown as plain text. A label
// that took tags in its text for rich text asks for another size.
inline QSize plainTextSize(const QLabel *label)
{
    QLabel reference;
    reference.setTextFormat(Qt::PlainText);
    reference.setWordWrap(label->wordWrap());
    reference.setFont(label->font());
    reference.setText(label->text());
    return reference.sizeHint();
}

} // namespace kq::TestLabels
