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
    const QByteArray bytes = toCodePage(QStringView(value).left(width));
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
    std::memset(field + bytes.size(), ' ', size_t(width - bytes.size()));
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

DialogRecord DialogRecord::fromBytes(const QByteArray &bytes)
{
    QByteArray full = bytes.left(Size);
    if (full.size() < 622)
        full = full.leftJustified(622, ' ');
    full = full.leftJustified(Size, '\0');

    DialogRecord record;
    for (const TextField &field : TextFields)
        record.*field.member = fromCodePage(QByteArrayView(full).sliced(field.offset, field.width));
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
