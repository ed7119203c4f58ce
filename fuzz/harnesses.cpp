#include "harnesses.h"

namespace kq::fuzz {

void require(bool condition, const char *what)
{
    if (!condition)
        throw InvariantBroken(what);
}

} // namespace kq::fuzz
