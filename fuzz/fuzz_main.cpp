// The libFuzzer entry of one harness; KQ_FUZZ_HARNESS names the harness function.
#include "harnesses.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    try {
        KQ_FUZZ_HARNESS(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const kq::Fuzz::InvariantBroken &broken) {
        // libFuzzer keeps the input of any abort as a crash.
        std::fprintf(stderr, "invariant broken: %s\n", broken.what());
        std::abort();
    }
    return 0;
}
