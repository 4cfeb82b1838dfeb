// The counting rules every count of a tree follows, written once for the
// window's search, the complete count and what is counted from them: how
// files, folder tables and folders turn into cluster units, applied at once
// to the drive's cluster length and to the conversion length.
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

// A folder's table holds 32-byte entries: "." and "..", one for each
// subfolder, and one for each file with a second one where its name needs a
// long-name entry. Its first cluster is booked as the folder's own (a
// drive's root folder has none), the clusters beyond it by its entries.
inline constexpr long long TableEntryBytes = 32;
inline constexpr long long DotEntries = 2;
inline int fileEntries(std::string_view name)
{
    return needsLongNameEntry(name) ? 2 : 1;
}

// The entries one cluster of a folder's table holds: none for a cluster
// shorter than an entry.
long long entriesPerCluster(long long clusterLength);

// The clusters a table of `entries` takes beyond its first, where a cluster
// holds perCluster entries: RuntimeError 11 where it holds none, which the
// window's search reports as it reports every failed step.
long long tableClustersBeyondFirst(long long entries, long long perCluster);

// Cluster units at the two lengths a count books at.
struct ClusterPair {
    long long atDrive = 0;
    long long atConvert = 0;
    ClusterPair& operator+=(const ClusterPair& o)
    {
        atDrive += o.atDrive;
        atConvert += o.atConvert;
        return *this;
    }
};

// The first cluster of each of `folders` folders' tables, at both lengths.
// A subfolder's row (CountedTreeBuilder::rowGrownBy) counts them the same
// way, one a folder.
inline ClusterPair firstTableClusters(long long folders)
{
    return {folders, folders};
}

// The rules at the drive's length and the conversion length, for the 64-bit
// totals of a count that tells no error: both lengths positive.
class TwoLengths {
public:
    TwoLengths(long long driveLength, long long convertLength);
    long long driveLength() const { return drive_; }
    long long convertLength() const { return convert_; }
    // A file's cluster units.
    ClusterPair file(long long length) const
    {
        return {clusterUnits(length, drive_), clusterUnits(length, convert_)};
    }
    // A folder table's clusters beyond its first. A cluster shorter than an
    // entry is taken to hold one, the one clamp of the rules: a total that
    // tells no error cannot divide by none.
    ClusterPair tableBeyondFirst(long long entries) const
    {
        return {entries / drivePerCluster_, entries / convertPerCluster_};
    }

private:
    long long drive_;
    long long convert_;
    long long drivePerCluster_;
    long long convertPerCluster_;
};

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
