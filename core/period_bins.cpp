#include "period_bins.h"

#include "civil_time.h"

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

std::optional<PeriodBins> UtcPeriodBins(std::int64_t t) {
    // A hundred million years either side keeps every step of the calendar arithmetic in range.
    constexpr std::int64_t kFarthest = std::int64_t{100'000'000} * 366 * kSecondsPerDay;
    if (t < -kFarthest || t > kFarthest)
        return std::nullopt;
    const LocalBreakdown fields = BreakDownAtOffset(t, 0);
    const YearBounds year{SecondsFromCivil(fields.year, 1, 1, 0, 0, 0), SecondsFromCivil(fields.year + 1, 1, 1, 0, 0, 0)};
    return BinsFromLocal(fields, t, year);
}
