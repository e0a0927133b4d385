// The main window: menu, view commands and buttons, trackbar, status bar, analyses and help.
#include "analysis_period.h"
#include "app_fixture.h"
#include "averaging_bar.h"
#include "command_ids.h"
#include "cursor_readout.h"
#include "graph_panel.h"
#include "stamp_store.h"
#include "test_locale.h"
#include "view_bar.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>
#include <functional>
#include <set>
#include <tuple>

namespace {

// A push button is drawn sunken while it is held down or checked.
bool LooksPressed(const QPushButton& button) {
    return button.isDown() || button.isChecked();
}

// Each menu as "Title: item|item|-|item", separators as "-".
QStringList MenuOutline(QMenuBar& bar) {
    QStringList outline;
    for (QAction* top : bar.actions()) {
        QStringList items;
        for (QAction* item : top->menu()->actions())
            items << (item->isSeparator() ? QStringLiteral("-") : item->text());
        outline << top->text() + ": " + items.join('|');
    }
    return outline;
}

} // namespace

class MainFrameTest : public OpenWindowTest {
protected:
    // The view whose menu item is checked and the view whose button is down; -1 if not exactly one.
    int CheckedView() const {
        return OnlyView(
            [this](int id, const QPushButton&) { return m_frame->CommandAction(id)->isChecked(); });
    }
    int PressedView() const {
        return OnlyView([](int, const QPushButton& button) { return LooksPressed(button); });
    }
    int OnlyView(const std::function<bool(int id, const QPushButton& button)>& shows) const {
        const CViewBar& bar = *m_frame->m_wndViewBar;
        const std::tuple<int, const QPushButton*, int> views[] = {
            {ID_VIEW_DAY, &bar.m_btnDay, VIEW_DAY},
            {ID_VIEW_WEEK, &bar.m_btnWeek, VIEW_WEEK},
            {ID_VIEW_MONTH, &bar.m_btnMonth, VIEW_MONTH},
            {ID_VIEW_YEAR, &bar.m_btnYear, VIEW_YEAR}};
        int found = -1;
        for (auto [id, button, view] : views)
            if (shows(id, *button))
                found = found == -1 ? view : -2;
        return found < 0 ? -1 : found;
    }
    // Waits for the averaging bar's next paint to write the label, and returns it.
    QString LabelAfterRepaint(const QString& expected) {
        ProcessEventsUntil([&] { return m_frame->m_wndAvgBar->m_label.text() == expected; }, 2000);
        return m_frame->m_wndAvgBar->m_label.text();
    }
};

// The view's menu item, its button and the averaging label change together, whichever is used;
// choosing the current view again keeps its check (a checkable item unchecks itself when
// triggered) and its button, and a view button gives the focus to the graph.
TEST_F(MainFrameTest, ViewMenuAndViewButtonsStayInStep) {
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    CViewBar& bar = *m_frame->m_wndViewBar;
    struct Step {
        int command;
        QPushButton* button;
        int view;
        const char* label;
    };
    const Step steps[] = {
        {ID_VIEW_DAY, nullptr, VIEW_DAY, "100 minutes"},  {0, &bar.m_btnDay, VIEW_DAY, "100 minutes"},
        {ID_VIEW_WEEK, nullptr, VIEW_WEEK, "10.0 hours"}, {0, &bar.m_btnMonth, VIEW_MONTH, "50.0 hours"},
        {ID_VIEW_YEAR, nullptr, VIEW_YEAR, "25.0 days"},  {0, &bar.m_btnDay, VIEW_DAY, "100 minutes"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.button ? step.button->text().toStdString() : std::to_string(step.command));
        if (step.button)
            QTest::mouseClick(step.button, Qt::LeftButton);
        else
            m_frame->CommandAction(step.command)->trigger();
        EXPECT_EQ(m_frame->m_viewMode, step.view);
        EXPECT_EQ(CheckedView(), step.view);
        EXPECT_EQ(PressedView(), step.view);
        EXPECT_EQ(LabelAfterRepaint(step.label), QString::fromLatin1(step.label));
        EXPECT_TRUE(!step.button || m_frame->m_wndPanel->hasFocus());
    }
    EXPECT_EQ(m_frame->m_wndAvgBar->m_slider.value(), 50);
}

// Counting active minutes recounts the store: a minute holding two files weighs one, the title
// says how many minutes there are beside the files, and the readout counts minutes.
TEST_F(MainFrameTest, CountActiveMinutesRecountsTheStoreAndSaysMinutes) {
    CTestTree tree;
    tree.AddFile("a", LocalTime(2023, 5, 2, 9, 0, 10));
    tree.AddFile("b", LocalTime(2023, 5, 2, 9, 0, 40));
    tree.AddFile("c", LocalTime(2023, 5, 3, 14, 0, 0));
    Analyse(tree.Root());
    QAction* files = m_frame->CommandAction(ID_VIEW_COUNT_FILES);
    QAction* minutes = m_frame->CommandAction(ID_VIEW_COUNT_MINUTES);
    CPlotWnd& plot = m_frame->m_wndPanel->m_plot;
    const QString root = QString::fromStdString(tree.Root());
    plot.m_xOffset = 1440 - 9 * 60; // 09:00 at the left edge
    ASSERT_EQ(BinUnderPointer(0, plot.width(), 1440, plot.m_xOffset), 9 * 60);
    const auto readout = [&] {
        QTest::mouseMove(&plot, QPoint(plot.width() / 2, plot.height() / 2)); // away, then back
        QTest::mouseMove(&plot, QPoint(0, plot.height() / 2));
        return m_frame->MessageText();
    };
    struct Step {
        QAction* item;
        int nineOClock;
        QString title;
        QString readout;
    };
    const Step steps[] = {
        {nullptr, 2, "3 files in " + root, "09:00 AM - 2 file(s)."},
        {minutes, 1, "3 files in " + root + " (2 active minutes)", "09:00 AM - 1 minute(s)."},
        {minutes, 1, "3 files in " + root + " (2 active minutes)", "09:00 AM - 1 minute(s)."},
        {files, 2, "3 files in " + root, "09:00 AM - 2 file(s)."},
    };
    for (const Step& step : steps) {
        if (step.item)
            step.item->trigger();
        EXPECT_EQ(files->isChecked(), step.nineOClock == 2);
        EXPECT_EQ(minutes->isChecked(), step.nineOClock == 1);
        EXPECT_EQ(plot.Histograms().m_dayBins[9 * 60], step.nineOClock);
        EXPECT_EQ(plot.TitleText(), step.title);
        EXPECT_EQ(readout(), step.readout);
    }
}

TEST_F(MainFrameTest, OnlyTheCurrentViewsButtonLooksPressedWhateverTheKeysAndMouseDo) {
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    CViewBar& bar = *m_frame->m_wndViewBar;
    {
        // What the style draws for a checked button is what it draws for one held down.
        QPushButton plain(QStringLiteral("Week")), checked(QStringLiteral("Week")),
            down(QStringLiteral("Week"));
        checked.setCheckable(true);
        checked.setChecked(true);
        down.setDown(true);
        EXPECT_EQ(checked.grab().toImage(), down.grab().toImage());
        EXPECT_NE(plain.grab().toImage(), down.grab().toImage());
    }
    // Each step below starts from a click on Week.
    const auto selectWeek = [&] {
        QTest::mouseClick(&bar.m_btnWeek, Qt::LeftButton);
        ASSERT_EQ(PressedView(), VIEW_WEEK);
    };
    selectWeek();

    // The focus walks onto the current view's button and off it again, both ways round.
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        SCOPED_TRACE(key == Qt::Key_Tab ? "Tab" : "Shift+Tab");
        bool reached = false;
        for (int presses = 0; presses < 20 && !reached; ++presses) {
            QTest::keyClick(QApplication::focusWidget(), key);
            reached = QApplication::focusWidget() == &bar.m_btnWeek;
            EXPECT_EQ(PressedView(), VIEW_WEEK);
        }
        ASSERT_TRUE(reached);
        QTest::keyClick(&bar.m_btnWeek, key);
        EXPECT_NE(QApplication::focusWidget(), &bar.m_btnWeek);
        EXPECT_EQ(PressedView(), VIEW_WEEK);
    }

    // Shift+F1 enters What's This mode with its prompt; a click in it explains the button and
    // changes nothing.
    selectWeek();
    QTest::keyClick(m_frame, Qt::Key_F1, Qt::ShiftModifier);
    ASSERT_TRUE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("Select an object on which to get Help"));
    QTest::mouseClick(&bar.m_btnWeek, Qt::LeftButton);
    QWhatsThis::hideText();
    QApplication::processEvents();
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("For Help, press F1"));
    EXPECT_EQ(PressedView(), VIEW_WEEK);
    EXPECT_EQ(m_frame->m_viewMode, VIEW_WEEK);

    // Pressing the current button and letting go beside it is no click.
    selectWeek();
    const QPoint inside = bar.m_btnWeek.rect().center();
    const QPoint beside = inside + QPoint(0, 3 * bar.m_btnWeek.height());
    QTest::mousePress(&bar.m_btnWeek, Qt::LeftButton, {}, inside);
    QTest::mouseMove(&bar.m_btnWeek, beside);
    QTest::mouseRelease(&bar.m_btnWeek, Qt::LeftButton, {}, beside);
    EXPECT_EQ(PressedView(), VIEW_WEEK);
    // The same on another button leaves the view and its button as they were.
    QTest::mousePress(&bar.m_btnYear, Qt::LeftButton, {}, inside);
    QTest::mouseMove(&bar.m_btnYear, beside);
    QTest::mouseRelease(&bar.m_btnYear, Qt::LeftButton, {}, beside);
    EXPECT_EQ(PressedView(), VIEW_WEEK);
    EXPECT_EQ(m_frame->m_viewMode, VIEW_WEEK);
}

// The three bands sit in the top area, toolbar, view bar and averaging bar from left to right, and
// stay as they are: none floats, no menu hides one, and a narrow window wraps them onto more rows
// instead of cutting one behind an overflow arrow (the About button included).
TEST_F(MainFrameTest, BandsSitAtTheTopWrapOntoRowsAndNoMenuHidesThem) {
    const QList<QToolBar*> bands = m_frame->findChildren<QToolBar*>();
    ASSERT_EQ(bands.size(), 3);
    EXPECT_EQ(m_frame->m_wndToolBar->actions().size(), 2);
    EXPECT_EQ(m_frame->m_wndToolBar->iconSize(), QSize(16, 16));
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_frame->m_wndAvgBar->isVisible(); }));
    const auto place = [&](const QWidget* band) { return std::pair(band->y(), band->x()); };
    EXPECT_LT(place(m_frame->m_wndToolBar), place(m_frame->m_wndViewBar->parentWidget()));
    EXPECT_LT(place(m_frame->m_wndViewBar->parentWidget()), place(m_frame->m_wndAvgBar->parentWidget()));
    EXPECT_TRUE(m_frame->centralWidget()->isAncestorOf(m_frame->m_wndPanel));
    EXPECT_TRUE(m_frame->m_wndPanel->isVisible());
    for (QToolBar* band : bands) {
        EXPECT_EQ(m_frame->toolBarArea(band), Qt::TopToolBarArea);
        EXPECT_EQ(band->allowedAreas(), Qt::TopToolBarArea);
        EXPECT_FALSE(band->isFloatable());
        EXPECT_TRUE(band->isMovable());
        // The window system's context-menu request, as a right click on the band makes it. A
        // menu would run modally: note it and close it.
        bool menuShown = false;
        QTimer::singleShot(200, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuShown = true;
                popup->close();
            }
        });
        const QPoint at(3, band->height() / 2);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, band->mapToGlobal(at));
        QApplication::sendEvent(band, &request);
        QTest::qWait(300);
        EXPECT_FALSE(menuShown) << band->objectName().toStdString();
    }

    QWidget* about = m_frame->m_wndToolBar->widgetForAction(m_frame->CommandAction(ID_APP_ABOUT));
    ASSERT_NE(about, nullptr);
    m_frame->resize(40, 500);
    QApplication::processEvents();
    int widest = 0;
    for (const QToolBar* band : bands)
        widest = std::max(widest, band->sizeHint().width());
    EXPECT_GE(m_frame->width(), widest) << "the narrowest window still holds the widest band";

    std::set<int> rowCounts;
    for (int width = m_frame->minimumWidth(); width <= 1300; width += 7) {
        SCOPED_TRACE(width);
        m_frame->resize(width, 500);
        QApplication::processEvents();
        std::set<int> rows;
        for (const QToolBar* band : bands) {
            rows.insert(band->y());
            EXPECT_GE(band->width(), band->sizeHint().width())
                << band->objectName().toStdString() << " is cut";
            const auto* overflow = band->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
            EXPECT_TRUE(overflow == nullptr || !overflow->isVisible()) << band->objectName().toStdString();
            EXPECT_LE(band->geometry().right(), m_frame->width() - 1);
        }
        EXPECT_TRUE(about->isVisible());
        rowCounts.insert(static_cast<int>(rows.size()));
        if (HasFailure())
            break;
    }
    EXPECT_TRUE(rowCounts.count(1) == 1 && rowCounts.count(2) == 1) << "one row when wide, more when narrow";
}

TEST_F(MainFrameTest, FocusGivenToTheWindowGoesToTheGraph) {
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    m_frame->m_wndAvgBar->m_slider.setFocus();
    ASSERT_TRUE(m_frame->m_wndAvgBar->m_slider.hasFocus());
    m_frame->setFocus();
    EXPECT_TRUE(m_frame->m_wndPanel->hasFocus());
}

TEST_F(MainFrameTest, TrackbarEndsAndStepsRewriteTheLabel) {
    // The ends are 0 and 100: the slider takes both.
    CAveragingBar& bar = *m_frame->m_wndAvgBar;
    bar.m_slider.setValue(0);
    EXPECT_EQ(bar.m_nAverage, 0);
    EXPECT_EQ(bar.m_label.text(), QStringLiteral("1 minutes"));

    bar.m_slider.setValue(100);
    EXPECT_EQ(bar.m_nAverage, 100);
    EXPECT_EQ(bar.m_label.text(), QStringLiteral("200 minutes"));

    m_frame->CommandAction(ID_VIEW_YEAR)->trigger();
    EXPECT_EQ(LabelAfterRepaint("50.0 days"), QStringLiteral("50.0 days"));
    EXPECT_EQ(bar.m_slider.value(), 100);

    bar.m_slider.setValue(50);
    QTest::keyClick(&bar.m_slider, Qt::Key_Left);
    EXPECT_EQ(bar.m_nAverage, 49);
    QTest::keyClick(&bar.m_slider, Qt::Key_PageDown);
    EXPECT_EQ(bar.m_nAverage, 29);
    EXPECT_EQ(bar.m_label.text(), QStringLiteral("14.5 days"));
}

// Its prompt is the command's, shown as every command's is (below).
TEST_F(MainFrameTest, FirstToolbarButtonHasItsToolTipAndIcon) {
    QAction* newFolder = m_frame->CommandAction(ID_FILE_NEWFOLDER);
    ASSERT_EQ(m_frame->m_wndToolBar->actions().value(0), newFolder);
    auto* button = qobject_cast<QToolButton*>(m_frame->m_wndToolBar->widgetForAction(newFolder));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->toolTip(), QStringLiteral("Analyze new folder"));
    EXPECT_FALSE(button->icon().isNull());
}

// The menus with their items, mnemonics and separators; every command of the menus and the
// toolbar puts a prompt of its own in the status bar.
TEST_F(MainFrameTest, MenusHoldTheirItemsAndEveryCommandShowsItsPrompt) {
    const QStringList expected = {
        "&File: &New folder...|&Analyze Again|&Recent|&Leave Out...|Analyze &Git History...|-|&Open Time "
        "List...|"
        "&Save Time List...|-|Save &Picture...|-|E&xit",
        "&View: &Day|&Week|&Month|&Year|Da&tes|-|Count &Files|Count &Active Minutes|-|Show Files at &Cursor|"
        "&Bursts...|-|Date &Range...|A&ll Dates|C&ompare With...|&Keep as Rule|-|&Status Bar",
        "&Help: &Help Topics|-|&About Busyscope...",
    };
    EXPECT_EQ(MenuOutline(*m_frame->menuBar()), expected);
    QList<QAction*> commands = m_frame->m_wndToolBar->actions();
    for (QAction* menu : m_frame->menuBar()->actions())
        commands += menu->menu()->actions();
    int shown = 0;
    for (QAction* command : commands) {
        if (command->isSeparator() || command->menu() != nullptr)
            continue; // the Recent menu holds sources, not commands
        EXPECT_FALSE(command->statusTip().isEmpty()) << command->text().toStdString();
        command->showStatusText(m_frame);
        EXPECT_EQ(m_frame->MessageText(), command->statusTip()) << command->text().toStdString();
        ++shown;
    }
    EXPECT_GT(shown, 15);
}

TEST_F(MainFrameTest, ReadoutStaysUntilAPromptReplacesIt) {
    m_frame->ShowReadout(QStringLiteral("08:30 AM - 2 file(s)."));
    QCoreApplication::processEvents();
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("08:30 AM - 2 file(s)."));

    QStatusTipEvent prompt(QStringLiteral("View files by time of day"));
    QCoreApplication::sendEvent(m_frame, &prompt);
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("View files by time of day"));
    QStatusTipEvent cleared{QString()};
    QCoreApplication::sendEvent(m_frame, &cleared);
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("For Help, press F1"));
}

TEST_F(MainFrameTest, StatusBarItemHidesAndShowsTheBarAndTheGraphFollows) {
    QAction* item = m_frame->CommandAction(ID_VIEW_STATUS_BAR);
    ASSERT_TRUE(ProcessEventsUntil([&] { return m_frame->m_wndStatusBar->isVisible(); }));
    const int panelHeight = m_frame->m_wndPanel->height();

    item->trigger();
    EXPECT_FALSE(item->isChecked());
    EXPECT_TRUE(m_frame->m_wndStatusBar->isHidden());
    EXPECT_TRUE(ProcessEventsUntil([&] { return m_frame->m_wndPanel->height() > panelHeight; }));

    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_FALSE(m_frame->m_wndStatusBar->isHidden());
    EXPECT_TRUE(ProcessEventsUntil([&] { return m_frame->m_wndPanel->height() == panelHeight; }));
}

TEST_F(MainFrameTest, CancelledChooserChangesNothing) {
    CTestTree tree;
    tree.AddFile("f", LocalTime(2020, 6, 1, 9, 0));
    Analyse(tree.Root());
    ASSERT_EQ(theStampStore.m_nFiles, 1);
    m_frame->ShowReadout(QStringLiteral("09:00 AM - 1 file(s)."));

    m_chooserAnswer.clear();
    bool waitCursorSeen = false;
    auto answer = m_frame->m_dialogs.browseForFolder;
    m_frame->m_dialogs.browseForFolder = [&](QWidget* owner, const QString& prompt) {
        waitCursorSeen = QApplication::overrideCursor() != nullptr;
        return answer(owner, prompt);
    };
    m_frame->CommandAction(ID_FILE_NEWFOLDER)->trigger();

    EXPECT_EQ(m_chooserPrompts.size(), 2);
    EXPECT_FALSE(waitCursorSeen);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(theStampStore.m_nFiles, 1);
    EXPECT_EQ(QString::fromStdString(theStampStore.GetFolder()), QString::fromStdString(tree.Root()));
    EXPECT_EQ(m_frame->m_wndPanel->m_plot.Histograms().m_dayBins[9 * 60], 1);
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("09:00 AM - 1 file(s)."));
}

TEST_F(MainFrameTest, SecondAnalysisKeepsViewRotationAndScale) {
    CTestTree first;
    first.AddFile("a", LocalTime(2020, 6, 1, 9, 0));
    CTestTree second;
    second.AddFile("b", LocalTime(2020, 6, 2, 14, 0));
    second.AddFile("c", LocalTime(2020, 6, 3, 14, 0));

    Analyse(first.Root());
    m_frame->CommandAction(ID_VIEW_WEEK)->trigger();
    m_frame->m_wndAvgBar->m_slider.setValue(10);
    CPlotWnd& plot = m_frame->m_wndPanel->m_plot;
    plot.m_xOffset = 123.5;
    plot.m_yScale = 2.25;

    Analyse(second.Root());

    EXPECT_EQ(theStampStore.m_nFiles, 2);
    EXPECT_EQ(QString::fromStdString(theStampStore.GetFolder()), QString::fromStdString(second.Root()));
    EXPECT_EQ(plot.Histograms().m_dayBins[9 * 60], 0);
    EXPECT_EQ(plot.Histograms().m_dayBins[14 * 60], 2);
    EXPECT_EQ(m_frame->m_viewMode, VIEW_WEEK);
    EXPECT_EQ(CheckedView(), VIEW_WEEK);
    EXPECT_EQ(PressedView(), VIEW_WEEK);
    EXPECT_EQ(m_frame->m_wndAvgBar->m_nAverage, 10);
    EXPECT_DOUBLE_EQ(plot.m_xOffset, 123.5);
    EXPECT_DOUBLE_EQ(plot.m_yScale, 2.25);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Qt sets the process locale from the environment; the averaging label, the readout, the
// density numbers and the title keep the "C" locale's formats whatever it is.
TEST_F(MainFrameTest, TextsKeepTheirFixedFormatsInAnyLocale) {
    CScopedTimeZone utc("UTC");
    CGraphPanel& panel = *m_frame->m_wndPanel;
    // Two files in the minute under a column of the morning, on a Sunday.
    const int column = panel.m_plot.width() * 3 / 8;
    const int minute = BinUnderPointer(column, panel.m_plot.width(), 1440, panel.m_plot.m_xOffset);
    ASSERT_GE(minute, 60);
    ASSERT_LT(minute, 720);
    CTestTree tree;
    tree.AddFile("a", LocalTime(2020, 6, 7, 0, minute));
    tree.AddFile("b", LocalTime(2020, 6, 7, 0, minute, 40));
    Analyse(tree.Root());
    ASSERT_EQ(theStampStore.m_nFiles, 2);
    CAveragingBar& bar = *m_frame->m_wndAvgBar;

    struct Texts {
        QString yearLabel, weekLabel, dayReadout, weekReadout;
        QImage graph;
    };
    const auto texts = [&] {
        Texts seen;
        m_frame->CommandAction(ID_VIEW_YEAR)->trigger();
        bar.m_slider.setValue(0);
        seen.yearLabel = LabelAfterRepaint(QStringLiteral("0.2 days"));
        m_frame->CommandAction(ID_VIEW_WEEK)->trigger();
        bar.m_slider.setValue(50);
        seen.weekLabel = LabelAfterRepaint(QStringLiteral("10.0 hours"));
        QTest::mouseMove(&panel.m_plot, QPoint(0, 10));
        seen.weekReadout = m_frame->MessageText();
        m_frame->CommandAction(ID_VIEW_DAY)->trigger();
        QTest::mouseMove(&panel.m_plot, QPoint(column, 10));
        seen.dayReadout = m_frame->MessageText();
        seen.graph = panel.grab().toImage();
        return seen;
    };
    const Texts c = texts();
    EXPECT_EQ(c.yearLabel, QStringLiteral("0.2 days"));
    EXPECT_EQ(c.weekLabel, QStringLiteral("10.0 hours"));
    EXPECT_EQ(c.weekReadout, QStringLiteral("Sunday 12:00 AM - 0 file(s)."));
    const QString clock = QStringLiteral("%1:%2 AM - 2 file(s).")
                              .arg(minute / 60 == 0 ? 12 : minute / 60, 2, 10, QLatin1Char('0'))
                              .arg(minute % 60, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(c.dayReadout, clock);

    for (const char* name : kTestLocales) {
        SCOPED_TRACE(name);
        std::string problem;
        const std::string folder = TestLocaleFolder(name, problem);
        if (folder.empty())
            GTEST_SKIP() << problem;
        const CScopedProcessLocale locale(name, folder);
        ASSERT_TRUE(locale.Active());
        const Texts there = texts();
        EXPECT_EQ(there.yearLabel, c.yearLabel);
        EXPECT_EQ(there.weekLabel, c.weekLabel);
        EXPECT_EQ(there.weekReadout, c.weekReadout);
        EXPECT_EQ(there.dayReadout, c.dayReadout);
        EXPECT_TRUE(there.graph == c.graph) << "density numbers or title drawn differently";
    }
}

// F1 and Help Topics open the user guide; without a browser a message says where the guide is, so
// it can be opened by hand.
TEST_F(MainFrameTest, F1AndHelpTopicsOpenTheUserGuideOrSayWhereItIs) {
    QList<QUrl> opened;
    m_frame->m_dialogs.openUrl = [&](const QUrl& url) {
        opened << url;
        return true;
    };
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    QTest::keyClick(m_frame, Qt::Key_F1);
    m_frame->CommandAction(ID_HELP_FINDER)->trigger();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], opened[1]);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith(QStringLiteral("help/index.html")));
    EXPECT_TRUE(QFileInfo(opened[0].toLocalFile()).isFile());

    m_frame->m_dialogs.openUrl = [](const QUrl&) { return false; };
    QStringList shown;
    m_frame->m_dialogs.showMessage = [&](QWidget* owner, const QString& text) {
        EXPECT_EQ(owner, m_frame);
        shown << text;
    };
    m_frame->CommandAction(ID_HELP_FINDER)->trigger();
    EXPECT_TRUE(m_frame->MessageText().startsWith(QStringLiteral("Cannot open ")))
        << m_frame->MessageText().toStdString();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].section(QLatin1Char('\n'), -1), opened[0].toLocalFile()) << shown[0].toStdString();
}

TEST_F(MainFrameTest, ExitClosesTheWindow) {
    m_frame->CommandAction(ID_APP_EXIT)->trigger();
    EXPECT_FALSE(m_frame->isVisible());
}
