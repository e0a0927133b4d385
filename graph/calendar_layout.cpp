#include "calendar_layout.h"

#include "analysis_period.h"
#include "civil_time.h"

#include <algorithm>
#include <cmath>

namespace {

CalendarBand YearBand(std::int64_t year) {
    CalendarBand band;
    band.year = year;
    band.firstDay = DaysFromCivil(year, 1, 1);
    band.firstWeekDay = DateOfDay(band.firstDay).weekDay;
    band.days = IsLeapYear(year) ? 366 : 365;
    return band;
}

int BandHeight(const CalendarLayout& layout) {
    return layout.lineHeight + 7 * layout.pitch + layout.margin;
}

std::int64_t YearOfDay(std::int64_t day) {
    return DateOfDay(day).year;
}

} // namespace

CalendarLayout LayOutCalendar(std::span<const DayCount> days, const CalendarMetrics& metrics) {
    CalendarLayout layout;
    layout.lineHeight = std::max(1, metrics.lineHeight);
    layout.margin = std::max(2, layout.lineHeight / 2);
    layout.left = layout.margin + metrics.labelWidth + layout.margin;
    const int fitting = (metrics.width - layout.left - layout.margin) / kWeeksInBand;
    layout.pitch = std::clamp(fitting, std::max(6, layout.lineHeight * 2 / 3), layout.lineHeight * 2);
    layout.cell = layout.pitch - std::max(1, layout.pitch / 6);
    layout.legendTop = layout.margin;
    int top = layout.legendTop + std::max(layout.cell, layout.lineHeight) + layout.margin;

    std::vector<std::int64_t> years;
    for (const DayCount& day : days) {
        const std::int64_t year = YearOfDay(day.day);
        if (years.empty() || years.back() != year)
            years.push_back(year);
    }
    for (auto year = years.rbegin(); year != years.rend(); ++year) {
        if (year != years.rbegin() && *(year - 1) - *year > 1) {
            CalendarBand gap;
            gap.year = *(year - 1) - 1;
            gap.gapYears = *(year - 1) - *year - 1;
            gap.top = top;
            gap.height = layout.lineHeight + layout.margin;
            layout.bands.push_back(gap);
            top += gap.height;
        }
        CalendarBand band = YearBand(*year);
        band.top = top;
        band.height = BandHeight(layout);
        layout.bands.push_back(band);
        top += band.height;
    }
    layout.height = top + layout.margin;
    return layout;
}

const CalendarBand* BandOfYear(const CalendarLayout& layout, std::int64_t year) {
    for (const CalendarBand& band : layout.bands)
        if (band.gapYears == 0 && band.year == year)
            return &band;
    return nullptr;
}

int WeekColumn(const CalendarBand& band, std::int64_t day) {
    return static_cast<int>((day - band.firstDay + band.firstWeekDay) / 7);
}

std::optional<CalendarRect> DayCell(const CalendarLayout& layout, std::int64_t day) {
    const CivilDate date = DateOfDay(day);
    const CalendarBand* band = BandOfYear(layout, date.year);
    if (!band)
        return std::nullopt;
    return CalendarRect{layout.left + WeekColumn(*band, day) * layout.pitch,
                        band->top + layout.lineHeight + date.weekDay * layout.pitch, layout.cell,
                        layout.cell};
}

std::optional<std::int64_t> DayAtPoint(const CalendarLayout& layout, int x, int y) {
    if (x < layout.left || layout.pitch <= 0)
        return std::nullopt;
    for (const CalendarBand& band : layout.bands) {
        const int cellsTop = band.top + layout.lineHeight;
        if (band.gapYears != 0 || y < cellsTop || y >= cellsTop + 7 * layout.pitch)
            continue;
        const int column = (x - layout.left) / layout.pitch;
        const int row = (y - cellsTop) / layout.pitch;
        const std::int64_t day = band.firstDay - band.firstWeekDay + std::int64_t{column} * 7 + row;
        if (day < band.firstDay || day >= band.firstDay + band.days)
            return std::nullopt;
        return day;
    }
    return std::nullopt;
}

int MonthLabelX(const CalendarLayout& layout, const CalendarBand& band, int month) {
    return layout.left + WeekColumn(band, DaysFromCivil(band.year, month, 1)) * layout.pitch;
}

std::int64_t FirstShownDay(const CalendarLayout& layout) {
    return layout.bands.empty() ? 0 : layout.bands.back().firstDay;
}

std::int64_t LastShownDay(const CalendarLayout& layout) {
    return layout.bands.empty() ? 0 : layout.bands.front().firstDay + layout.bands.front().days - 1;
}

std::int64_t StepShownDay(const CalendarLayout& layout, std::int64_t day, std::int64_t delta) {
    if (layout.bands.empty())
        return day;
    const std::int64_t moved = std::clamp(day + delta, FirstShownDay(layout), LastShownDay(layout));
    const std::int64_t year = YearOfDay(moved);
    if (BandOfYear(layout, year))
        return moved;
    // In a gap: on to the shown year beyond it, the way the day moved.
    for (const CalendarBand& gap : layout.bands) {
        if (gap.gapYears == 0 || year > gap.year || year <= gap.year - gap.gapYears)
            continue;
        return delta > 0 ? DaysFromCivil(gap.year + 1, 1, 1) : DaysFromCivil(gap.year - gap.gapYears, 12, 31);
    }
    return day;
}

std::string GapText(std::int64_t years, RecordKind kind) {
    return CountOf(years, std::string("year without ") + RecordNoun(kind),
                   std::string("years without ") + RecordNoun(kind));
}

int CountLevel(std::int64_t count, std::int64_t busiest) {
    if (count <= 0)
        return 0;
    if (busiest <= 1 || count >= busiest)
        return kCountLevels;
    const double share = std::log(static_cast<double>(count)) / std::log(static_cast<double>(busiest));
    return std::clamp(1 + static_cast<int>(share * kCountLevels), 1, kCountLevels);
}

std::vector<LevelFloor> LevelFloors(std::int64_t busiest) {
    std::vector<LevelFloor> floors;
    for (int level = 1; level <= kCountLevels; ++level) {
        // The least count in 1..busiest at this level or above: the levels rise with the count.
        std::int64_t low = 1;
        std::int64_t high = std::max<std::int64_t>(busiest, 1);
        while (low < high) {
            const std::int64_t middle = low + (high - low) / 2;
            if (CountLevel(middle, busiest) >= level)
                high = middle;
            else
                low = middle + 1;
        }
        if (CountLevel(low, busiest) == level)
            floors.push_back({level, low});
    }
    return floors;
}

LegendPlaces LayOutLegend(const CalendarLayout& layout, int leadWidth, std::span<const int> numberWidths) {
    LegendPlaces places;
    places.leadX = layout.left;
    int x = layout.left + leadWidth + layout.margin;
    for (const int width : numberWidths) {
        places.swatchX.push_back(x);
        places.numberX.push_back(x + layout.cell + layout.margin / 2);
        x += layout.cell + layout.margin / 2 + width + layout.margin;
    }
    return places;
}
