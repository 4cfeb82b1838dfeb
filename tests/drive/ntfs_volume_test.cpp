// The NTFS volume reader against volumes made by mkntfs and written by
// ntfs-3g, and what it takes a mount it cannot read for.
#include "mount_rig.h"
#include "ntfs_test_images.h"
#include "ntfs_volume.h"
#include "temp_tree.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace dorvelix;
using namespace dorvelix::testing;

// The volume as the reader finds it: the geometry mkntfs wrote, the record
// length ntfs-3g's figures tell, the MFT as ntfsinfo reports it, and what a
// mount that cannot be read is taken for.
TEST(NtfsVolumeReader, ReadsWhatMkntfsAndNtfs3gWrote)
{
    struct Format {
        std::vector<std::string> options;
        long long cluster, record;
    };
    const Format formats[] = {{{}, 4096, 1024}, {{"-s", "4096"}, 4096, 4096}, {{"-s", "2048"}, 4096, 2048},
                              {{"-c", "512"}, 512, 1024}, {{"-c", "65536"}, 65536, 1024}};
    for (const Format& f : formats) {
        SCOPED_TRACE(f.cluster);
        TempTree images;
        const std::string image = ntfsImage(images, 64 << 20, f.options);
        if (image.empty())
            GTEST_SKIP() << "mkntfs (Debian package ntfs-3g) is missing";
        {
            std::string why;
            const auto mount = TestMount::ntfs3g(image, why);
            if (!mount)
                GTEST_SKIP() << why;
            struct statvfs vfs {};
            ASSERT_EQ(::statvfs(mount->path().c_str(), &vfs), 0);
            EXPECT_EQ(ntfsRecordBytesFromFigures(vfs), std::vector<std::int64_t>{f.record});
            // 100 files, every other one removed: 50 free records between
            // those in use.
            for (int i = 0; i < 100; ++i)
                ::close(::open((mount->path() + numbered("/f%03lld", i)).c_str(), O_CREAT | O_WRONLY, 0644));
            for (int i = 0; i < 100; i += 2)
                std::filesystem::remove(mount->path() + numbered("/f%03lld", i));
            ASSERT_EQ(::statvfs(mount->path().c_str(), &vfs), 0);
            EXPECT_EQ(ntfsRecordBytesFromFigures(vfs), std::vector<std::int64_t>{f.record});
            // A FUSE mount is the volume its source names only where their
            // figures agree; with permissions checked, files are written
            // another way.
            MountEntry entry{mount->path(), image, "fuseblk", 0, 0, "rw,default_permissions"};
            const auto checked = ntfsVolumeOf(entry, vfs);
            ASSERT_TRUE(checked);
            EXPECT_EQ(checked->writer, NtfsVolume::Writer::Unmeasured);
            struct statvfs root {};
            ASSERT_EQ(::statvfs("/", &root), 0);
            EXPECT_FALSE(ntfsVolumeOf(entry, root));
        }
        const VolumeFile file(image);
        unsigned char sector[512];
        ASSERT_EQ(::pread(file.fd(), sector, sizeof sector, 0), 512);
        auto volume = parseNtfsBootSector(sector, sizeof sector);
        ASSERT_TRUE(volume);
        EXPECT_EQ(volume->clusterBytes, f.cluster);
        EXPECT_EQ(volume->recordBytes, f.record);
        EXPECT_EQ(volume->indexBlockBytes, 4096);
        const auto mft = readNtfsMft(file, *volume);
        ASSERT_TRUE(mft);
        const ToolRun info = runTool({"ntfsinfo", "-i", "0", image});
        const auto sizeAfter = [&](const std::string& heading) {
            const size_t at = info.out.find("Allocated size:", info.out.find(heading));
            return at == std::string::npos ? -1 : std::stoll(info.out.substr(at + 15));
        };
        EXPECT_EQ(mft->allocatedBytes, sizeAfter("$DATA (0x80)"));
        EXPECT_EQ(mft->bitmapAllocatedBytes, sizeAfter("$BITMAP (0xb0)"));
        EXPECT_EQ(mft->freeRecords - mft->freeRecordsAtEnd, 50);
        EXPECT_EQ(mft->freeRecordsAtEnd, mft->allocatedBytes / f.record - 64 - 100);

        // What is not an NTFS boot sector.
        sector[3] = 'X';
        EXPECT_FALSE(parseNtfsBootSector(sector, sizeof sector));
        sector[3] = 'N';
        sector[0x40] = 0;  // no record length
        EXPECT_FALSE(parseNtfsBootSector(sector, sizeof sector));
        EXPECT_FALSE(parseNtfsBootSector(sector, 100));
    }

    // Mounts whose source cannot be read: the kernel's drivers by their
    // type (with a bound for a writer not measured here), ntfs-3g only
    // where udev found NTFS on the device.
    struct statvfs vfs {};
    ASSERT_EQ(::statvfs("/", &vfs), 0);
    MountEntry kernel{"/mnt", "/dev/no-such-device", "ntfs3", 0, 0, "rw,prealloc"};
    const auto unreadable = ntfsVolumeOf(kernel, vfs);
    ASSERT_TRUE(unreadable);
    EXPECT_EQ(unreadable->writer, NtfsVolume::Writer::Unmeasured);
    EXPECT_TRUE(unreadable->preallocates);
    EXPECT_FALSE(unreadable->mft);
    EXPECT_TRUE(unreadable->otherRecordBytes);
    EXPECT_FALSE(ntfsVolumeOf({"/mnt", "/dev/no-such-device", "fuseblk", 0, 0, "rw"}, vfs));
    EXPECT_FALSE(ntfsVolumeOf({"/mnt", "/dev/vda", "ext4", 0, 0, "rw"}, vfs));
}
