#include "curve_geometry.h"

#include "analysis_period.h"
#include "screen_units.h"
#include "window_sums.h"
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
    if (in.width <= 0 || in.height <= 0 || in.fileCount <= 0 || in.bins <= 0 || !(in.yScale > 0.0) ||
        in.histogram.empty())
        return;

    const int window = AveragingWindow(in.trackbarPosition);
    const CCurvePlacer place(in, window);
    path.reserve(in.histogram.size());
    int lastX = 0;
    ForEachWindowSum(in.histogram, in.bins, window, [&](std::int64_t j, std::int64_t sum) {
        const int x = place.X(j);
        const bool wrapped = j > 0 && x < lastX;
        path.push_back({j == 0 || wrapped ? PathPoint::Op::MoveTo : PathPoint::Op::LineTo, x, place.Y(sum)});
        lastX = x;
    });
}
