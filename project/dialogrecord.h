#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace kq {

// One dialog step as stored on disk: 628 bytes, six space-padded 1251 text fields and three
// little-endian signed 16-bit numbers. As record 1 of a file it is the project header, whose
// text holds the project style.
struct DialogRecord
{
    static constexpr int Size = 628;
    static constexpr int TextWidth = 512;
    static constexpr int CaptionWidth = 50;
    static constexpr int ButtonWidth = 15; // btn1, btn2, btnscr1 and btnscr2

    enum Type : qint16 { Message = 0, Progress = 1, Pause = 2 };

    QString text;
    QString caption;
    QString btn1;
    QString btn2;
    QString btnscr1;
    QString btnscr2;
    qint16 type = 0;
    qint16 ico = 0;
    qint16 time = 0;

    // A cleared record: every text field all spaces, the numbers 0.
    static DialogRecord cleared();

    // The only place that knows the byte layout. fromBytes takes the first Size bytes
    // (a shorter input is padded with spaces and zeros) and returns full-width text fields.
    QByteArray toBytes() const;
    static DialogRecord fromBytes(QByteArrayView bytes);

    // The header's project style: the header text with spaces removed, as a number; none when
    // that is not a 16-bit number.
    std::optional<qint16> projectStyle() const;

    bool operator==(const DialogRecord &other) const = default;
};

// Field readers remove the padding: the editor and the runner cut trailing spaces from text
// fields, the runner also leading spaces from button captions and scripts.
QString trimmedRight(const QString &field);
QString trimmedSpaces(const QString &field);

} // namespace kq
