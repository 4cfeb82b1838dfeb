// Copies to btrfs against its kernel driver: volumes made by mkfs.btrfs on
// sparse images and mounted by the kernel, filled by cp -r, the free space
// read before and after.
#include "btrfs_copy.h"
#include "complete_walk.h"
#include "copy_trees.h"
#include "mount_table.h"
#include "target_check.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

// The bytes free to the user once everything written is committed.
long long freeBytes(const std::string& mount)
{
    const int fd = ::open(mount.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::syncfs(fd);
    ::close(fd);
    struct statvfs vfs {};
    ::statvfs(mount.c_str(), &vfs);
    return static_cast<long long>(vfs.f_bavail) * static_cast<long long>(vfs.f_frsize);
}

// Leaves exactly room bytes free with preallocated files; false where the
// volume does not come out at that figure.
bool leaveFree(const std::string& mount, long long room)
{
    for (int i = 0; i < 4 && freeBytes(mount) > room; ++i) {
        const int fd = ::open(numbered((mount + "/filler_%lld").c_str(), i).c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        ::fallocate(fd, 0, 0, freeBytes(mount) - room);
        ::close(fd);
    }
    return freeBytes(mount) == room;
}

MountEntry mountAt(const std::string& path)
{
    MountEntry found;
    for (const MountEntry& m : readMountTable()) {
        if (m.mountPoint == path)
            found = m;
    }
    return found;
}

// The layout of a copy of folder to the btrfs volume at mount, as it is now.
std::unique_ptr<BtrfsCopy> btrfsCount(const std::string& mount, const std::string& folder)
{
    struct statvfs vfs {};
    ::statvfs(mount.c_str(), &vfs);
    const auto space = btrfsSpaceOf(mountAt(mount), vfs);
    auto copy = std::make_unique<BtrfsCopy>(space.value_or(BtrfsSpace{}), FolderScan::CopyOrder::ByInode);
    CompleteWalk walk(4096, 4096, nullptr, copy.get());
    walk.setEveryLinkConverted(true);
    walk.run(folder);
    return copy;
}

bool copied(const std::string& folder, const std::string& target)
{
    return runTool({"cp", "-r", folder, target + "/"}).status == 0;
}

}  // namespace

TEST(BtrfsCopy, NeverUnderWhatTheCopyTakesAndItsDataExactWhileMetadataFitsItsChunks)
{
    TempTree images;
    std::string why;
    const auto source = sourceVolume(images, why);
    if (!source)
        GTEST_SKIP() << why;
    for (const auto& [name, tree] : copyTrees(true))
        create(source->path() + "/" + name, tree);
    struct Volume {
        const char* what;
        const char* size;
        std::vector<std::string> mkfs;
        std::string options;
    };
    const Volume volumes[] = {{"512 MiB", "512M", {}, ""},
                              {"256 MiB, max_inline=0", "256M", {}, "max_inline=0"},
                              {"256 MiB, 64 KiB nodes", "256M", {"-n", "65536"}, ""},
                              {"256 MiB, mixed block groups", "256M", {"--mixed"}, ""}};
    for (const Volume& v : volumes) {
        const auto btrfs = freshVolume(images, "btrfs", v.size, v.mkfs, why, v.options);
        if (!btrfs)
            GTEST_SKIP() << why;
        // Every figure the count needs is readable by any user.
        EXPECT_EQ(captureUnprivileged([&] {
                      struct statvfs vfs {};
                      ::statvfs(btrfs->path().c_str(), &vfs);
                      const auto space = btrfsSpaceOf(mountAt(btrfs->path()), vfs);
                      return std::string(space && space->allocationRead ? "read" : "not read");
                  }),
                  "read");
        for (const auto& [name, tree] : copyTrees(true)) {
            SCOPED_TRACE(std::string(v.what) + ", " + name);
            const std::string folder = source->path() + "/" + name + "/copy";
            const auto count = btrfsCount(btrfs->path(), folder);
            const QJsonObject t = targetOf(btrfs->path(), folder);
            ::mkdir((btrfs->path() + "/" + name).c_str(), 0755);
            const long long before = freeBytes(btrfs->path());
            EXPECT_TRUE(copied(folder, btrfs->path() + "/" + name));
            const long long taken = before - freeBytes(btrfs->path());
            const long long needed = t["needed_bytes"].toInteger();
            std::cout << v.what << ", " << name << ": needed " << needed << ", data " << count->dataBytes()
                      << ", taken " << taken << (count->regime() == BtrfsCopy::Regime::InChunks ? "" : " (a bound)")
                      << "\n";
            EXPECT_EQ(needed, count->needs().bytes);
            EXPECT_GE(needed, taken);
            if (count->regime() == BtrfsCopy::Regime::InChunks) {
                EXPECT_EQ(count->dataBytes(), taken);
            }
            EXPECT_EQ(t["estimate_exact"].toBool(), needed == taken && count->regime() == BtrfsCopy::Regime::InChunks);
            EXPECT_TRUE(t["free_inodes"].isNull());  // btrfs has no inode count
        }
        // Copied within the volume, the files' data is cloned: not exact.
        const std::string copiedMixed = btrfs->path() + "/mixed/copy";
        const long long before = freeBytes(btrfs->path());
        EXPECT_FALSE(targetOf(btrfs->path(), copiedMixed)["estimate_exact"].toBool());
        EXPECT_TRUE(copied(copiedMixed, btrfs->path()));
        EXPECT_LT(before - freeBytes(btrfs->path()), btrfsCount(btrfs->path(), copiedMixed)->dataBytes());
    }
}

// With exactly the room the report asks for the copy succeeds; with one
// sector less the report says it does not fit, and the copy fails: for files
// with data only, and with a file kept inline written last, which needs a
// sector free that it does not keep.
TEST(BtrfsCopy, FitsWithExactlyTheRoomItNeedsAndNotWithOneSectorLess)
{
    TempTree images;
    std::string why;
    const auto source = sourceVolume(images, why);
    if (!source)
        GTEST_SKIP() << why;
    Tree data;
    for (int i = 0; i < 40; ++i)
        data.push_back({numbered("copy/file_%02d", i), 5000 + i * 4099});
    Tree inlineLast = data;
    inlineLast.push_back({"copy/z_small", 1000});
    create(source->path() + "/data", data);
    create(source->path() + "/inline", inlineLast);
    for (const char* name : {"data", "inline"}) {
        for (const long long spare : {0LL, -4096LL}) {
            SCOPED_TRACE(std::string(name) + (spare ? ", one sector less" : ", exactly"));
            const std::string folder = source->path() + "/" + name + "/copy";
            const auto btrfs = freshVolume(images, "btrfs", "256M", {}, why);
            if (!btrfs)
                GTEST_SKIP() << why;
            const long long needed = targetOf(btrfs->path(), folder)["needed_bytes"].toInteger();
            ASSERT_TRUE(leaveFree(btrfs->path(), needed + spare));
            const QJsonObject t = targetOf(btrfs->path(), folder);
            EXPECT_EQ(t["needed_bytes"].toInteger(), needed);
            EXPECT_EQ(t["fits"].toBool(), spare == 0);
            if (spare != 0) {
                EXPECT_EQ(t["limits_reached"].toArray().at(0).toObject()["limit"].toString(), "bytes");
            }
            EXPECT_EQ(copied(folder, btrfs->path()), spare == 0);
        }
    }
}

// Metadata chunks nearly full: the copy's data fits in the free space, but
// its metadata needs a new chunk that takes more than is left. The report
// says it does not fit, and the copy runs out of space.
TEST(BtrfsCopy, AFullMetadataChunkMakesACopyWhoseDataFitsNotFit)
{
    TempTree images;
    std::string why;
    const auto source = sourceVolume(images, why);
    if (!source)
        GTEST_SKIP() << why;
    Tree tree;
    for (int i = 0; i < 300; ++i)
        tree.push_back({numbered("copy/f%04d", i), 20000 + i * 37});
    create(source->path(), tree);
    const std::string copy = source->path() + "/copy";
    const auto btrfs = freshVolume(images, "btrfs", "256M", {}, why);
    if (!btrfs)
        GTEST_SKIP() << why;
    // About 25 MB of xattrs fill the 32 MiB metadata chunk to some 80 %.
    const std::string filler = btrfs->path() + "/xattrs";
    ::close(::open(filler.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    const std::string value(14000, 'x');
    for (int i = 0; i < 1500; ++i)
        ASSERT_EQ(::setxattr(filler.c_str(), numbered("user.x%05d", i).c_str(), value.data(), value.size(), 0), 0);
    const auto count = btrfsCount(btrfs->path(), copy);
    ASSERT_TRUE(leaveFree(btrfs->path(), count->dataBytes() + 4 * (1 << 20)));
    const auto chunked = btrfsCount(btrfs->path(), copy);
    EXPECT_EQ(chunked->regime(), BtrfsCopy::Regime::NewChunks);
    const QJsonObject t = targetOf(btrfs->path(), copy);
    EXPECT_FALSE(t["fits"].toBool());
    EXPECT_FALSE(t["estimate_exact"].toBool());
    EXPECT_EQ(t["limits_reached"].toArray().at(0).toObject()["limit"].toString(), "bytes");
    EXPECT_LT(chunked->dataBytes(), t["free_bytes"].toInteger());
    EXPECT_FALSE(copied(copy, btrfs->path()));
}

