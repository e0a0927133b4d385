#pragma once

#include "curve_geometry.h"
#include "defaults.h"
#include "period_histograms.h"

#include <QFont>
#include <QWidget>
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

    double m_xOffset = 0.0;
    double m_yScale = kDefaultFullScale;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    IGraphHost& m_host;
    const CStampStore& m_store;
    QFont m_fontTitle;
    CPeriodHistograms m_histograms;
    CountRule m_countRule = CountRule::Files;
    std::vector<PathPoint> m_path; // reused between paints to spare an allocation
};
