#include "codepage.h"

#include <array>

namespace kq {

namespace {

// Code page 1251 from byte 0x80 on; the bytes below are ASCII. It is the table of the
// "windows-1251" converter, written out so that reading a record needs no converter library
// (its code and data would weigh a megabyte in the runner). 0x98, which the code page leaves
// free, stands for U+0098, so that every byte reads and writes back unchanged.
constexpr std::array<char16_t, 128> HighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 0x88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 0x98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // 0xA0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // 0xA8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // 0xB8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // 0xC0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // 0xC8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // 0xD0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // 0xD8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // 0xE0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // 0xE8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // 0xF0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // 0xF8
};

// Every byte's character: ASCII below 0x80, the high half above.
constexpr std::array<char16_t, 256> CharacterOfByte = [] {
    std::array<char16_t, 256> characters{};
    for (size_t byte = 0; byte < 0x80; ++byte)
        characters[byte] = char16_t(byte);
    for (size_t i = 0; i < HighHalf.size(); ++i)
        characters[0x80 + i] = HighHalf[i];
    return characters;
}();

// From a character back to its byte: the table read the other way, indexed by character. Every
// character of the high half lies below U+2200; 0 marks a character the code page lacks, as no
// character of the high half has that byte. The index is filled at first use rather than stored
// in the program, which keeps every built program 8 KB smaller.
constexpr char16_t PastHighHalf = 0x2200;

struct ByteIndex
{
    ByteIndex()
    {
        for (size_t i = 0; i < HighHalf.size(); ++i)
            byteOf[HighHalf[i]] = char(0x80 + i);
    }
    std::array<char, PastHighHalf> byteOf{};
};

char byteOf(char16_t unit)
{
    static const ByteIndex index;
    const char byte = unit < PastHighHalf ? index.byteOf[unit] : 0;
    return byte != 0 ? byte : '?';
}

} // namespace

qsizetype writeCodePage(QStringView text, char *out)
{
    char *const start = out;
    const char16_t *unit = text.utf16();
    const char16_t *const end = unit + text.size();
    for (; unit != end; ++unit) {
        if (*unit < 0x80) {
            *out++ = char(*unit);
            continue;
        }
        // A character beyond the 16-bit range (a surrogate pair) is one "?", like any other
        // character the code page lacks.
        if (QChar::isHighSurrogate(*unit) && unit + 1 != end && QChar::isLowSurrogate(unit[1]))
            ++unit;
        *out++ = byteOf(*unit);
    }
    return out - start;
}

QByteArray toCodePage(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bytes.truncate(writeCodePage(text, bytes.data()));
    return bytes;
}

QString storableText(const QString &text)
{
    return fromCodePage(toCodePage(text));
}

int unstorableCharacters(const QString &text)
{
    const QByteArray bytes = toCodePage(text);
    const QString back = fromCodePage(bytes);
    // "?" typed as it is stays; every other "?" of the stored text stands for a character lost.
    return int(back.count(u'?') - text.count(u'?'));
}

QString fromCodePage(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (const char byte : bytes)
        *out++ = CharacterOfByte[static_cast<unsigned char>(byte)];
    return text;
}

} // namespace kq
