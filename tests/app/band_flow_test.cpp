// Which bands start a new row.
#include "band_flow.h"

#include <gtest/gtest.h>
#include <vector>

TEST(BandFlow, ABandThatWouldReachPastTheRowsEndStartsTheNext) {
    using Starts = std::vector<bool>;
    EXPECT_EQ(BandRowStarts({100, 200, 150}, 1000), (Starts{true, false, false}));
    EXPECT_EQ(BandRowStarts({100, 200, 150}, 450), (Starts{true, false, false})) << "an exact fit";
    EXPECT_EQ(BandRowStarts({100, 200, 150}, 449), (Starts{true, false, true}));
    EXPECT_EQ(BandRowStarts({250, 200, 150}, 350), (Starts{true, true, false})) << "the next row fills up";
    EXPECT_EQ(BandRowStarts({100, 200, 150}, 50), (Starts{true, true, true})) << "too wide for any row";
    EXPECT_TRUE(BandRowStarts({}, 300).empty());
}
