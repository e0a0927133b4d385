// The real window under hostile input: a storm of random gestures, and folders with odd names.
#include "analysis_period.h"
#include "app_fixture.h"
#include "averaging_bar.h"
#include "command_ids.h"
#include "graph_panel.h"
#include "image_pixels.h"
#include "posix_directory_source.h"
#include "stamp_store.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QStatusBar>
#include <QWheelEvent>
#include <cmath>
#include <random>

namespace {

constexpr QRgb kCurveColour = qRgb(85, 85, 255);

using HostileInputTest = OpenWindowTest;

// Random mouse, wheel and resize events on the panel and the plot, with view, slider and
// analysis changes between them; the same seed gives the same storm.
class CEventStorm {
public:
    CEventStorm(CMainFrame& frame, std::uint32_t seed) : m_frame(frame), m_random(seed) {}

    // One random step; returns whether it was a move on the panel while the time axis was held.
    bool Step(const std::vector<std::string>& folders,
              const std::function<void(const std::string&)>& analyse) {
        CGraphPanel& panel = *m_frame.m_wndPanel;
        QWidget* target = Chance(0.7) ? static_cast<QWidget*>(&panel) : &panel.m_plot;
        // One step in a hundred analyses again, three change the view, two the averaging, three
        // resize the panel and two let it paint; the rest are mouse and wheel events.
        const int roll = Pick(100);
        if (roll == 0) {
            analyse(folders[static_cast<std::size_t>(Pick(static_cast<int>(folders.size())))]);
            return false;
        }
        if (roll <= 3) {
            const int views[] = {ID_VIEW_DAY, ID_VIEW_WEEK, ID_VIEW_MONTH, ID_VIEW_YEAR};
            m_frame.CommandAction(views[Pick(4)])->trigger();
            return false;
        }
        if (roll <= 5) {
            m_frame.m_wndAvgBar->m_slider.setValue(Pick(101));
            return false;
        }
        if (roll <= 8) {
            panel.resize(Chance(0.2) ? 0 : Pick(1000), Chance(0.2) ? 0 : Pick(700));
            return false;
        }
        if (roll <= 10) {
            QCoreApplication::processEvents(); // paints at whatever size the storm left
            return false;
        }
        const QPoint at = PointNear(*target);
        const int kind = Pick(10);
        if (kind < 2) {
            const Qt::MouseButton button = RandomButton();
            m_held |= button;
            Send(*target, QEvent::MouseButtonPress, at, button);
        } else if (kind < 3) {
            Send(*target, QEvent::MouseButtonDblClick, at, RandomButton());
        } else if (kind < 4) {
            const Qt::MouseButton button = RandomButton();
            m_held &= ~Qt::MouseButtons(button);
            Send(*target, QEvent::MouseButtonRelease, at, button);
        } else if (kind < 5) {
            QWheelEvent wheel(at, target->mapToGlobal(at), QPoint(), QPoint(0, Pick(5) * 120 - 240), m_held,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(target, &wheel);
        } else {
            const bool dragging = target == &panel && panel.m_dragX != NO_DRAG;
            Send(*target, QEvent::MouseMove, at, Qt::NoButton);
            return dragging;
        }
        return false;
    }

    // Lets go of every button.
    void ReleaseAll() {
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            m_held &= ~Qt::MouseButtons(button);
            Send(*m_frame.m_wndPanel, QEvent::MouseButtonRelease, QPoint(5, 5), button);
        }
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(m_random); }
    Qt::MouseButton RandomButton() {
        const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::LeftButton, Qt::LeftButton, Qt::RightButton,
                                           Qt::MiddleButton};
        return buttons[Pick(5)];
    }
    // Anywhere on the widget or a little outside it, as moves during a grab can be.
    QPoint PointNear(const QWidget& widget) {
        return {Pick(widget.width() + 80) - 40, Pick(widget.height() + 80) - 40};
    }
    void Send(QWidget& target, QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QMouseEvent event(type, at, target.mapToGlobal(at), button, m_held, Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
    }

    CMainFrame& m_frame;
    std::mt19937 m_random;
    Qt::MouseButtons m_held;
};

TEST_F(HostileInputTest, EventStormLeavesTheGraphInRangeAndPaintable) {
    CTestTree busy;
    for (int i = 0; i < 400; ++i)
        busy.AddFile("f" + std::to_string(i), LocalTime(2021, 1 + i % 12, 1 + i % 28, i % 24, i % 60));
    CTestTree quiet;
    quiet.AddFile("one", LocalTime(2022, 3, 4, 5, 6));
    CTestTree empty;
    const std::vector<std::string> folders{busy.Root(), quiet.Root(), empty.Root(), empty.Path("missing")};
    Analyse(busy.Root());

    constexpr std::uint32_t kSeed = 20261208;
    CEventStorm storm(*m_frame, kSeed);
    CPlotWnd& plot = m_frame->m_wndPanel->m_plot;
    int turns = 0;
    int stretches = 0;
    for (int step = 0; step < 4000; ++step) {
        SCOPED_TRACE(testing::Message() << "seed " << kSeed << ", step " << step);
        const double scaleBefore = plot.m_yScale;
        const bool dragged = storm.Step(folders, [this](const std::string& folder) { Analyse(folder); });
        stretches += plot.m_yScale != scaleBefore;
        ASSERT_GE(plot.m_yScale, 1.0);
        ASSERT_LE(plot.m_yScale, 999.0);
        // A turn keeps the offset within the period of the view it is made in; a view with
        // fewer bins keeps an offset made in a longer one.
        ASSERT_GE(plot.m_xOffset, 0.0);
        ASSERT_LT(plot.m_xOffset, kViews[VIEW_WEEK].bins);
        if (dragged && plot.width() > 0) {
            ++turns;
            ASSERT_LT(plot.m_xOffset, plot.BinsForView());
        }
    }
    // The storm did reach both drags.
    EXPECT_GT(turns, 100);
    EXPECT_GT(stretches, 50);
    storm.ReleaseAll();
    EXPECT_EQ(m_frame->m_wndPanel->m_dragX, NO_DRAG);
    EXPECT_EQ(m_frame->m_wndPanel->m_dragY, NO_DRAG);

    // The graph still paints: give it files and room, and look for the curve.
    Analyse(busy.Root());
    m_frame->m_wndPanel->resize(700, 450);
    const QImage picture = m_frame->m_wndPanel->grab().toImage();
    EXPECT_EQ(picture.size(), QSize(700, 450));
    EXPECT_GT(CountPixels(picture, IsColour(kCurveColour)), 100);
}

TEST_F(HostileInputTest, OddFolderNamesStayOnOneLineInTheTitleAndTheStatusBar) {
    CPlotWnd& plot = m_frame->m_wndPanel->m_plot;
    m_frame->m_wndPanel->resize(800, 500);
    // The first and last rows of black ink in the upper half of the plot.
    const auto titleRows = [&] {
        const QImage panel = m_frame->m_wndPanel->grab().toImage();
        const QRect ink =
            PixelBounds(panel, IsColour(qRgb(0, 0, 0)), QRect(0, plot.y(), panel.width(), plot.height() / 2));
        return ink.isEmpty() ? std::pair(-1, -1) : std::pair(ink.top(), ink.bottom());
    };
    CTestTree tree;
    tree.AddFile("plain/f", LocalTime(2021, 5, 5, 5, 5));
    Analyse(tree.Path("plain"));
    const std::pair<int, int> plainRows = titleRows();
    ASSERT_GE(plainRows.first, 0);
    const int statusHeight = m_frame->statusBar()->sizeHint().height();

    // Chosen in the window: newlines, tabs, escapes and a line separator.
    const std::string controls = "two\nlines\ttab\x1b[31mred\x7f\xe2\x80\xa8sep";
    tree.AddFile(controls + "/f", LocalTime(2021, 5, 5, 5, 5));
    Analyse(tree.Path(controls));
    ASSERT_EQ(theStampStore.m_nFiles, 1);
    const QString controlsShown =
        QString::fromUtf8("/two\\x0alines\\x09tab\\x1b[31mred\\x7f\\xe2\\x80\\xa8sep");
    EXPECT_EQ(plot.TitleText(), QString::fromStdString("1 files in " + tree.Root()) + controlsShown);
    EXPECT_EQ(titleRows(), plainRows) << "the title keeps to one line";

    // Bytes that are not UTF-8, as a folder chooser of another platform could hand over.
    const std::string bytes = "bad\xff\xfe\xc3(";
    tree.AddFile(bytes + "/f", LocalTime(2021, 5, 5, 5, 5));
    CPosixDirectorySource source;
    theStampStore.Scan(tree.Path(bytes), source);
    plot.RebuildHistograms();
    EXPECT_TRUE(plot.TitleText().endsWith(QString::fromUtf8("/bad\\xff\\xfe\\xc3(")));
    EXPECT_EQ(titleRows(), plainRows);

    // A folder that cannot be read is named in the status bar, on its one line.
    Analyse(tree.Path(controls + "/\n\x1b[2Jgone"));
    EXPECT_EQ(m_frame->MessageText(),
              QString::fromStdString("Cannot read " + tree.Root()) + controlsShown +
                  QString::fromUtf8("/\\x0a\\x1b[2Jgone: No such file or directory."));
    EXPECT_EQ(m_frame->statusBar()->sizeHint().height(), statusHeight);
}

} // namespace
