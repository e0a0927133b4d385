// Lines that leave their end pixel out, the way the graph's arithmetic counts on.
#include "image_pixels.h"
#include "painter_adapter.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>

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

// The adapter clips to what the device shows, wherever the painter's transform and clip put it.
TEST(PainterAdapter, ClippedLinesPaintTheSamePixelsAsUnclippedOnes) {
    const auto draw = [](bool throughAdapter, qreal pixelRatio) {
        QImage image(QSize(60, 45) * pixelRatio, QImage::Format_RGB32);
        image.setDevicePixelRatio(pixelRatio);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(7, -4);
        painter.setClipRect(QRect(-2, 6, 44, 30));
        CPainterAdapter dc(painter);
        std::vector<QPoint> pixels;
        QPoint at(-30, 70);
        for (const QPoint next : {QPoint(20, -300000), QPoint(21, 30), QPoint(90, 12), QPoint(-500, -3),
                                  QPoint(35, 36), QPoint(3, -1)}) {
            if (throughAdapter) {
                dc.MoveTo(at.x(), at.y());
                dc.LineTo(next.x(), next.y());
            } else {
                LinePixels(at, next, pixels);
                painter.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
            }
            at = next;
        }
        painter.end();
        return image;
    };
    for (const qreal ratio : {1.0, 2.0}) {
        const QImage clipped = draw(true, ratio);
        EXPECT_EQ(clipped, draw(false, ratio)) << "device pixel ratio " << ratio;
        EXPECT_GT(CountPixels(clipped, IsColour(kInk)), 100) << "the lines cross the clip many times";
    }
}

// "HIH" has flat tops at the cap height, flat feet on the baseline and no descender, so its ink
// shows where each reference point put the text cell.
TEST(PainterAdapter, TextInkStandsWhereItsReferencePointSays) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(20);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    const QString text = QStringLiteral("HIH");
    const QRect tight = metrics.tightBoundingRect(text); // ink around the baseline origin
    const QPoint at(80, 50);
    const auto ink = [&](auto draw) {
        QImage image(160, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        CPainterAdapter dc(painter);
        draw(dc);
        painter.end();
        return PixelBounds(image, IsColour(kInk));
    };
    const int capTop = at.y() + metrics.ascent() + tight.top(); // first ink row of a top-aligned text
    const int middle = at.x();

    const QRect topCenter =
        ink([&](CPainterAdapter& dc) { dc.TextOut(at.x(), at.y(), text, CPainterAdapter::TopCenter); });
    EXPECT_NEAR(topCenter.top(), capTop, 1);
    EXPECT_NEAR(topCenter.bottom(), at.y() + metrics.ascent() - 1, 1);
    EXPECT_NEAR((topCenter.left() + topCenter.right() + 1) / 2, middle, 2);

    const QRect topRight =
        ink([&](CPainterAdapter& dc) { dc.TextOut(at.x(), at.y(), text, CPainterAdapter::TopRight); });
    EXPECT_NEAR(topRight.top(), capTop, 1);
    EXPECT_LE(topRight.right(), at.x() - 1);
    EXPECT_GE(topRight.right(), at.x() - 4);

    const QRect bottomCenter =
        ink([&](CPainterAdapter& dc) { dc.TextOut(at.x(), at.y(), text, CPainterAdapter::BottomCenter); });
    EXPECT_NEAR(bottomCenter.bottom(), at.y() - metrics.descent() - 1, 1);
    EXPECT_NEAR((bottomCenter.left() + bottomCenter.right() + 1) / 2, middle, 2);

    // Turned to read upward, the bottom of the line faces right: x is the line's right edge.
    const QRect upward = ink(
        [&](CPainterAdapter& dc) { dc.TextOutUpward(at.x(), at.y(), text, CPainterAdapter::BottomCenter); });
    EXPECT_NEAR(upward.right(), at.x() - metrics.descent() - 1, 1);
    EXPECT_NEAR((upward.top() + upward.bottom() + 1) / 2, at.y(), 2);
    EXPECT_NEAR(upward.height(), topCenter.width(), 1);
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
