#pragma once

#include <QString>

namespace kq {

// A caption as it reads: the "&" that marks its access key left out, "&&" read as one "&".
QString withoutMnemonic(const QString &caption);

} // namespace kq
