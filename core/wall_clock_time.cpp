#include "wall_clock_time.h"

#include "civil_time.h"
#include "local_time.h"

#include <charconv>

namespace {

// Reads exactly `digits` decimal digits at position of text into value.
bool ReadDigits(std::string_view text, std::size_t position, std::size_t digits, int& value) {
    if (position + digits > text.size())
        return false;
    for (std::size_t i = position; i < position + digits; ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    std::from_chars(text.data() + position, text.data() + position + digits, value);
    return true;
}

} // namespace

std::optional<WallClockTime> ParseIsoDateTime(std::string_view text) {
    WallClockTime wall;
    int year = 0;
    if (!ReadDigits(text, 0, 4, year) || text.size() < 10 || text[4] != '-' ||
        !ReadDigits(text, 5, 2, wall.month) || text[7] != '-' || !ReadDigits(text, 8, 2, wall.day))
        return std::nullopt;
    wall.year = year;
    if (text.size() > 10) {
        const bool timeFollows = text[10] == 'T' || text[10] == ' ';
        if (!timeFollows || !ReadDigits(text, 11, 2, wall.hour) || text.size() < 16 || text[13] != ':' ||
            !ReadDigits(text, 14, 2, wall.minute))
            return std::nullopt;
        if (text.size() > 16 &&
            (text[16] != ':' || text.size() != 19 || !ReadDigits(text, 17, 2, wall.second)))
            return std::nullopt;
    }
    if (wall.month < 1 || wall.month > 12 || wall.day < 1 ||
        wall.day > DaysInMonth(IsLeapYear(wall.year), wall.month) || wall.hour > 23 || wall.minute > 59 ||
        wall.second > 59)
        return std::nullopt;
    return wall;
}

std::optional<std::int64_t> FirstSecondShowing(const WallClockTime& wall, const UtcOffsetAt& offsetAt) {
    // The wall time read as if it were UTC; every instant that shows it lies within a day of this.
    const std::int64_t shown =
        SecondsFromCivil(wall.year, wall.month, wall.day, wall.hour, wall.minute, wall.second);
    const std::optional<std::int64_t> early = offsetAt(shown - kSecondsPerDay);
    const std::optional<std::int64_t> late = offsetAt(shown + kSecondsPerDay);
    if (!early || !late)
        return std::nullopt;

    std::optional<std::int64_t> first;
    for (const std::int64_t offset : {*early, *late}) {
        const std::int64_t t = shown - offset;
        const std::optional<std::int64_t> actual = offsetAt(t);
        if (!actual)
            return std::nullopt;
        if (*actual == offset && (!first || t < *first))
            first = t;
    }
    if (first)
        return first;

    // Skipped: the clock jumps from before the wall time to after it somewhere between these two.
    const std::int64_t before = shown - *late; // still on the early offset
    const std::int64_t after = shown - *early; // already on the late one
    return FirstSecondReached(before, after, [&](std::int64_t t) -> std::optional<bool> {
        const std::optional<std::int64_t> offset = offsetAt(t);
        if (!offset)
            return std::nullopt;
        return *offset != *early;
    });
}

std::optional<std::int64_t> LocalUtcOffset(std::int64_t t) {
    const std::optional<LocalBreakdown> local = BreakDownLocal(t);
    if (!local)
        return std::nullopt;
    return local->utcOffset;
}
