#include "analysis_period.h"
#include "time_zone.h"

#include <gtest/gtest.h>

namespace {

TEST(AnalysisPeriod, OtherValuesHaveTheDayViewsBinCount) {
    EXPECT_EQ(BinsForView(-1), 1440);
    EXPECT_EQ(BinsForView(4), 1440);
}

TEST(AnalysisPeriod, ViewNamesRoundTrip) {
    for (int view = 0; view < 4; ++view)
        EXPECT_EQ(ViewFromName(ViewName(view)), view);
    EXPECT_EQ(ViewFromName("Day"), std::nullopt);
    EXPECT_EQ(ViewName(7), "day");
}

TEST(AnalysisPeriod, FirstAndLastBinsReadBackInEveryZone) {
    for (const char* zone : kTestZones) {
        CScopedTimeZone scoped(zone); // display times are UTC, whatever the zone
        EXPECT_EQ(FormatBinTime(VIEW_DAY, 0), "12:00 AM") << zone;
        EXPECT_EQ(FormatBinTime(VIEW_WEEK, 0), "Sunday 12:00 AM") << zone;
        EXPECT_EQ(FormatBinTime(VIEW_MONTH, 0), "Day 01, 12:00 AM") << zone;
        EXPECT_EQ(FormatBinTime(VIEW_YEAR, 0), "01 January, 12:00 AM") << zone;
        EXPECT_EQ(FormatBinTime(VIEW_DAY, 1439), "11:59 PM") << zone;
        EXPECT_EQ(FormatBinTime(VIEW_WEEK, 1679), "Saturday 11:54 PM") << zone;
        EXPECT_EQ(FormatBinTime(VIEW_MONTH, 1487), "Day 31, 11:30 PM") << zone;
        EXPECT_EQ(FormatBinTime(VIEW_YEAR, 1459), "31 December, 06:00 PM") << zone;
    }
}

TEST(AnalysisPeriod, BinTimesAreSyntheticUtcSeconds) {
    EXPECT_EQ(BinTime(VIEW_DAY, 870), 870 * 60);
    EXPECT_EQ(BinTime(VIEW_WEEK, 0), 259200);
    EXPECT_EQ(BinTime(VIEW_WEEK, 840), 840 * 360 + 259200);
    EXPECT_EQ(BinTime(VIEW_MONTH, 1368), 1368 * 1800);
    EXPECT_EQ(BinTime(VIEW_YEAR, 724), 724 * 21600);
    EXPECT_EQ(FormatBinTime(VIEW_DAY, 870), "02:30 PM");
    EXPECT_EQ(FormatBinTime(VIEW_WEEK, 840), "Wednesday 12:00 PM");
    EXPECT_STREQ(BinTimeFormat(9), "%I:%M %p");
}

TEST(AnalysisPeriod, AveragingLabels) {
    EXPECT_EQ(FormatAveragingPeriod(VIEW_DAY, 50), "100 minutes");
    EXPECT_EQ(FormatAveragingPeriod(VIEW_WEEK, 50), "10.0 hours");
    EXPECT_EQ(FormatAveragingPeriod(VIEW_MONTH, 50), "50.0 hours");
    EXPECT_EQ(FormatAveragingPeriod(VIEW_YEAR, 50), "25.0 days");
    // At position 0 the window is one bin; the C library prints 0.25 as "0.2".
    EXPECT_EQ(FormatAveragingPeriod(VIEW_DAY, 0), "1 minutes");
    EXPECT_EQ(FormatAveragingPeriod(VIEW_WEEK, 0), "0.1 hours");
    EXPECT_EQ(FormatAveragingPeriod(VIEW_MONTH, 0), "0.5 hours");
    EXPECT_EQ(FormatAveragingPeriod(VIEW_YEAR, 0), "0.2 days");
    EXPECT_EQ(FormatAveragingPeriod(VIEW_YEAR, 100), "50.0 days");
    EXPECT_EQ(FormatAveragingPeriod(-1, 50), std::nullopt);
    EXPECT_EQ(FormatAveragingPeriod(4, 50), std::nullopt);
    EXPECT_EQ(AveragingWindow(0), 1);
    EXPECT_EQ(AveragingWindow(1), 2);
}

} // namespace
