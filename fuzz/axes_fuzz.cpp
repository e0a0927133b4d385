// The density axis and the time-axis scales for any size, full scale, view and resolution,
// measured with fonts of any plausible size: ticks and labels stay on their band, in order,
// and few enough to draw.
#include "density_axis.h"
#include "fuzz_check.h"
#include "text_measurer.h"
#include "time_axis_scale.h"

#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// Every character as wide as its font's given width.
class CFixedWidthMeasurer : public ITextMeasurer {
public:
    explicit CFixedWidthMeasurer(FuzzedDataProvider& input) {
        for (Font& font : m_fonts) {
            font.characterWidth = input.ConsumeIntegralInRange(0, 200);
            font.lineHeight = input.ConsumeIntegralInRange(0, 400);
        }
    }
    int TextWidth(std::string_view text, AxisFont font) const override {
        return static_cast<int>(text.size()) * m_fonts[static_cast<int>(font)].characterWidth;
    }
    int LineHeight(AxisFont font) const override { return m_fonts[static_cast<int>(font)].lineHeight; }

private:
    struct Font {
        int characterWidth = 0;
        int lineHeight = 0;
    };
    Font m_fonts[3];
};

void CheckDensityAxis(FuzzedDataProvider& input, const CFixedWidthMeasurer& measure) {
    DensityAxisInputs in;
    in.dpiX = input.ConsumeIntegralInRange(1, 2000);
    const int dpiY = input.ConsumeIntegralInRange(1, 2000);
    in.bands = ComputeAxisBands(input.ConsumeIntegralInRange(0, 400), measure, in.dpiX, dpiY);
    in.panelHeight = input.ConsumeIntegralInRange(0, 20000);
    in.plotHeight = std::max(0, in.panelHeight - in.bands.xAxisHeight);
    in.yScale = input.ConsumeBool() ? input.ConsumeFloatingPoint<double>()
                                    : input.ConsumeFloatingPointInRange(1.0, 999.0);
    const DensityAxis axis = ComputeDensityAxis(in, measure);
    Require(axis.ticks.size() <= 41, "at most 40 steps below the full scale, and one on it");
    Require(std::isfinite(in.yScale) && in.yScale > 0 ? !axis.ticks.empty() : axis.ticks.empty(),
            "ticks for exactly the positive finite full scales");
    int previousY = in.plotHeight + 1;
    double previousValue = -1;
    for (const DensityTick& tick : axis.ticks) {
        Require(tick.value > previousValue && tick.value <= in.yScale,
                "tick values rise up to the full scale");
        Require(tick.y >= 0 && tick.y <= in.plotHeight && tick.y <= previousY, "ticks rise within the plot");
        Require(!tick.label.empty() && tick.length >= 0 &&
                    tick.labelRight == in.bands.yAxisWidth - tick.length,
                "each tick labelled at its end");
        previousValue = tick.value;
        previousY = tick.y;
    }
}

void CheckTimeAxis(FuzzedDataProvider& input, const CFixedWidthMeasurer& measure) {
    const int view = input.ConsumeBool() ? input.ConsumeIntegralInRange(0, 3) : input.ConsumeIntegral<int>();
    const int width =
        input.ConsumeBool() ? input.ConsumeIntegralInRange(-1, 20000) : input.ConsumeIntegral<int>();
    const int dpiY = input.ConsumeIntegralInRange(1, 2000);
    const TimeAxisScale scale = ComputeTimeAxisScale(view, width, dpiY, measure);
    if (width <= 0 || view < 0 || view > 3) {
        Require(scale.ticks.empty() && scale.labels.empty(), "no scale without width or view");
        return;
    }
    Require(!scale.ticks.empty() && scale.ticks.size() <= 100 && scale.labels.size() <= 100,
            "a scale of a few ticks and labels");
    for (const TimeAxisTick& tick : scale.ticks)
        Require(tick.x >= 0 && tick.x < width && tick.length >= 0, "ticks on the scale");
    std::size_t ticksBefore = 0;
    for (const TimeAxisLabel& label : scale.labels) {
        Require(!label.text.empty() && label.x >= 0 && label.x <= width && label.top >= 0,
                "labels on the scale");
        Require(label.ticksBefore >= 0 && static_cast<std::size_t>(label.ticksBefore) >= ticksBefore &&
                    static_cast<std::size_t>(label.ticksBefore) <= scale.ticks.size(),
                "labels in drawing order among the ticks");
        ticksBefore = static_cast<std::size_t>(label.ticksBefore);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const CFixedWidthMeasurer measure(input);
    CheckDensityAxis(input, measure);
    CheckTimeAxis(input, measure);
    return 0;
}
