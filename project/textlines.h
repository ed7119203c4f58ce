#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace kq {

// The lines of a text file's content: lines end in CR LF, LF alone or CR alone, and a line end at
// the very end makes no extra empty line. Works on the bytes as well as on the decoded text,
// since CR and LF are the same bytes in code page 1251 and every byte is one character.
QList<QByteArray> splitTextLines(const QByteArray &bytes);
QStringList splitTextLines(const QString &text);

// Records and resource files break lines with CR LF (or CR alone); text boxes want LF.
QString toBoxText(const QString &recordText);
// Back from a text box to a record text, line breaks as CR LF.
QString toRecordText(const QString &boxText);

} // namespace kq
