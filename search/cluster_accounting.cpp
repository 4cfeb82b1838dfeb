#include "cluster_accounting.h"

#include "checked.h"
#include "text.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace dorvelix {

void BookFileLength(FormState& form, long long length)
{
    if (length <= 0)
        return;
    addChecked(form.TreeClusterCount, intDiv(length, form.ClusterLength), total::Clusters);
    if (intMod(length, form.ClusterLength) > 0)
        addChecked(form.TreeClusterCount, 1, total::Clusters);
    addChecked(form.TreeConvertClusterCount, intDiv(length, form.ConvertLength), total::ConvertClusters);
    if (intMod(length, form.ConvertLength) > 0)
        addChecked(form.TreeConvertClusterCount, 1, total::ConvertClusters);
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
    return std::max<long long>(1, clusterLength / 32);
}

bool BookingCannotFail(const FormState& form, long long lengthSum, long long files)
{
    if (form.ClusterLength <= 0 || form.ConvertLength <= 0 || lengthSum < 0 || files < 0)
        return false;
    // Each file adds at most its length's quotient and one more.
    const auto fits = [&](std::int32_t total, std::int32_t length) {
        const long long room = std::numeric_limits<std::int32_t>::max() - static_cast<long long>(total) - files;
        return room >= 0 && lengthSum / length <= room;
    };
    return fits(form.TreeClusterCount, form.ClusterLength) && fits(form.TreeConvertClusterCount, form.ConvertLength);
}

}  // namespace dorvelix
