#include "convert_length.h"

#include "number_format.h"

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
    view.setBoxText(37, formatNumber(static_cast<long long>(form.ConvertLength)));
    view.setBoxText(33, QStringLiteral("0"));
    view.setBoxText(34, QStringLiteral("0"));
    form.ConvertEntriesPerCluster = form.ConvertLength / 32;
}

}  // namespace dorvelix
