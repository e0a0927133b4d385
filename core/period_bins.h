#pragma once

#include "analysis_period.h"
#include "local_time.h"

#include <algorithm>
#include <cstdint>
#include <optional>

// The bin of one file time in each of the four periods.
struct PeriodBins {
    int day = 0;
    int week = 0;
    int month = 0;
    int year = 0;
    bool operator==(const PeriodBins&) const = default;
};

// Bounds of a local calendar year: 1 January 00:00 local of the year and of the next one.
struct YearBounds {
    std::int64_t start = 0;
    std::int64_t end = 0;
};

// The bins of time t from its local fields and the bounds of its local year. The year bin is
// (double(t - start) / double(end - start)) * 1460.0 truncated, kept within 0..1459.
// Inline: it runs once per file in the histogram rebuild.
inline PeriodBins BinsFromLocal(const LocalBreakdown& local, std::int64_t t, const YearBounds& year) {
    const auto clamp = [](std::int64_t index, int bins) {
        return static_cast<int>(std::clamp<std::int64_t>(index, 0, bins - 1));
    };
    const std::int64_t secondOfDay = local.second + 60 * local.minute + 3600 * local.hour;
    const std::int64_t minuteOfWeek = local.minute + 60 * (local.hour + 24 * local.weekDay);
    const std::int64_t minuteOfMonth = local.minute + 60 * (local.hour + 24 * (local.monthDay - 1));

    PeriodBins bins;
    // Clamped only for a leap second (second 60), which a zone with leap seconds can report.
    bins.day = clamp(secondOfDay * kViews[VIEW_DAY].bins / 86400, kViews[VIEW_DAY].bins);
    bins.week = clamp(minuteOfWeek * kViews[VIEW_WEEK].bins / 10080, kViews[VIEW_WEEK].bins);
    bins.month = clamp(minuteOfMonth * kViews[VIEW_MONTH].bins / 44640, kViews[VIEW_MONTH].bins);

    // The quotient is rounded to a double before the product, so a time exactly on a bin
    // boundary can land in the bin below (1 January 18:00 of a common year is in bin 2).
    const double fraction = static_cast<double>(t - year.start) / static_cast<double>(year.end - year.start);
    const double position = fraction * static_cast<double>(kViews[VIEW_YEAR].bins);
    // A zone that skips local midnight at New Year can put t just outside its year's bounds.
    if (!(position >= 0.0))
        bins.year = 0;
    else if (position >= kViews[VIEW_YEAR].bins)
        bins.year = kViews[VIEW_YEAR].bins - 1;
    else
        bins.year = static_cast<int>(position);
    return bins;
}

// The bounds of a local year, or nothing when the platform cannot represent them.
std::optional<YearBounds> LocalYearBounds(std::int64_t year);

// Bins of a time counted as UTC: a wall-clock reading stored as if it were UTC. Nothing for a
// time too far from the present era to break down.
std::optional<PeriodBins> UtcPeriodBins(std::int64_t t);

// The plain way: one localtime and two mktime calls per time. Nothing for a time the
// platform cannot break down.
std::optional<PeriodBins> ReferencePeriodBins(std::int64_t t);
