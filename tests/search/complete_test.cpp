// The report's complete walk: the window search's cluster rules without its
// limits, and the checks of what will not copy to a FAT-family drive.
#include "complete_walk.h"
#include "copy_check.h"
#include "report_texts.h"
#include "search_rig.h"
#include "temp_tree.h"

#include <gtest/gtest.h>
#include <cstring>
#include <filesystem>
#include <set>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace dorvelix;
using dorvelix::testing::SearchRig;
using dorvelix::testing::TempTree;

namespace {

SearchResult walk(const std::string& folder, long long cluster, long long convert, WalkObserver* check = nullptr,
                  QStringList* messages = nullptr)
{
    return CompleteWalk(cluster, convert, [&](const QString& m) { if (messages) messages->push_back(m); }, check)
        .run(folder);
}

std::string chain(int depth, const std::string& top)
{
    std::string p = top;
    for (int i = 1; i <= depth; ++i)
        p += "/l" + std::to_string(i);
    return p;
}

}  // namespace

TEST(CompleteWalk, CountsAsTheWindowWhereTheWindowHasNoLimitAndAllBeyond)
{
    TempTree t;
    t.file("own", 300);
    t.file("b/f", 5000);
    t.file("b/deep/er/a-rather-long-name", 129);
    for (int i = 0; i < 6; ++i)
        t.file("c/f" + std::to_string(i), 1);
    t.folder("a");
    SearchRig rig(128, 4096);
    rig.open(t.root());
    const SearchResult window = rig.search.result();
    const SearchResult all = walk(t.root(), 128, 4096);
    ASSERT_TRUE(window.subtree && all.subtree && all.alone);
    EXPECT_EQ(all.subtree->folders, window.subtree->folders);
    EXPECT_EQ(all.subtree->files, window.subtree->files);
    EXPECT_EQ(all.subtree->clusters, window.subtree->clusters);
    EXPECT_EQ(all.subtree->convertClusters, window.subtree->convertClusters);
    EXPECT_EQ(all.alone->clusters, window.alone->clusters);
    ASSERT_EQ(all.subfolders.size(), window.subfolders.size());
    for (size_t i = 0; i < all.subfolders.size(); ++i) {
        EXPECT_EQ(all.subfolders[i].name, window.subfolders[i].name);
        EXPECT_EQ(all.subfolders[i].row.clusters, window.subfolders[i].row.clusters) << i;
    }
    EXPECT_TRUE(all.limits.complete);
    EXPECT_EQ(all.ownTableConvertClusters, 1);

    // Below level 15, and hidden and special files below level 8: the window
    // skips them and says how many folders it did not enter.
    t.file(chain(17, "b") + "/.deep-hidden", 10);
    ASSERT_EQ(::mkfifo(t.path(chain(10, "b") + "/fifo").c_str(), 0644), 0);
    rig.open(t.root());
    const SearchResult again = walk(t.root(), 128, 4096);
    EXPECT_EQ(rig.search.result().limits.levelsSkipped, 1);
    EXPECT_EQ(rig.search.result().limits.hiddenSkipped, 1);  // the FIFO at level 11
    EXPECT_EQ(again.subtree->files, window.subtree->files + 2);
    EXPECT_EQ(again.subtree->folders, window.subtree->folders + 17);
    EXPECT_EQ(rig.search.result().subtree->folders, window.subtree->folders + 15);
    EXPECT_EQ(again.limits.levelsSkipped, 0);

    // A walk on a worker thread: its progress ends at the subtree's counts,
    // and a cancel ends it with what it had, never as the answer.
    WalkProgress progress;
    CompleteWalk followed(128, 4096, {});
    followed.setProgress(&progress);
    const SearchResult full = followed.run(t.root());
    EXPECT_EQ(progress.folders, full.subtree->folders);
    EXPECT_EQ(progress.files, full.subtree->files);
    EXPECT_FALSE(full.stopped);
    progress.cancel = true;
    const SearchResult cancelled = followed.run(t.root());
    EXPECT_TRUE(cancelled.stopped);
    EXPECT_FALSE(cancelled.subtree);
    ASSERT_TRUE(cancelled.countedBeforeStop);
    EXPECT_EQ(cancelled.countedBeforeStop->files, 1);  // the folder's own file, before any subfolder
}

TEST(CompleteWalk, AnyPowerOfTwoIsAConversionLengthAndUnreadableFoldersAreCounted)
{
    TempTree t;
    t.file("f", 70000);
    t.file("s/g", 1);
    const SearchResult r = walk(t.root(), 4096, 65536);
    // 2 clusters for f, 1 for g, 1 for s; no table reaches a second cluster.
    EXPECT_EQ(r.subtree->convertClusters, 2 + 1 + 1);
    EXPECT_EQ(r.convertBytes(r.subtree->convertClusters), 4 * 65536);

    const int status = dorvelix::testing::runUnprivileged([&] {
        TempTree u;
        u.file("closed/x", 10);
        u.file("open/y", 10);
        // Files listed but not searchable: counted, each one message, in
        // list order whatever order the system lists them in.
        for (const char* name : {"shut/b", "shut/C", "shut/a", "shut/B1"})
            u.file(name, 10);
        ::chmod(u.path("closed").c_str(), 0);
        ::chmod(u.path("shut").c_str(), 0444);
        QStringList messages;
        const SearchResult l = walk(u.root(), 4096, 4096, nullptr, &messages);
        QStringList unreadable;
        for (const QString& m : messages.mid(1, 4))  // after the closed folder's
            unreadable << m.section(u'/', -1);
        return l.limits.unreadableFolders == 1 && l.limits.unreadableFiles == 4 && messages.size() == 5
                       && unreadable == QStringList{"a", "b", "B1", "C"} && l.subtree->folders == 3
                       && l.subtree->files == 5
                   ? 0
                   : 1;
    });
    if (status < 0)
        GTEST_SKIP() << "no unprivileged user";
    EXPECT_EQ(status, 0);
}

TEST(FatCopyCheck, EachReasonAndOnlyThose)
{
    TempTree t;
    t.file("ok.txt", 10);
    t.file("big", 4LL << 30);            // sparse
    t.file("almost", (4LL << 30) - 1);
    t.file("sub/a:b", 1);
    t.file("sub/what?", 1);
    t.file(std::string("sub/ctl\x01"), 1);
    t.file("sub/dot.", 1);
    t.file("sub/space ", 1);
    t.file("sub/Readme", 1);
    t.file("sub/README", 1);
    t.folder("sub/Photos");
    t.folder("sub/photos");
    t.file("sub/\xC3\x89T\xC3\x89", 1);  // "ÉTÉ" and "été": one name to FAT
    t.file("sub/\xC3\xA9t\xC3\xA9", 1);
    t.file("sub/odd\xFE", 1);             // not UTF-8, and not one name
    t.file("sub/odd\xFF", 1);
    std::filesystem::create_symlink("ok.txt", t.path("link"));
    ASSERT_EQ(::mkfifo(t.path("sub/fifo").c_str(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string sockPath = t.path("sock");
    ASSERT_LT(sockPath.size(), sizeof addr.sun_path);
    std::strcpy(addr.sun_path, sockPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(sock);

    using Found = std::set<std::pair<std::string, std::string>>;
    const auto found = [&](bool sizeLimit) {
        FatCopyCheck check(sizeLimit);
        walk(t.root(), 4096, 32768, &check);
        Found f;
        for (const BlockedEntry& b : check.blocked())
            f.insert({b.path, report_text::reasonKey(b.reason)});
        return f;
    };
    const Found exfat{
        {"sub/a:b", "forbidden_character"},   {"sub/what?", "forbidden_character"},
        {"sub/ctl\x01", "forbidden_character"}, {"sub/dot.", "trailing_dot_or_space"},
        {"sub/space ", "trailing_dot_or_space"}, {"sub/Readme", "case_collision"},
        {"sub/photos", "case_collision"},     {"sub/\xC3\xA9t\xC3\xA9", "case_collision"},
        {"link", "symbolic_link"},
        {"sub/fifo", "special_file"},         {"sock", "special_file"},
    };
    EXPECT_EQ(found(false), exfat);
    Found fat = exfat;
    fat.insert({"big", "file_too_large"});
    EXPECT_EQ(found(true), fat);
}

// A file with several links is held once on the disk: the first name the
// search reaches books its clusters, later ones count as files only, in the
// window's search (with and without read-ahead) and in the complete walk. A
// copy makes one file of each link: the copy count books them all.
TEST(CompleteWalk, AFileWithSeveralLinksOccupiesOnce)
{
    TempTree t;
    const std::string big = t.file("a/big", 100000);
    for (const std::string& link : {t.path("a/l1"), t.path("a/l2"), t.path("b/l3")}) {
        std::filesystem::create_directories(std::filesystem::path(link).parent_path());
        ASSERT_EQ(::link(big.c_str(), link.c_str()), 0);
    }
    t.file("c/single", 1);
    const auto rowsOf = [](const SearchResult& r) {
        std::vector<std::pair<long long, long long>> rows;  // files and clusters of a, b, c
        for (size_t i = 1; i < r.subfolders.size(); ++i)
            rows.emplace_back(r.subfolders[i].row.files, r.subfolders[i].row.clusters);
        return rows;
    };
    const std::vector<std::pair<long long, long long>> once{{3, 26}, {1, 1}, {1, 2}};
    for (const bool readAhead : {true, false}) {
        SearchRig rig(4096);
        rig.search.setReadAhead(readAhead);
        rig.open(t.root());
        EXPECT_EQ(rowsOf(rig.search.result()), once) << readAhead;
        EXPECT_EQ(rig.form.treeClusterCount, 29) << readAhead;
        rig.open(t.root());  // a new search books them again
        EXPECT_EQ(rig.form.treeClusterCount, 29) << readAhead;
    }
    const SearchResult all = walk(t.root(), 4096, 4096);
    EXPECT_EQ(rowsOf(all), once);
    EXPECT_EQ(all.subtree->files, 5);
    EXPECT_EQ(all.subtree->convertClusters, 29);

    CompleteWalk copy(4096, 4096, {});
    copy.setEveryLinkConverted(true);
    const SearchResult copied = copy.run(t.root());
    EXPECT_EQ(copied.subtree->clusters, 29);
    EXPECT_EQ(copied.subtree->convertClusters, 29 + 3 * 25);
    EXPECT_EQ(copied.subfolders[2].row.convertClusters, 26);
}

// A drive whose cluster is shorter than a table entry: the complete count
// books each table entry in a cluster of its own instead of dividing by none.
TEST(CompleteWalk, ClustersShorterThanAnEntryHoldOneEntryEach)
{
    TempTree t;
    for (int i = 0; i < 40; ++i)
        t.file("s/f" + std::to_string(i), 1);
    const SearchResult r = walk(t.root(), 16, 4096);
    ASSERT_TRUE(r.subtree);
    // The chosen folder's table beyond its first cluster: 3 entries; s's
    // first cluster, its 42 entries, and the 40 files of one cluster each.
    EXPECT_EQ(r.subtree->clusters, 3 + 1 + 42 + 40);
    EXPECT_EQ(r.subtree->convertClusters, 0 + 1 + 0 + 40);
}
