#pragma once

#include "period_histograms.h"
#include "stamp_store.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The records of one calendar day: the day as days since 1970-01-01 and how many the count
// rule counts in it.
struct DayCount {
    std::int64_t day = 0;
    std::int64_t count = 0;
    bool operator==(const DayCount&) const = default;
};

// The local day of every record of the store (or of every active minute), counted per day: the
// days that hold any, in ascending order. A wall-clock store's days are read off its clock as
// it showed; a time the calendar cannot hold is left out, as the histograms leave it out.
std::vector<DayCount> CountByDay(const CStampStore& store, CountRule rule = CountRule::Files);

// The first second of a day (local midnight, or the first second after it that exists) and
// the first second of the next: the day as a half-open span. A wall-clock store's days are
// whole multiples of a day. Nothing when the platform cannot break the day's times down.
struct DaySpan {
    std::int64_t since = 0;
    std::int64_t until = 0;
    bool operator==(const DaySpan&) const = default;
};
std::optional<std::int64_t> DayStart(std::int64_t day, TimeBasis basis);
std::optional<DaySpan> DaysSpan(std::int64_t firstDay, std::int64_t lastDay, TimeBasis basis);

// The date of a day: its year, month (1..12), day of the month and week day (0 = Sunday).
struct CivilDate {
    std::int64_t year = 1970;
    int month = 1;
    int monthDay = 1;
    int weekDay = 4;
};
CivilDate DateOfDay(std::int64_t day);

// "Tuesday 05 March 2024" and "2024-03-05".
std::string DayName(std::int64_t day);
std::string IsoDate(std::int64_t day);

// The Sunday that begins the week of a day.
std::int64_t WeekStart(std::int64_t day);

// What the dates view says of the days: the busiest day (the first of those with the most),
// the busiest week (Sunday to Saturday, named by its Sunday) and how many days hold any.
struct DaysSummary {
    DayCount busiestDay;
    DayCount busiestWeek; // day is the week's Sunday
    std::int64_t activeDays = 0;
};
std::optional<DaysSummary> SummariseDays(const std::vector<DayCount>& days);

// The readout of a day: "Tuesday 05 March 2024 - 37 file(s)." ("commit(s)" or "minute(s)" as
// the rule and the records say).
std::string DayReadout(std::int64_t day, std::int64_t count, CountRule rule, RecordKind kind);

// The count of a day among the counted days; 0 for a day without records.
std::int64_t CountOnDay(std::span<const DayCount> days, std::int64_t day);
