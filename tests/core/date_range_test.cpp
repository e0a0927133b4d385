#include "date_range.h"
#include "period_histograms.h"
#include "stamp_store.h"
#include "time_ordered_bins.h"
#include "time_zone.h"

#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <vector>

namespace {

void ExpectSameCounts(const CPeriodHistograms& actual, const CPeriodHistograms& expected) {
    EXPECT_EQ(actual.m_nCounted, expected.m_nCounted);
    EXPECT_EQ(actual.m_nBinned, expected.m_nBinned);
    EXPECT_EQ(actual.m_countRule, expected.m_countRule);
    for (int view = 0; view < 4; ++view) {
        const auto a = actual.ForView(view)->span();
        const auto e = expected.ForView(view)->span();
        EXPECT_TRUE(std::equal(a.begin(), a.end(), e.begin(), e.end())) << "view " << view;
    }
}

// A range's recount is the full rebuild of a store holding only the records written in it, for
// both rules and both bases, with ends inside minutes, a range before everything, records that
// share a minute and a time no calendar can break down.
TEST(DateRangeRecount, EqualsRebuildOfOnlyTheRangesRecords) {
    const CScopedTimeZone zone("Europe/Berlin");
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> anyTime(LocalTime(2023, 1, 1), LocalTime(2025, 1, 1));
    std::vector<std::int64_t> times;
    for (int i = 0; i < 4000; ++i) {
        times.push_back(anyTime(random));
        times.push_back(times.back() + 7); // often the same minute
    }
    times.push_back(std::numeric_limits<std::int64_t>::max());

    const DateRange ranges[] = {
        {LocalTime(2024, 3, 1), LocalTime(2024, 4, 1)},
        {LocalTime(2024, 3, 1, 10, 30, 20), LocalTime(2024, 3, 9, 17, 0, 40)},
        {LocalTime(2001, 1, 1), LocalTime(2002, 1, 1)},
        {std::numeric_limits<std::int64_t>::min(), std::numeric_limits<std::int64_t>::max()},
    };
    for (const TimeBasis basis : {TimeBasis::Utc, TimeBasis::WallClock}) {
        CStampStore store;
        store.Begin("records", RecordKind::Files, basis);
        for (const std::int64_t t : times)
            store.AddStamp(t);
        CTimeOrderedBins ordered;
        ordered.Build(store);
        for (const CountRule rule : {CountRule::Files, CountRule::ActiveMinutes}) {
            for (const DateRange& range : ranges) {
                SCOPED_TRACE(testing::Message() << "basis " << static_cast<int>(basis) << " rule "
                                                << static_cast<int>(rule) << " since " << range.since);
                CStampStore inRange;
                inRange.Begin("records", RecordKind::Files, basis);
                for (const std::int64_t t : times)
                    if (range.Holds(t))
                        inRange.AddStamp(t);
                CPeriodHistograms expected;
                expected.RebuildHistograms(inRange, rule);
                CPeriodHistograms recounted;
                recounted.RecountWrittenIn(ordered, range, rule);
                ExpectSameCounts(recounted, expected);
            }
        }
    }
}

TEST(DateRange, NamesReadsAndShifts) {
    const CScopedTimeZone zone("Europe/Berlin");
    const DateRange march{LocalTime(2024, 3, 1), LocalTime(2024, 4, 1)};
    EXPECT_EQ(DateRangeName(march), "2024-03-01 to 2024-03-31");
    EXPECT_EQ(DateRangeName({LocalTime(2024, 3, 31), LocalTime(2024, 4, 1)}), "2024-03-31"); // 23 hours
    EXPECT_EQ(DateRangeName({LocalTime(2024, 3, 1, 14, 30), LocalTime(2024, 3, 2, 9)}),
              "2024-03-01 14:30 to 2024-03-02 09:00");

    for (const auto& [range, before] : std::vector<std::pair<DateRange, DateRange>>{
             {march, {LocalTime(2024, 2, 1), march.since}},
             {{LocalTime(2024, 1, 1), LocalTime(2025, 1, 1)}, {LocalTime(2023, 1, 1), LocalTime(2024, 1, 1)}},
             {{LocalTime(2024, 3, 25), LocalTime(2024, 4, 3)},
              {LocalTime(2024, 3, 16), LocalTime(2024, 3, 25)}},
             {{LocalTime(2024, 3, 1, 12), LocalTime(2024, 3, 2, 12)},
              {LocalTime(2024, 2, 29, 12), LocalTime(2024, 3, 1, 12)}}})
        EXPECT_EQ(PrecedingRange(range), before) << DateRangeName(range);
    EXPECT_EQ(YearEndingOnDayOf(LocalTime(2024, 2, 29, 18)),
              (DateRange{LocalTime(2023, 3, 1), LocalTime(2024, 3, 1)}));

    std::optional<DateRange> read;
    EXPECT_EQ(ReadDateRange(" 2024-03-01 ", "2024-04-01", read), "");
    EXPECT_EQ(read, march);
    read.reset();
    EXPECT_EQ(ReadDateRange("2024-03-01", "2024-02-30", read),
              "\"2024-02-30\" is not a date such as 2024-03-31 or 2024-03-31T14:30.");
    EXPECT_EQ(ReadDateRange("2024-03-01", "2024-03-01", read),
              "The time range is empty: its end must come after its start.");
    EXPECT_EQ(ReadDateRange("2024-04-01", "2024-03-01", read),
              "The time range is empty: its end must come after its start.");
    EXPECT_FALSE(read);

    // A commit's clock reading of 1 March 00:30 in its author's zone lies in March on the clock.
    EXPECT_EQ(RangeInBasis(march, TimeBasis::Utc), march);
    EXPECT_EQ(RangeInBasis(march, TimeBasis::WallClock),
              (DateRange{march.since + 3600, march.until + 7200})); // CET, then CEST
}

} // namespace
