// --target on ext2/3/4 against real copies: images made by mke2fs, mounted
// by the kernel's driver on a loop device or served by fuse2fs, copied into
// by GNU cp, and the blocks and inodes the copy took read back from the
// volume (statvfs after the volume is synced) and compared with the count.
// Where the count asks for exactly the room it needs, a volume filled to
// that room takes the copy and one with a block (or an inode) less refuses it.
#include "copy_trees.h"
#include "ext_volume_rig.h"
#include "mount_rig.h"
#include "temp_tree.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvelix::testing;

namespace {

std::string randomName(std::mt19937& random, int length)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz_-";
    std::string name;
    for (int i = 0; i < length; ++i)
        name += letters[random() % (sizeof letters - 1)];
    return name;
}

// The trees a copy is checked with, each in a folder "copy".
struct SampleTree {
    const char* what;
    std::function<void(const TempTree&)> make;
};

const SampleTree EmptyFiles{"1,500 empty files in one folder", [](const TempTree& t) {
                          for (int i = 0; i < 1500; ++i)
                              t.file("copy/" + named("empty_file_%08d", i));
                      }};
const SampleTree TinyFiles{"files of 0 to 1,500 bytes, around what an inode holds", [](const TempTree& t) {
                         for (int size = 0, i = 0; size < 1500; size += 8, ++i)
                             dataFile(t, "copy/" + named("t%03d_", i) + std::to_string(size), size);
                         for (int n = 1; n < 121; n += 7)
                             dataFile(t, "copy/names/" + std::string(static_cast<size_t>(n), 'n'), 700);
                     }};
const SampleTree LongNames{"long and Japanese names, links, a FIFO, deep folders", [](const TempTree& t) {
                         dataFile(t, "copy/" + std::string(255, 'L'), 10);
                         std::string kanji;
                         for (int i = 0; i < 85; ++i)
                             kanji += "長";
                         dataFile(t, "copy/" + kanji, 10);
                         for (const char* name : {"日本語のファイル名.txt", "Mixed Case Name.txt", "README.TXT", "readme.txt", "写真"})
                             dataFile(t, std::string("copy/") + name, 100);
                         dataFile(t, "copy/サブフォルダ/深い/さらに深い/file", 5000);
                         ::symlink("README.TXT", t.path("copy/short_link").c_str());
                         ::symlink(std::string(200, 'x').c_str(), t.path("copy/long_link").c_str());
                         ::mkfifo(t.path("copy/a_fifo").c_str(), 0644);
                     }};
const SampleTree WideFolder{"1,500 names of 5 to 60 characters in one folder", [](const TempTree& t) {
                          std::mt19937 random(7);
                          for (int i = 0; i < 1500; ++i) {
                              const int length = 5 + static_cast<int>(random() % 56);
                              dataFile(t, "copy/" + named("%05d_", i) + randomName(random, length - 6),
                                       static_cast<long long>(random() % 301));
                          }
                      }};
const SampleTree MixedTree{"a mixed tree of 500 entries up to 2 MB, six levels deep", [](const TempTree& t) {
                         std::mt19937 random(31);
                         std::lognormal_distribution<double> sizes(7.5, 2.5);
                         int count = 0;
                         std::function<void(const std::string&, int)> fill = [&](const std::string& path, int depth) {
                             t.folder(path);
                             for (int i = 0, n = 3 + static_cast<int>(random() % 20); i < n && count < 500; ++i, ++count)
                                 dataFile(t, path + "/" + named("file_%d_", i) + std::to_string(random() % 99999) + ".dat",
                                          static_cast<long long>(std::min(2e6, sizes(random))));
                             for (int i = 0, n = depth < 6 ? static_cast<int>(random() % 5) : 0; i < n && count < 500; ++i, ++count)
                                 fill(path + "/" + named("dir_%d_", depth) + std::to_string(i), depth + 1);
                         };
                         for (int top = 0; count < 500; ++top, ++count)
                             fill("copy/" + named("top_%d", top), 1);
                     }};

}  // namespace

// Each tree copied into a folder of its own on one volume of each kind,
// by the kernel and by fuse2fs: where the superblock is read the count is
// what the kernel takes, and what fuse2fs takes with the blocks it wants
// free ahead of its last operations. A user who cannot read the device
// gets a bound never under what the copy takes.
TEST(ExtCopy, CountIsWhatTheDriverTakesToTheBlock)
{
    std::string why;
    if (mke2fsMissing(why))
        GTEST_SKIP() << why;
    struct Kind {
        const char* what;
        std::vector<std::string> options;
        const char* type;
        std::vector<const SampleTree*> trees;         // copied by the kernel
        std::vector<const SampleTree*> fuse2fsTrees;  // fuse2fs takes some 3 ms an entry
    };
    const std::vector<Kind> kinds{
        {"ext4, Debian's defaults", {"-t", "ext4"}, "ext4", {&EmptyFiles, &TinyFiles, &LongNames, &WideFolder, &MixedTree},
         {&TinyFiles, &LongNames, &WideFolder, &MixedTree}},
        {"ext4, 1 KiB blocks", {"-t", "ext4", "-b", "1024"}, "ext4", {&EmptyFiles, &TinyFiles, &WideFolder, &MixedTree}, {&TinyFiles}},
        {"ext4, inline_data", {"-t", "ext4", "-O", "inline_data"}, "ext4", {&EmptyFiles, &TinyFiles, &LongNames, &WideFolder},
         {&TinyFiles, &LongNames}},
        {"ext2", {"-t", "ext2"}, "ext2", {&TinyFiles, &WideFolder, &MixedTree}, {&TinyFiles}},
        {"ext3, 1 KiB blocks", {"-t", "ext3", "-b", "1024"}, "ext3", {&LongNames, &WideFolder}, {&LongNames}},
    };
    std::map<const SampleTree*, std::unique_ptr<TempTree>> sources;
    for (const SampleTree* tree : {&EmptyFiles, &TinyFiles, &LongNames, &WideFolder, &MixedTree}) {
        sources[tree] = std::make_unique<TempTree>();
        tree->make(*sources[tree]);
    }
    for (const Kind& kind : kinds) {
        for (const Writer writer : {Writer::Kernel, Writer::Fuse2fs}) {
            SCOPED_TRACE(std::string(kind.what) + ", " + writerName(writer));
            TempTree images;
            const std::string img = extImage(images, kind.options, "600M");
            ASSERT_FALSE(img.empty());
            const auto volume = mountAs(writer, img, kind.type, why);
            if (!volume)
                GTEST_SKIP() << why;
            const std::vector<const SampleTree*>& trees = writer == Writer::Kernel ? kind.trees : kind.fuse2fsTrees;
            for (size_t i = 0; i < trees.size(); ++i) {
                const SampleTree* tree = trees[i];
                SCOPED_TRACE(tree->what);
                const std::string source = sources[tree]->path("copy");
                const std::string into = volume->path() + "/into" + std::to_string(i);
                ::mkdir(into.c_str(), 0755);
                const QJsonObject t = targetOf(into, source);
                const ToolRun asUser = runTool({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                                DORVELIX_REPORT, "--json", "--target", into, source});
                const QJsonObject bound = QJsonDocument::fromJson(QByteArray::fromStdString(asUser.out)).object()["target"].toObject();
                const Free before = freeOn(volume->path());
                EXPECT_TRUE(copies(source, into));
                const Free after = freeOn(volume->path());
                const long long taken = (before.blocks - after.blocks) * before.unit;
                const long long needed = t["needed_bytes"].toInteger();
                EXPECT_TRUE(t["estimate_exact"].toBool());
                if (writer == Writer::Kernel) {
                    EXPECT_EQ(needed, taken);
                } else {
                    EXPECT_GE(needed, taken);
                    EXPECT_LE(needed, taken + 3 * before.unit);
                }
                EXPECT_EQ(t["needed_inodes"].toInteger(), before.inodes - after.inodes);
                // fuse2fs serves only the user who mounted it.
                if (writer == Writer::Kernel && !bound.isEmpty()) {
                    EXPECT_FALSE(bound["estimate_exact"].toBool());
                    EXPECT_GE(bound["needed_bytes"].toInteger(), taken);
                }
                std::cout << kind.what << ", " << writerName(writer) << ", " << tree->what << ": counted "
                          << needed / before.unit << " blocks, taken " << taken / before.unit;
                if (writer == Writer::Kernel)
                    std::cout << ", counted for a user " << bound["needed_bytes"].toInteger() / before.unit;
                std::cout << "\n";
            }
        }
    }
}

// A volume with exactly the room the count asks for takes the copy; with
// one block or one inode less the count says it does not fit, naming what
// runs out, and the copy fails. Made with -m 0, so that root may take no
// more than the blocks free to a user.
TEST(ExtCopy, RoomCountedIsTheBoundaryOfTheCopy)
{
    std::string why;
    if (mke2fsMissing(why))
        GTEST_SKIP() << why;
    TempTree source;
    TinyFiles.make(source);
    const std::string copy = source.path("copy");
    for (const Writer writer : {Writer::Kernel, Writer::Fuse2fs}) {
        for (const bool inodes : {false, true}) {
            for (const long long less : {0, 1}) {
                SCOPED_TRACE(std::string(writerName(writer)) + (inodes ? ", inodes" : ", blocks") + (less ? ", one less" : ", exactly"));
                TempTree images;
                const std::string img = extImage(images, {"-t", "ext4", "-b", "4096", "-m", "0", "-N", "1024"}, "64M");
                ASSERT_FALSE(img.empty());
                const auto volume = mountAs(writer, img, "ext4", why);
                if (!volume)
                    GTEST_SKIP() << why;
                const std::string into = volume->path() + "/into";
                ::mkdir(into.c_str(), 0755);
                const QJsonObject counted = targetOf(into, copy);
                const long long unit = freeOn(volume->path()).unit;
                if (inodes)
                    ASSERT_TRUE(fillInodesTo(volume->path(), counted["needed_inodes"].toInteger() - less));
                else
                    ASSERT_TRUE(fillBlocksTo(volume->path(), counted["needed_bytes"].toInteger() / unit - less));
                const QJsonObject t = targetOf(into, copy);
                EXPECT_EQ(t["needed_bytes"].toInteger(), counted["needed_bytes"].toInteger());
                EXPECT_EQ(t["fits"].toBool(), less == 0);
                EXPECT_EQ(limitsOf(t), less == 0 ? std::vector<std::string>{}
                                                 : std::vector<std::string>{inodes ? "inodes" : "bytes"});
                EXPECT_EQ(copies(copy, into), less == 0);
            }
        }
    }
}
