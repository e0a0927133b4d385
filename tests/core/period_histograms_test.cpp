#include "period_histograms.h"
#include "stamp_store.h"
#include "time_zone.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>
#include <numeric>
#include <set>
#include <vector>

namespace {

int NonZeroBin(const Histogram& histogram) {
    int found = -1;
    for (int bin = 0; bin < histogram.GetSize(); ++bin) {
        if (histogram[bin] != 0) {
            EXPECT_EQ(found, -1) << "one time fills one bin";
            found = bin;
        }
    }
    return found;
}

struct Bins {
    int day, week, month, year;
};

// The bins one time lands in, found through a store and a rebuild.
Bins BinsOf(std::int64_t t) {
    CStampStore store;
    store.AddStamp(t);
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    return {NonZeroBin(histograms.m_dayBins), NonZeroBin(histograms.m_weekBins),
            NonZeroBin(histograms.m_monthBins), NonZeroBin(histograms.m_yearBins)};
}

std::int64_t Sum(const Histogram& histogram) {
    return std::accumulate(histogram.span().begin(), histogram.span().end(), std::int64_t{0});
}

class BinningInZone : public testing::TestWithParam<const char*> {
protected:
    CScopedTimeZone m_zone{GetParam()};
};

TEST_P(BinningInZone, DayBinIsTheMinuteOfTheLocalDay) {
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 10, 0, 0, 0)).day, 0);
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 10, 12, 30, 45)).day, 750);
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 10, 23, 59, 59)).day, 1439);
    EXPECT_EQ(BinsOf(LocalTime(2023, 7, 15, 14, 30, 0)).day, 870) << "summer time is wall-clock time";
}

TEST_P(BinningInZone, WeekBinCountsSixMinuteStepsFromSunday) {
    // 1 January 2023 was a Sunday.
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 1, 0, 0)).week, 0);
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 1, 0, 5)).week, 0);
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 1, 0, 6)).week, 1);
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 4, 12, 5)).week, 840);
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 7, 23, 59)).week, 1679);
}

TEST_P(BinningInZone, MonthBinCountsHalfHoursFromTheFirst) {
    EXPECT_EQ(BinsOf(LocalTime(2023, 3, 1, 0, 0)).month, 0);
    EXPECT_EQ(BinsOf(LocalTime(2023, 3, 1, 0, 29)).month, 0);
    EXPECT_EQ(BinsOf(LocalTime(2023, 3, 1, 0, 30)).month, 1);
    EXPECT_EQ(BinsOf(LocalTime(2023, 3, 29, 12, 0)).month, 1368);
    EXPECT_EQ(BinsOf(LocalTime(2023, 3, 31, 0, 0)).month, 1440);
    EXPECT_EQ(BinsOf(LocalTime(2023, 3, 31, 23, 59)).month, 1487);
}

TEST_P(BinningInZone, YearBinSpreadsTheLocalYearOverItsBins) {
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 1, 0, 0, 0)).year, 0);
    EXPECT_EQ(BinsOf(LocalTime(2023, 1, 1, 18, 0, 0)).year, 2)
        << "the quotient is rounded before the product";
    EXPECT_EQ(BinsOf(LocalTime(2023, 12, 31, 23, 59, 59)).year, 1459);
    // A leap year has the same bins, each a little longer.
    EXPECT_EQ(BinsOf(LocalTime(2024, 12, 31, 0, 0, 0)).year, 1456);
    EXPECT_EQ(BinsOf(LocalTime(2023, 12, 31, 0, 0, 0)).year, 1456);
    EXPECT_EQ(BinsOf(LocalTime(2024, 12, 31, 23, 59, 59)).year, 1459);
    // The first second of a year belongs to it, the one before to the year before.
    const std::int64_t newYear = LocalTime(2025, 1, 1);
    EXPECT_EQ(BinsOf(newYear).year, 0);
    EXPECT_EQ(BinsOf(newYear - 1).year, 1459);
}

INSTANTIATE_TEST_SUITE_P(Zones, BinningInZone, testing::ValuesIn(kTestZones));

TEST(YearBin, CountsElapsedTimeSoASummerShiftMovesItBack) {
    {
        CScopedTimeZone utc("UTC");
        EXPECT_EQ(BinsOf(LocalTime(2023, 7, 1, 0, 0)).year, 724);
    }
    {
        CScopedTimeZone kathmandu("Asia/Kathmandu");
        EXPECT_EQ(BinsOf(LocalTime(2023, 7, 1, 0, 0)).year, 724);
    }
    for (const char* zone : {"Europe/Berlin", "America/New_York"}) {
        CScopedTimeZone summerShift(zone);
        EXPECT_EQ(BinsOf(LocalTime(2023, 7, 1, 0, 30)).year, 723) << zone;
    }
}

TEST(YearBin, EightyThreeBoundariesOfACommonYearFallShort) {
    CScopedTimeZone utc("UTC");
    const std::int64_t start = LocalTime(2023, 1, 1);
    std::vector<int> fallShort;
    for (int k = 1; k < 1460; ++k) {
        const int bin = BinsOf(start + k * 21600).year; // bin k's exact start
        ASSERT_TRUE(bin == k || bin == k - 1) << k;
        if (bin < k)
            fallShort.push_back(k);
    }
    ASSERT_EQ(fallShort.size(), 83u);
    EXPECT_EQ(std::vector<int>(fallShort.begin(), fallShort.begin() + 6),
              (std::vector<int>{3, 6, 12, 24, 48, 53}));
}

TEST(Histograms, FirstRebuildSizesExactlyAndAnEmptyStoreLeavesZeros) {
    CPeriodHistograms histograms;
    EXPECT_EQ(histograms.m_dayBins.GetCapacity(), 0);
    CStampStore store;
    histograms.RebuildHistograms(store);
    const std::pair<const Histogram*, int> expected[] = {{&histograms.m_yearBins, 1460},
                                                         {&histograms.m_monthBins, 1488},
                                                         {&histograms.m_weekBins, 1680},
                                                         {&histograms.m_dayBins, 1440}};
    for (const auto& [histogram, bins] : expected) {
        EXPECT_EQ(histogram->GetSize(), bins);
        EXPECT_EQ(histogram->GetCapacity(), bins);
        EXPECT_EQ(Sum(*histogram), 0);
    }
    EXPECT_EQ(histograms.ForView(0), &histograms.m_dayBins);
    EXPECT_EQ(histograms.ForView(1), &histograms.m_weekBins);
    EXPECT_EQ(histograms.ForView(2), &histograms.m_monthBins);
    EXPECT_EQ(histograms.ForView(3), &histograms.m_yearBins);
    EXPECT_EQ(histograms.ForView(4), nullptr);
}

TEST(Histograms, RebuildCountsEveryRecordOnceAndStartsFromZero) {
    CScopedTimeZone berlin("Europe/Berlin");
    CStampStore store;
    store.AddStamp(LocalTime(2021, 3, 28, 1, 59, 59));
    store.AddStamp(LocalTime(2021, 3, 28, 3, 0, 0));
    store.AddStamp(LocalTime(2021, 10, 31, 2, 30, 0));
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    const std::int32_t* storage = histograms.m_dayBins.data();
    histograms.RebuildHistograms(store);
    EXPECT_EQ(histograms.m_dayBins.data(), storage) << "later rebuilds reuse the arrays";
    for (int view = 0; view < 4; ++view)
        EXPECT_EQ(Sum(*histograms.ForView(view)), 3) << "view " << view;
    EXPECT_EQ(histograms.m_nBinned, 3);
}

TEST(Histograms, TimesThePlatformCannotBreakDownAreKeptButNotBinned) {
    CScopedTimeZone newYork("America/New_York");
    CStampStore store;
    store.AddStamp(std::numeric_limits<std::int64_t>::min());
    store.AddStamp(LocalTime(2030, 5, 5, 5, 5, 5));
    store.AddStamp(std::numeric_limits<std::int64_t>::max());
    store.AddStamp(std::int64_t{1} << 62);
    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    EXPECT_EQ(store.m_nFiles, 4);
    EXPECT_EQ(histograms.m_nBinned, 1);
    for (int view = 0; view < 4; ++view)
        EXPECT_EQ(Sum(*histograms.ForView(view)), 1);
}

TEST(Histograms, TimesFarFromNowAreBinnedInTheirLocalPeriod) {
    CScopedTimeZone berlin("Europe/Berlin");
    for (const int year : {1900, 1969, 2040, 2300}) {
        const Bins bins = BinsOf(LocalTime(year, 7, 31, 12, 0, 0));
        EXPECT_EQ(bins.day, 720) << year;
        EXPECT_EQ(bins.month, 30 * 48 + 24) << year;
    }
    const Bins lastSecond = BinsOf(LocalTime(1969, 12, 31, 23, 59, 59));
    EXPECT_EQ(lastSecond.day, 1439);
    EXPECT_EQ(lastSecond.year, 1459);
    EXPECT_EQ(BinsOf(LocalTime(2039, 1, 1)).year, 0) << "after January 2038";
}

// A store of wall-clock times is binned as UTC whatever the zone: the same bins as file times
// binned with TZ=UTC, in every period and for every kind of year; times beyond any calendar
// are kept but not binned.
TEST(Histograms, WallClockTimesAreBinnedAsUtcInAnyZone) {
    std::vector<std::int64_t> times{std::numeric_limits<std::int64_t>::min(), std::int64_t{1} << 62};
    for (std::int64_t t = -12219292800; t < 13569465600; t += std::int64_t{86400} * 36524 / 997 + 3607)
        times.push_back(t); // 1582 to 2400, every bin of the day reached at some point
    const auto binned = [&](TimeBasis basis, const char* zone) {
        CScopedTimeZone scoped(zone);
        CStampStore store;
        store.Begin("history", RecordKind::Commits, basis);
        for (const std::int64_t t : times)
            store.AddStamp(t);
        CPeriodHistograms histograms;
        histograms.RebuildHistograms(store);
        return histograms;
    };
    const CPeriodHistograms expected = binned(TimeBasis::Utc, "UTC");
    const CPeriodHistograms wallClock = binned(TimeBasis::WallClock, "Asia/Kathmandu");
    EXPECT_EQ(wallClock.m_nBinned, static_cast<std::int64_t>(times.size()) - 2);
    EXPECT_EQ(expected.m_nBinned, wallClock.m_nBinned);
    for (int view = 0; view < 4; ++view)
        for (int bin = 0; bin < expected.ForView(view)->GetSize(); ++bin)
            ASSERT_EQ((*wallClock.ForView(view))[bin], (*expected.ForView(view))[bin]) << view << " " << bin;
    EXPECT_NE(binned(TimeBasis::Utc, "Asia/Kathmandu").m_dayBins.span()[0], expected.m_dayBins.span()[0])
        << "file times do follow the zone";
}

} // namespace

// The active minutes of a store against a count made another way: each time's minute found by
// stepping back to a multiple of 60, collected in a set; then the minute histograms against the
// file histograms of a store that holds one record at the start of each of those minutes.
TEST(ActiveMinutes, EqualAnIndependentCountAndBinEachMinuteOnce) {
    CScopedTimeZone berlin("Europe/Berlin");
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    struct Case {
        const char* what;
        std::vector<std::int64_t> times;
    };
    std::vector<std::int64_t> burst; // 30,000 files in one second, then a file a day
    for (int i = 0; i < 30000; ++i)
        burst.push_back(LocalTime(2024, 6, 3, 10, 0, 0));
    for (int day = 1; day <= 28; ++day)
        burst.push_back(LocalTime(2024, 2, day, 10, day, 59));
    std::vector<std::int64_t> spread; // over sixty years and before 1970: sorted, not marked
    for (std::int64_t t = -1'000'000'007; t < 1'000'000'000; t += 3'333'331)
        spread.push_back(t);
    const Case cases[] = {
        {"nothing", {}},
        {"one minute, both its ends", {120, 179, 150}},
        {"either side of 1970", {-61, -60, -59, -1, 0, 59, 60}},
        {"a burst and a file a day", burst},
        {"decades apart", spread},
        {"the earliest time there is", {kMin, kMin + 59, 0, 61}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CStampStore store;
        std::set<std::int64_t> expected;
        for (const std::int64_t t : c.times) {
            store.AddStamp(t);
            std::int64_t start = t;
            while (start % 60 != 0 && start != kMin) // that minute begins before the earliest time
                --start;
            expected.insert(start);
        }
        const std::vector<std::int64_t> starts = ActiveMinuteStarts(store.span());
        EXPECT_EQ(starts, std::vector<std::int64_t>(expected.begin(), expected.end()));

        CStampStore oncePerMinute;
        for (const std::int64_t start : expected)
            oncePerMinute.AddStamp(start);
        CPeriodHistograms byMinute;
        CPeriodHistograms byFile;
        byMinute.RebuildHistograms(store, CountRule::ActiveMinutes);
        byFile.RebuildHistograms(oncePerMinute);
        for (int view = 0; view < 4; ++view)
            EXPECT_TRUE(std::ranges::equal(byMinute.ForView(view)->span(), byFile.ForView(view)->span()))
                << "view " << view;
        EXPECT_EQ(byMinute.m_nBinned, byFile.m_nBinned);
        EXPECT_EQ(byMinute.CurveTotal(store.m_nFiles), byFile.m_nBinned);
        EXPECT_EQ(byFile.CurveTotal(store.m_nFiles), store.m_nFiles);
    }
}
