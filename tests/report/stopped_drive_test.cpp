// dorvelix-report on a FAT volume whose FUSE driver stops answering in the
// middle of the walk and does not go on by itself: in every mode the report
// gives the drive up after its ten seconds without progress, prints what it
// counted with error 71 once, and exits with status 1. A target whose driver
// has stopped is a drive without a medium.
#include "mount_rig.h"
#include "target_check.h"
#include "temp_tree.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <chrono>
#include <thread>

using namespace dorvelix::testing;
using namespace std::chrono_literals;

namespace {

int occurrences(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

}  // namespace

TEST(ReportStoppedDrive, EveryModeGivesTheDriveUpPrintsWhatItCountedAndExitsOne)
{
    TempTree tree;
    std::string why;
    const std::string image = wideFatImage(tree, why);
    if (image.empty())
        GTEST_SKIP() << why;
    tree.folder("target");
    const std::vector<std::vector<std::string>> modes{
        {}, {"--folders"}, {"--complete"}, {"--json", "--complete", "--target", tree.path("target")}};
    for (const std::vector<std::string>& mode : modes) {
        const std::string name = mode.empty() ? "plain" : mode.front() + " " + mode.back();
        SCOPED_TRACE(name);
        // A fresh mount each time, so that nothing of the walk is cached.
        const auto mount = TestMount::fusefat(image, why);
        if (!mount)
            GTEST_SKIP() << why;
        std::vector<std::string> args{DORVELIX_REPORT};
        args.insert(args.end(), mode.begin(), mode.end());
        args.push_back(mount->path());
        ChildRun report(args);
        ASSERT_GT(report.pid(), 0);
        // Stopped once the walk has entered the volume's first subfolder; it
        // would go on only long after the report should have ended.
        const auto until = std::chrono::steady_clock::now() + 10s;
        while (!report.holdsOpen(mount->path() + "/") && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(200us);
        mount->stopDriver(60s);
        QElapsedTimer clock;
        clock.start();
        const bool ended = report.outputEnds(30s);
        const qint64 took = clock.elapsed();
        mount->resumeDriver();
        const int status = report.status();

        ASSERT_TRUE(ended) << "no answer within 30 s\n" << report.err;
        EXPECT_GE(took, 5000) << "the walk ended before the driver stopped: " << report.err;
        EXPECT_LT(took, 15000);
        EXPECT_EQ(status, 1) << report.err;
        EXPECT_EQ(occurrences(report.err, "ディスクが準備されていません。"), 1) << report.err;
        EXPECT_NE(report.out.find(mode.empty() || mode.front() != "--json" ? "ホルダー情報" : "\"subtree\""),
                  std::string::npos)
            << report.out;
    }
}

// A target drive whose driver has stopped answering: the report and the copy
// check say it has no medium within the bound of a volume query, and the
// report exits with status 2.
TEST(ReportStoppedDrive, AStoppedTargetIsADriveWithoutMedium)
{
    TempTree tree;
    std::string why;
    const std::string image = wideFatImage(tree, why);
    if (image.empty())
        GTEST_SKIP() << why;
    const auto mount = TestMount::fusefat(image, why);
    if (!mount)
        GTEST_SKIP() << why;
    const std::string source = tree.folder("source");
    tree.fileWith("source/f.txt", "x");
    mount->stopDriver(60s);
    QElapsedTimer clock;
    clock.start();
    ChildRun report({DORVELIX_REPORT, "--target", mount->path(), source});
    const bool ended = report.outputEnds(30s);
    const qint64 took = clock.elapsed();
    dorvelix::WalkProgress progress;
    clock.restart();
    const dorvelix::TargetCheck check = dorvelix::checkTarget(source, mount->path(), dorvelix::systemVolumes(), progress);
    const qint64 checkTook = clock.elapsed();
    mount->resumeDriver();

    ASSERT_TRUE(ended) << "no answer within 30 s\n" << report.err;
    EXPECT_LT(took, 15000);
    EXPECT_EQ(report.status(), 2) << report.err;
    EXPECT_NE(report.err.find("has no medium"), std::string::npos) << report.err;
    EXPECT_LT(checkTook, 15000);
    EXPECT_EQ(check.outcome, dorvelix::TargetCheck::Outcome::NoMedium);
}
