// The rules that turn files, folder tables and folders into cluster units,
// applied at once to the drive's cluster length and the conversion length.
#pragma once

#include "form_state.h"

#include <cstdint>

namespace dorvelix {

// Books one file: ceil(length / L) cluster units at each of the two lengths.
// Lengths are 64-bit, so files of 2 GiB and more are booked with their true
// length. Raises RuntimeError 6 when a total would overflow (that total keeps
// its value; additions already made stand) and 11 for a zero cluster length.
void BookFileLength(FormState& form, long long length);

// The tags that name the totals in overflow errors.
namespace total {
inline constexpr const char* Folders = "TreeFolders";
inline constexpr const char* Files = "TreeFiles";
inline constexpr const char* Clusters = "TreeClusterCount";
inline constexpr const char* ConvertClusters = "TreeConvertClusterCount";
inline constexpr const char* Entries = "E";
}  // namespace total

}  // namespace dorvelix
