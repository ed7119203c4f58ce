#pragma once

#include <QString>

namespace kq {

// A caption as it reads: the "&" that marks its access key left out, "&&" read as one "&".
QString withoutMnemonic(const QString &caption);

// A caption as it reads, split around its access key: the character after the first single
// "&", which is underlined and pressed with Alt. Without one, the whole caption is `before`.
struct MnemonicCaption
{
    QString before;
    QString key;
    QString after;
};
MnemonicCaption splitMnemonic(const QString &caption);

} // namespace kq
