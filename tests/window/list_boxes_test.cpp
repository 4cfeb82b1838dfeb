// The visible lists: a double-click in the folder list opens a folder and searches it,
// the file list follows the search, failures leave the lists where they were, and
// the key and mouse events carry the modifier mask.
#include "modifier_mask.h"
#include "runtime_error.h"
#include "twips.h"
#include "window_rig.h"
#include "value_boxes.h"

#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;
using dorvelix::testing::WindowRig;

namespace {

// top/one/two/a.txt holds one byte; top/other is empty.
void smallTree(const TempTree& t)
{
    t.file("top/one/two/a.txt", 1);
    t.folder("top/other");
}

QStringList shownFiles(const FileListBox* list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->text(i);
    return names;
}

}  // namespace

TEST(WindowFolderList, DoubleClickOpensAndSearches)
{
    WindowRig rig(smallTree);
    MainWindow& f = *rig.form;
    f.show();
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/one"));

    EXPECT_EQ(f.folderListBox()->list().path(), rig.top() + "/one");
    EXPECT_EQ(FolderListBox::pathOf(f.folderListBox()->openFolderItem()), rig.top() + "/one");
    ASSERT_EQ(f.folderListBox()->openFolderItem()->childCount(), 1);
    EXPECT_EQ(f.folderListBox()->openFolderItem()->child(0)->text(0), QStringLiteral("two"));
    // One subfolder holding one 1-byte file, 4,096-byte clusters.
    EXPECT_EQ(rig.box(Box::AloneFiles), QStringLiteral("0"));
    EXPECT_EQ(rig.box(Box::AloneClusters), QStringLiteral(" 0 "));
    EXPECT_EQ(rig.box(Box::AloneBytes), QStringLiteral(" 0 "));
    EXPECT_EQ(rig.box(Box::SubtreeFolders), QStringLiteral(" 1 "));
    EXPECT_EQ(rig.box(Box::SubtreeFiles), QStringLiteral(" 1 "));
    EXPECT_EQ(rig.box(Box::SubtreeClusters), QStringLiteral(" 2 "));
    EXPECT_EQ(rig.box(Box::SubtreeBytes), QStringLiteral(" 8,192 "));
    EXPECT_EQ(rig.box(Box::ConvertClusters), QStringLiteral(" 2 "));
    EXPECT_EQ(rig.box(Box::ConvertBytes), QStringLiteral(" 8,192 "));
    EXPECT_TRUE(rig.messages.isEmpty());
    EXPECT_FALSE(f.services().busyPointerShown());
    EXPECT_EQ(f.driveFolders().currentFolder(f.driveListBox()->drive()), rig.top() + "/one");

    // Down once more: the file list now lists the folder's file.
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/one/two"));
    EXPECT_EQ(shownFiles(f.fileListBox()), QStringList({"a.txt"}));
    EXPECT_EQ(rig.box(Box::AloneFiles), QStringLiteral("1"));
    EXPECT_EQ(rig.box(Box::SubtreeClusters), QStringLiteral(" 1 "));

    // And up again through an ancestor, which is searched as well.
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top());
    EXPECT_EQ(rig.box(Box::SubtreeFolders), QStringLiteral(" 3 "));
    EXPECT_TRUE(shownFiles(f.fileListBox()).isEmpty());
}

// A folder of more files than are sorted at once: the list shows blank rows
// while the names are sorted on another thread, then the names in list order.
TEST(WindowFileList, AWideFolderIsSortedApartAndThenShown)
{
    WindowRig rig([](const TempTree& t) {
        for (int i = 6000; i > 0; --i)
            t.file("top/wide/f" + std::to_string(i), 0);
    });
    MainWindow& f = *rig.form;
    f.show();
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/wide"));
    FileListBox* openFiles = f.fileListBox();
    ASSERT_EQ(openFiles->count(), 6000);
    for (int i = 0; i < 500 && openFiles->text(0) != u"f1"; ++i)
        QTest::qWait(10);
    EXPECT_EQ(openFiles->text(0), QStringLiteral("f1"));
    EXPECT_EQ(openFiles->text(1), QStringLiteral("f10"));
    EXPECT_EQ(openFiles->text(5999), QStringLiteral("f999"));
}

TEST(WindowFolderList, PathAssignedFromOutsideIsShown)
{
    WindowRig rig(smallTree);
    MainWindow& f = *rig.form;
    f.session().openFolder(rig.top() + "/other");
    rig.settle();
    EXPECT_EQ(FolderListBox::pathOf(f.folderListBox()->openFolderItem()), rig.top() + "/other");
    EXPECT_EQ(f.folderListBox()->openFolderItem()->childCount(), 0);
    EXPECT_EQ(rig.box(Box::SubtreeFolders), QStringLiteral(" 0 "));
}

TEST(WindowFolderList, VanishedFolderIsReportedAndNothingMoves)
{
    WindowRig rig(smallTree);
    MainWindow& f = *rig.form;
    f.show();
    std::filesystem::remove(rig.top() + "/other");
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/other"));
    ASSERT_EQ(rig.messages.size(), 1);
    EXPECT_TRUE(rig.messages[0].startsWith(errorDescription(err::PathNotFound)));
    EXPECT_TRUE(rig.messages[0].endsWith(QString::fromStdString(rig.top() + "/other")));
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top());
    EXPECT_EQ(FolderListBox::pathOf(f.folderListBox()->openFolderItem()), rig.top());
    EXPECT_EQ(rig.box(Box::SubtreeFolders), QStringLiteral("- "));
}

TEST(WindowFolderList, F5ReadsEverythingAgainAndSearchesTheOpenFolder)
{
    WindowRig rig(smallTree);
    MainWindow& f = *rig.form;
    f.show();
    EXPECT_EQ(f.refreshEntry()->text(), QString::fromUtf8("最新の情報に更新(&R)"));
    EXPECT_EQ(f.refreshEntry()->shortcut(), QKeySequence(Qt::Key_F5));
    f.pickConvertLength(2);  // 512 bytes, which F5 keeps

    // A folder deleted meanwhile leaves the folder list; the search counts what is there.
    std::filesystem::remove(rig.top() + "/other");
    rig.tree.file("top/new.txt", 5000);
    f.activateWindow();
    if (QTest::qWaitForWindowActive(&f))
        QTest::keyClick(&f, Qt::Key_F5);
    else
        f.refreshEntry()->trigger();
    rig.settle();
    EXPECT_TRUE(rig.messages.isEmpty());
    QStringList folders;
    for (QTreeWidgetItemIterator it(f.folderListBox()); *it; ++it)
        folders << (*it)->text(0);
    EXPECT_FALSE(folders.contains(QStringLiteral("other")));
    EXPECT_TRUE(folders.contains(QStringLiteral("one")));
    EXPECT_EQ(shownFiles(f.fileListBox()), QStringList{QStringLiteral("new.txt")});
    EXPECT_EQ(rig.box(Box::SubtreeFolders), QStringLiteral(" 2 "));  // one and two
    EXPECT_TRUE(f.convertLengthEntry(2)->isChecked());
    EXPECT_EQ(f.form().convertLength, 512);

    // The open folder itself gone: the nearest folder above it opens.
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/one"));
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/one/two"));
    std::filesystem::remove_all(rig.top() + "/one");
    f.refreshEntry()->trigger();
    rig.settle();
    EXPECT_TRUE(rig.messages.isEmpty());
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top());
    EXPECT_EQ(rig.box(Box::SubtreeFolders), QStringLiteral(" 0 "));
}

TEST(WindowFolderList, RequestsDuringASearchAreIgnored)
{
    WindowRig rig(smallTree);
    MainWindow& f = *rig.form;
    f.show();
    const QString driveBefore = f.driveListBox()->drive();
    // While the first folder is opened and searched, another folder and
    // another drive are asked for.
    f.folderListBox()->openPath(rig.top() + "/one");
    const bool searching = f.session().isSearching();
    f.folderListBox()->openPath(rig.top() + "/one/two");
    f.refreshEntry()->trigger();
    if (f.driveListBox()->count() > 1)
        f.driveListBox()->setCurrentIndex((f.driveListBox()->currentIndex() + 1) % f.driveListBox()->count());
    rig.settle();
    EXPECT_TRUE(searching);
    EXPECT_EQ(f.folderListBox()->list().path(), rig.top() + "/one");
    EXPECT_EQ(f.driveListBox()->drive(), driveBefore);
    EXPECT_EQ(rig.box(Box::SubtreeClusters), QStringLiteral(" 2 "));
}

TEST(WindowFileList, SelectionAndDoubleClick)
{
    WindowRig rig([](const TempTree& t) {
        t.file("top/b.txt", 3);
        t.file("top/a.txt", 2);
    });
    MainWindow& f = *rig.form;
    f.show();
    FileListBox* openFiles = f.fileListBox();
    EXPECT_EQ(openFiles->list().listIndex, -1);
    QSignalSpy spy(openFiles, &FileListBox::dblClick);
    const QPoint at = openFiles->visualRect(openFiles->model()->index(1, 0)).center();
    QTest::mouseClick(openFiles->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(openFiles->list().listIndex, 1);
    QTest::mouseDClick(openFiles->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(openFiles->list().list(openFiles->list().listIndex), "b.txt");
    // A double-click below the last entry is no double-click on a file.
    QTest::mouseDClick(openFiles->viewport(), Qt::LeftButton, {}, QPoint(5, openFiles->viewport()->height() - 2));
    EXPECT_EQ(spy.count(), 1);
}

TEST(WindowModifiers, MaskOfKeysAndButtons)
{
    const auto mask = [](QEvent::Type type, int key, Qt::KeyboardModifiers held) {
        const QKeyEvent e(type, key, held);
        return keyModifierMask(e);
    };
    EXPECT_EQ(mask(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier), 0);
    EXPECT_EQ(mask(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier), 6);
    EXPECT_EQ(mask(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier), 7);
    // A modifier key's own press carries it, its release no longer does,
    // whichever way the window system reported it.
    EXPECT_EQ(mask(QEvent::KeyPress, Qt::Key_Shift, Qt::NoModifier), 1);
    EXPECT_EQ(mask(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier), 1);
    EXPECT_EQ(mask(QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier), 0);
    EXPECT_EQ(mask(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier | Qt::ShiftModifier), 1);
    EXPECT_EQ(mask(QEvent::KeyPress, Qt::Key_Alt, Qt::NoModifier), 4);
    EXPECT_EQ(mouseButtonNumber(Qt::LeftButton), 1);
    EXPECT_EQ(mouseButtonNumber(Qt::RightButton), 2);
    EXPECT_EQ(mouseButtonNumber(Qt::MiddleButton), 4);
}

TEST(WindowModifiers, ListsRaiseTheirEvents)
{
    WindowRig rig(smallTree);
    MainWindow& f = *rig.form;
    f.show();
    QSignalSpy driveDown(f.driveListBox(), &DriveListBox::keyDown);
    QSignalSpy driveUp(f.driveListBox(), &DriveListBox::keyUp);
    QSignalSpy dirDown(f.folderListBox(), &FolderListBox::keyDown);
    QSignalSpy dirUp(f.folderListBox(), &FolderListBox::keyUp);
    QSignalSpy mouse(f.folderListBox(), &FolderListBox::mouseDown);

    // Key events as the window system delivers them.
    const auto key = [](QWidget* to, QEvent::Type type, int code, Qt::KeyboardModifiers held) {
        QKeyEvent e(type, code, held);
        QApplication::sendEvent(to, &e);
    };
    key(f.driveListBox(), QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    key(f.driveListBox(), QEvent::KeyRelease, Qt::Key_Shift, Qt::ShiftModifier);
    ASSERT_EQ(driveDown.count(), 1);
    EXPECT_EQ(driveDown[0][1].toInt(), 1);
    ASSERT_EQ(driveUp.count(), 1);
    EXPECT_EQ(driveUp[0][1].toInt(), 0);

    key(f.folderListBox(), QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    key(f.folderListBox(), QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    ASSERT_EQ(dirDown.count(), 1);
    EXPECT_EQ(dirDown[0][1].toInt(), 2);
    EXPECT_EQ(dirUp[0][1].toInt(), 0);

    QTest::mousePress(f.folderListBox()->viewport(), Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, QPoint(4, 6));
    ASSERT_EQ(mouse.count(), 1);
    EXPECT_EQ(mouse[0][0].toInt(), 2);
    EXPECT_EQ(mouse[0][1].toInt(), 6);
    const double dpi = logicalDpiOf(f.folderListBox());
    EXPECT_EQ(mouse[0][2].toInt(), pixelsToTwips(4, dpi));
    EXPECT_EQ(mouse[0][3].toInt(), pixelsToTwips(6, dpi));
}
