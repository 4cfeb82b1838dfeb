// The conversion cluster length menu, and quitting.
#include "window_rig.h"
#include "value_boxes.h"

#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;
using dorvelix::testing::WindowRig;

namespace {

int checkedEntry(MainWindow& f)
{
    int found = -1;
    for (int i = 0; i < 9; ++i) {
        if (f.convertLengthEntry(i)->isChecked()) {
            if (found != -1)
                return -2;  // more than one
            found = i;
        }
    }
    return found;
}

}  // namespace

TEST(WindowConvertMenu, ChoiceStoresMarksShowsAndClears)
{
    WindowRig rig([](const TempTree& t) { t.file("top/one/two/a.txt", 1); });
    MainWindow& f = *rig.form;
    f.show();
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/one"));
    EXPECT_EQ(rig.box(Box::ConvertClusters), QStringLiteral(" 2 "));

    f.convertLengthEntry(3)->trigger();
    EXPECT_EQ(f.form().convertLength, 1024);
    EXPECT_EQ(f.form().convertEntriesPerCluster, 32);
    EXPECT_EQ(checkedEntry(f), 3);
    EXPECT_EQ(rig.box(Box::ConvertLength), QStringLiteral(" 1,024 "));
    EXPECT_EQ(rig.box(Box::ConvertClusters), QStringLiteral("0"));
    EXPECT_EQ(rig.box(Box::ConvertBytes), QStringLiteral("0"));
    // The other rows and the search totals stay.
    EXPECT_EQ(rig.box(Box::SubtreeClusters), QStringLiteral(" 2 "));
    EXPECT_EQ(f.form().treeConvertClusterCount, 2);

    // The entry already checked, chosen again: still checked, cleared again.
    f.valueBox(Box::ConvertClusters)->setText(QStringLiteral("x"));
    f.convertLengthEntry(3)->trigger();
    EXPECT_EQ(checkedEntry(f), 3);
    EXPECT_EQ(rig.box(Box::ConvertClusters), QStringLiteral("0"));

    // The next search counts at the new length; the drive's rows are unchanged.
    ASSERT_TRUE(rig.doubleClickFolder(rig.top() + "/one"));
    EXPECT_EQ(rig.box(Box::SubtreeClusters), QStringLiteral(" 2 "));
    EXPECT_EQ(rig.box(Box::SubtreeBytes), QStringLiteral(" 8,192 "));
    EXPECT_EQ(rig.box(Box::ConvertClusters), QStringLiteral(" 2 "));
    EXPECT_EQ(rig.box(Box::ConvertBytes), QStringLiteral(" 2,048 "));

    f.convertLengthEntry(8)->trigger();
    EXPECT_EQ(f.form().convertLength, 32768);
    EXPECT_EQ(f.form().convertEntriesPerCluster, 1024);
    EXPECT_EQ(rig.box(Box::ConvertLength), QStringLiteral(" 32,768 "));
    EXPECT_EQ(checkedEntry(f), 8);

    // A drive query puts the drive's own length back.
    f.showDriveInfo(f.driveListBox()->drive());
    EXPECT_EQ(f.form().convertLength, 4096);
    EXPECT_EQ(checkedEntry(f), 5);
    EXPECT_EQ(rig.box(Box::ConvertLength), QStringLiteral(" 4,096 "));
}

TEST(WindowConvertMenu, CheckMarkHandling)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.markConvertLength(0);
    EXPECT_EQ(checkedEntry(f), 0);
    f.markConvertLength(7);
    EXPECT_EQ(checkedEntry(f), 7);
    // Only the checked entry shows a check box at all.
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(f.convertLengthEntry(i)->isCheckable(), i == 7);
}

TEST(WindowQuit, ClosingEndsTheProgramWithEveryWindow)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.show();
    QDialog other;
    other.show();
    bool ended = false;
    QTimer::singleShot(0, &f, [&] { f.close(); });
    // Should the loop not end, this one ends it and the case fails.
    QTimer::singleShot(20000, &f, [&] { QCoreApplication::exit(3); });
    ended = QApplication::exec() == 0;
    EXPECT_TRUE(ended);
    EXPECT_FALSE(other.isVisible());
    EXPECT_FALSE(f.isVisible());
}

TEST(WindowQuit, QuitEntryEndsTheProgram)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.show();
    QTimer::singleShot(0, &f, [&] { f.quitEntry(0)->trigger(); });
    QTimer::singleShot(20000, &f, [&] { QCoreApplication::exit(3); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(f.isVisible());
}
