#include "mount_rig.h"
#include "file_query.h"
#include "lists.h"
#include "messages.h"
#include "read_ahead.h"
#include "text.h"
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
std::vector<std::string> names(const FileList& l)
{
    std::vector<std::string> out;
    for (int i = 0; i < l.listCount(); ++i)
        out.push_back(l.list(i));
    return out;
}
std::vector<std::string> folders(const FolderList& l)
{
    std::vector<std::string> out;
    for (int i = 0; i < l.listCount(); ++i)
        out.push_back(l.list(i));
    return out;
}
}  // namespace

TEST(Lists, EntriesAreOrderedIgnoringCaseThenByBytes)
{
    TempTree t;
    for (const char* n : {"b", "B", "a.txt", "C", "A.txt", "_x", "\xE3\x81\x82"})
        t.file(n);
    FileList files;
    files.setPath(t.root());
    EXPECT_EQ(names(files), (std::vector<std::string>{"_x", "A.txt", "a.txt", "B", "b", "C", "\xE3\x81\x82"}));

    // Names alike in their first eight letters are still ordered by the rest.
    TempTree u;
    for (const char* n : {"abcdefghIJ", "ABCDEFGHij", "abcdefghi", "abcdefgh", "abcdefgha", "Abcdefg"})
        u.file(n);
    files.setPath(u.root());
    EXPECT_EQ(names(files), (std::vector<std::string>{"Abcdefg", "abcdefgh", "abcdefgha", "abcdefghi", "ABCDEFGHij",
                                                      "abcdefghIJ"}));
}

TEST(Lists, FolderListShowsSubfoldersOnlyAndNeverLinks)
{
    TempTree t;
    t.folder("zeta");
    t.folder(".hidden");
    t.folder("Alpha");
    t.file("file");
    std::filesystem::create_directory_symlink(t.path("Alpha"), t.path("link-to-alpha"));
    FolderList dirs;
    dirs.setPath(t.root() + "/");  // a trailing separator is not kept for a non-root folder
    EXPECT_EQ(dirs.path(), t.root());
    EXPECT_EQ(dirs.list(-1), t.root());
    EXPECT_EQ(folders(dirs), (std::vector<std::string>{t.path(".hidden"), t.path("Alpha"), t.path("zeta")}));

    FileList files;
    files.setPath(t.root());
    EXPECT_EQ(names(files), (std::vector<std::string>{"file", "link-to-alpha"}));
    // A link is measured itself, not followed.
    EXPECT_EQ(files.length(1), static_cast<long long>(t.path("Alpha").size()));
}

TEST(Lists, HiddenAndSystemFilesAreListedOnlyWhenAsked)
{
    TempTree t;
    t.file(".dotfile");
    t.file("plain");
    ASSERT_EQ(::mkfifo(t.path("pipe").c_str(), 0644), 0);
    FileList all;
    all.showHidden = all.showSystem = true;
    all.setPath(t.root());
    EXPECT_EQ(names(all), (std::vector<std::string>{".dotfile", "pipe", "plain"}));
    FileList normal;
    normal.setPath(t.root());
    EXPECT_EQ(names(normal), (std::vector<std::string>{"plain"}));
}

TEST(Lists, ChangeHandlerRunsBeforeTheAssignmentReturnsAlsoNested)
{
    TempTree t;
    t.folder("a/b");
    FolderList outer, inner;
    std::vector<std::string> seen;
    inner.onChange = [&] { seen.push_back("inner " + inner.path()); };
    outer.onChange = [&] {
        seen.push_back("outer " + outer.path());
        inner.setPath(outer.list(0), outer.scan().get());
        seen.push_back("outer done");
    };
    outer.setPath(t.path("a"));
    EXPECT_EQ(seen, (std::vector<std::string>{"outer " + t.path("a"), "inner " + t.path("a/b"), "outer done"}));
}

TEST(Lists, AFolderThatCannotBeOpenedFailsWithError76SaysWhyAndChangesNothing)
{
    TempTree t;
    t.folder("x/y");
    t.file("regular");
    t.folder("locked");
    ::chmod(t.path("locked").c_str(), 0);
    FolderList dirs;
    int changes = 0;
    dirs.onChange = [&] { ++changes; };
    dirs.setPath(t.path("x"));
    const auto failure = [&](const std::string& bad) {
        try {
            dirs.setPath(bad);
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::PathNotFound) << bad;
            return errorDescription(e).toStdString();
        }
        return bad + " was opened";
    };
    const std::pair<std::string, const char*> cases[] = {
        {t.path("missing"), "パスが見つかりません。"},
        {"relative/path", "パスが見つかりません。"},
        {t.path("regular"), "パスがホルダーではありません。"},
        {t.path(std::string(300, 'n')), "パス名が長すぎます。"},
    };
    for (const auto& [bad, text] : cases)
        EXPECT_EQ(failure(bad), text);
    const std::string locked = captureUnprivileged([&] { return failure(t.path("locked")); });
    if (locked != "no unprivileged user") {
        EXPECT_EQ(locked, "パスにアクセスする権限がありません。");
    }
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dirs.path(), t.path("x"));
    EXPECT_EQ(dirs.listCount(), 1);
}

TEST(Lists, MountPointsAreBoundariesKnownFromTheTable)
{
    TempTree t;
    t.file("real/r");
    t.folder("sub");
    std::string why;
    // A bind mount of the same file system, and another file system.
    const auto bound = TestMount::bind(t.root(), why, t.path("sub"), "again");
    if (!bound)
        GTEST_SKIP() << why;
    const auto other = TestMount::tmpfs("size=1m", why, "dorvelix-test", t.root(), "other");
    ASSERT_TRUE(other) << why;
    std::filesystem::create_directory_symlink(t.root(), t.path("real/link"));

    FolderList dirs;
    FileList files;
    dirs.setPath(t.root());
    EXPECT_EQ(folders(dirs), (std::vector<std::string>{t.path("real"), t.path("sub")}));
    // Also through a path with a symbolic link in it.
    for (const std::string& sub : {t.path("sub"), t.path("real/link/sub")}) {
        dirs.setPath(sub);
        EXPECT_EQ(dirs.listCount(), 0) << sub;
        files.setPath(sub);
        EXPECT_EQ(files.listCount(), 0) << sub;
    }
    // A mount point opened itself is its drive's root folder.
    dirs.setPath(t.path("sub/again"));
    EXPECT_EQ(dirs.path(), t.path("sub/again/"));
    EXPECT_EQ(dirs.list(1), t.path("sub/again/real"));  // "other" lies under the bound tree empty
}

TEST(Lists, RootFolderOfTheSystemEndsWithTheSeparator)
{
    FolderList dirs;
    dirs.setPath("/");
    EXPECT_EQ(dirs.path(), "/");
    ASSERT_GT(dirs.listCount(), 0);
    EXPECT_EQ(dirs.list(0).rfind('/'), 0u);  // "/bin", not "//bin"
}

TEST(Lists, NamesThatAreNotUtf8AreListedAndMeasured)
{
    TempTree t;
    const std::string odd = "bad\xFF\xFEname";
    t.file(odd, 5000);
    FileList files;
    files.setPath(t.root());
    ASSERT_EQ(files.listCount(), 1);
    EXPECT_EQ(files.list(0), odd);
    EXPECT_EQ(files.length(0), 5000);
    EXPECT_EQ(fileLength(t.path(odd)), 5000);
}

TEST(FileQuery, LengthsAttributesAndErrors)
{
    TempTree t;
    const std::string big = t.file("big", 3LL << 30);  // sparse: no disk space used
    const std::string hidden = t.file(".hidden");
    const std::string readOnly = t.file("ro");
    ::chmod(readOnly.c_str(), 0444);
    EXPECT_EQ(fileLength(big), 3LL << 30);
    EXPECT_EQ(fileAttributes(big), attr::Archive);
    EXPECT_EQ(fileAttributes(hidden), attr::Hidden | attr::Archive);
    EXPECT_EQ(fileAttributes(readOnly), attr::ReadOnly | attr::Archive);
    EXPECT_EQ(fileAttributes(t.root()), attr::Directory);
    EXPECT_EQ(fileDateTime(big).size(), 19);  // yyyy/MM/dd hh:mm:ss

    auto errorOf = [](const std::string& p) {
        try {
            fileLength(p);
        } catch (const RuntimeError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf(t.path("gone")), err::FileNotFound);
    EXPECT_EQ(errorOf(big + "/below-a-file"), err::FileNotFound);
    EXPECT_EQ(errorOf(t.path(std::string(300, 'n'))), err::BadFileName);  // name too long
}

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

TEST(Lists, NameLengthsCountCharactersWithRunsOfAsciiAndInvalidBytes)
{
    const std::string a = "\xE3\x81\x82";  // one character in three bytes
    EXPECT_EQ(characterCount("abcdefghijk\xC3\xA9"), 12);
    EXPECT_EQ(characterCount("abcdefgh" + a + a + a + a + a), 13);
    EXPECT_EQ(characterCount(a + "abcdefghijklmnop" + a), 18);
    EXPECT_EQ(characterCount("abcdefgh\xFF\xFE" + a.substr(0, 2) + "xyz12345"), 8 + 2 + 2 + 8);
    EXPECT_EQ(characterCount(""), 0);
}
