#pragma once

#include "local_time.h"

#include <cstdint>
#include <optional>

inline constexpr std::int64_t kSecondsPerDay = 86400;

// Whether a year of the proleptic Gregorian calendar has a 29 February.
constexpr bool IsLeapYear(std::int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days in a month (1..12) of a common or a leap year.
constexpr int DaysInMonth(bool leapYear, int month) {
    constexpr int kLengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear ? 29 : kLengths[month - 1];
}

// A local time in seconds since 1970 split into its day and its time-of-day fields; the
// calendar date is left for the caller. Inline: the histogram rebuild runs it per file.
struct LocalDayAndTime {
    std::int64_t days = 0; // days since 1970-01-01, rounded down
    LocalBreakdown fields; // hour, minute, second and week day filled in
};
inline LocalDayAndTime SplitLocalSeconds(std::int64_t local) {
    LocalDayAndTime split;
    split.days = local / kSecondsPerDay;
    if (local % kSecondsPerDay < 0)
        --split.days;
    const std::int64_t secondOfDay = local - split.days * kSecondsPerDay;
    split.fields.hour = static_cast<int>(secondOfDay / 3600);
    split.fields.minute = static_cast<int>(secondOfDay / 60 % 60);
    split.fields.second = static_cast<int>(secondOfDay % 60);
    split.fields.weekDay = static_cast<int>(((split.days + 4) % 7 + 7) % 7); // 1970-01-01 was a Thursday
    return split;
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar (month 1..12).
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);

// A date and time of day as seconds since 1970-01-01 00:00, read as if it were UTC: what a
// local time's fields come to before the zone's offset is taken off.
std::int64_t SecondsFromCivil(std::int64_t year, int month, int day, int hour, int minute, int second);

// The calendar fields of t seen at a fixed offset from UTC, computed arithmetically:
// what localtime gives for t while that offset is in effect.
LocalBreakdown BreakDownAtOffset(std::int64_t t, std::int64_t utcOffset);

// The calendar fields of t in UTC (a wall-clock time counted as UTC reads as the clock showed);
// nothing beyond a hundred million years either side, where the arithmetic would overflow.
std::optional<LocalBreakdown> BreakDownUtc(std::int64_t t);
