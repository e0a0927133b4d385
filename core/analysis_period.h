#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The four recurring periods a file time is folded into.
enum ViewMode : int { VIEW_DAY = 0, VIEW_WEEK = 1, VIEW_MONTH = 2, VIEW_YEAR = 3 };

// What sizes and names each view. The one table the histograms, the window's View menu and
// view bar, and the report command read.
struct ViewFacts {
    int bins;              // bins the period is folded into
    const char* label;     // the view bar's button; the View menu's item with a mnemonic
    std::string_view name; // how the report command's --view and its output name it
    int command;           // the window's command that chooses the view
};

// Indexed by ViewMode.
inline constexpr std::array<ViewFacts, 4> kViews{{
    {1440, "Day", "day", 32774},
    {1680, "Week", "week", 32775},
    {1488, "Month", "month", 32777},
    {1460, "Year", "year", 32773},
}};

bool IsValidView(int view);

// How the recount weighs the records: every file once, or every minute (of UTC time) in which
// at least one file was written once, however many files it holds, binned at that minute.
enum class CountRule { Files, ActiveMinutes };

// What names each count rule, beside the views' table: the window's View menu, the remembered
// settings and the report command read it.
struct CountRuleFacts {
    CountRule rule;
    const char* label;     // the View menu's item, with a mnemonic
    std::string_view name; // how the report's --count and output and the settings name it
    int command;           // the window's command that chooses the rule
};

inline constexpr std::array<CountRuleFacts, 2> kCountRules{{
    {CountRule::Files, "Count &Files", "files", 32850},
    {CountRule::ActiveMinutes, "Count &Active Minutes", "minutes", 32851},
}};

// "files" or "minutes"; and back.
std::string_view CountRuleName(CountRule rule);
std::optional<CountRule> CountRuleFromName(std::string_view name);

// "1 file", "2 files": a count with the word for one or for many; every count in the window's
// and the report's texts is worded by it.
std::string CountOf(std::int64_t count, std::string_view one, std::string_view many);

// "day", "week", "month", "year" ("day" for any other value); and back.
std::string_view ViewName(int view);
std::optional<int> ViewFromName(std::string_view name);

// Bins of the view: 1440, 1680, 1488 or 1460; 1440 for any other value.
int BinsForView(int view);

// The synthetic UTC time that stands for bin k when it is shown to the user.
std::int64_t BinTime(int view, int bin);

// Seconds of one bin: 60, 360, 1800, or 21600 for the year (a quarter of a 365-day year; a
// leap year's bins are a little longer). Bin k starts k times that after its period's start.
std::int64_t SecondsPerBin(int view);

// The strftime format of that time ("%I:%M %p", ...); the day view's for any other value.
const char* BinTimeFormat(int view);

// BinTime formatted in UTC with BinTimeFormat: "08:30 AM", "Sunday 12:00 AM", ...
std::string FormatBinTime(int view, int bin);

// Width of the averaging window in bins for a trackbar position: 2 * position, at least 1.
int AveragingWindow(int trackbarPosition);

// The averaging label ("100 minutes", "10.0 hours", "0.2 days"); nothing for a view outside 0..3.
std::optional<std::string> FormatAveragingPeriod(int view, int trackbarPosition);

// How long a number of bins of the view lasts, in the averaging label's units: "50 minutes",
// "5.0 hours", "12.5 days"; the day view's units for a view outside 0..3.
std::string FormatBinSpan(int view, int bins);
