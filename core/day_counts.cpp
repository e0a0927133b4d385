#include "day_counts.h"

#include "calendar_names.h"
#include "civil_time.h"
#include "local_time.h"

#include <algorithm>
#include <cstdio>
#include <type_traits>
#include <unordered_map>

namespace {

constexpr std::int64_t kSecondsPerHour = 3600;
// No zone's offset reaches this far from UTC.
constexpr std::int64_t kFarthestOffset = 30 * kSecondsPerHour;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// How far a local time's fields stand ahead of t: its UTC offset, less the leap seconds so far in a
// zone that counts them.
std::int64_t FieldsOffset(const LocalBreakdown& local, std::int64_t t) {
    return SecondsFromCivil(local.year, local.month, local.monthDay, local.hour, local.minute, local.second) -
           t;
}

std::optional<std::int64_t> LocalDayOf(std::int64_t t) {
    const std::optional<LocalBreakdown> local = BreakDownLocal(t);
    if (!local)
        return std::nullopt;
    return DaysFromCivil(local->year, local->month, local->monthDay);
}

// The local day of many times. The fields' offset is looked up once per hour of time and used
// for the whole hour when it is the same at both ends; an hour in which it changes (or that holds
// a leap second) is broken down time by time.
class CLocalDays {
public:
    std::optional<std::int64_t> DayOf(std::int64_t t) {
        const std::int64_t hour = FloorDiv(t, kSecondsPerHour);
        auto found = m_hourOffsets.find(hour);
        if (found == m_hourOffsets.end())
            found = m_hourOffsets.emplace(hour, SteadyOffset(hour)).first;
        if (found->second)
            return FloorDiv(t + *found->second, kSecondsPerDay);
        return LocalDayOf(t);
    }

private:
    static std::optional<std::int64_t> SteadyOffset(std::int64_t hour) {
        std::int64_t start = 0;
        if (__builtin_mul_overflow(hour, kSecondsPerHour, &start))
            return std::nullopt;
        const std::int64_t end = start + kSecondsPerHour - 1;
        const std::optional<LocalBreakdown> first = BreakDownLocal(start);
        const std::optional<LocalBreakdown> last = BreakDownLocal(end);
        if (!first || !last || last->second == 60 || FieldsOffset(*first, start) != FieldsOffset(*last, end))
            return std::nullopt;
        return FieldsOffset(*first, start);
    }

    std::unordered_map<std::int64_t, std::optional<std::int64_t>> m_hourOffsets;
};

template <typename Times, typename DayOf> std::vector<DayCount> Tally(const Times& times, DayOf dayOf) {
    std::unordered_map<std::int64_t, std::int64_t> counts;
    for (const auto& time : times) {
        std::int64_t t = 0;
        if constexpr (std::is_same_v<std::decay_t<decltype(time)>, FileStamp>)
            t = time.m_lastWrite;
        else
            t = time;
        if (const std::optional<std::int64_t> day = dayOf(t))
            ++counts[*day];
    }
    std::vector<DayCount> days;
    days.reserve(counts.size());
    for (const auto& [day, count] : counts)
        days.push_back({day, count});
    std::sort(days.begin(), days.end(), [](const DayCount& a, const DayCount& b) { return a.day < b.day; });
    return days;
}

} // namespace

std::vector<DayCount> CountByDay(const CStampStore& store, CountRule rule) {
    const auto count = [&store](const auto& times) {
        if (store.Basis() == TimeBasis::WallClock)
            return Tally(times, [](std::int64_t t) -> std::optional<std::int64_t> {
                if (!BreakDownUtc(t))
                    return std::nullopt;
                return FloorDiv(t, kSecondsPerDay);
            });
        CLocalDays localDays;
        return Tally(times, [&localDays](std::int64_t t) { return localDays.DayOf(t); });
    };
    if (rule == CountRule::Files)
        return count(store.span());
    return count(ActiveMinuteStarts(store.span()));
}

std::optional<std::int64_t> DayStart(std::int64_t day, TimeBasis basis) {
    std::int64_t midnight = 0;
    if (__builtin_mul_overflow(day, kSecondsPerDay, &midnight) || !BreakDownUtc(midnight))
        return std::nullopt;
    if (basis == TimeBasis::WallClock)
        return midnight;
    // The first second whose local day is this one or later.
    bool failed = false;
    const auto reached = [&](std::int64_t t) -> std::optional<bool> {
        const std::optional<std::int64_t> local = LocalDayOf(t);
        if (!local)
            failed = true;
        return local ? std::optional<bool>(*local >= day) : std::nullopt;
    };
    const std::optional<std::int64_t> start =
        FirstSecondReached(midnight - kFarthestOffset, midnight + kFarthestOffset, reached);
    if (failed)
        return std::nullopt;
    return start;
}

std::optional<DaySpan> DaysSpan(std::int64_t firstDay, std::int64_t lastDay, TimeBasis basis) {
    const std::optional<std::int64_t> since = DayStart(firstDay, basis);
    const std::optional<std::int64_t> until = DayStart(lastDay + 1, basis);
    if (!since || !until)
        return std::nullopt;
    return DaySpan{*since, *until};
}

CivilDate DateOfDay(std::int64_t day) {
    const LocalBreakdown fields = BreakDownAtOffset(day * kSecondsPerDay, 0);
    return {fields.year, fields.month, fields.monthDay, fields.weekDay};
}

std::string DayName(std::int64_t day) {
    const CivilDate date = DateOfDay(day);
    char monthDay[8];
    std::snprintf(monthDay, sizeof monthDay, "%02d", date.monthDay);
    return std::string(WeekDayName(date.weekDay)) + " " + monthDay + " " +
           std::string(MonthName(date.month)) + " " + std::to_string(date.year);
}

std::string IsoDate(std::int64_t day) {
    const CivilDate date = DateOfDay(day);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02d-%02d", static_cast<long long>(date.year), date.month,
                  date.monthDay);
    return text;
}

std::int64_t WeekStart(std::int64_t day) {
    return day - DateOfDay(day).weekDay;
}

std::optional<DaysSummary> SummariseDays(const std::vector<DayCount>& days) {
    if (days.empty())
        return std::nullopt;
    DaysSummary summary;
    summary.activeDays = static_cast<std::int64_t>(days.size());
    DayCount week{WeekStart(days.front().day), 0};
    for (const DayCount& day : days) {
        if (day.count > summary.busiestDay.count)
            summary.busiestDay = day;
        if (WeekStart(day.day) != week.day)
            week = {WeekStart(day.day), 0};
        week.count += day.count;
        if (week.count > summary.busiestWeek.count)
            summary.busiestWeek = week;
    }
    return summary;
}

std::string DayReadout(std::int64_t day, std::int64_t count, CountRule rule, RecordKind kind) {
    return DayName(day) + " - " + std::to_string(count) + " " + CountedUnits(rule, kind) + ".";
}

std::int64_t CountOnDay(std::span<const DayCount> days, std::int64_t day) {
    const auto found = std::lower_bound(days.begin(), days.end(), day,
                                        [](const DayCount& a, std::int64_t d) { return a.day < d; });
    return found != days.end() && found->day == day ? found->count : 0;
}
