// Reading the dates of a time range and finding the first second that shows a wall-clock time.
#include "local_time.h"
#include "time_zone.h"
#include "wall_clock_time.h"

#include <gtest/gtest.h>

namespace {

TEST(WallClockTime, ReadsIsoDatesAndDateTimesAndNothingElse) {
    EXPECT_EQ(ParseIsoDateTime("2024-02-29"), (WallClockTime{2024, 2, 29, 0, 0, 0}));
    EXPECT_EQ(ParseIsoDateTime("2024-03-31T02:30"), (WallClockTime{2024, 3, 31, 2, 30, 0}));
    EXPECT_EQ(ParseIsoDateTime("1999-12-31 23:59:59"), (WallClockTime{1999, 12, 31, 23, 59, 59}));
    EXPECT_EQ(ParseIsoDateTime("0001-01-01"), (WallClockTime{1, 1, 1, 0, 0, 0}));
    for (const char* bad : {"", "2024", "2024-3-31", "2023-02-29", "2100-02-29", "2024-04-31", "2024-00-10",
                            "2024-13-01", "2024-03-31T24:00", "2024-03-31T12:60", "2024-03-31T12:00:60",
                            "2024-03-31T12", "2024-03-31T12:00:", "2024-03-31T12:00:00Z", "2024-03-31x",
                            "2024-03-31T1:00", "+024-03-31", "2024-03-31T12:00:00.5", "yesterday"})
        EXPECT_EQ(ParseIsoDateTime(bad), std::nullopt) << bad;
}

// In Berlin the clocks went from 02:00 to 03:00 on 31 March 2024 (01:00 UTC) and from 03:00 back
// to 02:00 on 27 October 2024 (01:00 UTC).
TEST(WallClockTime, FirstSecondShowingAWallTimeAcrossDaylightSavingChanges) {
    CScopedTimeZone zone("Europe/Berlin");
    const auto first = [](const char* text) {
        return FirstSecondShowing(*ParseIsoDateTime(text), LocalUtcOffset);
    };
    EXPECT_EQ(first("2024-03-31"), 1711839600) << "midnight, still winter time: 23:00 UTC the day before";
    EXPECT_EQ(first("2024-03-31T01:59:59"), 1711846799);
    EXPECT_EQ(first("2024-03-31T02:00"), 1711846800) << "skipped: the moment of the jump";
    EXPECT_EQ(first("2024-03-31T02:30"), 1711846800) << "skipped: the moment of the jump";
    EXPECT_EQ(first("2024-03-31T03:00"), 1711846800) << "the jump shows 03:00";
    EXPECT_EQ(first("2024-03-31T03:00:01"), 1711846801);
    EXPECT_EQ(first("2024-10-27T02:30"), 1729989000) << "twice: the first, in summer time (00:30 UTC)";
    EXPECT_EQ(first("2024-10-27T03:00"), 1729994400) << "after the repeated hour: 02:00 UTC";
    EXPECT_EQ(first("2024-07-01T12:00"), 1719828000);

    // Every second of a stretch around each change: the first second showing a wall time is the
    // one whose own wall time it is, unless that wall time was skipped.
    for (const std::int64_t change : {std::int64_t{1711846800}, std::int64_t{1729990800}}) {
        for (std::int64_t t = change - 4000; t < change + 4000; t += 37) {
            const LocalBreakdown local = *BreakDownLocal(t);
            const WallClockTime wall{local.year, local.month,  local.monthDay,
                                     local.hour, local.minute, local.second};
            const std::int64_t found = *FirstSecondShowing(wall, LocalUtcOffset);
            const bool secondTime = t >= change && t < change + 3600 && change == 1729990800;
            EXPECT_EQ(found, secondTime ? t - 3600 : t) << t;
        }
    }
}

TEST(WallClockTime, AZonePassedInAndOneThatCannotTell) {
    // A made-up zone that moves from +05:30 to +05:45 at 1000000000 (UTC).
    const UtcOffsetAt zone = [](std::int64_t t) -> std::optional<std::int64_t> {
        return t < 1000000000 ? 19800 : 20700;
    };
    const WallClockTime before{2001, 9, 9, 7, 16, 39}; // the last second on +05:30
    EXPECT_EQ(FirstSecondShowing(before, zone), 999999999);
    EXPECT_EQ(FirstSecondShowing({2001, 9, 9, 7, 20, 0}, zone), 1000000000) << "skipped quarter hour";
    EXPECT_EQ(FirstSecondShowing({2001, 9, 9, 7, 31, 40}, zone), 1000000000);
    EXPECT_EQ(FirstSecondShowing({2001, 9, 9, 7, 31, 41}, zone), 1000000001);
    const UtcOffsetAt unknown = [](std::int64_t) -> std::optional<std::int64_t> { return std::nullopt; };
    EXPECT_EQ(FirstSecondShowing(before, unknown), std::nullopt);
}

} // namespace
