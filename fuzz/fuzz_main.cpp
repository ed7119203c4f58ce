// The libFuzzer entry of one harness; KQ_FUZZ_HARNESS names the harness function.
#include "harnesses.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    KQ_FUZZ_HARNESS(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
