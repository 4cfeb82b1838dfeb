#include "accessible_names.h"

#include "number_format.h"
#include "ui_text.h"
#include "window_texts.h"

namespace dorvelix {

namespace {

bool inBothPanels(const QString& caption)
{
    bool drive = false;
    bool folder = false;
    for (const PanelCaption& row : PanelCaptions) {
        if (!row.title && bareCaption(row.text) == caption)
            (row.folderPanel ? folder : drive) = true;
    }
    return drive && folder;
}

QString percentText(double ratio)
{
    return formatPercent(ratio).trimmed();
}

}  // namespace

QString bareCaption(const char* caption)
{
    QString text = uiText(caption).trimmed();
    while (text.endsWith(u'：') || text.endsWith(u':'))
        text = text.chopped(1).trimmed();
    return text;
}

QString valueBoxName(Box box)
{
    QString section;  // the folder panel's section title the rows stand under
    for (const PanelCaption& row : PanelCaptions) {
        const QString caption = bareCaption(row.text);
        if (row.title && row.folderPanel)
            section = caption;
        if (row.box != box)
            continue;
        if (row.title)
            return caption;
        if (!section.isEmpty())
            return section + u' ' + caption;
        if (inBothPanels(caption))
            return uiText(row.folderPanel ? FolderPanelCaption : DrivePanelCaption) + u' ' + caption;
        return caption;
    }
    if (box == Box::FileSystem)
        return uiText(texts::FileSystemName);
    return {};
}

QString lampDescription(bool red)
{
    return uiText(red ? texts::LampOff : texts::LampReady);
}

QString usageGraphDescription(const FormState& form)
{
    const double total = static_cast<double>(form.totalClusterCount);
    if (total <= 0)
        return uiText(texts::GraphUnknown);
    const double used = (total - static_cast<double>(form.freeClusterCount)) / total;
    const double searched = static_cast<double>(form.treeClusterCount) / total;
    return uiText(texts::GraphDescription).arg(percentText(used), percentText(searched));
}

}  // namespace dorvelix
