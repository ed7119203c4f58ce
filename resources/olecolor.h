#pragma once

#include <QColor>
#include <QPalette>

namespace kq {

// Theme colours are OLE colours: red in the low byte, then green and blue; a value with the top
// bit set names a system colour by the index in its low byte, taken from the given palette.
QColor colorFromOle(qint32 value, const QPalette &palette);
// The same against the application's palette.
QColor colorFromOle(qint32 value);

// The direct OLE value of a colour (alpha dropped).
qint32 oleFromColor(const QColor &color);

} // namespace kq
