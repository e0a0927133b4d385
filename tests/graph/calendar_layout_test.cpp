// The calendar's arithmetic: week columns, bands and gaps, the cells under the pointer, the
// colour levels and the keys that move its cursor.
#include "calendar_keys.h"
#include "calendar_layout.h"
#include "civil_time.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

std::int64_t Day(std::int64_t year, int month, int monthDay) {
    return DaysFromCivil(year, month, monthDay);
}

CalendarLayout LayoutOf(std::vector<std::int64_t> days) {
    std::vector<DayCount> counts;
    for (const std::int64_t day : days)
        counts.push_back({day, 1});
    return LayOutCalendar(counts, {800, 14, 30});
}

} // namespace

// Newest year on top; a run of empty years folds into one gap band, whatever its length.
TEST(CalendarLayout, BandsNewestFirstWithGapsFolded) {
    const CalendarLayout layout =
        LayoutOf({Day(1980, 6, 1), Day(2022, 12, 31), Day(2024, 1, 1), Day(2024, 7, 1)});
    ASSERT_EQ(layout.bands.size(), 5u);
    const struct {
        std::int64_t year;
        std::int64_t gapYears;
    } expected[] = {{2024, 0}, {2023, 1}, {2022, 0}, {2021, 41}, {1980, 0}};
    int top = layout.bands.front().top;
    for (std::size_t i = 0; i < layout.bands.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(layout.bands[i].year, expected[i].year);
        EXPECT_EQ(layout.bands[i].gapYears, expected[i].gapYears);
        EXPECT_EQ(layout.bands[i].top, top) << "bands follow one another without overlap";
        top += layout.bands[i].height;
    }
    EXPECT_LT(layout.bands[3].height, layout.bands[4].height / 3) << "a gap is one line, not a year";
    EXPECT_GE(layout.height, top);
    EXPECT_EQ(GapText(41, RecordKind::Files), "41 years without files");
    EXPECT_EQ(GapText(1, RecordKind::Commits), "1 year without commits");
    EXPECT_EQ(layout.pitch, (800 - layout.left - layout.margin) / kWeeksInBand) << "the weeks fill the width";
    EXPECT_TRUE(LayoutOf({}).bands.empty());
}

// Weeks begin on Sunday: a year's first days share the column of the Sunday before them.
TEST(CalendarLayout, SundayFirstWeekColumnsAcrossYearEndsAndLeapYears) {
    const CalendarLayout layout =
        LayoutOf({Day(2000, 1, 1), Day(2001, 1, 1), Day(2023, 1, 1), Day(2024, 1, 1), Day(2025, 1, 1)});
    const struct {
        std::int64_t day;
        int column;
        int row;
    } cases[] = {
        {Day(2023, 1, 1), 0, 0},                              // a Sunday opens its year
        {Day(2023, 12, 30), 51, 6},                           // Saturday
        {Day(2023, 12, 31), 52, 0},                           // Sunday: a new column
        {Day(2024, 1, 1), 0, 1},                              // Monday, in the next year's band
        {Day(2024, 1, 7), 1, 0},    {Day(2024, 2, 29), 8, 4}, // the leap day
        {Day(2024, 12, 31), 52, 2},                           // Tuesday
        {Day(2000, 1, 1), 0, 6},                              // a leap year that begins on a Saturday ...
        {Day(2000, 12, 31), 53, 0},                           // ... ends in its 54th column
        {Day(2001, 1, 1), 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(IsoDate(c.day));
        const std::optional<CalendarRect> cell = DayCell(layout, c.day);
        ASSERT_TRUE(cell);
        const CalendarBand* band = BandOfYear(layout, DateOfDay(c.day).year);
        ASSERT_NE(band, nullptr);
        EXPECT_EQ(cell->x, layout.left + c.column * layout.pitch);
        EXPECT_EQ(cell->y, band->top + layout.lineHeight + c.row * layout.pitch);
        EXPECT_EQ(cell->width, layout.cell);
        // Every point of the cell's pitch square reads as that day.
        EXPECT_EQ(DayAtPoint(layout, cell->x, cell->y), c.day);
        EXPECT_EQ(DayAtPoint(layout, cell->x + layout.pitch - 1, cell->y + layout.pitch - 1), c.day);
    }
    EXPECT_FALSE(DayCell(layout, Day(2010, 5, 5))) << "a folded year has no cells";
    const CalendarBand& y2023 = *BandOfYear(layout, 2023);
    EXPECT_FALSE(DayAtPoint(layout, layout.left - 1, y2023.top + layout.lineHeight));
    EXPECT_FALSE(
        DayAtPoint(layout, layout.left + 52 * layout.pitch, y2023.top + layout.lineHeight + layout.pitch))
        << "past 31 December";
    EXPECT_EQ(MonthLabelX(layout, y2023, 3), layout.left + 8 * layout.pitch); // 1 March 2023 is in week 8
}

TEST(CalendarLayout, LevelsRiseWithTheCountAndTheLegendNamesTheirFloors) {
    EXPECT_EQ(CountLevel(0, 100), 0);
    EXPECT_EQ(CountLevel(1, 1), kCountLevels);
    EXPECT_EQ(CountLevel(100, 100), kCountLevels);
    for (const std::int64_t busiest : {1, 2, 5, 100, 2323, 1000000}) {
        SCOPED_TRACE(busiest);
        const std::vector<LevelFloor> floors = LevelFloors(busiest);
        ASSERT_FALSE(floors.empty());
        EXPECT_EQ(floors.front().count, 1);
        EXPECT_EQ(floors.back().level, kCountLevels);
        for (const LevelFloor& floor : floors) {
            EXPECT_EQ(CountLevel(floor.count, busiest), floor.level);
            if (floor.count > 1) {
                EXPECT_LT(CountLevel(floor.count - 1, busiest), floor.level);
            }
        }
        int previous = 0;
        for (std::int64_t count = 1; count <= std::min<std::int64_t>(busiest, 5000); ++count) {
            EXPECT_GE(CountLevel(count, busiest), previous);
            previous = CountLevel(count, busiest);
        }
    }
}

// Left/Right move a week, Up/Down a day, Page Up/Down a year, Home/End to the first and last
// day with records; Shift keeps the anchor; a gap is jumped; the cursor stays in the shown years.
TEST(CalendarLayout, KeysMoveTheCursorAndShiftStretchesARange) {
    const CalendarLayout layout = LayoutOf({Day(2019, 6, 1), Day(2023, 3, 5), Day(2024, 2, 29)});
    const std::int64_t first = Day(2019, 6, 1);
    const std::int64_t last = Day(2024, 2, 29);
    constexpr auto none = Qt::NoModifier;
    constexpr auto shift = Qt::ShiftModifier;
    const struct {
        std::int64_t from;
        std::optional<std::int64_t> anchor;
        int key;
        Qt::KeyboardModifiers modifiers;
        std::optional<CalendarCursor> expected;
    } cases[] = {
        {Day(2024, 3, 5), {}, Qt::Key_Right, none, CalendarCursor{Day(2024, 3, 12), {}}},
        {Day(2024, 3, 5), {}, Qt::Key_Left, none, CalendarCursor{Day(2024, 2, 27), {}}},
        {Day(2024, 1, 1), {}, Qt::Key_Up, none, CalendarCursor{Day(2023, 12, 31), {}}},
        {Day(2024, 3, 5), {}, Qt::Key_Down, shift, CalendarCursor{Day(2024, 3, 6), Day(2024, 3, 5)}},
        {Day(2024, 3, 6), Day(2024, 3, 5), Qt::Key_Right, shift,
         CalendarCursor{Day(2024, 3, 13), Day(2024, 3, 5)}},
        {Day(2024, 3, 6), Day(2024, 3, 5), Qt::Key_Down, none, CalendarCursor{Day(2024, 3, 7), {}}},
        {Day(2024, 2, 29), {}, Qt::Key_PageDown, none, CalendarCursor{Day(2023, 2, 28), {}}},
        {Day(2023, 3, 5), {}, Qt::Key_PageUp, none, CalendarCursor{Day(2024, 3, 5), {}}},
        {Day(2023, 3, 5), {}, Qt::Key_PageDown, none, CalendarCursor{Day(2019, 12, 31), {}}}, // over the gap
        {Day(2019, 12, 31), {}, Qt::Key_Down, none, CalendarCursor{Day(2023, 1, 1), {}}},
        {Day(2024, 12, 31), {}, Qt::Key_Right, none, CalendarCursor{Day(2024, 12, 31), {}}}, // the end
        {Day(2019, 1, 1), {}, Qt::Key_Left, none, CalendarCursor{Day(2019, 1, 1), {}}},
        {Day(2023, 3, 5), {}, Qt::Key_Home, none, CalendarCursor{first, {}}},
        {Day(2023, 3, 5), {}, Qt::Key_End, shift, CalendarCursor{last, Day(2023, 3, 5)}},
        {Day(2023, 3, 5), {}, Qt::Key_Right, Qt::ControlModifier, std::nullopt},
        {Day(2023, 3, 5), {}, Qt::Key_A, none, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(IsoDate(c.from) + " key " + std::to_string(c.key));
        EXPECT_EQ(CalendarCursorAfterKey({c.from, c.anchor}, c.key, c.modifiers, layout, first, last),
                  c.expected);
    }
}
