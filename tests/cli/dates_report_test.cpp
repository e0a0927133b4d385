// busyscope-report --view dates: the options and the three texts.
#include "civil_time.h"
#include "dates_report.h"
#include "report_options.h"
#include "stamp_store.h"
#include "time_zone.h"

#include <gtest/gtest.h>
#include <sstream>

TEST(DatesReport, OptionsSummaryCsvAndJson) {
    ParsedReportOptions parsed =
        ParseReportOptions(std::vector<std::string>{"--view=dates", "-f", "csv", "d"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_TRUE(parsed.options.dates);
    EXPECT_TRUE(parsed.options.views.empty());
    EXPECT_FALSE(
        ParseReportOptions(std::vector<std::string>{"--view", "dates", "--view", "week"}).options.dates);
    EXPECT_EQ(ParseReportOptions(std::vector<std::string>{"--view", "dates", "--files-at", "10:00"}).error,
              "--files-at names a point of the day, week, month or year view, not of the dates view");

    // Commits on their authors' clocks: the week from Sunday 31 December 2023 holds the most, and the
    // first of two equal days is the busiest.
    const CScopedTimeZone zone("Asia/Kathmandu");
    CStampStore store;
    store.Begin("repo", RecordKind::Commits, TimeBasis::WallClock);
    const auto at = [](int year, int month, int day, int hour) {
        return SecondsFromCivil(year, month, day, hour, 0, 0);
    };
    for (const std::int64_t t :
         {at(2023, 12, 29, 23), at(2023, 12, 29, 1), at(2023, 12, 29, 2), at(2023, 12, 31, 0),
          at(2024, 1, 6, 23), at(2024, 1, 6, 22), at(2024, 1, 6, 5)})
        store.AddStamp(t);
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    std::ostringstream summary, csv, json;
    WriteDatesReport(summary, ReportFormat::Summary, store, histograms);
    WriteDatesReport(csv, ReportFormat::Csv, store, histograms);
    WriteDatesReport(json, ReportFormat::Json, store, histograms);
    EXPECT_EQ(summary.str(), "7 commits in repo\n"
                             "busiest day: Friday 29 December 2023, 3 commits\n"
                             "busiest week: Sunday 31 December 2023 to Saturday 06 January 2024, 4 commits\n"
                             "active days: 3\n");
    EXPECT_EQ(csv.str(), "date,count\n2023-12-29,3\n2023-12-31,1\n2024-01-06,3\n");
    for (const char* part :
         {"\"view\": \"dates\"", "\"busiestDay\": {\"date\": \"2023-12-29\", \"count\": 3}",
          "\"busiestWeek\": {\"start\": \"2023-12-31\", \"count\": 4}", "\"activeDays\": 3",
          "{\"date\": \"2024-01-06\", \"count\": 3}\n  ]\n}\n"})
        EXPECT_NE(json.str().find(part), std::string::npos) << part << " in " << json.str();
}
