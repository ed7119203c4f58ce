#pragma once

#include <QByteArray>
#include <QString>

namespace kq {

// Every file of the product stores text single-byte in code page 1251 (Cyrillic); every byte
// is one character and back.
// A character without a 1251 byte is written as "?".
QByteArray toCodePage(const QString &text);
QString fromCodePage(const QByteArray &bytes);

} // namespace kq
