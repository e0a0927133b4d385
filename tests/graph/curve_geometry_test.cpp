#include "curve_geometry.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

namespace {

using Op = PathPoint::Op;

constexpr int kDayBins = 1440;

std::vector<PathPoint> Curve(const std::vector<std::int32_t>& histogram, CurveInputs in) {
    in.histogram = histogram;
    if (in.bins == 0)
        in.bins = static_cast<int>(histogram.size());
    std::vector<PathPoint> path;
    ComputeCurve(in, path);
    return path;
}

std::vector<std::int32_t> OneBin(int bins, int bin, std::int32_t count) {
    std::vector<std::int32_t> histogram(static_cast<std::size_t>(bins), 0);
    histogram[static_cast<std::size_t>(bin)] = count;
    return histogram;
}

int MoveCount(const std::vector<PathPoint>& path) {
    int moves = 0;
    for (const PathPoint& p : path)
        moves += p.op == Op::MoveTo;
    return moves;
}

TEST(Curve, PlateauOfOneBinSpansTheAveragingWindow) {
    // All 7 files in bin 600, window of 100 bins: density 7 * 1440 / (7 * 100) = 14.4 over the
    // 100 points whose window holds bin 600. With H = 1000 and full scale 8 a unit of density
    // is 125 pixels, so the plateau lies at 1000 - 1800.
    const auto path =
        Curve(OneBin(kDayBins, 600, 7),
              {.width = kDayBins, .height = 1000, .yScale = 8.0, .trackbarPosition = 50, .fileCount = 7});
    ASSERT_EQ(path.size(), 1440u);
    for (int j = 0; j < kDayBins; ++j) {
        const bool onPlateau = j >= 551 && j <= 650;
        EXPECT_EQ(path[static_cast<std::size_t>(j)].y, onPlateau ? -800 : 1000) << "point " << j;
        EXPECT_EQ(path[static_cast<std::size_t>(j)].x, j);
    }
}

// In every view, whatever the averaging: one point per bin, all on the row of density 1,
// 300 - trunc(300 / 6.5), in one line.
TEST(Curve, EvenSpreadIsAHorizontalLineAtDensityOne) {
    for (const int bins : {1440, 1680, 1488, 1460}) {
        const std::vector<std::int32_t> even(static_cast<std::size_t>(bins), 5);
        for (const int position : {0, 1, 50, 100}) {
            SCOPED_TRACE(testing::Message() << bins << " bins, trackbar " << position);
            const auto path = Curve(
                even, {.width = 600, .height = 300, .trackbarPosition = position, .fileCount = 5 * bins});
            ASSERT_EQ(path.size(), static_cast<std::size_t>(bins));
            for (const PathPoint& p : path)
                ASSERT_EQ(p.y, 254);
            EXPECT_EQ(MoveCount(path), 1);
            EXPECT_EQ(path.back().x, (bins - 1) * 600 / bins);
        }
    }
}

TEST(Curve, PlainHistogramWhenTheWindowIsOneBin) {
    // Trackbar at 0: point 20 carries the whole density of 1440, far above the top edge.
    const auto path =
        Curve(OneBin(kDayBins, 20, 3),
              {.width = kDayBins, .height = 300, .yScale = 999.0, .trackbarPosition = 0, .fileCount = 3});
    EXPECT_EQ(path[20].y, 300 - 432); // 1440 * 300 / 999 = 432.4...
    EXPECT_EQ(path[19].y, 300);
    EXPECT_EQ(path[21].y, 300);
}

TEST(Curve, WindowSumIsExactWithManyFiles) {
    // 2^31 - 1 files in one bin: S * B and N * n only fit in 64 bits. Density 1440 with
    // n = 1; at full scale 999 on 10 rows that is trunc(1440 * 10 / 999) = 14 rows.
    const std::int32_t most = std::numeric_limits<std::int32_t>::max();
    const auto path =
        Curve(OneBin(kDayBins, 0, most),
              {.width = 100, .height = 10, .yScale = 999.0, .trackbarPosition = 0, .fileCount = most});
    EXPECT_EQ(path[0].y, -4);
    // n = 200: the density is 7.2 at every point whose window holds bin 0.
    const auto wide =
        Curve(OneBin(kDayBins, 0, most),
              {.width = 100, .height = 1000, .yScale = 8.0, .trackbarPosition = 100, .fileCount = most});
    EXPECT_EQ(wide[0].y, 100); // 1000 - trunc(7.2 * 1000 / 8)
}

// Point j lies at j * 600 / 1440 + shift: without one the curve is one line; six hours of 24 on 600
// pixels shift it by 150, so that point 1080 reaches 600 and wraps to the left edge; 1500 bins
// left by the week view shift it by trunc(600 * 1500 / 1440) = 625, one width and 25.
TEST(Curve, AnOffsetSplitsTheCurveAtTheRightEdge) {
    struct Case {
        double xOffset;
        int firstX;
        std::size_t split; // the point that starts the second line; 0 when there is one line
        int lastX;
    };
    for (const Case c : {Case{0.0, 0, 0, 599}, Case{360.0, 150, 1080, 149}, Case{1500.0, 25, 1380, 24}}) {
        SCOPED_TRACE(c.xOffset);
        const auto path = Curve(OneBin(kDayBins, 600, 1),
                                {.width = 600, .height = 300, .xOffset = c.xOffset, .fileCount = 1});
        ASSERT_EQ(path.size(), 1440u);
        EXPECT_EQ(path[0], (PathPoint{Op::MoveTo, c.firstX, 300}));
        EXPECT_EQ(MoveCount(path), c.split == 0 ? 1 : 2);
        if (c.split > 0) {
            EXPECT_EQ(path[c.split - 1].op, Op::LineTo);
            EXPECT_EQ(path[c.split - 1].x, 599);
            EXPECT_EQ(path[c.split], (PathPoint{Op::MoveTo, 0, 300}));
        }
        EXPECT_EQ(path.back().x, c.lastX);
        for (std::size_t j = 1; j < path.size(); ++j) {
            if (path[j].op == Op::LineTo) {
                EXPECT_GE(path[j].x, path[j - 1].x) << "a line crosses the plot at point " << j;
            }
        }
    }
}

TEST(Curve, PointsShareColumnsWhenBinsOutnumberPixels) {
    const auto path = Curve(OneBin(kDayBins, 700, 1), {.width = 100, .height = 300, .fileCount = 1});
    ASSERT_EQ(path.size(), 1440u);
    EXPECT_EQ(MoveCount(path), 1);
    // Points 0 ... 14 all lie in column 0, point 15 in column 1.
    for (std::size_t j = 1; j < 15; ++j)
        EXPECT_EQ(path[j], (PathPoint{Op::LineTo, 0, 300}));
    EXPECT_EQ(path[15].x, 1);
    // Within the plateau's first column the step up is a vertical line.
    const PathPoint& before = path[650];
    const PathPoint& after = path[651];
    EXPECT_EQ(before.x, after.x);
    EXPECT_EQ(after.op, Op::LineTo);
    EXPECT_NE(before.y, after.y);
}

TEST(Curve, NothingToDrawLeavesThePathEmpty) {
    const auto histogram = OneBin(kDayBins, 1, 1);
    const CurveInputs cases[] = {
        {.width = 0, .height = 300, .fileCount = 1},
        {.width = -40, .height = 300, .fileCount = 1},
        {.width = 600, .height = 0, .fileCount = 1},
        {.width = 600, .height = -1, .fileCount = 1},
        {.width = 600, .height = 300, .fileCount = 0},
        {.width = 600, .height = 300, .yScale = 0.0, .fileCount = 1},
    };
    for (CurveInputs in : cases) {
        in.histogram = histogram;
        in.bins = kDayBins;
        std::vector<PathPoint> path{{Op::MoveTo, 1, 1}};
        ComputeCurve(in, path);
        EXPECT_TRUE(path.empty()) << in.width << " x " << in.height;
    }
    std::vector<PathPoint> path;
    ComputeCurve({.histogram = {}, .bins = kDayBins, .width = 600, .height = 300, .fileCount = 1}, path);
    EXPECT_TRUE(path.empty());
}

TEST(Curve, ExtremeOffsetAndScaleKeepPointsOnTheirColumnsAndWithinInt) {
    CurveInputs in;
    in.bins = kDayBins;
    in.width = 600;
    in.height = 300;
    in.fileCount = 5;
    in.trackbarPosition = 0;
    in.xOffset = 1e300; // beyond any integer shift
    in.yScale = 1e-300; // a unit of density is far taller than the plot
    const auto path = Curve(OneBin(kDayBins, 600, 5), in);
    ASSERT_EQ(path.size(), static_cast<std::size_t>(kDayBins));
    for (std::size_t j = 0; j < path.size(); ++j) {
        EXPECT_GE(path[j].x, 0);
        EXPECT_LT(path[j].x, 600);
        EXPECT_EQ(path[j].y, j == 600 ? std::numeric_limits<int>::min() : 300) << j;
    }
    EXPECT_LE(MoveCount(path), 2);

    in.xOffset = std::numeric_limits<double>::infinity(); // no shift at all
    EXPECT_EQ(Curve(OneBin(kDayBins, 600, 5), in).front().x, 0);
}

TEST(Curve, ShortHistogramCountsMissingBinsAsEmpty) {
    // One entry only: the curve is its single point; the window reaches past the entries.
    const std::vector<std::int32_t> single{4};
    const auto path =
        Curve(single, {.bins = kDayBins, .width = 600, .height = 300, .trackbarPosition = 0, .fileCount = 4});
    ASSERT_EQ(path.size(), 1u);
    EXPECT_EQ(path[0].op, Op::MoveTo);
    EXPECT_EQ(path[0].y, 300 - 66461); // 1440 * 300 / 6.5 = 66461.5
}

} // namespace
