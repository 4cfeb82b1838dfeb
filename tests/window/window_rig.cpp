#include "window_rig.h"

#include <QTest>
#include <QTreeWidgetItemIterator>

namespace dorvelix::testing {

bool WindowRig::doubleClickFolder(const std::string& folder)
{
    FolderListBox* openFolders = form->folderListBox();
    for (QTreeWidgetItemIterator it(openFolders); *it; ++it) {
        if (FolderListBox::pathOf(*it) != folder)
            continue;
        openFolders->scrollToItem(*it);
        const QPoint at = openFolders->visualItemRect(*it).center();
        QTest::mouseClick(openFolders->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(openFolders->viewport(), Qt::LeftButton, {}, at);
        return true;
    }
    return false;
}

}  // namespace dorvelix::testing
