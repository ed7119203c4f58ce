#include "codepage.h"

#include <algorithm>
#include <array>
#include <utility>

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

// From a character back to its byte: the table read the other way, sorted by character once per
// process, so that a character is found in seven comparisons.
using CharacterByte = std::pair<char16_t, char>;

const std::array<CharacterByte, 128> &bytesOfCharacters()
{
    static const std::array<CharacterByte, 128> bytes = [] {
        std::array<CharacterByte, 128> inverse{};
        for (size_t i = 0; i < HighHalf.size(); ++i)
            inverse[i] = {HighHalf[i], char(0x80 + i)};
        std::sort(inverse.begin(), inverse.end(),
                  [](const CharacterByte &a, const CharacterByte &b) { return a.first < b.first; });
        return inverse;
    }();
    return bytes;
}

char byteOf(char16_t unit)
{
    const std::array<CharacterByte, 128> &bytes = bytesOfCharacters();
    const auto found = std::lower_bound(
        bytes.cbegin(), bytes.cend(), unit,
        [](const CharacterByte &entry, char16_t wanted) { return entry.first < wanted; });
    return found != bytes.cend() && found->first == unit ? found->second : '?';
}

} // namespace

QByteArray toCodePage(QStringView text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < 0x80) {
            *out++ = char(unit);
            continue;
        }
        // A character beyond the 16-bit range (a surrogate pair) is one "?", like any other
        // character the code page lacks.
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        *out++ = byteOf(unit);
    }
    bytes.truncate(out - bytes.constData());
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
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        *out++ = value < 0x80 ? char16_t(value) : HighHalf[value - 0x80];
    }
    return text;
}

} // namespace kq
