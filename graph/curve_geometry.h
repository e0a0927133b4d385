#pragma once

#include "defaults.h"

#include <cstdint>
#include <span>
#include <vector>

// One step of a polyline: move without drawing, or draw a line to (x, y) leaving the end pixel out.
struct PathPoint {
    enum class Op : std::uint8_t { MoveTo, LineTo };
    Op op;
    int x;
    int y;
    friend bool operator==(const PathPoint&, const PathPoint&) = default;
};

struct CurveInputs {
    std::span<const std::int32_t> histogram{};        // counts per bin; bins past its end count as empty
    int bins = 0;                                     // the view's bin count
    int width = 0;                                    // plot client width
    int height = 0;                                   // plot client height
    double xOffset = 0.0;                             // rotation in bins
    double yScale = kDefaultFullScale;                // density at the top edge, kept within [1, 999]
    int trackbarPosition = kDefaultAveragingPosition; // averaging position 0..100
    std::int64_t fileCount = 0;                       // N, the density's total
};

// The smoothed density curve: one MoveTo, then LineTo/MoveTo steps; at most two lines.
// The path is cleared first and left empty when the plot has no area (width or height
// <= 0), the file count is 0, the bin count is not positive, the scale is not positive or
// the histogram is empty.
void ComputeCurve(const CurveInputs& inputs, std::vector<PathPoint>& path);
