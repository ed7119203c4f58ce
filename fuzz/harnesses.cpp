#include "harnesses.h"

namespace kq::Fuzz {

void require(bool condition, const char *what)
{
    if (!condition)
        throw InvariantBroken(what);
}

} // namespace kq::Fuzz
