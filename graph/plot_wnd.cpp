#include "plot_wnd.h"

#include "analysis_period.h"
#include "cursor_readout.h"
#include "curve_geometry.h"
#include "graph_fonts.h"
#include "graph_host.h"
#include "graph_keys.h"
#include "painter_adapter.h"
#include "screen_units.h"
#include "stamp_store.h"
#include "window_text.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor kCurveColor(85, 85, 255);
const QColor kComparedCurveColor(204, 0, 102); // apart from the blue, the cursor's orange and black
const QColor kCursorColor(255, 128, 0);        // apart from the curve's blue and the black text
} // namespace

CPlotWnd::CPlotWnd(IGraphHost& host, const CStampStore& store, QWidget* parent)
    : QWidget(parent), m_host(host), m_store(store),
      m_fontTitle(BoldPointFont(QStringLiteral("Times New Roman"), QFont::Serif, 170, logicalDpiY())),
      m_fontLegend(BoldPointFont(QStringLiteral("Arial"), QFont::SansSerif, 100, logicalDpiY())) {
    setObjectName(QStringLiteral("Graph"));
    setMouseTracking(true); // the readout follows the pointer with no button held
    setFocusPolicy(Qt::StrongFocus);
    UpdateAccessibleTexts();
}

void CPlotWnd::RebuildHistograms() {
    m_orderedIsCurrent = false; // the store may hold other records now
    m_ordered.Clear();
    Recount();
}

void CPlotWnd::SetDateRanges(std::optional<DateRange> chosen, std::optional<DateRange> compared) {
    m_chosenRange = chosen;
    m_comparedRange = chosen ? compared : std::nullopt;
    Recount();
}

void CPlotWnd::SetCountRule(CountRule rule) {
    m_countRule = rule;
    Recount();
}

void CPlotWnd::Recount() {
    m_chosenRecords = 0;
    m_comparedRecords = 0;
    if (!m_chosenRange) {
        m_histograms.RebuildHistograms(m_store, m_countRule);
    } else {
        if (!m_orderedIsCurrent) {
            m_ordered.Build(m_store);
            m_orderedIsCurrent = true;
        }
        const auto recount = [this](CPeriodHistograms& histograms, const DateRange& range) {
            const DateRange read = RangeInBasis(range, m_store.Basis());
            histograms.RecountWrittenIn(m_ordered, read, m_countRule);
            return static_cast<std::int64_t>(m_ordered.WrittenIn(read).size());
        };
        m_chosenRecords = recount(m_histograms, *m_chosenRange);
        if (m_comparedRange)
            m_comparedRecords = recount(m_compared, *m_comparedRange);
    }
    UpdateAccessibleTexts();
    update();
}

int CPlotWnd::BinsForView() const {
    return ::BinsForView(m_host.CurrentViewMode());
}

const Histogram* CPlotWnd::CurrentHistogram() const {
    return m_histograms.ForView(m_host.CurrentViewMode());
}

int CPlotWnd::CursorBin() const {
    const int view = m_host.CurrentViewMode();
    return IsValidView(view) ? m_cursorBins[static_cast<std::size_t>(view)] : 0;
}

void CPlotWnd::SetCursorBin(int bin) {
    const int view = m_host.CurrentViewMode();
    if (!IsValidView(view) || bin < 0 || bin >= BinsForView())
        return;
    m_cursorBins[static_cast<std::size_t>(view)] = bin;
    UpdateAccessibleTexts();
    update();
}

bool CPlotWnd::HasCurve() const {
    const Histogram* histogram = CurrentHistogram();
    return m_store.m_nFiles > 0 && histogram != nullptr && !histogram->IsEmpty();
}

QString CPlotWnd::CursorReadout() const {
    if (!HasCurve())
        return {};
    return ReadoutAt(CursorBin());
}

QString CPlotWnd::ReadoutAt(int bin) const {
    const int view = m_host.CurrentViewMode();
    const std::int64_t count = (*CurrentHistogram())[bin];
    if (!m_comparedRange)
        return QString::fromStdString(
            ReadoutText(view, bin, count, m_histograms.m_countRule, m_store.Kind()));
    return TextForWindow(ComparedReadoutText(view, bin, count, (*m_compared.ForView(view))[bin],
                                             DateRangeName(*m_comparedRange), m_countRule, m_store.Kind()));
}

void CPlotWnd::ShowCursorReadout() {
    if (HasCurve())
        m_host.ShowReadout(CursorReadout());
}

void CPlotWnd::UpdateAccessibleTexts() {
    // A screen reader names the graph by its title and reads the cursor's bin as its description.
    const QString name = m_store.m_nFiles > 0 ? TitleText() : QStringLiteral("Graph, nothing analysed");
    if (accessibleName() != name)
        setAccessibleName(name);
    if (const QString readout = CursorReadout(); accessibleDescription() != readout) {
        setAccessibleDescription(readout);
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

QString CPlotWnd::TitleText() const {
    if (m_chosenRange)
        return TextForWindow(FormatAnalysisTitle(m_chosenRecords, m_store.GetFolder(), m_histograms,
                                                 m_store.Kind(), DateRangeName(*m_chosenRange)));
    return TextForWindow(
        FormatAnalysisTitle(m_store.GetSize(), m_store.GetFolder(), m_histograms, m_store.Kind()));
}

void CPlotWnd::paintEvent(QPaintEvent*) {
    if (m_store.m_nFiles == 0)
        return;
    UpdateAccessibleTexts(); // the view, read at every paint, may have changed since
    QPainter painter(this);
    CPainterAdapter dc(painter);
    // The cursor and the focus mark show only while the plot has the focus: otherwise the picture
    // is exactly the one the report's --png draws.
    const bool focused = hasFocus();
    if (focused)
        DrawCursorLine(painter); // beneath the curve and the title

    // Each curve is a density of its own records, so that ranges of any length compare.
    DrawCurve(dc, m_histograms,
              m_histograms.CurveTotal(m_chosenRange ? m_histograms.m_nCounted : m_store.m_nFiles),
              kCurveColor);
    if (m_comparedRange)
        DrawCurve(dc, m_compared, m_compared.CurveTotal(m_compared.m_nCounted), kComparedCurveColor);

    dc.SelectPen(Qt::black);
    painter.setFont(m_fontTitle);
    dc.TextOut(width() / 2, MillimetresToPixels(5, logicalDpiY()), TitleText(), CPainterAdapter::TopCenter,
               CPainterAdapter::OpaqueWhite);
    if (m_comparedRange)
        DrawLegend(dc, painter);
    if (focused)
        DrawFocusMark(painter);
}

void CPlotWnd::DrawCurve(CPainterAdapter& dc, const CPeriodHistograms& histograms, std::int64_t total,
                         const QColor& color) {
    const Histogram* histogram = histograms.ForView(m_host.CurrentViewMode());
    if (histogram == nullptr)
        return;
    CurveInputs inputs;
    inputs.histogram = histogram->span();
    inputs.bins = BinsForView();
    inputs.width = width();
    inputs.height = height();
    inputs.xOffset = m_xOffset;
    inputs.yScale = m_yScale;
    inputs.trackbarPosition = m_host.AveragingPosition();
    inputs.fileCount = total;
    ComputeCurve(inputs, m_path);
    dc.SelectPen(color);
    for (const PathPoint& point : m_path) {
        if (point.op == PathPoint::Op::MoveTo)
            dc.MoveTo(point.x, point.y);
        else
            dc.LineTo(point.x, point.y);
    }
}

// Below the title, at the right: a stroke of each curve's colour and what it counts.
void CPlotWnd::DrawLegend(CPainterAdapter& dc, QPainter& painter) {
    painter.setFont(m_fontTitle);
    const int top = MillimetresToPixels(5, logicalDpiY()) + painter.fontMetrics().height() +
                    MillimetresToPixels(2, logicalDpiY());
    painter.setFont(m_fontLegend);
    const QFontMetrics metrics = painter.fontMetrics();
    const int margin = MillimetresToPixels(3, logicalDpiY());
    const int stroke = MillimetresToPixels(8, logicalDpiY());
    const struct {
        const DateRange& range;
        const CPeriodHistograms& histograms;
        QColor color;
    } entries[] = {{*m_chosenRange, m_histograms, kCurveColor},
                   {*m_comparedRange, m_compared, kComparedCurveColor}};
    int y = top;
    for (const auto& entry : entries) {
        const QString text = TextForWindow(LegendText(DateRangeName(entry.range), entry.histograms.m_nCounted,
                                                      entry.histograms.m_countRule, m_store.Kind()));
        const int right = width() - margin;
        const int textLeft = right - metrics.horizontalAdvance(text);
        const int middle = y + metrics.height() / 2;
        if (entry.histograms.m_nCounted > 0) // a range with nothing written has no curve to stand for
            painter.fillRect(QRect(textLeft - margin - stroke, middle - 1, stroke, 3), entry.color);
        dc.SelectPen(Qt::black);
        dc.TextOut(right, y, text, CPainterAdapter::TopRight, CPainterAdapter::OpaqueWhite);
        y += metrics.height() + MillimetresToPixels(1, logicalDpiY());
    }
}

void CPlotWnd::DrawCursorLine(QPainter& painter) {
    if (!HasCurve())
        return;
    if (const int x = CursorColumn(CursorBin(), width(), BinsForView(), m_xOffset); x >= 0)
        painter.fillRect(QRect(x, 0, 1, height()), kCursorColor);
}

void CPlotWnd::DrawFocusMark(QPainter& painter) {
    // A dotted frame one pixel inside the plot, in every style (some draw focus frames only after Tab).
    painter.save();
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    painter.restore();
}

void CPlotWnd::keyPressEvent(QKeyEvent* event) {
    if (!HasCurve()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int key = event->key();
    const Qt::KeyboardModifiers held = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && held == Qt::NoModifier) {
        emit FilesRequested(CursorBin());
        return;
    }
    if (key == Qt::Key_Menu || (key == Qt::Key_F10 && held == Qt::ShiftModifier)) {
        // The menu opens at the cursor's line, for the cursor's point.
        const int x = std::max(0, CursorColumn(CursorBin(), width(), BinsForView(), m_xOffset));
        ShowContextMenu(CursorBin(), mapToGlobal(QPoint(x, height() / 2)));
        return;
    }
    const GraphKeyState now{CursorBin(), m_xOffset, m_yScale};
    const std::optional<GraphKeyState> next = GraphStateAfterKey(
        now, key, event->modifiers(), m_host.CurrentViewMode(), m_host.AveragingPosition());
    if (!next) {
        QWidget::keyPressEvent(event);
        return;
    }
    m_xOffset = next->xOffset;
    m_yScale = next->yScale;
    SetCursorBin(next->cursorBin);
    ShowCursorReadout();
    if (QWidget* panel = parentWidget();
        panel != nullptr && (next->xOffset != now.xOffset || next->yScale != now.yScale))
        panel->update(); // both axes follow the rotation and the scale
}

void CPlotWnd::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void CPlotWnd::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
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
    m_host.ShowReadout(ReadoutAt(BinUnderPointer(at.x(), width(), BinsForView(), m_xOffset)));
}

// The plot takes presses so that they never reach the panel, where they would start a drag.
void CPlotWnd::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

// A double click asks for the files behind the point; it starts no drag and leaves the readout.
void CPlotWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton)
        RequestFilesAt(event->position().toPoint().x());
}

void CPlotWnd::contextMenuEvent(QContextMenuEvent* event) {
    // The point is the one under the pointer when the menu opens, whatever happens meanwhile.
    const int bin =
        m_store.m_nFiles > 0 ? BinUnderPointer(event->pos().x(), width(), BinsForView(), m_xOffset) : -1;
    ShowContextMenu(bin, event->globalPos());
}

void CPlotWnd::ShowContextMenu(int bin, const QPoint& globalAt) {
    QMenu menu(this);
    QAction* showFiles = menu.addAction(QStringLiteral("Show Files..."));
    showFiles->setEnabled(bin >= 0);
    connect(showFiles, &QAction::triggered, this, [this, bin] { emit FilesRequested(bin); });
    menu.exec(globalAt);
}

void CPlotWnd::RequestFilesAt(int x) {
    if (m_store.m_nFiles == 0)
        return;
    if (const int bin = BinUnderPointer(x, width(), BinsForView(), m_xOffset); bin >= 0)
        emit FilesRequested(bin);
}
