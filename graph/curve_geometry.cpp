#include "curve_geometry.h"

#include "analysis_period.h"
#include "screen_units.h"
#include "wrap.h"

#include <cmath>

namespace {

class CCurvePlacer {
public:
    CCurvePlacer(const CurveInputs& in, int window)
        : m_bins(in.bins), m_width(in.width), m_height(in.height),
          m_scale(static_cast<double>(in.height) / in.yScale),
          m_shift(PixelShift(in.width, in.xOffset, in.bins)), m_densityDivisor(in.fileCount * window) {}

    // Relative density of a window holding sum files: (sum * B) / (N * n).
    int Y(std::int64_t sum) const {
        const double density = static_cast<double>(sum * m_bins) / static_cast<double>(m_densityDivisor);
        return TruncatedPixel(m_height - std::trunc(density * m_scale));
    }

    int X(std::int64_t point) const { return WrapIndex(point * m_width / m_bins + m_shift, m_width); }

private:
    std::int64_t m_bins;
    int m_width;
    int m_height;
    double m_scale; // pixels per unit of density
    std::int64_t m_shift;
    std::int64_t m_densityDivisor;
};

} // namespace

void ComputeCurve(const CurveInputs& in, std::vector<PathPoint>& path) {
    path.clear();
    const std::int64_t points = static_cast<std::int64_t>(in.histogram.size());
    if (in.width <= 0 || in.height <= 0 || in.fileCount <= 0 || in.bins <= 0 || !(in.yScale > 0.0) ||
        points == 0)
        return;

    const auto count = [&](std::int64_t bin) -> std::int64_t {
        const int wrapped = WrapIndex(bin, in.bins);
        return wrapped < points ? in.histogram[static_cast<std::size_t>(wrapped)] : 0;
    };

    const int window = AveragingWindow(in.trackbarPosition);
    const int half = window / 2;
    const CCurvePlacer place(in, window);

    // Point j sums bins j - half ... j - half + window - 1; the sum runs along with j.
    std::int64_t sum = 0;
    for (std::int64_t i = -half; i < window - half; ++i)
        sum += count(i);

    path.reserve(static_cast<std::size_t>(points));
    int lastX = place.X(0);
    path.push_back({PathPoint::Op::MoveTo, lastX, place.Y(sum)});
    for (std::int64_t j = 1; j < points; ++j) {
        sum += count(j - 1 - half + window) - count(j - 1 - half);
        const int x = place.X(j);
        path.push_back({x < lastX ? PathPoint::Op::MoveTo : PathPoint::Op::LineTo, x, place.Y(sum)});
        lastX = x;
    }
}
