#pragma once

#include <limits>

// A pixel coordinate from a real one: truncated toward zero and held within the range of int,
// so a curve far off the plot still gives coordinates the painter clips; NaN gives 0.
inline int TruncatedPixel(double value) {
    constexpr double kLowest = std::numeric_limits<int>::min();
    constexpr double kHighest = std::numeric_limits<int>::max();
    if (!(value > kLowest))
        return value < 0 ? std::numeric_limits<int>::min() : 0;
    return value < kHighest ? static_cast<int>(value) : std::numeric_limits<int>::max();
}

// Millimetres to whole pixels at a resolution: dpi * (mm * 1000) / 25400, truncated.
// Each length is converted on its own before lengths are added.
constexpr int MillimetresToPixels(int millimetres, int dotsPerInch) {
    return dotsPerInch * (millimetres * 1000) / 25400;
}

// Pixel height of a font asked for in tenths of a point: dpi * tenths / 720, truncated.
constexpr int PointTenthsToPixels(int tenthsOfPoint, int dotsPerInch) {
    return dotsPerInch * tenthsOfPoint / 720;
}
