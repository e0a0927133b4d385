#pragma once

#include "local_time.h"

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
PeriodBins BinsFromLocal(const LocalBreakdown& local, std::int64_t t, const YearBounds& year);

// The bounds of a local year, or nothing when the platform cannot represent them.
std::optional<YearBounds> LocalYearBounds(std::int64_t year);

// The plain way: one localtime and two mktime calls per time. Nothing for a time the
// platform cannot break down.
std::optional<PeriodBins> ReferencePeriodBins(std::int64_t t);
