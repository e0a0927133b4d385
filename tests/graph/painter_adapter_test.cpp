// Lines that leave their end pixel out, the way the graph's arithmetic counts on.
#include "image_pixels.h"
#include "line_pixels.h"
#include "painter_adapter.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iterator>

namespace {

const QRgb kInk = qRgb(0, 0, 0);

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
                // Every pixel of the stepping whole: on a scaled device a block of device pixels.
                LinePixels(at, next, pixels);
                for (const QPoint& pixel : pixels)
                    painter.fillRect(QRect(pixel, QSize(1, 1)), kInk);
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

// LineTo leaves the end pixel out in every direction, and a line to itself draws nothing; a polyline
// draws every vertex but the last.
TEST(PainterAdapter, LineToLeavesTheEndPixelOut) {
    EXPECT_EQ(Picture([](CPainterAdapter& dc) {
                  dc.MoveTo(1, 1);
                  dc.LineTo(5, 1); // right
                  dc.MoveTo(6, 5);
                  dc.LineTo(6, 1); // up
                  dc.MoveTo(4, 4);
                  dc.LineTo(1, 4); // left
                  dc.LineTo(1, 4); // to itself
              }),
              "........\n"
              ".####...\n"
              "......#.\n"
              "......#.\n"
              "..###.#.\n"
              "......#.\n");
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
