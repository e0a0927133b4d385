// The calendar widget: its rendered picture and the ranges it reports as they are chosen.
#include "calendar_paint.h"
#include "calendar_panel.h"
#include "civil_time.h"
#include "graph_render.h"
#include "stamp_store.h"
#include "time_zone.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

std::int64_t Day(std::int64_t year, int month, int monthDay) {
    return DaysFromCivil(year, month, monthDay);
}

class CalendarPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        // 37 files on one day, 1 on the next, 5 on a year's last day and a lone stamp of 1990.
        for (int i = 0; i < 37; ++i)
            store.AddStamp(LocalTime(2024, 3, 5, 9, i));
        store.AddStamp(LocalTime(2024, 3, 6, 23, 59, 59));
        for (int i = 0; i < 5; ++i)
            store.AddStamp(LocalTime(2023, 12, 31, 0, 0, i));
        store.AddStamp(LocalTime(1990, 6, 1, 12));
    }

    CScopedTimeZone zone{"Europe/Berlin"};
    CStampStore store;
};

QPoint Centre(const CalendarRect& cell) {
    return {cell.x + cell.width / 2, cell.y + cell.height / 2};
}

} // namespace

// The picture the report saves: each day's cell in its level's colour where the layout puts it,
// the range's ground around chosen cells only in the window, and the whole calendar in the picture.
TEST_F(CalendarPanelTest, RenderedCellsHaveTheirLevelsColours) {
    const QImage image = RenderCalendar(store, {QSize(760, 200), CountRule::Files});
    CCalendarPanel panel(store);
    panel.setAttribute(Qt::WA_DontShowOnScreen);
    panel.resize(image.size());
    panel.show();
    const CalendarLayout& layout = panel.Layout();
    ASSERT_EQ(layout.bands.size(), 4u); // 2024, 2023, the gap, 1990
    EXPECT_GE(image.height(), layout.height) << "the picture grows to hold every year";
    const QPoint origin = panel.viewport()->geometry().topLeft();
    const struct {
        std::int64_t day;
        int level;
    } cells[] = {{Day(2024, 3, 5), 4}, {Day(2024, 3, 6), 1}, {Day(2023, 12, 31), CountLevel(5, 37)},
                 {Day(1990, 6, 1), 1}, {Day(2024, 3, 7), 0}, {Day(2023, 1, 1), 0}};
    for (const auto& c : cells) {
        SCOPED_TRACE(IsoDate(c.day));
        const std::optional<CalendarRect> cell = DayCell(layout, c.day);
        ASSERT_TRUE(cell);
        EXPECT_EQ(QColor(image.pixel(Centre(*cell) + origin)), LevelColour(c.level));
        EXPECT_EQ(QColor(image.pixel(QPoint(cell->x, cell->y) + origin)), LevelColour(c.level)) << "corner";
    }
    EXPECT_NE(LevelColour(CountLevel(5, 37)), LevelColour(1));
    EXPECT_NE(LevelColour(CountLevel(5, 37)), LevelColour(4));
}

// Dragging across days and Shift with the arrows report the range as local midnights, half
// open, as they go; Escape clears it; a click alone chooses nothing.
TEST_F(CalendarPanelTest, ChosenRangesAreReportedAsLocalMidnights) {
    CCalendarPanel panel(store);
    panel.resize(760, 900);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    panel.setFocus();
    QSignalSpy chosen(&panel, &CCalendarPanel::DateRangeChosen);
    QSignalSpy cleared(&panel, &CCalendarPanel::DateRangeCleared);
    const CalendarLayout& layout = panel.Layout();
    const auto at = [&](std::int64_t day) {
        return Centre(*DayCell(layout, day)) - QPoint(0, panel.verticalScrollBar()->value());
    };

    QTest::mouseClick(panel.viewport(), Qt::LeftButton, {}, at(Day(2024, 3, 5)));
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(panel.CursorDay(), Day(2024, 3, 5));

    QTest::mousePress(panel.viewport(), Qt::LeftButton, {}, at(Day(2024, 3, 12)));
    QTest::mouseMove(panel.viewport(), at(Day(2024, 3, 20)));
    QTest::mouseMove(panel.viewport(), at(Day(2024, 3, 4)));
    QTest::mouseRelease(panel.viewport(), Qt::LeftButton, {}, at(Day(2024, 3, 4)));
    ASSERT_EQ(chosen.count(), 2);
    EXPECT_EQ(chosen[0][0].toLongLong(), LocalTime(2024, 3, 12));
    EXPECT_EQ(chosen[0][1].toLongLong(), LocalTime(2024, 3, 21));
    EXPECT_EQ(chosen[1][0].toLongLong(), LocalTime(2024, 3, 4)) << "a drag backwards ends where it began";
    EXPECT_EQ(chosen[1][1].toLongLong(), LocalTime(2024, 3, 13));

    // Across the night the clocks went forward: 31 March is 23 hours long in Berlin.
    panel.SetCursorDay(Day(2024, 3, 30));
    QTest::keyClick(&panel, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&panel, Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(chosen.count(), 4);
    EXPECT_EQ(chosen[3][0].toLongLong(), LocalTime(2024, 3, 30));
    EXPECT_EQ(chosen[3][1].toLongLong(), LocalTime(2024, 4, 2));
    EXPECT_EQ(chosen[3][1].toLongLong() - chosen[3][0].toLongLong(), 71 * 3600);
    EXPECT_EQ(panel.ChosenRange(), std::pair(Day(2024, 3, 30), Day(2024, 4, 1)));

    QTest::keyClick(&panel, Qt::Key_Escape);
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_FALSE(panel.ChosenRange());
    QTest::keyClick(&panel, Qt::Key_Escape);
    EXPECT_EQ(cleared.count(), 1) << "nothing left to clear";
}
