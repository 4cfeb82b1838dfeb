#include "search_rig.h"
#include "temp_tree.h"
#include "value_boxes.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace dorvelix;
using dorvelix::testing::SearchRig;
using dorvelix::testing::TempTree;

namespace {
// A chain of folders d1/d2/.../dN below the tree's top; returns its relative path.
std::string chain(int depth)
{
    std::string p;
    for (int i = 1; i <= depth; ++i)
        p += (i > 1 ? "/d" : "d") + std::to_string(i);
    return p;
}
}  // namespace

TEST(FolderSearch, EmptyFolderShowsZeroEverywhere)
{
    TempTree t;
    SearchRig rig(4096, 128);
    rig.open(t.root());
    EXPECT_EQ(rig.box(Box::AloneFiles), "0");
    for (Box box : {Box::AloneClusters, Box::AloneBytes, Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters, Box::SubtreeBytes, Box::ConvertClusters, Box::ConvertBytes})
        EXPECT_EQ(rig.box(box), " 0 ") << box;
    EXPECT_EQ(rig.window.beeps, 1);
    EXPECT_EQ(rig.window.pointers, (std::vector<int>{BusyPointer, DefaultPointer}));
    EXPECT_EQ(rig.window.graphSizes.size(), 1u);
    EXPECT_TRUE(rig.window.messages.isEmpty());
}

TEST(FolderSearch, OneSubfolderWithOneByteFile)
{
    TempTree t;
    t.file("sub/one", 1);
    SearchRig rig(4096);
    rig.open(t.root());
    EXPECT_EQ(rig.box(Box::AloneFiles), "0");
    EXPECT_EQ(rig.box(Box::AloneClusters), " 0 ");
    EXPECT_EQ(rig.box(Box::AloneBytes), " 0 ");
    EXPECT_EQ(rig.box(Box::SubtreeFolders), " 1 ");
    EXPECT_EQ(rig.box(Box::SubtreeFiles), " 1 ");
    EXPECT_EQ(rig.box(Box::SubtreeClusters), " 2 ");
    EXPECT_EQ(rig.box(Box::SubtreeBytes), " 8,192 ");
    EXPECT_EQ(rig.box(Box::ConvertClusters), " 2 ");
    EXPECT_EQ(rig.box(Box::ConvertBytes), " 8,192 ");
}

TEST(FolderSearch, FolderAloneRowHoldsOnlyItsOwnFilesAndBigFilesKeepTheirLength)
{
    TempTree t;
    t.file("big", 3LL << 30);  // sparse
    t.file("small", 100);
    t.file("sub/inner", 5000);
    SearchRig rig(4096, 32768);
    rig.open(t.root());
    EXPECT_EQ(rig.box(Box::AloneFiles), "2");
    EXPECT_EQ(rig.box(Box::AloneClusters), " 786,433 ");
    EXPECT_EQ(rig.box(Box::AloneBytes), " 3,221,229,568 ");
    // Subtree: files 786,433 + 2, no table cluster at 128 entries, one for the subfolder.
    EXPECT_EQ(rig.box(Box::SubtreeClusters), " 786,436 ");
    EXPECT_EQ(rig.box(Box::SubtreeBytes), " 3,221,241,856 ");
    EXPECT_EQ(rig.box(Box::ConvertClusters), " 98,307 ");  // 98,304 + 1 + 1 + 1 folder
    EXPECT_EQ(rig.box(Box::ConvertBytes), " 3,221,323,776 ");
    ASSERT_TRUE(rig.search.result().alone);
    EXPECT_EQ(rig.search.result().alone->clusters, 786433);
}

TEST(FolderSearch, TopLevelRowsSumToTheTotalsInWalkOrder)
{
    TempTree t;
    t.file("own", 300);
    t.file("b/f", 5000);
    t.file("b/deep/er/a-rather-long-name", 129);
    t.folder("a");
    for (int i = 0; i < 6; ++i)
        t.file("c/f" + std::to_string(i), 1);
    SearchRig rig(128, 4096);
    rig.open(t.root());
    const SearchResult& r = rig.search.result();
    ASSERT_EQ(r.subfolders.size(), 4u);
    EXPECT_EQ(r.subfolders[0].name, "");  // the folder's own files and table
    EXPECT_EQ(r.subfolders[1].name, "a");
    EXPECT_EQ(r.subfolders[2].name, "b");
    // b: b, deep, er; 40 + 2 clusters for the files, tables of 4, 3 and 4
    // entries (one with the long name's), one cluster per folder.
    EXPECT_EQ(r.subfolders[2].row.folders, 3);
    EXPECT_EQ(r.subfolders[2].row.clusters, 40 + 2 + 2 + 3);
    EXPECT_EQ(r.subfolders[3].row.clusters, 6 + 2 + 1);  // c: 8 entries take 2 table clusters
    FolderRow sum;
    for (const SubfolderRow& s : r.subfolders) {
        sum.folders += s.row.folders;
        sum.files += s.row.files;
        sum.clusters += s.row.clusters;
        sum.convertClusters += s.row.convertClusters;
    }
    ASSERT_TRUE(r.subtree);
    EXPECT_EQ(sum.folders, r.subtree->folders);
    EXPECT_EQ(sum.files, r.subtree->files);
    EXPECT_EQ(sum.clusters, r.subtree->clusters);
    EXPECT_EQ(sum.convertClusters, r.subtree->convertClusters);
    EXPECT_EQ(r.subtree->clusters, rig.form.treeClusterCount);
}

TEST(FolderSearch, TableRuleCountsEntriesAndLongNames)
{
    TempTree t;
    t.file("s/ABCDEFGH.TXT");                          // 12 characters: one entry
    t.file("s/ABCDEFGHI.TXT");                         // 13: two entries
    t.file("s/" + std::string(13, '\xFF'));            // 13 invalid bytes: 13 characters
    t.file("s/\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xE3\x81\x88\xE3\x81\x8A\xE3\x81\x8B");  // 6 characters
    SearchRig rig(128, 4096);  // 4 entries per cluster; 128 when converted
    rig.open(t.root());
    // s: E = 2 + 4 files + 2 long names = 8 → 2 clusters; the chosen folder: E = 3 → 0.
    EXPECT_EQ(rig.form.treeClusterCount, 2 + 1);
    EXPECT_EQ(rig.form.treeConvertClusterCount, 0 + 1);
    EXPECT_EQ(rig.form.treeFiles, 4);
}

TEST(FolderSearch, FifteenLevelsAreSearchedAndTheSixteenthOnlyWarned)
{
    TempTree t;
    t.file(chain(15) + "/deep", 10);
    {
        SearchRig rig;
        rig.open(t.root());
        EXPECT_TRUE(rig.window.messages.isEmpty());
        EXPECT_EQ(rig.form.treeFolders, 15);
        EXPECT_EQ(rig.form.treeFiles, 1);
    }
    t.file(chain(16) + "/ignored", 10);
    t.folder(chain(16) + "/below");
    SearchRig rig;
    rig.open(t.root());
    ASSERT_EQ(rig.window.messages.size(), 1);
    EXPECT_EQ(rig.window.messages[0],
              QStringLiteral("パスレベル15以下にファイルがありますが無視します。\r\n\r\n")
                  + QString::fromStdString(t.path(chain(16))));
    EXPECT_EQ(rig.form.treeFolders, 16);
    EXPECT_EQ(rig.form.treeFiles, 1);
    EXPECT_EQ(rig.form.treeClusterCount, 1 + 16);  // the file, one cluster per folder
}

TEST(FolderSearch, HiddenAndSystemFilesAreCountedDownToLevelEightOnly)
{
    TempTree t;
    for (int level : {8, 9}) {
        t.file(chain(level) + "/.hidden", 1);
        ASSERT_EQ(::mkfifo(t.path(chain(level) + "/fifo").c_str(), 0644), 0);
    }
    t.file(".top-hidden", 1);
    SearchRig rig;
    rig.open(t.root());
    EXPECT_EQ(rig.form.treeFiles, 1 + 2);  // the top's hidden file, level 8's two
    EXPECT_EQ(rig.box(Box::AloneFiles), "1");
}

TEST(FolderSearch, LinksAreBookedByTheirOwnLengthAndNeverFollowed)
{
    TempTree t;
    t.file("target/big", 1 << 20);
    std::filesystem::create_directory_symlink(t.path("target"), t.path("zlink"));
    SearchRig rig(4096);
    rig.open(t.root());
    EXPECT_EQ(rig.form.treeFolders, 1);
    EXPECT_EQ(rig.form.treeFiles, 2);
    EXPECT_EQ(rig.form.treeClusterCount, 256 + 1 + 1);  // big, the link, the folder
}

TEST(FolderSearch, ShiftHeldStartsNoSearch)
{
    TempTree t;
    t.file("a/f", 10);
    SearchRig rig;
    rig.form.modifierHeld = true;
    rig.form.treeFiles = 7;
    rig.open(t.root());
    EXPECT_EQ(rig.form.treeFiles, 7);
    EXPECT_EQ(rig.window.beeps, 0);
    EXPECT_EQ(rig.openFiles.path(), "");
    rig.form.modifierHeld = false;
    rig.open(t.path("a"));
    EXPECT_EQ(rig.form.treeFiles, 1);
}

TEST(FolderSearch, PendingEventsRunAfterEachTopLevelSubfolderAndCannotStartASecondSearch)
{
    TempTree t;
    t.file("one/f", 1);
    t.file("two/f", 1);
    t.file("three/deeper/f", 1);
    t.file("elsewhere/x", 1);
    SearchRig rig;
    int runs = 0;
    rig.window.onProcessEvents = [&] {
        ++runs;
        // The user double-clicks another folder while the search runs.
        rig.open(t.path("elsewhere"));
        rig.search.onFolderChosen();
    };
    rig.open(t.root());
    EXPECT_EQ(runs, 4);  // one, three, two and elsewhere
    EXPECT_EQ(rig.window.beeps, 1);
    EXPECT_EQ(rig.form.treeFolders, 5);
    EXPECT_EQ(rig.form.treeFiles, 4);
    EXPECT_FALSE(rig.search.isSearching());
}

TEST(FolderSearch, FoldersOfMoreThan32767EntriesAreCountedWholeWithOneReport)
{
    TempTree t;
    constexpr int count = 33000;
    t.folder("big");
    for (int i = 0; i < count; ++i)
        t.file("big/f" + std::to_string(i));
    t.folder("big/sub");
    SearchRig rig(4096);
    rig.open(t.root());
    EXPECT_EQ(rig.form.treeFiles, count);
    EXPECT_EQ(rig.form.treeFolders, 2);
    ASSERT_EQ(rig.window.messages.size(), 1);
    EXPECT_EQ(rig.window.messages[0], QStringLiteral("err2 code : 6 オーバーフローしました。\r\n???"));
    // The entry count stops at 32,767: 255 table clusters, and one per folder.
    EXPECT_EQ(rig.form.treeClusterCount, 255 + 2);
}

TEST(FolderSearch, AnOverflowingTotalIsReportedOncePerSearch)
{
    TempTree t;
    for (const char* name : {"a", "b", "c"})
        t.file(name, 64LL << 30);  // 2^31 clusters of 32 bytes each: too many for the total
    t.file("d", 64);
    SearchRig rig(32, 4096);
    rig.open(t.root());
    ASSERT_EQ(rig.window.messages.size(), 1);
    EXPECT_EQ(rig.window.messages[0], QStringLiteral("err1 code : 6 オーバーフローしました。\r\n???"));
    EXPECT_EQ(rig.form.treeFiles, 4);
    EXPECT_EQ(rig.form.treeClusterCount, 2 + 6);  // only d fitted, and the table at one entry a cluster
    EXPECT_EQ(rig.form.treeConvertClusterCount, 1);
    EXPECT_EQ(rig.window.beeps, 1);

    rig.open(t.root());  // a new search reports again
    EXPECT_EQ(rig.window.messages.size(), 2);
}

namespace {
// What a search shows: its message boxes, its value boxes and its totals.
std::string outcome(const SearchRig& rig)
{
    std::string out;
    for (const QString& m : rig.window.messages)
        out += m.toStdString() + "|";
    for (const auto& [box, text] : rig.window.boxes)
        out += std::string(objectName(box)) + "=" + text.toStdString() + " ";
    return out + std::to_string(rig.form.treeFolders) + " " + std::to_string(rig.form.treeFiles) + " "
        + std::to_string(rig.form.treeClusterCount) + " " + std::to_string(rig.form.treeConvertClusterCount);
}
}  // namespace

TEST(FolderSearch, ReadAheadSearchesAGeneratedTreeExactlyAsAWalkThatReadsAsItGoes)
{
    TempTree t;
    const std::string names[] = {"f", "FILE.TXT", "a-rather-long-file-name", "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E.txt",
                                 ".hidden", std::string(60, 'x'), "caf\xC3\xA9-name-long", "bad\xFF\xFEname-longer"};
    unsigned n = 0;
    const auto files = [&](const std::string& dir, int count) {
        for (int i = 0; i < count; ++i, ++n)
            t.file(dir + "/" + names[n % 8] + std::to_string(n), (n * 2654435761u) % 70000);
    };
    files("wide", 600);
    for (int g = 0; g < 6; ++g) {
        for (int s = 0; s < 8; ++s)
            files("small/g" + std::to_string(g) + "/s" + std::to_string(s), 3);
    }
    for (int level = 1; level <= 18; ++level) {
        files(chain(level), 4);
        ASSERT_EQ(::mkfifo(t.path(chain(level) + "/fifo").c_str(), 0644), 0);
    }
    std::filesystem::create_directory_symlink(t.path("wide"), t.path("small/link"));
    files("", 5);

    SearchRig reference(4096, 512);
    reference.search.setReadAhead(false);
    reference.open(t.root());
    SearchRig fast(4096, 512);
    fast.open(t.root());
    EXPECT_EQ(outcome(fast), outcome(reference));
    // Files left unsorted by the threads (the report's way) count the same.
    SearchRig unsorted(4096, 512);
    unsorted.search.setSortFilesAhead(false);
    unsorted.open(t.root());
    EXPECT_EQ(outcome(unsorted), outcome(reference));
    EXPECT_EQ(fast.window.messages.size(), 1);  // the chain's folder below level 15
    EXPECT_EQ(fast.form.treeFolders, 3 + 6 + 48 + 15);  // the top's, small's, the groups', the chain's
    // The hidden lists keep their last folders, in list order.
    EXPECT_EQ(fast.search.fileList(4).path(), t.path("small/g5/s7"));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fast.search.fileList(4).list(i), reference.search.fileList(4).list(i));
}

TEST(FolderSearch, TheWindowRepaintsInsideTheLevelsAndTakesInputOnlyBetweenTopLevelSubfolders)
{
    TempTree t;
    t.file("one/a/b/f", 1);
    t.file("two/c/f", 1);
    SearchRig rig;
    rig.search.paintInterval = std::chrono::milliseconds(0);
    rig.open(t.root());
    EXPECT_EQ(rig.window.pendingEventRuns, 2);
    // After each of one, a, b, two, c; more while the walk would wait for
    // the read-ahead.
    const int paints = rig.window.paintRuns;
    EXPECT_GE(paints, 5);
    rig.search.paintInterval = std::chrono::hours(1);
    rig.open(t.root());
    EXPECT_EQ(rig.window.paintRuns, paints);
}

TEST(FolderSearch, AStopEndsTheWalkAtOnceAndTheNextSearchRunsWhole)
{
    TempTree t;
    for (int i = 0; i < 30; ++i)
        t.folder(chain(15) + "/deep" + std::to_string(i));
    t.file("z/f", 1);
    SearchRig rig;
    rig.window.onMessage = [&](const QString&) { rig.search.requestStop(); };
    rig.open(t.root());
    // The first warning stops it: no other message, no beep, the subtree
    // row blank rather than a partial figure, and the ordinary pointer back.
    EXPECT_EQ(rig.window.messages.size(), 1);
    EXPECT_TRUE(rig.search.stopRequested());
    EXPECT_FALSE(rig.search.isSearching());
    EXPECT_EQ(rig.window.beeps, 0);
    EXPECT_EQ(rig.box(Box::SubtreeFolders), "- ");
    EXPECT_TRUE(rig.search.result().stopped);
    EXPECT_EQ(rig.window.pointers.back(), DefaultPointer);

    rig.window.onMessage = nullptr;
    rig.open(t.root());
    EXPECT_FALSE(rig.search.stopRequested());
    EXPECT_EQ(rig.window.messages.size(), 31);
    EXPECT_EQ(rig.box(Box::SubtreeFolders), " 46 ");  // d1..d15, z and the 30 folders below level 15
    EXPECT_EQ(rig.window.beeps, 1);
}
