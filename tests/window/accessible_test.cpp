// What a screen reader is told about the main window: every value box by
// its caption, the lamp and the usage graph with their state in words, the
// three lists by name, and the whole text of a box too narrow for it.
#include "window_rig.h"
#include "value_boxes.h"
#include "copy_check_dialog.h"
#include "focus_mark.h"
#include "tool_windows.h"

#include <QMenuBar>
#include <QSet>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;
using dorvelix::testing::WindowRig;

namespace {

QString said(QObject* control, QAccessible::Text what)
{
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
    return a ? a->text(what) : QStringLiteral("<no interface>");
}

}  // namespace

TEST(WindowAccessibility, EveryValueBoxIsNamedByItsCaptionAndPanel)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    const std::pair<Box, const char*> names[] = {
        {Box::DriveText, "ドライブ"},
        {Box::FileSystem, "ファイルシステム"},
        {Box::BytesPerSector, "ﾊﾞｲﾄ/ｾｸﾀ(ﾊﾞｲﾄ)"},
        {Box::SectorsPerCluster, "セクタ／クラスタ"},
        {Box::ClusterLength, "クラスタ長(ﾊﾞｲﾄ)"},
        {Box::TotalClusters, "全クラスタ数"},
        {Box::TotalBytes, "全容量(ﾊﾞｲﾄ)"},
        {Box::UsedClusters, "ドライブ情報 占有クラスタ数"},
        {Box::UsedBytes, "ドライブ情報 占有バイト数"},
        {Box::FreeClusters, "空きクラスタ数"},
        {Box::FreeBytes, "空き容量(ﾊﾞｲﾄ)"},
        {Box::FreeRatio, "空き容量率（％）"},
        {Box::AloneFiles, "ﾌｧｲﾙ数"},
        {Box::AloneClusters, "ホルダー情報 占有クラスタ数"},
        {Box::AloneBytes, "ホルダー情報 占有バイト数"},
        {Box::SearchClusterLength, "含むサブホルダ クラスタ長"},
        {Box::SubtreeFolders, "含むサブホルダ ホルダ数"},
        {Box::SubtreeFiles, "含むサブホルダ ファイル数"},
        {Box::SubtreeClusters, "含むサブホルダ 占有クラスタ数"},
        {Box::SubtreeBytes, "含むサブホルダ 占有バイト数"},
        {Box::ConvertLength, "換算クラスタ長"},
        {Box::ConvertClusters, "換算クラスタ長 占有クラスタ数"},
        {Box::ConvertBytes, "換算クラスタ長 占有バイト数"},
    };
    EXPECT_EQ(std::size(names), f.findChildren<ValueBox*>().size());
    for (const auto& [n, name] : names)
        EXPECT_EQ(said(f.valueBox(n), QAccessible::Name), QString::fromUtf8(name)) << n;

    // In English a figure is said as English says it, its place after it;
    // "Files:" stands twice there, so the folder's own is named as such.
    dorvelix::testing::EnglishTexts english;
    ASSERT_TRUE(english.found());
    WindowRig englishRig;
    const std::pair<Box, const char*> englishNames[] = {
        {Box::ClusterLength, "Bytes/cluster"},
        {Box::UsedClusters, "Used clusters on the drive"},
        {Box::AloneFiles, "Files in the folder"},
        {Box::AloneBytes, "Used bytes in the folder"},
        {Box::SearchClusterLength, "Cluster length, subfolders included"},
        {Box::SubtreeFolders, "Folders, subfolders included"},
        {Box::SubtreeClusters, "Used clusters, subfolders included"},
        {Box::ConvertLength, "Conversion length"},
        {Box::ConvertClusters, "Used clusters at the conversion length"},
        {Box::ConvertBytes, "Used bytes at the conversion length"},
    };
    QSet<QString> heard;
    for (int b = 0; b < BoxCount; ++b)
        heard << said(englishRig.form->valueBox(static_cast<Box>(b)), QAccessible::Name);
    EXPECT_EQ(heard.size(), static_cast<qsizetype>(BoxCount)) << "two figures named alike";
    for (const auto& [n, name] : englishNames)
        EXPECT_EQ(said(englishRig.form->valueBox(n), QAccessible::Name), QString::fromUtf8(name)) << n;
}

TEST(WindowAccessibility, LampGraphAndListsTellWhatTheyAreAndTheirState)
{
    WindowRig rig([](TempTree& t) { t.file("top/f", 10 * 4096); });
    MainWindow& f = *rig.form;
    EXPECT_EQ(said(f.searchLamp(), QAccessible::Name), QString::fromUtf8("検索ランプ"));
    EXPECT_EQ(said(f.searchLamp(), QAccessible::Description), QString::fromUtf8("緑"));
    f.driveChange().modifiersSeen(1);
    EXPECT_EQ(said(f.searchLamp(), QAccessible::Description), QString::fromUtf8("赤"));
    f.driveChange().modifiersSeen(0);
    EXPECT_EQ(said(f.searchLamp(), QAccessible::Description), QString::fromUtf8("緑"));

    // 750 of the 1,000 cluster units used; the search finds 10 of them.
    EXPECT_EQ(said(f.usageGraph(), QAccessible::Name), QString::fromUtf8("ドライブ使用状況"));
    EXPECT_EQ(said(f.usageGraph(), QAccessible::Description),
              QString::fromUtf8("ドライブの使用 75.0 %、検索したホルダ 0.0 %"));
    f.folderListBox()->open(f.folderListBox()->openFolderItem());
    rig.settle();
    EXPECT_EQ(said(f.usageGraph(), QAccessible::Description),
              QString::fromUtf8("ドライブの使用 75.0 %、検索したホルダ 1.0 %"));

    EXPECT_EQ(said(f.driveListBox(), QAccessible::Name), QString::fromUtf8("ドライブ"));
    EXPECT_EQ(said(f.folderListBox(), QAccessible::Name), QString::fromUtf8("ホルダ"));
    EXPECT_EQ(said(f.fileListBox(), QAccessible::Name), QString::fromUtf8("ファイル"));
    // The folder list's children are its entries alone, without a header row.
    QAccessibleInterface* openFolders = QAccessible::queryAccessibleInterface(f.folderListBox());
    ASSERT_NE(openFolders, nullptr);
    int entries = 0;
    for (QTreeWidgetItemIterator it(f.folderListBox()); *it; ++it)
        ++entries;
    EXPECT_EQ(openFolders->childCount(), entries);
    for (int i = 0; i < openFolders->childCount(); ++i)
        EXPECT_NE(openFolders->child(i)->role(), QAccessible::ColumnHeader) << i;
}

TEST(WindowAccessibility, ABoxTooNarrowForItsTextShowsAndDescribesItWhole)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.show();
    const QString longText = QStringLiteral("/media/user/USB-STICK-WITH-A-LONG-LABEL [sdb1]");
    f.setBox(Box::DriveText, longText);
    EXPECT_FALSE(f.valueBox(Box::DriveText)->textFits());
    EXPECT_EQ(f.valueBox(Box::DriveText)->toolTip(), longText);
    EXPECT_EQ(said(f.valueBox(Box::DriveText), QAccessible::Description), longText);
    f.setBox(Box::DriveText, QStringLiteral("/"));
    EXPECT_TRUE(f.valueBox(Box::DriveText)->textFits());
    EXPECT_EQ(said(f.valueBox(Box::DriveText), QAccessible::Description), QString());
    EXPECT_EQ(f.valueBox(Box::DriveText)->toolTip(), QString());
    // In a box wide enough the long text fits and needs no description.
    f.valueBox(Box::DriveText)->resize(f.valueBox(Box::DriveText)->fontMetrics().horizontalAdvance(longText) + 40, f.valueBox(Box::DriveText)->height());
    f.setBox(Box::DriveText, longText);
    EXPECT_TRUE(f.valueBox(Box::DriveText)->textFits());
    EXPECT_EQ(said(f.valueBox(Box::DriveText), QAccessible::Description), QString());
}

TEST(WindowAccessibility, PanelsAreNamedAndTheFocusIsSeen)
{
    WindowRig rig([](const TempTree& t) { t.file("top/a.txt", 10); });
    MainWindow& f = *rig.form;
    f.show();
    // The panels are groups named by their captions.
    for (const auto& [panel, caption] : {std::pair{f.drivePanel(), "ドライブ情報"}, std::pair{f.folderPanel(), "ホルダー情報"}}) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(panel);
        EXPECT_EQ(a->role(), QAccessible::Grouping);
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(caption));
    }

    // The window opens with the drive list's focus.
    QApplication::setActiveWindow(&f);
    EXPECT_EQ(QApplication::focusWidget(), f.driveListBox());
    // Tab goes from the lists through every figure in reading order, the
    // drive panel's and then the folder panel's, and leaves them as they
    // were; a border moves from control to control, each press drawn anew.
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    QStringList figures;
    for (int b = 0; b < BoxCount; ++b)
        figures << f.valueBox(static_cast<Box>(b))->text();
    f.folderListBox()->setFocus();
    QImage previous = f.grab().toImage();
    std::vector<QWidget*> expected{f.fileListBox(), f.driveListBox()};
    for (QWidget* panel : {f.drivePanel(), f.folderPanel()}) {
        std::vector<QWidget*> boxes;
        for (int b = 0; b < BoxCount; ++b) {
            QWidget* box = f.valueBox(static_cast<Box>(b));
            if (box->parentWidget() == panel && box->isVisible())
                boxes.push_back(box);
        }
        // Reading order: a box wholly below another comes after it; boxes
        // side by side (a section's length beside its first figure) go
        // from the left.
        std::sort(boxes.begin(), boxes.end(), [](QWidget* a, QWidget* b) {
            const bool sideBySide = a->y() < b->y() + b->height() / 2 && b->y() < a->y() + a->height() / 2;
            return sideBySide ? a->x() < b->x() : a->y() < b->y();
        });
        expected.insert(expected.end(), boxes.begin(), boxes.end());
    }
    expected.push_back(f.folderListBox());
    // The cluster lengths are read before the figures beside them.
    const auto reached = [&](Box box) { return std::find(expected.begin(), expected.end(), f.valueBox(box)) - expected.begin(); };
    EXPECT_LT(reached(Box::SearchClusterLength), reached(Box::SubtreeFolders));
    EXPECT_LT(reached(Box::ConvertLength), reached(Box::ConvertClusters));
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), next);
        EXPECT_EQ(f.focusMark()->marked(), next);
        EXPECT_TRUE(f.focusMark()->isVisible());
        const QRect control(next->mapTo(f.centralWidget(), QPoint(0, 0)), next->size());
        EXPECT_TRUE(f.focusMark()->geometry().contains(control));
        EXPECT_FALSE(control.contains(f.focusMark()->geometry()));
        const QImage now = f.grab().toImage();
        EXPECT_NE(now, previous) << next->objectName().toStdString();
        previous = now;
    }
    for (int b = 0; b < BoxCount; ++b)
        EXPECT_EQ(f.valueBox(static_cast<Box>(b))->text(), figures[b]) << b;
    // A figure passed shows its text from the start again, a cut one too.
    for (QWidget* passed : expected) {
        if (auto* box = qobject_cast<QLineEdit*>(passed))
            EXPECT_EQ(box->cursorPosition(), 0) << box->objectName().toStdString();
    }
    // F10 opens the menu bar from a figure.
    f.valueBox(Box::SubtreeFiles)->setFocus();
    QTest::keyClick(f.valueBox(Box::SubtreeFiles), Qt::Key_F10);
    EXPECT_EQ(f.menuBar()->activeAction(), f.menuBar()->actions().first());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    // Another window has the focus: the border goes.
    f.tools()->showCopyCheck();
    QApplication::setActiveWindow(f.tools()->copyCheck());
    EXPECT_FALSE(f.focusMark()->isVisible());
}
