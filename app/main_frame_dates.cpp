// The Dates view in the main window: the calendar in place of the graph, and the records of a
// day it asks for.
#include "calendar_panel.h"
#include "command_ids.h"
#include "files_at_point.h"
#include "files_window.h"
#include "graph_panel.h"
#include "main_frame.h"
#include "stamp_store.h"
#include "view_bar.h"

#include <QStackedWidget>

void CMainFrame::CreateDatesView() {
    m_wndCalendar = new CCalendarPanel(theStampStore);
    m_wndCalendar->setWhatsThis(QStringLiteral(
        "The calendar: one cell a day, darker the more files were written on it. Double-click a day, or "
        "press Return, to list its files; drag across days, or hold Shift with the arrow keys, to choose a "
        "range of days, and press Escape to clear it."));
    connect(m_wndCalendar, &CCalendarPanel::ReadoutChanged, this, &CMainFrame::ShowReadout);
    connect(m_wndCalendar, &CCalendarPanel::DayFilesRequested, this,
            [this](qint64 since, qint64 until, const QString& name) {
                ShowFilesWrittenIn({since, until, name.toStdString()});
            });

    connect(m_wndCalendar, &CCalendarPanel::DateRangeChosen, this, [this](qint64 since, qint64 until) {
        m_calendarRange = DateRange{since, until};
        SetDateRange(m_calendarRange);
    });
    connect(m_wndCalendar, &CCalendarPanel::DateRangeCleared, this, [this] {
        m_calendarRange.reset();
        SetDateRange(std::nullopt);
    });

    m_middle = new QStackedWidget(this);
    m_middle->addWidget(m_wndPanel);
    m_middle->addWidget(m_wndCalendar);
    setCentralWidget(m_middle);
}

void CMainFrame::ShowDates() {
    m_datesShown = true;
    m_middle->setCurrentWidget(m_wndCalendar);
    m_wndCalendar->setFocus();
    m_wndViewBar->SyncButtons(m_viewMode, true);
    OnUpdateCommandUI();
}

void CMainFrame::FollowRangeOnCalendar() {
    if (m_calendarRange && m_wndPanel->m_plot.ChosenRange() != m_calendarRange) {
        m_calendarRange.reset();
        m_wndCalendar->ForgetChosenRange();
    }
}
