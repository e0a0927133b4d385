#pragma once

#include "date_range.h"

#include <QObject>
#include <optional>

class CMainFrame;
class CPlotWnd;
class QLabel;
class QStatusBar;

// The window's date ranges: the one the graph counts (chosen on the calendar or typed), the one
// it is compared with, the status-bar pane naming them and the View menu's commands on them.
class CDateRangeController : public QObject {
    Q_OBJECT

public:
    CDateRangeController(CMainFrame& frame, CPlotWnd& plot, QStatusBar& statusBar);

    // Counts only what was written in the range (everything without one); a comparison stays.
    void SetChosenRange(std::optional<DateRange> range);

    // View > Date Range..., All Dates, Compare With... and Keep as Rule.
    void OnDateRange();
    void OnAllDates();
    void OnCompare();
    void OnKeepAsRule();
    // Enables those commands for what is shown.
    void UpdateCommands();

    // The pane's text: the chosen range's name, and the compared one's; empty without a range.
    QString PaneText() const;

private:
    void SetRanges(std::optional<DateRange> chosen, std::optional<DateRange> compared,
                   const QString& notice = {});
    // A year up to the day of the newest record, for when no range is chosen yet.
    std::optional<DateRange> LastYear() const;

    CMainFrame& m_frame;
    CPlotWnd& m_plot;
    QLabel* m_pane;
};
