#pragma once

#include <array>
#include <string_view>

// The names of the week days and months, in English whatever the locale: the window, the report
// and the picture all name them the same way.

// Indexed by week day, 0 = Sunday.
inline constexpr std::array<std::string_view, 7> kWeekDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                               "Thursday", "Friday", "Saturday"};
// The time axis's short forms.
inline constexpr std::array<std::string_view, 7> kWeekDayAbbreviations{"Sun",   "Mon", "Tues", "Weds",
                                                                       "Thurs", "Fri", "Sat"};

// Indexed by month - 1.
inline constexpr std::array<std::string_view, 12> kMonthNames{
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
// The first three letters of each.
inline constexpr std::array<std::string_view, 12> kMonthAbbreviations{
    "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// "Tuesday", "March": the name of a week day (0 = Sunday) or a month (1..12).
constexpr std::string_view WeekDayName(int weekDay) {
    return kWeekDayNames[static_cast<std::size_t>(weekDay)];
}
constexpr std::string_view MonthName(int month) {
    return kMonthNames[static_cast<std::size_t>(month - 1)];
}
