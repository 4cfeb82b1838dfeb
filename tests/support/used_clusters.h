// What a FAT or exFAT image holds in use, read from the image itself: the
// tests compare the program's predictions with it.
#pragma once

#include <optional>
#include <string>

namespace dorvelix::testing {

// The clusters in use on a FAT12/16/32 image (its FAT's non-zero entries)
// or an exFAT image (its allocation bitmap), with its cluster length;
// nothing when the image cannot be read.
struct UsedClusters {
    long long used = 0;
    long long clusterLength = 0;
    long long clusters = 0;  // in all
};
std::optional<UsedClusters> usedClusters(const std::string& image);

}  // namespace dorvelix::testing
