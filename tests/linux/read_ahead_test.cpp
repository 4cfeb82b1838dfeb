// The read-ahead that every walk reads through: folders handed over in walk
// order with their lengths and errors, the last level, and a queue that is
// smaller than the tree.
#include "mount_rig.h"
#include "read_ahead.h"
#include "reader_process.h"
#include "runtime_error.h"
#include "temp_tree.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <thread>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace dorvelix;
using dorvelix::testing::captureUnprivileged;
using dorvelix::testing::TempTree;
using dorvelix::testing::TestMount;

namespace {
// Fifteen levels of which the first eight list hidden and system files and
// the last enters nothing, as the search walks them.
std::vector<ReadAhead::Level> walkLevels(size_t count = 15)
{
    std::vector<ReadAhead::Level> levels;
    for (size_t i = 0; i < count; ++i)
        levels.push_back({i < 8, i + 1 < count});
    return levels;
}
int errorOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}
}  // namespace

TEST(ReadAhead, HandsOverFoldersInWalkOrderWithTheirLengthsAndErrors)
{
    TempTree t;
    t.file("a/x/f1", 10);
    t.file("a/x/.hidden", 20);
    t.folder("a/y");
    t.folder("b");
    t.folder("c");
    const auto top = FolderScan::read(t.root());
    std::filesystem::remove(t.path("b"));  // listed, then gone before it is read
    ReadAhead ahead(walkLevels());

    EXPECT_TRUE(ahead.nextReady());  // nothing started: take answers at once
    ahead.start(top, 0);
    while (!ahead.nextReady())
        std::this_thread::yield();
    const auto a = ahead.take(top.get(), 0);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->path(), t.path("a"));
    const auto x = ahead.take(a.get(), 0);
    ASSERT_TRUE(x);
    EXPECT_EQ(x->path(), t.path("a/x"));
    // The lengths were read ahead: the files may go, the lengths stay.
    std::filesystem::remove(t.path("a/x/f1"));
    std::filesystem::remove(t.path("a/x/.hidden"));
    ASSERT_EQ(x->files().size(), 2u);
    for (std::uint32_t i = 0; i < 2; ++i)
        EXPECT_EQ(x->fileLength(i), x->name(x->files()[i]) == "f1" ? 10 : 20);
    EXPECT_EQ(ahead.take(a.get(), 1)->path(), t.path("a/y"));
    // Files are sorted on the threads only for a walk that asks for it.
    EXPECT_FALSE(x->filesSorted());

    // A folder that cannot be read raises its error when the walk takes it.
    ahead.start(top, 1);
    EXPECT_EQ(errorOf([&] { ahead.take(top.get(), 1); }), err::PathNotFound);

    // A take out of the walk's order gets nothing, and nothing more of that subtree.
    ahead.start(top, 0);
    const auto again = ahead.take(top.get(), 0);
    ASSERT_TRUE(again);
    EXPECT_EQ(ahead.take(again.get(), 1), nullptr);
    EXPECT_EQ(ahead.take(again.get(), 0), nullptr);
    // The next subtree is read again.
    ahead.start(top, 2);
    EXPECT_EQ(ahead.take(top.get(), 2)->path(), t.path("c"));
}

TEST(ReadAhead, StopsAtTheLastLevelAndRunsThroughMoreFoldersThanItsQueueHolds)
{
    TempTree t;
    const size_t count = ReadAhead::MaxFolders + 40;
    for (size_t i = 0; i < count; ++i) {
        const std::string sub = "wide/sub" + std::to_string(1000 + i);
        t.file(sub + "/below/f", 1);
        for (int k = 0; k < 20; ++k)
            t.file(sub + "/f" + std::to_string(k), static_cast<long long>(i + k));
    }
    const auto top = FolderScan::read(t.root());
    {
        ReadAhead ahead(walkLevels(2));  // wide, its subfolders; no deeper
        ahead.start(top, 0);
        const auto wide = ahead.take(top.get(), 0);
        ASSERT_TRUE(wide);
        std::shared_ptr<const FolderScan> sub;
        for (std::uint32_t i = 0; i < count; ++i) {
            sub = ahead.take(wide.get(), i);
            ASSERT_TRUE(sub) << i;
            EXPECT_EQ(sub->path(), t.path("wide/sub" + std::to_string(1000 + i)));
            // Lengths read by either thread, whichever came first.
            ASSERT_EQ(sub->files().size(), 20u);
            for (std::uint32_t k = 0; k < 20; ++k)
                EXPECT_EQ(sub->fileLength(k), static_cast<long long>(i) + std::stoi(std::string(sub->name(sub->files()[k]).substr(1))));
        }
        EXPECT_EQ(ahead.take(sub.get(), 0), nullptr);  // below the last level: not read
    }
    // Ended while its queue is full: the thread stops all the same.
    ReadAhead ahead(walkLevels());
    ahead.start(top, 0);
    ASSERT_TRUE(ahead.take(top.get(), 0));
}

// A walk that books files in list order has each wide folder's files sorted
// on the threads before it takes the folder, its first folder too; the order
// is the one a sort on the walk's own thread gives, case folded, then by
// bytes. A narrow folder is left for the walk to sort.
TEST(ReadAhead, SortsTheFilesWhenTheWalkBooksThemInListOrder)
{
    TempTree t;
    std::vector<std::string> names{"b.txt", "A.txt", "a.txt", "C", "a-rather-long-name-shared-0002",
                                   "a-rather-long-name-shared-0001", "\xff\xfe", ".hidden"};
    // A wide folder: a narrow one is left for the walk to sort.
    while (names.size() < ReadAhead::SortAheadFrom)
        names.push_back("pad-" + std::to_string(names.size() * 7919 % 10007));
    for (const std::string& n : names)
        t.file("top/" + n, 1);
    t.file("top/sub/z", 1);
    t.file("top/sub/Y", 1);
    const auto root = FolderScan::read(t.root());
    const auto top = FolderScan::read(t.path("top"));
    ReadAhead ahead(walkLevels());
    ahead.setSortFiles(true);
    ahead.measure(top);
    ASSERT_TRUE(top->filesSorted());
    std::vector<std::string> sorted;
    for (const std::uint32_t i : top->filesInListOrder())
        sorted.emplace_back(top->name(top->files()[i]));
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) { return listOrderLess(a, b); });
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(sorted.front(), ".hidden");

    ahead.start(top, 0);
    const auto sub = ahead.take(top.get(), 0);
    ASSERT_TRUE(sub);
    EXPECT_FALSE(sub->filesSorted());
    EXPECT_EQ(sub->name(sub->files()[sub->filesInListOrder()[0]]), "Y");
}

// The reader process lists and measures as this process would: the same
// entries in the same order, every length, links and the order of
// creation, a subfolder opened relative to its parent, a folder's error,
// and the lengths of a folder this process read itself.
TEST(ReadAhead, TheReaderProcessListsAndMeasuresAsThisProcessWould)
{
    TempTree t;
    t.file("top/Beta.txt", 7);
    t.file("top/alpha", 300);
    t.file("top/.hidden", 12);
    t.file("top/sub/deep", 4096);
    ASSERT_EQ(::link(t.path("top/alpha").c_str(), t.path("top/sub/alpha-link").c_str()), 0);
    const auto reader = ReaderProcess::start();
    ASSERT_TRUE(reader) << "dorvelix-reader is not beside the test program";
    int signs = 0;
    const auto never = [] { return false; };
    const auto alive = [&] { ++signs; };
    const auto local = FolderScan::read(t.path("top"), nullptr, {}, true);
    const auto remote = reader->readFolder(t.path("top"), nullptr, true, never, alive);
    ASSERT_TRUE(remote);
    const auto entries = [](const FolderScan& s) {
        std::vector<std::string> out;
        for (const FolderEntry* e : s.entriesInListOrder()) {
            const bool folder = e->kind == EntryKind::Folder;
            out.push_back(std::string(s.name(*e)) + (folder ? "/" : " " + std::to_string(s.entryLength(*e))));
        }
        for (const FolderEntry* e : s.entriesInCopyOrder(FolderScan::CopyOrder::ByInode))
            out.push_back(std::string(s.name(*e)));
        return out;
    };
    EXPECT_EQ(entries(*remote), entries(*local));
    EXPECT_EQ(remote->path(), local->path());
    EXPECT_GT(signs, 0);

    const auto sub = reader->readFolder(t.path("top/sub"), remote.get(), true, never, alive);
    ASSERT_TRUE(sub);
    EXPECT_EQ(entries(*sub), entries(*FolderScan::read(t.path("top/sub"), local.get())));
    std::uint32_t link = 0;
    while (sub->name(sub->files()[link]) != "alpha-link")
        ++link;
    EXPECT_TRUE(sub->sharedIdentity(link));

    EXPECT_EQ(errorOf([&] { reader->readFolder(t.path("missing"), nullptr, false, never, alive); }),
              err::PathNotFound);
    const auto own = FolderScan::read(t.path("top"), nullptr, {}, true);
    ASSERT_TRUE(reader->measure(*own, never, alive));
    EXPECT_EQ(entries(*own), entries(*local));
    // Asked to stop, the wait ends and the reader is of no further use.
    EXPECT_FALSE(reader->readFolder(t.path("top"), nullptr, false, [] { return true; }, alive));
    EXPECT_EQ(errorOf([&] { reader->readFolder(t.path("top"), nullptr, false, never, alive); }), err::DiskNotReady);
}
