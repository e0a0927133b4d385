// The graph on a scaled screen (QT_SCALE_FACTOR 1.25, 1.5, 2, or QT_FONT_DPI=192, which Qt turns
// into a device pixel ratio of 2): the panel painted at that ratio against the same panel at 1x.
#include "analysis_period.h"
#include "graph_panel.h"
#include "image_pixels.h"
#include "stamp_store.h"
#include "test_graph_host.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace {

const QRgb kCurve = qRgb(85, 85, 255);
constexpr std::int64_t kMarch2021 = 1614556800; // 2021-03-01 00:00 UTC

struct Painted {
    QImage image;
    QRect plot; // logical
    QRect band; // the time-axis band, logical
};

// The panel as a screen with that many device pixels per logical one shows it.
Painted PaintPanel(const CStampStore& store, qreal ratio) {
    CTestGraphHost host;
    host.averaging = 8;
    CGraphPanel panel(host, store);
    panel.setAttribute(Qt::WA_DontShowOnScreen);
    panel.resize(1700, 420);
    panel.LayOut();
    panel.m_plot.m_xOffset = 333.0;
    panel.m_plot.m_yScale = 4.0;
    panel.m_plot.RebuildHistograms();
    QImage image(QSize(1700, 420) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    panel.render(&image);
    const QRect client = panel.contentsRect();
    return {image, panel.m_plot.geometry(),
            QRect(client.left() + panel.m_yAxisWidth, client.bottom() + 1 - panel.m_xAxisHeight,
                  panel.m_plot.width(), panel.m_xAxisHeight)};
}

class HighDpiTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        // A busy morning, a steep wall at noon and a quiet night: slopes of every steepness.
        for (int minute = 0; minute < 1440; ++minute) {
            const int files = minute < 360 ? 1 : minute < 720 ? (minute - 300) / 20 : minute < 730 ? 60 : 2;
            for (int i = 0; i < files; ++i)
                store.AddStamp(kMarch2021 + 60 * minute);
        }
    }
    CStampStore store;
};

// The curve below the title: every pixel of its 1x stepping is covered at the scale, as a block
// of device pixels, and nothing is drawn beside it.
TEST_F(HighDpiTest, TheCurveIsTheOneTimesSteppingWithEveryPixelFilledAtAnyScale) {
    const Painted once = PaintPanel(store, 1.0);
    const QRect below = once.plot.adjusted(0, 60, 0, 0); // the title's rows left out
    const int curve1x = CountPixels(once.image, IsColour(kCurve), below);
    ASSERT_GT(curve1x, 1500);
    ASSERT_GT(PixelBounds(once.image, IsColour(kCurve), below).height(), 150) << "steep parts to draw";

    for (const qreal ratio : {1.25, 1.5, 2.0}) {
        const Painted scaled = PaintPanel(store, ratio);
        ASSERT_EQ(scaled.plot, once.plot);
        const auto device = [&](int logical) {
            return static_cast<int>(std::floor((logical + 0.5) * ratio));
        };
        int uncovered = 0;
        for (int y = below.top(); y <= below.bottom(); ++y)
            for (int x = below.left(); x <= below.right(); ++x)
                if (once.image.pixel(x, y) == kCurve && scaled.image.pixel(device(x), device(y)) != kCurve)
                    ++uncovered;
        EXPECT_EQ(uncovered, 0) << ratio;
        // Even weight: about the 1x area times the ratio squared (a fractional ratio rounds some
        // logical pixels up to two device pixels), never the thin dotted trace of single points.
        const QRect deviceBelow(QPoint(device(below.left()), device(below.top())),
                                QPoint(device(below.right()), device(below.bottom())));
        const double area = CountPixels(scaled.image, IsColour(kCurve), deviceBelow);
        EXPECT_GT(area / (curve1x * ratio * ratio), 0.85) << ratio;
        EXPECT_LT(area / (curve1x * ratio * ratio), 1.3) << ratio;
    }

    // At 2x each logical pixel is exactly a 2x2 block: the same shape, pixel for pixel.
    const Painted twice = PaintPanel(store, 2.0);
    int mismatched = 0;
    for (int y = below.top(); y <= below.bottom(); ++y)
        for (int x = below.left(); x <= below.right(); ++x)
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    mismatched += (once.image.pixel(x, y) == kCurve) !=
                                  (twice.image.pixel(2 * x + dx, 2 * y + dy) == kCurve);
    EXPECT_EQ(mismatched, 0);
}

// Texts are drawn with the screen's own pixels, not drawn at 1x and blown up: at 2x the labels of
// the time axis have edges inside the 2x2 blocks of logical pixels.
TEST_F(HighDpiTest, TimeAxisTextsAreDrawnAtTheScreensResolution) {
    const Painted twice = PaintPanel(store, 2.0);
    int splitBlocks = 0;
    const QRect band = twice.band.adjusted(0, 0, -1, -1);
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x) {
            const QRgb corner = twice.image.pixel(2 * x, 2 * y);
            splitBlocks += twice.image.pixel(2 * x + 1, 2 * y) != corner ||
                           twice.image.pixel(2 * x, 2 * y + 1) != corner ||
                           twice.image.pixel(2 * x + 1, 2 * y + 1) != corner;
        }
    EXPECT_GT(splitBlocks, 100);
}

} // namespace
