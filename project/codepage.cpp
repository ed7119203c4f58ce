#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kq {

namespace {
constexpr const char *codePageName = "windows-1251";
}

QByteArray toCodePage(const QString &text)
{
    // Encoding code point by code point lets an unmappable one become "?": the converter
    // itself writes its substitution byte 0x1A, and does not always flag it as an error.
    constexpr char substitution = '\x1a';
    QStringEncoder encoder(codePageName);
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView codePoint = QStringView(text).mid(i, width);
        const QByteArray one = encoder.encode(codePoint);
        const bool mapped = !encoder.hasError() && one.size() == 1 &&
                            (one.at(0) != substitution || codePoint == u"\x1a");
        bytes += mapped ? one.at(0) : '?';
        if (encoder.hasError())
            encoder = QStringEncoder(codePageName); // the error flag sticks to an encoder
        i += width;
    }
    return bytes;
}

QString fromCodePage(const QByteArray &bytes)
{
    QStringDecoder decoder(codePageName);
    return decoder.decode(bytes);
}

} // namespace kq
