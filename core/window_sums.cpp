#include "window_sums.h"

int HighestWindowPoint(std::span<const std::int32_t> histogram, int bins, int window) {
    std::int64_t highest = 0;
    std::int64_t most = -1;
    ForEachWindowSum(histogram, bins, window, [&](std::int64_t point, std::int64_t sum) {
        if (sum > most) {
            most = sum;
            highest = point;
        }
    });
    return static_cast<int>(highest);
}
