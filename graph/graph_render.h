#pragma once

#include "period_histograms.h"

#include <QImage>
#include <QSize>

class CStampStore;

// What a picture of the graph shows, besides the store.
struct GraphPicture {
    QSize size{800, 500};
    int view = 0;
    int averagingPosition = 50;
    double xOffset = 0.0;
    double yScale = 6.5;
    CountRule countRule = CountRule::Files;
};

// Paints the graph panel of the store exactly as the window would at that size, off screen.
// Needs a QApplication; works on the offscreen platform.
QImage RenderGraph(const CStampStore& store, const GraphPicture& picture);
