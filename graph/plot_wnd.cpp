#include "plot_wnd.h"

#include "analysis_period.h"
#include "cursor_readout.h"
#include "curve_geometry.h"
#include "graph_fonts.h"
#include "graph_host.h"
#include "painter_adapter.h"
#include "screen_units.h"
#include "stamp_store.h"
#include "window_text.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor kCurveColor(85, 85, 255);
}

CPlotWnd::CPlotWnd(IGraphHost& host, const CStampStore& store, QWidget* parent)
    : QWidget(parent), m_host(host), m_store(store),
      m_fontTitle(BoldPointFont(QStringLiteral("Times New Roman"), QFont::Serif, 170, logicalDpiY())) {
    setObjectName(QStringLiteral("Graph"));
    setMouseTracking(true); // the readout follows the pointer with no button held
}

void CPlotWnd::RebuildHistograms() {
    m_histograms.RebuildHistograms(m_store, m_countRule);
    update();
}

void CPlotWnd::SetCountRule(CountRule rule) {
    m_countRule = rule;
    RebuildHistograms();
}

int CPlotWnd::BinsForView() const {
    return ::BinsForView(m_host.CurrentViewMode());
}

const Histogram* CPlotWnd::CurrentHistogram() const {
    return m_histograms.ForView(m_host.CurrentViewMode());
}

QString CPlotWnd::TitleText() const {
    return TextForWindow(FormatAnalysisTitle(m_store.GetSize(), m_store.GetFolder(), m_histograms, m_store.Kind()));
}

void CPlotWnd::paintEvent(QPaintEvent*) {
    if (m_store.m_nFiles == 0)
        return;
    QPainter painter(this);
    CPainterAdapter dc(painter);

    if (const Histogram* histogram = CurrentHistogram()) {
        CurveInputs inputs;
        inputs.histogram = histogram->span();
        inputs.bins = BinsForView();
        inputs.width = width();
        inputs.height = height();
        inputs.xOffset = m_xOffset;
        inputs.yScale = m_yScale;
        inputs.trackbarPosition = m_host.AveragingPosition();
        inputs.fileCount = m_histograms.CurveTotal(m_store.m_nFiles);
        ComputeCurve(inputs, m_path);
        dc.SelectPen(kCurveColor);
        for (const PathPoint& point : m_path) {
            if (point.op == PathPoint::Op::MoveTo)
                dc.MoveTo(point.x, point.y);
            else
                dc.LineTo(point.x, point.y);
        }
    }

    dc.SelectPen(Qt::black);
    painter.setFont(m_fontTitle);
    dc.TextOut(width() / 2, MillimetresToPixels(5, logicalDpiY()), TitleText(), CPainterAdapter::TopCenter,
               CPainterAdapter::OpaqueWhite);
}

void CPlotWnd::mouseMoveEvent(QMouseEvent* event) {
    // A press inside the plot captures nothing: the readout goes on while the button is held,
    // but only over the plot itself, though Qt keeps sending the moves here until the release.
    const QPoint at = event->position().toPoint();
    if (m_store.m_nFiles == 0 || !rect().contains(at))
        return;
    const Histogram* histogram = CurrentHistogram();
    if (histogram == nullptr || histogram->IsEmpty())
        return;
    const int view = m_host.CurrentViewMode();
    const int bin = BinUnderPointer(at.x(), width(), BinsForView(), m_xOffset);
    m_host.ShowReadout(QString::fromStdString(ReadoutText(view, bin, (*histogram)[bin], m_histograms.m_countRule)));
}

// The plot takes presses so that they never reach the panel, where they would start a drag.
void CPlotWnd::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void CPlotWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}
