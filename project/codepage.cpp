#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace kq {

namespace {
constexpr const char *codePageName = "windows-1251";
}

QByteArray toCodePage(const QString &text)
{
    // Encoding code point by code point lets an unmappable one become "?" rather than the
    // encoder's substitution byte, without touching a real control character in the text.
    QStringEncoder encoder(codePageName);
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QByteArray one = encoder.encode(QStringView(text).mid(i, width));
        bytes += (encoder.hasError() || one.size() != 1) ? QByteArray("?") : one;
        encoder.resetState();
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
