// Every English text of dorvelix-report's own, each written once: the
// help with its options, the usage errors, the failures that end a run, the
// lines of the text output, why a count is an estimate, why an entry will
// not copy, and the keys of the JSON document. The panels' captions and the
// search's messages are the window's own (window_texts.h); the lines for
// --help and --version and the output error both programs share
// (command_line.h, standard_output.h).
#pragma once

#include "copy_check.h"
#include "json_keys.h"
#include "target_check.h"
#include "target_drive.h"

#include <QLatin1String>

namespace dorvelix::report_text {

inline constexpr char Program[] = "dorvelix-report";

// What JSON readers check before they read on: the document's kind, named
// after the program, and the version of its layout, raised whenever a key
// changes meaning or goes.
inline constexpr const char* JsonFormat = Program;
inline constexpr long long JsonFormatVersion = 1;

// The help.
inline constexpr QLatin1String Synopsis{"[options] [--] [FOLDER]"};
inline constexpr QLatin1String Description{
    "Prints the drive panel of FOLDER's drive and the folder panel after a\n"
    "search of FOLDER, counted in the drive's cluster units."};

// An option of the command line: its name, the name of its value (none for
// a switch; the syntax for the folder argument) and its line of the help.
struct OptionText {
    const char* name;
    const char* valueName;
    const char* description;
};

inline constexpr OptionText JsonOption{"json", nullptr, "Print one JSON object instead of the panels."};
inline constexpr OptionText ConvertOption{"convert", "N",
                                          "Count the subtree also at cluster length N: 128, 256, 512,\n"
                                          "1024, 2048, 4096, 8192, 16384 or 32768 (default: the\n"
                                          "drive's cluster length)."};
inline constexpr OptionText FoldersOption{"folders", nullptr,
                                          "Also list one row per top-level subfolder (and one for\n"
                                          "FOLDER's own files), largest converted first."};
inline constexpr OptionText DepthOption{"depth", "N",
                                        "List the folders down to N levels below FOLDER (1: the\n"
                                        "top level, as --folders), each followed by its subfolders,\n"
                                        "with its level and path. Implies --folders. With --json the\n"
                                        "output is a saved scan for --compare."};
inline constexpr OptionText CompareOption{"compare", "OLD",
                                          "Compare the search with OLD, a scan saved by --json\n"
                                          "--depth N: per folder that changed, down to the levels it\n"
                                          "lists, the figures then and now, largest growth first."};
inline constexpr OptionText CompleteOption{"complete", nullptr,
                                           "Count every level and every entry, hidden and special\n"
                                           "files at every depth, without the window's limits."};
inline constexpr OptionText TargetOption{"target", "PATH",
                                         "Tell whether FOLDER fits on the drive holding PATH, at\n"
                                         "that drive's cluster length, and on a FAT or exFAT\n"
                                         "drive what will not copy. Implies --complete."};
inline constexpr OptionText LengthsOption{"lengths", nullptr,
                                          "Tell, for every cluster length from 512 bytes to 32 MiB,\n"
                                          "the bytes a copy of FOLDER takes on a fresh FAT32 volume\n"
                                          "(up to 64 KiB) and on a fresh exFAT volume. Implies\n"
                                          "--complete."};
inline constexpr OptionText CapacityOption{"capacity", "SIZE",
                                           "With --lengths: mark the lengths mkfs.fat and mkfs.exfat\n"
                                           "pick for a volume of SIZE bytes (or with K, M, G, T), tell\n"
                                           "whether the copy fits such a volume at each length, and\n"
                                           "say which length to format it with."};
inline constexpr OptionText FolderArgument{"FOLDER", "[--] [FOLDER]",
                                           "The folder to search (default: the current folder)."};

// What the help says after the options.
inline constexpr QLatin1String HelpTail{
    "\nThe count:\n"
    "  Each file takes its length rounded up to whole clusters; each folder\n"
    "  one cluster, and its table of 32-byte entries (two, one per entry,\n"
    "  one more per name of more than 12 characters) takes the clusters it\n"
    "  fills beyond that one. This is how FAT12/16/32 allocate. On other file\n"
    "  systems the count is an estimate, and the report says why in a note\n"
    "  (exFAT's longer folder entries, compression and deduplication, small\n"
    "  files kept in metadata).\n"
    "  Without --complete the search has the window's limits: 15 levels below\n"
    "  FOLDER, hidden and special files counted down to level 8 only.\n"
    "\nNeeded bytes (--target):\n"
    "  what cp -r takes on the target, counted by its own layout: on FAT\n"
    "  and exFAT each folder's table as the driver writes it; on NTFS the\n"
    "  MFT records, the data they do not hold and the folder indexes; on\n"
    "  ext2/3/4 the blocks and an inode for each entry; on btrfs and f2fs\n"
    "  their own layouts; elsewhere a bound never under what it takes (the\n"
    "  note says which). Compared with the bytes, and the inodes, the\n"
    "  target has free for this user: the report names what runs out.\n"
    "\nEvery length (--lengths):\n"
    "  a copy on fresh FAT32 and exFAT volumes at 512 bytes to 32 MiB, counted\n"
    "  as --target counts it; --capacity marks mkfs's default lengths and\n"
    "  says which length to format with.\n"
    "\nExamples:\n"
    "  dorvelix-report ~/photos                 the panels, as the window shows them\n"
    "  dorvelix-report --convert 32768 ~/photos also counted at 32,768-byte clusters\n"
    "  dorvelix-report --folders ~/photos       one row per subfolder, largest first\n"
    "  dorvelix-report --folders --depth 3 ~/photos\n"
    "                                           three levels of subfolders\n"
    "  dorvelix-report --json --depth 3 ~/photos > photos.json\n"
    "  dorvelix-report --compare photos.json ~/photos\n"
    "                                           what grew since photos.json was saved\n"
    "  dorvelix-report --complete ~/photos      every level and every hidden file\n"
    "  dorvelix-report --target /media/usb ~/photos\n"
    "                                           will it fit, and what will not copy\n"
    "  dorvelix-report --json --target /media/usb ~/photos\n"
    "  dorvelix-report --lengths --capacity 64G ~/photos\n"
    "                                           which cluster length to format with\n"
    "\nExit status:\n"
    "  0  the search raised no message box (with --target: it fits and\n"
    "     everything will copy)\n"
    "  1  the search raised a message box (the results are still printed)\n"
    "  2  a usage error, a folder that cannot be opened, a drive without a\n"
    "     medium, a target that is no drive (proc, sysfs ...), a saved scan\n"
    "     that cannot be read, or output that cannot be written\n"
    "  3  with --target: the folder does not fit, or something will not copy\n"};

// Usage errors: the cause, then where to read on.
inline constexpr QLatin1String UsageError{"%1 (see %2 --help)"};
inline constexpr QLatin1String OptionTwice{"--%1 given more than once"};
inline constexpr QLatin1String InvalidConvertLength{
    "invalid --convert value '%1': it takes one of 128, 256, 512, 1024, 2048, 4096, 8192, 16384, 32768"};
inline constexpr QLatin1String ConvertAndTarget{"--convert and --target both set the conversion length"};
inline constexpr QLatin1String EmptyTarget{"the target is an empty name"};
inline constexpr QLatin1String LengthsAndConversion{"--lengths counts every length: it takes neither --convert nor --target"};
inline constexpr QLatin1String CapacityWithoutLengths{"--capacity is given for --lengths"};
inline constexpr QLatin1String InvalidCapacity{
    "invalid --capacity value '%1': it takes a whole number of bytes, or of K, M, G or T"};
inline constexpr QLatin1String InvalidDepth{"invalid --depth value '%1': it takes a number of levels from 1"};
inline constexpr QLatin1String EmptyCompare{"the saved scan is an empty name"};
inline constexpr QLatin1String CompareAlone{
    "--compare prints the changes only: it takes neither --folders, --depth, --target nor --lengths"};
inline constexpr QLatin1String EmptyFolder{"the folder is an empty name"};
inline constexpr QLatin1String SecondFolder{"unexpected argument '%1': one folder at most"};

// Failures that end a run with status 2.
inline constexpr QLatin1String CurrentFolderUnreadable{"the current folder cannot be read: %1"};
inline constexpr QLatin1String CannotOpenFolder{"cannot open folder %1: %2"};
inline constexpr QLatin1String NoMedium{"no medium"};
inline constexpr QLatin1String TargetNoMedium{"the target drive %1 has no medium"};
inline constexpr QLatin1String CannotOpenTarget{"cannot open target folder %1: %2"};
inline constexpr QLatin1String TargetNotADrive{"cannot copy to %1: it lies on %2, a file system of the kernel's own that holds no files"};
inline constexpr QLatin1String TargetNoClusterLength{"the target drive %1 reports no cluster length"};
inline constexpr QLatin1String DriveNoClusterLength{"the drive %1 reports no cluster length"};
// A saved scan that cannot be compared with (--compare): %1 the file.
inline constexpr QLatin1String ScanUnreadable{"cannot read the saved scan %1: %2"};
inline constexpr QLatin1String ScanTruncated{"the saved scan %1 ends at byte %2, before its end: it was cut short"};
inline constexpr QLatin1String ScanNotJson{"the saved scan %1 is not JSON: a syntax error at byte %2"};
inline constexpr QLatin1String ScanNotAScan{
    "%1 is not a scan saved by dorvelix-report --json (it does not begin with its \"format\")"};
inline constexpr QLatin1String ScanOtherFormat{"%1 is not a scan saved by dorvelix-report --json: its format is '%2'"};
inline constexpr QLatin1String ScanNewerFormat{
    "the saved scan %1 has format version %2, newer than this program reads; compare with a later dorvelix-report"};
inline constexpr QLatin1String ScanMissingFigure{"the saved scan %1 lacks its %2"};
inline constexpr QLatin1String ScanValueTooLong{"the saved scan %1 holds a text too long for a name at byte %2"};

// The text output: what the search left out.
inline constexpr QLatin1String LimitsLine{"  limits: "};
inline constexpr QLatin1String LimitsSeparator{"; "};
inline constexpr QLatin1String WindowLimits{
    "15 levels, hidden and special files down to level 8 (--complete counts all)"};
inline constexpr QLatin1String LevelsSkipped{"%1 folders below level 15 not entered"};
inline constexpr QLatin1String HiddenSkipped{"%1 hidden or special files below level 8 not counted"};
inline constexpr QLatin1String UnreadableFolders{"%1 folders could not be read"};
inline constexpr QLatin1String UnreadableFiles{"%1 file lengths could not be read"};
inline constexpr QLatin1String NoLimits{"none: every level and every entry counted"};
inline constexpr QLatin1String PartialLine{"  partial: "};
inline constexpr QLatin1String PartialNote{
    "the drive stopped answering; the figures are what was counted before it did"};
inline constexpr QLatin1String FileBytes{"  file lengths summed: folder alone %1, subtree %2 (du --apparent-size)"};
inline constexpr QLatin1String EstimateLine{"  note: the count is an estimate: "};

// The text output: one row per top-level subfolder.
inline constexpr QLatin1String FolderRowsTitle{"Folders, largest converted first (cluster length %1, converted %2)"};
inline constexpr const char* FolderRowColumns[] = {"folders",     "files",          "file bytes", "clusters",
                                                   "bytes",       "conv. clusters", "conv. bytes", "growth"};
inline constexpr QLatin1String NameColumn{"name"};
// Below the top level (--depth 2 and more): the level before the figures,
// the path from the chosen folder as the name.
inline constexpr QLatin1String LevelColumn{"level"};
inline constexpr QLatin1String PathColumn{"path"};

// The text output of --compare: %1 the saved scan, %2 its folder, %3 the
// levels compared.
inline constexpr QLatin1String CompareTitle{"Changes since %1 (%2), %3 levels below the folder, largest growth first"};
inline constexpr QLatin1String CompareLengths{"  cluster length then %1, now %2; converted then %3, now %4"};
inline constexpr QLatin1String CompareNone{"  no folder changed"};
inline constexpr const char* CompareColumns[] = {"change",     "files then", "files now",       "bytes then",
                                                 "bytes now",  "growth",     "conv. bytes then", "conv. bytes now"};
inline constexpr QLatin1String WholeFolder{"(whole folder)"};

// The text output: the answer to --target.
inline constexpr QLatin1String TargetTitle{"Target  %1  %2"};
inline constexpr QLatin1String TargetClusterLength{"  cluster length: %1"};
inline constexpr QLatin1String TargetFreeBytes{"  free bytes: %1"};
inline constexpr QLatin1String TargetNeededBytes{"  needed bytes: %1"};
inline constexpr QLatin1String Fits{"  fits: yes, %1 bytes to spare"};
inline constexpr QLatin1String DoesNotFit{"  fits: no, %1 bytes short"};
inline constexpr QLatin1String DoesNotFitElsewhere{"  fits: no"};
inline constexpr QLatin1String TargetFreeInodes{"  free inodes: %1"};
inline constexpr QLatin1String TargetNeededInodes{"  needed inodes: %1"};
inline constexpr QLatin1String RunsOut{"  runs out: %1"};
inline constexpr QLatin1String MoreEntries{" (%1 in all)"};
inline constexpr QLatin1String WillNotCopy{"  will not copy: %1"};
inline constexpr QLatin1String BlockedLine{"    %1: %2"};

// The text output: every cluster length (--lengths).
inline constexpr QLatin1String LengthsTitle{
    "Every cluster length: a copy on a fresh FAT32 volume (vfat, shortname=mixed) and on a fresh exFAT volume"};
inline constexpr QLatin1String LengthsFileBytes{"  file bytes: %1"};
inline constexpr QLatin1String LengthsCapacity{"  capacity: %1 bytes; * the length mkfs.fat / mkfs.exfat pick for it"};
inline constexpr const char* LengthsColumns[] = {"length", "FAT32 bytes", "slack %", "fits", "exFAT bytes", "slack %", "fits"};
inline constexpr QLatin1String NoFigure{"-"};
inline constexpr QLatin1String DefaultMark{" *"};
inline constexpr QLatin1String FitsYes{"yes"};
inline constexpr QLatin1String FitsNo{"no"};
// Which length to format with (--lengths --capacity): %1 the file system,
// %2 a length, %3 bytes, %4 the formatting tool, %5 the bytes more.
inline constexpr QLatin1String AdviceTitle{"Which length for a volume of %1 bytes:"};
inline constexpr QLatin1String AdviceLeast{"  %1: least taken at %2 bytes: %3 bytes"};
inline constexpr QLatin1String AdviceIsDefault{", the length %1 picks for this size"};
inline constexpr QLatin1String AdviceDefault{"; %1 picks %2 bytes for this size, which takes %3 bytes, %4 more"};
inline constexpr QLatin1String AdviceCommand{"    format with: %1"};
inline constexpr QLatin1String AdviceNoneFits{"  %1: no length fits a volume of this size"};
inline constexpr QLatin1String AdviceLargeFile{"  %1: takes no file of 4 GiB or more; the largest here has %2 bytes"};

// Why a count at a file system's cluster length is an estimate.
constexpr const char* caveatText(CountCaveat caveat)
{
    switch (caveat) {
    case CountCaveat::LongFolderEntries:
        return "exFAT keeps three or more 32-byte entries per file in a folder's table, so folder tables are counted "
               "low";
    case CountCaveat::SharedExtents:
        return "compression, deduplication and shared extents make the space taken differ from the count";
    case CountCaveat::FilesInFileTable: return "small files live in the file table and compressed files take less";
    case CountCaveat::OwnAllocationRules:
        return "this file system allocates folders, small files and its own records by rules of its own; the count "
               "follows FAT's rules";
    }
    return "";
}

// How --target counted a FAT or exFAT target's folder tables, named after
// the driver that writes them (%1: vfat's shortname= value, or the driver).
constexpr const char* ruleText(CountRule rule)
{
    switch (rule) {
    case CountRule::VfatUpperCaseShortNames:
        return "Linux vfat, shortname=%1: long names for every name not all in upper case";
    case CountRule::VfatOneCaseShortNames:
        return "Linux vfat, shortname=%1: long names for every name not 8.3 with each part in one letter case";
    case CountRule::FusefatLongNames: return "fusefat: a long name for every name";
    case CountRule::UnknownFatDriver:
        return "FAT written by %1, a driver not known here: a long name counted for every name";
    case CountRule::Exfat:
        return "exFAT (%1): a File, a Stream Extension and one File Name entry per 15 characters for every name";
    }
    return "";
}
// How --target counted a target that is neither FAT nor exFAT (%1: the
// mount's driver).
constexpr const char* layoutText(LayoutRule rule)
{
    switch (rule) {
    case LayoutRule::Ntfs: return "NTFS (%1): an MFT record for each entry, small files inside it, folder indexes in blocks";
    case LayoutRule::Ext: return "%1: data and folder blocks, extent or map blocks, and an inode for each entry";
    case LayoutRule::Btrfs: return "btrfs: data in whole sectors, small files inline, metadata chunks by their profile";
    case LayoutRule::F2fs: return "f2fs: a node block for each entry, small files and folders inline, hashed folder blocks";
    case LayoutRule::Bound:
        return "%1 allocates by rules not known here: a bound of one more unit of at least 4,096 bytes for each "
               "entry, twice its names' bytes for each folder, and one unit for the entry in the folder the copy "
               "goes into";
    }
    return "";
}
inline constexpr QLatin1String RuleLine{"  counted by: "};
inline constexpr QLatin1String UnsureNames{"; names outside ASCII counted with long names"};
inline constexpr QLatin1String EntryNotCounted{"; the entry the copy adds to the folder it goes into is not counted"};

// What a copy runs out of: its key in the JSON document, and its text
// (%1 what is needed, %2 what is left or allowed, %3 the entry concerned).
struct LimitText {
    CopyLimit limit;
    const char* key;
    const char* text;
};

inline constexpr LimitText Limits[] = {
    {CopyLimit::Bytes, "bytes", "bytes: needs %1, %2 left"},
    {CopyLimit::Inodes, "inodes", "inodes: needs %1, %2 left"},
    {CopyLimit::FolderEntries, "folder_entries", "folder entries: \"%3\" needs %1, at most %2"},
    {CopyLimit::RootTable, "root_table", "root table: \"%3\" needs %1 free entries side by side, %2 left"},
    {CopyLimit::FileSize, "file_size", "file size: \"%3\" has %1 bytes, at most %2"},
};

constexpr const LimitText& limitRow(CopyLimit limit)
{
    for (const LimitText& l : Limits) {
        if (l.limit == limit)
            return l;
    }
    return Limits[0];
}

// Why an entry will not copy: its key in the JSON document and its text in
// the text output.
struct ReasonText {
    BlockReason reason;
    const char* key;
    const char* text;
};

inline constexpr ReasonText Reasons[] = {
    {BlockReason::FileTooLarge, "file_too_large", "file of 4 GiB or more"},
    {BlockReason::ForbiddenCharacter, "forbidden_character", "name has a character FAT does not allow"},
    {BlockReason::TrailingDotOrSpace, "trailing_dot_or_space", "name ends in a dot or a space"},
    {BlockReason::CaseCollision, "case_collision", "name differs only in letter case from another in its folder"},
    {BlockReason::SymbolicLink, "symbolic_link", "symbolic link"},
    {BlockReason::SpecialFile, "special_file", "FIFO, socket or device"},
    {BlockReason::TooManyEntries, "too_many_entries", "folder of more than 65,536 FAT entries"},
    {BlockReason::RootTableFull, "root_table_full", "the FAT12/16 root table has no room for the copied folder"},
    {BlockReason::NameNotAscii, "name_not_ascii", "name has a character outside ASCII, which the target's driver refuses"},
    {BlockReason::FileTooLargeForTarget, "file_too_large_for_target", "file longer than the target's file system takes"},
    {BlockReason::TooManySubfolders, "too_many_subfolders", "folder of more subfolders than the target's file system takes"},
    {BlockReason::FolderIndexFull, "folder_index_full", "folder of more names than the target's folder index holds"},
};

constexpr const ReasonText& reasonRow(BlockReason reason)
{
    for (const ReasonText& r : Reasons) {
        if (r.reason == reason)
            return r;
    }
    return Reasons[0];
}

constexpr const char* reasonKey(BlockReason reason)
{
    return reasonRow(reason).key;
}

constexpr const char* reasonText(BlockReason reason)
{
    return reasonRow(reason).text;
}

}  // namespace dorvelix::report_text
