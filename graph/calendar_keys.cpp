#include "calendar_keys.h"

#include "civil_time.h"

#include <algorithm>

namespace {

// The same date a year away, 28 February for a 29th in a common year.
std::int64_t SameDateInYear(std::int64_t day, std::int64_t years) {
    const CivilDate date = DateOfDay(day);
    const std::int64_t year = date.year + years;
    return DaysFromCivil(year, date.month,
                         std::min(date.monthDay, DaysInMonth(IsLeapYear(year), date.month)));
}

} // namespace

std::optional<CalendarCursor> CalendarCursorAfterKey(const CalendarCursor& cursor, int key,
                                                     Qt::KeyboardModifiers modifiers,
                                                     const CalendarLayout& layout,
                                                     std::int64_t firstRecordDay,
                                                     std::int64_t lastRecordDay) {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    if (held != Qt::NoModifier && held != Qt::ShiftModifier)
        return std::nullopt;
    std::int64_t target = cursor.day;
    switch (key) {
    case Qt::Key_Left:
        target = cursor.day - 7;
        break;
    case Qt::Key_Right:
        target = cursor.day + 7;
        break;
    case Qt::Key_Up:
        target = cursor.day - 1;
        break;
    case Qt::Key_Down:
        target = cursor.day + 1;
        break;
    case Qt::Key_PageUp:
        target = SameDateInYear(cursor.day, 1);
        break;
    case Qt::Key_PageDown:
        target = SameDateInYear(cursor.day, -1);
        break;
    case Qt::Key_Home:
        target = firstRecordDay;
        break;
    case Qt::Key_End:
        target = lastRecordDay;
        break;
    default:
        return std::nullopt;
    }
    CalendarCursor next;
    next.day = StepShownDay(layout, cursor.day, target - cursor.day);
    if (held == Qt::ShiftModifier)
        next.anchor = cursor.anchor.value_or(cursor.day);
    return next;
}
