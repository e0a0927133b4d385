// Which bin the pointer is over and how the status bar reads it out.
#include "analysis_period.h"
#include "cursor_readout.h"

#include <gtest/gtest.h>

namespace {

TEST(BinUnderPointer, ColumnsToBins) {
    struct Case {
        int x, width, bins;
        double offset;
        int expected;
    };
    const Case cases[] = {
        {0, 600, 1440, 0.0, 0},        {0, 600, 1440, 10.0, 1430},  // B - 10
        {300, 600, 1440, 0.0, 720},    {599, 600, 1440, 0.0, 1437}, // 1437.6
        {510, 1440, 1440, 0.0, 510},   {0, 1440, 1440, 0.5, 1439},  // -0.5 wraps to 1439.5
        {0, 1440, 1440, 1e-20, 0},     // wraps to the period's end, which is bin 0 again
        {150, 600, 1440, 360.0, 0},    // the midnight column after six hours of turn
        {100, 600, 1680, 1500.0, 460}, // an offset beyond the period's start: 280 - 1500
        {10, 0, 1440, 0.0, -1},        {10, -5, 1440, 0.0, -1}, // no width, no bin
    };
    for (const Case& c : cases)
        EXPECT_EQ(BinUnderPointer(c.x, c.width, c.bins, c.offset), c.expected) << c.x << " of " << c.width;
}

TEST(ReadoutText, TimeOfTheBinAndItsCount) {
    struct Case {
        int view, bin;
        std::int64_t count;
        const char* text;
        CountRule rule = CountRule::Files;
        RecordKind kind = RecordKind::Files;
    };
    const Case cases[] = {
        {VIEW_DAY, 510, 12, "08:30 AM - 12 file(s)."},
        {VIEW_WEEK, 0, 3, "Sunday 12:00 AM - 3 file(s)."},
        {VIEW_MONTH, 47, 0, "Day 01, 11:30 PM - 0 file(s)."},
        {VIEW_YEAR, 4, 7, "02 January, 12:00 AM - 7 file(s)."},
        {VIEW_DAY, 0, 1, "12:00 AM - 1 file(s)."},
        {VIEW_DAY, 1230, 1, "08:30 PM - 1 commit(s).", CountRule::Files, RecordKind::Commits},
        {VIEW_DAY, 1230, 2, "08:30 PM - 2 minute(s).", CountRule::ActiveMinutes, RecordKind::Commits},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadoutText(c.view, c.bin, c.count, c.rule, c.kind), c.text);
}

} // namespace
