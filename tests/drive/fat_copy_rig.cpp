#include "fat_copy_rig.h"

#include "mount_rig.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <vector>


namespace dorvelix::testing {

std::string numbered(const char* pattern, int i)
{
    char name[300];
    std::snprintf(name, sizeof name, pattern, i);
    return name;
}

std::string fat32Image(const TempTree& images, const std::string& name, const char* megabytes,
                       const char* sectorsPerCluster)
{
    const std::string image = images.path(name);
    const ToolRun mkfs = runTool({"mkfs.fat", "-F", "32", "-S", "512", "-s", sectorsPerCluster, "-C", image,
                                  std::to_string(std::stoll(megabytes) * 1024)});
    return mkfs.status == 0 ? image : std::string();
}

std::string exfatImage(const TempTree& images, const char* size, const std::string& length)
{
    const std::string image = images.path("exfat.img");
    std::vector<std::string> mkfs{"mkfs.exfat", image};
    if (!length.empty())
        mkfs.insert(mkfs.begin() + 1, {"-c", length});
    return runTool({"truncate", "-s", size, image}).status == 0 && runTool(mkfs).status == 0 ? image : std::string();
}

long long bytesTaken(const std::string& image, const std::function<bool()>& copy)
{
    const auto before = usedClusters(image);
    const bool copied = copy();
    const auto after = usedClusters(image);
    EXPECT_TRUE(copied && before && after);
    return copied && before && after ? (after->used - before->used) * after->clusterLength : -1;
}

bool mcopy(const std::string& image, const std::string& from)
{
    ::setenv("MTOOLS_SKIP_CHECK", "1", 1);
    const ToolRun run = runTool({"mcopy", "-s", "-i", image, from, "::/"});
    return run.status == 0 && run.err.empty();
}

}  // namespace dorvelix::testing
