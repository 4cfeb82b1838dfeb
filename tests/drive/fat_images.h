// FAT images for the volume tests, made by mkfs.fat and filled by mtools.
#pragma once

#include "temp_tree.h"

#include <string>

namespace dorvelix::testing {

// A FAT image of sizeKiB made by mkfs.fat, holding a few files copied in by
// mcopy. Empty when the tools are missing (why says so).
std::string makeFatImage(const TempTree& tree, const char* fatBits, int sizeKiB, std::string& why,
                         const char* sectorsPerCluster = nullptr);

// The free bytes mtools reports for an image ("66 058 240 bytes free").
long long mtoolsFreeBytes(const std::string& image);

}  // namespace dorvelix::testing
