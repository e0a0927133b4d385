#pragma once

#include <optional>
#include <string>
#include <string_view>

// The moment of a period that --files-at names, as a person types it for each view:
//   day    HH:MM           14:30
//   week   DAY HH:MM       Tue 14:30 (Sun to Sat, or the whole name; any case)
//   month  D HH:MM         15 14:30 (day 1 to 31)
//   year   MON-DD HH:MM    Mar-05 14:30 (Jan to Dec; the days of a common year)
// Hours run from 0 to 23. Gives the bin holding that moment, or nothing when the text is not
// of the view's form.
std::optional<int> BinFromWhen(int view, std::string_view text);

// The view's form with an example, as --help and error messages show it: "HH:MM, such as 14:30".
std::string WhenForm(int view);

// Why text, refused by BinFromWhen, names no moment of the view although it looks like one, or
// "" when its form says it all: a Feb-29 in the year view.
std::string WhenRemark(int view, std::string_view text);
