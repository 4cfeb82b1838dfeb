// The folders a search keeps: each one's row as its parent's breakdown
// lists it, whatever level it lies at, so that browsing shows what a fresh
// search of the parent would, without walking again.
#include "counted_tree.h"
#include "search_rig.h"
#include "temp_tree.h"

#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::SearchRig;
using dorvelix::testing::TempTree;

namespace {

void expectSameRow(const FolderRow& a, const FolderRow& b, const std::string& what)
{
    EXPECT_EQ(a.folders, b.folders) << what;
    EXPECT_EQ(a.files, b.files) << what;
    EXPECT_EQ(a.clusters, b.clusters) << what;
    EXPECT_EQ(a.convertClusters, b.convertClusters) << what;
    EXPECT_EQ(a.fileBytes, b.fileBytes) << what;
}

// The kept rows below folder i against a fresh search of that folder: one
// per subfolder in the same order, and the "." row.
void expectBreakdownOf(const CountedTree& tree, CountedTree::Index i)
{
    SearchRig fresh(128, 4096);
    fresh.open(tree.path(i));
    const SearchResult& r = fresh.search.result();
    const std::vector<CountedTree::Index> children = tree.children(i);
    ASSERT_EQ(r.subfolders.size(), children.size() + 1) << tree.path(i);
    ASSERT_TRUE(r.subtree);
    expectSameRow(tree.subtreeRow(i), *r.subtree, tree.path(i) + " subtree");
    expectSameRow(tree.ownRow(i), r.subfolders[0].row, tree.path(i) + "/.");
    for (size_t k = 0; k < children.size(); ++k) {
        EXPECT_EQ(tree.name(children[k]), r.subfolders[k + 1].name);
        expectSameRow(tree.row(children[k]), r.subfolders[k + 1].row, tree.path(children[k]));
    }
}

}  // namespace

TEST(CountedTree, EveryFolderKeepsTheRowsAFreshSearchOfItsParentShows)
{
    TempTree t;
    t.file("own", 300);
    t.file("b/f", 5000);
    t.file("b/deep/er/a-rather-long-name", 129);
    t.file("b/deep/x", 1);
    t.file("b/deep/er/more/y", 70000);
    t.folder("a");
    for (int i = 0; i < 6; ++i)
        t.file("c/f" + std::to_string(i), 1);
    SearchRig rig(128, 4096);
    rig.open(t.root());
    const SearchResult& r = rig.search.result();
    ASSERT_TRUE(r.tree);
    const CountedTree& tree = *r.tree;
    // Walk order: each parent before its subfolders, names as listed.
    ASSERT_EQ(tree.size(), 7u);
    std::vector<std::string> paths;
    for (CountedTree::Index i = 0; i < tree.size(); ++i)
        paths.push_back(tree.path(i));
    EXPECT_EQ(paths, (std::vector<std::string>{t.root(), t.path("a"), t.path("b"), t.path("b/deep"),
                                               t.path("b/deep/er"), t.path("b/deep/er/more"), t.path("c")}));
    EXPECT_EQ(tree.depth(5), 4);
    EXPECT_EQ(tree.parent(5), 4u);
    EXPECT_EQ(tree.find(t.path("b/deep/er")), std::optional<CountedTree::Index>(4));
    EXPECT_EQ(tree.find(t.path("b/none")), std::nullopt);
    EXPECT_EQ(tree.find("/elsewhere"), std::nullopt);

    // The chosen folder's row is the subtree; its rows are the search's.
    expectSameRow(tree.row(0), *r.subtree, "subtree");
    expectSameRow(tree.ownRow(0), r.subfolders[0].row, ".");
    for (size_t k = 1; k < r.subfolders.size(); ++k)
        expectSameRow(tree.row(tree.children(0)[k - 1]), r.subfolders[k].row, r.subfolders[k].name);
    // Every level below: as a fresh search of that folder lists it.
    for (CountedTree::Index i = 1; i < tree.size(); ++i)
        expectBreakdownOf(tree, i);
    // 56 bytes a folder besides the names.
    EXPECT_LE(tree.memoryBytes(), tree.size() * 64 + 200);
}

TEST(CountedTree, FoldersBelowTheLastLevelAreInTheirParentsOwnRowAndAStopKeepsNone)
{
    TempTree t;
    std::string chain = "d1";
    for (int i = 2; i <= 17; ++i)
        chain += "/d" + std::to_string(i);
    t.file(chain + "/f", 10);
    t.file("d1/g", 10);
    SearchRig rig;
    rig.open(t.root());
    ASSERT_TRUE(rig.search.result().tree);
    const CountedTree& tree = *rig.search.result().tree;
    // Fifteen levels entered below the chosen folder; d16 is counted in the
    // row of d15, which lists it, and not entered.
    ASSERT_EQ(tree.size(), 16u);
    EXPECT_EQ(tree.row(15).folders, 2);
    EXPECT_EQ(tree.ownRow(15).folders, 0);
    EXPECT_EQ(tree.ownRow(15).clusters, 0);
    EXPECT_EQ(tree.row(1).files, 1);
    expectSameRow(tree.row(0), *rig.search.result().subtree, "subtree");

    rig.progress.onProgress = [&] { rig.search.requestStop(); };
    rig.search.paintInterval = std::chrono::milliseconds(0);
    rig.open(t.root());
    EXPECT_TRUE(rig.search.result().stopped);
    EXPECT_FALSE(rig.search.result().tree);
}
