#include "line_pixels.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

std::int64_t CeilDiv(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t quotient = numerator / denominator;
    return quotient + ((numerator % denominator != 0 && numerator > 0) ? 1 : 0);
}

// Bresenham's stepping of one line, able to start at any step: the error term after i steps
// has a closed form, so a clipped line starts where it enters the area.
class LineStepper {
public:
    LineStepper(QPoint from, QPoint to)
        : m_from(from), m_dx(std::abs(to.x() - from.x())), m_dy(std::abs(to.y() - from.y())),
          m_stepX(to.x() < from.x() ? -1 : 1), m_stepY(to.y() < from.y() ? -1 : 1), m_xMajor(m_dx > m_dy),
          m_startError((m_xMajor ? m_dx : -m_dy) / 2) {}

    std::int64_t Steps() const { return std::max(m_dx, m_dy); }

    // Pixel of step i (0 <= i < Steps()).
    QPoint At(std::int64_t i) const {
        const std::int64_t minor = MinorSteps(i);
        return {static_cast<int>(m_from.x() + m_stepX * (m_xMajor ? i : minor)),
                static_cast<int>(m_from.y() + m_stepY * (m_xMajor ? minor : i))};
    }

    // First step whose pixel lies in area, and the step after the last one; first >= last when none.
    std::pair<std::int64_t, std::int64_t> StepsInside(const QRect& area) const {
        const auto [majorFrom, majorTo] = m_xMajor
                                              ? AlongAxis(m_from.x(), m_stepX, area.left(), area.right())
                                              : AlongAxis(m_from.y(), m_stepY, area.top(), area.bottom());
        const auto [minorLow, minorHigh] = m_xMajor
                                               ? AlongAxis(m_from.y(), m_stepY, area.top(), area.bottom())
                                               : AlongAxis(m_from.x(), m_stepX, area.left(), area.right());
        // The minor axis advances monotonically with the steps: find where it enters and leaves.
        const std::int64_t first = std::max(majorFrom, FirstStepWithMinorAtLeast(minorLow));
        const std::int64_t last = std::min(majorTo, FirstStepWithMinorAtLeast(minorHigh));
        return {first, last};
    }

    // Appends the pixels of steps first .. last - 1, stepping as Bresenham does from step first on.
    void Append(std::int64_t first, std::int64_t last, std::vector<QPoint>& pixels) const {
        if (first >= last)
            return;
        const std::int64_t minor = MinorSteps(first);
        QPoint at = At(first);
        std::int64_t error = m_xMajor ? m_startError - first * m_dy + minor * m_dx
                                      : m_startError + first * m_dx - minor * m_dy;
        for (std::int64_t i = first; i < last; ++i) {
            pixels.push_back(at);
            const std::int64_t before = error;
            if (before > -m_dx) {
                error -= m_dy;
                at.rx() += m_stepX;
            }
            if (before < m_dy) {
                error += m_dx;
                at.ry() += m_stepY;
            }
        }
    }

private:
    // Steps taken along the shorter axis before step i.
    std::int64_t MinorSteps(std::int64_t i) const {
        return m_xMajor ? CeilDiv(i * m_dy - m_startError, m_dx) : CeilDiv(i * m_dx + m_startError, m_dy);
    }

    // The range [low, high) of step counts that keep start + step * count within [lowest, highest].
    static std::pair<std::int64_t, std::int64_t> AlongAxis(int start, int step, int lowest, int highest) {
        if (step > 0)
            return {static_cast<std::int64_t>(lowest) - start,
                    static_cast<std::int64_t>(highest) - start + 1};
        return {static_cast<std::int64_t>(start) - highest, static_cast<std::int64_t>(start) - lowest + 1};
    }

    // The first step (0 .. Steps()) at which at least count minor steps have been taken.
    std::int64_t FirstStepWithMinorAtLeast(std::int64_t count) const {
        std::int64_t low = 0;
        std::int64_t high = Steps();
        while (low < high) {
            const std::int64_t middle = low + (high - low) / 2;
            if (MinorSteps(middle) >= count)
                high = middle;
            else
                low = middle + 1;
        }
        return low;
    }

    QPoint m_from;
    std::int64_t m_dx;
    std::int64_t m_dy;
    int m_stepX;
    int m_stepY;
    bool m_xMajor;
    std::int64_t m_startError;
};

} // namespace

void LinePixels(QPoint from, QPoint to, std::vector<QPoint>& pixels) {
    pixels.clear();
    const LineStepper line(from, to);
    line.Append(0, line.Steps(), pixels);
}

void ClippedLinePixels(QPoint from, QPoint to, const QRect& area, std::vector<QPoint>& pixels) {
    pixels.clear();
    const LineStepper line(from, to);
    const auto [first, last] = line.StepsInside(area);
    if (first < last)
        line.Append(std::max<std::int64_t>(first, 0), std::min(last, line.Steps()), pixels);
}
