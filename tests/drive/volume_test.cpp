// The volume layer on real volumes: the mount table, the drive list, the
// root file system and tmpfs mounts.
#include "box_names.h"
#include "drive_panel_rig.h"
#include "drives.h"
#include "mount_rig.h"
#include "mount_table.h"
#include "number_format.h"
#include "temp_tree.h"
#include "value_boxes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace dorvelix;
using namespace dorvelix::testing;

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
