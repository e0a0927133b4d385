#pragma once

#include "defaults.h"
#include "text_measurer.h"

#include <string>
#include <vector>

// The title written upward along the density axis.
constexpr const char* kDensityAxisTitle = "Probability";

// Band sizes of the panel, from the resolution, the default font and the vertical axis font.
struct AxisBands {
    int xAxisHeight = 0; // time-axis band: default font height + 8 mm
    int yAxisWidth = 0;  // density-axis band: 5 mm + 3 mm + width("999") + title line height
};
AxisBands ComputeAxisBands(int defaultFontHeight, const ITextMeasurer& measure, int dpiX, int dpiY);

// How the tick step relates to b, the largest power of ten not above S / 8.
enum class TickStepKind { One, Two, Five };
struct TickStep {
    double step = 0.0;
    TickStepKind kind = TickStepKind::One;
};
// Largest of 5b, 2b and b that still gives at least 8 steps over the full scale.
TickStep DensityTickStep(double fullScale);

struct DensityTick {
    double value = 0.0;
    int y = 0; // panel row of the tick
    bool isLong = false;
    int length = 0;     // pixels; the tick runs from (lineX, y) to (labelRight, y), end excluded
    std::string label;  // "%g" of the value, in the large font on long ticks, the small one otherwise
    int labelRight = 0; // right edge of the label (TA_RIGHT): yAxisWidth - length
    int labelTop = 0;
};

struct DensityAxis {
    int lineX = 0; // axis line from (lineX, 0) to (lineX, lineEndY), end pixel excluded
    int lineEndY = 0;
    std::vector<DensityTick> ticks; // from 0 upwards
    bool titleFits = false;
    int titleRight = 0; // right edge of the upward title's line
    int titleMiddleY = 0;
};

struct DensityAxisInputs {
    double yScale = kDefaultFullScale;
    int panelHeight = 0;
    int plotHeight = 0;
    AxisBands bands;
    int dpiX = 96;
};
// The axis for a full scale; no ticks unless the full scale is a positive finite number.
DensityAxis ComputeDensityAxis(const DensityAxisInputs& inputs, const ITextMeasurer& measure);
