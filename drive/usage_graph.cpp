#include "usage_graph.h"

#include "checked.h"

namespace dorvelix {

namespace {

// 16-bit Integer arithmetic: a result outside -32,768 .. 32,767 is error 6.
std::int16_t i16(long long v)
{
    return narrow<std::int16_t>(v);
}

std::int16_t quotient16(long long a, long long b)
{
    return i16(intDiv(a, b));
}

}  // namespace

GraphSize graphSize(std::int16_t size)
{
    switch (size) {
    case 1:
        return {3600, 400};
    case 2:
        return {2700, 300};
    case 3:
        return {2248, 248};
    default:
        return {0, 0};
    }
}

void paintUsageGraph(const FormState& form, std::int16_t size, UsageGraphCanvas& canvas)
{
    const auto [W, H] = graphSize(size);
    const std::int16_t L = form.graphLeft;
    const std::int16_t T = form.graphTop;

    canvas.setPictureGeometry(L, T, W, H);

    // Every call starts from a white area, wiping the previous drawing.
    canvas.fillBox(0, 0, W, H, colour::White);

    if (form.totalClusterCount > 0) {
        // The used part, in single precision as the figures have always been
        // drawn, rounded halves to even.
        const float total = static_cast<float>(form.totalClusterCount);
        const float freeShare = divide(static_cast<float>(form.freeClusterCount), total);
        const float used = (1.0f - freeShare) * static_cast<float>(W);
        const std::int16_t U = toInteger<std::int16_t>(used);
        canvas.fillBox(0, 0, U, H, colour::Yellow);

        // The searched tree's share ends where the used part ends and grows
        // leftwards over it.
        if (form.treeClusterCount > 0) {
            const float product = static_cast<float>(form.treeClusterCount) * static_cast<float>(W);
            const std::int16_t R = toInteger<std::int16_t>(divide(product, total));
            canvas.fillBox(i16(U - R), 0, U, H, colour::Red);
        }
    }

    canvas.setDrawWidth(2);

    // Nine short ticks, a tenth of the height long.
    const std::int16_t S = quotient16(W, 10);
    const std::int16_t shortTop = quotient16(i16(H * 9LL), 10);
    const std::int16_t lastTick = i16(W - 10LL);
    if (S > 0) {
        for (std::int16_t x = S; x <= lastTick; x = i16(x + static_cast<long long>(S)))
            canvas.drawLine(x, shortTop, x, H, colour::Black);
    }

    // The 0 %, 50 % and 100 % marks, a fifth of the height long.
    const std::int16_t longTop = quotient16(i16(H * 8LL), 10);
    const std::int16_t middle = quotient16(W, 2);
    canvas.drawLine(0, longTop, 0, H, colour::Black);
    canvas.drawLine(middle, longTop, middle, H, colour::Black);
    canvas.drawLine(W, longTop, W, H, colour::Black);

    canvas.movePicture(L, T);

    // The frame, 50 twips outside the drawing area on every side.
    const std::int16_t left = i16(L - 50LL);
    const std::int16_t top = i16(T - 50LL);
    const std::int16_t right = i16(i16(L + static_cast<long long>(W)) + 50LL);
    const std::int16_t bottom = i16(i16(T + static_cast<long long>(H)) + 50LL);
    canvas.setFrameLine(FrameSide::Left, left, top, left, bottom);
    canvas.setFrameLine(FrameSide::Top, left, top, right, top);
    canvas.setFrameLine(FrameSide::Right, right, top, right, bottom);
    canvas.setFrameLine(FrameSide::Bottom, left, bottom, right, bottom);

    // The scale captions, centred under their marks, one point smaller than
    // the panel's text.
    const std::int16_t captionTop = i16(i16(T + static_cast<long long>(H)) + 62LL);
    const std::int16_t captionFont = i16(form.textFontSize - 1LL);
    canvas.placeCaption(ScaleMark::Zero, captionTop, i16(L - 300LL), captionFont);
    canvas.placeCaption(ScaleMark::Half, captionTop, i16(i16(L + static_cast<long long>(middle)) - 300LL), captionFont);
    canvas.placeCaption(ScaleMark::Full, captionTop, i16(i16(L + static_cast<long long>(W)) - 300LL), captionFont);
}

}  // namespace dorvelix
