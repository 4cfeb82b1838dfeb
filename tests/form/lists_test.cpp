#include "mount_rig.h"
#include "file_query.h"
#include "lists.h"
#include "messages.h"
#include "read_ahead.h"
#include "text.h"
#include "runtime_error.h"
#include "temp_tree.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
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

    // A folder of a few thousand names, sorted in the room of its keys,
    // lists each file once, in the order of the rule; so does a list that
    // leaves its hidden files out.
    TempTree w;
    std::vector<std::string> expected, shown;
    for (int i = 0; i < 3000; ++i) {
        std::string n = (i % 3 == 0 ? "IMG_" : i % 3 == 1 ? "img_" : ".Img_") + std::to_string((i * 7919) % 3000);
        n += i % 2 ? ".JPG" : ".jpg";
        w.file(n);
        expected.push_back(n);
        if (n.front() != '.')
            shown.push_back(n);
    }
    std::sort(expected.begin(), expected.end(), listOrderLess);
    std::sort(shown.begin(), shown.end(), listOrderLess);
    files.showHidden = true;
    files.setPath(w.root());
    EXPECT_EQ(names(files), expected);
    FileList visible;
    visible.setPath(w.root(), files.scan());
    EXPECT_EQ(names(visible), shown);
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
    // A process that may open no more files (a very deep tree) is told so,
    // not that the path is missing.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const struct rlimit none {0, 0};
        ::setrlimit(RLIMIT_NOFILE, &none);
        const std::string text = failure(t.path("x"));
        _exit(::write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size()) ? 0 : 1);
    }
    ::close(fds[1]);
    std::string tooMany;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        tooMany.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(tooMany, "開いているファイルが多すぎます。");
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

TEST(Lists, NameLengthsCountCharactersWithRunsOfAsciiAndInvalidBytes)
{
    const std::string a = "\xE3\x81\x82";  // one character in three bytes
    EXPECT_EQ(characterCount("abcdefghijk\xC3\xA9"), 12);
    EXPECT_EQ(characterCount("abcdefgh" + a + a + a + a + a), 13);
    EXPECT_EQ(characterCount(a + "abcdefghijklmnop" + a), 18);
    EXPECT_EQ(characterCount("abcdefgh\xFF\xFE" + a.substr(0, 2) + "xyz12345"), 8 + 2 + 2 + 8);
    EXPECT_EQ(characterCount(""), 0);
}
