#include "report_writer.h"
#include "stamp_store.h"
#include "time_zone.h"
#include "window_sums.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace {

TEST(ReportWriter, TheAveragedBusiestTimeIsTheCurvesHighestPoint) {
    // Day view, window of 4 bins (position 2): a point sums bins j - 2 .. j + 1. Three files at
    // 10:00 and one each at 10:04, 10:05, 10:06, 10:07: the single busiest minute is 10:00, the
    // averaged curve peaks where it holds all five later files, at 10:06.
    CScopedTimeZone utc("UTC");
    CStampStore store;
    for (const int minute : {600, 600, 600, 604, 605, 606, 607, 607})
        store.AddStamp(std::int64_t{minute} * 60);
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    std::ostringstream out;
    const int day[] = {0};
    WriteSummary(out, store, histograms, day, 2);
    EXPECT_EQ(out.str(),
              "8 files in \nday: busiest 10:00 AM, 3 files; averaged over 4 minutes, busiest 10:06 AM\n"
              "largest bursts (files written within 2 seconds of one another into the same folder):\n"
              "  1970-01-01 10:00:00, 3 files\n  1970-01-01 10:07:00, 2 files\n");

    // The same arithmetic draws the curve: its highest point (smallest y) is that point.
    const Histogram& bins = *histograms.ForView(0);
    EXPECT_EQ(HighestWindowPoint(bins.span(), 1440, 4), 606);
    EXPECT_EQ(HighestWindowPoint(bins.span(), 1440, 1), 600);
}

TEST(ReportWriter, SummaryAndJsonNameTheTenLargestBursts) {
    // Eleven bursts ten seconds apart, 1000 .. 1100, holding 2 .. 12 files, and one of four
    // seconds, 2000 .. 2003, holding 20: the ten largest, the largest first.
    CScopedTimeZone utc("UTC");
    CStampStore store;
    for (int burst = 0; burst <= 10; ++burst)
        for (int file = 0; file < burst + 2; ++file)
            store.AddStamp(1000 + 10 * burst);
    for (int file = 0; file < 20; ++file)
        store.AddStamp(2000 + file % 4);
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    std::ostringstream summary;
    WriteSummary(summary, store, histograms, {}, 0);
    const std::string text = summary.str();
    const std::string bursts = text.substr(text.find("largest bursts"));
    EXPECT_EQ(std::count(bursts.begin(), bursts.end(), '\n'), 11) << text;
    EXPECT_TRUE(
        bursts.starts_with("largest bursts (files written within 2 seconds of one another into the same "
                           "folder):\n  1970-01-01 00:33:20 to 00:33:23, 20 files\n"
                           "  1970-01-01 00:18:20, 12 files\n"))
        << bursts;
    EXPECT_TRUE(bursts.ends_with("  1970-01-01 00:17:00, 4 files\n")) << bursts;
    std::ostringstream json;
    WriteJson(json, store, histograms, {});
    const std::string document = json.str();
    const std::size_t first =
        document.find("\"bursts\": [\n    {\"start\": \"1970-01-01 00:33:20\", \"startSeconds\": 2000, "
                      "\"end\": \"1970-01-01 00:33:23\", \"endSeconds\": 2003, \"files\": 20},\n");
    ASSERT_NE(first, std::string::npos) << document;
    EXPECT_EQ(std::count(document.begin() + static_cast<std::ptrdiff_t>(first), document.end(), '{'), 10);
}

TEST(ReportWriter, CountsSayFileOrFiles) {
    EXPECT_EQ(CountOf(0, "file", "files"), "0 files");
    EXPECT_EQ(CountOf(1, "file", "files"), "1 file");
    EXPECT_EQ(CountOf(2, "entry", "entries"), "2 entries");
}

TEST(ReportWriter, SummarySaysWhatCouldNotBeBinned) {
    CStampStore store;
    store.AddStamp(INT64_MAX);
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    std::ostringstream out;
    const int views[] = {2};
    WriteSummary(out, store, histograms, views, 50);
    EXPECT_EQ(out.str(), "1 files in \n1 of them have times outside the local calendar\nmonth: no files\n");
}

} // namespace
