// The drive query with volume figures handed in: the direct and the FAT32
// paths, the no-medium path and the steps that fail on their own.
#include "box_names.h"
#include "drive_info.h"
#include "recording_window.h"
#include "runtime_error.h"
#include "value_boxes.h"

#include <gtest/gtest.h>

using namespace dorvelix;

namespace {

struct FakeVolumes : VolumeQueries {
    bool spaceOk = true, bytesOk = true, nameOk = true;
    FreeSpace space;
    FreeSpaceEx bytes;
    QString name;
    std::vector<std::string> roots;

    bool diskFreeSpace(const std::string& root, FreeSpace& out) override
    {
        roots.push_back(root);
        if (spaceOk)
            out = space;
        return spaceOk;
    }
    bool diskFreeSpaceEx(const std::string& root, FreeSpaceEx& out) override
    {
        roots.push_back(root);
        if (bytesOk)
            out = bytes;
        return bytesOk;
    }
    bool fileSystemName(const std::string& root, QString& out) override
    {
        roots.push_back(root);
        if (nameOk)
            out = name;
        return nameOk;
    }
};

struct Rig {
    FormState form;
    RecordingWindow window;
    FakeVolumes volumes;

    Rig() { form.screenSize = 2; }
    bool run(const QString& drive = QStringLiteral("/media/usb [sdb1]"))
    {
        return DriveQuery(form, window, window, volumes).showDriveInfo(drive);
    }
    void direct(const QString& name, std::int64_t bps, std::int64_t spc, std::int64_t total, std::int64_t free)
    {
        volumes.name = name;
        volumes.space = {spc, bps, free, total};
    }
    void fat32(std::int64_t totalBytes, std::int64_t freeBytes)
    {
        volumes.name = QStringLiteral("FAT32");
        // What a FAT32 driver might report in cluster units; the FAT32 path replaces it.
        volumes.space = {1, 2048, 7, 9};
        volumes.bytes = {freeBytes, totalBytes, freeBytes};
    }
    QString box(Box b) const { return window.box(b); }
};

}  // namespace

TEST(DriveQuery, Fat32WorksClusterFiguresBackFromTheByteCounts)
{
    Rig r;
    r.fat32(2'000'000'000, 500'000'000);
    ASSERT_TRUE(r.run());
    EXPECT_EQ(r.box(Box::FileSystem), "FAT32");
    EXPECT_EQ(r.box(Box::BytesPerSector), " 512 ");
    EXPECT_EQ(r.box(Box::SectorsPerCluster), " 8 ");
    EXPECT_EQ(r.box(Box::ClusterLength), " 4,096 ");
    EXPECT_EQ(r.box(Box::TotalClusters), " 488,281 ");  // 488,281.25
    EXPECT_EQ(r.form.totalClusterCount, 488281);
    EXPECT_EQ(r.box(Box::TotalBytes), " 2,000,000,000 ");
    EXPECT_EQ(r.box(Box::FreeClusters), " 122,070 ");  // 122,070.3125
    EXPECT_EQ(r.form.freeClusterCount, 122070);
    EXPECT_EQ(r.box(Box::FreeBytes), " 500,000,000 ");
    EXPECT_EQ(r.box(Box::FreeRatio), " 25.0 % ");
    EXPECT_EQ(r.box(Box::UsedClusters), " 366,211 ");  // 366,210.6875
    EXPECT_EQ(r.box(Box::UsedBytes), " 1,500,000,000 ");
    EXPECT_EQ(r.form.clusterLength, 4096);
    EXPECT_EQ(r.form.convertLength, 4096);
    EXPECT_EQ(r.form.convertIndex, 5);
    EXPECT_EQ(r.window.checkedConvertIndex, 5);
    EXPECT_EQ(r.form.entriesPerCluster, 128);
    EXPECT_EQ(r.form.convertEntriesPerCluster, 128);
    EXPECT_EQ(r.window.graphSizes, std::vector<int>{2});
    EXPECT_EQ(r.window.pointers, (std::vector<int>{99, 0}));
    EXPECT_TRUE(r.window.messages.isEmpty());
}

TEST(DriveQuery, Fat32ClusterLengthFollowsDecimalSizeBounds)
{
    struct Case {
        std::int64_t totalBytes;
        std::int32_t clusterLength;
        const char* sectorsPerCluster;
    };
    for (const Case c : {Case{8'599'999'999, 4096, " 8 "}, {8'600'000'000, 8192, " 16 "},
                         {8'589'934'592, 4096, " 8 "}, {17'199'999'999, 8192, " 16 "},
                         {17'200'000'000, 16384, " 32 "}, {35'399'999'999, 16384, " 32 "},
                         {35'400'000'000, 32768, " 64 "}, {40'000'000'000, 32768, " 64 "}}) {
        Rig r;
        r.fat32(c.totalBytes, 0);
        r.volumes.name = QStringLiteral("fAt32");  // any letter case
        r.run();
        EXPECT_EQ(r.form.clusterLength, c.clusterLength) << c.totalBytes;
        EXPECT_EQ(r.box(Box::BytesPerSector), " 512 ") << c.totalBytes;
        EXPECT_EQ(r.box(Box::SectorsPerCluster), c.sectorsPerCluster) << c.totalBytes;
        EXPECT_EQ(r.box(Box::SearchClusterLength), r.box(Box::ConvertLength)) << c.totalBytes;
    }
}

TEST(DriveQuery, DirectPathShowsTheFirstQueryAsItComes)
{
    Rig r;
    r.direct(QStringLiteral("FAT"), 512, 64, 65000, 13000);
    ASSERT_TRUE(r.run(QStringLiteral("/media/usb [sdb1]")));
    EXPECT_EQ(r.box(Box::DriveText), "/media/usb [sdb1]");
    EXPECT_EQ(r.box(Box::FileSystem), "FAT16");
    EXPECT_EQ(r.box(Box::BytesPerSector), " 512 ");
    EXPECT_EQ(r.box(Box::SectorsPerCluster), " 64 ");
    EXPECT_EQ(r.box(Box::TotalClusters), " 65,000 ");
    EXPECT_EQ(r.box(Box::FreeClusters), " 13,000 ");
    EXPECT_EQ(r.box(Box::TotalBytes), " 2,129,920,000 ");
    EXPECT_EQ(r.box(Box::FreeBytes), " 425,984,000 ");
    EXPECT_EQ(r.box(Box::FreeRatio), " 20.0 % ");
    EXPECT_EQ(r.box(Box::ClusterLength), " 32,768 ");
    EXPECT_EQ(r.box(Box::SearchClusterLength), " 32,768 ");
    EXPECT_EQ(r.box(Box::ConvertLength), " 32,768 ");
    EXPECT_EQ(r.box(Box::UsedClusters), " 52,000 ");
    EXPECT_EQ(r.box(Box::UsedBytes), " 1,703,936,000 ");
    EXPECT_EQ(r.form.convertIndex, 8);
    EXPECT_EQ(r.form.entriesPerCluster, 1024);
    // The drive is addressed by its mount point alone, and no byte query is made.
    EXPECT_EQ(r.volumes.roots, (std::vector<std::string>{"/media/usb", "/media/usb"}));
}

TEST(DriveQuery, EveryRunBlanksTheFolderResults)
{
    Rig r;
    for (Box box : {Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters, Box::SubtreeBytes, Box::AloneClusters, Box::AloneFiles, Box::AloneBytes, Box::ConvertClusters, Box::ConvertBytes})
        r.window.setBox(box, QStringLiteral(" 7 "));
    r.direct(QStringLiteral("ext4"), 512, 8, 100, 50);
    r.run();
    for (Box box : {Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters, Box::SubtreeBytes, Box::AloneClusters, Box::AloneFiles, Box::AloneBytes, Box::ConvertClusters, Box::ConvertBytes})
        EXPECT_EQ(r.box(box), "- ") << box;
}

TEST(DriveQuery, ClusterLengthOutsideTheMenuKeepsTheMenuPosition)
{
    Rig r;
    r.form.convertIndex = 3;
    r.direct(QStringLiteral("xfs"), 512, 128, 1000, 10);
    r.run();
    EXPECT_EQ(r.box(Box::ConvertLength), " 65,536 ");
    EXPECT_EQ(r.box(Box::SearchClusterLength), " 65,536 ");
    EXPECT_EQ(r.form.convertLength, 65536);
    EXPECT_EQ(r.form.convertIndex, 3);
    EXPECT_EQ(r.window.checkedConvertIndex, 3);
}

TEST(DriveQuery, NoMediumReportsOnceAndKeepsThePreviousDrive)
{
    Rig r;
    r.direct(QStringLiteral("ext4"), 512, 8, 1000, 250);
    ASSERT_TRUE(r.run(QStringLiteral("/ [vda]")));
    const FormState before = r.form;
    const auto previous = r.window.boxes;

    r.volumes.spaceOk = false;
    r.window.pointers.clear();
    EXPECT_FALSE(r.run(QStringLiteral("/mnt/gone [fusefat]")));
    EXPECT_EQ(r.window.messages, QStringList{"/mnt/gone [fusefat] メディア未挿入？"});
    EXPECT_EQ(r.box(Box::DriveText), "/mnt/gone [fusefat]");
    for (Box box : {Box::BytesPerSector, Box::SectorsPerCluster, Box::TotalClusters, Box::FreeClusters, Box::TotalBytes, Box::FreeBytes, Box::FreeRatio, Box::ClusterLength, Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters, Box::SubtreeBytes, Box::AloneClusters, Box::AloneFiles, Box::AloneBytes, Box::ConvertClusters, Box::ConvertBytes})
        EXPECT_EQ(r.box(box), "- ") << box;
    for (Box box : {Box::FileSystem, Box::UsedClusters, Box::UsedBytes, Box::SearchClusterLength, Box::ConvertLength})
        EXPECT_EQ(r.box(box), previous.at(box)) << box;
    EXPECT_EQ(r.form.clusterLength, before.clusterLength);
    EXPECT_EQ(r.form.convertLength, before.convertLength);
    EXPECT_EQ(r.form.convertIndex, before.convertIndex);
    EXPECT_EQ(r.form.entriesPerCluster, before.entriesPerCluster);
    EXPECT_EQ(r.form.totalClusterCount, before.totalClusterCount);
    EXPECT_EQ(r.window.graphSizes.size(), 1u);  // not redrawn
    EXPECT_EQ(r.window.pointers, (std::vector<int>{99, 0}));
}

TEST(DriveQuery, ZeroTotalKeepsTheRatioAndGoesOn)
{
    for (const bool fat32 : {false, true}) {
        Rig r;
        r.window.setBox(Box::FreeRatio, QStringLiteral(" 42.0 % "));
        if (fat32)
            r.fat32(0, 0);
        else
            r.direct(QStringLiteral("ext4"), 512, 8, 0, 0);
        ASSERT_TRUE(r.run());
        EXPECT_EQ(r.box(Box::FreeRatio), " 42.0 % ") << fat32;
        EXPECT_EQ(r.box(Box::TotalClusters), " 0 ") << fat32;
        EXPECT_EQ(r.box(Box::UsedClusters), " 0 ") << fat32;
        EXPECT_EQ(r.box(Box::SearchClusterLength), " 4,096 ") << fat32;
        EXPECT_EQ(r.window.graphSizes.size(), 1u) << fat32;
    }
}

TEST(DriveQuery, ClusterLengthOverflowAbandonsOnlyItsStep)
{
    Rig r;
    r.form.clusterLength = 4096;
    r.window.setBox(Box::ClusterLength, QStringLiteral(" 4,096 "));
    r.direct(QStringLiteral("odd"), 65536, 65536, 10, 5);  // 2^32 bytes a cluster
    ASSERT_TRUE(r.run());
    EXPECT_EQ(r.form.clusterLength, 4096);
    EXPECT_EQ(r.box(Box::ClusterLength), " 4,096 ");
    EXPECT_EQ(r.box(Box::SearchClusterLength), " 4,096 ");
    EXPECT_EQ(r.box(Box::TotalBytes), " 42,949,672,960 ");  // the byte figures stay exact
    EXPECT_EQ(r.box(Box::UsedBytes), " 21,474,836,480 ");
    EXPECT_EQ(r.box(Box::FreeRatio), " 50.0 % ");
}

TEST(DriveQuery, LargeVolumesShowTrueFigures)
{
    // More cluster units than a signed 32-bit count holds, and more bytes
    // than a double holds exactly.
    Rig r;
    const std::int64_t total = (std::int64_t{1} << 41) + 1, free = 5'368'709'120;
    r.direct(QStringLiteral("xfs"), 512, 8, total, free);
    ASSERT_TRUE(r.run());
    EXPECT_EQ(r.box(Box::TotalClusters), " 2,199,023,255,553 ");
    EXPECT_EQ(r.box(Box::FreeClusters), " 5,368,709,120 ");
    EXPECT_EQ(r.box(Box::TotalBytes), " 9,007,199,254,745,088 ");  // 4096 × (2^41 + 1)
    EXPECT_EQ(r.box(Box::FreeBytes), " 21,990,232,555,520 ");
    EXPECT_EQ(r.box(Box::UsedClusters), " 2,193,654,546,433 ");
    EXPECT_EQ(r.form.totalClusterCount, total);
    EXPECT_EQ(r.form.freeClusterCount, free);

    // On the FAT32 path the worked-back counts are not clamped to 32 bits.
    Rig f;
    f.fat32(100'000'000'000'000, 50'000'000'000'002);
    ASSERT_TRUE(f.run());
    EXPECT_EQ(f.form.totalClusterCount, 3'051'757'812);  // 3,051,757,812.5, halves to even
    EXPECT_EQ(f.box(Box::TotalClusters), " 3,051,757,812 ");
    EXPECT_EQ(f.box(Box::TotalBytes), " 100,000,000,000,000 ");
    EXPECT_EQ(f.form.freeClusterCount, 1'525'878'906);  // 1,525,878,906.2501
    EXPECT_EQ(f.box(Box::UsedBytes), " 49,999,999,999,998 ");
    EXPECT_EQ(f.box(Box::FreeRatio), " 50.0 % ");
    for (const auto& [box, text] : f.window.boxes)
        EXPECT_FALSE(text.contains(u'-') && text != "- ") << box << " " << text.toStdString();
}

TEST(DriveQuery, FailedSideQueriesUseTheDrivesOwnFigures)
{
    // The name query fails: no name, so the drive's own figures are shown.
    Rig r;
    r.direct(QStringLiteral("FAT32"), 512, 8, 1000, 100);
    r.volumes.nameOk = false;
    ASSERT_TRUE(r.run());
    EXPECT_EQ(r.box(Box::FileSystem), "");
    EXPECT_EQ(r.box(Box::TotalClusters), " 1,000 ");

    // The byte query fails on a FAT32 drive: the bytes come from its cluster figures.
    Rig f;
    f.direct(QStringLiteral("FAT32"), 512, 8, 488'281, 122'070);
    f.volumes.bytesOk = false;
    ASSERT_TRUE(f.run());
    EXPECT_EQ(f.box(Box::TotalBytes), " 1,999,998,976 ");
    EXPECT_EQ(f.box(Box::TotalClusters), " 488,281 ");
    EXPECT_EQ(f.box(Box::FreeClusters), " 122,070 ");
}

TEST(DriveQuery, FailureInsideTheMenuMarkEndsOnlyThatCall)
{
    struct ThrowingView : RecordingWindow {
        void checkConvertLength(int) override { throw RuntimeError(err::Overflow); }
    };
    FormState form;
    ThrowingView view;
    FakeVolumes volumes;
    volumes.name = QStringLiteral("ext4");
    volumes.space = {8, 512, 1, 2};
    EXPECT_TRUE(DriveQuery(form, view, view, volumes).showDriveInfo(QStringLiteral("/ [vda]")));
    EXPECT_EQ(view.graphSizes.size(), 1u);
    EXPECT_EQ(view.pointers, (std::vector<int>{99, 0}));
}
