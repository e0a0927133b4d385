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
    const std::optional<LocalBreakdown> fields = BreakDownUtc(t);
    if (!fields)
        return std::nullopt;
    const YearBounds year{SecondsFromCivil(fields->year, 1, 1, 0, 0, 0),
                          SecondsFromCivil(fields->year + 1, 1, 1, 0, 0, 0)};
    return BinsFromLocal(*fields, t, year);
}
