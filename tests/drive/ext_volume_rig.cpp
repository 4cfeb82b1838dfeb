#include "ext_volume_rig.h"

#include <QJsonArray>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace dorvelix::testing {

const char* writerName(Writer w)
{
    return w == Writer::Kernel ? "kernel" : "fuse2fs";
}

void dataFile(const TempTree& t, const std::string& relative, long long length)
{
    t.fileWith(relative, std::string(static_cast<size_t>(length), 'x'));
}

std::string named(const char* pattern, int i)
{
    char name[64];
    std::snprintf(name, sizeof name, pattern, i);
    return name;
}

std::string extImage(const TempTree& images, const std::vector<std::string>& options, const char* size)
{
    const std::string path = images.path("ext.img");
    ::unlink(path.c_str());
    std::vector<std::string> mkfs{"mke2fs", "-q", "-F"};
    mkfs.insert(mkfs.end(), options.begin(), options.end());
    mkfs.push_back(path);
    return runTool({"truncate", "-s", size, path}).status == 0 && runTool(mkfs).status == 0 ? path : std::string();
}

std::unique_ptr<TestMount> mountAs(Writer w, const std::string& image, const std::string& type, std::string& why)
{
    return w == Writer::Kernel ? TestMount::kernel(image, type, why) : TestMount::fuse2fs(image, why);
}

Free freeOn(const std::string& mount)
{
    const int fd = ::open(mount.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::syncfs(fd);
        ::close(fd);
    }
    struct statvfs v {};
    ::statvfs(mount.c_str(), &v);
    return {static_cast<long long>(v.f_bfree), static_cast<long long>(v.f_bavail), static_cast<long long>(v.f_ffree),
            static_cast<long long>(v.f_frsize)};
}

bool copies(const std::string& from, const std::string& into)
{
    return runTool({"cp", "-r", from, into}).status == 0;
}

std::vector<std::string> limitsOf(const QJsonObject& t)
{
    std::vector<std::string> limits;
    for (const auto& l : t["limits_reached"].toArray())
        limits.push_back(l.toObject()["limit"].toString().toStdString());
    return limits;
}

bool fillBlocksTo(const std::string& mount, long long target)
{
    std::vector<std::string> fillers;
    for (int round = 0; round < 40; ++round) {
        const Free f = freeOn(mount);
        const long long more = f.available - target;
        if (more == 0)
            return true;
        if (more > 0) {
            fillers.push_back(mount + "/filler" + std::to_string(fillers.size()));
            const int fd = ::open(fillers.back().c_str(), O_WRONLY | O_CREAT, 0644);
            const bool made = fd >= 0 && ::fallocate(fd, 0, 0, more * f.unit) == 0;
            ::close(fd);
            if (!made)
                return false;
        } else {
            // Give blocks back from the largest filler.
            struct stat st {};
            if (fillers.empty() || ::stat(fillers.front().c_str(), &st) != 0
                || ::truncate(fillers.front().c_str(), std::max(0LL, static_cast<long long>(st.st_size) + more * f.unit)) != 0)
                return false;
        }
    }
    return false;
}

bool fillInodesTo(const std::string& mount, long long target)
{
    const std::string folder = mount + "/inode_filler";
    ::mkdir(folder.c_str(), 0755);
    for (long long i = 0, more = freeOn(mount).inodes - target; i < more; ++i)
        ::close(::open((folder + "/" + std::to_string(i)).c_str(), O_WRONLY | O_CREAT, 0644));
    return freeOn(mount).inodes == target;
}

bool mke2fsMissing(std::string& why)
{
    if (runTool({"mke2fs", "-V"}).status != 0) {
        why = "mke2fs (Debian package e2fsprogs) is missing";
        return true;
    }
    return false;
}

}  // namespace dorvelix::testing
