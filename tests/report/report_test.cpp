#include "program_version.h"
#include "report_run.h"
#include "temp_tree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <unistd.h>

using dorvelix::testing::TempTree;

namespace {

// What du --apparent-size counts for the entries below folder that are not
// folders (its files alone, or those of the whole tree).
qint64 duFileBytes(const std::string& folder, bool wholeTree)
{
    QProcess p;
    p.start(QStringLiteral("bash"), {QStringLiteral("-c"),
                                     QStringLiteral("find \"$1\" -mindepth 1 %1 ! -type d -print0 | "
                                                    "du --apparent-size -B1 -c --files0-from=- | tail -n 1")
                                         .arg(wholeTree ? "" : "-maxdepth 1"),
                                     QStringLiteral("du"), QString::fromStdString(folder)});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput()).section(u'\t', 0, 0).toLongLong();
}

}  // namespace

TEST(Report, UsageErrorsExitTwoWithOneLineNamingProgramAndCause)
{
    const std::pair<QStringList, QString> cases[] = {
        {{"--convert", "100"}, "'100'"},
        {{"--convert", "4k"}, "'4k'"},
        {{"--convert", " 128"}, "' 128'"},
        {{"--convert", "128 "}, "'128 '"},
        {{"--convert", "+128"}, "'+128'"},
        {{"--convert", "-128"}, "'-128'"},
        {{"--convert", "0128"}, "'0128'"},
        {{"--convert", "0x80"}, "'0x80'"},
        {{"--convert="}, "''"},
        {{"--convert", "128", "--convert", "256"}, "more than once"},
        {{"--convert"}, "--convert"},
        {{"--json=yes"}, "--json"},
        {{"--bogus"}, "bogus"},
        {{"-x"}, "'x'"},
        {{"--b\u00f6gus"}, "b\u00f6gus"},
        {{"/", "/tmp"}, "'/tmp'"},
        {{""}, "empty"},
        {{"--lengths", "--capacity", "1.5G"}, "'1.5G'"},
        {{"--lengths", "--capacity", "1GB"}, "'1GB'"},
        {{"--lengths", "--capacity", "0"}, "'0'"},
        {{"--lengths", "--capacity", "-1"}, "'-1'"},
        {{"--lengths", "--capacity", "99999999999T"}, "'99999999999T'"},
        {{"--capacity", "1G"}, "--lengths"},
        {{"--lengths", "--target", "/"}, "--target"},
        {{"--lengths", "--convert", "512"}, "--convert"},
    };
    for (const auto& [args, cause] : cases) {
        const ReportRun r = report(args);
        const std::string what = args.join(' ').toStdString();
        EXPECT_EQ(r.status, 2) << what;
        EXPECT_EQ(r.err.count(u'\n'), 1) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.startsWith("dorvelix-report: ")) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(cause)) << what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << what;
    }
    const ReportRun missing = report({"/no/such/folder"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.startsWith("dorvelix-report: "));
    EXPECT_TRUE(missing.err.contains("/no/such/folder"));
}

TEST(Report, HelpAndVersionExitZeroWhateverFollows)
{
    for (const QStringList& args : {QStringList{"--help"}, QStringList{"-h"}, QStringList{"--json", "--help", "/x", "/y"}}) {
        const ReportRun r = report(args);
        EXPECT_EQ(r.status, 0) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.startsWith("Usage: dorvelix-report [options] [--] [FOLDER]\n")) << r.out.toStdString();
        for (const char* word : {"--convert <N>", "--json", "--version", "16384", "Exit status:"})
            EXPECT_TRUE(r.out.contains(word)) << word;
        // Wrapped at 80 columns where the phrases break, never leaving a
        // word or two alone on a line.
        for (const QString& line : r.out.split(u'\n')) {
            EXPECT_LE(line.size(), 80) << line.toStdString();
            EXPECT_TRUE(line.trimmed().isEmpty() || line.trimmed().contains(u' ') || line.trimmed().startsWith(u'-')
                        || line.trimmed().endsWith(u'.') || line.trimmed().endsWith(u':'))
                << line.toStdString();
        }
        EXPECT_TRUE(r.err.isEmpty());
    }
    const ReportRun v = report({"--version"});
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.out, QStringLiteral("dorvelix-report (Dorvelix) ") + QLatin1String(dorvelix::ProgramVersion) + u'\n');
}

TEST(Report, DoubleDashEndsTheOptions)
{
    TempTree t;
    t.file("--json/f", 1);
    const ReportRun r = report({"--convert=512", "--", "--json"}, QString::fromStdString(t.root()));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("ホルダー情報  ") + QString::fromStdString(t.path("--json"))));
    EXPECT_TRUE(r.out.contains(QStringLiteral("換算クラスタ長 512 ")));
}

TEST(Report, AnOutputThatCannotBeWrittenIsAnErrorWithItsCause)
{
    TempTree t;
    for (const QStringList& args : {QStringList{"--json", QString::fromStdString(t.root())},
                                    QStringList{QString::fromStdString(t.root())}, QStringList{"--help"},
                                    QStringList{"--version"}}) {
        const ReportRun r = report(args, {}, QStringLiteral("/dev/full"));
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err, QStringLiteral("dorvelix-report: cannot write the output: No space left on device\n"))
            << r.err.toStdString();
    }
}

TEST(Report, JsonHoldsTheThreeRowsAtBothLengths)
{
    TempTree t;
    t.file("sub/one", 1);
    const ReportRun r = report({"--json", "--convert", "32768", QString::fromStdString(t.root())});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = json(r);
    const qint64 length = o["drive"]["cluster_length"].toInteger();
    ASSERT_GE(length, 128);
    EXPECT_EQ(o["folder"]["path"].toString().toStdString(), t.root());
    EXPECT_EQ(o["folder"]["files"].toInteger(), 0);
    EXPECT_EQ(o["folder"]["clusters"].toInteger(), 0);
    EXPECT_EQ(o["subtree"]["folders"].toInteger(), 1);
    EXPECT_EQ(o["subtree"]["files"].toInteger(), 1);
    EXPECT_EQ(o["subtree"]["clusters"].toInteger(), 2);
    EXPECT_EQ(o["subtree"]["bytes"].toInteger(), 2 * length);
    EXPECT_EQ(o["converted"]["cluster_length"].toInteger(), 32768);
    EXPECT_EQ(o["converted"]["clusters"].toInteger(), 2);
    EXPECT_EQ(o["converted"]["bytes"].toInteger(), 65536);
    EXPECT_TRUE(o["messages"].toArray().isEmpty());
}

TEST(Report, MessagesGoToStandardErrorAndTheJsonAndExitOne)
{
    TempTree t;
    std::string deep;
    for (int i = 1; i <= 16; ++i)
        deep += "/l" + std::to_string(i);
    t.folder(deep.substr(1));
    const ReportRun r = report({"--json", QString::fromStdString(t.root())});
    EXPECT_EQ(r.status, 1);
    const QJsonObject o = json(r);
    const QJsonArray messages = o["messages"].toArray();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].toString().startsWith(QStringLiteral("パスレベル15以下にファイルがありますが無視します。\r\n\r\n")));
    EXPECT_TRUE(r.err.startsWith(QStringLiteral("dorvelix-report: パスレベル15以下"))) << r.err.toStdString();
    EXPECT_EQ(o["subtree"]["folders"].toInteger(), 16);

    // The same texts, the message's Japanese and the panel's captions
    // included, in an English locale (the drive's figures may move between
    // the runs: the digits are left out).
    const QStringList english{"LANGUAGE=en", "LANG=en_US.UTF-8", "LC_ALL=en_US.UTF-8"};
    const QRegularExpression figures(QStringLiteral("[0-9]"));
    for (const QStringList& args : {QStringList{"--json", QString::fromStdString(t.root())},
                                    QStringList{QString::fromStdString(t.root())}}) {
        const ReportRun asIs = report(args);
        const ReportRun inEnglish = report(args, {}, {}, english);
        EXPECT_EQ(QString(inEnglish.out).remove(figures), QString(asIs.out).remove(figures)) << args.join(u' ').toStdString();
        EXPECT_EQ(inEnglish.err, asIs.err) << args.join(u' ').toStdString();
    }
    EXPECT_EQ(json(report({"--json", QString::fromStdString(t.root())}, {}, {}, english))["messages"], o["messages"]);
}

TEST(Report, TextModeShowsThePanelAsTheValueBoxesDo)
{
    TempTree t;
    t.file("a", 5000);
    t.file("b", 1);
    const ReportRun r = report({"--convert", "128"}, QString::fromStdString(t.root()));  // the current folder
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n');
    EXPECT_TRUE(lines.contains(QStringLiteral("ホルダー情報  ") + QString::fromStdString(t.root())));
    EXPECT_TRUE(lines.contains(QStringLiteral("  ﾌｧｲﾙ数 ：2")));
    EXPECT_TRUE(lines.contains(QStringLiteral("換算クラスタ長 128 ")));
    // At 128 bytes: 40 + 1 for the files, 1 for the folder's table of 4 entries.
    EXPECT_TRUE(lines.endsWith(QStringLiteral("")));
    EXPECT_EQ(lines[lines.size() - 3], QStringLiteral("  占有クラスタ数 ： 42 "));
    EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("  占有バイト数 ： 5,376 "));
}

TEST(Report, FolderNamesThatAreNotUtf8StillWork)
{
    TempTree t;
    t.file("odd\xFF/f", 10);
    const ReportRun r = report({"--json", QString::fromStdString(t.root())});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(json(r).value("subtree")["files"].toInteger(), 1);

    // The folder itself given as raw bytes, through a shell that passes them on.
    const std::string odd = t.path("odd\xFF");
    const std::string command = std::string(DORVELIX_REPORT) + " --json '" + odd + "'";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    QByteArray out;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, static_cast<qsizetype>(n));
    EXPECT_EQ(::pclose(pipe), 0);
    const QJsonObject o = QJsonDocument::fromJson(out).object();
    EXPECT_EQ(o["folder"]["files"].toInteger(), 1);
    EXPECT_TRUE(o["folder"]["path"].toString().endsWith(QStringLiteral("odd\uFFFD")));
}

TEST(Report, JsonNamesItsFormatAndEachRowItsFileLengthsAsDuCountsThem)
{
    TempTree t;
    t.file("top.bin", 5000);
    t.file("a/one", 1);
    t.file("a/deep/er/two", 70000);
    t.file("a/.hidden", 3);
    t.file("b/three", 4096);
    t.folder("empty");
    ASSERT_EQ(::symlink("a/deep/er/two", t.path("b/link").c_str()), 0);
    const qint64 subtreeBytes = duFileBytes(t.root(), true);
    ASSERT_EQ(subtreeBytes, 5000 + 1 + 70000 + 3 + 4096 + 13);

    for (const QStringList& mode : {QStringList{}, QStringList{"--complete"}}) {
        const ReportRun r = report(QStringList{"--json", "--folders"} + mode + QStringList{QString::fromStdString(t.root())});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QJsonObject o = json(r);
        EXPECT_EQ(o["format"].toString(), QStringLiteral("dorvelix-report"));
        EXPECT_EQ(o["format_version"].toInteger(), 1);
        EXPECT_EQ(o["program_version"].toString(), QLatin1String(dorvelix::ProgramVersion));
        EXPECT_EQ(o.keys().size(), 10) << "format, format_version, program_version and the seven parts";
        EXPECT_EQ(o["folder"]["file_bytes"].toInteger(), duFileBytes(t.root(), false));
        EXPECT_EQ(o["subtree"]["file_bytes"].toInteger(), subtreeBytes);
        EXPECT_GE(o["subtree"]["bytes"].toInteger(), subtreeBytes);
        qint64 rowsSum = 0;
        for (const QJsonValue row : o["folders"].toArray()) {
            const QString name = row["name"].toString();
            const std::string folder = name == u'.' ? t.root() : t.path(name.toStdString());
            EXPECT_EQ(row["file_bytes"].toInteger(), duFileBytes(folder, name != u'.')) << name.toStdString();
            rowsSum += row["file_bytes"].toInteger();
        }
        EXPECT_EQ(rowsSum, subtreeBytes);
    }
    const ReportRun text = report({"--folders", QString::fromStdString(t.root())});
    EXPECT_TRUE(text.out.contains(QStringLiteral("  file lengths summed: folder alone 5,000, subtree 79,113 ")))
        << text.out.toStdString();
}

TEST(Report, ControlCharactersInNamesAreEscapedInTheTextButNotInTheJson)
{
    TempTree t;
    t.file("tab\there/f", 1);
    t.file("new\nline/f", 2);
    std::string deep = "new\nline";
    for (int i = 2; i <= 15; ++i)
        deep += "/l" + std::to_string(i);
    t.folder(deep + "/back\\slash\x1b");  // below level 15: a message names it

    const ReportRun r = report({"--folders", QString::fromStdString(t.root())});
    EXPECT_EQ(r.status, 1);
    const QStringList lines = r.out.split(u'\n');
    const auto rowNamed = [&](const QString& name) {
        return std::count_if(lines.begin(), lines.end(), [&](const QString& l) { return l.endsWith(QStringLiteral("  ") + name); });
    };
    EXPECT_EQ(rowNamed(QStringLiteral("tab\\there")), 1) << r.out.toStdString();
    EXPECT_EQ(rowNamed(QStringLiteral("new\\nline")), 1) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(u'\t'));
    EXPECT_TRUE(r.err.endsWith(QStringLiteral("/l15/back\\\\slash\\x1b\n"))) << r.err.toStdString();

    const ReportRun inside = report({QString::fromStdString(t.path("new\nline"))});
    EXPECT_TRUE(inside.out.contains(QStringLiteral("ホルダー情報  ") + QString::fromStdString(t.root()) + "/new\\nline\n"));

    const QJsonObject o = json(report({"--json", QString::fromStdString(t.root())}));
    EXPECT_TRUE(o["messages"][0].toString().endsWith(QStringLiteral("/back\\slash\x1b")));
}
