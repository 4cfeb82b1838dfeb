// The treemap beside the breakdown: its layout fills the rectangle with
// areas in proportion, its tiles add up to the folder's occupied bytes at
// the conversion length, and hover, the keyboard, a click and a screen
// reader reach each tile's folder and figures.
#include "counted_tree.h"
#include "qt_app.h"
#include "treemap_layout.h"
#include "treemap_view.h"

#include <QAccessible>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace dorvelix;
using dorvelix::testing::qtApp;

namespace {

double areaOf(const QRectF& r)
{
    return r.width() * r.height();
}

// Every positive weight gets a tile inside area, in proportion to it, the
// tiles overlap nowhere and together cover area; the others get none.
void expectExactLayout(const std::vector<double>& weights, const QRectF& area)
{
    const std::vector<QRectF> tiles = squarifiedLayout(weights, area);
    ASSERT_EQ(tiles.size(), weights.size());
    double total = 0, covered = 0;
    for (double w : weights)
        total += std::max(w, 0.0);
    const double eps = 1e-9 * areaOf(area);
    for (size_t i = 0; i < weights.size(); ++i) {
        if (weights[i] <= 0) {
            EXPECT_EQ(areaOf(tiles[i]), 0) << i;
            continue;
        }
        EXPECT_NEAR(areaOf(tiles[i]), areaOf(area) * weights[i] / total, eps) << i;
        EXPECT_TRUE(area.adjusted(-1e-9, -1e-9, 1e-9, 1e-9).contains(tiles[i])) << i;
        covered += areaOf(tiles[i]);
        for (size_t k = 0; k < i; ++k)
            EXPECT_LT(areaOf(tiles[i].intersected(tiles[k])), eps) << i << " and " << k;
    }
    EXPECT_NEAR(covered, areaOf(area), eps);
}

// A tree of known figures at 1,024 bytes a converted cluster:
//   /data   own files 6 clusters (5,000 bytes)
//   a       own 20 (20,000), a1 100 (50,000), a2 30 (30,000)
//   b       50 (1,000)
//   c       empty
// Each folder adds its own first cluster, so a's row is 153 clusters.
std::shared_ptr<const CountedTree> knownTree()
{
    FolderRow t;
    CountedTreeBuilder b;
    auto book = [&](long long clusters, long long bytes, long long listedFolders) {
        t.files += 1;
        t.clusters += clusters;
        t.convertClusters += clusters;
        t.fileBytes += bytes;
        t.folders += listedFolders;
    };
    b.begin("/data", t);
    book(6, 5000, 3);
    b.enter(1, "a", t);
    book(20, 20000, 2);
    b.enter(2, "a1", t);
    book(100, 50000, 0);
    b.enter(2, "a2", t);
    book(30, 30000, 0);
    b.enter(1, "b", t);
    book(50, 1000, 0);
    b.enter(1, "c", t);
    b.leaveBelow(0, t);
    FolderRow subtree = t;
    subtree.clusters += t.folders;
    subtree.convertClusters += t.folders;
    return std::make_shared<const CountedTree>(b.finish(subtree));
}

QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

long long sumOf(const std::vector<TreemapView::Tile>& tiles, int outer)
{
    long long sum = 0;
    for (const TreemapView::Tile& t : tiles)
        sum += t.outer == outer ? t.occupiedBytes : 0;
    return sum;
}

int tileOf(const TreemapView& v, const char* name)
{
    for (size_t i = 0; i < v.tiles().size(); ++i) {
        const TreemapView::Tile& t = v.tiles()[i];
        if (t.ownFiles ? std::string(".") == name : v.tileText(t).startsWith(u8(name) + u8("：")))
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

TEST(TreemapLayout, TilesFillTheRectangleInProportionWithoutOverlap)
{
    const QRectF area(10, 20, 300, 170);
    expectExactLayout({5}, area);
    expectExactLayout({0, 3, 0, 1, -2, 1}, area);
    expectExactLayout({1e12, 1, 1, 1e6}, area);
    expectExactLayout(std::vector<double>(37, 2.5), QRectF(0, 0, 1, 1000));
    std::mt19937 random(33);
    for (int round = 0; round < 20; ++round) {
        std::vector<double> weights(1 + random() % 60);
        for (double& w : weights)
            w = static_cast<double>(random() % 100000) * (random() % 4 == 0 ? 0 : 1);
        expectExactLayout(weights, area);
    }
    // No weight or no room: no tile anywhere.
    for (const QRectF& r : squarifiedLayout({0, 0}, area))
        EXPECT_EQ(areaOf(r), 0);
    for (const QRectF& r : squarifiedLayout({1, 2}, QRectF(0, 0, 0, 50)))
        EXPECT_EQ(areaOf(r), 0);
    // Squarified: four equal weights in a square are four squares, not strips.
    for (const QRectF& r : squarifiedLayout({1, 1, 1, 1}, QRectF(0, 0, 100, 100)))
        EXPECT_NEAR(r.width(), r.height(), 1e-9);
    // In whole pixels the tiles still cover the rectangle once.
    const QRect pixels(0, 0, 301, 157);
    long long covered = 0;
    const std::vector<QRectF> tiles = squarifiedLayout({7, 5, 3, 3, 2, 1, 1, 1}, QRectF(pixels));
    for (size_t i = 0; i < tiles.size(); ++i) {
        covered += static_cast<long long>(pixelTile(tiles[i]).width()) * pixelTile(tiles[i]).height();
        for (size_t k = 0; k < i; ++k)
            EXPECT_FALSE(pixelTile(tiles[i]).intersects(pixelTile(tiles[k]))) << i << " and " << k;
    }
    EXPECT_EQ(covered, 301LL * 157);
}

TEST(Treemap, TilesAddUpToTheFolderAtTheConversionLengthAndNameTheirFigures)
{
    qtApp();
    const std::shared_ptr<const CountedTree> tree = knownTree();
    TreemapView v;
    v.resize(400, 300);
    v.showFolder(tree, 0, 1024);
    ASSERT_EQ(v.tiles().size(), 4u);
    EXPECT_EQ(sumOf(v.tiles(), -1), tree->row(0).convertClusters * 1024);
    EXPECT_EQ(sumOf(v.tiles(), -1), 211 * 1024);
    // Largest first: a, b, the folder's own files, c; each tile's area is
    // its share of the whole picture.
    const std::vector<long long> sizes{153 * 1024, 51 * 1024, 6 * 1024, 1024};
    double covered = 0;
    for (size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_EQ(v.tiles()[i].occupiedBytes, sizes[i]) << i;
        EXPECT_NEAR(areaOf(v.tiles()[i].area) / areaOf(v.mapArea()), sizes[i] / (211.0 * 1024), 1e-9) << i;
        covered += areaOf(v.tiles()[i].area);
    }
    EXPECT_NEAR(covered, areaOf(v.mapArea()), 1e-6);
    EXPECT_TRUE(v.tiles()[2].ownFiles);
    EXPECT_EQ(tileOf(v, "b"), 1);
    EXPECT_GT(v.tiles()[1].slackShare(), v.tiles()[0].slackShare());
    EXPECT_EQ(v.tileText(v.tiles()[1]), u8("b：占有バイト数 52,224、ファイル自体のバイト数 1,000、余り 98.1 %"));
    EXPECT_EQ(v.tileText(v.tiles()[2]),
              u8(".（ホルダ自体のファイルとテーブル）：占有バイト数 6,144、ファイル自体のバイト数 5,000、余り 18.6 %"));

    // a's tile holds a1, a2 and a's own files inside it, adding up to it.
    ASSERT_EQ(v.innerTiles().size(), 3u);
    EXPECT_EQ(sumOf(v.innerTiles(), 0), v.tiles()[0].occupiedBytes);
    for (const TreemapView::Tile& t : v.innerTiles())
        EXPECT_TRUE(v.tiles()[0].area.contains(t.area));
    EXPECT_TRUE(v.tileText(v.innerTiles()[0]).startsWith(u8("a/a1：占有バイト数 103,424")));

    // Hovering names the tile under the pointer, an inner one first.
    const auto hover = [&](QPointF at) {
        QHelpEvent help(QEvent::ToolTip, at.toPoint(), v.mapToGlobal(at.toPoint()));
        QApplication::sendEvent(&v, &help);
        return QToolTip::text();
    };
    v.show();
    EXPECT_EQ(hover(v.tiles()[1].area.center()), v.tileText(v.tiles()[1]));
    EXPECT_EQ(hover(v.innerTiles()[1].area.center()), v.tileText(v.innerTiles()[1]));

    // Another folder of the tree, and the sizes follow the conversion length.
    v.showFolder(tree, 1, 4096);
    ASSERT_EQ(v.tiles().size(), 3u);
    EXPECT_EQ(sumOf(v.tiles(), -1), 153 * 4096);
    EXPECT_EQ(v.tiles()[0].folder, 2u);
    v.clear();
    EXPECT_TRUE(v.tiles().empty());
    EXPECT_EQ(v.focusedTile(), -1);
}

TEST(Treemap, KeyboardAndClicksReachEveryFolderAndAScreenReaderHearsTheFocusedOne)
{
    qtApp();
    const std::shared_ptr<const CountedTree> tree = knownTree();
    QWidget window;
    auto* before = new QPushButton(QStringLiteral("before"), &window);
    auto* v = new TreemapView(&window);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(before);
    layout->addWidget(v);
    window.resize(520, 320);
    v->showFolder(tree, 0, 1024);
    window.show();
    QApplication::setActiveWindow(&window);
    QSignalSpy activated(v, &TreemapView::folderActivated);

    // Named and described; its value is the focused tile.
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(v);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->text(QAccessible::Name), u8("換算バイト数のツリーマップ"));
    EXPECT_TRUE(a->text(QAccessible::Description).startsWith(u8("ホルダごとのタイル。面積は換算クラスタ長での占有バイト数")));
    EXPECT_EQ(a->role(), QAccessible::Graphic);

    // Tab reaches it with the largest tile focused.
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(v->hasFocus());
    EXPECT_EQ(v->focusedTile(), 0);
    EXPECT_EQ(a->text(QAccessible::Value), v->tileText(v->tiles()[0]));

    // The arrows lead from any tile to every other, each step to a tile on
    // that side.
    const std::pair<Qt::Key, QPointF> arrows[] = {
        {Qt::Key_Left, {-1, 0}}, {Qt::Key_Right, {1, 0}}, {Qt::Key_Up, {0, -1}}, {Qt::Key_Down, {0, 1}}};
    std::set<int> reached{0};
    std::vector<int> open{0};
    while (!open.empty()) {
        const int from = open.back();
        open.pop_back();
        for (const auto& [key, direction] : arrows) {
            v->focusTile(from);
            QTest::keyClick(v, key);
            const int to = v->focusedTile();
            if (to == from)
                continue;
            const QPointF step = v->tiles()[to].area.center() - v->tiles()[from].area.center();
            EXPECT_GT(step.x() * direction.x() + step.y() * direction.y(), 0) << from << " to " << to;
            if (reached.insert(to).second)
                open.push_back(to);
        }
    }
    EXPECT_EQ(reached.size(), v->tiles().size());
    QTest::keyClick(v, Qt::Key_End);
    EXPECT_EQ(v->focusedTile(), 3);
    EXPECT_EQ(a->text(QAccessible::Value), v->tileText(v->tiles()[3]));

    // Enter goes into the focused folder; not from the folder's own files.
    v->focusTile(tileOf(*v, "b"));
    QTest::keyClick(v, Qt::Key_Return);
    v->focusTile(tileOf(*v, "."));
    QTest::keyClick(v, Qt::Key_Enter);
    ASSERT_EQ(activated.size(), 1);
    EXPECT_EQ(activated.takeFirst()[0].value<CountedTree::Index>(), *tree->find("/data/b"));
    // A click: on a tile, on one inside it, and on the own files (nothing).
    QTest::mouseClick(v, Qt::LeftButton, {}, v->tiles()[tileOf(*v, "c")].area.center().toPoint());
    QTest::mouseClick(v, Qt::LeftButton, {}, v->innerTiles()[1].area.center().toPoint());
    QTest::mouseClick(v, Qt::LeftButton, {}, v->tiles()[tileOf(*v, ".")].area.center().toPoint());
    ASSERT_EQ(activated.size(), 2);
    EXPECT_EQ(activated[0][0].value<CountedTree::Index>(), *tree->find("/data/c"));
    EXPECT_EQ(activated[1][0].value<CountedTree::Index>(), v->innerTiles()[1].folder);
    EXPECT_EQ(v->focusedTile(), tileOf(*v, "."));  // a click focuses the tile it lands in
}
