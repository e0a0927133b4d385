#pragma once

#include "calendar_layout.h"
#include "period_histograms.h"

#include <QColor>
#include <QFont>
#include <cstdint>
#include <optional>
#include <span>

class QPainter;

// What a picture of the calendar shows: the days and their layout, and the marks of the window.
struct CalendarScene {
    const CalendarLayout& layout;
    std::span<const DayCount> days;
    RecordKind kind = RecordKind::Files;
    CountRule rule = CountRule::Files;
    std::optional<std::int64_t> cursor; // the keyboard cursor's day, while the calendar has the focus
    std::optional<std::pair<std::int64_t, std::int64_t>> range; // first and last day chosen
};

// The colour of a cell at a level (0 for a day without records) and of a chosen range's ground.
QColor LevelColour(int level);
extern const QColor kChosenRangeColour;

// Paints the calendar in the painter's current coordinates: the legend, every shown year's
// cells with their week-day and month names, and the gaps' texts.
void PaintCalendar(QPainter& painter, const CalendarScene& scene, const QFont& font);
