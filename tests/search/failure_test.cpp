#include "search_rig.h"
#include "temp_tree.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace dorvelix;
using dorvelix::testing::captureUnprivileged;
using dorvelix::testing::SearchRig;
using dorvelix::testing::TempTree;

namespace {
// Runs a search of folder as user nobody (permissions stop it even when the
// tests run as root) and returns its message boxes and totals as text.
std::string searchUnprivileged(const std::string& folder)
{
    return captureUnprivileged([&] {
        SearchRig rig(4096);
        rig.open(folder);
        QString out;
        for (const QString& m : rig.window.messages)
            out += m + u'|';
        out += QStringLiteral("folders=%1 files=%2 clusters=%3 beeps=%4")
                   .arg(rig.form.treeFolders)
                   .arg(rig.form.treeFiles)
                   .arg(rig.form.treeClusterCount)
                   .arg(rig.window.beeps);
        return out.toStdString();
    });
}
}  // namespace

TEST(SearchFailures, UnreadableFoldersAreReportedByTheLevelEnteringThemAndSkipped)
{
    TempTree t;
    t.folder("a");
    t.folder("b");
    t.file("c/d/hidden-away", 1);
    t.file("c/e/counted", 1);
    t.file("top", 1);
    for (const char* locked : {"a", "b", "c/d"})
        ::chmod(t.path(locked).c_str(), 0);
    // Paths keep their case; the text says why the folder did not open.
    const std::string denied = " 76 パスにアクセスする権限がありません。\r\n";
    EXPECT_EQ(searchUnprivileged(t.root()),
              "err1 code :" + denied + t.path("a") + "|"
              + "err1 code :" + denied + t.path("b") + "|"
              + "err2 code :" + denied + t.path("c/d") + "|"
              + "folders=5 files=2 clusters=7 beeps=1");
}

TEST(SearchFailures, FilesWhoseLengthCannotBeReadAreCountedWithoutClusters)
{
    TempTree t;
    t.file("sub/f1", 10);
    t.file("sub/f2", 10);
    // Listable but not searchable: the names can be read, their lengths cannot.
    ::chmod(t.path("sub").c_str(), 0444);
    const std::string badName = " 52 ファイル名または番号が不正です。\r\n";
    EXPECT_EQ(searchUnprivileged(t.root()),
              "err2 code :" + badName + t.path("sub/f1") + "|"
              + "err2 code :" + badName + t.path("sub/f2") + "|"
              + "folders=1 files=2 clusters=1 beeps=1");
}

TEST(SearchFailures, AChosenFolderThatCannotBeOpenedStartsNoSearch)
{
    TempTree t;
    t.folder("gone");
    SearchRig rig;
    rig.open(t.root());
    const int beeps = rig.window.beeps;
    std::filesystem::remove(t.path("gone"));
    try {
        rig.open(t.path("gone"));
        FAIL() << "a vanished folder was opened";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::PathNotFound);
    }
    EXPECT_EQ(rig.window.beeps, beeps);
    EXPECT_EQ(rig.openFolders.path(), t.root());
}

TEST(SearchFailures, AFolderThatVanishesDuringTheSearchIsReported)
{
    TempTree t;
    t.file("a/f", 1);
    t.file("b/f", 1);
    SearchRig rig;
    rig.window.onProcessEvents = [&] { std::filesystem::remove_all(t.path("b")); };
    rig.open(t.root());
    ASSERT_EQ(rig.window.messages.size(), 1);
    EXPECT_EQ(rig.window.messages[0].toStdString(),
              "err1 code : 76 パスが見つかりません。\r\n" + t.path("b"));
    EXPECT_EQ(rig.form.treeFolders, 2);
    EXPECT_EQ(rig.form.treeFiles, 1);
}

TEST(SearchFailures, ReadAheadReportsEveryFailureInTheOrderOfAWalkThatReadsAsItGoes)
{
    // Failures at several levels and in several subtrees, between folders and
    // files that are searched: folders that cannot be opened, files whose
    // lengths cannot be read (also in a folder of more than 32,767 entries,
    // whose overflow falls among them), and folders below level 15.
    TempTree t;
    std::string deep = "deep";
    for (int level = 1; level <= 17; ++level, deep += "/d" + std::to_string(level)) {
        t.file(deep + "/f" + std::to_string(level), level * 1000);
        if (level % 5 == 0)
            t.folder(deep + "/locked");
    }
    for (const char* name : {"a", "b/c", "b/c/e", "z"}) {
        t.file(std::string(name) + "/file with a long name", 5000);
        t.file(std::string(name) + "/short", 1);
    }
    t.folder("b/locked");
    t.folder("nolengths/inner");
    for (int i = 0; i < 32800; ++i)
        t.file("nolengths/n" + std::to_string(i));
    ::chmod(t.path("nolengths").c_str(), 0444);
    ::chmod(t.path("b/locked").c_str(), 0);
    for (int level = 5; level <= 15; level += 5) {
        std::string d = "deep";
        for (int k = 2; k <= level; ++k)
            d += "/d" + std::to_string(k);
        ::chmod(t.path(d + "/locked").c_str(), 0);
    }
    // Both searches run in one unprivileged process, which tells whether
    // they agree and how many boxes they raised (the boxes are too many to
    // hand back whole).
    const std::string result = captureUnprivileged([&] {
        std::string outcomes[2];
        for (const bool readAhead : {true, false}) {
            SearchRig rig(4096);
            rig.search.setReadAhead(readAhead);
            rig.open(t.root());
            for (const QString& m : rig.window.messages)
                outcomes[readAhead] += m.toStdString() + "|";
            outcomes[readAhead] += std::to_string(rig.form.treeFiles) + " " + std::to_string(rig.form.treeClusterCount);
        }
        return (outcomes[0] == outcomes[1] ? "same " : "differ ")
            + std::to_string(std::count(outcomes[1].begin(), outcomes[1].end(), '|'));
    });
    // Locked folders at levels 6 and 11 and in b, nolengths/inner, the
    // lengths in nolengths with its one overflow, two warnings at level 15.
    EXPECT_EQ(result, "same " + std::to_string(3 + 1 + 32800 + 1 + 2));
}
