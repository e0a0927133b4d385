#include "calendar_paint.h"

#include "calendar_names.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <array>
#include <vector>

namespace {

const std::array<QColor, kCountLevels + 1> kLevelColours{QColor(235, 237, 240), QColor(198, 219, 239),
                                                         QColor(107, 174, 214), QColor(33, 113, 181),
                                                         QColor(8, 48, 107)};
const QColor kTextColour(Qt::black);

QRect RectOf(const CalendarRect& cell) {
    return {cell.x, cell.y, cell.width, cell.height};
}

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// "file(s) a day:", then a swatch of every level with the least count that reaches it, the last
// with the busiest day's count too.
void PaintLegend(QPainter& painter, const CalendarScene& scene, std::int64_t busiest,
                 const QFontMetrics& metrics) {
    const CalendarLayout& layout = scene.layout;
    const std::vector<LevelFloor> floors = LevelFloors(busiest);
    const QString lead =
        QStringLiteral("%1 a day:").arg(QString::fromLatin1(CountedUnits(scene.rule, scene.kind)));
    std::vector<QString> numbers;
    std::vector<int> widths;
    for (const LevelFloor& floor : floors) {
        numbers.push_back(floor.level == kCountLevels && floor.count < busiest
                              ? QStringLiteral("%1 to %2").arg(floor.count).arg(busiest)
                              : QString::number(floor.count));
        widths.push_back(metrics.horizontalAdvance(numbers.back()));
    }
    const LegendPlaces places = LayOutLegend(layout, metrics.horizontalAdvance(lead), widths);
    const int baseline = layout.legendTop + (layout.cell - metrics.height()) / 2 + metrics.ascent();
    painter.drawText(QPoint(places.leadX, baseline), lead);
    for (std::size_t i = 0; i < floors.size(); ++i) {
        painter.fillRect(QRect(places.swatchX[i], layout.legendTop, layout.cell, layout.cell),
                         LevelColour(floors[i].level));
        painter.drawText(QPoint(places.numberX[i], baseline), numbers[i]);
    }
}

void PaintYear(QPainter& painter, const CalendarScene& scene, const CalendarBand& band, std::int64_t busiest,
               const QFontMetrics& metrics) {
    const CalendarLayout& layout = scene.layout;
    const int baseline = band.top + metrics.ascent();
    QFont bold = painter.font();
    bold.setBold(true);
    painter.save();
    painter.setFont(bold);
    painter.drawText(QPoint(layout.margin, baseline), QString::number(band.year));
    painter.restore();
    for (int month = 1; month <= 12; ++month)
        painter.drawText(QPoint(MonthLabelX(layout, band, month), baseline),
                         Latin1(kMonthAbbreviations[static_cast<std::size_t>(month - 1)]));
    // Every row named when the rows are a line apart, else every other one.
    const bool everyRow = layout.pitch >= metrics.height();
    const int cellsTop = band.top + layout.lineHeight;
    for (int row = 0; row < 7; ++row) {
        if (!everyRow && row % 2 == 0)
            continue;
        const int middle = cellsTop + row * layout.pitch + layout.cell / 2;
        painter.drawText(QPoint(layout.margin, middle - metrics.height() / 2 + metrics.ascent()),
                         Latin1(kWeekDayAbbreviations[static_cast<std::size_t>(row)]));
    }

    const auto first = std::lower_bound(scene.days.begin(), scene.days.end(), band.firstDay,
                                        [](const DayCount& a, std::int64_t d) { return a.day < d; });
    auto next = first;
    for (std::int64_t day = band.firstDay; day < band.firstDay + band.days; ++day) {
        std::int64_t count = 0;
        if (next != scene.days.end() && next->day == day)
            count = (next++)->count;
        const QRect cell = RectOf(*DayCell(layout, day));
        const bool chosen = scene.range && day >= scene.range->first && day <= scene.range->second;
        if (chosen) {
            // The range's ground reaches to the neighbouring cells, so the chosen days read as one patch.
            const int spacing = layout.pitch - layout.cell;
            painter.fillRect(cell.adjusted(-spacing, -spacing, spacing, spacing), kChosenRangeColour);
        }
        painter.fillRect(cell, LevelColour(CountLevel(count, busiest)));
    }
}

void PaintCursor(QPainter& painter, const CalendarScene& scene) {
    if (!scene.cursor)
        return;
    const std::optional<CalendarRect> cell = DayCell(scene.layout, *scene.cursor);
    if (!cell)
        return;
    painter.save();
    painter.setPen(QPen(kTextColour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(RectOf(*cell)).adjusted(-1, -1, 1, 1));
    painter.restore();
}

} // namespace

const QColor kChosenRangeColour(255, 176, 0);

QColor LevelColour(int level) {
    return kLevelColours[static_cast<std::size_t>(std::clamp(level, 0, kCountLevels))];
}

void PaintCalendar(QPainter& painter, const CalendarScene& scene, const QFont& font) {
    painter.save();
    painter.setFont(font);
    painter.setPen(kTextColour);
    const QFontMetrics metrics(font);
    std::int64_t busiest = 0;
    for (const DayCount& day : scene.days)
        busiest = std::max(busiest, day.count);
    PaintLegend(painter, scene, busiest, metrics);
    for (const CalendarBand& band : scene.layout.bands) {
        if (band.gapYears != 0)
            painter.drawText(QPoint(scene.layout.left, band.top + metrics.ascent()),
                             QString::fromStdString(GapText(band.gapYears, scene.kind)));
        else
            PaintYear(painter, scene, band, busiest, metrics);
    }
    PaintCursor(painter, scene);
    painter.restore();
}
