// Renders the drive usage graph into an image kept between drawings, so the
// window can show it in Picture1 and repaint it when it is uncovered, and
// keeps the places of the frame lines and scale captions for the panel.
// Twips become pixels at a logical DPI: px = twips × dpi / 1440.
#pragma once

#include "usage_graph.h"

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <array>

class QWidget;

namespace dorvelix {

class UsageGraphPainter : public UsageGraphCanvas {
public:
    explicit UsageGraphPainter(double dpi = 96.0) : dpi_(dpi) {}

    void setDpi(double dpi) { dpi_ = dpi; }
    double dpi() const { return dpi_; }
    int toPixels(int twips) const;

    // Draws the graph, then puts whatever was drawn in place among frame1's
    // children (see applyTo). A RuntimeError of the drawing passes on after
    // that, for the caller to deal with.
    void draw(const FormState& form, std::int16_t size, QWidget* frame1);

    // Puts the drawing in place among the children of the drive panel frame1,
    // found by object name: the drawing area gets its place and, when it is a
    // QLabel, the picture; the frame's sides become 2-pixel bars along their
    // segments; the scale captions move and take their font size. Missing
    // children are skipped.
    void applyTo(QWidget* frame1) const;

    // The picture as drawn so far, one pixel per pixel of the drawing area.
    const QImage& image() const { return image_; }
    QPixmap pixmap() const { return QPixmap::fromImage(image_); }
    // The drawing area's place in the drive panel, in twips and in pixels.
    QRect pictureTwips() const { return picture_; }
    QRect picturePixels() const;

    struct Segment {
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // twips, in the drive panel
        bool placed = false;
    };
    struct Caption {
        int top = 0, left = 0, fontSize = 0;  // twips, twips, points
        bool placed = false;
    };
    const Segment& frameLine(FrameSide side) const { return lines_[static_cast<size_t>(side)]; }
    const Caption& caption(ScaleMark mark) const { return captions_[static_cast<size_t>(mark)]; }
    // A frame line's bar in pixels: the segment widened to 2 pixels.
    QRect frameLinePixels(FrameSide side) const;

    // UsageGraphCanvas
    void setPictureGeometry(int left, int top, int width, int height) override;
    void movePicture(int left, int top) override;
    void fillBox(int x1, int y1, int x2, int y2, Rgb colour) override;
    void setDrawWidth(int pixels) override { drawWidth_ = pixels; }
    void drawLine(int x1, int y1, int x2, int y2, Rgb colour) override;
    void setFrameLine(FrameSide side, int x1, int y1, int x2, int y2) override;
    void placeCaption(ScaleMark mark, int top, int left, int fontSize) override;

private:
    double dpi_;
    QImage image_;
    QRect picture_;
    int drawWidth_ = 1;
    std::array<Segment, 4> lines_{};     // by FrameSide
    std::array<Caption, 3> captions_{};  // by ScaleMark
};

// The window's controls the graph moves, by the numbers in their object
// names: the frame's sides are Line1, Line3, Line4 and Line5, the scale
// captions Label24 to Label26, the drawing area Picture1.
int frameLineNumber(FrameSide side);
int scaleCaptionNumber(ScaleMark mark);

}  // namespace dorvelix
