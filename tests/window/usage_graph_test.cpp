#include "qt_app.h"
#include "runtime_error.h"
#include "usage_graph.h"
#include "usage_graph_painter.h"

#include <QColor>
#include <QImage>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace dorvelix;

namespace {

// Records every call the graph makes, in order.
struct RecordingCanvas : UsageGraphCanvas {
    struct Box {
        int x1, y1, x2, y2;
        Rgb colour;
    };
    struct Line {
        int x1, y1, x2, y2;
        int width;
    };
    std::vector<std::string> calls;
    std::vector<Box> boxes;
    std::vector<Line> lines;
    int left = -1, top = -1, width = -1, height = -1;
    int drawWidth = 1;
    std::map<FrameSide, std::array<int, 4>> frame;
    std::map<ScaleMark, std::array<int, 3>> captions;

    void setPictureGeometry(int l, int t, int w, int h) override
    {
        calls.push_back("geometry");
        left = l, top = t, width = w, height = h;
    }
    void movePicture(int l, int t) override
    {
        calls.push_back("move");
        left = l, top = t;
    }
    void fillBox(int x1, int y1, int x2, int y2, Rgb c) override
    {
        calls.push_back("box");
        boxes.push_back({x1, y1, x2, y2, c});
    }
    void setDrawWidth(int px) override
    {
        calls.push_back("width");
        drawWidth = px;
    }
    void drawLine(int x1, int y1, int x2, int y2, Rgb c) override
    {
        calls.push_back("line");
        EXPECT_EQ(c, colour::Black);
        lines.push_back({x1, y1, x2, y2, drawWidth});
    }
    void setFrameLine(FrameSide n, int x1, int y1, int x2, int y2) override
    {
        calls.push_back("frame");
        frame[n] = {x1, y1, x2, y2};
    }
    void placeCaption(ScaleMark n, int t, int l, int font) override
    {
        calls.push_back("caption");
        captions[n] = {t, l, font};
    }
};

FormState drive(long long total, long long free, int tree = 0)
{
    FormState f;
    f.totalClusterCount = total;
    f.freeClusterCount = free;
    f.treeClusterCount = tree;
    f.graphLeft = 800;
    f.graphTop = 5000;
    f.textFontSize = 12;
    return f;
}

// The right end of the yellow box and the left end of the red one.
struct Parts {
    int used = -1;
    int redFrom = -1;
    bool red = false;
};

Parts parts(const RecordingCanvas& c)
{
    Parts p;
    for (const auto& b : c.boxes) {
        if (b.colour == colour::Yellow)
            p.used = b.x2;
        if (b.colour == colour::Red) {
            p.red = true;
            p.redFrom = b.x1;
            EXPECT_EQ(b.x2, p.used) << "the red part ends where the used part ends";
        }
    }
    return p;
}

}  // namespace

TEST(UsageGraph, WorkedValuesAtTheLargeSize)
{
    RecordingCanvas c;
    paintUsageGraph(drive(1'000'000, 250'000, 100'000), 1, c);

    EXPECT_EQ(c.left, 800);
    EXPECT_EQ(c.top, 5000);
    EXPECT_EQ(c.width, 3600);
    EXPECT_EQ(c.height, 400);
    ASSERT_EQ(c.boxes.size(), 3u);
    EXPECT_EQ(c.boxes[0].colour, colour::White);
    EXPECT_EQ(c.boxes[0].x2, 3600);
    EXPECT_EQ(c.boxes[0].y2, 400);
    const Parts p = parts(c);
    EXPECT_EQ(p.used, 2700);
    EXPECT_EQ(p.redFrom, 2340);

    // Nine short ticks at x = 360 .. 3240 from 360 down, then the three long
    // marks from 320 down; all two pixels wide.
    ASSERT_EQ(c.lines.size(), 12u);
    for (int k = 0; k < 9; ++k) {
        const auto& l = c.lines[static_cast<size_t>(k)];
        EXPECT_EQ(l.x1, 360 * (k + 1));
        EXPECT_EQ(l.x2, l.x1);
        EXPECT_EQ(l.y1, 360);
        EXPECT_EQ(l.y2, 400);
    }
    const int marks[] = {0, 1800, 3600};
    for (int k = 0; k < 3; ++k) {
        const auto& l = c.lines[static_cast<size_t>(9 + k)];
        EXPECT_EQ(l.x1, marks[k]);
        EXPECT_EQ(l.y1, 320);
        EXPECT_EQ(l.y2, 400);
    }
    for (const auto& l : c.lines)
        EXPECT_EQ(l.width, 2);

    // The frame 50 outside the area, the captions 62 below it.
    using F = std::array<int, 4>;
    EXPECT_EQ(c.frame[FrameSide::Left], (F{750, 4950, 750, 5450}));
    EXPECT_EQ(c.frame[FrameSide::Top], (F{750, 4950, 4450, 4950}));
    EXPECT_EQ(c.frame[FrameSide::Right], (F{4450, 4950, 4450, 5450}));
    EXPECT_EQ(c.frame[FrameSide::Bottom], (F{750, 5450, 4450, 5450}));
    using C = std::array<int, 3>;
    EXPECT_EQ(c.captions[ScaleMark::Zero], (C{5462, 500, 11}));
    EXPECT_EQ(c.captions[ScaleMark::Half], (C{5462, 2300, 11}));
    EXPECT_EQ(c.captions[ScaleMark::Full], (C{5462, 4100, 11}));

    // The white fill comes first and clears the previous drawing; the lines
    // follow the width change.
    EXPECT_EQ(c.calls.front(), "geometry");
    EXPECT_EQ(c.calls[1], "box");
    const auto width = std::find(c.calls.begin(), c.calls.end(), "width");
    const auto firstLine = std::find(c.calls.begin(), c.calls.end(), "line");
    EXPECT_LT(width, firstLine);
}

TEST(UsageGraph, TicksAtTheOtherSizes)
{
    for (const auto& [size, W, H, firstTick, middle] :
         {std::tuple{2, 2700, 300, 270, 1350}, std::tuple{3, 2248, 248, 224, 1124}}) {
        RecordingCanvas c;
        paintUsageGraph(drive(100, 100), static_cast<std::int16_t>(size), c);
        EXPECT_EQ(c.width, W);
        EXPECT_EQ(c.height, H);
        ASSERT_EQ(c.lines.size(), 12u) << "size " << size;
        EXPECT_EQ(c.lines[0].x1, firstTick);
        EXPECT_EQ(c.lines[8].x1, firstTick * 9);
        EXPECT_EQ(c.lines[0].y1, H * 9 / 10);
        EXPECT_EQ(c.lines[10].x1, middle);
        EXPECT_EQ(c.lines[10].y1, H * 8 / 10);
    }
}

TEST(UsageGraph, PartsFollowTheDriveAndTheSearch)
{
    {
        RecordingCanvas c;  // nothing searched yet: no red part
        paintUsageGraph(drive(1000, 250, 0), 1, c);
        EXPECT_EQ(parts(c).used, 2700);
        EXPECT_FALSE(parts(c).red);
    }
    {
        RecordingCanvas c;  // a full drive is all yellow
        paintUsageGraph(drive(1000, 0), 1, c);
        EXPECT_EQ(parts(c).used, 3600);
    }
    {
        RecordingCanvas c;  // an empty drive has no used part
        paintUsageGraph(drive(1000, 1000), 1, c);
        EXPECT_EQ(parts(c).used, 0);
    }
    {
        RecordingCanvas c;  // a tree larger than the used share starts left of the area
        paintUsageGraph(drive(1000, 900, 500), 1, c);
        EXPECT_EQ(parts(c).used, 360);
        EXPECT_EQ(parts(c).redFrom, 360 - 1800);
    }
}

TEST(UsageGraph, RoundsHalvesToEvenInSinglePrecision)
{
    // At the medium size (W 2700) 7 free of 8 gives exactly 337.5 and 5 of 8
    // exactly 1012.5.
    for (const auto& [free, used] : {std::pair{7, 338}, std::pair{5, 1012}}) {
        RecordingCanvas c;
        paintUsageGraph(drive(8, free), 2, c);
        EXPECT_EQ(parts(c).used, used) << free;
    }
    // Tree shares of exactly 4.5, 7.5 and 12.5 at W 3600.
    for (const auto& [total, r] : {std::pair{800, 4}, std::pair{480, 8}, std::pair{288, 12}}) {
        RecordingCanvas c;
        paintUsageGraph(drive(total, 0, 1), 1, c);
        EXPECT_EQ(parts(c).redFrom, 3600 - r) << total;
    }
    // 16,777,217 cluster units are 16,777,216 in single precision, which
    // makes the share exactly 12.5 and R 12; in double precision it would be
    // a little more and round to 13.
    RecordingCanvas c;
    paintUsageGraph(drive(4'831'838'208LL, 0, 16'777'217), 1, c);
    EXPECT_EQ(parts(c).redFrom, 3600 - 12);
}

TEST(UsageGraph, ZeroTotalShowsTheWhiteAreaAndTheScale)
{
    RecordingCanvas c;
    EXPECT_NO_THROW(paintUsageGraph(drive(0, 0, 5), 2, c));
    ASSERT_EQ(c.boxes.size(), 1u);
    EXPECT_EQ(c.boxes[0].colour, colour::White);
    EXPECT_EQ(c.lines.size(), 12u);
    EXPECT_EQ(c.frame.size(), 4u);
    EXPECT_EQ(c.captions.size(), 3u);
}

TEST(UsageGraph, SizeOutsideTheThreeCollapsesTheDrawing)
{
    for (std::int16_t size : {std::int16_t{0}, std::int16_t{4}, std::int16_t{-1}}) {
        RecordingCanvas c;
        paintUsageGraph(drive(1000, 500, 10), size, c);
        EXPECT_EQ(c.width, 0);
        EXPECT_EQ(c.height, 0);
        // Only the three marks at x = 0, no short ticks.
        ASSERT_EQ(c.lines.size(), 3u);
        for (const auto& l : c.lines)
            EXPECT_EQ(l.x1, 0);
        using F = std::array<int, 4>;
        EXPECT_EQ(c.frame[FrameSide::Left], (F{750, 4950, 750, 5050}));
        EXPECT_EQ(c.frame[FrameSide::Bottom], (F{750, 5050, 850, 5050}));
        for (ScaleMark n : ScaleMarks)
            EXPECT_EQ(c.captions[n][1], 500);
    }
}

TEST(UsageGraph, OverflowRaisesAfterWhatWasDrawn)
{
    // A tree of 10 times the drive (sparse files count by length) needs a red
    // part of 36,000 twips, beyond 16 bits.
    RecordingCanvas c;
    try {
        paintUsageGraph(drive(1000, 0, 10'000), 1, c);
        FAIL() << "no error raised";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::Overflow);
    }
    ASSERT_EQ(c.boxes.size(), 2u);  // white and yellow stay
    EXPECT_TRUE(c.lines.empty());
    EXPECT_TRUE(c.frame.empty());

    // A graph placed where its frame passes the 16-bit range.
    RecordingCanvas far;
    FormState f = drive(1000, 0);
    f.graphLeft = 32000;
    EXPECT_THROW(paintUsageGraph(f, 1, far), RuntimeError);
    EXPECT_EQ(far.lines.size(), 12u);
    EXPECT_TRUE(far.frame.empty());
}

// The painter at 96 DPI: 15 twips a pixel, so the worked values put the used
// part's end at pixel 180 and the red part's start at pixel 156.
TEST(UsageGraphPainter, ColoursReadBackFromThePicture)
{
    dorvelix::testing::qtApp();
    UsageGraphPainter painter(96);
    paintUsageGraph(drive(1'000'000, 250'000, 100'000), 1, painter);
    const QImage& img = painter.image();
    ASSERT_EQ(img.size(), QSize(240, 27));  // 3600 × 400 twips
    EXPECT_EQ(painter.picturePixels(), QRect(53, 333, 240, 27));

    const auto at = [&](int x, int y) { return QColor(img.pixel(x, y)); };
    const QColor yellow(255, 255, 0), red(255, 0, 0), white(255, 255, 255), black(0, 0, 0);
    EXPECT_EQ(at(0, 5), yellow);
    EXPECT_EQ(at(155, 5), yellow);
    EXPECT_EQ(at(156, 5), red);
    EXPECT_EQ(at(179, 5), red);
    EXPECT_EQ(at(180, 5), white);
    EXPECT_EQ(at(239, 5), white);
    // A short tick at 720 twips (pixel 48): two pixels wide, in the bottom
    // tenth only.
    EXPECT_EQ(at(47, 25), black);
    EXPECT_EQ(at(48, 25), black);
    EXPECT_EQ(at(46, 25), yellow);
    EXPECT_EQ(at(49, 25), yellow);
    EXPECT_EQ(at(48, 20), yellow);
    // The 50 % mark reaches higher than the short ticks.
    EXPECT_EQ(at(120, 22), black);
    EXPECT_EQ(at(96, 22), yellow);

    // Redrawn without a search at another size: no trace of the first one.
    FormState after = drive(1'000'000, 250'000, 0);
    paintUsageGraph(after, 2, painter);
    EXPECT_EQ(painter.image().size(), QSize(180, 20));
    EXPECT_EQ(QColor(painter.image().pixel(130, 3)), yellow);  // 2025 twips used
    EXPECT_EQ(QColor(painter.image().pixel(136, 3)), white);
}

TEST(UsageGraphPainter, PutsTheDrawingInThePanel)
{
    dorvelix::testing::qtApp();
    QWidget frame1;
    auto* picture = new QLabel(&frame1);
    picture->setObjectName("Picture1");
    QWidget* lines[4];
    int k = 0;
    for (int n : {1, 3, 4, 5}) {
        lines[k] = new QWidget(&frame1);
        lines[k++]->setObjectName(QStringLiteral("Line%1").arg(n));
    }
    auto* hundred = new QLabel("100 %", &frame1);
    hundred->setObjectName("Label26");

    UsageGraphPainter painter(96);
    FormState f = drive(0, 0);  // before any drive query
    EXPECT_NO_THROW(painter.draw(f, 1, &frame1));
    EXPECT_EQ(picture->geometry(), QRect(53, 333, 240, 27));
    EXPECT_EQ(picture->pixmap().toImage().pixelColor(100, 5), QColor(255, 255, 255));
    // Line1 runs down the left of the frame: x 750 twips = pixel 50.
    EXPECT_EQ(lines[0]->geometry(), QRect(49, 329, 2, 35));
    EXPECT_EQ(lines[1]->geometry().height(), 2);
    EXPECT_EQ(hundred->pos(), QPoint(273, 364));
    EXPECT_EQ(hundred->font().pointSize(), 11);

    // An overflowing drawing still shows what was drawn, then raises.
    f = drive(1000, 0, 10'000);
    EXPECT_THROW(painter.draw(f, 1, &frame1), RuntimeError);
    EXPECT_EQ(picture->pixmap().toImage().pixelColor(100, 5), QColor(255, 255, 0));
}
