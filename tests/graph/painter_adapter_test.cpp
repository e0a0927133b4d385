// Lines that leave their end pixel out, the way the graph's arithmetic counts on.
#include "painter_adapter.h"

#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

const QRgb kInk = qRgb(0, 0, 0);

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

std::string Picture(void (*draw)(CPainterAdapter&)) {
    QImage image(8, 6, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CPainterAdapter dc(painter);
        draw(dc);
    }
    std::string rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            rows += image.pixel(x, y) == kInk ? '#' : '.';
        rows += '\n';
    }
    return rows;
}

TEST(PainterAdapter, LineToLeavesTheEndPixelInEveryDirection) {
    EXPECT_EQ(Picture([](CPainterAdapter& dc) {
                  dc.MoveTo(1, 1);
                  dc.LineTo(5, 1); // right
                  dc.MoveTo(6, 5);
                  dc.LineTo(6, 1); // up
                  dc.MoveTo(4, 4);
                  dc.LineTo(1, 4); // left
                  dc.LineTo(1, 4); // to itself: nothing
              }),
              "........\n"
              ".####...\n"
              "......#.\n"
              "......#.\n"
              "..###.#.\n"
              "......#.\n");
}

TEST(PainterAdapter, PolylineDrawsEveryVertexButTheLast) {
    EXPECT_EQ(Picture([](CPainterAdapter& dc) {
                  dc.MoveTo(0, 5);
                  dc.LineTo(2, 3);
                  dc.LineTo(2, 0);
                  dc.LineTo(7, 0);
              }),
              "..#####.\n"
              "..#.....\n"
              "..#.....\n"
              "..#.....\n"
              ".#......\n"
              "#.......\n");
}

} // namespace
