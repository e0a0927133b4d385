#pragma once

#include "analysis_period.h"
#include "curve_geometry.h"
#include "defaults.h"
#include "period_histograms.h"

#include <QFont>
#include <QWidget>
#include <array>
#include <vector>

class CStampStore;
class IGraphHost;

// The plot area: the smoothed density curve of the current view and the title line.
// It owns the four histograms and the two numbers the axis drags change.
class CPlotWnd : public QWidget {
    Q_OBJECT

public:
    CPlotWnd(IGraphHost& host, const CStampStore& store, QWidget* parent = nullptr);

    // Recounts the histograms from the store and schedules a repaint.
    void RebuildHistograms();

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
    CountRule m_countRule = CountRule::Files;
    std::array<int, kViews.size()> m_cursorBins{};
    std::vector<PathPoint> m_path; // reused between paints to spare an allocation
};
