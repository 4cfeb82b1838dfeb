#include "file_info.h"
#include "file_query.h"
#include "lists.h"
#include "mount_rig.h"
#include "temp_tree.h"
#include "window_rig.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <filesystem>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvelix;
using dorvelix::testing::EnglishTexts;
using dorvelix::testing::TempTree;

namespace {

const QString NotFound = QStringLiteral("  ファイルが見つかりません。");

// The folder list and the file list open on one folder, with the named file selected.
struct Lists {
    FolderList openFolders;
    FileList openFiles;

    explicit Lists(const std::string& folder)
    {
        openFolders.setPath(folder);
        openFiles.showHidden = openFiles.showSystem = true;
        openFiles.setPath(folder);
    }
    void select(const std::string& name)
    {
        openFiles.listIndex = -1;
        for (int i = 0; i < openFiles.listCount(); ++i) {
            if (openFiles.list(i) == name)
                openFiles.listIndex = i;
        }
        ASSERT_GE(openFiles.listIndex, 0) << name;
    }
    FileInfoTexts texts(std::int32_t clusterLength = 4096) const
    {
        return fileInfoTexts(openFolders, openFiles, clusterLength);
    }
};

}  // namespace

TEST(FileInfo, LengthClustersAndPathOfRealFiles)
{
    TempTree t;
    t.file("report.txt", 1234);
    t.file("empty");
    t.file("exact", 4096);
    t.file("one-more", 4097);
    Lists l(t.root());

    l.select("report.txt");
    FileInfoTexts info = l.texts();
    EXPECT_EQ(info.path, QString::fromStdString(t.path("report.txt")));
    EXPECT_EQ(info.length, QStringLiteral("   1,234 ﾊﾞｲﾄ (4D2H )"));
    EXPECT_EQ(info.clusters, QStringLiteral("   1 "));
    EXPECT_EQ(info.attributes, QStringLiteral("  Archive "));

    l.select("empty");
    info = l.texts();
    EXPECT_EQ(info.length, QStringLiteral("   0 ﾊﾞｲﾄ (0H )"));
    EXPECT_EQ(info.clusters, QStringLiteral("   0 "));
    {
        // In English the hexadecimal reads as English writes it.
        EnglishTexts english;
        ASSERT_TRUE(english.found());
        EXPECT_EQ(l.texts().length, QStringLiteral("   0 bytes (0x0)"));
        l.select("report.txt");
        EXPECT_EQ(l.texts().length, QStringLiteral("   1,234 bytes (0x4D2)"));
    }

    l.select("exact");
    EXPECT_EQ(l.texts().clusters, QStringLiteral("   1 "));
    l.select("one-more");
    EXPECT_EQ(l.texts().clusters, QStringLiteral("   2 "));
    // Before any drive could be read the cluster length is 0: no clusters.
    EXPECT_EQ(l.texts(0).clusters, QStringLiteral("   0 "));
}

TEST(FileInfo, FilesOfMoreThanTwoGibibytesShowTheirTrueLength)
{
    TempTree t;
    t.file("big.img", 3LL << 30);  // sparse: no disk space is used
    Lists l(t.root());
    l.select("big.img");
    const FileInfoTexts info = l.texts(32768);
    EXPECT_EQ(info.length, QStringLiteral("   3,221,225,472 ﾊﾞｲﾄ (C0000000H )"));
    EXPECT_EQ(info.clusters, QStringLiteral("   98,304 "));
}

TEST(FileInfo, AttributeTexts)
{
    EXPECT_EQ(attributeText(0), QStringLiteral("  Normal "));
    EXPECT_EQ(attributeText(attr::ReadOnly | attr::Archive), QStringLiteral("  Read-Only Archive "));
    EXPECT_EQ(attributeText(attr::Hidden | attr::System), QStringLiteral("  Hidden System "));
    EXPECT_EQ(attributeText(0x37), QStringLiteral("  Read-Only Hidden System Dir Archive "));

    TempTree t;
    t.file(".profile", 10);
    const std::string locked = t.file("locked", 10);
    ::chmod(locked.c_str(), 0444);
    ASSERT_EQ(::mkfifo(t.path("pipe").c_str(), 0644), 0);
    Lists l(t.root());
    l.select(".profile");
    EXPECT_EQ(l.texts().attributes, QStringLiteral("  Hidden Archive "));
    l.select("locked");
    EXPECT_EQ(l.texts().attributes, QStringLiteral("  Read-Only Archive "));
    l.select("pipe");
    EXPECT_EQ(l.texts().attributes, QStringLiteral("  System "));
}

TEST(FileInfo, DateInTheUsualForm)
{
    TempTree t;
    const std::string p = t.file("dated", 1);
    const QDateTime when(QDate(2001, 3, 14), QTime(9, 26, 53));
    const timespec times[2] = {{when.toSecsSinceEpoch(), 0}, {when.toSecsSinceEpoch(), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, p.c_str(), times, 0), 0);
    Lists l(t.root());
    l.select("dated");
    EXPECT_EQ(l.texts().date, QStringLiteral("  2001/03/14 09:26:53"));
}

TEST(FileInfo, PathsAreJoinedOnceAndKeepTheirBytes)
{
    TempTree t;
    t.file("bad\xff.txt", 7);
    Lists l(t.root());
    l.select("bad\xff.txt");
    const FileInfoTexts info = l.texts();
    EXPECT_EQ(info.length, QStringLiteral("   7 ﾊﾞｲﾄ (7H )"));  // measured through the exact bytes
    EXPECT_TRUE(info.path.endsWith(QStringLiteral("/bad\uFFFD.txt"))) << info.path.toStdString();

    // In a drive's root folder no separator is added.
    FolderList root;
    root.setPath("/");
    FileList rootFiles;
    rootFiles.showHidden = rootFiles.showSystem = true;
    rootFiles.setPath("/");
    if (rootFiles.listCount() == 0)
        GTEST_SKIP() << "the root folder holds no file";
    rootFiles.listIndex = 0;
    EXPECT_EQ(selectedFilePath(root, rootFiles), "/" + rootFiles.list(0));
}

TEST(FileInfo, FailuresShowTheirReasonInTheDialog)
{
    TempTree t;
    const std::string doomed = t.file("doomed", 5);
    Lists l(t.root());
    l.select("doomed");
    std::filesystem::remove(doomed);
    FileInfoTexts info = l.texts();
    EXPECT_EQ(info.path, QString::fromStdString(doomed));
    EXPECT_EQ(info.length, NotFound);
    EXPECT_EQ(info.clusters, QStringLiteral("- "));
    EXPECT_EQ(info.attributes, NotFound);
    EXPECT_EQ(info.date, NotFound);

    // No selected entry: the folder and a plain statement.
    l.openFiles.listIndex = -1;
    info = l.texts();
    EXPECT_EQ(info.path, QString::fromStdString(t.root()));
    EXPECT_EQ(info.length, QStringLiteral("  ファイルが選択されていません。"));
    EXPECT_EQ(info.clusters, QStringLiteral("- "));
    EXPECT_EQ(info.date, QStringLiteral("- "));
    l.openFiles.listIndex = 99;
    EXPECT_EQ(l.texts().length, QStringLiteral("  ファイルが選択されていません。"));

    // A file on a drive whose driver has stopped answering: within the bound
    // of a volume query, the drive is not ready.
    std::string why;
    const auto mount = dorvelix::testing::wideFatMount(t, why);
    if (!mount)
        GTEST_SKIP() << why;
    Lists onDrive(mount->path() + "/A");
    onDrive.openFiles.listIndex = 0;
    mount->stopDriver(std::chrono::seconds(30));
    QElapsedTimer clock;
    clock.start();
    info = onDrive.texts();
    const qint64 took = clock.elapsed();
    mount->resumeDriver();
    EXPECT_LT(took, 5000);
    EXPECT_EQ(info.length, QStringLiteral("  ディスクが準備されていません。"));
    EXPECT_EQ(info.date, QStringLiteral("  ディスクが準備されていません。"));
}

TEST(FileInfo, TheFileIsTakenFromTheFolderItIsListedIn)
{
    // After a folder change without a search the file list still lists the previous
    // folder; a name found in both must show the listed file.
    TempTree t;
    t.file("old/same.txt", 100);
    t.file("new/same.txt", 200);
    Lists l(t.path("old"));
    l.openFolders.setPath(t.path("new"));
    l.select("same.txt");
    const FileInfoTexts info = l.texts();
    EXPECT_EQ(info.path, QString::fromStdString(t.path("old/same.txt")));
    EXPECT_EQ(info.length, QStringLiteral("   100 ﾊﾞｲﾄ (64H )"));
}
