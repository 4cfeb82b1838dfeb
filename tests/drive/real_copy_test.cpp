// --target against real copies: FAT32 and exFAT images made by mkfs.fat and
// mkfs.exfat, filled by real writers (mtools' mcopy; mount.exfat-fuse on a
// loop device), the clusters in use read back from the images and compared
// with the prediction to the cluster; and the lengths and room the
// formatting tools leave.
#include "cluster_lengths.h"
#include "copy_trees.h"
#include "fat_copy_rig.h"
#include "mount_rig.h"
#include "temp_tree.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <set>

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

// The trees a user copies to a stick or card, each in a folder "copy".
struct SampleTree {
    const char* what;
    std::function<void(const TempTree&)> make;
};

const SampleTree Trees[] = {
    // (Numbered in front: mcopy looks for a free numbered 8.3 name one by
    // one, and 2,000 names sharing their first six characters take it
    // minutes.)
    {"2,000 photo names of 23 characters",
     [](const TempTree& t) {
         for (int i = 0; i < 2000; ++i)
             t.file("copy/" + numbered("%06d_IMG_20240101.jpg", i), 100);
     }},
    {"long, mixed-case, Japanese, empty and deep names",
     [](const TempTree& t) {
         for (const char* name : {"Mixed Case Name.txt", "日本語のファイル名.txt", "Readme.Md",
                                  "a name that is quite long indeed, longer than 26 characters.txt"})
             t.file(std::string("copy/") + name, 6);
         t.file("copy/EmptyFile.Dat", 0);
         t.folder("copy/Empty Folder");
         t.file("copy/サブ/写真.jpg", 5000);
         t.file("copy/deep/Level2/Level3/Big.Bin", 100000);
     }},
    {"tables that fill their clusters exactly, and one entry set more",
     [](const TempTree& t) {
         // 20-character names: 3 FAT entries (42 of them and "." and "..":
         // 128), 4 exFAT entries (32 of them: 128).
         for (int i = 0; i < 42; ++i)
             t.file("copy/fat_full/" + numbered("Exactly_20_chars_%03d", i), 1);
         for (int i = 0; i < 43; ++i)
             t.file("copy/fat_over/" + numbered("Exactly_20_chars_%03d", i), 1);
         for (int i = 0; i < 32; ++i)
             t.file("copy/exfat_full/" + numbered("Exactly_20_chars_%03d", i), 1);
         for (int i = 0; i < 33; ++i)
             t.file("copy/exfat_over/" + numbered("Exactly_20_chars_%03d", i), 1);
     }},
};

// The kernel's own FAT and exFAT drivers, which these tests cannot always load.
void sayWhichKernelDriversAreMissing()
{
    QFile filesystems(QStringLiteral("/proc/filesystems"));
    const QByteArray known = filesystems.open(QIODevice::ReadOnly) ? filesystems.readAll() : QByteArray();
    for (const char* driver : {"vfat", "exfat"}) {
        if (!known.contains(QByteArray("\t") + driver + "\n"))
            std::cout << "note: the kernel's " << driver
                      << " is not loaded here; its rules are checked through the mount options given to the "
                         "program, the copies are made by mtools and mount.exfat-fuse\n";
    }
}

}  // namespace

TEST(RealCopy, Fat32PredictionIsWhatMcopyTakesToTheCluster)
{
    sayWhichKernelDriversAreMissing();
    for (const SampleTree& tree : Trees) {
        SCOPED_TRACE(tree.what);
        TempTree source, images;
        tree.make(source);
        const std::string image = fat32Image(images, "fat32.img");
        if (image.empty())
            GTEST_SKIP() << "mkfs.fat (Debian package dosfstools) is missing";
        QJsonObject t;
        {
            std::string why;
            const auto fat = TestMount::fusefat(image, why);
            if (!fat)
                GTEST_SKIP() << why;
            t = targetOf(fat->path(), source.path("copy"));
        }
        EXPECT_EQ(t["file_system"].toString(), "FAT32");
        EXPECT_TRUE(t["estimate_exact"].toBool()) << t["estimate_note"].toString().toStdString();
        EXPECT_TRUE(t["estimate_note"].toString().startsWith("fusefat: a long name for every name"));
        // Every name of these trees is long or mixed in case: mcopy writes a
        // long name for each, as fusefat would.
        EXPECT_EQ(t["needed_bytes"].toInteger(), bytesTaken(image, [&] { return mcopy(image, source.path("copy")); }));
    }
}

TEST(RealCopy, ExfatPredictionIsWhatMountExfatFuseTakesToTheCluster)
{
    std::vector<SampleTree> trees(std::begin(Trees), std::end(Trees));
    trees.push_back({"3,000 small files", [](const TempTree& t) {
                         for (int i = 0; i < 3000; ++i)
                             t.file("copy/" + numbered("file_%04d.txt", i), 10);
                     }});
    for (const SampleTree& tree : trees) {
        SCOPED_TRACE(tree.what);
        TempTree source, images;
        tree.make(source);
        const std::string image = exfatImage(images, "300M", "4096");
        if (image.empty())
            GTEST_SKIP() << "mkfs.exfat (Debian package exfatprogs) is missing";
        QJsonObject t;
        std::string why;
        const long long taken = bytesTaken(image, [&] {
            // Unmounted before the image is read back.
            const auto exfat = TestMount::exfatFuse(image, why);
            if (exfat)
                t = targetOf(exfat->path(), source.path("copy"));
            return exfat && runTool({"cp", "-r", source.path("copy"), exfat->path()}).status == 0;
        });
        ASSERT_TRUE(why.empty()) << why;
        EXPECT_EQ(t["file_system"].toString(), "exFAT");
        EXPECT_TRUE(t["estimate_exact"].toBool());
        EXPECT_TRUE(t["estimate_note"].toString().startsWith("exFAT (fuseblk)"));
        EXPECT_EQ(t["needed_bytes"].toInteger(), taken);
    }
}

// What fails on exFAT fails there whichever driver mounts it.
TEST(RealCopy, WhatWillNotCopyToExfatThroughFuse)
{
    TempTree source, images;
    source.file("copy/a:b.txt", 1);
    source.file("copy/What?.txt", 1);
    source.file("copy/README.TXT", 1);
    source.file("copy/Readme.txt", 1);
    source.file("copy/big", 5LL << 30);  // exFAT takes files of 4 GiB and more
    std::filesystem::create_symlink("README.TXT", source.path("copy/link"));
    const std::string image = exfatImage(images, "64M");
    if (image.empty())
        GTEST_SKIP() << "mkfs.exfat (Debian package exfatprogs) is missing";
    std::string why;
    const auto exfat = TestMount::exfatFuse(image, why);
    if (!exfat)
        GTEST_SKIP() << why;
    const QJsonObject t = targetOf(exfat->path(), source.path("copy"));
    std::set<std::pair<QString, QString>> blocked;
    for (const QJsonValue& b : t["blocked"].toArray())
        blocked.insert({b["path"].toString(), b["reason"].toString()});
    const std::set<std::pair<QString, QString>> expected{{"a:b.txt", "forbidden_character"},
                                                         {"What?.txt", "forbidden_character"},
                                                         {"Readme.txt", "case_collision"},
                                                         {"link", "symbolic_link"}};
    EXPECT_EQ(blocked, expected);
    EXPECT_FALSE(t["fits"].toBool());
}

// With exactly the predicted room left the copy succeeds; with one cluster
// less the report says it does not fit, and the copy fails.
TEST(RealCopy, FitsAgreesWithTheCopyAtTheExactBoundary)
{
    for (const long long spare : {0LL, -1LL}) {
        SCOPED_TRACE(spare);
        TempTree source, images;
        Trees[1].make(source);
        // FAT32 of 512-byte clusters: the smallest volume to fill.
        const std::string image = fat32Image(images, "small.img", "40", "1");
        if (image.empty())
            GTEST_SKIP() << "mkfs.fat (Debian package dosfstools) is missing";
        std::string why;
        auto fat = TestMount::fusefat(image, why);
        if (!fat)
            GTEST_SKIP() << why;
        const QJsonObject empty = targetOf(fat->path(), source.path("copy"));
        fat.reset();
        const long long cluster = empty["cluster_length"].toInteger();
        const long long filler = empty["free_bytes"].toInteger() - empty["needed_bytes"].toInteger() - spare * cluster;
        source.fileWith("filler.bin", std::string(static_cast<size_t>(filler), 'x'));
        ASSERT_TRUE(mcopy(image, source.path("filler.bin")));

        fat = TestMount::fusefat(image, why);
        ASSERT_TRUE(fat) << why;
        const QJsonObject t = targetOf(fat->path(), source.path("copy"));
        fat.reset();
        EXPECT_EQ(t["free_bytes"].toInteger() - t["needed_bytes"].toInteger(), spare * cluster);
        EXPECT_EQ(t["fits"].toBool(), spare == 0);
        EXPECT_EQ(mcopy(image, source.path("copy")), spare == 0);
    }
}

// --lengths counts each length as --target counts a copy to a volume of that
// length, FAT32 and exFAT in one walk.
TEST(RealCopy, EveryLengthIsWhatTargetCountsOnARealVolume)
{
    TempTree source;
    Trees[1].make(source);
    const ToolRun run = runTool({DORVELIX_REPORT, "--json", "--lengths", source.path("copy")});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonArray lengths = QJsonDocument::fromJson(QByteArray::fromStdString(run.out))["lengths"].toArray();
    ASSERT_EQ(lengths.size(), 17);
    std::map<long long, QJsonObject> byLength;
    for (const QJsonValue& row : lengths)
        byLength[row["cluster_length"].toInteger()] = row.toObject();
    EXPECT_TRUE(byLength.count(512) && byLength.count(32 << 20));
    EXPECT_TRUE(byLength[131072]["fat32_bytes"].isNull());

    // Each volume's own count: every name of this tree takes a long name,
    // with fusefat as with vfat.
    const auto fusefat = [](const std::string& image, std::string& why) { return TestMount::fusefat(image, why); };
    const auto exfatFuse = [](const std::string& image, std::string& why) { return TestMount::exfatFuse(image, why); };
    struct Volume {
        const char* key;
        std::function<std::string(const TempTree&)> make;
        std::function<std::unique_ptr<TestMount>(const std::string&, std::string&)> mount;
    };
    const Volume volumes[] = {
        {"fat32_bytes", [](const TempTree& i) { return fat32Image(i, "fat32.img", "300", "1"); }, fusefat},
        {"fat32_bytes", [](const TempTree& i) { return fat32Image(i, "fat32.img", "300", "8"); }, fusefat},
        {"exfat_bytes", [](const TempTree& i) { return exfatImage(i, "300M", "4096"); }, exfatFuse},
        {"exfat_bytes", [](const TempTree& i) { return exfatImage(i, "300M", "32768"); }, exfatFuse},
    };
    for (const Volume& volume : volumes) {
        TempTree images;
        const std::string image = volume.make(images);
        if (image.empty())
            GTEST_SKIP() << "mkfs.fat or mkfs.exfat (Debian packages dosfstools, exfatprogs) is missing";
        std::string why;
        const auto mounted = volume.mount(image, why);
        if (!mounted)
            GTEST_SKIP() << why;
        const QJsonObject t = targetOf(mounted->path(), source.path("copy"));
        EXPECT_EQ(byLength[t["cluster_length"].toInteger()][QLatin1String(volume.key)].toInteger(),
                  t["needed_bytes"].toInteger())
            << volume.key << " at " << t["cluster_length"].toInteger();
    }
}

// The lengths mkfs.fat and mkfs.exfat pick by default, and the room a
// freshly formatted volume leaves, against the tools themselves.
TEST(RealCopy, DefaultLengthsAndFreshRoomAreTheFormattingToolsOwn)
{
    const long long MiB = 1 << 20;
    for (const long long capacity : {64 * MiB, 260 * MiB, 261 * MiB, 1024 * MiB, 9000 * MiB, 20000 * MiB, 40000 * MiB}) {
        SCOPED_TRACE(capacity);
        TempTree images;
        const std::string fat = images.path("fat.img"), exfat = images.path("exfat.img");
        for (const std::string& image : {fat, exfat})
            ASSERT_EQ(runTool({"truncate", "-s", std::to_string(capacity), image}).status, 0);
        if (runTool({"mkfs.fat", "-F", "32", fat}).status != 0 || runTool({"mkfs.exfat", exfat}).status != 0)
            GTEST_SKIP() << "mkfs.fat or mkfs.exfat (Debian packages dosfstools, exfatprogs) is missing";
        const auto checkRoom = [&](const UsedClusters& made, std::optional<long long> model) {
            ASSERT_TRUE(model);
            const long long room = (made.clusters - made.used) * made.clusterLength;
            EXPECT_LE(*model, room);  // never more room than the tool leaves
            EXPECT_LE(room - *model, 2 * made.clusterLength + MiB);
        };
        const auto madeFat = usedClusters(fat);
        const auto madeExfat = usedClusters(exfat);
        ASSERT_TRUE(madeFat && madeExfat);
        EXPECT_EQ(madeFat->clusterLength, defaultFat32Length(capacity));
        EXPECT_EQ(madeExfat->clusterLength, defaultExfatLength(capacity));
        checkRoom(*madeFat, freshFat32FreeBytes(capacity, madeFat->clusterLength));
        checkRoom(*madeExfat, freshExfatFreeBytes(capacity, madeExfat->clusterLength));
    }
    // FAT32 at a chosen length, to the cluster: also 512-byte clusters on a
    // large volume, and fewer clusters than FAT32's type rule asks for,
    // which mkfs.fat -F 32 still makes (and Linux mounts as FAT32).
    const std::pair<long long, long long> chosen[] = {
        {31LL << 30, 512}, {100 * MiB, 32768}, {4 * MiB, 65536}, {1LL << 30, 16384}, {300 * MiB, 2048}};
    for (const auto& [capacity, length] : chosen) {
        SCOPED_TRACE(std::to_string(capacity) + " bytes at " + std::to_string(length));
        TempTree images;
        const std::string fat = images.path("fat.img");
        ASSERT_EQ(runTool({"truncate", "-s", std::to_string(capacity), fat}).status, 0);
        ASSERT_EQ(runTool({"mkfs.fat", "-F", "32", "-s", std::to_string(length / 512), fat}).status, 0);
        const auto made = usedClusters(fat);
        ASSERT_TRUE(made);
        EXPECT_EQ(freshFat32FreeBytes(capacity, length), (made->clusters - made->used) * length);
    }
    EXPECT_FALSE(freshFat32FreeBytes(2LL << 40, 512));  // more clusters than FAT32 numbers
}

// The fixed root table of FAT12/16 holds a label only where one was given:
// a copy into the root needs its folder's entries free side by side.
TEST(RealCopy, ARootTableWithRoomForTheFolderTakesItLabelOrNot)
{
    TempTree source;
    source.file("Copy/a.txt", 1);  // a mixed-case name: two entries, as fusefat and mcopy write it
    for (const bool label : {false, true}) {
        SCOPED_TRACE(label ? "with a label" : "without a label");
        TempTree images;
        const std::string image = images.path("fat16.img");
        std::vector<std::string> mkfs{"mkfs.fat", "-F", "16", "-r", "512", "-C", image, "16384"};
        if (label)
            mkfs.insert(mkfs.begin() + 1, {"-n", "LABEL"});
        if (runTool(mkfs).status != 0)
            GTEST_SKIP() << "mkfs.fat (Debian package dosfstools) is missing";
        // 510 upper-case 8.3 names, one entry each: two slots left, or one
        // beside the label.
        for (int i = 0; i < 510; ++i)
            source.file("root/" + numbered("F%03d.TXT", i), 0);
        ::setenv("MTOOLS_SKIP_CHECK", "1", 1);
        std::vector<std::string> fill{"mcopy", "-i", image};
        for (int i = 0; i < 510; ++i)
            fill.push_back(source.path("root/" + numbered("F%03d.TXT", i)));
        fill.push_back("::/");
        ASSERT_EQ(runTool(fill).status, 0);
        std::string why;
        auto fat = TestMount::fusefat(image, why);
        if (!fat)
            GTEST_SKIP() << why;
        const QJsonObject t = targetOf(fat->path(), source.path("Copy"));
        fat.reset();
        bool rootFull = false;
        for (const QJsonValue& b : t["blocked"].toArray())
            rootFull = rootFull || b["reason"].toString() == "root_table_full";
        EXPECT_EQ(rootFull, label);
        EXPECT_EQ(mcopy(image, source.path("Copy")), !label);
    }
}
