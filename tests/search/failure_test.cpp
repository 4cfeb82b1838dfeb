#include "search_rig.h"
#include "temp_tree.h"

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
                   .arg(rig.form.TreeFolders)
                   .arg(rig.form.TreeFiles)
                   .arg(rig.form.TreeClusterCount)
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
    EXPECT_EQ(rig.Dir1.path(), t.root());
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
    EXPECT_EQ(rig.form.TreeFolders, 2);
    EXPECT_EQ(rig.form.TreeFiles, 1);
}
