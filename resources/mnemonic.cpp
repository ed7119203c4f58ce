#include "mnemonic.h"

namespace kq {

QString withoutMnemonic(const QString &caption)
{
    QString text;
    text.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // The character after a marker is kept as it is, so "&&" leaves one "&".
        if (caption.at(i) == u'&' && ++i == caption.size())
            break;
        text += caption.at(i);
    }
    return text;
}

MnemonicCaption splitMnemonic(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        return {withoutMnemonic(caption.left(i)), caption.mid(i + 1, 1),
                withoutMnemonic(caption.mid(i + 2))};
    }
    return {withoutMnemonic(caption), {}, {}};
}

} // namespace kq
