// dorvelix-report on a FAT volume whose FUSE driver stops answering in the
// middle of the walk and does not go on by itself: in every mode the report
// gives the drive up after its stall limit without progress, prints what it
// counted, marked as partial, with error 71 once, and exits with status 1,
// reaped while the driver is still stopped (the reader that waits on the
// driver is left behind). One case runs against the real ten seconds; the
// others set a short limit through DORVELIX_STALL_LIMIT_MS. A target whose
// driver has stopped is a drive without a medium.
#include "mount_rig.h"
#include "target_check.h"
#include "temp_tree.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>
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

// The walk's stall limit for the reports the test starts; 0: the real one.
class StallLimit {
public:
    explicit StallLimit(int milliseconds)
    {
        if (milliseconds > 0)
            ::setenv("DORVELIX_STALL_LIMIT_MS", std::to_string(milliseconds).c_str(), 1);
        else
            ::unsetenv("DORVELIX_STALL_LIMIT_MS");
    }
    ~StallLimit() { ::unsetenv("DORVELIX_STALL_LIMIT_MS"); }
};

struct StoppedRun {
    bool reaped = false;  // within 15 s of the stop, the driver still stopped
    qint64 tookMs = 0;    // from the stop to the reaping
    int status = -1;
    std::string out, err;
};

// Runs the report in mode on a fresh mount of image (nothing of the walk is
// cached) and stops the driver once the walk has entered the volume's first
// subfolder, or after delay when one is given; the driver goes on only after
// the report has been reaped or given up on.
StoppedRun stopDuringReport(const std::string& image, std::vector<std::string> mode,
                            std::optional<std::chrono::milliseconds> delay = std::nullopt)
{
    std::string why;
    const auto mount = TestMount::fusefat(image, why);
    if (!mount) {
        ADD_FAILURE() << why;
        return {};
    }
    std::vector<std::string> args{DORVELIX_REPORT};
    args.insert(args.end(), mode.begin(), mode.end());
    args.push_back(mount->path());
    ChildRun report(args);
    EXPECT_GT(report.pid(), 0);
    if (delay) {
        std::this_thread::sleep_for(*delay);
    } else {
        const auto until = std::chrono::steady_clock::now() + 10s;
        while (!report.holdsOpen(mount->path() + "/") && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(200us);
    }
    mount->stopDriver(60s);
    QElapsedTimer clock;
    clock.start();
    StoppedRun run;
    run.reaped = report.exitsWithin(15s);
    run.tookMs = clock.elapsed();
    mount->resumeDriver();
    run.status = report.status();
    run.out = report.out;
    run.err = report.err;
    return run;
}

}  // namespace

TEST(ReportStoppedDrive, GivesTheDriveUpAfterTenSecondsAndExitsWhileTheDriverStaysStopped)
{
    TempTree tree;
    std::string why;
    const std::string image = wideFatImage(tree, why);
    if (image.empty())
        GTEST_SKIP() << why;
    const StallLimit limit(0);
    const StoppedRun run = stopDuringReport(image, {});
    ASSERT_TRUE(run.reaped) << "not reaped within 15 s of the stop\n" << run.err;
    EXPECT_GE(run.tookMs, 9000) << "the walk ended before the driver stopped: " << run.err;
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(occurrences(run.err, "ディスクが準備されていません。"), 1) << run.err;
    EXPECT_NE(run.out.find("ホルダー情報"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  partial: the drive stopped answering"), std::string::npos) << run.out;
}

TEST(ReportStoppedDrive, EveryModePrintsWhatItCountedAsPartialAndExitsOneWhileTheDriverStaysStopped)
{
    TempTree tree;
    std::string why;
    const std::string image = wideFatImage(tree, why);
    if (image.empty())
        GTEST_SKIP() << why;
    tree.folder("target");
    const StallLimit limit(1000);
    const std::vector<std::vector<std::string>> modes{{"--folders"},
                                                      {"--complete"},
                                                      {"--complete", "--lengths"},
                                                      {"--json"},
                                                      {"--json", "--complete", "--target", tree.path("target")}};
    for (const std::vector<std::string>& mode : modes) {
        std::string name;
        for (const std::string& option : mode)
            name += option + " ";
        SCOPED_TRACE(name);
        const StoppedRun run = stopDuringReport(image, mode);
        ASSERT_TRUE(run.reaped) << "not reaped within 15 s of the stop\n" << run.err;
        EXPECT_GE(run.tookMs, 500) << "the walk ended before the driver stopped: " << run.err;
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(occurrences(run.err, "ディスクが準備されていません。"), 1) << run.err;
        const bool json = mode.front() == "--json";
        EXPECT_NE(run.out.find(json ? "\"subtree\"" : "ホルダー情報"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find(json ? "\"drive_stopped\": true" : "  partial: the drive stopped answering"),
                  std::string::npos)
            << run.out;
    }
}

// Stopped at any moment, also before the walk or between two folders, the
// report ends: with what it counted (1), or with no medium when the drive
// stopped before it was asked about (2).
TEST(ReportStoppedDrive, StoppedAtRandomMomentsTheReportAlwaysEnds)
{
    TempTree tree;
    std::string why;
    const std::string image = wideFatImage(tree, why);
    if (image.empty())
        GTEST_SKIP() << why;
    const StallLimit limit(500);
    std::mt19937 random(std::random_device{}());
    for (int i = 0; i < 6; ++i) {
        const auto delay = std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 1500)(random));
        SCOPED_TRACE("stopped after " + std::to_string(delay.count()) + " ms");
        const StoppedRun run = stopDuringReport(image, i % 2 ? std::vector<std::string>{"--complete"}
                                                             : std::vector<std::string>{},
                                                delay);
        ASSERT_TRUE(run.reaped) << "not reaped within 15 s of the stop\n" << run.err;
        EXPECT_TRUE(run.status == 1 || run.status == 2) << run.status << run.err;
    }
}

// A target drive whose driver has stopped answering: the report and the copy
// check say it has no medium within the bound of a volume query, and the
// report exits with status 2.
TEST(ReportStoppedDrive, AStoppedTargetIsADriveWithoutMedium)
{
    TempTree tree;
    std::string why;
    const auto mount = wideFatMount(tree, why);
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
