// The main window as it opens: its controls, captions, faces and menus, and
// the state start-up leaves it in.
#include "mount_rig.h"
#include "twips.h"
#include "window_rig.h"
#include "version_texts.h"
#include "value_boxes.h"

#include <QElapsedTimer>

#include <QFontInfo>
#include <QMenuBar>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;
using dorvelix::testing::WindowRig;

namespace {

const std::map<int, const char*> Captions{
    {1, "ドライブ ："},
    {2, "ﾊﾞｲﾄ/ｾｸﾀ(ﾊﾞｲﾄ) ："},
    {3, "セクタ／クラスタ ："},
    {9, "クラスタ長(ﾊﾞｲﾄ) ："},
    {4, "全クラスタ数 ： "},
    {6, "全容量(ﾊﾞｲﾄ) ："},
    {19, "占有クラスタ数 ："},
    {20, "占有バイト数 ："},
    {5, "空きクラスタ数 ："},
    {7, "空き容量(ﾊﾞｲﾄ) ："},
    {8, "空き容量率（％）："},
    {23, "ドライブ使用状況"},
    {15, "ﾌｧｲﾙ数 ："},
    {14, "占有クラスタ数 ："},
    {16, "占有バイト数 ："},
    {22, "含むサブホルダ"},
    {10, "ホルダ数 ："},
    {11, "ファイル数 ："},
    {12, "占有クラスタ数 ："},
    {13, "占有バイト数 ："},
    {21, "換算クラスタ長"},
    {17, "占有クラスタ数 ："},
    {18, "占有バイト数 ："},
    {24, "0 %"},
    {25, "50 %"},
    {26, "100 %"},
};

const int DrivePanelLabels[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 19, 20, 23, 24, 25, 26};
const int DrivePanelBoxes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 13, 35, 36};
const int FolderPanelLabels[] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 21, 22};
const int FolderPanelBoxes[] = {10, 11, 12, 28, 29, 30, 31, 32, 33, 34, 37};
const Box FolderResultBoxes[] = {Box::SubtreeFolders, Box::SubtreeFiles, Box::SubtreeClusters, Box::SubtreeBytes, Box::AloneClusters, Box::AloneFiles, Box::AloneBytes, Box::ConvertClusters, Box::ConvertBytes};

QColor textColor(const QWidget* w)
{
    return w->palette().color(QPalette::WindowText);
}

bool checked(const QAction* a)
{
    return a->isCheckable() && a->isChecked();
}

}  // namespace

TEST(WindowControls, EveryControlByNameInItsFrame)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    EXPECT_EQ(f.objectName(), "Form1");
    EXPECT_EQ(f.windowTitle(), expectedWindowCaption());
    EXPECT_FALSE(f.windowIcon().isNull());

    QWidget* client = f.centralWidget();
    EXPECT_EQ(f.drivePanel()->parentWidget(), client);
    EXPECT_EQ(f.folderPanel()->parentWidget(), client);
    EXPECT_EQ(f.drivePanel()->caption(), QString::fromUtf8("ドライブ情報"));
    EXPECT_EQ(f.folderPanel()->caption(), QString::fromUtf8("ホルダー情報"));
    for (int n : DrivePanelLabels)
        EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("Label%1").arg(n))->parentWidget(), f.drivePanel()) << n;
    for (int n : DrivePanelBoxes)
        EXPECT_EQ(f.findChild<ValueBox*>(QStringLiteral("Text%1").arg(n))->parentWidget(), f.drivePanel()) << n;
    for (int n : FolderPanelLabels)
        EXPECT_EQ(f.findChild<QLabel*>(QStringLiteral("Label%1").arg(n))->parentWidget(), f.folderPanel()) << n;
    for (int n : FolderPanelBoxes)
        EXPECT_EQ(f.findChild<ValueBox*>(QStringLiteral("Text%1").arg(n))->parentWidget(), f.folderPanel()) << n;
    for (const char* name : {"driveListBox", "Picture1", "Picture2", "Line1", "Line3", "Line4", "Line5"})
        EXPECT_EQ(f.findChild<QWidget*>(QString::fromUtf8(name))->parentWidget(), f.drivePanel()) << name;
    for (const char* name : {"folderListBox", "fileListBox"})
        EXPECT_EQ(f.findChild<QWidget*>(QString::fromUtf8(name))->parentWidget(), f.folderPanel()) << name;
    for (const auto& [n, caption] : Captions)
        EXPECT_EQ(f.caption(n)->text(), QString::fromUtf8(caption)) << "Label" << n;

    // The per-level frames are there, hidden, beyond the client area's right edge.
    for (int n = 2; n <= 17; ++n) {
        if (n == 10)
            continue;
        FrameControl* frame = f.findChild<FrameControl*>(QStringLiteral("Frame%1").arg(n));
        ASSERT_NE(frame, nullptr) << n;
        EXPECT_EQ(frame->parentWidget(), client);
        EXPECT_EQ(frame->caption(), frame->objectName());
        EXPECT_FALSE(frame->isVisibleTo(&f));
        EXPECT_GE(twipsGeometry(frame).left(), 12120);
        EXPECT_GT(frame->x(), client->width());
    }
}

TEST(WindowControls, ColoursAlignmentAndFaces)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    for (int n : {1, 8, 10, 18})
        EXPECT_EQ(textColor(f.caption(n)), QColor(255, 255, 255)) << n;
    for (int n : {21, 22, 23})
        EXPECT_EQ(textColor(f.caption(n)), QColor(255, 255, 0)) << n;
    EXPECT_TRUE(f.caption(1)->alignment() & Qt::AlignRight);
    EXPECT_TRUE(f.caption(22)->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(f.caption(25)->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(f.valueBox(Box::FreeRatio)->alignment() & Qt::AlignRight);
    EXPECT_TRUE(f.valueBox(Box::FileSystem)->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(f.valueBox(Box::AloneFiles)->alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(f.valueBox(Box::DriveText)->isReadOnly());

    const QString fixed = QStringLiteral("IPAGothic");
    const QString proportional = QStringLiteral("IPAPGothic");
    const auto face = [](const QWidget* w) { return w->font().family(); };
    for (Box n : {Box::BytesPerSector, Box::ClusterLength, Box::SubtreeFiles, Box::SubtreeClusters, Box::ConvertBytes, Box::UsedClusters, Box::ConvertLength})
        EXPECT_EQ(face(f.valueBox(n)), fixed) << n;
    for (Box n : {Box::DriveText, Box::SearchClusterLength, Box::FileSystem})
        EXPECT_EQ(face(f.valueBox(n)), proportional) << n;
    for (int n : {1, 15, 23})
        EXPECT_EQ(face(f.caption(n)), proportional) << n;
    EXPECT_EQ(face(f.drivePanel()), fixed);
    for (QWidget* w : std::initializer_list<QWidget*>{f.driveListBox(), f.folderListBox(), f.fileListBox()})
        EXPECT_EQ(face(w), proportional);
    EXPECT_TRUE(f.valueBox(Box::FreeRatio)->font().bold());
    EXPECT_TRUE(f.caption(8)->font().bold());

    // The faces are really there and hold the captions' characters.
    for (QWidget* w : std::initializer_list<QWidget*>{f.valueBox(Box::BytesPerSector), f.caption(2)}) {
        EXPECT_EQ(QFontInfo(w->font()).family(), face(w));
        const QFontMetrics metrics(w->font());
        for (QChar c : QString::fromUtf8("ﾊﾞｲﾄセクタ占有（％）："))
            EXPECT_TRUE(metrics.inFont(c)) << static_cast<int>(c.unicode());
    }
}

TEST(WindowMenus, BarOrderCaptionsAndChecks)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    QStringList bar;
    for (QAction* a : f.menuBar()->actions())
        bar << a->text();
    EXPECT_EQ(bar, QStringList({QString::fromUtf8("終了(&Q)"), QString::fromUtf8("換算クラスタ長(&C)"),
                                QString::fromUtf8("画面の大きさ(&D)"), QString::fromUtf8("説明(&S)"),
                                QString::fromUtf8("バージョン情報(&V)"), QString::fromUtf8("ツール(&T)")}));
    EXPECT_EQ(f.version()->menu(), nullptr);
    EXPECT_EQ(f.quitEntry(0)->text(), QString::fromUtf8("終了(&Q)"));
    const char* clust[] = {"   128(&0)", "   256(&1)", "   512(&2)", " 1,024(&3)", " 2,048(&4)",
                           " 4,096(&5)", " 8,192(&6)", "16,384(&7)", "32,768(&8)"};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(f.convertLengthEntry(i)->text(), QString::fromUtf8(clust[i]));
    const char* sizes[] = {"大(&L)", "中(&M)", "小(&S)"};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(f.screenSizeEntry(i)->text(), QString::fromUtf8(sizes[i]));
    const char* help[] = {"機能概要(&K)", "使用方法(&S)", "FATについて(&F)", "その他(&E)"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(f.helpEntry(i)->text(), QString::fromUtf8(help[i]));
    EXPECT_EQ(f.findChild<QAction*>(QStringLiteral("clustItem(3)")), f.convertLengthEntry(3));

    // Start-up: the medium size alone is checked; the drive query checked its
    // cluster length, 4,096 bytes, alone.
    EXPECT_FALSE(checked(f.screenSizeEntry(0)));
    EXPECT_TRUE(checked(f.screenSizeEntry(1)));
    EXPECT_FALSE(checked(f.screenSizeEntry(2)));
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(checked(f.convertLengthEntry(i)), i == 5) << i;
}

TEST(WindowStartUp, NoCheckMarksBeforeTheLoad)
{
    WindowRig rig([](const TempTree&) {}, false);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(rig.form->screenSizeEntry(i)->isChecked());
    for (int i = 0; i < 9; ++i)
        EXPECT_FALSE(rig.form->convertLengthEntry(i)->isChecked());
}

TEST(WindowStartUp, OpensOnTheCurrentFolderWithoutSearching)
{
    WindowRig rig([](const TempTree& t) {
        t.file("top/sub/deep.txt", 10);
        t.file("top/plain.txt", 5000);
        t.file("top/.hidden", 1);
        ::mkfifo(t.path("top/pipe").c_str(), 0644);
    });
    MainWindow& f = *rig.form;
    const FormState& s = f.form();
    EXPECT_EQ(s.screenSize, 2);
    EXPECT_EQ(s.treeFolders, 0);
    EXPECT_EQ(s.treeFiles, 0);
    EXPECT_EQ(s.treeClusterCount, 0);
    EXPECT_EQ(s.treeConvertClusterCount, 0);
    EXPECT_FALSE(s.modifierHeld);

    // The drive panel is filled from the drive's figures, the folder results
    // are blank: no search has run.
    EXPECT_EQ(s.clusterLength, 4096);
    EXPECT_EQ(s.convertLength, 4096);
    EXPECT_EQ(rig.box(Box::ClusterLength), QStringLiteral(" 4,096 "));
    EXPECT_EQ(rig.box(Box::SearchClusterLength), QStringLiteral(" 4,096 "));
    EXPECT_EQ(rig.box(Box::ConvertLength), QStringLiteral(" 4,096 "));
    for (Box n : FolderResultBoxes)
        EXPECT_EQ(rig.box(n), QStringLiteral("- ")) << n;
    EXPECT_TRUE(rig.messages.isEmpty());
    EXPECT_FALSE(f.services().busyPointerShown());

    // The lamp is green.
    const QImage lamp = f.searchLamp()->picture().toImage();
    ASSERT_FALSE(lamp.isNull());
    EXPECT_EQ(QColor(lamp.pixel(0, 0)), QColor(0, 255, 0));

    // The folder list and the file list show the folder the program was started in; the file list lists
    // hidden and special files too.
    EXPECT_EQ(f.folderListBox()->list().list(-1), rig.top());
    EXPECT_EQ(FolderListBox::pathOf(f.folderListBox()->openFolderItem()), rig.top());
    QStringList files;
    for (int i = 0; i < f.fileListBox()->count(); ++i)
        files << f.fileListBox()->text(i);
    EXPECT_EQ(files, QStringList({".hidden", "pipe", "plain.txt"}));
    EXPECT_EQ(f.driveListBox()->drive(), driveTextOf(rig.top()));
    EXPECT_EQ(f.driveFolders().currentFolder(f.driveListBox()->drive()), rig.top());
}

TEST(WindowStartUp, FolderListShowsAncestorsThenSubfolders)
{
    WindowRig rig([](const TempTree& t) {
        t.folder("top/beta");
        t.folder("top/Alpha");
        t.folder("top/.dot");
    });
    FolderListBox* openFolders = rig.form->folderListBox();
    // Each ancestor holds the next one alone, from the drive's root down.
    std::vector<std::string> chain;
    QTreeWidgetItem* item = openFolders->topLevelItem(0);
    ASSERT_EQ(openFolders->topLevelItemCount(), 1);
    while (item) {
        chain.push_back(FolderListBox::pathOf(item));
        if (item == openFolders->openFolderItem())
            break;
        ASSERT_EQ(item->childCount(), 1);
        item = item->child(0);
    }
    std::string root = driveOf(rig.top());
    if (root.back() != '/')
        root += '/';
    ASSERT_GE(chain.size(), 2u);
    EXPECT_EQ(chain.front(), root);
    EXPECT_EQ(chain.back(), rig.top());
    for (size_t i = 1; i + 1 < chain.size(); ++i)
        EXPECT_TRUE(rig.top().starts_with(chain[i] + "/")) << chain[i];

    QTreeWidgetItem* open = openFolders->openFolderItem();
    ASSERT_EQ(open->childCount(), 3);
    EXPECT_EQ(open->child(0)->text(0), QStringLiteral(".dot"));
    EXPECT_EQ(open->child(1)->text(0), QStringLiteral("Alpha"));
    EXPECT_EQ(open->child(2)->text(0), QStringLiteral("beta"));
    EXPECT_EQ(FolderListBox::pathOf(open->child(1)), rig.top() + "/Alpha");
    EXPECT_EQ(openFolders->currentItem(), open);
}

// The window opens at once in a folder next to a mount whose driver is
// stopped: nothing asks the stopped driver anything.
TEST(WindowStartUp, OpensAtOnceNextToAStoppedMount)
{
    using namespace dorvelix::testing;
    TempTree images;
    const std::string image = images.path("stopped.img");
    if (runTool({"mkfs.fat", "-F", "16", "-C", image, "16384"}).status != 0)
        GTEST_SKIP() << "mkfs.fat (Debian package dosfstools) is missing";
    std::unique_ptr<TestMount> stopped;
    std::string why;
    QElapsedTimer clock;
    WindowRig rig([&](const TempTree& t) {
        t.folder("top/plain");
        stopped = TestMount::fusefat(image, why, t.path("top"), "stopped");
        if (stopped)
            stopped->stopDriver();
        clock.start();
    });
    rig.form->show();
    QApplication::processEvents();
    const qint64 opened = clock.elapsed();
    const bool mounted = stopped != nullptr;
    stopped.reset();  // before the tree it lies in goes
    if (!mounted)
        GTEST_SKIP() << why;
    EXPECT_LT(opened, 1000);  // a wait on the driver lasts ten seconds
    EXPECT_EQ(rig.form->folderListBox()->list().listCount(), 1);
}

// Started with its working folder on a mount whose driver stands still, the
// window opens within the bound of a first touch on the drive it falls back
// to, and answers.
TEST(WindowStartUp, OpensWhenItsWorkingFolderIsOnAStoppedMount)
{
    using namespace dorvelix::testing;
    TempTree images;
    const std::string image = images.path("stopped.img");
    if (runTool({"mkfs.fat", "-F", "16", "-C", image, "16384"}).status != 0
        || runTool({"mmd", "-i", image, "::/D"}).status != 0)
        GTEST_SKIP() << "mkfs.fat or mtools (Debian packages dosfstools, mtools) is missing";
    std::unique_ptr<TestMount> stopped;
    std::string why;
    QElapsedTimer clock;
    WindowRig rig(
        [&](const TempTree& t) {
            stopped = TestMount::fusefat(image, why, t.path("top"), "stopped");
            if (stopped && ::chdir(t.path("top/stopped/D").c_str()) == 0)
                stopped->stopDriver();
            clock.start();
        },
        true, false);
    const qint64 opened = clock.elapsed();
    rig.form->show();
    QApplication::processEvents();
    const bool mounted = stopped != nullptr;
    const std::string shown = rig.form->folderListBox()->list().path();
    stopped.reset();  // before the tree it lies in goes
    if (!mounted)
        GTEST_SKIP() << why;
    EXPECT_LT(opened, 5000);  // a wait on the driver lasts ten seconds
    EXPECT_FALSE(shown.starts_with(rig.tree.root())) << shown;
    EXPECT_FALSE(shown.empty());
}
