#pragma once

#include "day_counts.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What the calendar's arithmetic needs of the screen: the width it has and its text's extents.
struct CalendarMetrics {
    int width = 0;
    int lineHeight = 0;
    int labelWidth = 0; // the widest of the week days' labels and the years' numbers
};

// One band of the calendar, top to bottom: a year with records, or a run of years without.
struct CalendarBand {
    std::int64_t year = 0;     // the year; for a gap its newest year
    std::int64_t gapYears = 0; // 0 for a year; else how many years the gap folds
    int top = 0;
    int height = 0;
    std::int64_t firstDay = 0; // 1 January of the year (days since 1970-01-01)
    int firstWeekDay = 0;      // its week day, 0 = Sunday
    int days = 0;              // 365 or 366
};

struct CalendarRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const CalendarRect&) const = default;
};

// A calendar of the days: one cell a day, a column a week (Sunday to Saturday from the top), one
// band a year with its month names above, the newest year on top and the legend above all.
struct CalendarLayout {
    int margin = 0;
    int lineHeight = 0;
    int left = 0;  // where the first week's column starts
    int pitch = 0; // from one cell to the next
    int cell = 0;  // a cell's side
    int legendTop = 0;
    int height = 0; // of the whole calendar
    std::vector<CalendarBand> bands;
};

// Weeks a year's band can span: a leap year that begins on a Saturday touches 54.
inline constexpr int kWeeksInBand = 54;

// Lays out the years that hold the days (in ascending order, as CountByDay gives them): a band
// for every year with any, one gap band for every run of years without.
CalendarLayout LayOutCalendar(std::span<const DayCount> days, const CalendarMetrics& metrics);

// The band of a year, or nullptr when the calendar does not show it (a gap's years included).
const CalendarBand* BandOfYear(const CalendarLayout& layout, std::int64_t year);

// The column of a day's week within its year's band.
int WeekColumn(const CalendarBand& band, std::int64_t day);

// The cell of a day, or nothing when its year is not shown.
std::optional<CalendarRect> DayCell(const CalendarLayout& layout, std::int64_t day);

// The day whose cell's square of pitch holds the point, or nothing.
std::optional<std::int64_t> DayAtPoint(const CalendarLayout& layout, int x, int y);

// Where a month's name stands: the left edge of the week that holds its first day.
int MonthLabelX(const CalendarLayout& layout, const CalendarBand& band, int month);

// The first and the last day of the years shown.
std::int64_t FirstShownDay(const CalendarLayout& layout);
std::int64_t LastShownDay(const CalendarLayout& layout);

// A day moved by delta days; a day that falls in a gap goes on to the nearest shown year the
// way it was moving, and the result stays within the shown years.
std::int64_t StepShownDay(const CalendarLayout& layout, std::int64_t day, std::int64_t delta);

// "43 years without files": what a gap band says ("commits" for a history).
std::string GapText(std::int64_t years, RecordKind kind);

// The colour levels of the cells: 0 for a day without records, up to kCountLevels for the
// busiest, by the logarithm of the count against the busiest day's.
inline constexpr int kCountLevels = 4;
int CountLevel(std::int64_t count, std::int64_t busiest);
// The least count at each level 1..kCountLevels that some count reaches, for the legend.
struct LevelFloor {
    int level = 0;
    std::int64_t count = 0;
    bool operator==(const LevelFloor&) const = default;
};
std::vector<LevelFloor> LevelFloors(std::int64_t busiest);

// Where the legend's lead text and its swatches stand, left to right, given the widths of the
// lead text and of each floor's number: a swatch, then its number.
struct LegendPlaces {
    int leadX = 0;
    std::vector<int> swatchX;
    std::vector<int> numberX;
};
LegendPlaces LayOutLegend(const CalendarLayout& layout, int leadWidth, std::span<const int> numberWidths);
