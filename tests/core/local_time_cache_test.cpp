#include "civil_time.h"
#include "local_time_cache.h"
#include "period_bins.h"
#include "time_zone.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// Local wall-clock seconds less t: the UTC offset, less the leap seconds so far where the zone counts them.
std::int64_t OffsetAt(std::int64_t t) {
    const LocalBreakdown local = *BreakDownLocal(t);
    return DaysFromCivil(local.year, local.month, local.monthDay) * 86400 + local.hour * 3600 +
           local.minute * 60 + local.second - t;
}

// Every change of that offset between two times, to the second: an hourly scan, then bisection.
std::vector<std::int64_t> OffsetChanges(std::int64_t from, std::int64_t to) {
    std::vector<std::int64_t> changes;
    for (std::int64_t t = from; t < to; t += 3600) {
        if (OffsetAt(t) == OffsetAt(t + 3600))
            continue;
        std::int64_t before = t;
        std::int64_t after = t + 3600;
        while (after - before > 1) {
            const std::int64_t middle = before + (after - before) / 2;
            (OffsetAt(middle) == OffsetAt(before) ? before : after) = middle;
        }
        changes.push_back(after);
    }
    return changes;
}

// Times around every offset change (leap seconds included) and every New Year from 1965 to
// 2045, and spread over 1800 to 2400, in random order after a file written before the first
// leap second and one written after it.
std::vector<std::int64_t> TestTimes(std::mt19937_64& random) {
    std::vector<std::int64_t> times;
    std::uniform_int_distribution<std::int64_t> withinHour(-3600, 3600);
    const auto around = [&](std::int64_t center) {
        for (const std::int64_t delta : {-3600, -1801, -1800, -1, 0, 1, 1799, 1800, 3600})
            times.push_back(center + delta);
        for (int i = 0; i < 8; ++i)
            times.push_back(center + withinHour(random));
    };
    const std::int64_t from = LocalTime(1965, 1, 1);
    const std::int64_t to = LocalTime(2045, 1, 1);
    for (const std::int64_t change : OffsetChanges(from, to))
        around(change);
    for (int year = 1965; year <= 2045; ++year)
        around(LocalTime(year, 1, 1));
    std::uniform_int_distribution<std::int64_t> anyTime(LocalTime(1800, 1, 1), LocalTime(2400, 1, 1));
    for (int i = 0; i < 20000; ++i)
        times.push_back(anyTime(random));
    std::shuffle(times.begin(), times.end(), random);
    times.insert(times.begin(), {LocalTime(1972, 6, 1), LocalTime(1972, 7, 1)});
    return times;
}

class FastBinsInZone : public testing::TestWithParam<const char*> {
protected:
    CScopedTimeZone m_zone{GetParam()};
};

TEST_P(FastBinsInZone, AgreeWithThePlainBreakdown) {
    std::mt19937_64 random(20260101);
    const std::vector<std::int64_t> times = TestTimes(random);
    if (std::string(GetParam()) != "UTC") {
        ASSERT_GT(OffsetChanges(LocalTime(1965, 1, 1), LocalTime(2045, 1, 1)).size(), 0u)
            << "zone data missing? install tzdata";
    }
    CLocalTimeCache cache;
    int mismatches = 0;
    for (const std::int64_t t : times) {
        const std::optional<PeriodBins> fast = cache.Bins(t);
        const std::optional<PeriodBins> plain = ReferencePeriodBins(t);
        if (fast != plain && ++mismatches <= 5)
            ADD_FAILURE() << "time " << t << " fast " << (fast ? fast->year : -1) << " plain "
                          << (plain ? plain->year : -1);
    }
    EXPECT_EQ(mismatches, 0) << "of " << times.size();
    EXPECT_LT(cache.SegmentCount(), times.size() / 2) << "the offset intervals are shared";
}

INSTANTIATE_TEST_SUITE_P(Zones, FastBinsInZone, testing::ValuesIn(kTestZones));
// Zones whose clocks count leap seconds: the fields move by a second at each one.
INSTANTIATE_TEST_SUITE_P(LeapSecondZones, FastBinsInZone,
                         testing::Values("right/UTC", "right/Europe/Berlin"));

// Kathmandu moved from +05:30 to +05:45 at the first instant of 1986: the clocks went from
// 23:59:59 straight to 00:15:00, so that year has no midnight. Both the fast and the plain bins
// take the year's start from LocalYearStart, so it is checked against the instant itself, after
// mktime has been asked about times on either side of the change (its guess depends on them).
TEST(LocalYearStart, AYearWithNoMidnightStartsAtItsFirstSecond) {
    CScopedTimeZone kathmandu("Asia/Kathmandu");
    constexpr std::int64_t kFirstSecondOf1986 = 504901800; // 1985-12-31 18:30:00 UTC
    for (const int primingYear : {1985, 1986, 1987}) {
        SCOPED_TRACE(primingYear);
        LocalTime(primingYear, 6, 1);
        EXPECT_EQ(LocalYearStart(1986), kFirstSecondOf1986);
        EXPECT_EQ(BreakDownLocal(kFirstSecondOf1986 - 1)->year, 1985);
        EXPECT_EQ(LocalYearStart(1985), 473385600 - 19800); // midnight at +05:30
        EXPECT_EQ(LocalYearStart(1987), 536457600 - 20700); // midnight at +05:45
    }
}

TEST(FastBins, LordHoweShiftsByHalfAnHour) {
    CScopedTimeZone lordHowe("Australia/Lord_Howe");
    const std::vector<std::int64_t> changes = OffsetChanges(LocalTime(2023, 1, 1), LocalTime(2024, 1, 1));
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(OffsetAt(changes[0]) - OffsetAt(changes[0] - 1), -1800);
    // The wall clock goes back from 02:00 to 01:30: the half hour before and after reads the same.
    CLocalTimeCache cache;
    EXPECT_EQ(cache.Bins(changes[0] - 1)->day, 119);
    EXPECT_EQ(cache.Bins(changes[0])->day, 90);
}

} // namespace
