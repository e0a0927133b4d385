#pragma once

#include "calendar_keys.h"
#include "calendar_layout.h"
#include "day_counts.h"
#include "period_histograms.h"

#include <QAbstractScrollArea>
#include <optional>
#include <utility>
#include <vector>

class CStampStore;

// The Dates view: a calendar of the days the store's records were written on, scrolled when its
// years do not fit. The pointer and the keyboard cursor read a day out; a double click or Return
// asks for its records; dragging across days, or Shift with the arrows, chooses a range of days,
// and Escape clears it.
class CCalendarPanel : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CCalendarPanel(const CStampStore& store, QWidget* parent = nullptr);

    // The store has been replaced or refilled: the days are counted again before they are next
    // shown, and the cursor goes to the latest day.
    void StoreChanged();
    void SetCountRule(CountRule rule);

    // The counted days and their layout at the present width.
    const std::vector<DayCount>& Days();
    const CalendarLayout& Layout();

    std::int64_t CursorDay();
    void SetCursorDay(std::int64_t day);
    // The first and the last day chosen, when a range is.
    std::optional<std::pair<std::int64_t, std::int64_t>> ChosenRange() const { return m_range; }

    // Takes the chosen range away, as Escape does, and says so with DateRangeCleared.
    void ClearChosenRange();
    // Takes the range's highlight away without a word: the range was replaced elsewhere.
    void ForgetChosenRange();

    // Asks for the records of the cursor's day, when there are any days.
    void RequestCursorDayFiles();

    // The readout of the cursor's day; empty when nothing is counted.
    QString CursorReadout();

signals:
    void ReadoutChanged(const QString& text);
    // The records of a day are asked for: its span and its name.
    void DayFilesRequested(qint64 since, qint64 until, const QString& name);
    // A range of days has been chosen: local midnight of its first day and local midnight after
    // its last (half-open); and cleared.
    void DateRangeChosen(qint64 since, qint64 until);
    void DateRangeCleared();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Recount();
    void LayOut();
    std::optional<std::int64_t> DayAt(const QPoint& viewportPoint);
    void MoveCursor(const CalendarCursor& cursor);
    void ChooseRange(std::int64_t first, std::int64_t last);
    void ShowDay(std::int64_t day);
    void UpdateAccessibleTexts();

    const CStampStore& m_store;
    CountRule m_countRule = CountRule::Files;
    bool m_stale = true;
    std::vector<DayCount> m_days;
    CalendarLayout m_layout;
    int m_layoutWidth = -1;
    CalendarCursor m_cursor;
    std::optional<std::pair<std::int64_t, std::int64_t>> m_range;
    std::optional<std::int64_t> m_dragFrom; // the day a drag with the button held began on
};
