#include "dialogrecord.h"

#include "codepage.h"

#include <QtEndian>

#include <cstring>

namespace kq {

namespace {

struct TextField
{
    QString DialogRecord::*member;
    int offset;
    int width;
};

// The layout: text 0..511, caption 512..561, four 15-byte button fields, then type, ico, time.
constexpr TextField TextFields[] = {
    {&DialogRecord::text, 0, DialogRecord::TextWidth},
    {&DialogRecord::caption, 512, DialogRecord::CaptionWidth},
    {&DialogRecord::btn1, 562, DialogRecord::ButtonWidth},
    {&DialogRecord::btn2, 577, DialogRecord::ButtonWidth},
    {&DialogRecord::btnscr1, 592, DialogRecord::ButtonWidth},
    {&DialogRecord::btnscr2, 607, DialogRecord::ButtonWidth},
};

struct NumberField
{
    qint16 DialogRecord::*member;
    int offset;
};

constexpr NumberField NumberFields[] = {
    {&DialogRecord::type, 622},
    {&DialogRecord::ico, 624},
    {&DialogRecord::time, 626},
};

// A text field as the record holds it: at most `width` characters, padded with spaces.
void writeField(char *field, const QString &value, int width)
{
    const qsizetype written = writeCodePage(QStringView(value).left(width), field);
    std::memset(field + written, ' ', size_t(width - written));
}

} // namespace

DialogRecord DialogRecord::cleared()
{
    return fromBytes(QByteArray());
}

QByteArray DialogRecord::toBytes() const
{
    QByteArray bytes(Size, '\0');
    for (const TextField &field : TextFields)
        writeField(bytes.data() + field.offset, this->*field.member, field.width);
    for (const NumberField &field : NumberFields)
        qToLittleEndian<qint16>(this->*field.member, bytes.data() + field.offset);
    return bytes;
}

DialogRecord DialogRecord::fromBytes(QByteArrayView bytes)
{
    // Only a short record is copied, to be padded.
    QByteArray padded;
    if (bytes.size() < Size) {
        padded = bytes.toByteArray();
        if (padded.size() < 622)
            padded = padded.leftJustified(622, ' ');
        padded = padded.leftJustified(Size, '\0');
        bytes = padded;
    }
    const QByteArrayView full = bytes.first(Size);

    DialogRecord record;
    for (const TextField &field : TextFields)
        record.*field.member = fromCodePage(full.sliced(field.offset, field.width));
    for (const NumberField &field : NumberFields)
        record.*field.member = qFromLittleEndian<qint16>(full.constData() + field.offset);
    return record;
}

std::optional<qint16> DialogRecord::projectStyle() const
{
    bool ok = false;
    const int value = QString(text).remove(u' ').toInt(&ok);
    if (!ok || value < -32768 || value > 32767)
        return std::nullopt;
    return qint16(value);
}

QString trimmedRight(const QString &field)
{
    qsizetype end = field.size();
    while (end > 0 && field.at(end - 1) == u' ')
        --end;
    return field.left(end);
}

QString trimmedSpaces(const QString &field)
{
    qsizetype start = 0;
    while (start < field.size() && field.at(start) == u' ')
        ++start;
    return trimmedRight(field.mid(start));
}

} // namespace kq
