#include "axis_drag.h"

#include <gtest/gtest.h>

namespace {

constexpr int kYAxisWidth = 75;

TEST(AnchorsAfterPress, TheSideOfThePressDecidesTheDrag) {
    struct Case {
        DragAnchors before;
        int x, y;
        DragAnchors after;
    };
    const DragAnchors none;
    const Case cases[] = {
        {none, 200, 350, {200, 350}}, // time-axis band: y is at least H and ignored later
        {none, kYAxisWidth, 350, {kYAxisWidth, 350}},
        {none, 30, 100, {NO_DRAG, 100}}, // density-axis band
        {none, 74, 350, {NO_DRAG, 350}}, // lower left corner: y lies below the plot
        {{500, 20}, 10, 40, {500, 40}},  // x left of the band leaves the old anchor
    };
    for (const Case& c : cases) {
        const DragAnchors after = AnchorsAfterPress(c.before, c.x, c.y, kYAxisWidth);
        EXPECT_EQ(after.dragX, c.after.dragX) << c.x << ", " << c.y;
        EXPECT_EQ(after.dragY, c.after.dragY) << c.x << ", " << c.y;
    }
}

TEST(DraggedScale, StepsOfOneDragMultiplyToTheWholeRatio) {
    ScaleDrag drag{6.5, 100};
    for (const int y : {120, 95, 180, 150, 200})
        drag = DraggedScale(drag.yScale, drag.anchorY, y, 300);
    EXPECT_NEAR(drag.yScale, 13.0, 1e-12);
    EXPECT_EQ(drag.anchorY, 200);
}

// The scale follows the height above the bottom within its limits, and the anchor follows the
// pointer; an anchor off the density axis changes nothing.
TEST(DraggedScale, FollowsThePointerWithinItsLimits) {
    struct Case {
        double scale;
        int anchor, pointer;
        double expected;
        int expectedAnchor;
        int plotHeight = 300;
    };
    const Case cases[] = {
        {6.5, 100, 200, 13.0, 200},       // doubles with the height above the bottom ...
        {13.0, 200, 100, 6.5, 100},       // ... and halves
        {4.0, 200, 100, 2.0, 100},        // halves from elsewhere
        {2.0, 250, 800, 100.0, 299},      // below the plot counts as its last row: 2 * 50 / 1
        {6.5, 100, 299, 999.0, 299},      // 6.5 * 200 = 1300
        {999.0, 299, 250, 19.98, 250},    // back from the limit at once
        {6.5, 290, -1000, 1.0, -1000},    // 6.5 * 10 / 1300 = 0.05
        {1.0, -1000, 290, 130.0, 290},    // back from the lower limit
        {1.0, 150, 150, 1.0, 150},        // exactly at the lower limit
        {999.0, 150, 150, 999.0, 150},    // exactly at the upper limit
        {6.5, NO_DRAG, 10, 6.5, NO_DRAG}, // no drag
        {6.5, 300, 10, 6.5, 300},         // anchors on the time-axis band
        {6.5, 301, 10, 6.5, 301},         // or below it
        {6.5, 0, 10, 6.5, 0, 0},          // a plot with no height has no density axis
    };
    for (const Case& c : cases) {
        const ScaleDrag drag = DraggedScale(c.scale, c.anchor, c.pointer, c.plotHeight);
        EXPECT_EQ(drag.yScale, c.expected) << c.scale << " from " << c.anchor << " to " << c.pointer;
        EXPECT_EQ(drag.anchorY, c.expectedAnchor) << c.scale << " from " << c.anchor << " to " << c.pointer;
    }
}

TEST(DraggedOffset, FollowsThePointerRoundThePeriod) {
    struct Case {
        double offset;
        int dx, bins, width;
        double expected;
        double tolerance = 0.0;
    };
    // A whole plot width is a whole period (but for rounding); far left, 10 - 24000 bins are raised
    // by 17 periods; a plot with no width leaves the offset.
    const Case cases[] = {
        {0.0, 1, 1440, 1440, 1.0},
        {0.0, 150, 1440, 600, 360.0},
        {0.0, -1, 1440, 1440, 1439.0},
        {300.0, 600, 1440, 600, 300.0},
        {300.0, 0, 1440, 600, 300.0},
        {10.0, -10000, 1440, 600, 490.0},
        {1679.5, 1, 1680, 1680, 0.5},
        {42.5, 30, 1440, 0, 42.5},
        {42.5, 30, 1440, -3, 42.5},
        {123.4, 600, 1440, 600, 123.4, 1e-9},
        {123.4, -600, 1440, 600, 123.4, 1e-9},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(DraggedOffset(c.offset, c.dx, c.bins, c.width), c.expected, c.tolerance)
            << c.offset << " + " << c.dx;
}

TEST(DraggedOffset, FarLeftDragsStayInRange) {
    for (const int width : {1, 7, 600}) {
        const double offset = DraggedOffset(700.25, -2000000000, 1488, width);
        EXPECT_GE(offset, 0.0);
        EXPECT_LT(offset, 1488.0);
    }
}

} // namespace
