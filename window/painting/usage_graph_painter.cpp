#include "usage_graph_painter.h"

#include "runtime_error.h"

#include <QColor>
#include <QLabel>
#include <QPainter>
#include <QPen>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <exception>

namespace dorvelix {

namespace {

QColor toQColor(Rgb c)
{
    return QColor(c.red, c.green, c.blue);
}


}  // namespace

int UsageGraphPainter::toPixels(int twips) const
{
    return static_cast<int>(std::lround(twips * dpi_ / 1440.0));
}

QRect UsageGraphPainter::picturePixels() const
{
    return {toPixels(picture_.left()), toPixels(picture_.top()), toPixels(picture_.width()),
            toPixels(picture_.height())};
}

void UsageGraphPainter::setPictureGeometry(int left, int top, int width, int height)
{
    picture_ = QRect(left, top, std::max(width, 0), std::max(height, 0));
    const QSize pixels(toPixels(picture_.width()), toPixels(picture_.height()));
    if (image_.size() != pixels) {
        image_ = pixels.isEmpty() ? QImage() : QImage(pixels, QImage::Format_RGB32);
        image_.fill(Qt::white);
    }
}

void UsageGraphPainter::movePicture(int left, int top)
{
    picture_.moveTo(left, top);
}

void UsageGraphPainter::fillBox(int x1, int y1, int x2, int y2, Rgb colour)
{
    if (image_.isNull())
        return;
    const int left = toPixels(std::min(x1, x2));
    const int right = toPixels(std::max(x1, x2));
    const int top = toPixels(std::min(y1, y2));
    const int bottom = toPixels(std::max(y1, y2));
    QPainter p(&image_);
    p.fillRect(QRect(left, top, right - left, bottom - top), toQColor(colour));
}

void UsageGraphPainter::drawLine(int x1, int y1, int x2, int y2, Rgb colour)
{
    if (image_.isNull())
        return;
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(toQColor(colour), std::max(drawWidth_, 1), Qt::SolidLine, Qt::FlatCap));
    p.drawLine(toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2));
}

void UsageGraphPainter::setFrameLine(FrameSide side, int x1, int y1, int x2, int y2)
{
    lines_[static_cast<size_t>(side)] = {x1, y1, x2, y2, true};
}

void UsageGraphPainter::placeCaption(ScaleMark mark, int top, int left, int fontSize)
{
    captions_[static_cast<size_t>(mark)] = {top, left, fontSize, true};
}

QRect UsageGraphPainter::frameLinePixels(FrameSide side) const
{
    const Segment& s = frameLine(side);
    // A 2-pixel bar centred on the segment; the bars of a corner overlap, so
    // the frame is closed.
    const int left = toPixels(std::min(s.x1, s.x2)) - 1;
    const int right = toPixels(std::max(s.x1, s.x2)) + 1;
    const int top = toPixels(std::min(s.y1, s.y2)) - 1;
    const int bottom = toPixels(std::max(s.y1, s.y2)) + 1;
    return {left, top, right - left, bottom - top};
}

void UsageGraphPainter::draw(const FormState& form, std::int16_t size, QWidget* frame1)
{
    std::exception_ptr failure;
    try {
        paintUsageGraph(form, size, *this);
    } catch (const RuntimeError&) {
        failure = std::current_exception();
    }
    if (frame1)
        applyTo(frame1);
    if (failure)
        std::rethrow_exception(failure);
}

void UsageGraphPainter::applyTo(QWidget* frame1) const
{
    if (auto* picture = frame1->findChild<QWidget*>(QStringLiteral("Picture1"))) {
        picture->setGeometry(picturePixels());
        if (auto* label = qobject_cast<QLabel*>(picture))
            label->setPixmap(pixmap());
        else
            picture->update();
    }
    for (const FrameSide side : FrameSides) {
        if (!frameLine(side).placed)
            continue;
        if (auto* line = frame1->findChild<QWidget*>(QStringLiteral("Line%1").arg(frameLineNumber(side))))
            line->setGeometry(frameLinePixels(side));
    }
    for (const ScaleMark mark : ScaleMarks) {
        const Caption& c = caption(mark);
        if (!c.placed)
            continue;
        auto* label = frame1->findChild<QWidget*>(QStringLiteral("Label%1").arg(scaleCaptionNumber(mark)));
        if (!label)
            continue;
        label->move(toPixels(c.left), toPixels(c.top));
        if (c.fontSize > 0) {
            QFont font = label->font();
            font.setPointSize(c.fontSize);
            label->setFont(font);
        }
    }
}

int frameLineNumber(FrameSide side)
{
    constexpr int numbers[] = {1, 3, 4, 5};
    return numbers[static_cast<size_t>(side)];
}

int scaleCaptionNumber(ScaleMark mark)
{
    return 24 + static_cast<int>(mark);
}

}  // namespace dorvelix
