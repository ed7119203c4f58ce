#pragma once

#include <QString>

namespace kq {

// How a free function that can fail reports it: the reason goes to *error when the caller asks
// for one, and the result is false.
inline bool failWith(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

} // namespace kq
