#include "copy_check.h"

#include "text.h"
#include "paths.h"

#include <algorithm>
#include <set>

namespace dorvelix {

namespace {

constexpr long long FatLargestFile = 4LL * 1024 * 1024 * 1024 - 1;

bool forbiddenCharacter(unsigned char c)
{
    return c < 0x20 || c == 0x7F || std::string_view("\"*/:<>?\\|").find(static_cast<char>(c)) != std::string_view::npos;
}

// Names compared without letter case. A name that is not UTF-8 keeps its
// bytes, so that two such names are not taken for one.
QString caseKey(const std::string& name)
{
    const QString shown = displayText(name);
    if (shown.toUtf8().toStdString() == name)
        return shown.toCaseFolded();
    return QChar(u'\0') + QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

void FatCopyCheck::folderRead(const std::string& path, const FolderScan& folder)
{
    // FAT compares names without letter case: the second of two such names
    // would overwrite the first.
    std::set<QString> folded;
    for (const FolderEntry* entry : folder.entriesInListOrder()) {
        const FolderEntry& e = *entry;
        const std::string_view name = folder.name(e);
        const std::string entryPath = joinedPath(path, name);
        const auto block = [&](BlockReason reason) { blocked_.push_back({entryPath, reason}); };
        if (e.kind == EntryKind::Link)
            block(BlockReason::SymbolicLink);
        else if (e.kind == EntryKind::Special)
            block(BlockReason::SpecialFile);
        bool forbidden = false;
        for (const char c : name)
            forbidden = forbidden || forbiddenCharacter(static_cast<unsigned char>(c));
        if (forbidden)
            block(BlockReason::ForbiddenCharacter);
        if (asciiOnly_ && std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
            block(BlockReason::NameNotAscii);
        if (name.back() == '.' || name.back() == ' ')
            block(BlockReason::TrailingDotOrSpace);
        if (!folded.insert(caseKey(std::string(name))).second)
            block(BlockReason::CaseCollision);
    }
}

void FatCopyCheck::fileBooked(const std::string& path, const FolderEntry& entry, long long length)
{
    if (sizeLimit_ && entry.kind == EntryKind::Regular && length > FatLargestFile)
        blocked_.push_back({path, BlockReason::FileTooLarge, length, FatLargestFile});
}

}  // namespace dorvelix
