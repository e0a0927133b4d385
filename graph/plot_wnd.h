#pragma once

#include "analysis_period.h"
#include "curve_geometry.h"
#include "date_range.h"
#include "defaults.h"
#include "period_histograms.h"
#include "time_ordered_bins.h"

#include <QFont>
#include <QWidget>
#include <array>
#include <optional>
#include <vector>

class CPainterAdapter;
class CStampStore;
class QPainter;
class IGraphHost;

// The plot area: the smoothed density curve of the current view and the title line.
// It owns the four histograms and the two numbers the axis drags change.
class CPlotWnd : public QWidget {
    Q_OBJECT

public:
    CPlotWnd(IGraphHost& host, const CStampStore& store, QWidget* parent = nullptr);

    // Recounts the histograms from the store and schedules a repaint.
    void RebuildHistograms();

    // Counts only the records written in the chosen range (all of them without one) and, given a
    // second range to compare with, those of that range too, drawn as a second curve with a
    // legend naming both; then recounts. A comparison needs a chosen range.
    void SetDateRanges(std::optional<DateRange> chosen, std::optional<DateRange> compared = std::nullopt);
    const std::optional<DateRange>& ChosenRange() const { return m_chosenRange; }
    const std::optional<DateRange>& ComparedRange() const { return m_comparedRange; }
    // The histograms of the range compared with, once one is set.
    const CPeriodHistograms& ComparedHistograms() const { return m_compared; }
    // Records written in the chosen and in the compared range (0 without that range).
    std::int64_t ChosenRecords() const { return m_chosenRecords; }
    std::int64_t ComparedRecords() const { return m_comparedRecords; }

    // Sets how the histograms count and recounts them.
    void SetCountRule(CountRule rule);
    CountRule GetCountRule() const { return m_countRule; }

    int BinsForView() const;
    const Histogram* CurrentHistogram() const;

    const CPeriodHistograms& Histograms() const { return m_histograms; }

    // "N files in FOLDER", as the title line reads, with the active minutes beside it when
    // those are counted.
    QString TitleText() const;

    // The bin the keyboard cursor marks in the current view; each view keeps its own, from the
    // period's start, through new analyses and changes of view.
    int CursorBin() const;
    void SetCursorBin(int bin);
    // The readout of the cursor's bin, as the pointer over it gives it; empty with nothing analysed.
    QString CursorReadout() const;

    double m_xOffset = 0.0;
    double m_yScale = kDefaultFullScale;

signals:
    // A double click or "Show Files..." asks for the files behind the curve at a bin of the
    // current view, the bin the readout names at that column.
    void FilesRequested(int bin);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void RequestFilesAt(int x);
    void ShowContextMenu(int bin, const QPoint& globalAt);
    bool HasCurve() const;
    // Recounts the histograms shown (and compared) from the store.
    void Recount();
    // The density curve of histograms at the plot's size and axes.
    void DrawCurve(CPainterAdapter& dc, const CPeriodHistograms& histograms, std::int64_t total,
                   const QColor& color);
    void DrawLegend(CPainterAdapter& dc, QPainter& painter);
    // The readout of a bin of the current view, with the compared range's count when there is one.
    QString ReadoutAt(int bin) const;
    // The readout in the status bar and in what a screen reader is told of the graph.
    void ShowCursorReadout();
    void UpdateAccessibleTexts();
    // With the focus: the cursor's line and a focus mark round the plot.
    void DrawCursorLine(QPainter& painter);
    void DrawFocusMark(QPainter& painter);

    IGraphHost& m_host;
    const CStampStore& m_store;
    QFont m_fontTitle;
    CPeriodHistograms m_histograms;
    CPeriodHistograms m_compared;
    std::optional<DateRange> m_chosenRange;
    std::optional<DateRange> m_comparedRange;
    std::int64_t m_chosenRecords = 0;
    std::int64_t m_comparedRecords = 0;
    CTimeOrderedBins m_ordered; // the store's records in time order, built once a range is chosen
    bool m_orderedIsCurrent = false;
    QFont m_fontLegend;
    CountRule m_countRule = CountRule::Files;
    std::array<int, kViews.size()> m_cursorBins{};
    std::vector<PathPoint> m_path; // reused between paints to spare an allocation
};
