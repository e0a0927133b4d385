#include "date_range.h"

#include "entry_filter.h"
#include "wall_clock_time.h"

#include <array>
#include <ctime>
#include <limits>

namespace {

std::optional<std::tm> LocalFields(std::int64_t t) {
    const auto seconds = static_cast<std::time_t>(t);
    std::tm fields{};
    if (localtime_r(&seconds, &fields) == nullptr)
        return std::nullopt;
    return fields;
}

bool IsLocalMidnight(std::int64_t t) {
    const std::optional<std::tm> fields = LocalFields(t);
    return fields && fields->tm_hour == 0 && fields->tm_min == 0 && fields->tm_sec == 0;
}

std::string Formatted(std::int64_t t, const char* format) {
    const std::optional<std::tm> fields = LocalFields(t);
    if (!fields)
        return std::to_string(t);
    std::array<char, 64> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), format, &*fields);
    return std::string(text.data(), length);
}

// The first second of a local date, its day of the month counted on past the month's end.
std::int64_t LocalMidnight(std::int64_t year, int month, int day) {
    std::tm fields{};
    fields.tm_year = static_cast<int>(year - 1900);
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&fields));
}

} // namespace

DateRange DateRange::Between(const std::optional<std::int64_t>& since,
                             const std::optional<std::int64_t>& until) {
    return {since.value_or(std::numeric_limits<std::int64_t>::min()),
            until.value_or(std::numeric_limits<std::int64_t>::max())};
}

std::string DateRangeName(const DateRange& range) {
    constexpr std::int64_t kOpen[] = {std::numeric_limits<std::int64_t>::min(),
                                      std::numeric_limits<std::int64_t>::max()};
    if (range.since == kOpen[0] || range.until == kOpen[1]) {
        if (range.since == kOpen[0] && range.until == kOpen[1])
            return "all dates";
        return range.since == kOpen[0] ? "before " + RangeEndText(range.until)
                                       : "from " + RangeEndText(range.since);
    }
    if (IsLocalMidnight(range.since) && IsLocalMidnight(range.until)) {
        const std::string first = Formatted(range.since, "%Y-%m-%d");
        const std::string last = Formatted(range.until - 1, "%Y-%m-%d");
        return first == last ? first : first + " to " + last;
    }
    return Formatted(range.since, "%Y-%m-%d %H:%M") + " to " + Formatted(range.until, "%Y-%m-%d %H:%M");
}

std::string RangeEndText(std::int64_t t) {
    const std::optional<std::tm> fields = LocalFields(t);
    if (fields && fields->tm_sec != 0)
        return Formatted(t, "%Y-%m-%dT%H:%M:%S");
    return Formatted(t, IsLocalMidnight(t) ? "%Y-%m-%d" : "%Y-%m-%dT%H:%M");
}

DateRange PrecedingRange(const DateRange& range) {
    const std::optional<std::tm> first = LocalFields(range.since);
    const std::optional<std::tm> after = LocalFields(range.until);
    if (!first || !after || !IsLocalMidnight(range.since) || !IsLocalMidnight(range.until))
        return {range.since - (range.until - range.since), range.since};
    const std::int64_t year = first->tm_year + 1900;
    if (first->tm_mday == 1 && after->tm_mday == 1) { // whole months: as many months before
        const int months = (after->tm_year - first->tm_year) * 12 + after->tm_mon - first->tm_mon;
        return {LocalMidnight(year, first->tm_mon + 1 - months, 1), range.since};
    }
    // Whole days: as many days before, however long a summer-time change makes one of them.
    const auto days = static_cast<int>((range.until - range.since + 43200) / 86400);
    return {LocalMidnight(year, first->tm_mon + 1, first->tm_mday - days), range.since};
}

DateRange YearEndingOnDayOf(std::int64_t t) {
    const std::optional<std::tm> day = LocalFields(t);
    if (!day)
        return {t - 365 * 86400, t};
    const std::int64_t until = LocalMidnight(day->tm_year + 1900, day->tm_mon + 1, day->tm_mday + 1);
    const std::optional<std::tm> end = LocalFields(until);
    if (!end)
        return {t - 365 * 86400, until};
    return {LocalMidnight(end->tm_year + 1900 - 1, end->tm_mon + 1, end->tm_mday), until};
}

std::string ReadDateRange(std::string_view since, std::string_view until, std::optional<DateRange>& range) {
    EntryFilter ends;
    for (std::string problem : {SetRangeEnd(ends.since, since), SetRangeEnd(ends.until, until)})
        if (!problem.empty())
            return problem;
    if (std::string problem = RulesProblem(ends); !problem.empty())
        return problem;
    range = DateRange{*ends.since, *ends.until};
    return {};
}

DateRange RangeInBasis(const DateRange& range, TimeBasis basis) {
    if (basis != TimeBasis::WallClock)
        return range;
    const auto onTheClock = [](std::int64_t t) { return t + LocalUtcOffset(t).value_or(0); };
    return {onTheClock(range.since), onTheClock(range.until)};
}

std::string NothingWrittenIn(const DateRange& range, RecordKind kind) {
    return std::string(kind == RecordKind::Commits ? "No commits" : "No files") + " were written in " +
           DateRangeName(range) + ".";
}
