// The rules --target counts a FAT or exFAT copy by, chosen from a FAT
// mount's options, which the kernel's own vfat (often not loadable where
// the tests run) would follow; the winnt rule checked to the cluster
// against a copy by mcopy.
#include "complete_walk.h"
#include "fat_copy_rig.h"
#include "target_drive.h"
#include "target_tables.h"
#include "temp_tree.h"

#include <gtest/gtest.h>

using namespace dorvelix;
using namespace dorvelix::testing;

// The kernel's vfat writes a name's long name by its shortname= option;
// mtools writes names as its winnt rule does, so a copy by mcopy checks that
// rule to the cluster, and the mount options pick each rule.
TEST(TargetRules, ShortNameOptionsPickTheKernelsRuleAndMcopyFollowsWinnt)
{
    struct Row {
        const char* driver;
        const char* options;
        VolumeFormat::Kind kind;
        CountRule rule;
        bool exact;
    };
    using Kind = VolumeFormat::Kind;
    const Row rows[] = {
        {"vfat", "rw,relatime,fmask=0022", Kind::Fat32, CountRule::VfatUpperCaseShortNames, true},
        {"vfat", "rw,shortname=mixed,utf8", Kind::Fat32, CountRule::VfatUpperCaseShortNames, true},
        {"vfat", "rw,shortname=win95", Kind::Fat16, CountRule::VfatUpperCaseShortNames, true},
        {"vfat", "shortname=lower", Kind::Fat12, CountRule::VfatUpperCaseShortNames, true},
        {"vfat", "rw,shortname=winnt", Kind::Fat32, CountRule::VfatOneCaseShortNames, true},
        {"vfat", "rw,shortname=unknown", Kind::Fat32, CountRule::UnknownFatDriver, false},
        {"fuse.fusefat", "rw,user_id=0", Kind::Fat16, CountRule::FusefatLongNames, true},
        {"msdos", "rw", Kind::Fat16, CountRule::UnknownFatDriver, false},
        {"fuse.someotherfat", "rw", Kind::Fat32, CountRule::UnknownFatDriver, false},
        {"exfat", "rw", Kind::Exfat, CountRule::Exfat, true},
        {"fuseblk", "rw,blksize=4096", Kind::Exfat, CountRule::Exfat, true},
    };
    for (const Row& row : rows) {
        const auto rule = targetRule(VolumeFormat{row.kind, 0, row.driver, row.options});
        ASSERT_TRUE(rule) << row.driver << " " << row.options;
        EXPECT_EQ(rule->rule, row.rule) << row.driver << " " << row.options;
        EXPECT_EQ(rule->exact, row.exact) << row.driver << " " << row.options;
    }
    EXPECT_FALSE(targetRule(VolumeFormat{Kind::Other, 0, "fuseblk", "rw"}));  // NTFS through ntfs-3g

    // Entries per name: FAT by each rule, then exFAT.
    const TableRule upper{TableFormat::Fat, LongNames::UnlessUpperCaseShortName};
    const TableRule oneCase{TableFormat::Fat, LongNames::UnlessOneCaseShortName};
    const TableRule every{TableFormat::Fat, LongNames::ForEveryName};
    const TableRule exfat{TableFormat::Exfat, LongNames::ForEveryName};
    struct Name {
        const char* name;
        long long upper, oneCase, every, exfat;
    };
    const Name names[] = {
        {"README.TXT", 1, 1, 2, 3},     {"readme.txt", 2, 1, 2, 3},   {"readme.TXT", 2, 1, 2, 3},
        {"Readme.txt", 2, 2, 2, 3},     {"A1B2_#~9.Z", 1, 1, 2, 3},   {"a b.txt", 2, 2, 2, 3},
        {".profile", 2, 2, 2, 3},       {"a.b.c", 2, 2, 2, 3},        {"NINECHARS", 2, 2, 2, 3},
        {"IMG_20240101_000001.jpg", 3, 3, 3, 4},  // 23 UTF-16 units
        {"Exactly_26_characters_long", 3, 3, 3, 4},  {"Exactly_27_characters_long!", 4, 4, 4, 4},
        {"日本語.TXT", 2, 2, 2, 3},
    };
    for (const Name& n : names) {
        bool unsure = false;
        EXPECT_EQ(nameEntries(n.name, upper, unsure), n.upper) << n.name;
        EXPECT_EQ(nameEntries(n.name, oneCase, unsure), n.oneCase) << n.name;
        EXPECT_EQ(nameEntries(n.name, every, unsure), n.every) << n.name;
        EXPECT_EQ(nameEntries(n.name, exfat, unsure), n.exfat) << n.name;
    }
    bool unsure = false;
    nameEntries("日本語.TXT", upper, unsure);
    EXPECT_TRUE(unsure);
    EXPECT_EQ(tableClusters(0, 4096), 1);
    EXPECT_EQ(tableClusters(128, 4096), 1);
    EXPECT_EQ(tableClusters(129, 4096), 2);

    // 63 lower-case and 63 upper-case 8.3 names: with "." and ".." 128
    // entries, one cluster by the winnt rule, two by mixed's.
    TempTree source, images;
    for (int i = 0; i < 63; ++i) {
        source.file("copy/" + numbered("low%03d.txt", i), 1);
        source.file("copy/" + numbered("UP%03d.TXT", i), 1);
    }
    const auto count = [&](LongNames rule) {
        TargetTables tables({TableFormat::Fat, rule}, 4096);
        CompleteWalk(4096, 4096, nullptr, &tables).run(source.path("copy"));
        return tables.clusters();
    };
    EXPECT_EQ(count(LongNames::UnlessUpperCaseShortName) - count(LongNames::UnlessOneCaseShortName), 1);
    const std::string image = fat32Image(images, "fat32.img");
    if (image.empty())
        GTEST_SKIP() << "mkfs.fat (Debian package dosfstools) is missing";
    EXPECT_EQ(count(LongNames::UnlessOneCaseShortName) * 4096,
              bytesTaken(image, [&] { return mcopy(image, source.path("copy")); }));
}

// FAT numbers a folder's entries with 16 bits: 3,200 names of 255
// characters need 67,200 entries, more than a folder can hold.
TEST(TargetRules, AFolderOfMoreThan65536FatEntriesWillNotCopy)
{
    TempTree source;
    for (int i = 0; i < 3200; ++i)
        source.file("copy/wide/" + numbered("%04d", i) + std::string(251, 'n'));
    for (const TableFormat format : {TableFormat::Fat, TableFormat::Exfat}) {
        TargetTables tables({format, LongNames::ForEveryName}, 32768);
        CompleteWalk(4096, 4096, nullptr, &tables).run(source.path("copy"));
        if (format == TableFormat::Fat) {
            ASSERT_EQ(tables.blocked().size(), 1u);
            EXPECT_EQ(tables.blocked()[0].path, "wide");
            EXPECT_EQ(tables.blocked()[0].reason, BlockReason::TooManyEntries);
        } else {
            EXPECT_TRUE(tables.blocked().empty());
        }
    }
}
