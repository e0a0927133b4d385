#include "density_axis.h"

#include "axis_drag.h"
#include "c_locale_format.h"
#include "screen_units.h"

#include <algorithm>
#include <cmath>

namespace {

std::string FormatG(double value) {
    return FormatInCLocale("%g", value);
}

double DistanceToInteger(double q) {
    return std::min(std::ceil(q) - q, q - std::floor(q));
}

// Every fifth tick is long for steps of b and 2b, every second one for 5b.
bool IsLongTick(double value, const TickStep& step) {
    if (step.kind == TickStepKind::Five)
        return DistanceToInteger(value / (2 * step.step)) < 0.25;
    return DistanceToInteger(value / (5 * step.step)) < 0.1;
}

// The widest number the axis can carry is that of the largest full scale: its width is reserved.
std::string WidestNumber() {
    return FormatG(kLargestFullScale);
}

} // namespace

AxisBands ComputeAxisBands(int defaultFontHeight, const ITextMeasurer& measure, int dpiX, int dpiY) {
    AxisBands bands;
    bands.xAxisHeight = defaultFontHeight + MillimetresToPixels(8, dpiY);
    bands.yAxisWidth = MillimetresToPixels(5, dpiX) + MillimetresToPixels(3, dpiX) +
                       measure.TextWidth(WidestNumber(), AxisFont::Vertical) +
                       measure.LineHeight(AxisFont::Vertical);
    return bands;
}

TickStep DensityTickStep(double fullScale) {
    const double b = std::pow(10.0, std::floor(std::log10(fullScale * 0.125)));
    if (fullScale / (5 * b) >= 8)
        return {5 * b, TickStepKind::Five};
    if (fullScale / (2 * b) >= 8)
        return {2 * b, TickStepKind::Two};
    return {b, TickStepKind::One};
}

DensityAxis ComputeDensityAxis(const DensityAxisInputs& in, const ITextMeasurer& measure) {
    const int yAxisWidth = in.bands.yAxisWidth;
    const int bandBottom = in.panelHeight - in.bands.xAxisHeight;
    DensityAxis axis;
    axis.lineX = yAxisWidth - 1;
    axis.lineEndY = bandBottom;

    const double fullScale = in.yScale;
    const TickStep step = DensityTickStep(fullScale);
    if (std::isfinite(fullScale) && fullScale > 0 && step.step > 0) {
        const int smallOffset = measure.LineHeight(AxisFont::Small) / 2;
        const int largeOffset = measure.LineHeight(AxisFont::Large) / 2;
        const int smallLength = MillimetresToPixels(2, in.dpiX);
        const int largeLength = MillimetresToPixels(5, in.dpiX);
        const double height = in.plotHeight;
        // The value is accumulated, so rounding can add a last tick at the full scale itself.
        for (double v = 0; v < fullScale; v += step.step) {
            DensityTick tick;
            tick.value = v;
            // Divided first only where the product would overflow (full scales near the largest double).
            const double product = height * v;
            const double drop = std::isfinite(product) ? product / fullScale : height * (v / fullScale);
            tick.y = static_cast<int>(std::trunc(height - drop));
            tick.isLong = IsLongTick(v, step);
            tick.length = tick.isLong ? largeLength : smallLength;
            tick.label = FormatG(v);
            tick.labelRight = yAxisWidth - tick.length;
            tick.labelTop = tick.y - (tick.isLong ? largeOffset : smallOffset);
            axis.ticks.push_back(std::move(tick));
        }
    }

    const int numbersWidth = measure.TextWidth(WidestNumber(), AxisFont::Vertical);
    axis.titleFits = measure.TextWidth(kDensityAxisTitle, AxisFont::Vertical) <
                     bandBottom - MillimetresToPixels(2, in.dpiX);
    axis.titleRight =
        yAxisWidth - MillimetresToPixels(5, in.dpiX) - MillimetresToPixels(1, in.dpiX) - numbersWidth;
    axis.titleMiddleY = bandBottom / 2;
    return axis;
}
