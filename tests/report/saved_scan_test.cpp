// The report's folder rows below the top level (--depth), which are also the
// saved scan, and the comparison of a saved scan with a search of now
// (--compare).
#include "complete_walk.h"
#include "report_run.h"
#include "saved_scan.h"
#include "scan_difference.h"
#include "scan_rows.h"
#include "temp_tree.h"

#include <QFile>
#include <QJsonArray>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <map>

using dorvelix::testing::TempTree;

namespace {

QString q(const std::string& s)
{
    return QString::fromStdString(s);
}

// A row's figures, which equal searches must agree on.
QList<qint64> figures(const QJsonValue& row)
{
    return {row["folders"].toInteger(), row["files"].toInteger(), row["clusters"].toInteger(),
            row["convert_clusters"].toInteger(), row["file_bytes"].toInteger()};
}

// A saved scan of folder, written to file.
void save(const QString& folder, const QString& file, int depth)
{
    const ReportRun r = report({"--json", "--depth", QString::number(depth), folder}, {}, file);
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
}

}  // namespace

TEST(ReportDepth, RowsBelowTheTopLevelEqualFreshSearchesOfTheirParents)
{
    TempTree t;
    t.file("top.bin", 5000);
    t.file("a/x/one", 100);
    t.file("a/x/y/two", 70000);
    t.file("a/x/y/z/three", 3);
    t.file("a/w/four", 1);
    t.file("b/five", 4096);
    t.folder("c");
    const QString root = q(t.root());
    for (const QStringList& mode : {QStringList{}, QStringList{"--complete"}}) {
        // One level is what --folders has always printed, byte for byte
        // (but for the drive's figures, which other programs move meanwhile).
        const auto folderPart = [](const ReportRun& r) {
            const qsizetype text = r.out.indexOf(QStringLiteral("ホルダー情報"));
            return text >= 0 ? r.out.mid(text) : r.out.mid(r.out.indexOf(QStringLiteral("\"folder\": {")));
        };
        for (const QStringList& output : {QStringList{}, QStringList{"--json"}}) {
            const ReportRun one = report(output + mode + QStringList{"--depth", "1", root});
            const ReportRun plain = report(output + mode + QStringList{"--folders", root});
            EXPECT_EQ(folderPart(one), folderPart(plain)) << mode.join(' ').toStdString() << output.join(' ').toStdString();
            EXPECT_GT(folderPart(one).size(), 500);
        }

        const ReportRun r = report(mode + QStringList{"--json", "--depth", "3", root});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QJsonArray rows = json(r)["folders"].toArray();
        QStringList paths;
        for (const QJsonValue row : rows) {
            const QString path = row["path"].toString();
            const int level = row["level"].toInt();
            EXPECT_EQ(level, path == u'.' ? 1 : path.count(u'/') + 1) << path.toStdString();
            // Each folder comes after its parent.
            if (level > 1) {
                EXPECT_TRUE(paths.contains(path.section(u'/', 0, -2))) << path.toStdString();
            }
            paths << path;
            // Its figures are those of its row in a search of its parent.
            const QString parent = level == 1 ? root : root + u'/' + path.section(u'/', 0, -2);
            const QJsonArray fresh = json(report(mode + QStringList{"--json", "--folders", parent}))["folders"].toArray();
            const auto same = std::find_if(fresh.begin(), fresh.end(),
                                           [&](const QJsonValue& f) { return f["name"] == row["name"]; });
            ASSERT_NE(same, fresh.end()) << path.toStdString();
            EXPECT_EQ(figures(row), figures(*same)) << path.toStdString();
        }
        const QStringList expected{".", "a", "a/x", "a/x/y", "a/w", "b", "c"};
        EXPECT_EQ(QSet<QString>(paths.begin(), paths.end()), QSet<QString>(expected.begin(), expected.end()))
            << paths.join(' ').toStdString();

        // The text leads with the level and names each row by its path.
        const QStringList lines = report(mode + QStringList{"--depth", "2", root}).out.split(u'\n');
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const QString& l) { return l.endsWith(QStringLiteral("  a/x")); }), 1);
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith(QStringLiteral("     2")); }));
        EXPECT_FALSE(std::any_of(lines.begin(), lines.end(), [](const QString& l) { return l.endsWith(QStringLiteral("a/x/y")); }));
    }
    for (const char* wrong : {"0", "-1", "two", "01", ""})
        EXPECT_EQ(report({"--depth", wrong, root}).status, 2) << wrong;
}

TEST(ReportCompare, ListsExactlyTheFoldersThatChangedLargestGrowthFirst)
{
    TempTree t;
    t.file("a/keep/f", 1000);
    t.file("a/grow/f", 1000);
    t.file("a/moved/inner/m", 3000);
    t.file("b/shrink/f1", 1000);
    t.file("b/shrink/f2", 9000);
    t.file("c/old", 10);
    TempTree saves;
    const QString scan = q(saves.path("then.json"));
    const QString root = q(t.root());
    for (const QStringList& mode : {QStringList{}, QStringList{"--complete"}}) {
        save(root, scan, 3);
        // Nothing changed: only the whole folder, unchanged.
        const ReportRun same = report(mode + QStringList{"--compare", scan, root});
        ASSERT_EQ(same.status, 0) << same.err.toStdString();
        EXPECT_TRUE(same.out.contains(QStringLiteral("\n  no folder changed\n"))) << same.out.toStdString();
    }

    save(root, scan, 3);
    t.file("a/grow/g", 100000);                                                  // grown
    std::filesystem::remove(t.path("b/shrink/f2"));                              // a file removed
    t.file("c/new", 10);                                                         // a file added
    std::filesystem::rename(t.path("a/moved"), t.path("c/moved"));               // a folder moved
    const ReportRun r = report({"--json", "--compare", scan, root});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = json(r);
    EXPECT_EQ(o["depth"].toInt(), 3);
    std::map<QString, QString> changes;
    qint64 growth = std::numeric_limits<qint64>::max();
    for (const QJsonValue c : o["changes"].toArray()) {
        changes[c["path"].toString()] = c["change"].toString();
        const qint64 g = c["difference"]["bytes"].toInteger();
        EXPECT_LE(g, growth) << "largest growth first";
        growth = g;
        if (c["change"] != QStringLiteral("added")) {
            EXPECT_EQ(c["difference"]["bytes"].toInteger(), c["now"]["bytes"].toInteger() - c["then"]["bytes"].toInteger());
        }
    }
    const std::map<QString, QString> expected{
        {"a", "changed"},          {"a/grow", "changed"},    {"a/moved", "gone"},         {"a/moved/inner", "gone"},
        {"b", "changed"},          {"b/shrink", "changed"},  {"c", "changed"},            {"c/moved", "added"},
        {"c/moved/inner", "added"}};
    EXPECT_EQ(changes, expected);
    const QJsonArray list = o["changes"].toArray();
    const auto grow = std::find_if(list.begin(), list.end(), [](const QJsonValue& c) { return c["path"] == QStringLiteral("a/grow"); });
    ASSERT_NE(grow, list.end());
    const QJsonValue grown = *grow;
    EXPECT_EQ(grown["then"]["files"].toInteger(), 1);
    EXPECT_EQ(grown["now"]["files"].toInteger(), 2);
    EXPECT_EQ(grown["difference"]["file_bytes"].toInteger(), 100000);
    EXPECT_EQ(o["whole"]["difference"]["file_bytes"].toInteger(), 100000 - 9000 + 10);

    // The text: the whole folder first, then one row per change, marked.
    const QStringList lines = report({"--compare", scan, root}).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4 + 9) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("  (whole folder)")));
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("  a/grow")) || lines[4].endsWith(QStringLiteral("  a")));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& l) {
        return l.trimmed().startsWith(QStringLiteral("gone")) && l.endsWith(QStringLiteral("  a/moved"));
    }));

    // A scan saved with --folders alone compares the top level only.
    const ReportRun top = report({"--json", "--folders", root}, {}, scan);
    ASSERT_EQ(top.status, 0);
    const QJsonObject o1 = json(report({"--json", "--compare", scan, root}));
    EXPECT_EQ(o1["depth"].toInt(), 1);
    EXPECT_TRUE(o1["changes"].toArray().isEmpty());
}

TEST(ReportCompare, ASavedScanThatCannotBeReadEndsTheReportWithStatusTwo)
{
    TempTree t;
    t.file("a/f", 10);
    const QString root = q(t.root());
    const QString scan = q(t.path("saved.json"));
    save(root, scan, 2);
    QFile whole(scan);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray saved = whole.readAll();
    whole.close();

    const auto withFile = [&](const QByteArray& content) {
        const QString file = q(t.path("bad.json"));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
        f.close();
        return report({"--compare", file, root});
    };
    const std::pair<QByteArray, QString> cases[] = {
        {saved.left(saved.size() / 2), "before its end: it was cut short"},
        {saved.left(saved.size() - 2), "before its end: it was cut short"},
        {"", "ends at byte 0"},
        {"[1, 1, {\"progname\": \"ncdu\"}]", "is not a scan saved by dorvelix-report --json"},
        {"{\"name\": \"x\", \"format\": \"dorvelix-report\"}", "is not a scan saved by dorvelix-report --json"},
        {"{\"format\": \"ncdu\"}", "its format is 'ncdu'"},
        {"{\"format\": \"dorvelix-report\", \"format_version\": 2}", "format version 2, newer"},
        {"{\"format\": \"dorvelix-report\", \"format_version\": 1}", "lacks its drive.cluster_length"},
        {"hello", "is not JSON: a syntax error at byte 0"},
        {saved + "x", "is not JSON"},
        {QByteArray(saved).replace("\"folders\": [", "\"folders\": [}"), "is not JSON"},
    };
    for (const auto& [content, message] : cases) {
        const ReportRun r = withFile(content);
        EXPECT_EQ(r.status, 2) << content.left(60).toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("dorvelix-report: ")) && r.err.contains(message))
            << content.left(60).toStdString() << " → " << r.err.toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
    }
    const ReportRun missing = report({"--compare", q(t.path("none.json")), root});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("cannot read the saved scan"))) << missing.err.toStdString();
    const ReportRun folder = report({"--compare", root, root});
    EXPECT_EQ(folder.status, 2);
    EXPECT_TRUE(folder.err.contains(QStringLiteral("Is a directory"))) << folder.err.toStdString();
    for (const QStringList& wrong : {QStringList{"--depth", "2"}, QStringList{"--folders"}, QStringList{"--lengths"}})
        EXPECT_EQ(report(wrong + QStringList{"--compare", scan, root}).status, 2);
}

TEST(ReportCompare, TheWindowsSavedScanIsTheReportsAndReadsBackUnchanged)
{
    using namespace dorvelix;
    TempTree t;
    t.file("a/x/one", 100);
    t.file("a/x/y/two", 7000);
    t.file("b\tc/d/three", 1);
    t.file("ファイル/four", 40000);
    CompleteWalk walk(4096, 32768, nullptr);
    walk.setKeepTree(true);
    const SearchResult now = walk.run(t.root());
    const std::string document = savedScanDocument(now, q(t.root()), 3);
    const QJsonObject saved = QJsonDocument::fromJson(QByteArray::fromStdString(document)).object();
    const QJsonObject reported =
        json(report({"--json", "--complete", "--convert", "32768", "--depth", "3", q(t.root())}));
    EXPECT_EQ(saved["format"], reported["format"]);
    if (reported["drive"]["cluster_length"].toInteger() == 4096) {
        for (const char* key : {"folder", "subtree", "converted", "folders"})
            EXPECT_EQ(saved[key], reported[key]) << key;
    }

    TempTree files;
    const std::string file = files.fileWith("saved.json", document);
    const SavedScan back = readSavedScan(file);
    EXPECT_EQ(back.folder, t.root());
    EXPECT_EQ(back.depth, 3);
    EXPECT_EQ(back.folders.size(), scanRows(now, 3).size() - 1) << "all but the folder's own files";
    const ScanDifference d = compareScans(back, now);
    EXPECT_TRUE(d.changes.empty());
    EXPECT_EQ(d.whole.growthBytes(), 0);
    EXPECT_EQ(d.whole.now.files, 4);
}
