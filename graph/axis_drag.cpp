#include "axis_drag.h"

#include "wrap.h"

#include <algorithm>
#include <cstdint>

DragAnchors AnchorsAfterPress(DragAnchors current, int x, int y, int yAxisWidth) {
    if (x >= yAxisWidth)
        current.dragX = x;
    current.dragY = y;
    return current;
}

double DraggedOffset(double xOffset, int dx, int bins, int plotWidth) {
    if (plotWidth <= 0 || bins <= 0)
        return xOffset;
    const std::int64_t turned = static_cast<std::int64_t>(dx) * bins;
    return WrapOffset(xOffset + static_cast<double>(turned) / plotWidth, bins);
}

namespace {

double HeldFullScale(double scale) {
    if (scale <= kSmallestFullScale)
        scale = kSmallestFullScale;
    if (scale >= kLargestFullScale)
        scale = kLargestFullScale;
    return scale;
}

} // namespace

ScaleDrag DraggedScale(double yScale, int anchorY, int pointerY, int plotHeight) {
    if (anchorY == NO_DRAG || anchorY >= plotHeight)
        return {yScale, anchorY};
    const int pointer = std::min(pointerY, plotHeight - 1);
    // Heights above the bottom edge; the pointer's is at least 1, the anchor's too.
    const std::int64_t pressedHeight = static_cast<std::int64_t>(plotHeight) - anchorY;
    const std::int64_t pointerHeight = static_cast<std::int64_t>(plotHeight) - pointer;
    return {HeldFullScale(yScale * (static_cast<double>(pressedHeight) / static_cast<double>(pointerHeight))),
            pointer};
}

double TurnedOffset(double xOffset, double turnBins, int bins) {
    return bins > 0 ? WrapOffset(xOffset + turnBins, bins) : xOffset;
}

double StretchedScale(double yScale, double factor) {
    return HeldFullScale(yScale * factor);
}
