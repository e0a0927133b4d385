#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Calendar fields of a time in the process's local zone (TZ is honoured).
struct LocalBreakdown {
    std::int64_t year = 0; // full year, e.g. 2026
    int month = 1;         // 1..12
    int monthDay = 1;      // 1..31
    int weekDay = 0;       // 0 = Sunday
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::int64_t utcOffset = 0; // seconds east of UTC in effect at that time
};

// Breaks t (seconds since 1970 UTC) down in local time; nothing when the platform cannot.
std::optional<LocalBreakdown> BreakDownLocal(std::int64_t t);

// Seconds since 1970 UTC of 1 January 00:00:00 local time of the year, daylight saving
// decided by the zone rules; nothing when the platform cannot represent it.
std::optional<std::int64_t> LocalYearStart(std::int64_t year);

// The first second in (before, after] at which `reached` holds: the moment a zone's offset or a
// local year changes. `reached(t)` gives whether the change has happened by t, or nothing when
// it cannot tell (the answer is then nothing too); it must not hold at before, must hold at
// after, and must keep holding once it holds.
template <typename Reached>
std::optional<std::int64_t> FirstSecondReached(std::int64_t before, std::int64_t after, Reached reached) {
    while (after - before > 1) {
        const std::int64_t middle = before + (after - before) / 2;
        const std::optional<bool> hit = reached(middle);
        if (!hit)
            return std::nullopt;
        (*hit ? after : before) = middle;
    }
    return after;
}

// The fields as an ISO 8601 date and time, "2024-03-31T14:30:00" with 'T' as the separator.
std::string IsoDateTimeText(const LocalBreakdown& fields, char separator);

// t broken down in UTC and formatted with strftime, in the "C" locale.
std::string FormatUtc(std::int64_t t, const char* format);

// The name of the process's local zone: the TZ variable when set (without a leading ':'), else
// the zone /etc/localtime stands for ("Europe/Berlin"), else "UTC", which is what the C library
// uses when it has neither.
std::string LocalZoneName();
