#include "convert_length.h"

#include "cluster_accounting.h"

namespace dorvelix {

int convertIndexOf(std::int32_t length)
{
    for (size_t i = 0; i < ConvertLengths.size(); ++i) {
        if (ConvertLengths[i] == length)
            return static_cast<int>(i);
    }
    return -1;
}

void pickConvertLength(FormState& form, FormView& view, int index)
{
    view.checkConvertLength(index);
    if (index >= 0 && index < static_cast<int>(ConvertLengths.size()))
        form.convertLength = ConvertLengths[static_cast<size_t>(index)];
    view.convertLengthPicked(form.convertLength);
    form.convertEntriesPerCluster = static_cast<std::int32_t>(entriesPerCluster(form.convertLength));
}

}  // namespace dorvelix
