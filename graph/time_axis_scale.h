#pragma once

#include "text_measurer.h"

#include <string>
#include <vector>

// Scale x runs from 0 at the plot's left edge to w at its right edge; y from the band's top
// row down. Besides these, the axis line runs along row 0 across the whole band.

struct TimeAxisTick {
    int x = 0;      // scale column
    int length = 0; // pixels down from the top row; the tick covers rows 0 .. length - 1
    friend bool operator==(const TimeAxisTick&, const TimeAxisTick&) = default;
};

struct TimeAxisLabel {
    int x = 0;   // centre
    int top = 0; // top row
    AxisFont font = AxisFont::Large;
    std::string text;
    // How many ticks are drawn before this label: the rows interleave ticks and labels, and a
    // label's opaque box covers what was drawn before it.
    int ticksBefore = 0;
};

// The unshifted scale of one view over a width w: ticks and labels in drawing order. Ticks at
// the period's closing end (x = w) are left out: that column lies past the scale and never
// shows, x = 0 stands for both ends. Labels with no text are left out too. Empty for a view
// outside 0..3 or a width of 0 or less.
struct TimeAxisScale {
    std::vector<TimeAxisTick> ticks;
    std::vector<TimeAxisLabel> labels;
};
TimeAxisScale ComputeTimeAxisScale(int view, int width, int dpiY, const ITextMeasurer& measure);

// Week-day name cut to what the width allows, counting every character as wide as a "W":
// at most trunc(width / (7 * wWidth * 1.2)) characters ("Thurs" -> "Thur" -> "Thu" ...).
std::string CutDayName(const std::string& name, int width, int wWidth);
