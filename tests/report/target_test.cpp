// dorvelix-report's answers beyond the window: --target on FAT images
// mounted by fusefat and on tmpfs, --folders and --complete.
#include "answer_wording.h"
#include "mount_rig.h"
#include "number_format.h"
#include "report_texts.h"
#include "temp_tree.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <filesystem>
#include <set>
#include <sys/statvfs.h>

using namespace dorvelix::testing;

namespace {

ToolRun report(std::vector<std::string> args)
{
    args.insert(args.begin(), DORVELIX_REPORT);
    return runTool(args);
}

const QJsonObject json(const ToolRun& run)
{
    return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
}

// A FAT16 image of 16 MiB with 2,048-byte clusters, mounted read-only.
std::unique_ptr<TestMount> fatTarget(const TempTree& tree, std::string& why)
{
    const std::string image = tree.path("target.img");
    if (runTool({"mkfs.fat", "-F", "16", "-s", "4", "-S", "512", "-C", image, "16384"}).status != 0) {
        why = "mkfs.fat (Debian package dosfstools) is missing";
        return nullptr;
    }
    return TestMount::fusefat(image, why);
}

}  // namespace

// The engine names why a count is an estimate or why an entry will not copy;
// the report has one text for each, and one JSON key for each reason.
TEST(ReportTarget, EveryCaveatAndReasonHasATextOfItsOwn)
{
    using namespace dorvelix;
    for (const char* fat : {"FAT16", "fat32", "vfat", "msdos"})
        EXPECT_FALSE(countCaveat(QString::fromLatin1(fat))) << fat;
    std::set<std::string> caveats;
    for (const char* fileSystem : {"exFAT", "btrfs", "ntfs3", "ext4", "tmpfs"}) {
        const auto caveat = countCaveat(QString::fromLatin1(fileSystem));
        ASSERT_TRUE(caveat) << fileSystem;
        caveats.insert(report_text::caveatText(*caveat));
    }
    EXPECT_EQ(caveats.size(), 4u);  // ext4 and tmpfs share the general one
    EXPECT_EQ(caveats.count(""), 0u);

    std::set<std::string> keys, texts;
    for (const BlockReason r : {BlockReason::FileTooLarge, BlockReason::ForbiddenCharacter,
                                BlockReason::TrailingDotOrSpace, BlockReason::CaseCollision, BlockReason::SymbolicLink,
                                BlockReason::SpecialFile, BlockReason::TooManyEntries, BlockReason::RootTableFull,
                                BlockReason::NameNotAscii, BlockReason::FileTooLargeForTarget,
                                BlockReason::TooManySubfolders, BlockReason::FolderIndexFull}) {
        EXPECT_EQ(report_text::reasonRow(r).reason, r);
        keys.insert(report_text::reasonKey(r));
        texts.insert(report_text::reasonText(r));
    }
    EXPECT_EQ(keys.size(), 12u);
    EXPECT_EQ(texts.size(), 12u);

    std::set<std::string> limitKeys, limitTexts, layouts;
    for (const CopyLimit l : {CopyLimit::Bytes, CopyLimit::Inodes, CopyLimit::FolderEntries, CopyLimit::RootTable,
                              CopyLimit::FileSize}) {
        EXPECT_EQ(report_text::limitRow(l).limit, l);
        limitKeys.insert(report_text::limitRow(l).key);
        limitTexts.insert(report_text::limitRow(l).text);
    }
    EXPECT_EQ(limitKeys.size(), 5u);
    EXPECT_EQ(limitTexts.size(), 5u);
    for (const LayoutRule r : {LayoutRule::Ntfs, LayoutRule::Ext, LayoutRule::Btrfs, LayoutRule::F2fs, LayoutRule::Bound})
        layouts.insert(report_text::layoutText(r));
    EXPECT_EQ(layouts.size(), 5u);
    EXPECT_EQ(layouts.count(""), 0u);

    std::set<std::string> rules;
    for (const CountRule r : {CountRule::VfatUpperCaseShortNames, CountRule::VfatOneCaseShortNames,
                              CountRule::FusefatLongNames, CountRule::UnknownFatDriver, CountRule::Exfat})
        rules.insert(report_text::ruleText(r));
    EXPECT_EQ(rules.size(), 5u);
    EXPECT_EQ(rules.count(""), 0u);
}

// The choice of text and figures the report and the copy check share: the
// margin and whether it fits, also where a limit other than bytes runs out,
// and which note tells how the needed bytes were counted.
TEST(AnswerWording, MarginFitsAndWhichNote)
{
    using namespace dorvelix;
    TargetCheck c;
    c.drive = TargetDrive{QStringLiteral("/t"), QStringLiteral("ext4"), 4096, 1000};
    c.neededBytes = 400;
    CopyMargin m = copyMargin(c);
    EXPECT_TRUE(m.fits && m.spare && !m.bytesRunOut);
    EXPECT_EQ(m.bytes, 600);
    c.neededBytes = 1500;
    m = copyMargin(c);
    EXPECT_TRUE(!m.fits && !m.spare && m.bytesRunOut);
    EXPECT_EQ(m.bytes, 500);
    c.neededBytes = 400;  // bytes to spare, but the inodes run out
    c.countsInodes = true;
    c.drive->freeInodes = 5;
    c.neededEntries = 10;
    m = copyMargin(c);
    EXPECT_TRUE(!m.fits && m.spare && !m.bytesRunOut);
    EXPECT_EQ(m.bytes, 600);

    const AnswerWords words{
        .rule = [](CountRule) { return QStringLiteral("rule %1"); },
        .layout = [](LayoutRule) { return QStringLiteral("layout %1"); },
        .caveat = [](CountCaveat) { return QStringLiteral("caveat"); },
        .unsureNames = QStringLiteral("+unsure"),
        .entryNotCounted = QStringLiteral("+entry"),
        .adviceLeast = {},
        .adviceIsDefault = {},
        .adviceDefault = {},
        .adviceCommand = {},
        .adviceNoneFits = {},
        .adviceLargeFile = {},
    };
    EXPECT_FALSE(countNote(c, words));  // exact by the window's rule
    c.estimate.caveat = CountCaveat::OwnAllocationRules;
    auto note = countNote(c, words);
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text, QStringLiteral("caveat"));
    EXPECT_FALSE(note->exact);
    c.estimate.layout = LayoutRule::Ext;
    c.estimate.exact = true;
    c.estimate.targetEntryCounted = true;
    note = countNote(c, words);
    EXPECT_EQ(note->text, QStringLiteral("layout ext4"));
    EXPECT_TRUE(note->exact);
    c.estimate.rule = TargetRule{CountRule::VfatUpperCaseShortNames, {}, "mixed", true};
    c.estimate.exact = false;  // the driver's rule is known, the names' case is not
    note = countNote(c, words);
    EXPECT_EQ(note->text, QStringLiteral("rule mixed+unsure+entry"));
    EXPECT_FALSE(note->exact);
    EXPECT_FALSE(estimateNote(QStringLiteral("FAT32"), words));
    EXPECT_EQ(estimateNote(QStringLiteral("btrfs"), words)->text, QStringLiteral("caveat"));

    LengthJudgement slack{};
    slack.bytes = 2048;
    slack.slackPercent = 100.0 * (2048 - 1500) / 2048;
    EXPECT_EQ(slackShareText(slack), QStringLiteral("26.8"));
    EXPECT_FALSE(slackShareText(LengthJudgement{}));
}

TEST(ReportTarget, FitsExactlyAndMissesByOneClusterOnAFatDrive)
{
    TempTree images;
    std::string why;
    const auto target = fatTarget(images, why);
    if (!target)
        GTEST_SKIP() << why;
    TempTree source;
    source.folder("copy");
    const ToolRun probe = report({"--json", "--target", target->path(), source.path("copy")});
    ASSERT_EQ(probe.status, 0) << probe.err;
    const QJsonObject t = json(probe).value(u"target").toObject();
    EXPECT_EQ(t.value(u"file_system").toString(), "FAT16");
    EXPECT_EQ(t.value(u"estimate_exact").toBool(), true);
    const qint64 cluster = t.value(u"cluster_length").toInteger();
    const qint64 free = t.value(u"free_bytes").toInteger();
    ASSERT_GE(cluster, 512);
    ASSERT_GT(free, 4 * cluster);
    EXPECT_EQ(t.value(u"needed_bytes").toInteger(), cluster);  // the empty folder's own table

    // One file filling every free cluster but the folder's own: a fit with
    // nothing to spare. One byte more takes one more cluster.
    source.file("copy/data", free - cluster);
    const ToolRun fits = report({"--json", "--target", target->path(), source.path("copy")});
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_EQ(json(fits)["target"]["needed_bytes"].toInteger(), free);
    EXPECT_TRUE(json(fits)["target"]["fits"].toBool());
    EXPECT_EQ(json(fits)["converted"]["cluster_length"].toInteger(), cluster);

    source.file("copy/data", free - cluster + 1);
    const ToolRun misses = report({"--json", "--target", target->path(), source.path("copy")});
    EXPECT_EQ(misses.status, 3);
    EXPECT_EQ(json(misses)["target"]["needed_bytes"].toInteger(), free + cluster);
    const ToolRun text = report({"--target", target->path(), source.path("copy")});
    EXPECT_EQ(text.status, 3);
    EXPECT_NE(text.out.find("  fits: no, " + dorvelix::formatNumber(static_cast<long long>(cluster), dorvelix::NumberPattern::Plain).toStdString() + " bytes short\n"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("  limits: none"), std::string::npos) << text.out;
}

TEST(ReportTarget, WhatWillNotCopyToFatAndNothingOnTmpfs)
{
    TempTree source;
    source.file("a/big", 4LL << 30);
    source.file("a/x:y", 1);
    source.file("b/Name", 1);
    source.file("b/name", 1);
    std::filesystem::create_symlink("a", source.path("link"));

    TempTree images;
    std::string why;
    const auto fat = fatTarget(images, why);
    if (!fat)
        GTEST_SKIP() << why;
    const ToolRun r = report({"--json", "--target", fat->path(), source.root()});
    EXPECT_EQ(r.status, 3);
    std::set<std::pair<QString, QString>> blocked;
    for (const QJsonValue& b : json(r)["target"]["blocked"].toArray())
        blocked.insert({b["path"].toString(), b["reason"].toString()});
    const std::set<std::pair<QString, QString>> expected{
        {"a/big", "file_too_large"}, {"a/x:y", "forbidden_character"}, {"b/name", "case_collision"},
        {"link", "symbolic_link"}};
    EXPECT_EQ(blocked, expected);
    EXPECT_FALSE(json(r)["target"]["fits"].toBool());  // 4 GiB on a 16 MiB drive

    // fusefat creates no name with a character outside ASCII: such a name
    // will not copy there.
    std::error_code refused;
    EXPECT_FALSE(std::filesystem::create_directory(fat->path() + "/写真", refused));
    EXPECT_TRUE(refused);
    source.file("c/写真.jpg", 1);
    blocked.clear();
    for (const QJsonValue& b : json(report({"--json", "--target", fat->path(), source.root()}))["target"]["blocked"].toArray())
        blocked.insert({b["path"].toString(), b["reason"].toString()});
    EXPECT_EQ(blocked.count({QString::fromUtf8("c/写真.jpg"), "name_not_ascii"}), 1u);
    std::filesystem::remove(source.path("c/写真.jpg"));

    const auto tmpfs = TestMount::tmpfs("size=64m", why);
    if (!tmpfs)
        GTEST_SKIP() << why;
    source.file("a/big", 1);
    const ToolRun t = report({"--json", "--target", tmpfs->path(), source.root()});
    EXPECT_EQ(t.status, 0) << t.err;
    EXPECT_TRUE(json(t)["target"]["blocked"].toArray().isEmpty());
    EXPECT_FALSE(json(t)["target"]["estimate_exact"].toBool());
    EXPECT_FALSE(json(t)["target"]["estimate_note"].toString().isEmpty());
}

TEST(ReportFolders, RowsSumToTheTotalsLargestFirstAndCompleteFindsWhatTheWindowSkips)
{
    TempTree t;
    t.file("own", 10);
    t.file("small/f", 1);
    t.file("large/f", 100000);
    t.file("large/sub/g", 5000);
    std::string deep = "large";
    for (int i = 1; i <= 16; ++i)
        deep += "/d" + std::to_string(i);
    t.file(deep + "/.hidden", 1);
    t.file("large/d1/d2/d3/d4/d5/d6/d7/d8/d9/.level10", 1);
    for (const bool complete : {false, true}) {
        std::vector<std::string> args{"--json", "--folders", "--convert", "32768", t.root()};
        if (complete)
            args.insert(args.begin(), "--complete");
        const ToolRun r = report(args);
        ASSERT_EQ(r.status, complete ? 0 : 1) << r.err;
        const QJsonObject o = json(r);
        const QJsonArray rows = o["folders"].toArray();
        ASSERT_EQ(rows.size(), 3);
        EXPECT_EQ(rows[0]["name"].toString(), "large");
        qint64 folders = 0, files = 0, clusters = 0, converted = 0, last = rows[0]["convert_bytes"].toInteger();
        for (const QJsonValue& row : rows) {
            folders += row["folders"].toInteger();
            files += row["files"].toInteger();
            clusters += row["clusters"].toInteger();
            converted += row["convert_clusters"].toInteger();
            EXPECT_LE(row["convert_bytes"].toInteger(), last);
            last = row["convert_bytes"].toInteger();
            EXPECT_EQ(row["growth_bytes"].toInteger(), row["convert_bytes"].toInteger() - row["bytes"].toInteger());
        }
        EXPECT_EQ(folders, o["subtree"]["folders"].toInteger());
        EXPECT_EQ(files, o["subtree"]["files"].toInteger());
        EXPECT_EQ(clusters, o["subtree"]["clusters"].toInteger());
        EXPECT_EQ(converted, o["converted"]["clusters"].toInteger());
        // Folders small, large, sub, d1..d16; the window enters d14 at level 15
        // and counts d15 without entering it.
        EXPECT_EQ(o["subtree"]["folders"].toInteger(), complete ? 19 : 18) << complete;
        EXPECT_EQ(o["subtree"]["files"].toInteger(), complete ? 6 : 4) << complete;
        EXPECT_EQ(o["limits"]["complete"].toBool(), complete);
        EXPECT_EQ(o["limits"]["levels_skipped"].toInteger(), complete ? 0 : 1);
        EXPECT_EQ(o["limits"]["hidden_skipped"].toInteger(), complete ? 0 : 1);
    }
}

// A target that counts inodes runs out of them before its bytes: the report
// names inodes as the limit, with what the copy needs and what is left, and a
// real copy fails there; with inodes to spare the copy succeeds and takes no
// more than the bound says. A pseudo file system is no target at all.
TEST(ReportTarget, InodesRunOutOnTmpfsAndAPseudoFileSystemIsNoTarget)
{
    std::string why;
    const auto tmpfs = TestMount::tmpfs("size=16m,nr_inodes=50", why);
    if (!tmpfs)
        GTEST_SKIP() << why;
    struct statvfs before {};
    ASSERT_EQ(::statvfs(tmpfs->path().c_str(), &before), 0);
    for (const int files : {60, 40}) {
        SCOPED_TRACE(files);
        TempTree source;
        for (int i = 0; i < files; ++i)
            source.fileWith("copy/file" + std::to_string(i), std::string(static_cast<size_t>(i * 100), 'x'));
        const ToolRun r = report({"--json", "--target", tmpfs->path(), source.path("copy")});
        const QJsonObject t = json(r)["target"].toObject();
        EXPECT_EQ(t["needed_inodes"].toInteger(), files + 1);
        EXPECT_EQ(t["free_inodes"].toInteger(), static_cast<qint64>(before.f_favail));
        const bool fits = files + 1 <= static_cast<long long>(before.f_favail);
        EXPECT_EQ(t["fits"].toBool(), fits);
        EXPECT_EQ(r.status, fits ? 0 : 3) << r.err;
        const QJsonArray reached = t["limits_reached"].toArray();
        if (!fits) {
            ASSERT_EQ(reached.size(), 1);
            EXPECT_EQ(reached[0]["limit"].toString(), "inodes");
            EXPECT_EQ(reached[0]["needed"].toInteger(), files + 1);
            EXPECT_EQ(reached[0]["available"].toInteger(), static_cast<qint64>(before.f_favail));
            const ToolRun text = report({"--target", tmpfs->path(), source.path("copy")});
            EXPECT_NE(text.out.find("  fits: no\n  runs out: inodes: needs 61, "), std::string::npos) << text.out;
        } else {
            EXPECT_TRUE(reached.isEmpty());
        }
        EXPECT_EQ(runTool({"cp", "-r", source.path("copy"), tmpfs->path()}).status == 0, fits);
        struct statvfs after {};
        ASSERT_EQ(::statvfs(tmpfs->path().c_str(), &after), 0);
        if (fits) {
            EXPECT_LE(static_cast<qint64>((before.f_bavail - after.f_bavail) * after.f_frsize), t["needed_bytes"].toInteger());
        }
        runTool({"rm", "-rf", tmpfs->path() + "/copy"});
    }

    TempTree source;
    source.file("copy/a", 1);
    for (const char* pseudo : {"/proc", "/sys/kernel"}) {
        const ToolRun r = report({"--target", pseudo, source.path("copy")});
        EXPECT_EQ(r.status, 2) << pseudo;
        EXPECT_NE(r.err.find(std::string("cannot copy to ") + pseudo + ": it lies on "), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty());
    }
}
