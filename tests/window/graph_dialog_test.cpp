// The usage graph as Picture1 shows it, the file information dialog opened
// from the file list, and the boxes of the help menu and the version command.
#include "help_texts.h"
#include "runtime_error.h"
#include "twips.h"
#include "window_rig.h"
#include "version_texts.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace dorvelix;
using dorvelix::testing::TempTree;
using dorvelix::testing::WindowRig;

namespace {

const QColor White(255, 255, 255);
const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);
const QColor Black(0, 0, 0);

// Picture1 as the window paints it, with twips converted at its resolution.
// Rows are pixel rows of the picture.
struct Graph {
    explicit Graph(MainWindow& f) : shown(f.usageGraph()->grab().toImage()), dpi(logicalDpiOf(f.usageGraph())) {}
    int px(int twips) const { return twipsToPixels(twips, dpi); }
    QColor at(int x, int row) const { return shown.pixelColor(x, row); }
    // A 2-pixel tick at x straddles x's pixel and the one left of it.
    bool tickAt(int xTwips, int row) const { return at(px(xTwips), row) == Black || at(px(xTwips) - 1, row) == Black; }
    QImage shown;
    double dpi;
};

// The red part's width in twips for the window's figures at width w.
int searchedWidth(const FormState& s, int w)
{
    const float product = static_cast<float>(s.treeClusterCount) * static_cast<float>(w);
    return static_cast<int>(std::nearbyint(product / static_cast<float>(s.totalClusterCount)));
}

// Checks the bar along its middle: yellow up to redLeft, red from there to
// used, white beyond.
void expectBar(MainWindow& f, int w, int h, int used, int redLeft, const char* what)
{
    const Graph g(f);
    ASSERT_EQ(g.shown.size(), QSize(g.px(w), g.px(h))) << what;
    const int mid = g.shown.height() / 2;
    EXPECT_EQ(g.at(1, mid), Yellow) << what;
    EXPECT_EQ(g.at(g.px(redLeft) - 1, mid), Yellow) << what;
    if (redLeft < used) {
        EXPECT_EQ(g.at(g.px(redLeft), mid), Red) << what;
        EXPECT_EQ(g.at(g.px(used) - 1, mid), Red) << what;
    }
    EXPECT_EQ(g.at(g.px(used), mid), White) << what;
    EXPECT_EQ(g.at(g.shown.width() - 3, mid), White) << what;
}

// The scale: nine short ticks along the bottom, the 0/50/100 % marks twice
// as long, and the frame lines and captions placed around the area.
void expectScaleAndFrame(MainWindow& f, int w, int h, const char* what)
{
    const Graph g(f);
    const int bottom = g.shown.height() - 1;
    // A row the long marks cross and the short ticks do not reach.
    const int betweenTicks = (g.px(h * 8 / 10) + g.px(h * 9 / 10)) / 2;
    for (int k = 1; k <= 9; ++k) {
        EXPECT_TRUE(g.tickAt(k * (w / 10), bottom)) << what << " tick " << k;
        if (k != 5) {
            EXPECT_FALSE(g.tickAt(k * (w / 10), betweenTicks)) << what << " tick " << k;
        }
    }
    EXPECT_TRUE(g.tickAt(w / 2, betweenTicks)) << what;
    EXPECT_EQ(g.at(0, betweenTicks), Black) << what;
    EXPECT_EQ(g.at(g.shown.width() - 1, betweenTicks), Black) << what;
    EXPECT_NE(g.at(0, betweenTicks - 2), Black) << what;

    const FormState& s = f.form();
    const int l = s.graphLeft, t = s.graphTop;
    EXPECT_EQ(twipsGeometry(f.usageGraph()), QRect(l, t, w, h)) << what;
    const std::pair<int, QLine> frame[] = {
        {1, QLine(l - 50, t - 50, l - 50, t + h + 50)},
        {3, QLine(l - 50, t - 50, l + w + 50, t - 50)},
        {4, QLine(l + w + 50, t - 50, l + w + 50, t + h + 50)},
        {5, QLine(l - 50, t + h + 50, l + w + 50, t + h + 50)},
    };
    for (const auto& [n, line] : frame) {
        EXPECT_EQ(f.line(n)->endpoints(), line) << what << " Line" << n;
        EXPECT_FALSE(f.line(n)->isHidden()) << what << " Line" << n;
    }
    const std::pair<int, int> captions[] = {{24, l - 300}, {25, l + w / 2 - 300}, {26, l + w - 300}};
    for (const auto& [n, left] : captions) {
        const QRect placed = twipsGeometry(f.caption(n));
        EXPECT_EQ(placed.top(), t + h + 62) << what << " Label" << n;
        EXPECT_EQ(placed.left(), left) << what << " Label" << n;
        EXPECT_EQ(f.caption(n)->font().pointSize(), s.textFontSize - 1) << what << " Label" << n;
        EXPECT_FALSE(f.caption(n)->isHidden()) << what << " Label" << n;
    }
}

}  // namespace

TEST(WindowGraph, ShowsTheUsedPartAndTheSearchedShareAtEverySize)
{
    // Forty files of ten clusters each under the folder.
    WindowRig rig([](const TempTree& t) {
        for (int i = 0; i < 20; ++i) {
            t.file("top/f" + std::to_string(i), 40960);
            t.file("top/sub/g" + std::to_string(i), 40960);
        }
    });
    MainWindow& f = *rig.form;
    // Start-up: a quarter of the drive free, nothing searched yet.
    expectBar(f, 2700, 300, 2025, 2025, "start-up");
    expectScaleAndFrame(f, 2700, 300, "start-up");

    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    const FormState& s = f.form();
    ASSERT_GE(s.treeClusterCount, 400);
    ASSERT_LT(s.treeClusterCount, 500);
    expectBar(f, 2700, 300, 2025, 2025 - searchedWidth(s, 2700), "after the search");
    expectScaleAndFrame(f, 2700, 300, "after the search");

    // A new screen size draws the same figures at its own size and place.
    f.pickScreenSize(0);
    expectBar(f, 3600, 400, 2700, 2700 - searchedWidth(s, 3600), "large");
    expectScaleAndFrame(f, 3600, 400, "large");
    f.pickScreenSize(2);
    expectBar(f, 2248, 248, 1686, 1686 - searchedWidth(s, 2248), "small");
    expectScaleAndFrame(f, 2248, 248, "small");
    EXPECT_EQ(twipsGeometry(f.usageGraph()).left(), 400);
}

TEST(WindowGraph, WorkedValuesAtTheLargeSize)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    // A folder tree holding a tenth of the drive's 1,000 cluster units.
    f.form().treeClusterCount = 100;
    f.pickScreenSize(0);
    expectBar(f, 3600, 400, 2700, 2340, "worked values");
}

TEST(WindowGraph, ADriveChangeWithoutSearchClearsTheSearchedShare)
{
    WindowRig rig([](const TempTree& t) { t.file("top/big", 409600); });
    MainWindow& f = *rig.form;
    ASSERT_TRUE(rig.doubleClickFolder(rig.top()));
    const int searched = searchedWidth(f.form(), 2700);
    ASSERT_GT(searched, 0);
    // The red lamp's query draws the graph again with the last search's share.
    QTest::keyPress(f.driveListBox(), Qt::Key_Shift, Qt::ShiftModifier);
    expectBar(f, 2700, 300, 2025, 2025 - searched, "red lamp");
    // A drive change clears it, and with Shift held nothing is searched.
    f.onDriveChosen();
    expectBar(f, 2700, 300, 2025, 2025, "after the drive change");
}

TEST(WindowGraph, ZeroTotalShowsTheWhiteAreaAndTheScale)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    f.form().totalClusterCount = 0;
    f.form().treeClusterCount = 7;
    EXPECT_NO_THROW(f.pickScreenSize(0));
    const Graph g(f);
    for (int x = 2; x < g.shown.width() - 2; ++x)
        ASSERT_EQ(g.at(x, g.shown.height() / 2), White) << x;
    expectScaleAndFrame(f, 3600, 400, "zero total");
}

namespace {

// Double-clicks the file list's entry named name; false when the file list does not list it.
bool doubleClickFile(MainWindow& f, const QString& name)
{
    FileListBox* openFiles = f.fileListBox();
    const QModelIndexList found = openFiles->model()->match(openFiles->model()->index(0, 0), Qt::DisplayRole, name, -1,
                                                            Qt::MatchExactly);
    if (found.size() != 1)
        return false;
    const QPoint at = openFiles->visualRect(found[0]).center();
    QTest::mouseClick(openFiles->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(openFiles->viewport(), Qt::LeftButton, {}, at);
    return true;
}

struct DialogTexts {
    QString path, length, clusters, attributes;
};

DialogTexts shownTexts(const FileInfoDialog& d)
{
    return {d.pathBox()->toPlainText(), d.lengthBox()->text(), d.clustersBox()->text(), d.attributesBox()->text()};
}

}  // namespace

TEST(WindowFileDialog, DoubleClickShowsTheFilesFacts)
{
    WindowRig rig([](const TempTree& t) {
        t.file("top/.hidden", 100);
        t.file("top/read-only.txt", 1234);
        ::chmod(t.path("top/read-only.txt").c_str(), 0444);
        t.file("top/empty", 0);
        t.file("top/four.bin", 8193);
    });
    MainWindow& f = *rig.form;
    const auto full = [&](const char* name) { return QString::fromStdString(rig.top() + "/" + name); };
    const struct {
        const char* name;
        DialogTexts texts;
    } cases[] = {
        {"read-only.txt", {full("read-only.txt"), "   1,234 ﾊﾞｲﾄ (4D2H )", "   1 ", "  Read-Only Archive "}},
        {".hidden", {full(".hidden"), "   100 ﾊﾞｲﾄ (64H )", "   1 ", "  Hidden Archive "}},
        {"empty", {full("empty"), "   0 ﾊﾞｲﾄ (0H )", "   0 ", "  Archive "}},
        {"four.bin", {full("four.bin"), "   8,193 ﾊﾞｲﾄ (2001H )", "   3 ", "  Archive "}},
    };
    EXPECT_EQ(f.fileInfoDialog(), nullptr);
    QPoint firstPlace;
    for (const auto& c : cases) {
        ASSERT_TRUE(doubleClickFile(f, QString::fromUtf8(c.name))) << c.name;
        FileInfoDialog* dialog = f.fileInfoDialog();
        ASSERT_NE(dialog, nullptr) << c.name;
        EXPECT_TRUE(dialog->isVisible()) << c.name;
        const DialogTexts shown = shownTexts(*dialog);
        EXPECT_EQ(shown.path, c.texts.path) << c.name;
        EXPECT_EQ(shown.length, c.texts.length) << c.name;
        EXPECT_EQ(shown.clusters, c.texts.clusters) << c.name;
        EXPECT_EQ(shown.attributes, c.texts.attributes) << c.name;
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^  \\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                        .match(dialog->dateBox()->text())
                        .hasMatch())
            << dialog->dateBox()->text().toStdString();
        if (firstPlace.isNull())
            firstPlace = dialog->pos();
        EXPECT_EQ(dialog->pos(), firstPlace) << "a refilled dialog stays where it is";
    }
    // Created a little below and right of the main window's corner, and
    // modeless: the main window stays usable.
    EXPECT_EQ(firstPlace, f.pos() + QPoint(f.fileInfoDialog()->toPixels(200), f.fileInfoDialog()->toPixels(800)));
    EXPECT_FALSE(f.fileInfoDialog()->isModal());
    EXPECT_TRUE(f.isEnabled());

    // "確認" hides it; the next double-click shows it again.
    f.fileInfoDialog()->confirmButton()->click();
    EXPECT_FALSE(f.fileInfoDialog()->isVisible());
    ASSERT_TRUE(doubleClickFile(f, QStringLiteral("empty")));
    EXPECT_TRUE(f.fileInfoDialog()->isVisible());
}

TEST(WindowFileDialog, AFileRemovedSinceTheListWasReadSaysSo)
{
    WindowRig rig([](const TempTree& t) { t.file("top/gone.txt", 10); });
    MainWindow& f = *rig.form;
    std::filesystem::remove(rig.top() + "/gone.txt");
    ASSERT_TRUE(doubleClickFile(f, QStringLiteral("gone.txt")));
    ASSERT_NE(f.fileInfoDialog(), nullptr);
    EXPECT_EQ(f.fileInfoDialog()->pathBox()->toPlainText(), QString::fromStdString(rig.top() + "/gone.txt"));
    EXPECT_TRUE(f.fileInfoDialog()->lengthBox()->text().contains(errorDescription(53))) << f.fileInfoDialog()->lengthBox()->text().toStdString();
    EXPECT_TRUE(f.fileInfoDialog()->isVisible());
}

TEST(WindowHelp, MenuEntriesAndVersionShowTheirBoxes)
{
    WindowRig rig;
    MainWindow& f = *rig.form;
    std::vector<std::pair<QString, QString>> boxes;  // text, title
    f.services().onMessageBox = [&](const QString& text, const QString& title) { boxes.emplace_back(text, title); };

    // Each entry shows its own text (whose every line the help text tests
    // compare) under its title; the banner tells which text it is.
    const std::pair<const char*, const char*> entries[] = {
        {"DORVELIX 機能概要", "                  ◇◇■■  機  能  概  要  ■■◇◇"},
        {"DORVELIX 使用方法", "                  ◇◇■■  使  用  方  法  ■■◇◇"},
        {"ＦＡＴについて", "                  ◇◇■■  ＦＡＴについて  ■■◇◇"},
        {"DORVELIX その他説明", "                  ◇◇■■  そ  の  他  ■■◇◇"},
    };
    for (int i = 0; i < 4; ++i) {
        f.helpEntry(i)->trigger();
        ASSERT_EQ(boxes.size(), static_cast<size_t>(i + 1));
        QString expected;
        assembleHelpText(i, expected);
        EXPECT_EQ(boxes.back().first, expected) << i;
        EXPECT_TRUE(expected.startsWith(QString::fromUtf8(entries[i].second) + QStringLiteral("\r\n\r\n"))) << i;
        EXPECT_EQ(boxes.back().second, QString::fromUtf8(entries[i].first)) << i;
        EXPECT_EQ(f.form().messageText, expected) << "the text is kept in the message slot";
    }

    f.version()->trigger();
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes.back().first, expectedVersionBoxText());
    EXPECT_TRUE(boxes.back().second.isEmpty()) << "the application's own title";
}
