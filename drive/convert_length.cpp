#include "convert_length.h"

#include "value_boxes.h"

namespace dorvelix {

int convertIndexOf(std::int32_t length)
{
    for (size_t i = 0; i < ConvertLengths.size(); ++i) {
        if (ConvertLengths[i] == length)
            return static_cast<int>(i);
    }
    return -1;
}

void clustItem_Click(FormState& form, FormView& view, int index)
{
    view.checkConvertLength(index);
    if (index >= 0 && index < static_cast<int>(ConvertLengths.size()))
        form.ConvertLength = ConvertLengths[static_cast<size_t>(index)];
    showConvertLengthPicked(view, form.ConvertLength);
    form.ConvertEntriesPerCluster = form.ConvertLength / 32;
}

}  // namespace dorvelix
