#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

// A date and time of day as a clock on the wall shows it, in no particular zone.
struct WallClockTime {
    std::int64_t year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const WallClockTime&) const = default;
};

// Reads an ISO 8601 date "YYYY-MM-DD" (midnight) or date and time "YYYY-MM-DDTHH:MM" or
// "YYYY-MM-DDTHH:MM:SS" (a space may stand for the T). Nothing when the text is not one of
// those or names no real date or time.
std::optional<WallClockTime> ParseIsoDateTime(std::string_view text);

// The offset from UTC in seconds east in effect at a time (seconds since 1970 UTC), or
// nothing where the zone cannot tell.
using UtcOffsetAt = std::function<std::optional<std::int64_t>(std::int64_t t)>;

// The first second (since 1970 UTC) at which a clock following the zone shows the wall time
// or later: the wall time itself where it occurs once, its first occurrence where the clock is
// turned back over it, and the moment the clock jumps over it where it is skipped. Assumes the
// zone changes its offset at most once within a day either side.
std::optional<std::int64_t> FirstSecondShowing(const WallClockTime& wall, const UtcOffsetAt& offsetAt);

// The offset of the process's local zone (TZ is honoured).
std::optional<std::int64_t> LocalUtcOffset(std::int64_t t);
