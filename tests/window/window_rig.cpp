#include "window_rig.h"

#include <QTest>
#include <QTreeWidgetItemIterator>

namespace dorvelix::testing {

bool WindowRig::doubleClickFolder(const std::string& folder)
{
    FolderListBox* dir1 = form->Dir1();
    for (QTreeWidgetItemIterator it(dir1); *it; ++it) {
        if (FolderListBox::pathOf(*it) != folder)
            continue;
        dir1->scrollToItem(*it);
        const QPoint at = dir1->visualItemRect(*it).center();
        QTest::mouseClick(dir1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(dir1->viewport(), Qt::LeftButton, {}, at);
        return true;
    }
    return false;
}

}  // namespace dorvelix::testing
