// A treemap's tiles: weighted items placed in a rectangle as tiles whose
// areas are in proportion to their weights, filling it without overlap, each
// as near a square as the squarified method finds (the largest first, rows
// along the rectangle's shorter side while they make the tiles squarer).
#pragma once

#include <QRectF>
#include <vector>

namespace dorvelix {

// One rectangle per weight, in the order given; an item of no weight (zero
// or less) gets an empty rectangle and no place. The tiles of the others
// fill area: a tile's area is its weight's share of the total times area's.
std::vector<QRectF> squarifiedLayout(const std::vector<double>& weights, const QRectF& area);

// A tile's rectangle as whole pixels: each edge rounded, so that tiles
// sharing an edge share it in pixels as well, with neither gap nor overlap.
QRect pixelTile(const QRectF& tile);

}  // namespace dorvelix
