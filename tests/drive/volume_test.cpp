// The volume layer on real volumes: the mount table, the drive list, FAT boot
// sectors of images made by mkfs.fat, the root file system, tmpfs mounts and
// a FAT32 image mounted by fusefat.
#include "box_names.h"
#include "drive_info.h"
#include "drives.h"
#include "fat_volume.h"
#include "fuse_source.h"
#include "mount_rig.h"
#include "mount_table.h"
#include "number_format.h"
#include "recording_window.h"
#include "temp_tree.h"
#include "value_boxes.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/statvfs.h>
#include <unistd.h>

extern char** environ;

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

struct Panel {
    FormState form;
    RecordingWindow window;
    bool shown = false;
    explicit Panel(const std::string& mountPoint)
    {
        shown = DriveQuery(form, window, window, systemVolumes()).showDriveInfo(driveTextOf(mountPoint));
    }
    QString box(Box b) const { return window.box(b); }
};

// A FAT image of sizeKiB made by mkfs.fat, holding a few files copied in by
// mcopy. Empty when the tools are missing (why says so).
std::string makeFatImage(const TempTree& tree, const char* fatBits, int sizeKiB, std::string& why,
                         const char* sectorsPerCluster = nullptr)
{
    const std::string image = tree.path(std::string("fat") + fatBits + ".img");
    std::vector<std::string> mkfsArgs{"mkfs.fat", "-F", fatBits, "-C", image, std::to_string(sizeKiB)};
    if (sectorsPerCluster)
        mkfsArgs.insert(mkfsArgs.begin() + 3, {"-s", sectorsPerCluster});
    const ToolRun mkfs = runTool(mkfsArgs);
    if (mkfs.status != 0) {
        why = "mkfs.fat (Debian package dosfstools) failed or is missing: " + mkfs.err;
        return {};
    }
    const std::string a = tree.fileWith("a.txt", std::string(10000, 'a'));
    const std::string b = tree.fileWith("b.txt", std::string(70000, 'b'));
    const ToolRun copy = runTool({"mcopy", "-i", image, a, b, "::/"});
    const ToolRun folder = runTool({"mmd", "-i", image, "::/sub"});
    const ToolRun copy2 = runTool({"mcopy", "-i", image, a, "::/sub/"});
    if (copy.status != 0 || folder.status != 0 || copy2.status != 0) {
        why = "mtools (Debian package mtools) failed or is missing: " + copy.err + folder.err + copy2.err;
        return {};
    }
    return image;
}

// The free bytes mtools reports for an image ("66 058 240 bytes free").
long long mtoolsFreeBytes(const std::string& image)
{
    const ToolRun dir = runTool({"mdir", "-i", image, "::/"});
    const auto m = QRegularExpression(QStringLiteral("([\\d ]+) bytes free")).match(QString::fromStdString(dir.out));
    return m.hasMatch() ? m.captured(1).remove(u' ').toLongLong() : -1;
}

}  // namespace

TEST(MountTable, ParsesEscapesOptionalFieldsAndStackedMounts)
{
    const std::string text =
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "22 27 0:21 / /proc rw - proc proc rw\n"
        "45 27 8:17 / /media/my\\040usb rw,relatime shared:7 master:1 - vfat /dev/sdb1 rw\n"
        "46 45 0:40 / /media/my\\040usb rw - tmpfs over rw\n"
        "garbage line\n"
        "47 27 0:41 / /mnt/back\\134slash rw - fuse.sshfs me@host:/x rw";
    const std::vector<MountEntry> t = parseMountInfo(text);
    ASSERT_EQ(t.size(), 5u);
    EXPECT_EQ(t[2].mountPoint, "/media/my usb");
    EXPECT_EQ(t[2].fsType, "vfat");
    EXPECT_EQ(t[2].source, "/dev/sdb1");
    EXPECT_EQ(t[2].major, 8u);
    EXPECT_EQ(t[2].minor, 17u);
    EXPECT_EQ(t[4].mountPoint, "/mnt/back\\slash");
    EXPECT_TRUE(isPseudoFileSystem("proc"));
    EXPECT_FALSE(isPseudoFileSystem("tmpfs"));

    // The visible mount on the longest mount point wins, by whole components.
    EXPECT_EQ(mountHolding(t, "/media/my usb/photos")->source, "over");
    EXPECT_EQ(mountHolding(t, "/media/my usbx")->mountPoint, "/");
    EXPECT_EQ(mountHolding(t, "/")->mountPoint, "/");
    EXPECT_EQ(mountHolding(t, "relative"), nullptr);

    // Only what a path still reaches: "/media/my usb" lies under "over";
    // "/h/x" under the later "/h" (but "/h/y", mounted on it, stays), while
    // "/" lists after the mounts that lie on it and covers none of them.
    const auto visible = visibleMounts(parseMountInfo(
        "21 26 0:20 / /proc rw - proc proc rw\n"
        "26 1 254:0 / / rw - ext4 /dev/vda rw\n"
        "30 26 8:17 / /media/my\\040usb rw - vfat /dev/sdb1 rw\n"
        "31 30 0:40 / /media/my\\040usb rw - tmpfs over rw\n"
        "32 26 0:41 / /h/x rw - tmpfs a rw\n"
        "33 32 0:42 / /h/x/deep rw - tmpfs a2 rw\n"
        "34 26 0:43 / /h rw - tmpfs b rw\n"
        "35 34 0:44 / /h/y rw - tmpfs c rw\n"));
    std::vector<std::string> sources;
    for (const MountEntry& m : visible)
        sources.push_back(m.source);
    EXPECT_EQ(sources, (std::vector<std::string>{"proc", "/dev/vda", "over", "b", "c"}));
}

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

TEST(SystemVolumes, RootFileSystemAgreesWithStatvfs)
{
    struct statvfs before {}, after {};
    VolumeQueries::FreeSpace space;
    VolumeQueries::FreeSpaceEx bytes;
    // Others write to the root file system meanwhile: retry until it holds still.
    for (int attempt = 0; attempt < 20; ++attempt) {
        ASSERT_EQ(::statvfs("/", &before), 0);
        ASSERT_TRUE(systemVolumes().diskFreeSpace("/", space));
        ASSERT_TRUE(systemVolumes().diskFreeSpaceEx("/", bytes));
        ASSERT_EQ(::statvfs("/", &after), 0);
        if (before.f_bavail == after.f_bavail && before.f_bfree == after.f_bfree)
            break;
    }
    const auto fragment = static_cast<std::int64_t>(before.f_frsize);
    EXPECT_EQ(space.bytesPerSector * space.sectorsPerCluster, fragment);
    EXPECT_EQ(space.totalClusters, static_cast<std::int64_t>(before.f_blocks));
    EXPECT_EQ(space.freeClusters, static_cast<std::int64_t>(before.f_bavail));
    EXPECT_EQ(bytes.totalBytes, static_cast<std::int64_t>(before.f_blocks) * fragment);
    EXPECT_EQ(bytes.totalFreeBytes, static_cast<std::int64_t>(before.f_bfree) * fragment);
    EXPECT_EQ(bytes.freeBytesToCaller, static_cast<std::int64_t>(before.f_bavail) * fragment);

    QString name;
    ASSERT_TRUE(systemVolumes().fileSystemName("/", name));
    EXPECT_EQ(name.toStdString(), mountHolding(readMountTable(), "/")->fsType);

    const Panel p("/");
    ASSERT_TRUE(p.shown);
    EXPECT_EQ(p.box(Box::TotalClusters), formatNumber(static_cast<long long>(before.f_blocks)));
    EXPECT_EQ(p.form.clusterLength, fragment);
    EXPECT_EQ(p.box(Box::DriveText), driveTextOf("/"));
}

TEST(SystemVolumes, TmpfsMountedByTheTest)
{
    std::string why;
    const auto mount = TestMount::tmpfs("size=4m", why);
    if (!mount)
        GTEST_SKIP() << why;
    const long page = ::sysconf(_SC_PAGESIZE);
    // A quarter of it used by one file.
    {
        std::ofstream(mount->path() + "/quarter", std::ios::binary) << std::string(1 << 20, 'q');
    }
    const Panel p(mount->path());
    ASSERT_TRUE(p.shown);
    EXPECT_EQ(p.box(Box::DriveText), QString::fromStdString(mount->path()) + " [dorvelix-test]");
    EXPECT_EQ(p.box(Box::FileSystem), "tmpfs");
    EXPECT_EQ(p.form.clusterLength, page);
    EXPECT_EQ(p.form.totalClusterCount, (4 << 20) / page);
    EXPECT_EQ(p.form.freeClusterCount, (3 << 20) / page);
    EXPECT_EQ(p.box(Box::TotalBytes), " 4,194,304 ");
    EXPECT_EQ(p.box(Box::FreeBytes), " 3,145,728 ");
    EXPECT_EQ(p.box(Box::UsedBytes), " 1,048,576 ");
    EXPECT_EQ(p.box(Box::FreeRatio), " 75.0 % ");
}

TEST(SystemVolumes, TmpfsOfMoreThanTwoBillionClustersShowsTrueFigures)
{
    std::string why;
    const auto mount = TestMount::tmpfs("size=20t", why);  // a limit only: no memory is taken
    if (!mount)
        GTEST_SKIP() << why;
    struct statvfs vfs {};
    ASSERT_EQ(::statvfs(mount->path().c_str(), &vfs), 0);
    ASSERT_GT(vfs.f_blocks, 2147483647u);
    const Panel p(mount->path());
    ASSERT_TRUE(p.shown);
    EXPECT_EQ(p.form.totalClusterCount, static_cast<std::int64_t>(vfs.f_blocks));
    EXPECT_EQ(p.box(Box::TotalClusters), formatNumber(static_cast<long long>(vfs.f_blocks)));
    EXPECT_EQ(p.box(Box::TotalBytes), " 21,990,232,555,520 ");
    EXPECT_EQ(p.box(Box::FreeRatio), " 100.0 % ");
}

TEST(Drives, ListAddressAndCurrentFolderOfMountedDrives)
{
    TempTree tree;
    std::string why;
    const auto spaced = TestMount::tmpfs("size=1m", why, "first", tree.root(), "my drive");
    if (!spaced)
        GTEST_SKIP() << why;
    ASSERT_TRUE(spaced->stackTmpfs("second"));  // hides the first
    const std::string mp = spaced->path();

    int listed = 0;
    for (const DriveEntry& d : listDrives()) {
        EXPECT_FALSE(isPseudoFileSystem(d.fsType)) << d.mountPoint;
        if (d.mountPoint == mp) {
            ++listed;
            EXPECT_EQ(d.text().toStdString(), mp + " [second]");
        }
    }
    EXPECT_EQ(listed, 1);

    const QString text = QString::fromStdString(mp + " [second]");
    EXPECT_EQ(driveAddress(text), mp);
    EXPECT_EQ(driveAddress(QStringLiteral("/not/a/drive [x]")), "/not/a/drive");
    EXPECT_EQ(driveOf(mp + "/photos/2024"), mp);
    EXPECT_EQ(driveOf(mp), mp);
    EXPECT_EQ(driveOf(mp + "x"), driveOf(tree.root()));
    EXPECT_EQ(driveTextOf(mp + "/photos"), text);

    DriveFolders folders;
    EXPECT_EQ(folders.currentFolder(text), mp + "/");
    folders.setCurrentFolder(mp + "/photos");
    EXPECT_EQ(folders.currentFolder(text), mp + "/photos");
    folders.setCurrentFolder(mp + "/");
    EXPECT_EQ(folders.currentFolder(text), mp + "/");
    // The working folder's drive starts at the working folder.
    char cwd[4096];
    ASSERT_TRUE(::getcwd(cwd, sizeof cwd));
    const std::string here = cwd;
    const std::string expected = driveOf(here) != here ? here : here == "/" ? here : here + "/";
    EXPECT_EQ(DriveFolders().currentFolder(driveTextOf(here)), expected);
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
