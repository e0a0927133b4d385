// The pixels of one-pixel lines, whole and clipped.
#include "line_pixels.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>

namespace {

TEST(LinePixels, StartInEndOutOnePixelPerStep) {
    const QPoint ends[][2] = {
        {{1, 8}, {2, 2}}, {{2, 2}, {1, 8}},  {{0, 0}, {9, 3}}, {{9, 3}, {0, 0}},
        {{5, 5}, {5, 5}}, {{3, 4}, {-6, 4}}, {{0, 0}, {7, 7}}, {{-2, 9}, {4, -5}},
    };
    std::vector<QPoint> pixels;
    for (const auto& line : ends) {
        SCOPED_TRACE(testing::Message()
                     << line[0].x() << "," << line[0].y() << " -> " << line[1].x() << "," << line[1].y());
        LinePixels(line[0], line[1], pixels);
        const int steps = std::max(std::abs(line[1].x() - line[0].x()), std::abs(line[1].y() - line[0].y()));
        ASSERT_EQ(static_cast<int>(pixels.size()), steps);
        if (steps == 0)
            continue;
        EXPECT_EQ(pixels.front(), line[0]);
        // Each pixel touches the next, and the last one touches the undrawn end.
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            const QPoint next = i + 1 < pixels.size() ? pixels[i + 1] : line[1];
            EXPECT_LE(std::abs(next.x() - pixels[i].x()), 1);
            EXPECT_LE(std::abs(next.y() - pixels[i].y()), 1);
            EXPECT_NE(pixels[i], line[1]);
        }
    }
}

TEST(LinePixels, ClippingKeepsEveryPixelInsideExactlyWhereItWas) {
    const QRect area(-3, 5, 40, 25);
    std::vector<std::pair<QPoint, QPoint>> lines;
    // Ends on a grid around and inside the area: every slope crosses its edges somewhere.
    for (int x0 = -70; x0 <= 90; x0 += 23)
        for (int y0 = -40; y0 <= 70; y0 += 17)
            for (int x1 = -65; x1 <= 95; x1 += 29)
                for (int y1 = -45; y1 <= 75; y1 += 13)
                    lines.push_back({{x0, y0}, {x1, y1}});
    // Spikes far beyond the area, as a curve with no averaging draws them.
    lines.push_back({{10, 20}, {11, -250000}});
    lines.push_back({{12, -250000}, {14, 29}});
    lines.push_back({{-900000, 6}, {30, 7}});
    lines.push_back({{0, 29}, {123457, -987654}});

    std::vector<QPoint> all;
    std::vector<QPoint> clipped;
    std::size_t kept = 0;
    for (const auto& [from, to] : lines) {
        LinePixels(from, to, all);
        std::vector<QPoint> inside;
        std::copy_if(all.begin(), all.end(), std::back_inserter(inside),
                     [&](QPoint p) { return area.contains(p); });
        ClippedLinePixels(from, to, area, clipped);
        ASSERT_EQ(clipped, inside) << from.x() << "," << from.y() << " -> " << to.x() << "," << to.y();
        kept += inside.size();
    }
    EXPECT_GT(kept, 10000u);
}

} // namespace
