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

} // namespace kq
