#pragma once

#include <QPoint>
#include <QRect>
#include <vector>

// Which pixels a one-pixel line covers: pure arithmetic on plain points, for the painter adapter.

// The pixels of a one-pixel line from (x0, y0) towards (x1, y1): the start pixel included, the
// end pixel left out, one pixel per step along the longer axis (Bresenham).
void LinePixels(QPoint from, QPoint to, std::vector<QPoint>& pixels);

// The same line's pixels that lie inside area, each exactly where LinePixels puts it, found
// without stepping through the part of the line outside area.
void ClippedLinePixels(QPoint from, QPoint to, const QRect& area, std::vector<QPoint>& pixels);
