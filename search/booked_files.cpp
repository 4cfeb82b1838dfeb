#include "booked_files.h"

namespace dorvelix {

bool BookedFiles::bookedFirstHere(const FolderScan& folder, std::uint32_t file)
{
    const std::optional<FileIdentity> id = folder.sharedIdentity(file);
    return !id || seen_.insert(*id).second;
}

}  // namespace dorvelix
