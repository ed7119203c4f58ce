#include "textlines.h"

namespace kq {

namespace {

template <class Text> QList<Text> splitLines(const Text &text)
{
    QList<Text> lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const auto c = text.at(i);
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        lines.append(text.mid(start, i - start));
        i += (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

} // namespace

QList<QByteArray> splitTextLines(const QByteArray &bytes)
{
    return splitLines(bytes);
}

QStringList splitTextLines(const QString &text)
{
    return splitLines(text);
}

QString toBoxText(const QString &recordText)
{
    QString text = recordText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

QString toRecordText(const QString &boxText)
{
    QString text = boxText;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

} // namespace kq
