#pragma once

#include "axis_drag.h"
#include "plot_wnd.h"

#include <QFont>
#include <QFrame>

class CStampStore;
class IGraphHost;

// The client area of the main window: the density axis on the left, the time axis at
// the bottom and the plot in the rest. Dragging either axis turns or stretches the graph.
class CGraphPanel : public QFrame {
    Q_OBJECT

public:
    CGraphPanel(IGraphHost& host, const CStampStore& store, QWidget* parent = nullptr);

    int m_dragX = NO_DRAG;
    int m_dragY = NO_DRAG;
    int m_xAxisHeight = 0;
    int m_yAxisWidth = 0;
    CPlotWnd m_plot;
    QFont m_fontLarge;
    QFont m_fontSmall;
    QFont m_fontVertical;

    // Sizes both bands from the resolution and the fonts, and gives the plot the rest.
    void LayOut();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect ClientRect() const;
    QPoint ClientPoint(const QMouseEvent* event) const;
    void DrawTimeAxis(QPainter& painter);
    void DrawDensityAxis(QPainter& painter);

    IGraphHost& m_host;
    const CStampStore& m_store;
};
