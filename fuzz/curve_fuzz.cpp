// The curve for any histogram of a view, plot size (up to 10,000 a side), offset, scale and averaging
// position: every point inside the plot's columns and between the top a density of B / n can
// reach and the bottom row, and at most two lines.
#include "analysis_period.h"
#include "curve_geometry.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    CurveInputs in;
    in.bins =
        input.ConsumeBool() ? input.PickValueInArray(kViews).bins : input.ConsumeIntegralInRange(-2, 3000);
    in.width = input.ConsumeIntegralInRange(-1, 10000);
    in.height = input.ConsumeIntegralInRange(-1, 10000);
    in.xOffset = input.ConsumeBool() ? input.ConsumeFloatingPoint<double>()
                                     : input.ConsumeFloatingPointInRange(-1e6, 1e6);
    in.yScale = input.ConsumeBool() ? input.ConsumeFloatingPoint<double>()
                                    : input.ConsumeFloatingPointInRange(1.0, 999.0);
    in.trackbarPosition = input.ConsumeIntegralInRange(-5, 105);
    const std::int64_t unbinned = input.ConsumeIntegralInRange<std::int64_t>(0, 1000);

    // A view's histogram: its bin count of entries after a rebuild, none before the first.
    std::vector<std::int32_t> histogram(
        input.ConsumeIntegralInRange<std::size_t>(0, static_cast<std::size_t>(std::max(in.bins, 0))));
    std::int64_t total = 0;
    for (std::int32_t& count : histogram) {
        count = input.ConsumeIntegralInRange<std::int32_t>(0, INT32_MAX);
        total += count;
    }
    in.histogram = histogram;
    in.fileCount = total + unbinned;

    std::vector<PathPoint> path;
    ComputeCurve(in, path);
    if (path.empty())
        return 0;
    Require(in.width > 0 && in.height > 0 && in.bins > 0 && in.fileCount > 0,
            "a curve only for a plot with area");
    Require(path.size() == histogram.size(), "one point per bin");
    Require(path.front().op == PathPoint::Op::MoveTo, "the curve starts with a move");

    // The densest window holds every file, each bin counted once in a window narrower than
    // the period: at most B / n, n being the window's width.
    const int window = std::max(1, 2 * in.trackbarPosition);
    const int laps = (window + in.bins - 1) / in.bins;
    const double highest =
        std::ceil(static_cast<double>(in.bins) * laps / window * in.height / in.yScale) + 1;
    int moves = 0;
    for (const PathPoint& point : path) {
        moves += point.op == PathPoint::Op::MoveTo;
        Require(point.x >= 0 && point.x < in.width, "x within the plot's columns");
        Require(point.y <= in.height, "no density below 0");
        Require(!(std::isfinite(in.yScale) && in.yScale >= 1.0) || point.y >= in.height - highest,
                "no density above B / n");
    }
    Require(moves <= 2, "at most two lines");
    return 0;
}
