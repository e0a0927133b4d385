#include "time_axis_scale.h"

#include "analysis_period.h"
#include "calendar_names.h"
#include "civil_time.h"
#include "screen_units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace {

constexpr std::array<const char*, 4> kQuarterDayLabels{"", "6am", "Noon", "6pm"};
constexpr std::array<const char*, 24> kHourLabels{"",   "1a", "2a",  "3a",  "4a", "5a", "",    "7a",
                                                  "8a", "9a", "10a", "11a", "",   "1p", "2p",  "3p",
                                                  "4p", "5p", "",    "7p",  "8p", "9p", "10p", "11p"};
constexpr int kDaysInYear = 365;
constexpr int kDaysInMonthView = 31;

// k * w / n with the product first, truncated.
int Part(int k, int width, int n) {
    return static_cast<int>(static_cast<std::int64_t>(k) * width / n);
}

class CScaleBuilder {
public:
    CScaleBuilder(int width, int dpiY, const ITextMeasurer& measure)
        : m_width(width), m_dpiY(dpiY), m_measure(measure) {}

    int Width() const { return m_width; }
    int Mm(int millimetres) const { return MillimetresToPixels(millimetres, m_dpiY); }
    int TextWidth(std::string_view text, AxisFont font) const { return m_measure.TextWidth(text, font); }

    void Tick(int x, int millimetres) {
        if (x >= m_width)
            return; // the closing end of the period lies past the scale
        m_scale.ticks.push_back({x, Mm(millimetres)});
    }

    // x is wide: the closing entry of a row can lie past the last column, and has no text.
    void Label(std::int64_t x, int topMillimetres, AxisFont font, std::string text) {
        if (text.empty())
            return;
        m_scale.labels.push_back({static_cast<int>(x), Mm(topMillimetres), font, std::move(text),
                                  static_cast<int>(m_scale.ticks.size())});
    }

    TimeAxisScale Take() { return std::move(m_scale); }

private:
    int m_width;
    int m_dpiY;
    const ITextMeasurer& m_measure;
    TimeAxisScale m_scale;
};

void DayRows(CScaleBuilder& b) {
    const int w = b.Width();
    for (int k = 0; k <= 2; ++k)
        b.Tick(Part(k, w, 2), 8);
    if (b.TextWidth("Noon", AxisFont::Large) < w / 2)
        b.Label(w / 2, 6, AxisFont::Large, "Noon");
    if (w > 28) {
        const bool labelled = 4 * b.TextWidth("6am", AxisFont::Large) < w / 2;
        for (int k = 0; k < 4; ++k) {
            b.Tick(Part(k, w, 4), 5);
            if (labelled)
                b.Label(Part(k, w, 4), 6, AxisFont::Large, kQuarterDayLabels[static_cast<std::size_t>(k)]);
        }
    }
    if (w > 168) {
        const bool labelled = 24 * b.TextWidth("11pm", AxisFont::Small) < w;
        for (int k = 0; k < 24; ++k) {
            b.Tick(Part(k, w, 24), 2);
            if (labelled)
                b.Label(Part(k, w, 24), 3, AxisFont::Small, kHourLabels[static_cast<std::size_t>(k)]);
        }
    }
}

void WeekRows(CScaleBuilder& b) {
    const int w = b.Width();
    const int wWidth = b.TextWidth("W", AxisFont::Large);
    // A closing tick with no name marks the week's end.
    for (std::size_t k = 0; k <= kWeekDayAbbreviations.size(); ++k) {
        const int x = Part(static_cast<int>(k), w, 7);
        b.Tick(x, 8);
        if (k < kWeekDayAbbreviations.size())
            b.Label(std::int64_t{x} + w / 14, 6, AxisFont::Large,
                    CutDayName(std::string(kWeekDayAbbreviations[k]), w, wWidth));
    }
    if (w > 98) {
        for (int k = 0; k < 14; ++k)
            b.Tick(Part(k, w, 14), 5);
    }
    if (w > 196) {
        for (int k = 0; k < 28; ++k)
            b.Tick(Part(k, w, 28), 2);
    }
}

void MonthRows(CScaleBuilder& b) {
    const int w = b.Width();
    const bool fivesLabelled = 6 * b.TextWidth("30", AxisFont::Large) < w / 2;
    for (int d = 4; d < kDaysInMonthView; d += 5) {
        b.Tick(Part(d, w, kDaysInMonthView), 5);
        if (fivesLabelled)
            b.Label(Part(d, w, kDaysInMonthView), 6, AxisFont::Large, std::to_string(d + 1));
    }
    const bool daysLabelled = 50 * b.TextWidth("30", AxisFont::Small) < w;
    for (int d = 1; d <= kDaysInMonthView; ++d) {
        b.Tick(Part(d - 1, w, kDaysInMonthView), 2);
        if (daysLabelled && d % 5 != 0)
            b.Label(Part(d - 1, w, kDaysInMonthView), 3, AxisFont::Small, std::to_string(d));
    }
}

void YearRows(CScaleBuilder& b) {
    const int w = b.Width();
    const bool labelled = 12 * b.TextWidth(kMonthAbbreviations[0], AxisFont::Large) < w / 2;
    // A common year; a closing entry with no days and no name marks the year's end.
    int daysBefore = 0;
    for (std::size_t month = 0; month <= kMonthAbbreviations.size(); ++month) {
        const bool closing = month == kMonthAbbreviations.size();
        const int days = closing ? 0 : DaysInMonth(false, static_cast<int>(month) + 1);
        const int x = Part(daysBefore, w, kDaysInYear);
        b.Tick(x, 5);
        if (labelled)
            b.Label(x + Part(days, w, 2 * kDaysInYear), 2, AxisFont::Large,
                    closing ? "" : std::string(kMonthAbbreviations[month]));
        daysBefore += days;
    }
}

} // namespace

TimeAxisScale ComputeTimeAxisScale(int view, int width, int dpiY, const ITextMeasurer& measure) {
    CScaleBuilder builder(width, dpiY, measure);
    if (width <= 0)
        return builder.Take();
    switch (view) {
    case VIEW_DAY:
        DayRows(builder);
        break;
    case VIEW_WEEK:
        WeekRows(builder);
        break;
    case VIEW_MONTH:
        MonthRows(builder);
        break;
    case VIEW_YEAR:
        YearRows(builder);
        break;
    default:
        break;
    }
    return builder.Take();
}

std::string CutDayName(const std::string& name, int width, int wWidth) {
    const double allowed = width / (7 * wWidth * 1.2);
    if (!(allowed < static_cast<double>(name.size())))
        return name;
    return name.substr(0, static_cast<std::size_t>(std::max(0.0, std::trunc(allowed))));
}
