#pragma once

#include "text_measurer.h"

#include <string>
#include <vector>

// Band sizes of the panel, from the resolution, the default font and the vertical axis font.
struct AxisBands {
    int xAxisHeight = 0; // time-axis band
    int yAxisWidth = 0;  // density-axis band
};
AxisBands ComputeAxisBands(int defaultFontHeight, const ITextMeasurer& measure, int dpiX, int dpiY);

// Largest of 5b, 2b and b (b the power of ten not above S / 8) that gives at least 8 steps.
double DensityTickStep(double fullScale);

struct DensityTick {
    double value = 0.0;
    int y = 0;          // panel row of the tick
    bool isLong = false;
    int length = 0;     // pixels, leftwards from the axis line
    std::string label;  // "%g" of the value
    int labelRight = 0; // right edge of the label (TA_RIGHT)
    int labelTop = 0;
};

struct DensityAxis {
    int lineX = 0;      // axis line from (lineX, 0) to (lineX, lineEndY), end pixel excluded
    int lineEndY = 0;
    std::vector<DensityTick> ticks;
    bool titleFits = false;
    int titleRight = 0; // right edge of the upward title's line
    int titleMiddleY = 0;
};

struct DensityAxisInputs {
    double yScale = 6.5;
    int panelHeight = 0;
    int plotHeight = 0;
    AxisBands bands;
    int dpiX = 96;
};
DensityAxis ComputeDensityAxis(const DensityAxisInputs& inputs, const ITextMeasurer& measure);
