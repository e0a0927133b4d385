// A date range in the window: what it counts, where it is named, and how it is left.
#include "app_fixture.h"
#include "command_ids.h"
#include "files_window.h"
#include "graph_panel.h"
#include "main_frame.h"
#include "stamp_store.h"
#include "test_tree.h"
#include "time_zone.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

namespace {

class DateRangeWindowTest : public OpenWindowTest {
protected:
    std::vector<std::int32_t> DayBins() const {
        const auto bins = m_frame->m_wndPanel->m_plot.Histograms().m_dayBins.span();
        return {bins.begin(), bins.end()};
    }
};

TEST_F(DateRangeWindowTest, ARangeCountsOnlyItsFilesUntilAllDatesOrEscape) {
    const CScopedTimeZone zone("Europe/Berlin");
    CTestTree tree;
    for (int i = 0; i < 6; ++i)
        tree.AddFile("march/m" + std::to_string(i), LocalTime(2024, 3, 4 + i, 10, 30));
    for (int i = 0; i < 4; ++i)
        tree.AddFile("feb/f" + std::to_string(i), LocalTime(2024, 2, 5 + i, 10, 31));
    Analyse(tree.Root());
    CPlotWnd& plot = m_frame->m_wndPanel->m_plot;
    const std::vector<std::int32_t> allBins = DayBins();
    const QString allTitle = plot.TitleText();
    auto* pane = m_frame->m_wndStatusBar->findChild<QLabel*>(QStringLiteral("DateRangePane"));
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(m_frame->CommandAction(ID_VIEW_ALLDATES)->isEnabled());

    // Typed in View > Date Range...: March alone.
    const DateRange march{LocalTime(2024, 3, 1), LocalTime(2024, 4, 1)};
    m_frame->m_dialogs.askDateRange = [&](QWidget*, const QString&, const QString&, const DateRange&) {
        return std::optional<DateRange>(march);
    };
    m_frame->CommandAction(ID_VIEW_DATERANGE)->trigger();
    EXPECT_EQ(plot.TitleText(),
              QString::fromStdString("6 files in " + tree.Root() + ", 2024-03-01 to 2024-03-31"));
    EXPECT_EQ(pane->text(), "2024-03-01 to 2024-03-31");
    EXPECT_FALSE(pane->isHidden());
    plot.SetCursorBin(630); // 10:30
    EXPECT_EQ(plot.CursorReadout(), "10:30 AM - 6 file(s).");
    m_frame->ShowFiles(631);
    ASSERT_NE(m_frame->FilesWindow()->ShownPoint(), nullptr);
    EXPECT_EQ(m_frame->FilesWindow()->ShownPoint()->records.size(), 6u)
        << "February's 10:31 files are left out";
    m_frame->FilesWindow()->close();

    // Compared with the month before, as offered; both counts in the readout and the pane.
    DateRange offered;
    m_frame->m_dialogs.askDateRange = [&](QWidget*, const QString&, const QString&,
                                          const DateRange& initial) {
        offered = initial;
        return std::optional<DateRange>(DateRange{LocalTime(2024, 2, 1), LocalTime(2024, 3, 1)});
    };
    m_frame->CommandAction(ID_VIEW_COMPARE)->trigger();
    EXPECT_EQ(offered, PrecedingRange(march));
    EXPECT_EQ(plot.CursorReadout(), "10:30 AM - 6 file(s), against 0 file(s) in 2024-02-01 to 2024-02-29.");
    EXPECT_EQ(pane->text(), "2024-03-01 to 2024-03-31 against 2024-02-01 to 2024-02-29");
    EXPECT_EQ(plot.ComparedHistograms().m_dayBins[631], 4);

    // Escape gives back exactly what was counted before.
    m_frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame));
    QTest::keyClick(&plot, Qt::Key_Escape);
    EXPECT_EQ(DayBins(), allBins);
    EXPECT_EQ(plot.TitleText(), allTitle);
    EXPECT_TRUE(pane->isHidden());
    EXPECT_FALSE(plot.ComparedRange());

    // A range with nothing in it says so; All Dates clears it too.
    m_frame->SetDateRange(DateRange{LocalTime(2020, 1, 1), LocalTime(2020, 2, 1)});
    EXPECT_EQ(m_frame->MessageText(), "No files were written in 2020-01-01 to 2020-01-31.");
    m_frame->CommandAction(ID_VIEW_ALLDATES)->trigger();
    EXPECT_EQ(DayBins(), allBins);

    // Keep as Rule: the range becomes the Leave Out range and the folder is analysed again.
    m_frame->SetDateRange(march);
    m_frame->m_dialogs.askYesNo = [](QWidget*, const QString&) { return true; };
    m_frame->CommandAction(ID_VIEW_KEEPRANGE)->trigger();
    EXPECT_EQ(m_frame->m_leaveOut.since, march.since);
    EXPECT_EQ(m_frame->m_leaveOut.until, march.until);
    EXPECT_EQ(theStampStore.m_nFiles, 6);
    EXPECT_FALSE(plot.ChosenRange());
    m_frame->ApplyLeaveOutRules(EntryFilter()); // the rules are remembered: leave none for the next tests
}

} // namespace
