// Pictures of the graph rendered off screen: the pixels must lie where the geometry says.
#include "analysis_period.h"
#include "curve_geometry.h"
#include "density_axis.h"
#include "font_text_measurer.h"
#include "graph_fonts.h"
#include "graph_panel.h"
#include "graph_render.h"
#include "image_pixels.h"
#include "screen_units.h"
#include "stamp_store.h"
#include "test_graph_host.h"
#include "time_axis_scale.h"
#include "time_axis_strip.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace {

const QRgb kCurve = qRgb(85, 85, 255);
const QRgb kBlack = qRgb(0, 0, 0);
constexpr std::int64_t kMarch2021 = 1614556800; // 2021-03-01 00:00 UTC

// Where the panel of a picture puts its bands and plot, measured on a panel of the same size.
struct Layout {
    QPoint client; // panel client origin in the picture
    int yAxisWidth;
    int xAxisHeight;
    QSize plot;
};

Layout LayoutOf(const CStampStore& store, QSize size) {
    CTestGraphHost host;
    CGraphPanel panel(host, store);
    panel.resize(size);
    panel.LayOut();
    return {panel.contentsRect().topLeft(), panel.m_yAxisWidth, panel.m_xAxisHeight, panel.m_plot.size()};
}

// The vertices of the curve the geometry computes for histogram on the picture's plot that start a
// line segment below the top rows (which the title or the legend hide): how many there are, and
// how many of them have the colour in the picture.
std::pair<int, int> CurveVertices(const QImage& image, const Layout& layout, const GraphPicture& picture,
                                  std::span<const std::int32_t> histogram, std::int64_t fileCount,
                                  int topRows, QRgb colour) {
    std::vector<PathPoint> path;
    ComputeCurve({.histogram = histogram,
                  .bins = 1440,
                  .width = layout.plot.width(),
                  .height = layout.plot.height(),
                  .xOffset = picture.xOffset,
                  .yScale = picture.yScale,
                  .trackbarPosition = picture.averagingPosition,
                  .fileCount = fileCount},
                 path);
    const QPoint plotOrigin = layout.client + QPoint(layout.yAxisWidth, 0);
    int vertices = 0;
    int coloured = 0;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        if (path[i + 1].op != PathPoint::Op::LineTo || path[i].y < topRows ||
            path[i].y >= layout.plot.height() || (path[i + 1].x == path[i].x && path[i + 1].y == path[i].y))
            continue;
        ++vertices;
        coloured += image.pixel(plotOrigin + QPoint(path[i].x, path[i].y)) == colour;
    }
    return {vertices, coloured};
}

class GraphRenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
    }

    void FillOneFilePerMinute() {
        for (int minute = 0; minute < 1440; ++minute)
            store.Add({kMarch2021 + 60 * minute});
        store.m_nFiles = store.GetSize();
    }

    CStampStore store;
};

TEST_F(GraphRenderTest, CurveVerticesLieWhereTheGeometryPutsThem) {
    // Files spread unevenly: many in the morning, a few at night.
    for (int minute = 0; minute < 1440; minute += 3)
        for (int copies = (minute >= 480 && minute < 720) ? 6 : 1; copies > 0; --copies)
            store.Add({kMarch2021 + 60 * minute});
    store.m_nFiles = store.GetSize();
    GraphPicture picture;
    picture.size = QSize(900, 600);
    picture.averagingPosition = 20;
    picture.xOffset = 300.0;
    picture.yScale = 4.0;
    const QImage image = RenderGraph(store, picture);
    const Layout layout = LayoutOf(store, picture.size);

    CPeriodHistograms histograms;
    histograms.RebuildHistograms(store);
    const auto [vertices, coloured] =
        CurveVertices(image, layout, picture, histograms.m_dayBins.span(), store.m_nFiles, 60, kCurve);
    EXPECT_EQ(coloured, vertices);
    EXPECT_GT(vertices, 500);
}

TEST_F(GraphRenderTest, AxisLinesBorderThePlot) {
    FillOneFilePerMinute();
    GraphPicture picture;
    const QImage image = RenderGraph(store, picture);
    const Layout layout = LayoutOf(store, picture.size);
    const int plotHeight = layout.plot.height();
    for (int y = 0; y < plotHeight; ++y)
        ASSERT_EQ(image.pixel(layout.client + QPoint(layout.yAxisWidth - 1, y)), kBlack) << "row " << y;
    for (int x = layout.yAxisWidth; x < layout.yAxisWidth + layout.plot.width(); ++x)
        ASSERT_EQ(image.pixel(layout.client + QPoint(x, plotHeight)), kBlack) << "column " << x;
}

TEST_F(GraphRenderTest, TimeAxisTurnsWithTheOffset) {
    FillOneFilePerMinute();
    GraphPicture picture;
    picture.size = QSize(760, 480);
    const QImage still = RenderGraph(store, picture);
    picture.xOffset = 360.0; // six hours of the day
    const QImage turned = RenderGraph(store, picture);
    const Layout layout = LayoutOf(store, picture.size);
    const int width = layout.plot.width();
    const int shift = TimeAxisShift(width, picture.xOffset, 1440);
    ASSERT_GT(shift, 0);
    const QPoint band = layout.client + QPoint(layout.yAxisWidth, layout.plot.height());
    int inked = 0;
    for (int row = 1; row < layout.xAxisHeight; ++row) {
        for (int column = 0; column < width; ++column) {
            const QRgb expected = still.pixel(band + QPoint(column, row));
            ASSERT_EQ(turned.pixel(band + QPoint((column + shift) % width, row)), expected)
                << "row " << row << " column " << column;
            inked += expected == kBlack;
        }
    }
    EXPECT_GT(inked, 100); // the band really carries ticks and labels
}

// Text ink: black or grey, smoothed or not; the curve's blue is not text.
bool IsTextInk(QRgb pixel) {
    return qRed(pixel) < 160 && qBlue(pixel) < 160;
}

// Everything the panel writes, read back from one picture: the title at 5 mm, the density
// ticks on their rows with their numbers in the large and small fonts, the axis title, and
// the opaque cell of a time-axis label over the tick it stands on.
TEST_F(GraphRenderTest, TitleTicksNumbersAndLabelsStandWhereTheyBelong) {
    FillOneFilePerMinute();
    GraphPicture picture;
    picture.size = QSize(800, 500);
    const QImage image = RenderGraph(store, picture);
    CTestGraphHost host;
    CGraphPanel panel(host, store);
    panel.resize(picture.size);
    panel.LayOut();
    const QPoint client = panel.contentsRect().topLeft();
    const int plotWidth = panel.m_plot.width();
    const int plotHeight = panel.m_plot.height();
    const int yAxisWidth = panel.m_yAxisWidth;
    const int dpiX = panel.logicalDpiX();
    const int dpiY = panel.logicalDpiY();
    const QPoint plot = client + QPoint(yAxisWidth, 0);

    // The title: centred, its cell's top 5 mm below the plot's top.
    const QFont titleFont = BoldPointFont(QStringLiteral("Times New Roman"), QFont::Serif, 170, dpiY);
    const QFontMetrics titleMetrics(titleFont);
    const QRect title = PixelBounds(image, IsTextInk, QRect(plot, QSize(plotWidth, 60)));
    ASSERT_FALSE(title.isEmpty()) << "no title";
    EXPECT_NEAR(title.top() - plot.y(),
                MillimetresToPixels(5, dpiY) + titleMetrics.ascent() +
                    titleMetrics.tightBoundingRect(panel.m_plot.TitleText()).top(),
                1);
    EXPECT_NEAR((title.left() + title.right() + 1) / 2 - plot.x(), plotWidth / 2, 3);

    // Density ticks every 0.5 of the full scale 6.5, long at the whole numbers.
    const QFontMetrics large(panel.m_fontLarge);
    const QFontMetrics small(panel.m_fontSmall);
    const QFontMetrics vertical(panel.m_fontVertical);
    const int titleRight = yAxisWidth - MillimetresToPixels(5, dpiX) - MillimetresToPixels(1, dpiX) -
                           vertical.horizontalAdvance(QStringLiteral("999"));
    const int spacing = static_cast<int>(plotHeight * 0.5 / 6.5);
    for (int k = 0; k <= 12; ++k) {
        SCOPED_TRACE(testing::Message() << "tick " << k * 0.5);
        const bool isLong = k % 2 == 0;
        const int y = static_cast<int>(plotHeight - plotHeight * (k * 0.5) / 6.5);
        const int length = MillimetresToPixels(isLong ? 5 : 2, dpiX);
        for (int x = yAxisWidth - length + 1; x < yAxisWidth - 1; ++x)
            ASSERT_EQ(image.pixel(client + QPoint(x, y)), kBlack) << "column " << x;
        EXPECT_NE(image.pixel(client + QPoint(yAxisWidth - 2, y - 1)), kBlack);
        EXPECT_NE(image.pixel(client + QPoint(yAxisWidth - 2, y + 1)), kBlack);
        const QRect number = PixelBounds(
            image, IsTextInk,
            QRect(client + QPoint(titleRight + 1, y - spacing / 2),
                  QPoint(client.x() + yAxisWidth - length - 1, client.y() + y + spacing / 2 - 1)));
        ASSERT_FALSE(number.isEmpty());
        const int digitHeight = (isLong ? large : small).tightBoundingRect(QStringLiteral("1")).height();
        EXPECT_NEAR(number.height(), digitHeight, 1) << (isLong ? "large font" : "small font");
        EXPECT_NEAR(number.center().y() - client.y(), y, 2) << "centred on its tick";
        EXPECT_GE(number.right() - client.x(), yAxisWidth - length - 3) << "right-aligned at its tick";
    }

    // "Probability" reads upward, centred on the plot's height, ending left of the numbers.
    const QRect axisTitle = PixelBounds(
        image, IsTextInk,
        QRect(client + QPoint(0, 0), QPoint(client.x() + titleRight - 1, client.y() + plotHeight)));
    ASSERT_FALSE(axisTitle.isEmpty()) << "no axis title";
    EXPECT_NEAR(axisTitle.height(), vertical.tightBoundingRect(QStringLiteral("Probability")).width(), 2);
    EXPECT_NEAR(axisTitle.center().y() - client.y(), plotHeight / 2, 2);
    EXPECT_LE(axisTitle.right() - client.x(), titleRight - 1);
    EXPECT_GE(axisTitle.right() - client.x(), titleRight - vertical.descent() - 1);

    // A label's opaque cell hides the top of a longer tick drawn before it ("Noon" on the noon tick).
    const CFontTextMeasurer measure(panel.m_fontLarge, panel.m_fontSmall, panel.m_fontVertical);
    const TimeAxisScale scale = ComputeTimeAxisScale(VIEW_DAY, plotWidth, dpiY, measure);
    const QPoint band = plot + QPoint(0, plotHeight);
    int covered = 0;
    for (const TimeAxisLabel& label : scale.labels) {
        const QFontMetrics& metrics = label.font == AxisFont::Large ? large : small;
        const int width = metrics.horizontalAdvance(QString::fromStdString(label.text));
        for (int i = 0; i < label.ticksBefore; ++i) {
            const TimeAxisTick& tick = scale.ticks[static_cast<std::size_t>(i)];
            if (tick.length <= label.top + 1 || tick.x < label.x - width / 2 ||
                tick.x >= label.x - width / 2 + width)
                continue;
            EXPECT_EQ(image.pixel(band + QPoint(tick.x, label.top - 1)), kBlack)
                << label.text << " tick above";
            EXPECT_EQ(image.pixel(band + QPoint(tick.x, label.top)), qRgb(255, 255, 255)) << label.text;
            EXPECT_EQ(image.pixel(band + QPoint(tick.x, label.top + 1)), qRgb(255, 255, 255)) << label.text;
            ++covered;
        }
    }
    EXPECT_GT(covered, 0);
}

TEST_F(GraphRenderTest, EmptyStoreDrawsNothingButTheBackground) {
    const QImage image = RenderGraph(store, GraphPicture{});
    const Layout layout = LayoutOf(store, GraphPicture{}.size);
    const QRgb background = image.pixel(layout.client + QPoint(3, 3));
    for (int y = 0; y < image.height() - 2 * layout.client.y(); ++y)
        for (int x = 0; x < image.width() - 2 * layout.client.x(); ++x)
            ASSERT_EQ(image.pixel(layout.client + QPoint(x, y)), background) << x << "," << y;
}

TEST_F(GraphRenderTest, TinyPanelsPaintWithoutTrouble) {
    FillOneFilePerMinute();
    for (const QSize size : {QSize(1, 1), QSize(20, 300), QSize(300, 20), QSize(60, 60)}) {
        GraphPicture picture;
        picture.size = size;
        const QImage image = RenderGraph(store, picture);
        EXPECT_EQ(image.size(), size);
    }
}

// A comparison: the chosen range's records (one a minute, a flat line) in blue, the compared
// range's (mornings only) in the second colour where the geometry of their own density puts
// them, and a legend naming both with a stroke of each colour.
TEST_F(GraphRenderTest, AComparisonDrawsTheSecondRangesOwnDensityAndALegend) {
    constexpr std::int64_t kFebruary2021 = kMarch2021 - 28 * 86400;
    const QRgb kCompared = qRgb(204, 0, 102);
    FillOneFilePerMinute();
    for (int minute = 480; minute < 720; minute += 2)
        store.Add({kFebruary2021 + 60 * minute});
    store.m_nFiles = store.GetSize();
    GraphPicture picture;
    picture.size = QSize(900, 600);
    picture.averagingPosition = 10;
    picture.yScale = 8.0;
    picture.chosenRange = DateRange{kMarch2021, kMarch2021 + 86400};
    picture.comparedRange = DateRange{kFebruary2021, kFebruary2021 + 86400};
    const QImage image = RenderGraph(store, picture);
    const Layout layout = LayoutOf(store, picture.size);
    const QPoint plotOrigin = layout.client + QPoint(layout.yAxisWidth, 0);

    std::vector<std::int32_t> mornings(1440, 0);
    for (int minute = 480; minute < 720; minute += 2)
        mornings[static_cast<std::size_t>(minute)] = 1;
    const auto [vertices, coloured] = CurveVertices(image, layout, picture, mornings, 120, 120, kCompared);
    EXPECT_EQ(coloured, vertices) << "the compared range's curve, of its own records, not the store's";
    EXPECT_GT(vertices, 10);
    // The flat line of density 1, an eighth of the way up, in the afternoon where the other is 0.
    const QSize plot = layout.plot;
    const int flatY = plot.height() - 1 - plot.height() / 8;
    int blue = 0;
    for (int dy = -2; dy <= 2; ++dy)
        blue += image.pixel(plotOrigin + QPoint(plot.width() * 3 / 4, flatY + dy)) == kCurve;
    EXPECT_EQ(blue, 1);

    // The legend, top right below the title: a stroke of each colour, one above the other.
    int legendBlueRow = -1;
    int legendComparedRow = -1;
    for (int y = plotOrigin.y(); y < plotOrigin.y() + 120; ++y)
        for (int x = plotOrigin.x() + plot.width() / 2; x < plotOrigin.x() + plot.width(); ++x) {
            if (legendBlueRow < 0 && image.pixel(x, y) == kCurve)
                legendBlueRow = y;
            if (legendComparedRow < 0 && image.pixel(x, y) == kCompared)
                legendComparedRow = y;
        }
    EXPECT_GT(legendBlueRow, plotOrigin.y());
    EXPECT_GT(legendComparedRow, legendBlueRow);
}

} // namespace
