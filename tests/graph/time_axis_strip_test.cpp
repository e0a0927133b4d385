// Copying the unshifted time scale into the band in two pieces.
#include "time_axis_strip.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

// Applies the copies to a strip whose scale columns hold their own index, as the
// panel applies them to the picture, and returns the band.
std::vector<int> Band(int shift, int width, int stripLeft) {
    std::vector<int> band(static_cast<std::size_t>(width), -1);
    for (const StripCopy& copy : StripCopies(shift, width, width, stripLeft))
        for (int i = 0; i < copy.width; ++i)
            band[static_cast<std::size_t>(copy.destinationX - stripLeft + i)] = copy.sourceX - stripLeft + i;
    return band;
}

TEST(TimeAxisStrip, EveryScaleColumnLandsShiftedWithWrapAround) {
    for (const int width : {1, 7, 600}) {
        for (int shift = 0; shift < width; shift += std::max(1, width / 13)) {
            const std::vector<int> band = Band(shift, width, 45);
            for (int column = 0; column < width; ++column)
                ASSERT_EQ(band[static_cast<std::size_t>((column + shift) % width)], column)
                    << "width " << width << " shift " << shift;
        }
    }
}

// No shift is one piece; six hours of the day on 600 columns (a shift of 150) are two.
TEST(TimeAxisStrip, AShiftSplitsTheCopyInTwo) {
    EXPECT_EQ(StripCopies(0, 600, 600, 50), (std::vector<StripCopy>{{50, 50, 600}}));
    EXPECT_EQ(StripCopies(150, 600, 600, 50), (std::vector<StripCopy>{{50, 200, 450}, {500, 50, 150}}));
}

TEST(TimeAxisStrip, ShiftFollowsTheCurveAcrossViewChanges) {
    // An offset left by the week view (1680 bins) reaches past the day view's width.
    EXPECT_EQ(TimeAxisShift(600, 1500.0, 1440), 625 - 600);
    EXPECT_EQ(TimeAxisShift(0, 1500.0, 1440), 0);
    EXPECT_EQ(TimeAxisShift(-5, 10.0, 1440), 0);
    EXPECT_EQ(TimeAxisShift(600, 0.0, 1440), 0);
    EXPECT_EQ(TimeAxisShift(600, std::ldexp(12.0, 80), 1440), 80); // far past int64
}

} // namespace
