#include "accessible_names.h"

#include "number_format.h"
#include "ui_text.h"
#include "window_texts.h"

#include <QRegularExpression>
#include <optional>

namespace dorvelix {

namespace {

// A caption that stands on more than one row of the panels, in the
// window's language ("Files:" stands twice in English, "ﾌｧｲﾙ数" and
// "ファイル数" once each in Japanese).
bool standsTwice(const QString& caption)
{
    int rows = 0;
    for (const PanelCaption& row : PanelCaptions) {
        if (!row.title && bareCaption(row.text) == caption)
            ++rows;
    }
    return rows > 1;
}

// The pattern naming a row under the folder panel's section titled by the
// box `section`: the subtree's rows, or the rows at the conversion length.
const char* sectionPattern(Box section)
{
    return section == Box::ConvertLength ? texts::ConvertedFigureName : texts::SubtreeFigureName;
}

// The length box beside a section title: the subtree's cluster length, and
// the conversion length named as its menu is ("換算クラスタ長(&C)").
QString titleBoxName(Box box)
{
    if (box != Box::ConvertLength)
        return uiText(texts::SubtreeFigureName).arg(uiText(texts::ClusterLengthName));
    QString menu = uiText(texts::ConvertMenu);
    static const QRegularExpression mnemonic(QStringLiteral("\\(&.\\)$"));
    return menu.remove(mnemonic).remove(u'&').trimmed();
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
    std::optional<Box> section;  // the box of the folder panel's section title the rows stand under
    for (const PanelCaption& row : PanelCaptions) {
        if (row.title && row.folderPanel)
            section = row.box;
        if (row.box != box)
            continue;
        if (row.title)
            return row.folderPanel ? titleBoxName(box) : bareCaption(row.text);
        const QString caption = bareCaption(row.text);
        if (row.folderPanel && section)
            return uiText(sectionPattern(*section)).arg(caption);
        if (standsTwice(caption))
            return uiText(row.folderPanel ? texts::FolderFigureName : texts::DriveFigureName).arg(caption);
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
