#include "cluster_accounting.h"

#include "checked.h"
#include "text.h"

#include <algorithm>

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
    return name.size() > 12 && characterCount(name) > 12;
}

long long clusterUnits(long long length, long long clusterLength)
{
    if (length <= 0)
        return 0;
    return length / clusterLength + (length % clusterLength > 0 ? 1 : 0);
}

long long entriesPerCluster(long long clusterLength)
{
    return std::max<long long>(1, clusterLength / 32);
}

}  // namespace dorvelix
