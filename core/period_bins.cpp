#include "period_bins.h"

#include "analysis_period.h"

#include <algorithm>

namespace {

const int kDayBins = BinsForView(VIEW_DAY);
const int kWeekBins = BinsForView(VIEW_WEEK);
const int kMonthBins = BinsForView(VIEW_MONTH);
const int kYearBins = BinsForView(VIEW_YEAR);

int Clamp(std::int64_t index, int bins) {
    return static_cast<int>(std::clamp<std::int64_t>(index, 0, bins - 1));
}

} // namespace

PeriodBins BinsFromLocal(const LocalBreakdown& local, std::int64_t t, const YearBounds& year) {
    const std::int64_t secondOfDay = local.second + 60 * local.minute + 3600 * local.hour;
    const std::int64_t minuteOfWeek = local.minute + 60 * (local.hour + 24 * local.weekDay);
    const std::int64_t minuteOfMonth = local.minute + 60 * (local.hour + 24 * (local.monthDay - 1));

    PeriodBins bins;
    // Clamped only for a leap second (second 60), which a zone with leap seconds can report.
    bins.day = Clamp(secondOfDay * kDayBins / 86400, kDayBins);
    bins.week = Clamp(minuteOfWeek * kWeekBins / 10080, kWeekBins);
    bins.month = Clamp(minuteOfMonth * kMonthBins / 44640, kMonthBins);

    // The quotient is rounded to a double before the product, so a time exactly on a bin
    // boundary can land in the bin below (1 January 18:00 of a common year is in bin 2).
    const double fraction = static_cast<double>(t - year.start) / static_cast<double>(year.end - year.start);
    const double position = fraction * static_cast<double>(kYearBins);
    // A zone that skips local midnight at New Year can put t just outside its year's bounds.
    if (!(position >= 0.0))
        bins.year = 0;
    else if (position >= kYearBins)
        bins.year = kYearBins - 1;
    else
        bins.year = static_cast<int>(position);
    return bins;
}

std::optional<YearBounds> LocalYearBounds(std::int64_t year) {
    const std::optional<std::int64_t> start = LocalYearStart(year);
    if (!start)
        return std::nullopt;
    const std::optional<std::int64_t> end = LocalYearStart(year + 1);
    if (!end || *end <= *start)
        return std::nullopt;
    return YearBounds{*start, *end};
}

std::optional<PeriodBins> ReferencePeriodBins(std::int64_t t) {
    const std::optional<LocalBreakdown> local = BreakDownLocal(t);
    if (!local)
        return std::nullopt;
    const std::optional<YearBounds> year = LocalYearBounds(local->year);
    if (!year)
        return std::nullopt;
    return BinsFromLocal(*local, t, *year);
}
