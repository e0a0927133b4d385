#pragma once

#include "calendar_layout.h"

#include <Qt>
#include <cstdint>
#include <optional>

// The calendar's keyboard cursor and the range of days chosen with it.
struct CalendarCursor {
    std::int64_t day = 0;
    std::optional<std::int64_t> anchor; // where a range being chosen with Shift began
    bool operator==(const CalendarCursor&) const = default;
};

// The cursor after a key, or nothing for a key the calendar does not move by: Left/Right a week
// (a column), Up/Down a day (a row), Page Up/Down a year later or earlier (the band above or
// below), Home and End to the first and the last day with records. With Shift the move
// stretches a range from where the cursor stood; without, it starts none.
std::optional<CalendarCursor> CalendarCursorAfterKey(const CalendarCursor& cursor, int key,
                                                     Qt::KeyboardModifiers modifiers,
                                                     const CalendarLayout& layout,
                                                     std::int64_t firstRecordDay, std::int64_t lastRecordDay);
