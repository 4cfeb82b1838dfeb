// A drive that goes away in the middle of a folder search: a FAT volume whose
// FUSE driver is killed, or stops answering, between two top-level subfolders.
#include "../search/search_rig.h"
#include "mount_rig.h"
#include "target_check.h"
#include "temp_tree.h"
#include "value_boxes.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <chrono>
#include <filesystem>
#include <thread>

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

// A FAT32 volume of four folders A to D with a file of 5,000 bytes in each,
// mounted by fusefat; null with the reason in why.
std::unique_ptr<TestMount> fourFolders(const TempTree& tree, std::string& why)
{
    const std::string image = tree.path("fat32.img");
    if (runTool({"mkfs.fat", "-F", "32", "-C", image, "65536"}).status != 0) {
        why = "mkfs.fat (Debian package dosfstools) is missing";
        return nullptr;
    }
    const std::string file = tree.fileWith("f.txt", std::string(5000, 'x'));
    for (const char* folder : {"::/A", "::/B", "::/C", "::/D"}) {
        if (runTool({"mmd", "-i", image, folder}).status != 0
            || runTool({"mcopy", "-i", image, file, std::string(folder) + "/"}).status != 0) {
            why = "mtools (Debian package mtools) is missing";
            return nullptr;
        }
    }
    return TestMount::fusefat(image, why);
}

}  // namespace

TEST(VanishedDrive, TheSearchReportsItOnceAndFinishes)
{
    for (const bool stops : {false, true}) {
        TempTree tree;
        std::string why;
        const auto mount = fourFolders(tree, why);
        if (!mount)
            GTEST_SKIP() << why;

        SearchRig rig(4096);
        // Gone, or standing still, after the first subfolder: the walk waits
        // for the read-ahead no longer than it makes no progress at all.
        rig.search.stallLimit = std::chrono::milliseconds(1000);
        rig.window.onProcessEvents = [&] {
            if (rig.window.pendingEventRuns == 1)
                stops ? mount->stopDriver() : mount->killDriver();
        };
        // Meanwhile the window goes on painting and taking input.
        QElapsedTimer clock, sinceProgress;
        qint64 longestGap = 0;
        rig.progress.onProgress = [&] {
            if (sinceProgress.isValid())
                longestGap = std::max(longestGap, sinceProgress.restart());
            else
                sinceProgress.start();
        };
        clock.start();
        rig.open(mount->path());
        EXPECT_LT(clock.elapsed(), 5000) << stops;  // the driver goes on by itself after ten seconds
        EXPECT_LT(longestGap, 300) << stops;

        // The three subfolders left fail alike: one box, then the search ends
        // as usual with the panel, the beep and the default pointer.
        ASSERT_EQ(rig.window.messages.size(), 1) << rig.window.messages.join(u'|').toStdString();
        EXPECT_EQ(rig.window.messages[0].toStdString(),
                  "err1 code : 71 ディスクが準備されていません。\r\n"
                      + mount->path() + "/B");
        EXPECT_EQ(rig.window.beeps, 1);
        EXPECT_EQ(rig.window.pointers.back(), DefaultPointer);
        // What was counted before the drive went is kept in the result,
        // marked as such, and not shown as the answer: the boxes are
        // emptied as after a stop.
        ASSERT_TRUE(rig.search.result().subtree);
        EXPECT_EQ(rig.search.result().subtree->folders, 4);
        EXPECT_EQ(rig.search.result().subtree->files, 1);
        EXPECT_TRUE(rig.search.result().limits.driveStopped);
        EXPECT_EQ(rig.form.treeFolders, 0);
        EXPECT_EQ(rig.box(Box::SubtreeFolders), "- ");
    }
}

// Stopping a search that waits for a driver standing still ends it at once,
// without a message: the drive is not taken for gone.
TEST(VanishedDrive, AStopEndsTheWaitAtOnce)
{
    TempTree tree;
    std::string why;
    const auto mount = fourFolders(tree, why);
    if (!mount)
        GTEST_SKIP() << why;

    SearchRig rig(4096);
    rig.window.onProcessEvents = [&] {
        if (rig.window.pendingEventRuns == 1)
            mount->stopDriver();
    };
    QElapsedTimer clock;
    rig.progress.onProgress = [&] {
        if (rig.window.pendingEventRuns == 1 && !clock.isValid()) {
            clock.start();
            rig.search.requestStop();
        }
    };
    rig.open(mount->path());
    ASSERT_TRUE(clock.isValid());
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_TRUE(rig.search.result().stopped);
    EXPECT_TRUE(rig.window.messages.isEmpty()) << rig.window.messages.join(u'|').toStdString();
    EXPECT_EQ(rig.window.pointers.back(), DefaultPointer);
}

// The copy check of a folder whose drive stops answering in the middle of its
// walk says so; the checks after it say so too, within the first touch's
// bound, and leave no further thread waiting on the drive.
TEST(VanishedDrive, TheCopyCheckSaysTheDriveStoppedAnsweringAndPilesUpNoThreads)
{
    TempTree tree;
    std::string why;
    const auto mount = wideFatMount(tree, why);
    if (!mount)
        GTEST_SKIP() << why;
    const std::string target = tree.folder("target");
    const auto threads = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/task"), {});
    };

    WalkProgress progress;
    std::thread stopper([&] {
        // Once the walk has read the volume's first folder.
        for (int i = 0; i < 100000 && progress.folders.load() == 0; ++i)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        mount->stopDriver(std::chrono::seconds(60));
    });
    QElapsedTimer clock;
    clock.start();
    TargetCheck first = checkTarget(mount->path(), target, systemVolumes(), progress);
    stopper.join();
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(first.outcome, TargetCheck::Outcome::DriveStopped) << first.messages.join(u'|').toStdString();

    for (const int limit : {3000, 500}) {
        WalkProgress again;
        clock.restart();
        const TargetCheck next = checkTarget(mount->path(), target, systemVolumes(), again);
        EXPECT_LT(clock.elapsed(), limit);
        EXPECT_EQ(next.outcome, TargetCheck::Outcome::DriveStopped);
    }
    // The bounded calls' own threads on the target end at once; give them a moment.
    const auto settled = [&] {
        for (int i = 0; i < 20; ++i) {
            const auto n = threads();
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            if (threads() == n)
                return n;
        }
        return threads();
    };
    const auto before = settled();
    WalkProgress last;
    checkTarget(mount->path(), target, systemVolumes(), last);
    EXPECT_EQ(settled(), before);
}
