// The one walk under every count of a tree, heard through a sink that writes
// down what it is told.
#include "folder_walk.h"
#include "temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

using namespace dorvelix;
using dorvelix::testing::TempTree;

namespace {

class LoggingSink : public WalkSink {
public:
    std::string log;
    std::string stopAt;  // the walk is stopped once it has entered a folder of this name
    bool stopped = false;

    bool goOn() override { return !stopped; }
    void subtreeStarted(std::uint32_t index) override { log += "[" + std::to_string(index) + " "; }
    void subtreeEnded(std::uint32_t index, bool stoppedInside) override
    {
        log += std::to_string(index) + (stoppedInside ? " stopped] " : "] ");
    }
    void folderEntered(int depth, const FolderScan& parent, std::uint32_t index,
                       const std::shared_ptr<const FolderScan>& folder) override
    {
        const std::string name(parent.name(parent.folders()[index]));
        EXPECT_EQ(folder->path(), parent.childPath(name));
        log += std::to_string(depth) + ":" + name + "(" + std::to_string(folder->files().size()) + ") ";
        if (name == stopAt)
            stopped = true;
    }
    void folderFailed(int parentDepth, const FolderScan& parent, std::uint32_t index, const RuntimeError& e) override
    {
        log += "fail" + std::to_string(parentDepth) + ":" + std::string(parent.name(parent.folders()[index])) + "#"
            + std::to_string(e.number()) + " ";
    }
    void folderBeyondLevels(const FolderScan& parent, std::uint32_t index) override
    {
        log += "beyond:" + std::string(parent.name(parent.folders()[index])) + " ";
    }
};

std::string walked(const std::string& top, std::vector<FolderWalk::Level> levels, bool readAhead,
                   const std::string& stopAt = {})
{
    LoggingSink sink;
    sink.stopAt = stopAt;
    FolderWalk walk(std::move(levels), sink);
    walk.setReadAhead(readAhead);
    const auto scan = FolderScan::read(top);
    walk.measure(scan);
    walk.walkBelow(scan);
    return sink.log;
}

}  // namespace

// Depth first, each folder's subfolders in list order, every subtree framed
// by its start and end; the last level's subfolders are told of, not
// entered, unless it repeats; read ahead or not, the sink hears the same.
TEST(FolderWalk, TellsItsSinkTheTreeDepthFirstWithinItsLevels)
{
    TempTree t;
    t.file("a/x/deep/f", 1);
    t.file("a/x/g", 1);
    t.file("a/y/h", 1);
    t.folder("b");
    t.file("c/.hidden", 1);
    t.file("top", 1);
    const std::vector<FolderWalk::Level> twoLevels{{true, true}, {true, false}};
    for (const bool readAhead : {true, false}) {
        SCOPED_TRACE(readAhead);
        EXPECT_EQ(walked(t.root(), twoLevels, readAhead),
                  "[0 1:a(0) 2:x(1) beyond:deep 2:y(1) 0] [1 1:b(0) 1] [2 1:c(1) 2] ");
        EXPECT_EQ(walked(t.root(), {{true, true}}, readAhead),
                  "[0 1:a(0) 2:x(1) 3:deep(1) 2:y(1) 0] [1 1:b(0) 1] [2 1:c(1) 2] ");
        // A stop asked for while a folder is booked ends the walk before the next.
        EXPECT_EQ(walked(t.root(), {{true, true}}, readAhead, "x"), "[0 1:a(0) 2:x(1) 0] ");
    }
    // A folder that has gone by the time the walk enters it is told as
    // failed at its parent's depth, and the walk goes on.
    LoggingSink sink;
    FolderWalk walk(WalkLevels({{true, true}}), sink);
    walk.setReadAhead(false);
    const auto scan = FolderScan::read(t.root());
    std::filesystem::remove_all(t.path("b"));
    walk.walkBelow(scan);
    EXPECT_EQ(sink.log.substr(sink.log.find("[1")), "[1 fail0:b#76 1] [2 1:c(1) 2] ");
}
