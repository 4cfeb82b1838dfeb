#include "window_rig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTreeWidgetItemIterator>

namespace dorvelix::testing {

void settleSearch(MainWindow& window, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (window.session().isSearching() && clock.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

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
        settleSearch(*form);
        return true;
    }
    return false;
}

}  // namespace dorvelix::testing
