#include "report_writer.h"
#include "stamp_store.h"
#include "time_zone.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

TEST(ReportWriter, BusiestBinIsTheFirstHighest) {
    Histogram histogram;
    histogram.SetSize(5);
    EXPECT_EQ(BusiestBin(histogram), 0);
    histogram[1] = 3;
    histogram[3] = 3;
    histogram[4] = 2;
    EXPECT_EQ(BusiestBin(histogram), 1);
}

TEST(ReportWriter, SummaryNamesTheBusiestTimeOfEachView) {
    CScopedTimeZone utc("UTC");
    CStampStore store;
    store.AddStamp(1719844200); // Monday 1 July 2024, 14:30 UTC
    store.AddStamp(1719844200 + 7 * 86400);
    store.AddStamp(0);
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    std::ostringstream out;
    const int views[] = {0, 1, 2, 3};
    WriteSummary(out, store, histograms, views);
    EXPECT_EQ(out.str(), "3 files in \n"
                         "day: busiest 02:30 PM, 2 files\n"
                         "week: busiest Monday 02:30 PM, 2 files\n"
                         "month: busiest Day 01, 12:00 AM, 1 files\n"
                         "year: busiest 01 January, 12:00 AM, 1 files\n");
}

TEST(ReportWriter, SummarySaysWhatCouldNotBeBinned) {
    CStampStore store;
    store.AddStamp(INT64_MAX);
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    std::ostringstream out;
    const int views[] = {2};
    WriteSummary(out, store, histograms, views);
    EXPECT_EQ(out.str(), "1 files in \n1 of them have times outside the local calendar\nmonth: no files\n");
}

} // namespace
