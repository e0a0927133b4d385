// The calendar arithmetic that breaks a time down at a fixed offset from UTC.
#include "civil_time.h"

#include <ctime>
#include <gtest/gtest.h>
#include <random>

namespace {

TEST(CivilTime, MatchesTheCalendarOfTheCLibrary) {
    std::mt19937_64 random(7);
    std::uniform_int_distribution<std::int64_t> anyTime(-62135596800, 253402300799); // years 1 to 9999
    std::uniform_int_distribution<std::int64_t> anyOffset(-14 * 3600, 14 * 3600);
    for (int i = 0; i < 200000; ++i) {
        const std::int64_t t = anyTime(random);
        const std::int64_t offset = i % 2 == 0 ? 0 : anyOffset(random);
        const std::time_t shifted = static_cast<std::time_t>(t + offset);
        std::tm expected{};
        ASSERT_NE(gmtime_r(&shifted, &expected), nullptr);
        const LocalBreakdown fields = BreakDownAtOffset(t, offset);
        ASSERT_EQ(fields.year, expected.tm_year + 1900) << t;
        ASSERT_EQ(fields.month, expected.tm_mon + 1) << t;
        ASSERT_EQ(fields.monthDay, expected.tm_mday) << t;
        ASSERT_EQ(fields.weekDay, expected.tm_wday) << t;
        ASSERT_EQ(fields.hour, expected.tm_hour) << t;
        ASSERT_EQ(fields.minute, expected.tm_min) << t;
        ASSERT_EQ(fields.second, expected.tm_sec) << t;
    }
}

} // namespace
