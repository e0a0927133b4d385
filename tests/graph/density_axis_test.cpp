#include "density_axis.h"
#include "fake_text_measurer.h"
#include "screen_units.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

const CFakeTextMeasurer kMeasure;

// At 96 dpi: 16 + 8 mm = 16 + 30 rows high; 5 mm + 3 mm = 18 + 11 pixels, "999" 27 wide, title line
// 19 high.
constexpr AxisBands kBands{16 + 30, 18 + 11 + 27 + 19};

DensityAxis AxisFor(double fullScale, int plotHeight = 300) {
    DensityAxisInputs in;
    in.yScale = fullScale;
    in.plotHeight = plotHeight;
    in.panelHeight = plotHeight + kBands.xAxisHeight;
    in.bands = kBands;
    in.dpiX = 96;
    return ComputeDensityAxis(in, kMeasure);
}

// "[0] 0.5 [1] ...": the numbers in order, long ticks in brackets.
std::string TickList(const DensityAxis& axis) {
    std::string list;
    for (const DensityTick& tick : axis.ticks) {
        if (!list.empty())
            list += ' ';
        list += tick.isLong ? "[" + tick.label + "]" : tick.label;
    }
    return list;
}

TEST(ScreenUnits, WorkedSizesAtNinetySixDpi) {
    struct Case {
        int millimetres, pixels;
    };
    for (const Case c : {Case{1, 3}, Case{2, 7}, Case{3, 11}, Case{5, 18}, Case{6, 22}, Case{8, 30}})
        EXPECT_EQ(MillimetresToPixels(c.millimetres, 96), c.pixels) << c.millimetres << " mm";
    EXPECT_EQ(PointTenthsToPixels(120, 96), 16); // the large axis font
    EXPECT_EQ(PointTenthsToPixels(80, 96), 10);  // the small one
    EXPECT_EQ(PointTenthsToPixels(170, 96), 22); // the title
}

TEST(AxisBands, MillimetresAreConvertedOneByOneAtTheirOwnResolution) {
    // The default font's line + 8 mm vertically; 5 mm + 3 mm + "999" + the title line across. At
    // 96 dpi 5 mm and 3 mm truncate apart (not 30 + ...); at 144 dpi 8 mm is 45 pixels, at 72 dpi
    // 5 mm and 3 mm are 14 and 8.
    EXPECT_EQ(ComputeAxisBands(16, kMeasure, 96, 96).xAxisHeight, kBands.xAxisHeight);
    EXPECT_EQ(ComputeAxisBands(16, kMeasure, 96, 96).yAxisWidth, kBands.yAxisWidth);
    EXPECT_EQ(ComputeAxisBands(20, kMeasure, 72, 144).xAxisHeight, 20 + 45);
    EXPECT_EQ(ComputeAxisBands(20, kMeasure, 72, 144).yAxisWidth, 14 + 8 + 27 + 19);
}

TEST(DensityTicks, FullScaleTable) {
    struct Case {
        double fullScale;
        double step;
        const char* ticks;
    };
    const Case cases[] = {
        {6.5, 0.5, "[0] 0.5 [1] 1.5 [2] 2.5 [3] 3.5 [4] 4.5 [5] 5.5 [6]"},
        {1, 0.1, "[0] 0.1 0.2 0.3 0.4 [0.5] 0.6 0.7 0.8 0.9 [1]"},
        {2.5, 0.2, "[0] 0.2 0.4 0.6 0.8 [1] 1.2 1.4 1.6 1.8 [2] 2.2 2.4"},
        {3.9, 0.2, "[0] 0.2 0.4 0.6 0.8 [1] 1.2 1.4 1.6 1.8 [2] 2.2 2.4 2.6 2.8 [3] 3.2 3.4 3.6 3.8"},
        {4, 0.5, "[0] 0.5 [1] 1.5 [2] 2.5 [3] 3.5"},
        {8, 1, "[0] 1 2 3 4 [5] 6 7"},
        {16, 2, "[0] 2 4 6 8 [10] 12 14"},
        {40, 5, "[0] 5 [10] 15 [20] 25 [30] 35"},
        {999, 100, "[0] 100 200 300 400 [500] 600 700 800 900"},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(DensityTickStep(c.fullScale).step, c.step) << "full scale " << c.fullScale;
        EXPECT_EQ(TickList(AxisFor(c.fullScale)), c.ticks) << "full scale " << c.fullScale;
    }
}

// The step added up to full scale 1 falls just short of it, and still marks the plot's top row.
TEST(DensityTicks, AccumulatedStepAddsATickAtFullScaleOne) {
    EXPECT_EQ(AxisFor(1.0).ticks.back().y, 0);
}

// Rows truncate from the bottom edge; long ticks are 5 mm, short ones 2 mm, each number right of
// its tick's start and centred on it; the axis line stops above the time-axis band.
TEST(DensityTicks, RowsLengthsAndNumberPlaces) {
    const DensityAxis axis = AxisFor(6.5, 300);
    EXPECT_EQ(axis.ticks[0].y, 300); // density 0: first row of the time-axis band
    EXPECT_EQ(axis.ticks[1].y, 276); // 300 - 23.08
    EXPECT_EQ(axis.ticks[2].y, 253); // 300 - 46.15; the curve's density 1 lies at 254
    EXPECT_EQ(axis.ticks[12].y, 23); // 300 - 276.9
    const DensityTick& zero = axis.ticks[0];
    EXPECT_EQ(zero.length, 18);
    EXPECT_EQ(zero.labelRight, 75 - 18);
    EXPECT_EQ(zero.labelTop, 300 - 19 / 2); // centred with half the large line height
    const DensityTick& half = axis.ticks[1];
    EXPECT_FALSE(half.isLong);
    EXPECT_EQ(half.length, 7);
    EXPECT_EQ(half.labelRight, 75 - 7);
    EXPECT_EQ(half.labelTop, 276 - 12 / 2);
    EXPECT_EQ(axis.lineX, 74);
    EXPECT_EQ(axis.lineEndY, 300);
}

TEST(DensityTitle, FitsOnlyWhenShorterThanThePlotLessTwoMillimetres) {
    // "Probability" is 99 long: it fits while 99 < Hp - 7 - 46, that is Hp - 46 above 106.
    EXPECT_TRUE(AxisFor(6.5, 107).titleFits);
    EXPECT_FALSE(AxisFor(6.5, 106).titleFits);
    const DensityAxis axis = AxisFor(6.5, 301);
    EXPECT_EQ(axis.titleRight, 75 - 18 - 3 - 27); // 1 mm left of the widest number
    EXPECT_EQ(axis.titleMiddleY, 150);
}

TEST(DensityTicks, NoTicksWithoutAPositiveFullScale) {
    for (const double scale :
         {0.0, -6.5, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::denorm_min()})
        EXPECT_TRUE(AxisFor(scale).ticks.empty()) << scale;
}

TEST(DensityTicks, FullScaleNearTheLargestDoubleKeepsTicksOnThePlot) {
    const DensityAxis axis = AxisFor(std::numeric_limits<double>::max(), 400);
    ASSERT_FALSE(axis.ticks.empty());
    EXPECT_EQ(axis.ticks.front().y, 400);
    int previous = 401;
    for (const DensityTick& tick : axis.ticks) {
        EXPECT_GE(tick.y, 0);
        EXPECT_LT(tick.y, previous) << tick.label;
        previous = tick.y;
    }
}

TEST(DensityTicks, PlotWithoutHeightPutsEveryTickOnRowZero) {
    const DensityAxis axis = AxisFor(6.5, 0);
    ASSERT_EQ(axis.ticks.size(), 13u);
    for (const DensityTick& tick : axis.ticks)
        EXPECT_EQ(tick.y, 0);
    EXPECT_FALSE(axis.titleFits);
}

} // namespace
