#pragma once

// Millimetres to whole pixels at a resolution: dpi * (mm * 1000) / 25400, truncated.
// Each length is converted on its own before lengths are added.
constexpr int MillimetresToPixels(int millimetres, int dotsPerInch) {
    return dotsPerInch * (millimetres * 1000) / 25400;
}

// Pixel height of a font asked for in tenths of a point: dpi * tenths / 720, truncated.
constexpr int PointTenthsToPixels(int tenthsOfPoint, int dotsPerInch) {
    return dotsPerInch * tenthsOfPoint / 720;
}
