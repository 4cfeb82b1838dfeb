// The rules that turn files, folder tables and folders into cluster units,
// applied at once to the drive's cluster length and the conversion length.
#pragma once

#include "form_state.h"

#include <cstdint>
#include <string_view>

namespace dorvelix {

// Books one file: ceil(length / L) cluster units at each of the two lengths.
// Lengths are 64-bit, so files of 2 GiB and more are booked with their true
// length. Raises RuntimeError 6 when a total would overflow (that total keeps
// its value; additions already made stand) and 11 for a zero cluster length.
void bookFileLength(FormState& form, long long length);

// A name of more than 12 characters cannot be an 8.3 name and needs a
// long-name entry in its folder's table besides its own.
bool needsLongNameEntry(std::string_view name);

// The cluster units a length occupies: ceil(length / clusterLength), in 64
// bits, for any positive cluster length.
long long clusterUnits(long long length, long long clusterLength);

// Adds a file's own length to a sum of lengths, which stops at the largest
// value rather than wrap (sparse files may claim lengths near 2^63).
void addFileBytes(long long& sum, long long length);

// The 32-byte entries one cluster of a folder's table holds, at least one.
long long entriesPerCluster(long long clusterLength);

// Whether booking files whose lengths add up to lengthSum, one by one, is
// certain to raise no error at the present totals: then the order in which
// they are booked cannot be seen.
bool bookingCannotFail(const FormState& form, long long lengthSum, long long files);

// The tags that name the totals in overflow errors.
namespace total {
inline constexpr const char* Folders = "TreeFolders";
inline constexpr const char* Files = "TreeFiles";
inline constexpr const char* Clusters = "TreeClusterCount";
inline constexpr const char* ConvertClusters = "TreeConvertClusterCount";
inline constexpr const char* Entries = "E";
}  // namespace total

}  // namespace dorvelix
