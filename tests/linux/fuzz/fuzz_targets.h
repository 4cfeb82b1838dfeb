// The parsers that read what other programs and users write, as one entry
// point each for the fuzzers and for the seed corpus run with the tests.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dorvelix::fuzz {

// A boot sector as a FAT volume's first bytes.
int bootSector(const std::uint8_t* data, std::size_t size);
// A mount table as /proc/self/mountinfo gives it.
int mountInfo(const std::uint8_t* data, std::size_t size);

}  // namespace dorvelix::fuzz
