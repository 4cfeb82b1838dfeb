#include "cluster_accounting.h"

#include "checked.h"
#include "text.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace dorvelix {

void bookFileLength(FormState& form, long long length)
{
    if (length <= 0)
        return;
    addChecked(form.treeClusterCount, intDiv(length, form.clusterLength), total::Clusters);
    if (intMod(length, form.clusterLength) > 0)
        addChecked(form.treeClusterCount, 1, total::Clusters);
    addChecked(form.treeConvertClusterCount, intDiv(length, form.convertLength), total::ConvertClusters);
    if (intMod(length, form.convertLength) > 0)
        addChecked(form.treeConvertClusterCount, 1, total::ConvertClusters);
}

bool needsLongNameEntry(std::string_view name)
{
    // A character takes at most four bytes, so more than 48 are more than 12.
    return name.size() > 12 && (name.size() > 48 || characterCount(name) > 12);
}

long long clusterUnits(long long length, long long clusterLength)
{
    if (length <= 0)
        return 0;
    return length / clusterLength + (length % clusterLength > 0 ? 1 : 0);
}

void addFileBytes(long long& sum, long long length)
{
    if (length > 0 && __builtin_add_overflow(sum, length, &sum))
        sum = std::numeric_limits<long long>::max();
}

long long entriesPerCluster(long long clusterLength)
{
    return clusterLength / TableEntryBytes;
}

long long tableClustersBeyondFirst(long long entries, long long perCluster)
{
    return intDiv(entries, perCluster);
}

TwoLengths::TwoLengths(long long driveLength, long long convertLength)
    : drive_(driveLength),
      convert_(convertLength),
      drivePerCluster_(std::max<long long>(1, entriesPerCluster(driveLength))),
      convertPerCluster_(std::max<long long>(1, entriesPerCluster(convertLength)))
{
}

bool bookingCannotFail(const FormState& form, long long lengthSum, long long files)
{
    if (form.clusterLength <= 0 || form.convertLength <= 0 || lengthSum < 0 || files < 0)
        return false;
    // Each file adds at most its length's quotient and one more.
    const auto fits = [&](std::int32_t total, std::int32_t length) {
        const long long room = std::numeric_limits<std::int32_t>::max() - static_cast<long long>(total) - files;
        return room >= 0 && lengthSum / length <= room;
    };
    return fits(form.treeClusterCount, form.clusterLength) && fits(form.treeConvertClusterCount, form.convertLength);
}

}  // namespace dorvelix
