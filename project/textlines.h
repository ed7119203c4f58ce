#pragma once

#include <QByteArray>
#include <QList>

namespace kq {

// The lines of a text file's content: lines end in CR LF, LF alone or CR alone, and a line end at
// the very end makes no extra empty line. Works on the bytes, since CR and LF are the same bytes
// in code page 1251.
QList<QByteArray> splitTextLines(const QByteArray &bytes);

} // namespace kq
