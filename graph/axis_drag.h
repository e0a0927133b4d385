#pragma once

#include "defaults.h"

// Value of a drag anchor when no drag is in progress.
constexpr int NO_DRAG = 1000000001;

// The drag anchors of the panel after a left press at (x, y): x is kept on the time-axis
// side (x >= yAxisWidth), y always.
struct DragAnchors {
    int dragX = NO_DRAG;
    int dragY = NO_DRAG;
};
DragAnchors AnchorsAfterPress(DragAnchors current, int x, int y, int yAxisWidth);

// New rotation after the pointer moved dx pixels along a plot of the given width: the offset
// plus dx * bins / width, brought into [0, bins). Returns xOffset unchanged when the plot has
// no width or there are no bins.
double DraggedOffset(double xOffset, int dx, int bins, int plotWidth);

// New full scale and anchor after a density-axis move to pointerY. The pointer counts as on
// the plot's last row when below it; the scale is multiplied by
// (H - anchorY) / (H - y') and held in [1, 999]; the anchor becomes y'. A drag that is not on
// the density axis (anchorY is NO_DRAG or not above plotHeight) gets its inputs back unchanged.
struct ScaleDrag {
    double yScale = kDefaultFullScale;
    int anchorY = NO_DRAG;
};
ScaleDrag DraggedScale(double yScale, int anchorY, int pointerY, int plotHeight);

// The keyboard's twins of the drags. The rotation turned by a number of bins (positive turns
// the curve right, as a drag to the right does), brought into [0, bins); and the full scale
// multiplied by a factor (below 1 makes the curve taller, as a drag upwards does), held in
// [1, 999] as the drag holds it.
double TurnedOffset(double xOffset, double turnBins, int bins);
double StretchedScale(double yScale, double factor);
