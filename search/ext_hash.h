// The hash by which ext3/4 folder indexes (htrees) order their names: the
// legacy hash, half MD4 or TEA, each over signed or unsigned bytes, seeded
// with the volume's own seed.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace dorvelix {

// The hash versions a volume names for its new folders: 0 legacy, 1 half
// MD4, 2 TEA; 3 to 5 the same over unsigned bytes.
enum class ExtHashVersion : std::uint8_t {
    Legacy = 0,
    HalfMd4 = 1,
    Tea = 2,
    LegacyUnsigned = 3,
    HalfMd4Unsigned = 4,
    TeaUnsigned = 5,
};

using ExtHashSeed = std::array<std::uint32_t, 4>;

// The major hash of a name, as the index keeps it (its lowest bit clear).
// An all-zero seed stands for the default one.
std::uint32_t extNameHash(std::string_view name, ExtHashVersion version, const ExtHashSeed& seed);

}  // namespace dorvelix
