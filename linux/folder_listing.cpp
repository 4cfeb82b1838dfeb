#include "folder_listing.h"

#include "answer_in_time.h"
#include "folder_scan.h"
#include "mount_boundaries.h"
#include "paths.h"
#include "runtime_error.h"

#include <cerrno>
#include <new>
#include <optional>
#include <sys/stat.h>

namespace dorvelix {

namespace {

long long milliseconds(const struct timespec& t)
{
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

ListedEntry listedEntry(const FolderScan& scan, const FolderEntry& entry)
{
    ListedEntry listed;
    listed.name = std::string(scan.name(entry));
    switch (entry.kind) {
    case EntryKind::Folder: listed.kind = ListedKind::Folder; break;
    case EntryKind::Regular: listed.kind = ListedKind::File; break;
    case EntryKind::Link: listed.kind = ListedKind::Link; break;
    case EntryKind::Special: listed.kind = ListedKind::Special; break;
    }
    struct stat status {};
    if (scan.entryStatus(entry, status) == 0) {
        listed.modifiedMs = milliseconds(status.st_mtim);
        if (entry.kind == EntryKind::Regular)
            listed.length = static_cast<long long>(status.st_size);
    }
    return listed;
}

FolderListing listFolder(const std::string& folder, const std::shared_ptr<const MountBoundaries>& boundaries)
{
    const std::shared_ptr<FolderScan> scan = FolderScan::read(folder, nullptr, boundaries);
    FolderListing listing;
    listing.path = folder;
    listing.entries.reserve(scan->folders().size() + scan->files().size());
    for (const FolderEntry* entry : scan->entriesInListOrder())
        listing.entries.push_back(listedEntry(*scan, *entry));
    // The scan leaves the mount points out; the chooser shows them by name
    // alone, so that a drive whose driver hangs is never asked here.
    if (const MountBoundaries::Names* mountPoints = boundaries->mountPointsIn(folder)) {
        for (const std::string& name : *mountPoints)
            listing.entries.push_back({name, ListedKind::Drive});
    }
    return listing;
}

}  // namespace

FolderListing listFolderInTime(const std::string& path)
{
    const std::string folder = withoutTrailingSlashes(path);
    const auto boundaries = MountBoundaries::current();
    const MountEntry* mount = mountHolding(boundaries->table(), folder);
    struct Answer {
        std::optional<FolderListing> listing;
        std::optional<RuntimeError> error;
    };
    const std::optional<Answer> answer
        = answerInTime<Answer>(mount ? mount->mountPoint : std::string("/"), [folder, boundaries]() -> Answer {
              try {
                  return {listFolder(folder, boundaries), std::nullopt};
              } catch (const RuntimeError& e) {
                  return {std::nullopt, e};
              } catch (const std::bad_alloc&) {
                  return {std::nullopt, RuntimeError(err::OutOfMemory)};
              }
          });
    if (!answer)
        throw RuntimeError(err::DiskNotReady, err::FolderQuery, ETIMEDOUT);
    if (answer->error)
        throw *answer->error;
    return std::move(*answer->listing);
}

std::string parentFolder(const std::string& path)
{
    const std::string folder = withoutTrailingSlashes(path);
    const size_t slash = folder.rfind('/');
    if (slash == std::string::npos || slash == 0)
        return "/";
    return folder.substr(0, slash);
}

}  // namespace dorvelix
