// The session that owns the window's engine: it opens the start folder
// without searching it, tells its observers of each move of the folder list
// and of the search inside it in order, leaves the search out while a
// modifier is held, reads a removed open folder's nearest parent again, and
// lets the window only repaint while a folder on a stopped drive keeps it
// waiting.
#include "mount_rig.h"
#include "recording_window.h"
#include "paths.h"
#include "answer_in_time.h"
#include "session.h"
#include "temp_tree.h"

#include <QElapsedTimer>
#include <filesystem>
#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::runTool;
using dorvelix::testing::TempTree;
using dorvelix::testing::TestMount;

namespace {

struct Events : SessionObserver {
    std::vector<std::string> told;
    std::function<void()> onFinished;
    void folderOpened(bool searches) override { told.push_back(searches ? "opened, searches" : "opened"); }
    void folderOpenDone(bool searched) override { told.push_back(searched ? "done, searched" : "done"); }
    void searchStarted() override { told.push_back("started"); }
    void searchAdvanced(const SearchProgress& p) override { progress.push_back(p); }
    std::vector<SearchProgress> progress;
    void searchFinished() override
    {
        told.push_back("finished");
        if (onFinished)
            onFinished();
    }
};

}  // namespace

TEST(Session, TellsItsObserversOfEachMoveAndItsSearchInOrder)
{
    TempTree tree;
    tree.file("top/a/one.txt", 5000);
    tree.file("top/b/two.txt", 10);
    RecordingWindow window;
    Session session(window, window, systemVolumes(), [] { return QString(); });
    Events first, second;
    session.addObserver(&first);
    session.addObserver(&second);

    // The start folder opens without a search; a gone one gives way to its drive's root.
    session.start(tree.path("gone"));
    EXPECT_EQ(session.openFolders().path(), withTrailingSlash(driveOf(tree.root())));
    EXPECT_TRUE(first.told.empty());
    EXPECT_FALSE(session.search().result().subtree);

    session.openFolder(tree.path("top"));
    const std::vector<std::string> searched{"opened, searches", "started", "finished", "done, searched"};
    EXPECT_EQ(first.told, searched);
    EXPECT_EQ(second.told, searched);
    ASSERT_TRUE(session.search().result().subtree);
    EXPECT_EQ(session.search().result().subtree->files, 2);
    // The progress after the last top-level subfolder: the searched folder
    // and everything counted by then.
    ASSERT_FALSE(first.progress.empty());
    EXPECT_EQ(first.progress.back().folder, tree.path("top"));
    EXPECT_EQ(first.progress.back().files, 2);
    EXPECT_EQ(first.progress.back().folders, session.search().result().subtree->folders);
    EXPECT_EQ(session.driveFolders().currentFolder(QString::fromStdString(driveOf(tree.root()))),
              tree.path("top"));

    // With a modifier held the folder list moves and nothing is searched.
    first.told.clear();
    session.form().modifierHeld = true;
    session.openFolder(tree.path("top/a"));
    EXPECT_EQ(first.told, (std::vector<std::string>{"opened", "done"}));
    session.form().modifierHeld = false;

    // An observer that leaves while being told is told no more; the others are.
    first.told.clear();
    second.told.clear();
    first.onFinished = [&] { session.removeObserver(&second); };
    session.openFolder(tree.path("top/b"));
    EXPECT_EQ(first.told, searched);
    EXPECT_EQ(second.told, (std::vector<std::string>{"opened, searches", "started", "finished"}));

    // A folder that cannot be opened changes nothing and tells nobody.
    first.told.clear();
    EXPECT_THROW(session.openFolder(tree.path("top/none")), RuntimeError);
    EXPECT_EQ(session.openFolders().path(), tree.path("top/b"));
    EXPECT_TRUE(first.told.empty());
}

TEST(Session, ReadingAgainClimbsFromARemovedFolderToTheNearestThatOpens)
{
    TempTree tree;
    tree.file("top/a/b/c/one.txt", 100);
    RecordingWindow window;
    Session session(window, window, systemVolumes(), [] { return QString(); });
    session.start(tree.path("top/a/b/c"));
    Events events;
    session.addObserver(&events);
    std::filesystem::remove_all(tree.path("top/a/b"));

    EXPECT_FALSE(session.reopenFolder());
    EXPECT_EQ(session.openFolders().path(), tree.path("top/a"));
    EXPECT_EQ(events.told, (std::vector<std::string>{"opened, searches", "started", "finished", "done, searched"}));
}

TEST(Session, AFolderOnAStoppedDriveIsWaitedForWithRepaintsOnlyAndNoLongerThanTheLimit)
{
    TempTree tree;
    const std::string image = tree.path("fat32.img");
    if (runTool({"mkfs.fat", "-F", "32", "-C", image, "65536"}).status != 0)
        GTEST_SKIP() << "mkfs.fat (Debian package dosfstools) is missing";
    std::string why;
    const auto mount = TestMount::fusefat(image, why);
    if (!mount)
        GTEST_SKIP() << why;
    tree.file("top/one.txt", 10);
    RecordingWindow window;
    Session session(window, window, systemVolumes(), [] { return QString(); });
    session.start(tree.path("top"));
    Events events;
    session.addObserver(&events);
    mount->stopDriver();

    QElapsedTimer clock;
    clock.start();
    try {
        session.openFolder(mount->path());
        ADD_FAILURE() << "a folder on a stopped drive opened";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::DiskNotReady);
    }
    EXPECT_LT(clock.elapsed(), std::chrono::milliseconds(AnswerLimit).count() + 1000);
    // The window repainted meanwhile, and took no input: nothing the user
    // does starts while the folder list waits.
    EXPECT_GT(window.repaintRuns, 0);
    EXPECT_EQ(window.pendingEventRuns, 0);
    EXPECT_EQ(window.paintRuns, 0);
    EXPECT_EQ(session.openFolders().path(), tree.path("top"));
    EXPECT_TRUE(events.told.empty());
}
