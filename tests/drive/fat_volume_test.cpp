// FAT volumes: boot sectors of images made by mkfs.fat, and FAT images
// mounted by fusefat, as the drive panel and the report show them, also
// when the driver dies or stands still.
#include "box_names.h"
#include "drive_panel_rig.h"
#include "fat_images.h"
#include "fat_volume.h"
#include "fuse_source.h"
#include "mount_rig.h"
#include "mount_table.h"
#include "number_format.h"
#include "temp_tree.h"
#include "value_boxes.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace dorvelix;
using namespace dorvelix::testing;

TEST(FatBootSector, ImagesOfEachFatTypeAndTheirFreeClusters)
{
    TempTree tree;
    struct Case {
        const char* bits;
        int sizeKiB;
        int expectedBits;
    };
    for (const Case c : {Case{"12", 1440, 12}, {"16", 16384, 16}, {"32", 65536, 32}}) {
        std::string why;
        const std::string image = makeFatImage(tree, c.bits, c.sizeKiB, why);
        if (image.empty())
            GTEST_SKIP() << why;
        const auto layout = readFatLayout(image);
        ASSERT_TRUE(layout) << c.bits;
        EXPECT_EQ(layout->bits, c.expectedBits);
        EXPECT_EQ(layout->bytesPerSector, 512);
        const auto free = countFreeClusters(image, *layout);
        ASSERT_TRUE(free) << c.bits;
        EXPECT_EQ(*free * layout->bytesPerSector * layout->sectorsPerCluster, mtoolsFreeBytes(image)) << c.bits;
        EXPECT_LT(*free, layout->clusters);
    }
}

TEST(FatBootSector, RefusesSectorsOfOtherFileSystems)
{
    TempTree tree;
    std::string why;
    const std::string image = makeFatImage(tree, "32", 65536, why);
    if (image.empty())
        GTEST_SKIP() << why;
    unsigned char sector[512];
    std::ifstream(image, std::ios::binary).read(reinterpret_cast<char*>(sector), sizeof sector);
    ASSERT_TRUE(parseFatBootSector(sector, sizeof sector));

    unsigned char ntfs[512];  // NTFS keeps no reserved sectors
    std::copy(std::begin(sector), std::end(sector), ntfs);
    ntfs[14] = ntfs[15] = 0;
    EXPECT_FALSE(parseFatBootSector(ntfs, sizeof ntfs));
    unsigned char exfat[512];  // exFAT zeroes the whole old parameter block
    std::copy(std::begin(sector), std::end(sector), exfat);
    std::fill(exfat + 11, exfat + 64, 0);
    EXPECT_FALSE(parseFatBootSector(exfat, sizeof exfat));
    const unsigned char blank[512] = {};
    EXPECT_FALSE(parseFatBootSector(blank, sizeof blank));
    EXPECT_FALSE(parseFatBootSector(sector, 100));
    EXPECT_FALSE(readFatLayout(tree.path("missing.img")));
}

TEST(Fat32Volume, FusefatMountShowsTheFat32Panel)
{
    TempTree tree;
    std::string why;
    const std::string image = makeFatImage(tree, "32", 65536, why);
    if (image.empty())
        GTEST_SKIP() << why;
    const auto layout = readFatLayout(image);
    ASSERT_TRUE(layout);
    const long long freeBytes = mtoolsFreeBytes(image);
    const auto mount = TestMount::fusefat(image, why);
    if (!mount)
        GTEST_SKIP() << why;

    QString name;
    ASSERT_TRUE(systemVolumes().fileSystemName(mount->path(), name));
    EXPECT_EQ(name, "FAT32");
    const Panel p(mount->path());
    ASSERT_TRUE(p.shown);
    const long long totalBytes = layout->clusters * layout->bytesPerSector * layout->sectorsPerCluster;
    EXPECT_EQ(p.box(Box::FileSystem), "FAT32");
    EXPECT_EQ(p.box(Box::BytesPerSector), " 512 ");
    EXPECT_EQ(p.form.clusterLength, 4096);  // below 8,600,000,000 bytes
    EXPECT_EQ(p.box(Box::SectorsPerCluster), " 8 ");
    EXPECT_EQ(p.box(Box::TotalBytes), formatNumber(totalBytes));
    EXPECT_EQ(p.box(Box::FreeBytes), formatNumber(freeBytes));
    EXPECT_EQ(p.box(Box::UsedBytes), formatNumber(totalBytes - freeBytes));
    EXPECT_EQ(p.form.totalClusterCount, (totalBytes * 2 + 4096) / 8192);  // nearest whole (no ties here)
    EXPECT_EQ(p.window.messages.size(), 0);
}

TEST(FatVolume, FusefatMountCountsInTheVolumesOwnClusterLength)
{
    TempTree tree;
    std::string why;
    const std::string image = makeFatImage(tree, "16", 16384, why, "4");  // 4 × 512 = 2,048-byte clusters
    if (image.empty())
        GTEST_SKIP() << why;
    const auto mount = TestMount::fusefat(image, why);
    if (!mount)
        GTEST_SKIP() << why;
    const Panel p(mount->path());
    ASSERT_TRUE(p.shown);
    EXPECT_EQ(p.box(Box::FileSystem), "FAT16");
    EXPECT_EQ(p.form.clusterLength, 2048);
    EXPECT_EQ(p.box(Box::SectorsPerCluster), " 4 ");

    // The search counts at it: 10,000 and 70,000 bytes take 5 and 35 clusters.
    const ToolRun run = runTool({DORVELIX_REPORT, "--json", mount->path()});
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    EXPECT_EQ(json.value(u"drive").toObject().value(u"cluster_length").toInt(), 2048) << run.out;
    EXPECT_EQ(json.value(u"folder").toObject().value(u"clusters").toInt(), 40) << run.out;
}

// A FAT volume whose driver has died, or stands still: no medium. The one
// that stands still is waited for 2 s once, and not at all while that query
// is still pending.
TEST(FatVolume, DriveWhoseDriverDiedOrHangsHasNoMedium)
{
    TempTree tree;
    std::string why;
    const std::string image = makeFatImage(tree, "32", 65536, why);
    if (image.empty())
        GTEST_SKIP() << why;
    const auto dead = TestMount::fusefat(image, why);
    if (!dead)
        GTEST_SKIP() << why;
    const auto hung = TestMount::fusefat(image, why);
    ASSERT_TRUE(hung) << why;
    const QString deadText = driveTextOf(dead->path()), hungText = driveTextOf(hung->path());
    ASSERT_EQ(deadText.toStdString(), dead->path() + " [fusefat]");
    dead->killDriver();
    hung->stopDriver();

    const std::pair<QString, int> queries[] = {{deadText, 500}, {hungText, 5000}, {hungText, 500}};
    for (const auto& [text, limitMs] : queries) {
        FormState form;
        RecordingWindow window;
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(DriveQuery(form, window, window, systemVolumes()).showDriveInfo(text)) << text.toStdString();
        EXPECT_LT(clock.elapsed(), limitMs);
        EXPECT_EQ(window.messages, QStringList{text + " メディア未挿入？"});
        EXPECT_EQ(window.box(Box::TotalClusters), "- ");
    }
}

// Only the driver that serves a FAT mount is believed about its image: a
// process of another user that names another image and the mount point on
// its command line and holds that image open changes nothing, for the panel
// nor for the image the mount is read from.
TEST(FatVolume, OnlyTheMountsOwnDriverNamesItsImage)
{
    TempTree tree;
    std::string why;
    const std::string image = makeFatImage(tree, "16", 16384, why, "4");
    if (image.empty())
        GTEST_SKIP() << why;
    const std::string wrong = tree.path("wrong.img");
    ASSERT_EQ(runTool({"mkfs.fat", "-F", "12", "-C", wrong, "1440"}).status, 0);
    ::chmod(tree.root().c_str(), 0755);
    ::chmod(wrong.c_str(), 0644);
    const auto mount = TestMount::fusefat(image, why);
    if (!mount)
        GTEST_SKIP() << why;

    // User nobody's shell, started in the images' folder: "sh -c … sh wrong.img MOUNT".
    std::vector<std::string> args{"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "sh", "-c",
                                  "exec 3<\"$1\"; while :; do sleep 1; done", "sh", "wrong.img", mount->path()};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, tree.root().c_str());
    pid_t impostor = -1;
    const int rc = ::posix_spawnp(&impostor, "setpriv", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        GTEST_SKIP() << "setpriv (Debian package util-linux) cannot be run";
    const std::shared_ptr<void> stopImpostor(nullptr, [impostor](void*) {
        ::kill(impostor, SIGKILL);
        ::waitpid(impostor, nullptr, 0);
    });
    // Ready once the shell holds the image open.
    const std::string impostorImage = "/proc/" + std::to_string(impostor) + "/fd/3";
    std::error_code ec;
    for (int i = 0; i < 500 && !std::filesystem::read_symlink(impostorImage, ec).native().ends_with("/wrong.img"); ++i)
        ::usleep(10000);

    const auto real = readFatLayout(image);
    ASSERT_TRUE(real);
    const Panel p(mount->path());
    EXPECT_TRUE(p.shown);
    EXPECT_EQ(p.form.totalClusterCount, real->clusters);
    EXPECT_EQ(p.form.clusterLength, 2048);

    const std::vector<MountEntry> table = readMountTable();
    const MountEntry* entry = mountHolding(table, mount->path());
    ASSERT_TRUE(entry);
    const VolumeFile held = openFuseDriverImage(*entry);
    struct stat heldStat {}, imageStat {};
    ASSERT_TRUE(held);
    ASSERT_EQ(::fstat(held.fd(), &heldStat), 0);
    ASSERT_EQ(::stat(image.c_str(), &imageStat), 0);
    EXPECT_EQ(heldStat.st_ino, imageStat.st_ino);
}
