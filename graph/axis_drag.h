#pragma once

#include <string>

// Value of a drag anchor when no drag is in progress.
constexpr int NO_DRAG = 1000000001;

// The drag anchors of the panel after a left press at (x, y).
struct DragAnchors {
    int dragX = NO_DRAG;
    int dragY = NO_DRAG;
};
DragAnchors AnchorsAfterPress(DragAnchors current, int x, int y, int yAxisWidth);

// New rotation after the pointer moved dx pixels along a plot of the given width; in [0, bins).
double DraggedOffset(double xOffset, int dx, int bins, int plotWidth);

// New full scale and anchor after a density-axis move to pointerY; scale held in [1, 999].
struct ScaleDrag {
    double yScale = 6.5;
    int anchorY = NO_DRAG;
};
ScaleDrag DraggedScale(double yScale, int anchorY, int pointerY, int plotHeight);
