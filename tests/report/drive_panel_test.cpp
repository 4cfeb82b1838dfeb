// dorvelix-report's drive panel: text and JSON for real volumes, and its exits
// for a drive without a medium and a folder that does not exist.
#include "drives.h"
#include "mount_rig.h"
#include "number_format.h"
#include "temp_tree.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

using namespace dorvelix;
using namespace dorvelix::testing;

namespace {

ToolRun report(std::vector<std::string> args)
{
    args.insert(args.begin(), DORVELIX_REPORT);
    return runTool(args);
}

QJsonObject driveJson(const ToolRun& run)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object().value(u"drive").toObject();
}

}  // namespace

TEST(ReportDrivePanel, PrintedAboveTheFolderPanel)
{
    TempTree tree;
    tree.fileWith("one.txt", "1");
    const ToolRun run = report({tree.root()});
    ASSERT_EQ(run.status, 0) << run.err;
    const QString out = QString::fromStdString(run.out);
    const qsizetype drive = out.indexOf(QStringLiteral("ドライブ情報\n  ドライブ ："));
    ASSERT_GE(drive, 0) << run.out;
    EXPECT_GT(out.indexOf(QStringLiteral("ホルダー情報")), drive);
    for (const char* caption : {"ﾊﾞｲﾄ/ｾｸﾀ(ﾊﾞｲﾄ) ：", "セクタ／クラスタ ：", "クラスタ長(ﾊﾞｲﾄ) ：", "全クラスタ数 ： ",
                                "全容量(ﾊﾞｲﾄ) ：", "占有クラスタ数 ：", "占有バイト数 ：", "空きクラスタ数 ：",
                                "空き容量(ﾊﾞｲﾄ) ：", "空き容量率（％）："})
        EXPECT_TRUE(out.contains(QStringLiteral("\n  ") + QString::fromUtf8(caption))) << caption;
    EXPECT_TRUE(out.contains(QStringLiteral("  ドライブ ：") + driveTextOf(tree.root()))) << run.out;
}

TEST(ReportDrivePanel, JsonCarriesTheDriveFigures)
{
    TempTree tree;
    const ToolRun run = report({"--json", tree.root()});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject d = driveJson(run);
    EXPECT_EQ(d.value(u"text").toString(), driveTextOf(tree.root()));
    EXPECT_FALSE(d.value(u"file_system").toString().isEmpty());
    struct statvfs vfs {};
    ASSERT_EQ(::statvfs(driveOf(tree.root()).c_str(), &vfs), 0);
    const auto integer = [&](const char* key) { return d.value(QString::fromUtf8(key)).toInteger(-1); };
    EXPECT_EQ(integer("cluster_length"), static_cast<qint64>(vfs.f_frsize));
    EXPECT_EQ(integer("bytes_per_sector") * integer("sectors_per_cluster"), integer("cluster_length"));
    EXPECT_EQ(integer("total_clusters"), static_cast<qint64>(vfs.f_blocks));
    EXPECT_EQ(integer("total_bytes"), integer("total_clusters") * integer("cluster_length"));
    EXPECT_EQ(integer("used_clusters") + integer("free_clusters"), integer("total_clusters"));
    EXPECT_EQ(integer("used_bytes") + integer("free_bytes"), integer("total_bytes"));
    const double ratio = d.value(u"free_ratio").toDouble(-1);
    EXPECT_GE(ratio, 0.0);
    EXPECT_LE(ratio, 1.0);
    EXPECT_NEAR(ratio, double(integer("free_clusters")) / double(integer("total_clusters")), 1e-6);
}

TEST(ReportDrivePanel, LargeTmpfsInJson)
{
    std::string why;
    const auto mount = TestMount::tmpfs("size=20t", why);
    if (!mount)
        GTEST_SKIP() << why;
    const ToolRun run = report({"--json", mount->path()});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject d = driveJson(run);
    EXPECT_EQ(d.value(u"file_system").toString(), "tmpfs");
    EXPECT_EQ(d.value(u"total_bytes").toInteger(), 21'990'232'555'520);
    EXPECT_GT(d.value(u"total_clusters").toInteger(), 2'147'483'647);
    EXPECT_EQ(d.value(u"free_ratio").toDouble(), 1.0);
    // A drive's root is shown with its "/" in every mode, as the folder list shows it.
    for (const char* mode : {"--folders", "--complete", "--lengths"}) {
        const ToolRun other = report({"--json", mode, mount->path()});
        ASSERT_EQ(other.status, 0) << mode << other.err;
        EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(other.out)).object().value(u"folder").toObject().value(u"path"),
                  QString::fromStdString(mount->path() + "/"))
            << mode;
    }
    // Figures of ten digits and more keep a space before them in the
    // length table: each row splits into its seven columns.
    TempTree big;
    big.folder("copy");
    ASSERT_EQ(runTool({"truncate", "-s", "13G", big.path("copy/sparse")}).status, 0);
    const ToolRun table = report({"--lengths", "--capacity", "64G", big.path("copy")});
    ASSERT_EQ(table.status, 0) << table.err;
    const QStringList lines = QString::fromStdString(table.out).split(u'\n');
    const qsizetype header = lines.indexOf(QRegularExpression(QStringLiteral(" +length .*")));
    ASSERT_GE(header, 0) << table.out;
    ASSERT_GE(lines.size(), header + 18);
    for (qsizetype i = header + 1; i < header + 18; ++i) {
        QStringList cells = lines[i].split(u' ', Qt::SkipEmptyParts);
        cells.removeAll(QStringLiteral("*"));
        EXPECT_EQ(cells.size(), 7) << lines[i].toStdString();
    }
}

TEST(ReportDrivePanel, MissingFolderCannotBeOpenedAndAGoneDriveHasNoMedium)
{
    const ToolRun missing = report({"/no/such/folder/anywhere"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("cannot open folder /no/such/folder/anywhere: パスが見つかりません。"), std::string::npos)
        << missing.err;
    EXPECT_EQ(missing.out, "");
    TempTree files;
    const std::string file = files.file("Plain.txt");
    const ToolRun notFolder = report({file});
    EXPECT_EQ(notFolder.status, 2);
    EXPECT_NE(notFolder.err.find(file + ": パスがホルダーではありません。"), std::string::npos) << notFolder.err;

    TempTree tree;
    const std::string image = tree.path("gone.img");
    if (runTool({"mkfs.fat", "-F", "32", "-C", image, "65536"}).status != 0)
        GTEST_SKIP() << "mkfs.fat (Debian package dosfstools) is missing";
    std::string why;
    const auto mount = TestMount::fusefat(image, why);
    if (!mount)
        GTEST_SKIP() << why;
    mount->killDriver();
    const ToolRun gone = report({"--json", mount->path()});
    EXPECT_EQ(gone.status, 2);
    EXPECT_NE(gone.err.find("メディア未挿入？"), std::string::npos) << gone.err;
    EXPECT_NE(gone.err.find(mount->path()), std::string::npos);
    EXPECT_EQ(gone.out, "");
}

TEST(ReportWalk, DeadAndStoppedMountsInsideTheTreeAreNeitherCountedNorWaitedFor)
{
    TempTree images;
    const std::string deadImage = images.path("dead.img"), stoppedImage = images.path("stopped.img");
    for (const std::string& image : {deadImage, stoppedImage}) {
        if (runTool({"mkfs.fat", "-F", "16", "-C", image, "16384"}).status != 0)
            GTEST_SKIP() << "mkfs.fat (Debian package dosfstools) is missing";
    }
    TempTree tree;
    tree.fileWith("real/r", "r");
    std::string why;
    const auto dead = TestMount::fusefat(deadImage, why, tree.root(), "dead");
    if (!dead)
        GTEST_SKIP() << why;
    const auto stopped = TestMount::fusefat(stoppedImage, why, tree.root(), "stopped");
    ASSERT_TRUE(stopped) << why;
    dead->killDriver();
    stopped->stopDriver();

    // Had it waited for the stopped driver, it would have counted its folder.
    const ToolRun run = report({"--json", tree.root()});
    EXPECT_EQ(run.status, 0) << run.err;
    const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
    EXPECT_EQ(json.value(u"subtree").toObject().value(u"folders").toInt(), 1) << run.out;
    EXPECT_EQ(json.value(u"subtree").toObject().value(u"files").toInt(), 1);
    EXPECT_TRUE(json.value(u"messages").toArray().isEmpty()) << run.out;
}

// A mount covered by a later one on a folder above it is reached by no path:
// the folder it was mounted on, now on the later mount, is walked like any other.
TEST(ReportWalk, AMountCoveredByALaterOneIsNoBoundary)
{
    TempTree tree;
    tree.folder("h");
    std::string why;
    const auto covered = TestMount::tmpfs("size=1m", why, "a", tree.path("h"), "x");
    if (!covered)
        GTEST_SKIP() << why;
    const auto over = TestMount::tmpfs("size=1m", why, "b", tree.path("h"));
    ASSERT_TRUE(over) << why;
    tree.fileWith("h/y", "y");
    tree.fileWith("h/x/r1", "r");
    tree.fileWith("h/x/r2", "r");

    const ToolRun run = report({"--complete", "--json", tree.path("h")});
    EXPECT_EQ(run.status, 0) << run.err;
    const QJsonObject subtree = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object().value(u"subtree").toObject();
    EXPECT_EQ(subtree.value(u"folders").toInt(), 1) << run.out;
    EXPECT_EQ(subtree.value(u"files").toInt(), 3) << run.out;
    EXPECT_TRUE(driveTextOf(tree.path("h")).endsWith(QStringLiteral("[b]")));
}

// A folder on a mount whose driver stands still, given or as the working
// folder: the report ends within a few seconds, with the drive's no-medium
// message and status 2.
TEST(ReportDrivePanel, AFolderOnAStoppedMountEndsWithNoMedium)
{
    TempTree tree;
    const std::string image = tree.path("stopped.img");
    if (runTool({"mkfs.fat", "-F", "16", "-C", image, "16384"}).status != 0
        || runTool({"mmd", "-i", image, "::/D"}).status != 0)
        GTEST_SKIP() << "mkfs.fat or mtools (Debian packages dosfstools, mtools) is missing";
    std::string why;
    const auto mount = TestMount::fusefat(image, why);
    if (!mount)
        GTEST_SKIP() << why;
    const std::string folder = mount->path() + "/D";
    const int home = ::open(".", O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::chdir(folder.c_str()), 0);
    mount->stopDriver();
    for (const std::vector<std::string>& args : {std::vector<std::string>{}, {"--complete", folder}, {folder}}) {
        QElapsedTimer clock;
        clock.start();
        const ToolRun run = report(args);
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_EQ(run.status, 2) << run.out;
        EXPECT_NE(run.err.find(mount->path() + " [fusefat] メディア未挿入？"), std::string::npos) << run.err;
    }
    EXPECT_EQ(::fchdir(home), 0);
    ::close(home);
}
