#include "treemap_layout.h"

#include <QRect>
#include <algorithm>
#include <cmath>

namespace dorvelix {

namespace {

// The least square of a row's tiles laid along side: the worst ratio of
// longer to shorter edge among them (1 for squares, larger the thinner).
double worstRatio(double rowArea, double largest, double smallest, double side)
{
    const double side2 = side * side;
    const double area2 = rowArea * rowArea;
    return std::max(side2 * largest / area2, area2 / (side2 * smallest));
}

}  // namespace

std::vector<QRectF> squarifiedLayout(const std::vector<double>& weights, const QRectF& area)
{
    std::vector<QRectF> tiles(weights.size(), QRectF(area.topLeft(), QSizeF(0, 0)));
    std::vector<size_t> order;
    double total = 0;
    for (size_t i = 0; i < weights.size(); ++i) {
        if (weights[i] > 0) {
            order.push_back(i);
            total += weights[i];
        }
    }
    if (order.empty() || area.width() <= 0 || area.height() <= 0)
        return tiles;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return weights[a] > weights[b]; });
    const double scale = area.width() * area.height() / total;

    // The part of the rectangle not yet tiled, by its edges, so that the
    // last row ends exactly on the rectangle's far edge.
    double left = area.left(), top = area.top();
    const double right = area.right(), bottom = area.bottom();
    size_t next = 0;
    while (next < order.size()) {
        const double width = right - left, height = bottom - top;
        const bool column = width >= height;  // the row runs down the left side
        const double side = column ? height : width;
        // Grow the row while that makes its worst tile squarer.
        size_t end = next + 1;
        double rowArea = weights[order[next]] * scale;
        while (end < order.size()) {
            const double with = rowArea + weights[order[end]] * scale;
            const double largest = weights[order[next]] * scale;
            if (worstRatio(with, largest, weights[order[end]] * scale, side)
                > worstRatio(rowArea, largest, weights[order[end - 1]] * scale, side))
                break;
            rowArea = with;
            ++end;
        }
        const bool last = end == order.size();
        // The row's depth across the rectangle; the last row takes what is left.
        double depth = rowArea / side;
        if (last)
            depth = column ? width : height;
        double along = column ? top : left;
        double done = 0;
        for (size_t k = next; k < end; ++k) {
            done += weights[order[k]] * scale;
            // Cumulative ends, the row's last one on the far edge exactly.
            const double to = k + 1 == end ? (column ? bottom : right) : (column ? top : left) + done / depth;
            tiles[order[k]] = column ? QRectF(QPointF(left, along), QPointF(left + depth, to))
                                     : QRectF(QPointF(along, top), QPointF(to, top + depth));
            along = to;
        }
        if (column)
            left = last ? right : left + depth;
        else
            top = last ? bottom : top + depth;
        next = end;
    }
    return tiles;
}

QRect pixelTile(const QRectF& tile)
{
    const int l = static_cast<int>(std::lround(tile.left())), t = static_cast<int>(std::lround(tile.top()));
    const int r = static_cast<int>(std::lround(tile.right())), b = static_cast<int>(std::lround(tile.bottom()));
    return QRect(l, t, r - l, b - t);
}

}  // namespace dorvelix
