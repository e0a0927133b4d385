// An analysis with the window alive around it: the walk runs on its own thread while the window
// paints, shows progress and ignores input; Escape and closing the window stop it.
#include "analysis_period.h"
#include "analysis_runner.h"
#include "app_fixture.h"
#include "averaging_bar.h"
#include "command_ids.h"
#include "graph_panel.h"
#include "image_pixels.h"
#include "memory_directory_source.h"
#include "stamp_store.h"
#include "view_bar.h"
#include "walk_control.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

const QString kHeldProgress =
    QStringLiteral("Scanning: 123,456 files in 7,890 folders... Press Esc to stop.");

// Pixels that are not white inside the graph as the screen shows it, not as a fresh render
// would draw it: this is what stays behind when a repaint is missed.
int InkOnScreen(CGraphPanel& panel) {
    const QRect contents(panel.mapTo(panel.window(), panel.contentsRect().topLeft()),
                         panel.contentsRect().size());
    const QImage image = panel.screen()
                             ->grabWindow(panel.window()->winId(), contents.x(), contents.y(),
                                          contents.width(), contents.height())
                             .toImage();
    return CountPixels(image, [](QRgb pixel) { return pixel != qRgb(255, 255, 255); });
}

// Counts the paints a widget gets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

// Every walk is held at its start, with made-up progress, until the test lets it go or it is
// asked to stop; then the real walk runs.
class LiveAnalysisTest : public OpenWindowTest {
protected:
    void SetUp() override {
        OpenWindowTest::SetUp();
        m_first.AddFile("a", LocalTime(2020, 6, 1, 9, 0));
        m_second.AddFile("b", LocalTime(2020, 6, 2, 14, 0));
        m_frame->m_runner.m_load = [this](const AnalysisSource& source, CStampStore& store,
                                          WalkControl& control) {
            control.filesFound = 123456;
            control.foldersListed = 7890;
            while (!m_release && !control.stopRequested) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                if (m_keepCounting)
                    ++control.filesFound;
            }
            m_walkSawStop = control.stopRequested.load();
            return LoadRealSource(source, store, control);
        };
        m_frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    }

    // Analyses folder, running during() from the event loop while the walk is held; returns
    // once the analysis has ended.
    void AnalyseWhileHeld(const std::string& folder, const std::function<void()>& during) {
        m_release = false;
        QTimer::singleShot(0, m_frame, [&] {
            EXPECT_TRUE(m_frame->IsAnalysing());
            during();
            m_release = true;
        });
        Analyse(folder);
        EXPECT_FALSE(m_frame->IsAnalysing());
    }

    // A first analysis whose curve is on screen.
    void AnalyseAndDraw(const CTestTree& tree) {
        m_release = true;
        Analyse(tree.Root());
        ASSERT_GT(theStampStore.m_nFiles, 0);
        ASSERT_TRUE(ProcessEventsUntil([&] { return InkOnScreen(*m_frame->m_wndPanel) > 300; }));
    }

    bool WaitForMessage(const QString& text) {
        return ProcessEventsUntil([&] { return m_frame->MessageText() == text; }, 2000);
    }

    // Two small folders, one file at 09:00 and one at 14:00.
    CTestTree m_first;
    CTestTree m_second;
    std::atomic<bool> m_release{true};
    std::atomic<bool> m_keepCounting{false};
    std::atomic<bool> m_walkSawStop{false};
};

TEST_F(LiveAnalysisTest, WindowPaintsTheEmptyGraphShowsProgressAndIgnoresInputUntilTheWalkEnds) {
    m_second.AddFile("sub/c", LocalTime(2020, 6, 3, 14, 0));
    AnalyseAndDraw(m_first);

    QList<QUrl> helpOpened;
    m_frame->m_dialogs.openUrl = [&](const QUrl& url) {
        helpOpened << url;
        return true;
    };
    CGraphPanel& panel = *m_frame->m_wndPanel;
    AnalyseWhileHeld(m_second.Root(), [&] {
        // The old curve and title are gone from the screen, and the store is not the walk's.
        EXPECT_EQ(InkOnScreen(panel), 0);
        EXPECT_EQ(theStampStore.m_nFiles, 0);
        EXPECT_EQ(theStampStore.GetSize(), 0);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        EXPECT_TRUE(WaitForMessage(kHeldProgress)) << m_frame->MessageText().toStdString();

        // Everything that does nothing meanwhile looks so.
        EXPECT_FALSE(m_frame->menuBar()->isEnabled());
        EXPECT_FALSE(m_frame->m_wndViewBar->m_btnWeek.isEnabled());
        EXPECT_FALSE(m_frame->m_wndAvgBar->m_slider.isEnabled());
        for (const int id : {ID_FILE_NEWFOLDER, ID_APP_ABOUT, ID_FILE_SAVEPICTURE, ID_VIEW_WEEK})
            EXPECT_FALSE(m_frame->CommandAction(id)->isEnabled()) << id;

        // It follows a resize with a paint, still empty.
        PaintCounter counter(panel);
        const QSize before = panel.size();
        m_frame->resize(m_frame->size() - QSize(60, 40));
        EXPECT_TRUE(ProcessEventsUntil([&] { return counter.paints > 0 && panel.size() != before; }));
        EXPECT_EQ(InkOnScreen(panel), 0);

        // Commands by menu, toolbar, buttons, keys and shortcuts do nothing, and neither do drags.
        m_frame->CommandAction(ID_VIEW_WEEK)->trigger();
        QTest::mouseClick(&m_frame->m_wndViewBar->m_btnMonth, Qt::LeftButton);
        QTest::keyClick(&panel, Qt::Key_F1);
        QTest::mouseClick(m_frame->menuBar(), Qt::LeftButton, {},
                          m_frame->menuBar()->actionGeometry(m_frame->menuBar()->actions().at(0)).center());
        const QPoint onTimeAxis(panel.width() / 2, panel.height() - 5);
        QTest::mousePress(&panel, Qt::LeftButton, {}, onTimeAxis);
        QTest::mouseMove(&panel, onTimeAxis + QPoint(40, 0));
        EXPECT_EQ(panel.m_dragX, NO_DRAG);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, onTimeAxis + QPoint(40, 0));
        QCoreApplication::processEvents();
        EXPECT_EQ(m_frame->m_viewMode, VIEW_DAY);
        EXPECT_TRUE(m_frame->m_wndViewBar->m_btnDay.isChecked());
        EXPECT_TRUE(helpOpened.isEmpty());
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
        EXPECT_EQ(m_frame->MessageText(), kHeldProgress) << "a prompt took the progress away";
    });

    // The walk's complete result is shown, and the window answers again.
    EXPECT_FALSE(m_walkSawStop);
    EXPECT_TRUE(m_frame->menuBar()->isEnabled());
    EXPECT_TRUE(m_frame->m_wndViewBar->m_btnWeek.isEnabled());
    EXPECT_TRUE(m_frame->m_wndAvgBar->m_slider.isEnabled());
    for (const int id :
         {ID_FILE_NEWFOLDER, ID_FILE_ANALYZEAGAIN, ID_APP_ABOUT, ID_FILE_SAVEPICTURE, ID_VIEW_WEEK})
        EXPECT_TRUE(m_frame->CommandAction(id)->isEnabled()) << id;
    EXPECT_EQ(theStampStore.m_nFiles, 2);
    EXPECT_EQ(theStampStore.GetFolder(), m_second.Root());
    EXPECT_EQ(panel.m_plot.Histograms().m_dayBins[14 * 60], 2);
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("For Help, press F1"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(ProcessEventsUntil([&] { return InkOnScreen(panel) > 300; }));
    EXPECT_DOUBLE_EQ(panel.m_plot.m_xOffset, 0.0);
    m_frame->CommandAction(ID_VIEW_WEEK)->trigger();
    EXPECT_EQ(m_frame->m_viewMode, VIEW_WEEK);
}

TEST_F(LiveAnalysisTest, ProgressIsRewrittenAtMostTenTimesASecond) {
    m_keepCounting = true;
    int changes = 0;
    QElapsedTimer watched;
    AnalyseWhileHeld(m_first.Root(), [&] {
        const auto connection =
            QObject::connect(m_frame->m_wndStatusBar, &QStatusBar::messageChanged, [&](const QString& text) {
                EXPECT_TRUE(text.startsWith(QStringLiteral("Scanning: "))) << text.toStdString();
                ++changes;
            });
        watched.start();
        ProcessEventsUntil([] { return false; }, 1000);
        QObject::disconnect(connection);
    });
    // The count grows every millisecond, so every rewrite changes the text.
    EXPECT_GE(changes, 3);
    EXPECT_LE(changes, 1 + watched.elapsed() / 100);
}

// A stopped analysis changes nothing: the graph shown before comes back, and so does what
// Analyze Again reads.
TEST_F(LiveAnalysisTest, EscapeStopsTheWalkAndBringsBackTheGraphShownBefore) {
    AnalyseAndDraw(m_first);

    AnalyseWhileHeld(m_second.Root(), [&] {
        ASSERT_TRUE(WaitForMessage(kHeldProgress));
        QTest::keyClick(m_frame->m_wndPanel, Qt::Key_Escape);
        ProcessEventsUntil([&] { return m_walkSawStop.load(); }, 2000);
    });

    EXPECT_TRUE(m_walkSawStop);
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("Analysis stopped."));
    EXPECT_EQ(theStampStore.GetFolder(), m_first.Root());
    EXPECT_EQ(m_frame->m_wndPanel->m_plot.Histograms().m_dayBins[9 * 60], 1);
    EXPECT_TRUE(ProcessEventsUntil([&] { return InkOnScreen(*m_frame->m_wndPanel) > 300; }));
    m_frame->CommandAction(ID_FILE_ANALYZEAGAIN)->trigger();
    EXPECT_EQ(theStampStore.GetFolder(), m_first.Root());
}

// Closing the window or pressing Ctrl+Q during a walk stops it and ends the program at once.
TEST_F(LiveAnalysisTest, ClosingOrQuittingStopsTheWalkAndEndsTheProgramWithinASecond) {
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Ctrl+Q" : "close");
        QElapsedTimer sinceClose;
        bool closedDuringWalk = false;
        m_release = false;
        m_walkSawStop = false;
        m_frame->show();
        // The analysis runs from the program's own event loop, which closing the window ends.
        QTimer::singleShot(0, m_frame, [&] { Analyse(m_first.Root()); });
        QTimer::singleShot(0, m_frame, [&] {
            ProcessEventsUntil([&] { return m_frame->MessageText() == kHeldProgress; });
            closedDuringWalk = m_frame->IsAnalysing();
            sinceClose.start();
            if (byKey)
                QTest::keyClick(m_frame->m_wndPanel, Qt::Key_Q, Qt::ControlModifier);
            else
                m_frame->close();
        });
        QTimer hang; // ends the test if the program does not end
        hang.setSingleShot(true);
        QObject::connect(&hang, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        hang.start(5000);
        EXPECT_EQ(QApplication::exec(), 0);

        EXPECT_TRUE(closedDuringWalk);
        EXPECT_LT(sinceClose.elapsed(), 1000);
        EXPECT_TRUE(m_walkSawStop);
        EXPECT_FALSE(m_frame->isVisible());
        EXPECT_FALSE(m_frame->IsAnalysing());
        EXPECT_EQ(theStampStore.m_nFiles, 0);
    }
}

TEST_F(LiveAnalysisTest, RunningOutOfMemoryEmptiesTheGraphSaysSoAndTheNextAnalysisWorks) {
    AnalyseAndDraw(m_first);

    // Memory runs out part way through the walk, as the store grows.
    const auto realWalk = m_frame->m_runner.m_load;
    m_frame->m_runner.m_load = [](const AnalysisSource& what, CStampStore& store, WalkControl& control) {
        CMemoryDirectorySource source;
        for (int i = 0; i < 100; ++i)
            source.AddFile(CMemoryDirectorySource::kRoot, "f" + std::to_string(i), 1591000000 + i);
        source.RunOutOfMemoryAfter(50);
        return LoadSource(what, store, source, kDefaultJobs, &control);
    };
    Analyse("/big");
    m_frame->m_runner.m_load = realWalk;
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("Not enough memory to analyze /big."));
    EXPECT_EQ(theStampStore.m_nFiles, 0);
    EXPECT_EQ(theStampStore.GetSize(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::qWait(50);
    EXPECT_EQ(InkOnScreen(*m_frame->m_wndPanel), 0);

    AnalyseAndDraw(m_second);
    EXPECT_EQ(theStampStore.m_nFiles, 1);
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("For Help, press F1"));
}
