// What an ext2/3/4 volume cannot take, against real copies by GNU cp onto
// images made by mke2fs and mounted by the kernel: inodes that run out
// before blocks, a file longer than the block maps reach, names a folder
// index cannot hold, and the copy's own entry in the folder it goes into.
#include "copy_trees.h"
#include "ext_volume_rig.h"
#include "mount_rig.h"
#include "temp_tree.h"

#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvelix::testing;

// 8,000 empty files on a 16 MiB ext4 of 4,096 inodes: the blocks would do,
// the inodes run out after the 4,084th file.
TEST(ExtCopy, InodesRunOutBeforeBlocks)
{
    std::string why;
    if (mke2fsMissing(why))
        GTEST_SKIP() << why;
    TempTree source, images;
    for (int i = 0; i < 8000; ++i)
        source.file("copy/" + named("empty_file_%08d", i));
    const std::string img = extImage(images, {"-t", "ext4", "-N", "4096"}, "16M");
    ASSERT_FALSE(img.empty());
    const auto volume = mountAs(Writer::Kernel, img, "ext4", why);
    if (!volume)
        GTEST_SKIP() << why;
    const QJsonObject t = targetOf(volume->path(), source.path("copy"));
    EXPECT_FALSE(t["fits"].toBool());
    EXPECT_LT(t["needed_bytes"].toInteger(), t["free_bytes"].toInteger());
    ASSERT_EQ(limitsOf(t), std::vector<std::string>{"inodes"});
    const QJsonObject inodes = t["limits_reached"].toArray()[0].toObject();
    EXPECT_EQ(inodes["needed"].toInteger(), 8001);
    EXPECT_EQ(inodes["available"].toInteger(), 4085);
    EXPECT_FALSE(copies(source.path("copy"), volume->path()));
    EXPECT_EQ(freeOn(volume->path()).inodes, 0);
}

// What an ext2 volume of 1 KiB blocks cannot take: a file past what its
// block maps reach (17,247,252,480 bytes), which the kernel refuses with
// EFBIG, while a file of exactly that length copies.
TEST(ExtCopy, FileLongerThanTheBlockMapsReach)
{
    std::string why;
    if (mke2fsMissing(why))
        GTEST_SKIP() << why;
    constexpr long long Longest = 17247252480;
    TempTree source, images;
    source.file("copy/longest", Longest);
    source.file("copy/deeper/too long", Longest + 1);
    const std::string img = extImage(images, {"-t", "ext2", "-b", "1024"}, "64M");
    ASSERT_FALSE(img.empty());
    const auto volume = mountAs(Writer::Kernel, img, "ext2", why);
    if (!volume)
        GTEST_SKIP() << why;
    const QJsonObject t = targetOf(volume->path(), source.path("copy"));
    const QJsonArray blocked = t["blocked"].toArray();
    ASSERT_EQ(blocked.size(), 1);
    EXPECT_EQ(blocked[0].toObject()["path"].toString(), "deeper/too long");
    EXPECT_EQ(blocked[0].toObject()["reason"].toString(), "file_too_large_for_target");
    EXPECT_EQ(limitsOf(t), (std::vector<std::string>{"bytes", "file_size"}));
    EXPECT_EQ(t["limits_reached"].toArray()[1].toObject()["available"].toInteger(), Longest);
    // The files are sparse: cp makes them so, and only the longer one fails.
    const ToolRun cp = runTool({"cp", "-r", source.path("copy"), volume->path()});
    EXPECT_NE(cp.status, 0);
    EXPECT_NE(cp.err.find("too long"), std::string::npos) << cp.err;
    EXPECT_EQ(cp.err.find("longest"), std::string::npos) << cp.err;
}

// Without large_dir a folder index has two levels: 24,000 names of 255
// bytes fill some of its paths at 1 KiB blocks. The count names the folder,
// with the names that fit, and the kernel refuses exactly the others.
TEST(ExtCopy, NamesTheFolderIndexCannotHold)
{
    std::string why;
    if (mke2fsMissing(why))
        GTEST_SKIP() << why;
    constexpr int Names = 24000;
    TempTree source, images;
    for (int i = 0; i < Names; ++i)
        source.file("copy/" + named("%06d", i) + std::string(249, 'n'));
    const std::string img = extImage(images, {"-t", "ext4", "-b", "1024", "-N", "32768"}, "128M");
    ASSERT_FALSE(img.empty());
    const auto volume = mountAs(Writer::Kernel, img, "ext4", why);
    if (!volume)
        GTEST_SKIP() << why;
    const QJsonObject t = targetOf(volume->path(), source.path("copy"));
    ASSERT_EQ(limitsOf(t), std::vector<std::string>{"folder_entries"});
    const QJsonObject full = t["limits_reached"].toArray()[0].toObject();
    EXPECT_EQ(full["needed"].toInteger(), Names);
    EXPECT_EQ(t["blocked"].toArray()[0].toObject()["reason"].toString(), "folder_index_full");
    const Free before = freeOn(volume->path());
    const ToolRun cp = runTool({"cp", "-r", source.path("copy"), volume->path()});
    const Free after = freeOn(volume->path());
    const long long refused = std::count(cp.err.begin(), cp.err.end(), '\n');
    EXPECT_GT(refused, 0);
    EXPECT_EQ(full["available"].toInteger(), Names - refused);
    EXPECT_EQ(t["needed_bytes"].toInteger(), (before.blocks - after.blocks) * before.unit);
    EXPECT_EQ(before.inodes - after.inodes, Names + 1 - refused);
}

// The copy's own entry in the folder it goes into: nothing where that
// folder's block has room for it, and the index the kernel makes of a full
// block (two blocks more) where it has not; counted exactly either way.
TEST(ExtCopy, TheCopysEntryInTheFolderItGoesIntoIsCounted)
{
    std::string why;
    if (mke2fsMissing(why))
        GTEST_SKIP() << why;
    TempTree source, images;
    dataFile(source, "copy/data", 10000);
    const std::string img = extImage(images, {"-t", "ext4", "-b", "4096"}, "64M");
    ASSERT_FALSE(img.empty());
    const auto volume = TestMount::kernel(img, "ext4", why);
    if (!volume)
        GTEST_SKIP() << why;
    // A block of 4,084 bytes for names: "." and ".." 24, nineteen names of
    // 200 characters 208 each, one of 92 characters 100: 8 bytes left,
    // fewer than "copy" takes.
    const std::string roomy = volume->path() + "/roomy", crowded = volume->path() + "/crowded";
    ::mkdir(roomy.c_str(), 0755);
    ::mkdir(crowded.c_str(), 0755);
    for (int i = 0; i < 19; ++i)
        ::close(::open((crowded + "/" + named("%03d", i) + std::string(197, 'n')).c_str(), O_WRONLY | O_CREAT, 0644));
    ::close(::open((crowded + "/" + std::string(92, 'm')).c_str(), O_WRONLY | O_CREAT, 0644));
    for (const std::string& into : {roomy, crowded}) {
        SCOPED_TRACE(into);
        const QJsonObject t = targetOf(into, source.path("copy"));
        const Free before = freeOn(volume->path());
        ASSERT_TRUE(copies(source.path("copy"), into));
        const long long taken = (before.blocks - freeOn(volume->path()).blocks) * before.unit;
        EXPECT_EQ(t["needed_bytes"].toInteger(), taken);
        EXPECT_EQ(taken, (into == crowded ? 2 + 1 + 3 : 1 + 3) * before.unit);
    }
}
