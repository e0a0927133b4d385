#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The four recurring periods a file time is folded into.
enum ViewMode : int { VIEW_DAY = 0, VIEW_WEEK = 1, VIEW_MONTH = 2, VIEW_YEAR = 3 };

// Bins of each view, indexed by ViewMode, for code that needs them as constants.
inline constexpr int kViewBins[4] = {1440, 1680, 1488, 1460};

bool IsValidView(int view);

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
