// The count of records per calendar day, against find's own reading of the same tree.
#include "civil_time.h"
#include "day_counts.h"
#include "local_time.h"
#include "posix_directory_source.h"
#include "stamp_store.h"
#include "test_tree.h"
#include "time_zone.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace {

// What `find ROOT -type f -printf FORMAT | sort | uniq -c` prints, as a count per line, in the
// process's zone.
std::map<std::string, std::int64_t> FindCounts(const std::string& root, const std::string& format) {
    const std::string command = "find '" + root + "' -type f -printf '" + format + "' | sort | uniq -c";
    std::map<std::string, std::int64_t> counts;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return counts;
    char line[256];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        long long count = 0;
        char text[128] = {};
        if (std::sscanf(line, " %lld %127[^\n]", &count, text) == 2)
            counts[text] = count;
    }
    ::pclose(pipe);
    return counts;
}

std::map<std::string, std::int64_t> ByIsoDate(const std::vector<DayCount>& days) {
    std::map<std::string, std::int64_t> counts;
    for (const DayCount& day : days)
        counts[IsoDate(day.day)] = day.count;
    return counts;
}

// Active minutes per day from find: the distinct minutes, then counted by their day.
std::map<std::string, std::int64_t> FindActiveMinutes(const std::string& root) {
    std::map<std::string, std::int64_t> perDay;
    for (const auto& [minute, files] : FindCounts(root, "%TY-%Tm-%Td %TH:%TM\\n"))
        ++perDay[minute.substr(0, 10)];
    return perDay;
}

void PlantTimes(CTestTree& tree) {
    // Midnights either side, the spring-forward and fall-back nights of Europe and of the US, a
    // New Year, a leap day, a 1980 stamp, one before 1970, and several files on one day.
    const std::int64_t times[] = {1709596800, 1709596799, 1709596801, 1711846800, 1711843200,   1711850400,
                                  1730001600, 1730005200, 1730008800, 1710054000, 1730613600,   1704067199,
                                  1704067200, 1709164800, 1709251199, 315532800,  -86400 * 400, 1709600000,
                                  1709610000, 1709620000, 1709630000, 1709640000, 1709640030,   1709640090};
    int n = 0;
    for (const std::int64_t t : times) {
        tree.AddFile("d" + std::to_string(n % 3) + "/f" + std::to_string(n), t);
        ++n;
    }
}

} // namespace

// One real run per zone: the store's days of a planted tree (per file and per active minute) are
// exactly find's days, the day spans begin where the local day does, and a wall-clock store counts
// by the clock as it read.
TEST(DayCounts, MatchFindOnARealTreeInEveryZone) {
    CTestTree tree;
    PlantTimes(tree);
    for (const char* zone : {"UTC", "Europe/Berlin", "America/New_York", "Asia/Kathmandu"}) {
        SCOPED_TRACE(zone);
        const CScopedTimeZone scoped(zone);
        CStampStore store;
        CPosixDirectorySource source;
        ASSERT_TRUE(store.Scan(tree.Root(), source));
        const std::vector<DayCount> days = CountByDay(store);
        EXPECT_EQ(ByIsoDate(days), FindCounts(tree.Root(), "%TY-%Tm-%Td\\n"));
        EXPECT_EQ(ByIsoDate(CountByDay(store, CountRule::ActiveMinutes)), FindActiveMinutes(tree.Root()));

        for (const DayCount& day : days) {
            const std::optional<DaySpan> span = DaysSpan(day.day, day.day, TimeBasis::Utc);
            ASSERT_TRUE(span);
            const std::optional<LocalBreakdown> first = BreakDownLocal(span->since);
            const std::optional<LocalBreakdown> before = BreakDownLocal(span->since - 1);
            const std::optional<LocalBreakdown> after = BreakDownLocal(span->until - 1);
            ASSERT_TRUE(first && before && after);
            EXPECT_EQ(DaysFromCivil(first->year, first->month, first->monthDay), day.day);
            EXPECT_EQ(first->hour, 0);
            EXPECT_EQ(DaysFromCivil(before->year, before->month, before->monthDay), day.day - 1);
            EXPECT_EQ(DaysFromCivil(after->year, after->month, after->monthDay), day.day);
        }
    }

    const CScopedTimeZone utc("UTC");
    const std::map<std::string, std::int64_t> utcDays = FindCounts(tree.Root(), "%TY-%Tm-%Td\\n");
    CStampStore clock;
    clock.Begin("repo", RecordKind::Commits, TimeBasis::WallClock);
    for (const auto& [date, count] : utcDays)
        for (std::int64_t i = 0; i < count; ++i)
            clock.AddStamp(DaysFromCivil(std::stoll(date.substr(0, 4)), std::stoi(date.substr(5, 2)),
                                         std::stoi(date.substr(8, 2))) *
                               86400 +
                           3600 * (i % 24));
    const CScopedTimeZone elsewhere("Asia/Kathmandu");
    EXPECT_EQ(ByIsoDate(CountByDay(clock)), utcDays)
        << "a wall-clock store ignores the zone it is analysed in";
    EXPECT_EQ(DaysSpan(19787, 19788, TimeBasis::WallClock), (DaySpan{19787 * 86400, 19789 * 86400}));
}

TEST(DayCounts, NamesSummaryAndReadout) {
    EXPECT_EQ(DayName(DaysFromCivil(2024, 3, 5)), "Tuesday 05 March 2024");
    EXPECT_EQ(IsoDate(DaysFromCivil(1969, 12, 31)), "1969-12-31");
    EXPECT_EQ(DayReadout(DaysFromCivil(2024, 3, 5), 37, CountRule::Files, RecordKind::Files),
              "Tuesday 05 March 2024 - 37 file(s).");
    EXPECT_EQ(DayReadout(DaysFromCivil(2024, 3, 5), 2, CountRule::ActiveMinutes, RecordKind::Commits),
              "Tuesday 05 March 2024 - 2 minute(s).");
    EXPECT_EQ(WeekStart(DaysFromCivil(2024, 1, 2)), DaysFromCivil(2023, 12, 31)) << "weeks begin on Sunday";

    // No days have no summary (the busiest day and week are checked with the dates report); a
    // day is looked up in a list with gaps.
    const std::vector<DayCount> days{{19000, 9}, {19001, 5}, {19007, 1}};
    EXPECT_FALSE(SummariseDays({}));
    EXPECT_EQ(CountOnDay(days, 19001), 5);
    EXPECT_EQ(CountOnDay(days, 19002), 0);
}
