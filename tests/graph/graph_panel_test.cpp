// The graph widgets on the offscreen platform: drags on both axes, presses that must not
// drag, and the cursor readout.
#include "analysis_period.h"
#include "cursor_readout.h"
#include "graph_panel.h"
#include "stamp_store.h"
#include "test_graph_host.h"
#include "wrap.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>

namespace {

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class GraphPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        // One file at 00:00 and three at 08:30 UTC on 1 March 2021.
        for (const std::int64_t t : {1614556800LL, 1614587400LL, 1614587400LL, 1614587400LL})
            store.Add({t});
        store.m_nFiles = store.GetSize();
        panel.resize(800, 500);
        panel.show();
        panel.m_plot.RebuildHistograms();
        panel.installEventFilter(&counter);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
        QApplication::processEvents();
        counter.paints = 0;
    }

    // Panel client coordinates to widget coordinates (the sunken edge lies around the client area).
    QPoint Widget(int x, int y) const { return panel.contentsRect().topLeft() + QPoint(x, y); }
    int PlotWidth() const { return panel.m_plot.width(); }
    int PlotHeight() const { return panel.m_plot.height(); }
    int PaintsAfterEvents() {
        QApplication::processEvents();
        return counter.paints;
    }

    CTestGraphHost host;
    CStampStore store;
    CGraphPanel panel{host, store};
    PaintCounter counter;
};

// A press and release without a move changes nothing and paints nothing; a drag turns the period.
TEST_F(GraphPanelTest, TimeAxisDragTurnsThePeriodAndRepaints) {
    const int y = PlotHeight() + 5; // on the time-axis band
    const int startX = panel.m_yAxisWidth + 100;
    QTest::mousePress(&panel, Qt::LeftButton, {}, Widget(startX, y));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, Widget(startX, y));
    EXPECT_EQ(PaintsAfterEvents(), 0);
    EXPECT_DOUBLE_EQ(panel.m_plot.m_xOffset, 0.0);
    QTest::mousePress(&panel, Qt::LeftButton, {}, Widget(startX, y));
    EXPECT_EQ(panel.m_dragX, startX);
    QTest::mouseMove(&panel, Widget(startX + 60, y));
    EXPECT_DOUBLE_EQ(panel.m_plot.m_xOffset, 60.0 * 1440 / PlotWidth());
    EXPECT_GT(PaintsAfterEvents(), 0);
    EXPECT_EQ(panel.m_dragX, startX + 60);

    // Far to the left of the panel: several periods back, brought into [0, bins).
    QTest::mouseMove(&panel, Widget(startX - 5 * PlotWidth() - 7, y));
    EXPECT_GE(panel.m_plot.m_xOffset, 0.0);
    EXPECT_LT(panel.m_plot.m_xOffset, 1440.0);
    EXPECT_NEAR(panel.m_plot.m_xOffset, WrapOffset(-7.0 * 1440 / PlotWidth(), 1440), 1e-6);

    QTest::mouseRelease(&panel, Qt::LeftButton, {}, Widget(startX, y));
    EXPECT_EQ(panel.m_dragX, NO_DRAG);
    EXPECT_EQ(panel.m_dragY, NO_DRAG);
    const double afterRelease = panel.m_plot.m_xOffset;
    QTest::mouseMove(&panel, Widget(startX + 30, y));
    EXPECT_EQ(panel.m_plot.m_xOffset, afterRelease);
    EXPECT_DOUBLE_EQ(panel.m_plot.m_yScale, 6.5);
}

TEST_F(GraphPanelTest, DensityAxisDragStretchesTheScale) {
    // Make the plot exactly 300 pixels high, as in the worked example.
    panel.resize(800, 300 + panel.m_xAxisHeight + panel.height() - panel.contentsRect().height());
    ASSERT_EQ(PlotHeight(), 300);
    const int x = panel.m_yAxisWidth / 2;
    QTest::mousePress(&panel, Qt::LeftButton, {}, Widget(x, 100));
    EXPECT_EQ(panel.m_dragX, NO_DRAG);
    EXPECT_EQ(panel.m_dragY, 100);
    QTest::mouseMove(&panel, Widget(x, 200));
    EXPECT_DOUBLE_EQ(panel.m_plot.m_yScale, 13.0);
    EXPECT_GT(PaintsAfterEvents(), 0);
    QTest::mouseMove(&panel, Widget(x, 100));
    EXPECT_DOUBLE_EQ(panel.m_plot.m_yScale, 6.5);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, Widget(x, 100));
    EXPECT_EQ(panel.m_dragY, NO_DRAG);
    EXPECT_DOUBLE_EQ(panel.m_plot.m_xOffset, 0.0);
}

TEST_F(GraphPanelTest, PressesThatStartNoDrag) {
    struct Case {
        const char* what;
        QPoint at;
        Qt::MouseButton button;
    };
    const int bandY = PlotHeight() + 5;
    const Case cases[] = {
        {"inside the plot", QPoint(panel.m_yAxisWidth + 50, 50), Qt::LeftButton},
        {"right button on the time axis", QPoint(panel.m_yAxisWidth + 50, bandY), Qt::RightButton},
        {"right button on the density axis", QPoint(5, 50), Qt::RightButton},
        {"lower left corner", QPoint(5, bandY), Qt::LeftButton},
        // The 2-pixel sunken edge lies outside the client area on all four sides.
        {"left edge", QPoint(-1, 50), Qt::LeftButton},
        {"right edge beside the plot", QPoint(panel.contentsRect().width(), 50), Qt::LeftButton},
        {"top edge above the plot", QPoint(panel.m_yAxisWidth + 50, -2), Qt::LeftButton},
        {"bottom edge below the time axis", QPoint(panel.m_yAxisWidth + 50, panel.contentsRect().height()),
         Qt::LeftButton},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Send the events to whichever widget is under the pointer, as the window system would.
        QWidget* target = panel.childAt(Widget(c.at.x(), c.at.y()));
        if (target == nullptr)
            target = &panel;
        const QPoint local = target->mapFrom(&panel, Widget(c.at.x(), c.at.y()));
        QTest::mousePress(target, c.button, {}, local);
        EXPECT_EQ(panel.m_dragX, NO_DRAG);
        if (!QRect(QPoint(0, 0), panel.contentsRect().size()).contains(c.at)) {
            EXPECT_EQ(panel.m_dragY, NO_DRAG); // not even an anchor on the edge
        }
        QTest::mouseMove(target, local + QPoint(40, 40));
        EXPECT_DOUBLE_EQ(panel.m_plot.m_xOffset, 0.0);
        EXPECT_DOUBLE_EQ(panel.m_plot.m_yScale, 6.5);
        QTest::mouseRelease(target, c.button, {}, local + QPoint(40, 40));
    }
}

TEST_F(GraphPanelTest, SecondPressOfADoubleClickStartsNoDrag) {
    const QPoint at = Widget(panel.m_yAxisWidth + 10, PlotHeight() + 5);
    QTest::mousePress(&panel, Qt::LeftButton, {}, at);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, at);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, panel.mapToGlobal(at), Qt::LeftButton,
                            Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&panel, &doubleClick);
    EXPECT_EQ(panel.m_dragX, NO_DRAG);
    EXPECT_EQ(panel.m_dragY, NO_DRAG);
}

TEST_F(GraphPanelTest, ReadoutGoesOnDuringAPressInThePlotButNotDuringADrag) {
    // A press inside the plot captures nothing: moves over the plot keep writing the readout.
    QTest::mousePress(&panel.m_plot, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&panel.m_plot, QPoint(PlotWidth() / 2, 8));
    EXPECT_EQ(host.readouts, 1);
    EXPECT_EQ(host.readout.toStdString(),
              ReadoutText(VIEW_DAY, BinUnderPointer(PlotWidth() / 2, PlotWidth(), 1440, 0.0), 0));
    // Qt still sends the plot the moves beyond its edges; those are not over the plot.
    QTest::mouseMove(&panel.m_plot, QPoint(-3, 8));
    QTest::mouseMove(&panel.m_plot, QPoint(9, PlotHeight() + 4));
    EXPECT_EQ(host.readouts, 1);
    QTest::mouseRelease(&panel.m_plot, Qt::LeftButton, {}, QPoint(9, 8));

    // A drag that began on the time axis holds the readout until its release.
    const QPoint band = Widget(panel.m_yAxisWidth + 20, PlotHeight() + 5);
    QTest::mousePress(&panel, Qt::LeftButton, {}, band);
    QTest::mouseMove(&panel, Widget(panel.m_yAxisWidth + 60, 40)); // over the plot
    EXPECT_EQ(host.readouts, 1);
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, Widget(panel.m_yAxisWidth + 60, 40));

    store.Reset();
    QTest::mouseMove(&panel.m_plot, QPoint(9, 9));
    EXPECT_EQ(host.readouts, 1);
}

// The keyboard cursor: the status bar and a screen reader get the readout the pointer over the
// cursor's line gives; Enter and Shift+F10 ask for the files there; the cursor and the focus mark
// show only while the graph has the focus.
TEST_F(GraphPanelTest, KeyboardCursorReadsOutAsThePointerWould) {
    panel.resize(1700, 500); // a column for every bin of the day
    panel.m_plot.clearFocus();
    QApplication::processEvents();
    const QImage plain = panel.grab().toImage();
    panel.activateWindow();
    panel.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    ASSERT_TRUE(panel.m_plot.hasFocus()); // the plot takes the panel's focus
    QApplication::processEvents();
    std::vector<int> requested;
    QObject::connect(&panel.m_plot, &CPlotWnd::FilesRequested, [&](int bin) { requested.push_back(bin); });

    // 08:30 holds the three files: two pages down is noon, then back 210 minutes.
    QTest::keyClick(&panel.m_plot, Qt::Key_PageDown);
    QTest::keyClick(&panel.m_plot, Qt::Key_PageDown);
    QTest::keyClick(&panel.m_plot, Qt::Key_Left, Qt::ShiftModifier); // 100 minutes
    QTest::keyClick(&panel.m_plot, Qt::Key_Left, Qt::ShiftModifier);
    for (int press = 0; press < 10; ++press)
        QTest::keyClick(&panel.m_plot, Qt::Key_Left);
    ASSERT_EQ(panel.m_plot.CursorBin(), 510);
    EXPECT_EQ(host.readout, QStringLiteral("08:30 AM - 3 file(s)."));
    EXPECT_EQ(panel.m_plot.accessibleDescription(), host.readout);
    for (const double turn : {0.0, 333.3}) {
        panel.m_plot.m_xOffset = turn;
        const QString byKeys = panel.m_plot.CursorReadout();
        QTest::mouseMove(&panel.m_plot, QPoint(CursorColumn(510, PlotWidth(), 1440, turn), 30));
        EXPECT_EQ(host.readout, byKeys) << "turned by " << turn;
    }

    QTest::keyClick(&panel.m_plot, Qt::Key_Return);
    // The Menu key opens the context menu for the cursor's point.
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->actions().front()->trigger();
        menu->close();
    });
    QTest::keyClick(&panel.m_plot, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(requested, (std::vector<int>{510, 510}));

    // The focus mark and the cursor line go with the focus, and leave the picture as it was.
    panel.m_plot.m_xOffset = 0.0;
    panel.activateWindow(); // the menu took the focus away
    panel.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));
    ASSERT_TRUE(panel.m_plot.hasFocus());
    const QImage focused = panel.grab().toImage();
    panel.m_plot.clearFocus();
    QApplication::processEvents();
    const QImage unfocused = panel.grab().toImage();
    EXPECT_NE(focused, unfocused);
    EXPECT_EQ(unfocused, plain);
}

} // namespace
