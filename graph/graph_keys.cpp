#include "graph_keys.h"

#include "analysis_period.h"
#include "axis_drag.h"
#include "civil_time.h"
#include "wrap.h"

#include <algorithm>
#include <iterator>

namespace {

// A press turns the period by this part of it, and stretches the scale by this factor.
constexpr int kTurnsPerPeriod = 24;
constexpr double kStretchFactor = 1.25;

constexpr int kDaysInMonthView = 31;
constexpr int kDaysInYearView = 365;

int PagedBin(int view, int bin, bool forward) {
    const std::vector<int> ticks = MajorTickBins(view);
    if (forward) {
        const auto next = std::upper_bound(ticks.begin(), ticks.end(), bin);
        return next == ticks.end() ? ticks.front() : *next;
    }
    const auto before = std::lower_bound(ticks.begin(), ticks.end(), bin);
    return before == ticks.begin() ? ticks.back() : *std::prev(before);
}

} // namespace

std::vector<int> MajorTickBins(int view) {
    const int bins = BinsForView(view);
    std::vector<int> ticks;
    switch (view) {
    case VIEW_WEEK:
        for (int day = 0; day < 7; ++day)
            ticks.push_back(day * bins / 7);
        break;
    case VIEW_MONTH:
        ticks.push_back(0);
        for (int day = 4; day < kDaysInMonthView; day += 5)
            ticks.push_back(day * bins / kDaysInMonthView);
        break;
    case VIEW_YEAR:
        for (int month = 1, daysBefore = 0; month <= 12; daysBefore += DaysInMonth(false, month++))
            ticks.push_back(daysBefore * bins / kDaysInYearView);
        break;
    default:
        for (int quarter = 0; quarter < 4; ++quarter)
            ticks.push_back(quarter * bins / 4);
        break;
    }
    return ticks;
}

std::optional<GraphKeyState> GraphStateAfterKey(const GraphKeyState& state, int key,
                                                Qt::KeyboardModifiers modifiers, int view,
                                                int averagingPosition) {
    const int bins = BinsForView(view);
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                     Qt::MetaModifier); // the keypad's arrows count as arrows
    const bool left = key == Qt::Key_Left;
    GraphKeyState next = state;
    if (held == Qt::NoModifier || held == Qt::ShiftModifier) {
        const int step = held == Qt::ShiftModifier ? AveragingWindow(averagingPosition) : 1;
        switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
            next.cursorBin = WrapIndex(std::int64_t{state.cursorBin} + (left ? -step : step), bins);
            return next;
        default:
            break;
        }
    }
    if (held == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_Home:
            next.cursorBin = 0;
            return next;
        case Qt::Key_End:
            next.cursorBin = bins - 1;
            return next;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            next.cursorBin = PagedBin(view, state.cursorBin, key == Qt::Key_PageDown);
            return next;
        default:
            return std::nullopt;
        }
    }
    if (held == Qt::ControlModifier) {
        const double turn = static_cast<double>(bins) / kTurnsPerPeriod;
        switch (key) {
        case Qt::Key_Left:
        case Qt::Key_Right:
            next.xOffset = TurnedOffset(state.xOffset, left ? -turn : turn, bins);
            return next;
        case Qt::Key_Up:
        case Qt::Key_Down:
            next.yScale =
                StretchedScale(state.yScale, key == Qt::Key_Up ? 1 / kStretchFactor : kStretchFactor);
            return next;
        default:
            break;
        }
    }
    return std::nullopt;
}
