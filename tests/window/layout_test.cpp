// The three screen sizes: the rows as the layout places them (twips), the
// window's outer size, the pixels at the screen's resolution and the
// centring on a menu choice.
#include "twips.h"
#include "window_rig.h"
#include "value_boxes.h"

#include <QScreen>
#include <gtest/gtest.h>

using namespace dorvelix;
using dorvelix::testing::WindowRig;

namespace {

struct Row {
    const char* name;
    int top, left, width;
};

QRect twipsOf(MainWindow& f, const char* name)
{
    return twipsGeometry(f.findChild<QWidget*>(QString::fromUtf8(name)));
}

void expectRow(MainWindow& f, const Row& r)
{
    const QRect g = twipsOf(f, r.name);
    EXPECT_EQ(g.top(), r.top) << r.name;
    EXPECT_EQ(g.left(), r.left) << r.name;
    EXPECT_EQ(g.width(), r.width) << r.name;
}

// Figures of one size that the layout tables fix.
struct SizeCase {
    int size;
    int rowHeight, textFont, frameFont;
    QRect lamp, frame1, frame10, openFolders, openFiles;
    int driveLeft, driveTop, driveWidth;
    int graphLeft;
    QSize window;
};

const SizeCase Sizes[] = {
    {1, 360, 12, 14, {4350, 330, 200, 200}, {120, 120, 5140, 7545}, {5400, 120, 6750, 7545},
     {120, 360, 3075, 2460}, {3270, 360, 3150, 2460}, 1050, 600, 3570, 800, {12148, 8500}},
    {2, 285, 10, 11, {3260, 250, 150, 150}, {48, 48, 4000, 5648}, {4096, 48, 4924, 5648},
     {48, 270, 2300, 1845}, {2450, 270, 2360, 1845}, 790, 450, 2680, 600, {9196, 6478}},
    {3, 240, 8, 10, {2720, 205, 120, 120}, {96, 96, 3240, 4800}, {3408, 96, 3900, 4800},
     {96, 225, 1824, 1332}, {2000, 225, 1764, 1332}, 655, 336, 2230, 400, {7500, 5600}},
};

// Caption and value box of each row, and how much higher the box stands.
struct Pair {
    int label;
    Box box;
    int raise;
};

}  // namespace

TEST(WindowLayout, TellingRowsAtTheMediumSize)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    const Row rows[] = {
        {"Label1", 950, 48, 1800},   {"Text1", 930, 1848, 512},    {"Text13", 930, 2464, 1024},
        {"Text8", 4130, 1848, 2048}, {"Label23", 4450, 300, 2000}, {"Text31", 2170, 2800, 1024},
        {"Label22", 3120, 100, 1800}, {"Text12", 3440, 124, 1024}, {"Label10", 3377, 948, 1800},
        {"Text10", 3310, 2800, 2048}, {"Label21", 4670, 100, 1800}, {"Text37", 4990, 72, 1024},
        {"Label18", 5275, 948, 1800}, {"Text34", 5275, 2800, 2048},
    };
    for (const Row& r : rows)
        expectRow(f, r);
    EXPECT_EQ(f.form().graphLeft, 600);
    EXPECT_EQ(f.form().graphTop, 4770);
    EXPECT_EQ(twipsOf(f, "Label23").height(), 280);
    EXPECT_EQ(twipsOf(f, "Text8").height(), 285);
}

TEST(WindowLayout, EveryRowBesideItsCaptionAtEverySize)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    for (int size = 1; size <= 3; ++size) {
        f.pickScreenSize(size - 1);
        const LayoutValues& v = f.layout();
        const int subtreeRaise = v.rowHeight / 3 - v.rowHeight / 10;
        const Pair pairs[] = {
            {1, Box::DriveText, 20},   {2, Box::BytesPerSector, 20},   {3, Box::SectorsPerCluster, 20},   {9, Box::ClusterLength, 20},   {4, Box::TotalClusters, 20},   {6, Box::TotalBytes, 20},
            {19, Box::UsedClusters, 20}, {20, Box::UsedBytes, 20}, {5, Box::FreeClusters, 20},   {7, Box::FreeBytes, 20},   {8, Box::FreeRatio, 20},   {15, Box::AloneFiles, 50},
            {14, Box::AloneClusters, 50}, {16, Box::AloneBytes, 50}, {10, Box::SubtreeFolders, subtreeRaise}, {11, Box::SubtreeFiles, subtreeRaise},
            {12, Box::SubtreeClusters, subtreeRaise}, {13, Box::SubtreeBytes, subtreeRaise}, {17, Box::ConvertClusters, 0}, {18, Box::ConvertBytes, 0},
        };
        for (const Pair& p : pairs) {
            const QRect caption = twipsGeometry(f.caption(p.label));
            const QRect box = twipsGeometry(f.valueBox(p.box));
            EXPECT_EQ(box.top(), caption.top() - p.raise) << "size " << size << " " << p.box;
            EXPECT_EQ(caption.height(), v.rowHeight);
            EXPECT_EQ(box.height(), v.rowHeight);
            EXPECT_EQ(caption.width(), v.captionWidth);
        }
        // Rows follow each other at the row pitch.
        EXPECT_EQ(twipsGeometry(f.caption(8)).top() - twipsGeometry(f.caption(1)).top(), 10 * v.rowPitch);
        EXPECT_EQ(twipsGeometry(f.valueBox(Box::ConvertBytes)).top() - twipsGeometry(f.valueBox(Box::ConvertClusters)).top(), v.rowPitch);
    }
}

TEST(WindowLayout, ThreeSizesFromTheMenu)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.show();
    const QString kept = rig.box(Box::ClusterLength);
    for (const SizeCase& c : Sizes) {
        f.screenSizeEntry(c.size - 1)->trigger();
        EXPECT_EQ(f.form().screenSize, c.size);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(f.screenSizeEntry(i)->isChecked(), i == c.size - 1);
        EXPECT_EQ(twipsGeometry(f.searchLamp()), c.lamp) << c.size;
        EXPECT_EQ(twipsGeometry(f.drivePanel()), c.frame1) << c.size;
        EXPECT_EQ(twipsGeometry(f.folderPanel()), c.frame10) << c.size;
        EXPECT_EQ(twipsGeometry(f.folderListBox()), c.openFolders) << c.size;
        EXPECT_EQ(twipsGeometry(f.fileListBox()), c.openFiles) << c.size;
        const QRect drive = twipsGeometry(f.driveListBox());
        EXPECT_EQ(drive.left(), c.driveLeft);
        EXPECT_EQ(drive.top(), c.driveTop);
        EXPECT_EQ(drive.width(), c.driveWidth);
        EXPECT_FALSE(hasTwipsHeight(f.driveListBox()));
        EXPECT_EQ(f.form().graphLeft, c.graphLeft);
        EXPECT_EQ(f.form().textFontSize, c.textFont);
        EXPECT_EQ(f.layout().rowHeight, c.rowHeight);
        EXPECT_EQ(f.valueBox(Box::FreeRatio)->font().pointSize(), c.textFont);
        EXPECT_EQ(f.caption(23)->font().pointSize(), c.textFont);
        EXPECT_EQ(f.folderListBox()->font().pointSize(), c.textFont);
        EXPECT_EQ(f.folderPanel()->font().pointSize(), c.frameFont);
        EXPECT_EQ(f.twipsOuterSize(), c.window);
        // The values shown stay as they were.
        EXPECT_EQ(rig.box(Box::ClusterLength), kept);
    }
}

TEST(WindowLayout, SmallShortBoxesAndTheLargeDriveRow)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.pickScreenSize(0);
    // Text13 starts a little right of the quarter-width Text1's end.
    const QRect text1 = twipsGeometry(f.valueBox(Box::DriveText));
    EXPECT_EQ(text1.left() + text1.width(), 3030);
    EXPECT_EQ(twipsGeometry(f.valueBox(Box::FileSystem)).left(), 3200);
    EXPECT_EQ(twipsGeometry(f.valueBox(Box::SearchClusterLength)).width(), 1224);
    EXPECT_EQ(twipsGeometry(f.caption(21)).top(), 4160 + 2000);
    f.pickScreenSize(2);
    EXPECT_EQ(twipsGeometry(f.valueBox(Box::ConvertLength)).width(), 824);
    EXPECT_EQ(twipsGeometry(f.caption(21)).top(), 2500 + 1250);
    EXPECT_EQ(twipsGeometry(f.valueBox(Box::ConvertLength)).left(), 96 + 24);
}

TEST(WindowLayout, PixelsFollowTheScreensResolution)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.show();
    const double dpi = logicalDpiOf(&f);
    EXPECT_EQ(twipsToPixels(9196, 96), 613);
    EXPECT_EQ(twipsToPixels(15, 96), 1);
    const QRect twips = twipsGeometry(f.valueBox(Box::FreeRatio));
    EXPECT_EQ(f.valueBox(Box::FreeRatio)->geometry(), QRect(twipsToPixels(twips.left(), dpi), twipsToPixels(twips.top(), dpi),
                                           twipsToPixels(twips.width(), dpi), twipsToPixels(twips.height(), dpi)));
    // Without a window manager there is no frame: the window itself takes
    // the outer size.
    EXPECT_EQ(f.frameGeometry().size(), QSize(twipsToPixels(9196, dpi), twipsToPixels(6478, dpi)));
    // Every control stands inside its frame, and the frames inside the window.
    for (QWidget* w : f.folderPanel()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w->isVisibleTo(&f)) {
            EXPECT_TRUE(f.folderPanel()->rect().contains(w->geometry())) << w->objectName().toStdString();
        }
    }
    EXPECT_TRUE(f.centralWidget()->rect().contains(f.folderPanel()->geometry()));
}

TEST(WindowLayout, MenuCentresStartUpDoesNot)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.move(7, 9);
    f.show();
    EXPECT_EQ(f.pos(), QPoint(7, 9));

    const double dpi = logicalDpiOf(&f);
    const QRect screen = f.screen()->geometry();
    const auto expected = [&](int width, int height) {
        const long long free = std::llround(screen.width() * 1440.0 / dpi) - width;
        const long long freeDown = std::llround(screen.height() * 1440.0 / dpi) - height;
        return QPoint(static_cast<int>(free / 2), static_cast<int>(freeDown / 4));
    };
    f.screenSizeEntry(2)->trigger();
    EXPECT_EQ(f.twipsPosition(), expected(7500, 5600));
    EXPECT_EQ(f.pos(), screen.topLeft() + QPoint(twipsToPixels(f.twipsPosition().x(), dpi),
                                                 twipsToPixels(f.twipsPosition().y(), dpi)));
    // A window wider than the screen gets a negative left edge.
    f.screenSizeEntry(0)->trigger();
    const QPoint large = expected(12148, 8500);
    EXPECT_EQ(f.twipsPosition(), large);
    if (screen.width() * 1440.0 / dpi < 12148) {
        EXPECT_LT(f.twipsPosition().x(), 0);
    }
}

TEST(WindowLayout, UnknownSizeChangesOnlyTheVariable)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    const QRect before = twipsGeometry(f.valueBox(Box::FreeRatio));
    f.setScreenSize(5);
    EXPECT_EQ(f.form().screenSize, 5);
    EXPECT_EQ(twipsGeometry(f.valueBox(Box::FreeRatio)), before);
    EXPECT_EQ(f.twipsOuterSize(), QSize(9196, 6478));
}
