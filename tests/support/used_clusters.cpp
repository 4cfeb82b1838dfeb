#include "used_clusters.h"

#include "fat_volume.h"

#include <cstdint>
#include <unistd.h>
#include <vector>

namespace dorvelix::testing {

namespace {

std::uint64_t little(const unsigned char* p, int bytes)
{
    std::uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | p[i];
    return v;
}

// exFAT: the clusters set in the allocation bitmap, found through its entry
// (type 0x81) in the root folder's first cluster.
std::optional<UsedClusters> exfatUsed(const VolumeFile& file, const unsigned char* boot)
{
    const long long sector = 1LL << boot[108];
    const long long cluster = sector << boot[109];
    const long long heap = static_cast<long long>(little(boot + 88, 4)) * sector;
    const long long clusters = static_cast<long long>(little(boot + 92, 4));
    const auto at = [&](long long n) { return heap + (n - 2) * cluster; };
    std::vector<unsigned char> root(static_cast<size_t>(cluster));
    if (::pread(file.fd(), root.data(), root.size(), at(static_cast<long long>(little(boot + 96, 4))))
        != static_cast<ssize_t>(root.size()))
        return std::nullopt;
    for (size_t e = 0; e + 32 <= root.size(); e += 32) {
        if (root[e] != 0x81)
            continue;
        std::vector<unsigned char> bitmap(static_cast<size_t>((clusters + 7) / 8));
        if (::pread(file.fd(), bitmap.data(), bitmap.size(), at(static_cast<long long>(little(&root[e + 20], 4))))
            != static_cast<ssize_t>(bitmap.size()))
            return std::nullopt;
        long long used = 0;
        for (long long c = 0; c < clusters; ++c)
            used += (bitmap[static_cast<size_t>(c / 8)] >> (c % 8)) & 1;
        return UsedClusters{used, cluster, clusters};
    }
    return std::nullopt;
}

}  // namespace

std::optional<UsedClusters> usedClusters(const std::string& image)
{
    const VolumeFile file(image);
    unsigned char boot[512];
    if (!file || ::pread(file.fd(), boot, sizeof boot, 0) != static_cast<ssize_t>(sizeof boot))
        return std::nullopt;
    if (isExfatBootSector(boot, sizeof boot))
        return exfatUsed(file, boot);
    const auto layout = parseFatBootSector(boot, sizeof boot);
    const auto free = layout ? countFreeClusters(file, *layout) : std::nullopt;
    if (!free)
        return std::nullopt;
    return UsedClusters{layout->clusters - *free, layout->bytesPerSector * layout->sectorsPerCluster, layout->clusters};
}

}  // namespace dorvelix::testing
