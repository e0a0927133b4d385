#include "wrap.h"

#include <cmath>

int WrapIndex(std::int64_t a, int n) {
    const std::int64_t r = a % n;
    return static_cast<int>(r < 0 ? r + n : r);
}

double WrapOffset(double x, int n) {
    // Below -n each addition of n is exact (for |x| < 2^53), so the repeated additions reach
    // fmod(x, n); only the last one, which crosses zero, rounds, as it does here.
    if (x < 0.0)
        x = std::fmod(x, n) + n;
    return std::fmod(x, n);
}

std::int64_t PixelShift(int width, double xOffset, int bins) {
    if (bins <= 0 || width == 0)
        return 0;
    const double shift = std::trunc(width * xOffset / bins);
    if (!std::isfinite(shift))
        return 0;
    // The shift only counts modulo the width; fmod is exact, so a shift too large for an
    // integer keeps the columns it stands for.
    constexpr double kLargest = 1e18;
    return static_cast<std::int64_t>(std::abs(shift) < kLargest ? shift : std::fmod(shift, width));
}
