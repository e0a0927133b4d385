// The Dates view in the main window: reached from the View menu and the view bar, driven with the
// keyboard, listing a day's files, and remembered across runs.
#include "app_fixture.h"
#include "app_settings.h"
#include "calendar_panel.h"
#include "civil_time.h"
#include "command_ids.h"
#include "date_range.h"
#include "files_window.h"
#include "graph_panel.h"
#include "view_bar.h"

#include <QStatusBar>
#include <QTest>

namespace {

using DatesViewTest = OpenWindowTest;

} // namespace

TEST_F(DatesViewTest, KeyboardCursorAndReturnListTheDaysFiles) {
    CScopedTimeZone zone("America/New_York");
    CTestTree tree;
    tree.AddFile("a/monday", LocalTime(2024, 3, 4, 23, 59, 59));
    tree.AddFile("a/tuesday", LocalTime(2024, 3, 5, 0, 0));
    tree.AddFile("b/tuesday2", LocalTime(2024, 3, 5, 18, 30));
    tree.AddFile("b/tuesday3", LocalTime(2024, 3, 5, 23, 59, 59));
    tree.AddFile("c/latest", LocalTime(2024, 3, 12, 8, 0));
    Analyse(tree.Root());

    m_frame->CommandAction(ID_VIEW_DATES)->trigger();
    CCalendarPanel& calendar = *m_frame->m_wndCalendar;
    ASSERT_TRUE(ProcessEventsUntil([&] { return calendar.isVisible(); }));
    EXPECT_EQ(m_frame->focusWidget(), &calendar);
    EXPECT_FALSE(m_frame->m_wndPanel->isVisible()) << "the calendar stands in place of the graph";
    EXPECT_TRUE(m_frame->m_wndViewBar->m_btnDates.isChecked());
    EXPECT_FALSE(m_frame->m_wndViewBar->m_btnDay.isChecked());
    EXPECT_TRUE(m_frame->CommandAction(ID_VIEW_DATES)->isChecked());
    EXPECT_FALSE(m_frame->CommandAction(ID_VIEW_DAY)->isChecked());
    EXPECT_EQ(calendar.CursorDay(), DaysFromCivil(2024, 3, 12)) << "the cursor starts on the latest day";

    // A week back, then a day up: Tuesday the 5th.
    QTest::keyClick(&calendar, Qt::Key_Left);
    QTest::keyClick(&calendar, Qt::Key_Up);
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("Monday 04 March 2024 - 1 file(s)."));
    QTest::keyClick(&calendar, Qt::Key_Down);
    EXPECT_EQ(m_frame->MessageText(), QStringLiteral("Tuesday 05 March 2024 - 3 file(s)."));
    EXPECT_TRUE(
        calendar.accessibleDescription().startsWith(QStringLiteral("Tuesday 05 March 2024 - 3 file(s).")));
    EXPECT_TRUE(calendar.accessibleName().startsWith(QStringLiteral("Dates: 5 files in ")));

    // Shift+Down chooses Tuesday and Wednesday: the graph counts those days alone until All Dates.
    QTest::keyClick(&calendar, Qt::Key_Down, Qt::ShiftModifier);
    const auto chosen = m_frame->m_wndPanel->m_plot.ChosenRange();
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, (DateRange{LocalTime(2024, 3, 5), LocalTime(2024, 3, 7)}));
    EXPECT_EQ(m_frame->m_wndPanel->m_plot.ChosenRecords(), 3);
    m_frame->CommandAction(ID_VIEW_ALLDATES)->trigger();
    EXPECT_FALSE(m_frame->m_wndPanel->m_plot.ChosenRange());
    EXPECT_FALSE(calendar.ChosenRange()) << "the calendar's highlight follows";
    QTest::keyClick(&calendar, Qt::Key_Up);

    QTest::keyClick(&calendar, Qt::Key_Return);
    CFilesWindow* window = m_frame->FilesWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    ASSERT_NE(window->ShownPoint(), nullptr);
    ASSERT_TRUE(window->ShownPoint()->span);
    EXPECT_EQ(window->ShownPoint()->span->name, "Tuesday 05 March 2024");
    EXPECT_EQ(window->ShownPoint()->span->since, LocalTime(2024, 3, 5));
    EXPECT_EQ(window->ShownPoint()->span->until, LocalTime(2024, 3, 6));
    EXPECT_EQ(window->ShownPoint()->records.size(), 3u);
    EXPECT_TRUE(window->HeaderText().startsWith(QStringLiteral("Tuesday 05 March 2024")))
        << window->HeaderText().toStdString();

    // The graph's view comes back with its button; the Dates view is remembered on closing.
    QTest::mouseClick(&m_frame->m_wndViewBar->m_btnWeek, Qt::LeftButton);
    EXPECT_TRUE(m_frame->m_wndPanel->isVisible());
    EXPECT_FALSE(m_frame->DatesShown());
    QTest::mouseClick(&m_frame->m_wndViewBar->m_btnDates, Qt::LeftButton);
    EXPECT_TRUE(m_frame->DatesShown());
    m_frame->close();
    const std::optional<WindowSettings> saved = CAppSettings().Window();
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->dates);
    EXPECT_EQ(saved->view, VIEW_WEEK);
}
