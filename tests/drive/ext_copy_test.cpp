// --target on ext2/3/4 against real copies: images made by mke2fs, mounted
// by the kernel's driver on a loop device or served by fuse2fs, copied into
// by GNU cp, and the blocks and inodes the copy took read back from the
// volume (statvfs after the volume is synced) and compared with the count.
// Where the count asks for exactly the room it needs, a volume filled to
// that room takes the copy and one with a block (or an inode) less refuses it.
#include "copy_trees.h"
#include "mount_rig.h"
#include "temp_tree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace dorvelix::testing;

namespace {

enum class Writer { Kernel, Fuse2fs };

const char* writerName(Writer w)
{
    return w == Writer::Kernel ? "kernel" : "fuse2fs";
}

// A file of length bytes that are all written (cp copies no holes then).
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

// A fresh sparse image made by mke2fs with these options; "" when it
// cannot be made.
std::string image(const TempTree& images, const std::vector<std::string>& options, const char* size)
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

// What the volume has free once everything written is on it, in blocks and inodes.
struct Free {
    long long blocks = 0, available = 0, inodes = 0, unit = 0;
};

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

// Fills the volume with files of allocated blocks until exactly target
// blocks are free to the user.
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

// Makes empty files until exactly target inodes are free.
bool fillInodesTo(const std::string& mount, long long target)
{
    const std::string folder = mount + "/inode_filler";
    ::mkdir(folder.c_str(), 0755);
    for (long long i = 0, more = freeOn(mount).inodes - target; i < more; ++i)
        ::close(::open((folder + "/" + std::to_string(i)).c_str(), O_WRONLY | O_CREAT, 0644));
    return freeOn(mount).inodes == target;
}

bool toolsMissing(std::string& why)
{
    if (runTool({"mke2fs", "-V"}).status != 0) {
        why = "mke2fs (Debian package e2fsprogs) is missing";
        return true;
    }
    return false;
}

}  // namespace

// Each tree copied into a folder of its own on one volume of each kind,
// by the kernel and by fuse2fs: where the superblock is read the count is
// what the kernel takes, and what fuse2fs takes with the blocks it wants
// free ahead of its last operations. A user who cannot read the device
// gets a bound never under what the copy takes.
TEST(ExtCopy, CountIsWhatTheDriverTakesToTheBlock)
{
    std::string why;
    if (toolsMissing(why))
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
            const std::string img = image(images, kind.options, "600M");
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
    if (toolsMissing(why))
        GTEST_SKIP() << why;
    TempTree source;
    TinyFiles.make(source);
    const std::string copy = source.path("copy");
    for (const Writer writer : {Writer::Kernel, Writer::Fuse2fs}) {
        for (const bool inodes : {false, true}) {
            for (const long long less : {0, 1}) {
                SCOPED_TRACE(std::string(writerName(writer)) + (inodes ? ", inodes" : ", blocks") + (less ? ", one less" : ", exactly"));
                TempTree images;
                const std::string img = image(images, {"-t", "ext4", "-b", "4096", "-m", "0", "-N", "1024"}, "64M");
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

// 8,000 empty files on a 16 MiB ext4 of 4,096 inodes: the blocks would do,
// the inodes run out after the 4,084th file.
TEST(ExtCopy, InodesRunOutBeforeBlocks)
{
    std::string why;
    if (toolsMissing(why))
        GTEST_SKIP() << why;
    TempTree source, images;
    for (int i = 0; i < 8000; ++i)
        source.file("copy/" + named("empty_file_%08d", i));
    const std::string img = image(images, {"-t", "ext4", "-N", "4096"}, "16M");
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
    if (toolsMissing(why))
        GTEST_SKIP() << why;
    constexpr long long Longest = 17247252480;
    TempTree source, images;
    source.file("copy/longest", Longest);
    source.file("copy/deeper/too long", Longest + 1);
    const std::string img = image(images, {"-t", "ext2", "-b", "1024"}, "64M");
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
    if (toolsMissing(why))
        GTEST_SKIP() << why;
    constexpr int Names = 24000;
    TempTree source, images;
    for (int i = 0; i < Names; ++i)
        source.file("copy/" + named("%06d", i) + std::string(249, 'n'));
    const std::string img = image(images, {"-t", "ext4", "-b", "1024", "-N", "32768"}, "128M");
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
    if (toolsMissing(why))
        GTEST_SKIP() << why;
    TempTree source, images;
    dataFile(source, "copy/data", 10000);
    const std::string img = image(images, {"-t", "ext4", "-b", "4096"}, "64M");
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
