#pragma once

#include "defaults.h"
#include "period_histograms.h"

#include <QImage>
#include <QSize>

class CStampStore;

// What a picture of the graph shows, besides the store.
struct GraphPicture {
    QSize size{kDefaultPictureWidth, kDefaultPictureHeight};
    int view = 0;
    int averagingPosition = kDefaultAveragingPosition;
    double xOffset = 0.0;
    double yScale = kDefaultFullScale;
    CountRule countRule = CountRule::Files;
};

// Paints the graph panel of the store exactly as the window would at that size, off screen.
// Needs a QApplication; works on the offscreen platform.
QImage RenderGraph(const CStampStore& store, const GraphPicture& picture);
