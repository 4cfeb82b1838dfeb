// NTFS images for the drive tests, made by mkntfs.
#pragma once

#include "mount_rig.h"
#include "temp_tree.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace dorvelix::testing {

// A sparse image of bytes formatted by mkntfs with options; "" when the
// tools are missing.
inline std::string ntfsImage(const TempTree& images, long long bytes, const std::vector<std::string>& options = {})
{
    const std::string image = images.path("ntfs.img");
    std::filesystem::remove(image);
    std::vector<std::string> mkntfs{"mkntfs", "-F", "-f", "-q"};
    mkntfs.insert(mkntfs.end(), options.begin(), options.end());
    mkntfs.push_back(image);
    return runTool({"truncate", "-s", std::to_string(bytes), image}).status == 0 && runTool(mkntfs).status == 0
               ? image
               : std::string();
}

inline std::string numbered(const char* pattern, long long i)
{
    char name[300];
    std::snprintf(name, sizeof name, pattern, i);
    return name;
}

}  // namespace dorvelix::testing
