#include "date_range_controller.h"

#include "command_ids.h"
#include "main_frame.h"
#include "plot_wnd.h"
#include "stamp_store.h"
#include "window_text.h"

#include <QAction>
#include <QLabel>
#include <QStatusBar>
#include <algorithm>

CDateRangeController::CDateRangeController(CMainFrame& frame, CPlotWnd& plot, QStatusBar& statusBar)
    : QObject(&frame), m_frame(frame), m_plot(plot), m_pane(new QLabel(&statusBar)) {
    m_pane->setObjectName(QStringLiteral("DateRangePane"));
    m_pane->setAccessibleName(QStringLiteral("Date range"));
    m_pane->setToolTip(QStringLiteral("The graph counts only the files written in this date range; "
                                      "View > All Dates counts all of them again."));
    statusBar.insertPermanentWidget(0, m_pane);
    m_pane->hide();
}

void CDateRangeController::SetChosenRange(std::optional<DateRange> range) {
    SetRanges(range, m_plot.ComparedRange());
}

void CDateRangeController::SetRanges(std::optional<DateRange> chosen, std::optional<DateRange> compared,
                                     const QString& notice) {
    m_plot.SetDateRanges(chosen, compared);
    m_pane->setText(PaneText());
    m_pane->setVisible(chosen.has_value());
    // A range that holds nothing has no curve: the status bar says why.
    const RecordKind kind = theStampStore.Kind();
    if (chosen && m_plot.ChosenRecords() == 0)
        m_frame.ShowReadout(TextForWindow(NothingWrittenIn(*chosen, kind)));
    else if (m_plot.ComparedRange() && m_plot.ComparedRecords() == 0)
        m_frame.ShowReadout(TextForWindow(NothingWrittenIn(*m_plot.ComparedRange(), kind)));
    else if (!notice.isEmpty())
        m_frame.ShowReadout(notice);
    UpdateCommands();
}

QString CDateRangeController::PaneText() const {
    const std::optional<DateRange>& chosen = m_plot.ChosenRange();
    if (!chosen)
        return {};
    std::string text = DateRangeName(*chosen);
    if (const std::optional<DateRange>& compared = m_plot.ComparedRange())
        text += " against " + DateRangeName(*compared);
    return TextForWindow(text);
}

void CDateRangeController::OnAllDates() {
    SetRanges(std::nullopt, std::nullopt);
}

void CDateRangeController::UpdateCommands() {
    const bool ranged = m_plot.ChosenRange().has_value();
    const bool idle = !m_frame.IsAnalysing();
    const bool analysed = theStampStore.GetSize() > 0;
    for (const int id : {ID_VIEW_ALLDATES, ID_VIEW_KEEPRANGE})
        m_frame.CommandAction(id)->setEnabled(idle && ranged);
    for (const int id : {ID_VIEW_DATERANGE, ID_VIEW_COMPARE})
        m_frame.CommandAction(id)->setEnabled(idle && analysed);
}

std::optional<DateRange> CDateRangeController::LastYear() const {
    const std::span<const FileStamp> stamps = theStampStore.span();
    if (stamps.empty())
        return std::nullopt;
    return YearEndingOnDayOf(std::ranges::max(stamps, {}, &FileStamp::m_lastWrite).m_lastWrite);
}

void CDateRangeController::OnDateRange() {
    const std::optional<DateRange> initial = m_plot.ChosenRange() ? m_plot.ChosenRange() : LastYear();
    if (!initial)
        return;
    if (const std::optional<DateRange> range =
            m_frame.m_dialogs.askDateRange(&m_frame, QStringLiteral("Date Range"),
                                           QStringLiteral("Count only the files written:"), *initial))
        SetChosenRange(range);
}

void CDateRangeController::OnCompare() {
    std::optional<DateRange> chosen = m_plot.ChosenRange();
    QString notice;
    if (!chosen) {
        chosen = LastYear();
        if (!chosen)
            return;
        notice = TextForWindow("No date range was chosen: the year up to the newest record, " +
                               DateRangeName(*chosen) + ", is compared.");
    }
    const DateRange offered = m_plot.ComparedRange().value_or(PrecedingRange(*chosen));
    if (const std::optional<DateRange> compared = m_frame.m_dialogs.askDateRange(
            &m_frame, QStringLiteral("Compare With"),
            TextForWindow("Compare the files written in " + DateRangeName(*chosen) + " with those written:"),
            offered))
        SetRanges(chosen, compared, notice);
}

void CDateRangeController::OnKeepAsRule() {
    const std::optional<DateRange> chosen = m_plot.ChosenRange();
    if (!chosen)
        return;
    EntryFilter rules = m_frame.m_leaveOut;
    rules.since = chosen->since;
    rules.until = chosen->until;
    // The walk now leaves out what the range did: the graph counts all it reads again.
    SetRanges(std::nullopt, std::nullopt);
    m_frame.ApplyLeaveOutRules(rules);
}
