// The drive usage graph of the drive panel: a white bar standing for the
// drive's total cluster units, the used part in yellow from the left, the
// searched folder tree's share in red at the right end of the used part, a
// scale of ten divisions along the bottom, a frame of four lines and the
// captions "0 %", "50 %" and "100 %".
//
// The procedure draws onto an abstract canvas so that the window can render
// it into a pixmap and tests can record it without a display.
#pragma once

#include "form_state.h"

#include <cstdint>

namespace dorvelix {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

namespace colour {
inline constexpr Rgb White{255, 255, 255};
inline constexpr Rgb Yellow{255, 255, 0};
inline constexpr Rgb Red{255, 0, 0};
inline constexpr Rgb Black{0, 0, 0};
}  // namespace colour

// The frame round the graph, one line a side.
enum class FrameSide { Left, Top, Right, Bottom };
inline constexpr FrameSide FrameSides[] = {FrameSide::Left, FrameSide::Top, FrameSide::Right, FrameSide::Bottom};
// The scale captions under the graph's 0 %, 50 % and 100 % marks.
enum class ScaleMark { Zero, Half, Full };
inline constexpr ScaleMark ScaleMarks[] = {ScaleMark::Zero, ScaleMark::Half, ScaleMark::Full};

// Where the graph goes. Every position is in twips. Boxes and lines are in
// the drawing area's own coordinates ((0, 0) top left, y downwards); the
// drawing area's place, the frame lines and the captions are in the
// coordinates of the drive panel that holds them.
class UsageGraphCanvas {
public:
    virtual ~UsageGraphCanvas() = default;
    // The drawing area's size and place inside the drive panel.
    virtual void setPictureGeometry(int left, int top, int width, int height) = 0;
    virtual void movePicture(int left, int top) = 0;
    // A box filled with colour, corners (x1, y1) and (x2, y2) in any order.
    virtual void fillBox(int x1, int y1, int x2, int y2, Rgb colour) = 0;
    // The width of the lines drawn from now on, in pixels.
    virtual void setDrawWidth(int pixels) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2, Rgb colour) = 0;
    // Moves one side of the frame.
    virtual void setFrameLine(FrameSide side, int x1, int y1, int x2, int y2) = 0;
    // Places one scale caption and sets its font size in points.
    virtual void placeCaption(ScaleMark mark, int top, int left, int fontSize) = 0;
};

// The drawing area's width and height in twips for a screen size; 0 × 0 for
// a size other than 1, 2 or 3.
struct GraphSize {
    std::int16_t width = 0;
    std::int16_t height = 0;
};
GraphSize graphSize(std::int16_t size);

// Draws the whole graph from scratch for screen size `size` out of the
// drive's total and free cluster units and the last search's tree cluster
// units. Positions are 16-bit: a figure that does not fit raises RuntimeError
// 6 after what has already been drawn, and the rest is skipped. While the
// drive's total is unknown (0, before any drive could be read) the used and
// searched parts are left out and the white area, scale, frame and captions
// are drawn.
void paintUsageGraph(const FormState& form, std::int16_t size, UsageGraphCanvas& canvas);

}  // namespace dorvelix
