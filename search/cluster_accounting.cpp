#include "cluster_accounting.h"

#include "checked.h"

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

}  // namespace dorvelix
