#include "when_text.h"

#include "analysis_period.h"
#include "calendar_names.h"
#include "civil_time.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

namespace {

// Minutes in each period, indexed by view; the year view's calendar is a common year.
constexpr std::array<std::int64_t, 4> kPeriodMinutes{1440, 10080, 44640, 525600};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// A whole number of one or two digits, with no sign, within [low, high].
std::optional<int> SmallNumber(std::string_view text, int low, int high) {
    int value = 0;
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.empty() || text.size() > 2 || !std::all_of(text.begin(), text.end(), isDigit))
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

// "HH:MM" as minutes after midnight.
std::optional<int> MinuteOfDay(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || text.size() - colon != 3)
        return std::nullopt;
    const std::optional<int> hour = SmallNumber(text.substr(0, colon), 0, 23);
    const std::optional<int> minute = SmallNumber(text.substr(colon + 1), 0, 59);
    if (!hour || !minute)
        return std::nullopt;
    return *hour * 60 + *minute;
}

// The whole day's name or its first three letters, as 0 for Sunday.
std::optional<int> WeekDay(std::string_view text) {
    const std::string name = Lower(text);
    for (std::size_t day = 0; day < kWeekDayNames.size(); ++day) {
        const std::string whole = Lower(kWeekDayNames[day]);
        if (name == whole || name == whole.substr(0, 3))
            return static_cast<int>(day);
    }
    return std::nullopt;
}

// "MON-DD" as the day of a common year, 0 for 1 January.
std::optional<int> YearDay(std::string_view text) {
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return std::nullopt;
    const std::string month = Lower(text.substr(0, dash));
    int daysBefore = 0;
    for (int m = 1; m <= 12; ++m) {
        const int days = DaysInMonth(false, m);
        if (month == Lower(kMonthAbbreviations[static_cast<std::size_t>(m - 1)])) {
            const std::optional<int> day = SmallNumber(text.substr(dash + 1), 1, days);
            if (!day)
                return std::nullopt;
            return daysBefore + *day - 1;
        }
        daysBefore += days;
    }
    return std::nullopt;
}

// The day part before the time, as whole days from the start of the period.
std::optional<int> DaysIntoPeriod(int view, std::string_view text) {
    switch (view) {
    case VIEW_WEEK:
        return WeekDay(text);
    case VIEW_MONTH: {
        const std::optional<int> day = SmallNumber(text, 1, 31);
        return day ? std::optional<int>(*day - 1) : std::nullopt;
    }
    case VIEW_YEAR:
        return YearDay(text);
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<int> BinFromWhen(int view, std::string_view text) {
    if (!IsValidView(view))
        return std::nullopt;
    int days = 0;
    std::string_view time = text;
    if (view != VIEW_DAY) {
        const std::size_t space = text.find(' ');
        if (space == std::string_view::npos)
            return std::nullopt;
        const std::optional<int> dayPart = DaysIntoPeriod(view, text.substr(0, space));
        if (!dayPart)
            return std::nullopt;
        days = *dayPart;
        time = text.substr(space + 1);
    }
    const std::optional<int> minute = MinuteOfDay(time);
    if (!minute)
        return std::nullopt;
    const std::int64_t minuteOfPeriod = std::int64_t{days} * 1440 + *minute;
    return static_cast<int>(minuteOfPeriod * BinsForView(view) / kPeriodMinutes[static_cast<std::size_t>(view)]);
}

std::string WhenForm(int view) {
    switch (view) {
    case VIEW_WEEK:
        return "DAY HH:MM, such as 'Tue 14:30'";
    case VIEW_MONTH:
        return "D HH:MM, such as '15 14:30'";
    case VIEW_YEAR:
        return "MON-DD HH:MM, such as 'Mar-05 14:30'";
    default:
        return "HH:MM, such as '14:30'";
    }
}

std::string WhenRemark(int view, std::string_view text) {
    if (view == VIEW_YEAR && Lower(text.substr(0, text.find(' '))) == "feb-29")
        return "the year view's bins follow a common year of 365 days, which has no Feb-29 (a leap year's "
               "bins are each a little longer)";
    return {};
}
