#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace kq {

// Every file of the product stores text single-byte in code page 1251 (Cyrillic); every byte
// is one character and back.
// A character without a 1251 byte is written as "?".
QByteArray toCodePage(QStringView text);
// The same into `out`, which has room for text.size() bytes; returns the bytes written.
qsizetype writeCodePage(QStringView text, char *out);
QString fromCodePage(QByteArrayView bytes);

// The text as a file holds it, every character the code page lacks made "?"; and how many
// characters of the text become "?" (a character beyond 16 bits, such as an emoji, is one).
QString storableText(const QString &text);
int unstorableCharacters(const QString &text);

} // namespace kq
