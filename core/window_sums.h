#pragma once

#include "wrap.h"

#include <cstdint>
#include <span>

// The running sums of the averaging window along a period: for point j = 0 .. size - 1 the sum of
// the counts of bins j - window / 2 .. j - window / 2 + window - 1, each index wrapped into
// [0, bins) and bins past the histogram's end counting as empty. visit(j, sum) is called for
// every point in order. The sum runs along with j, so the cost does not depend on the window.
// The curve and the report's busiest smoothed time both walk the period through this.
template <typename Visit>
void ForEachWindowSum(std::span<const std::int32_t> histogram, int bins, int window, Visit&& visit) {
    const std::int64_t points = static_cast<std::int64_t>(histogram.size());
    if (bins <= 0 || points == 0)
        return;
    const auto count = [&](std::int64_t bin) -> std::int64_t {
        const int wrapped = WrapIndex(bin, bins);
        return wrapped < points ? histogram[static_cast<std::size_t>(wrapped)] : 0;
    };
    const int half = window / 2;
    std::int64_t sum = 0;
    for (std::int64_t i = -half; i < window - half; ++i)
        sum += count(i);
    visit(std::int64_t{0}, sum);
    for (std::int64_t j = 1; j < points; ++j) {
        sum += count(j - 1 - half + window) - count(j - 1 - half);
        visit(j, sum);
    }
}

// The first point whose window holds the most files: the highest point of the curve averaged
// over that window (with a window of 1, the busiest single bin). 0 for an empty histogram.
int HighestWindowPoint(std::span<const std::int32_t> histogram, int bins, int window);
