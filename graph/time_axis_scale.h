#pragma once

#include "text_measurer.h"

#include <string>
#include <vector>

struct TimeAxisTick {
    int x = 0;      // scale column
    int length = 0; // pixels down from the top row
};

struct TimeAxisLabel {
    int x = 0;   // centre
    int top = 0; // top row
    AxisFont font = AxisFont::Large;
    std::string text;
};

// The unshifted scale of one view over a width w: ticks and labels in drawing order.
struct TimeAxisScale {
    std::vector<TimeAxisTick> ticks;
    std::vector<TimeAxisLabel> labels;
};
TimeAxisScale ComputeTimeAxisScale(int view, int width, int dpiY, const ITextMeasurer& measure);

// Week-day name cut to what the width allows ("Thurs" -> "Thur" -> "Thu" ...).
std::string CutDayName(const std::string& name, int width, int wWidth);
