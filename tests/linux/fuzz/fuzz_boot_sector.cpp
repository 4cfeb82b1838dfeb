// libFuzzer harness (built with -DDORVELIX_FUZZ=ON and clang).
#include "fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return dorvelix::fuzz::bootSector(data, size);
}
