#include "graph_panel.h"

#include "analysis_period.h"
#include "density_axis.h"
#include "font_text_measurer.h"
#include "graph_fonts.h"
#include "graph_host.h"
#include "painter_adapter.h"
#include "stamp_store.h"
#include "time_axis_scale.h"
#include "time_axis_strip.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

const QString kAxisFamily = QStringLiteral("Arial");

// The time-axis strip is a black-and-white picture, so its text is drawn without smoothing.
QFont StripFont(QFont font) {
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

CGraphPanel::CGraphPanel(IGraphHost& host, const CStampStore& store, QWidget* parent)
    : QFrame(parent), m_plot(host, store, this),
      m_fontLarge(BoldPointFont(kAxisFamily, QFont::SansSerif, 120, logicalDpiY())),
      m_fontSmall(BoldPointFont(kAxisFamily, QFont::SansSerif, 80, logicalDpiY())),
      m_fontVertical(m_fontLarge), m_host(host), m_store(store) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    // The keys go to the plot, which draws the focus mark and the keyboard cursor.
    setFocusPolicy(Qt::StrongFocus);
    setFocusProxy(&m_plot);
    setAccessibleName(QStringLiteral("Graph"));
    setAccessibleDescription(QStringLiteral(
        "The density of the file times over the period, with the density axis and the time axis."));
}

QRect CGraphPanel::ClientRect() const {
    return contentsRect();
}

QPoint CGraphPanel::ClientPoint(const QMouseEvent* event) const {
    return event->position().toPoint() - contentsRect().topLeft();
}

void CGraphPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    if (window()->isMinimized())
        return; // the bands keep their size until the next restore-type resize
    LayOut();
}

void CGraphPanel::LayOut() {
    const QRect client = ClientRect();
    const CFontTextMeasurer measure(m_fontLarge, m_fontSmall, m_fontVertical);
    const AxisBands bands = ComputeAxisBands(fontMetrics().height(), measure, logicalDpiX(), logicalDpiY());
    m_xAxisHeight = bands.xAxisHeight;
    m_yAxisWidth = bands.yAxisWidth;
    m_plot.setGeometry(client.x() + m_yAxisWidth, client.y(), std::max(0, client.width() - m_yAxisWidth),
                       std::max(0, client.height() - m_xAxisHeight));
}

void CGraphPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_store.m_nFiles == 0)
        return;
    QPainter painter(this);
    const QRect client = ClientRect();
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    DrawTimeAxis(painter);
    DrawDensityAxis(painter);
}

void CGraphPanel::DrawTimeAxis(QPainter& painter) {
    const QRect client = ClientRect();
    const int panelWidth = client.width();
    const int scaleWidth = panelWidth - m_yAxisWidth;
    if (scaleWidth <= 0 || m_xAxisHeight <= 0)
        return;

    // The scale is drawn once, unshifted, into a white strip as wide as the panel, with as many
    // pixels as the screen has there, so that its texts stay sharp on a scaled screen ...
    const qreal ratio = painter.deviceTransform().m11(); // device pixels per logical one
    QImage strip(QSize(panelWidth, m_xAxisHeight) * ratio, QImage::Format_RGB32);
    strip.setDevicePixelRatio(ratio);
    strip.fill(Qt::white);
    {
        QPainter stripPainter(&strip);
        CPainterAdapter dc(stripPainter);
        const QFont large = StripFont(m_fontLarge);
        const QFont small = StripFont(m_fontSmall);
        stripPainter.translate(m_yAxisWidth, 0);
        dc.MoveTo(-1, 0);
        dc.LineTo(panelWidth, 0);
        const CFontTextMeasurer measure(m_fontLarge, m_fontSmall, m_fontVertical);
        const TimeAxisScale scale =
            ComputeTimeAxisScale(m_host.CurrentViewMode(), scaleWidth, logicalDpiY(), measure);
        // Ticks and labels interleave as the rows draw them: a label's white box covers earlier ticks.
        std::size_t ticksDrawn = 0;
        const auto drawTicksUpTo = [&](std::size_t count) {
            for (; ticksDrawn < count; ++ticksDrawn) {
                dc.MoveTo(scale.ticks[ticksDrawn].x, 0);
                dc.LineTo(scale.ticks[ticksDrawn].x, scale.ticks[ticksDrawn].length);
            }
        };
        for (const TimeAxisLabel& label : scale.labels) {
            drawTicksUpTo(static_cast<std::size_t>(label.ticksBefore));
            stripPainter.setFont(label.font == AxisFont::Small ? small : large);
            dc.TextOut(label.x, label.top, QString::fromStdString(label.text), CPainterAdapter::TopCenter,
                       CPainterAdapter::OpaqueWhite);
        }
        drawTicksUpTo(scale.ticks.size());
    }

    // ... and copied into the band turned by the curve's own shift, in two pieces.
    const int bandTop = client.height() - m_xAxisHeight;
    const int shift = TimeAxisShift(m_plot.width(), m_plot.m_xOffset, m_plot.BinsForView());
    for (const StripCopy& copy : StripCopies(shift, scaleWidth, m_plot.width(), m_yAxisWidth))
        painter.drawImage(QRectF(copy.destinationX, bandTop, copy.width, m_xAxisHeight), strip,
                          QRectF(copy.sourceX * ratio, 0, copy.width * ratio, m_xAxisHeight * ratio));
}

void CGraphPanel::DrawDensityAxis(QPainter& painter) {
    const CFontTextMeasurer measure(m_fontLarge, m_fontSmall, m_fontVertical);
    DensityAxisInputs inputs;
    inputs.yScale = m_plot.m_yScale;
    inputs.panelHeight = ClientRect().height();
    inputs.plotHeight = m_plot.height();
    inputs.bands = {m_xAxisHeight, m_yAxisWidth};
    inputs.dpiX = logicalDpiX();
    const DensityAxis axis = ComputeDensityAxis(inputs, measure);

    CPainterAdapter dc(painter);
    dc.MoveTo(axis.lineX, 0);
    dc.LineTo(axis.lineX, axis.lineEndY);
    for (const DensityTick& tick : axis.ticks) {
        dc.MoveTo(axis.lineX, tick.y);
        dc.LineTo(m_yAxisWidth - tick.length, tick.y);
        painter.setFont(tick.isLong ? m_fontLarge : m_fontSmall);
        dc.TextOut(tick.labelRight, tick.labelTop, QString::fromStdString(tick.label),
                   CPainterAdapter::TopRight, CPainterAdapter::OpaqueWhite);
    }
    if (axis.titleFits) {
        painter.setFont(m_fontVertical);
        dc.TextOutUpward(axis.titleRight, axis.titleMiddleY, QString::fromLatin1(kDensityAxisTitle),
                         CPainterAdapter::BottomCenter);
    }
}

void CGraphPanel::mousePressEvent(QMouseEvent* event) {
    // The sunken edge around the client area is part of this widget, but presses on it start nothing.
    if (event->button() != Qt::LeftButton || !contentsRect().contains(event->position().toPoint()))
        return;
    const QPoint at = ClientPoint(event);
    const DragAnchors anchors = AnchorsAfterPress({m_dragX, m_dragY}, at.x(), at.y(), m_yAxisWidth);
    m_dragX = anchors.dragX;
    m_dragY = anchors.dragY;
    // Qt keeps sending this widget every move until the release, wherever the pointer goes.
}

// A quick second press arrives as a double click and starts nothing.
void CGraphPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

void CGraphPanel::mouseMoveEvent(QMouseEvent* event) {
    const int plotWidth = m_plot.width();
    const int plotHeight = m_plot.height();
    if (plotWidth <= 0)
        return;
    const QPoint at = ClientPoint(event);
    const int bins = m_plot.BinsForView();
    if (m_dragX != NO_DRAG) {
        m_plot.m_xOffset = DraggedOffset(m_plot.m_xOffset, at.x() - m_dragX, bins, plotWidth);
        update();
        m_dragX = at.x();
    }
    if (m_dragY != NO_DRAG && m_dragY < plotHeight) {
        const ScaleDrag drag = DraggedScale(m_plot.m_yScale, m_dragY, at.y(), plotHeight);
        m_plot.m_yScale = drag.yScale;
        m_dragY = drag.anchorY;
        update();
    }
}

void CGraphPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_dragX = NO_DRAG;
    m_dragY = NO_DRAG;
}
