#include "analysis_period.h"
#include "fake_text_measurer.h"
#include "time_axis_scale.h"
#include "time_axis_strip.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace {

const CFakeTextMeasurer kMeasure;
constexpr int kDpi = 96; // 2 mm = 7, 3 mm = 11, 5 mm = 18, 6 mm = 22, 8 mm = 30 rows

TimeAxisScale ScaleOf(int view, int width) {
    return ComputeTimeAxisScale(view, width, kDpi, kMeasure);
}

std::vector<int> TickColumns(const TimeAxisScale& scale, int length) {
    std::vector<int> columns;
    for (const TimeAxisTick& tick : scale.ticks)
        if (tick.length == length)
            columns.push_back(tick.x);
    return columns;
}

std::vector<std::string> Texts(const TimeAxisScale& scale) {
    std::vector<std::string> texts;
    for (const TimeAxisLabel& label : scale.labels)
        texts.push_back(label.text);
    return texts;
}

const TimeAxisLabel* Find(const TimeAxisScale& scale, const std::string& text) {
    for (const TimeAxisLabel& label : scale.labels)
        if (label.text == text)
            return &label;
    return nullptr;
}

using Columns = std::vector<int>;
using Names = std::vector<std::string>;

TEST(DayScale, SixHoursOfOffsetOnSixHundredPixels) {
    const int w = 600;
    const TimeAxisScale scale = ScaleOf(VIEW_DAY, w);
    EXPECT_EQ(TickColumns(scale, 30), (Columns{0, 300}));
    EXPECT_EQ(TickColumns(scale, 18), (Columns{0, 150, 300, 450}));
    EXPECT_EQ(TickColumns(scale, 7).size(), 24u);
    EXPECT_EQ(TickColumns(scale, 7)[1], 25);

    // Turned by s = 150, scale column i shows at band column (i + s) mod w.
    const int s = TimeAxisShift(w, 360.0, 1440);
    ASSERT_EQ(s, 150);
    const auto band = [&](int x) { return (x + s) % w; };
    EXPECT_EQ(band(TickColumns(scale, 30)[0]), 150); // midnight
    EXPECT_EQ(band(Find(scale, "6am")->x), 300);
    EXPECT_EQ(band(Find(scale, "Noon")->x), 450);
    EXPECT_EQ(band(Find(scale, "6pm")->x), 0); // split between the band's two ends
}

TEST(DayScale, RowsAppearAsTheWidthAllows) {
    // "Noon" is 40 wide, "6am" 30, "11pm" 24 in the small font.
    struct Case {
        int width;
        std::size_t quarterTicks, hourTicks;
        Names labels;
    };
    const Case cases[] = {
        {28, 0, 0, {}},
        {29, 4, 0, {}},
        {81, 4, 0, {}},
        {82, 4, 0, {"Noon"}},
        {168, 4, 0, {"Noon"}},
        {169, 4, 24, {"Noon"}},
        {241, 4, 24, {"Noon"}},
        {242, 4, 24, {"Noon", "6am", "Noon", "6pm"}},
        {576, 4, 24, {"Noon", "6am", "Noon", "6pm"}},
        {577, 4, 24, {"Noon", "6am", "Noon", "6pm", "1a", "2a", "3a", "4a", "5a", "7a", "8a",  "9a",
                      "10a",  "11a", "1p",   "2p",  "3p", "4p", "5p", "7p", "8p", "9p", "10p", "11p"}},
    };
    for (const Case& c : cases) {
        const TimeAxisScale scale = ScaleOf(VIEW_DAY, c.width);
        EXPECT_EQ(TickColumns(scale, 30), (Columns{0, c.width / 2})) << "w = " << c.width;
        EXPECT_EQ(TickColumns(scale, 18).size(), c.quarterTicks) << "w = " << c.width;
        EXPECT_EQ(TickColumns(scale, 7).size(), c.hourTicks) << "w = " << c.width;
        EXPECT_EQ(Texts(scale), c.labels) << "w = " << c.width;
    }
}

TEST(DayScale, LabelFontsHeightsAndDrawingOrder) {
    const TimeAxisScale scale = ScaleOf(VIEW_DAY, 600);
    const TimeAxisLabel& noon = scale.labels[0];
    EXPECT_EQ(noon.text, "Noon");
    EXPECT_EQ(noon.x, 300);
    EXPECT_EQ(noon.top, 22); // 6 mm, over the lower part of the 8 mm noon tick
    EXPECT_EQ(noon.font, AxisFont::Large);
    EXPECT_EQ(noon.ticksBefore, 2);
    const TimeAxisLabel& sixAm = *Find(scale, "6am");
    EXPECT_EQ(sixAm.ticksBefore, 2 + 2); // right after its own quarter tick
    const TimeAxisLabel& oneAm = *Find(scale, "1a");
    EXPECT_EQ(oneAm.x, 25);
    EXPECT_EQ(oneAm.top, 11);
    EXPECT_EQ(oneAm.font, AxisFont::Small);
    EXPECT_EQ(oneAm.ticksBefore, 2 + 4 + 2);
}

TEST(WeekScale, DayNamesAreCutByWidth) {
    // "W" is 15 wide, so every name may have w / 126 characters.
    struct Case {
        int width;
        Names names;
    };
    const Names one{"S", "M", "T", "W", "T", "F", "S"};
    const Names two{"Su", "Mo", "Tu", "We", "Th", "Fr", "Sa"};
    const Names three{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    const Names four{"Sun", "Mon", "Tues", "Weds", "Thur", "Fri", "Sat"};
    const Names whole{"Sun", "Mon", "Tues", "Weds", "Thurs", "Fri", "Sat"};
    const Case cases[] = {
        {125, {}},    {126, one},  {251, one},  {252, two},   {377, two},    {378, three},
        {503, three}, {504, four}, {629, four}, {630, whole}, {2000, whole},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Texts(ScaleOf(VIEW_WEEK, c.width)), c.names) << "w = " << c.width;
}

TEST(WeekScale, NamesStandInTheMiddleOfTheirDays) {
    const TimeAxisScale scale = ScaleOf(VIEW_WEEK, 700);
    ASSERT_EQ(scale.labels.size(), 7u);
    for (int k = 0; k < 7; ++k) {
        const TimeAxisLabel& label = scale.labels[static_cast<std::size_t>(k)];
        EXPECT_EQ(label.x, k * 100 + 50);
        EXPECT_EQ(label.top, 22);
        EXPECT_EQ(label.ticksBefore, k + 1);
    }
}

TEST(WeekScale, FinerTicksAppearAsTheWidthAllows) {
    struct Case {
        int width;
        std::size_t halfDays, sixHours;
    };
    const Case cases[] = {{98, 0, 0}, {99, 14, 0}, {196, 14, 0}, {197, 14, 28}};
    for (const Case& c : cases) {
        const TimeAxisScale scale = ScaleOf(VIEW_WEEK, c.width);
        EXPECT_EQ(TickColumns(scale, 30).size(), 7u) << "w = " << c.width;
        EXPECT_EQ(TickColumns(scale, 18).size(), c.halfDays) << "w = " << c.width;
        EXPECT_EQ(TickColumns(scale, 7).size(), c.sixHours) << "w = " << c.width;
    }
    EXPECT_EQ(TickColumns(ScaleOf(VIEW_WEEK, 197), 30), (Columns{0, 28, 56, 84, 112, 140, 168}));
}

TEST(MonthScale, NumberRows) {
    // 20 pixels a day; "30" is 20 wide in the large font, 12 in the small one.
    const TimeAxisScale scale = ScaleOf(VIEW_MONTH, 620);
    EXPECT_EQ(TickColumns(scale, 18), (Columns{80, 180, 280, 380, 480, 580}));
    const Columns days = TickColumns(scale, 7);
    ASSERT_EQ(days.size(), 31u);
    EXPECT_EQ(days.front(), 0);
    EXPECT_EQ(days.back(), 600); // day 31 begins there; the period's end has no tick
    const Names expected{"5",  "10", "15", "20", "25", "30", "1",  "2",  "3",  "4",  "6",
                         "7",  "8",  "9",  "11", "12", "13", "14", "16", "17", "18", "19",
                         "21", "22", "23", "24", "26", "27", "28", "29", "31"};
    EXPECT_EQ(Texts(scale), expected);
    const TimeAxisLabel& five = *Find(scale, "5");
    EXPECT_EQ(five.x, 80);
    EXPECT_EQ(five.top, 22);
    EXPECT_EQ(five.font, AxisFont::Large);
    const TimeAxisLabel& first = *Find(scale, "1");
    EXPECT_EQ(first.x, 0); // centred on the seam
    EXPECT_EQ(first.top, 11);
    EXPECT_EQ(first.font, AxisFont::Small);
}

TEST(MonthScale, RowsOfNumbersNeedTheirWidth) {
    struct Case {
        int width;
        std::size_t large, small;
    };
    const Case cases[] = {{241, 0, 0}, {242, 6, 0}, {600, 6, 0}, {601, 6, 25}};
    for (const Case& c : cases) {
        const TimeAxisScale scale = ScaleOf(VIEW_MONTH, c.width);
        std::size_t large = 0, small = 0;
        for (const TimeAxisLabel& label : scale.labels)
            (label.font == AxisFont::Large ? large : small)++;
        EXPECT_EQ(large, c.large) << "w = " << c.width;
        EXPECT_EQ(small, c.small) << "w = " << c.width;
        EXPECT_EQ(scale.ticks.size(), 6u + 31u) << "ticks are drawn at every width";
    }
}

TEST(YearScale, MonthNamesAppearAllTogether) {
    // "Jan" is 30 wide: the names need 12 * 30 < w / 2.
    EXPECT_TRUE(ScaleOf(VIEW_YEAR, 721).labels.empty());
    EXPECT_EQ(ScaleOf(VIEW_YEAR, 721).ticks.size(), 12u);
    const TimeAxisScale scale = ScaleOf(VIEW_YEAR, 730); // two pixels a day
    EXPECT_EQ(Texts(scale),
              (Names{"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"}));
    EXPECT_EQ(TickColumns(scale, 18), (Columns{0, 62, 118, 180, 240, 302, 362, 424, 486, 546, 608, 668}));
    EXPECT_EQ(scale.labels[0].x, 31); // the middle of January
    EXPECT_EQ(scale.labels[1].x, 62 + 28);
    EXPECT_EQ(scale.labels[11].x, 668 + 31);
    EXPECT_EQ(scale.labels[11].top, 7); // 2 mm
}

// Every tick and label stands inside the band, up to the widest: the closing ticks are left out,
// as x = 0 stands for both ends.
TEST(TimeAxisScale, TicksAndLabelsStayInsideAndClosingTicksAreLeftOut) {
    constexpr int kWidest = std::numeric_limits<int>::max();
    for (const int view : {VIEW_DAY, VIEW_WEEK, VIEW_MONTH, VIEW_YEAR}) {
        for (const int w : {1, 7, 31, 365, 600, 1000, kWidest}) {
            SCOPED_TRACE(testing::Message() << "view " << view << ", w = " << w);
            const TimeAxisScale scale = ScaleOf(view, w);
            ASSERT_FALSE(scale.ticks.empty());
            EXPECT_TRUE(
                std::ranges::any_of(scale.ticks, [](const TimeAxisTick& tick) { return tick.x == 0; }));
            for (const TimeAxisTick& tick : scale.ticks) {
                EXPECT_GE(tick.x, 0);
                EXPECT_LT(tick.x, w);
            }
            EXPECT_TRUE(w < kWidest || !scale.labels.empty());
            for (const TimeAxisLabel& label : scale.labels) {
                EXPECT_GE(label.x, 0) << label.text;
                EXPECT_LT(label.x, w) << label.text;
            }
        }
    }
    EXPECT_EQ(Texts(ScaleOf(VIEW_WEEK, kWidest)),
              (Names{"Sun", "Mon", "Tues", "Weds", "Thurs", "Fri", "Sat"}));
}

TEST(TimeAxisScale, NothingForAnUnknownViewOrNoWidth) {
    EXPECT_TRUE(ScaleOf(4, 600).ticks.empty());
    EXPECT_TRUE(ScaleOf(-1, 600).labels.empty());
    for (const int view : {VIEW_DAY, VIEW_WEEK, VIEW_MONTH, VIEW_YEAR}) {
        EXPECT_TRUE(ScaleOf(view, 0).ticks.empty());
        EXPECT_TRUE(ScaleOf(view, -30).labels.empty());
    }
}

TEST(CutDayName, KeepsWholeNamesWhenTheLetterHasNoWidth) {
    EXPECT_EQ(CutDayName("Thurs", 600, 0), "Thurs");
    EXPECT_EQ(CutDayName("Thurs", 0, 15), "");
}

} // namespace
