// Copies to f2fs, whose driver this machine may not load: images made by
// mkfs.f2fs and filled by sload.f2fs, the blocks and nodes it wrote read
// back from the checkpoint with dump.f2fs.
#include "f2fs_copy.h"
#include "complete_walk.h"
#include "copy_trees.h"
#include "mount_table.h"
#include "target_check.h"

#include <gtest/gtest.h>
#include <iostream>
#include <regex>
#include <sys/statvfs.h>

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

// The checkpoint's count of valid blocks and nodes of an f2fs image.
struct Valid {
    long long blocks = -1, nodes = -1;
};
Valid validCounts(const std::string& image)
{
    const ToolRun dump = runTool({"dump.f2fs", "-d", "1", image});
    Valid valid;
    std::smatch m;
    if (std::regex_search(dump.out, m, std::regex(R"(valid_block_count\s+\[0x\s*[0-9a-f]+ : (\d+)\])")))
        valid.blocks = std::stoll(m[1]);
    if (std::regex_search(dump.out, m, std::regex(R"(valid_node_count\s+\[0x\s*[0-9a-f]+ : (\d+)\])")))
        valid.nodes = std::stoll(m[1]);
    return valid;
}

std::unique_ptr<F2fsCopy> f2fsCount(const F2fsVolume& volume, const std::string& folder)
{
    auto copy = std::make_unique<F2fsCopy>(volume, FolderScan::CopyOrder::ByInode);
    CompleteWalk walk(4096, 4096, nullptr, copy.get());
    walk.setEveryLinkConverted(true);
    walk.setKeepCreationOrder(true);
    walk.run(folder);
    return copy;
}

}  // namespace

// sload.f2fs 1.15 keeps files of up to 3,344 bytes inline, gives every
// folder a dentry block at once and adds a folder's names in their bytes'
// order: counted so, with the names created in that order, the count is
// what it writes, block for block and node for node. Created in the reverse
// order, the margins cover the names' other places.
TEST(F2fsCopy, CountedAsSloadWritesItIsWhatItWritesToTheBlock)
{
    TempTree images;
    std::string why;
    const auto source = sourceVolume(images, why);
    if (!source)
        GTEST_SKIP() << why;
    F2fsVolume sload;
    sload.inlineDataBytes = 3344;
    sload.inlineDentries = false;
    const std::string image = images.path("f2fs.img");
    for (const bool reverse : {false, true}) {
        for (const auto& [name, tree] : copyTrees(false)) {
            SCOPED_TRACE(name + (reverse ? ", names created in reverse order" : ""));
            const std::string load = source->path() + "/" + name + (reverse ? "_reverse" : "");
            create(load, tree, reverse);
            ::unlink(image.c_str());
            if (runTool({"truncate", "-s", "256M", image}).status != 0
                || runTool({"mkfs.f2fs", "-q", "-f", image}).status != 0)
                GTEST_SKIP() << "mkfs.f2fs (Debian package f2fs-tools) is missing";
            const Valid before = validCounts(image);
            ASSERT_EQ(runTool({"sload.f2fs", "-f", load, image}).status, 0);
            const Valid after = validCounts(image);
            ASSERT_TRUE(before.blocks >= 0 && after.blocks >= 0);
            const long long blocks = after.blocks - before.blocks, nodes = after.nodes - before.nodes;
            const auto count = f2fsCount(sload, load + "/copy");
            const auto kernel = f2fsCount(F2fsVolume{}, load + "/copy");
            std::cout << "f2fs, " << name << (reverse ? " (reverse)" : "") << ": sload wrote " << blocks
                      << " blocks, " << nodes << " nodes; counted " << count->blocks() << " and "
                      << count->nodeBlocks() << ", bound " << count->needs().bytes / 4096 << "; kernel's count "
                      << kernel->blocks() << ", bound " << kernel->needs().bytes / 4096 << "\n";
            if (!reverse) {
                EXPECT_EQ(count->blocks(), blocks);
                EXPECT_EQ(count->nodeBlocks(), nodes);
            }
            EXPECT_GE(count->needs().bytes, blocks * 4096);
            EXPECT_GE(count->inodesNeeded().value_or(0), nodes);
            // The kernel's own layout: only ever fewer blocks than sload's
            // for these trees (folders inline, more files inline).
            EXPECT_LE(kernel->blocks(), count->blocks());
        }
    }
}

// The inode's room follows the features read from the superblock (or
// sysfs) and the mount options; f2fs counts its free inodes in node blocks,
// so the copy's nodes are compared with them.
TEST(F2fsCopy, InodeRoomFollowsFeaturesAndOptionsAndNodesMeetTheFreeInodes)
{
    TempTree images;
    const std::string plain = images.path("plain.img"), extended = images.path("extended.img");
    for (const std::string& image : {plain, extended})
        ASSERT_EQ(runTool({"truncate", "-s", "256M", image}).status, 0);
    if (runTool({"mkfs.f2fs", "-q", "-f", plain}).status != 0
        || runTool({"mkfs.f2fs", "-q", "-f", "-O", "extra_attr,flexible_inline_xattr", extended}).status != 0)
        GTEST_SKIP() << "mkfs.f2fs (Debian package f2fs-tools) is missing";
    struct statvfs vfs {};
    vfs.f_frsize = 4096;
    const auto of = [&](const std::string& source, const std::string& options) {
        MountEntry m;
        m.source = source;
        m.fsType = "f2fs";
        m.superOptions = options;
        return f2fsVolumeOf(m, vfs).value_or(F2fsVolume{0, 0, 0, false, false});
    };
    struct Row {
        std::string source, options;
        long long addresses, folderAddresses, inlineBytes;
        bool inlineDentries, featuresRead;
    };
    const Row rows[] = {
        {plain, "rw,inline_xattr,inline_data,inline_dentry", 873, 873, 3488, true, true},
        {plain, "rw,noinline_xattr", 923, 873, 3688, true, true},
        {plain, "rw,noinline_data,noinline_dentry", 873, 873, 0, false, true},
        {extended, "rw", 864, 864, 3452, true, true},
        {extended, "rw,inline_xattr_size=20", 894, 894, 3572, true, true},
        {extended, "rw,noinline_xattr", 914, 914, 3652, true, true},
        {images.path("missing.img"), "rw", 864, 864, 3452, true, false},
    };
    for (const Row& row : rows) {
        const F2fsVolume v = of(row.source, row.options);
        EXPECT_EQ(v.addressesInInode, row.addresses) << row.options;
        EXPECT_EQ(v.folderAddressesInInode, row.folderAddresses) << row.options;
        EXPECT_EQ(v.inlineDataBytes, row.inlineBytes) << row.options;
        EXPECT_EQ(v.inlineDentries, row.inlineDentries) << row.options;
        EXPECT_EQ(v.featuresRead, row.featuresRead) << row.options;
    }
    const F2fsFeatures listed = parseF2fsFeatureList("extra_attr, flexible_inline_xattr, compression\n");
    EXPECT_TRUE(listed.extraAttributes && listed.flexibleInlineXattr && listed.compression);
    EXPECT_FALSE(parseF2fsFeatureList("encryption\n").extraAttributes);

    // A file of 2,500 blocks takes two direct nodes beside its inode: the
    // copy takes five nodes (with its folder's and the target folder's)
    // where it makes two entries.
    TempTree source;
    source.file("copy/big", 2500 * 4096);
    TargetDrive drive{"f2fs", "f2fs", 4096, 1LL << 40, VolumeFormat{}};
    drive.format->kind = VolumeFormat::Kind::F2fs;
    drive.format->f2fs = F2fsVolume{};
    drive.freeInodes = 4;
    TargetCount count(drive);
    CompleteWalk walk(4096, 4096, nullptr, count.observer());
    walk.setKeepCreationOrder(count.wantsCreationOrder());
    walk.run(source.path("copy"));
    EXPECT_TRUE(count.countsInodes());
    EXPECT_EQ(count.neededEntries(), 5);
    source.file("huge/file", F2fsCopy::LargestFileBytes + 1);
    const auto huge = f2fsCount(F2fsVolume{}, source.path("huge"));
    ASSERT_EQ(huge->blocked().size(), 1u);
    EXPECT_EQ(huge->blocked()[0].reason, BlockReason::FileTooLargeForTarget);
    TargetCheck check;
    check.drive = drive;
    check.neededEntries = count.neededEntries();
    check.countsInodes = true;
    ASSERT_EQ(check.limitsReached().size(), 1u);
    EXPECT_EQ(check.limitsReached()[0].limit, CopyLimit::Inodes);
}
