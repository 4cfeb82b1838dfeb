// FAT32 and exFAT images for the copy tests, made by mkfs.fat and
// mkfs.exfat, and the clusters a copy onto one takes, read back from it.
#pragma once

#include "temp_tree.h"

#include <functional>
#include <string>

namespace dorvelix::testing {

// pattern with i put in by printf ("%04d" and the like).
std::string numbered(const char* pattern, int i);

// A sparse FAT32 image of 4,096-byte clusters; "" when mkfs.fat is missing.
std::string fat32Image(const TempTree& images, const std::string& name, const char* megabytes = "300",
                       const char* sectorsPerCluster = "8");

// A sparse exFAT image; "" when mkfs.exfat is missing. length "": its default.
std::string exfatImage(const TempTree& images, const char* size, const std::string& length = {});

// The bytes of the clusters copy took on image (-1 where it failed or the
// image cannot be read).
long long bytesTaken(const std::string& image, const std::function<bool()>& copy);

// Whether mcopy copied everything: it ends with status 0 also when the
// volume fills up ("No free cluster"), so its complaints count too.
bool mcopy(const std::string& image, const std::string& from);

}  // namespace dorvelix::testing
