#include "target_tables.h"

#include "paths.h"

#include <QString>
#include <algorithm>

namespace dorvelix {

namespace {

// UTF-16 units a long name takes per entry: 13 on FAT, 15 on exFAT.
constexpr long long FatLongNameUnits = 13;
constexpr long long ExfatNameUnits = 15;
// exFAT's File and Stream Extension entries, before the name's.
constexpr long long ExfatEntriesBeforeName = 2;

// Characters an 8.3 name may hold besides letters and digits.
constexpr std::string_view ShortNameMarks = "!#$%&'()-@^_`{}~";

long long ceilDiv(long long a, long long b)
{
    return (a + b - 1) / b;
}

// The letter cases one part of an 8.3 name holds.
struct PartCase {
    bool upper = false;
    bool lower = false;
};

// A name that fits an 8.3 entry: ASCII, a base of 1 to 8 characters and an
// extension of at most 3 after one dot, only letters, digits and
// ShortNameMarks.
struct ShortName {
    bool valid = false;
    bool ascii = true;
    PartCase base, extension;
};

ShortName shortNameOf(std::string_view name)
{
    ShortName s;
    s.ascii = std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const size_t dot = name.find('.');
    const std::string_view base = name.substr(0, dot);
    const std::string_view extension = dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
    if (!s.ascii || base.empty() || base.size() > 8 || extension.size() > 3
        || (dot != std::string_view::npos && extension.empty()))
        return s;
    const auto scan = [](std::string_view part, PartCase& cases) {
        for (const char c : part) {
            if (c >= 'A' && c <= 'Z')
                cases.upper = true;
            else if (c >= 'a' && c <= 'z')
                cases.lower = true;
            else if (!(c >= '0' && c <= '9') && ShortNameMarks.find(c) == std::string_view::npos)
                return false;  // a second dot too
        }
        return true;
    };
    s.valid = scan(base, s.base) && scan(extension, s.extension);
    return s;
}

// Whether a FAT driver under rule writes a long name beside the 8.3 entry.
bool writesLongName(const ShortName& s, LongNames rule)
{
    if (!s.valid)
        return true;
    switch (rule) {
    case LongNames::UnlessUpperCaseShortName: return s.base.lower || s.extension.lower;
    case LongNames::UnlessOneCaseShortName:
        return (s.base.upper && s.base.lower) || (s.extension.upper && s.extension.lower);
    case LongNames::ForEveryName: return true;
    }
    return true;
}

// A name's length in UTF-16 units; an ASCII name's is its length in bytes.
long long utf16Units(std::string_view name)
{
    if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return static_cast<long long>(name.size());
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).size();
}

}  // namespace

long long nameEntries(std::string_view name, const TableRule& rule, bool& unsure)
{
    const long long units = utf16Units(name);
    if (rule.format == TableFormat::Exfat)
        return ExfatEntriesBeforeName + ceilDiv(units, ExfatNameUnits);
    const ShortName s = shortNameOf(name);
    // A driver may store a name outside ASCII in its 8.3 entry alone, by
    // its code page; the long name is counted, which is never too few.
    if (!s.ascii && rule.longNames != LongNames::ForEveryName)
        unsure = true;
    return 1 + (writesLongName(s, rule.longNames) ? ceilDiv(units, FatLongNameUnits) : 0);
}

long long ownEntries(TableFormat format)
{
    return format == TableFormat::Fat ? 2 : 0;  // "." and ".."
}

long long tableClusters(long long entries, long long clusterLength)
{
    return std::max(1LL, ceilDiv(entries * TableEntryBytes, clusterLength));
}

long long folderTableEntries(const FolderScan& folder, const TableRule& rule, bool& unsure)
{
    long long entries = ownEntries(rule.format);
    for (const auto* list : {&folder.folders(), &folder.files()}) {
        for (const FolderEntry& e : *list)
            entries += nameEntries(folder.name(e), rule, unsure);
    }
    return entries;
}

void TargetTables::folderRead(const std::string& path, const FolderScan& folder)
{
    const long long entries = folderTableEntries(folder, rule_, unsure_);
    clusters_ += tableClusters(entries, clusterLength_);
    if (rule_.format == TableFormat::Fat && entries > FatFolderEntryLimit)
        blocked_.push_back({path.empty() ? std::string(".") : path, BlockReason::TooManyEntries, entries,
                            FatFolderEntryLimit});
}

void TargetTables::fileBooked(const std::string&, const FolderEntry&, long long length)
{
    clusters_ += ceilDiv(length, clusterLength_);
}

void ObserverPair::folderRead(const std::string& path, const FolderScan& folder)
{
    first_.folderRead(path, folder);
    second_.folderRead(path, folder);
}

void ObserverPair::fileBooked(const std::string& path, const FolderEntry& entry, long long length)
{
    first_.fileBooked(path, entry, length);
    second_.fileBooked(path, entry, length);
}

}  // namespace dorvelix
