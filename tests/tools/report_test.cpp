#include "temp_tree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <cstdio>
#include <gtest/gtest.h>

using dorvelix::testing::TempTree;

namespace {

struct ReportRun {
    int status = -1;
    QString out;
    QString err;
};

ReportRun report(const QStringList& args, const QString& workingFolder = {})
{
    QProcess p;
    if (!workingFolder.isEmpty())
        p.setWorkingDirectory(workingFolder);
    p.start(QStringLiteral(DORVELIX_REPORT), args);
    p.waitForFinished(120000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QJsonObject json(const ReportRun& r)
{
    return QJsonDocument::fromJson(r.out.toUtf8()).object();
}

}  // namespace

TEST(Report, UsageErrorsExitTwoWithOneLine)
{
    for (const QStringList& args : {QStringList{"--convert", "100"}, QStringList{"--convert", "4k"},
                                    QStringList{"--convert"}, QStringList{"--bogus"}, QStringList{"/", "/tmp"}}) {
        const ReportRun r = report(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count(u'\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
    const ReportRun missing = report({"/no/such/folder"});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains("/no/such/folder"));
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
    EXPECT_TRUE(r.err.contains(QStringLiteral("パスレベル15以下")));
    EXPECT_EQ(o["subtree"]["folders"].toInteger(), 16);
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
