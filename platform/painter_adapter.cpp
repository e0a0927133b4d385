#include "painter_adapter.h"

#include <QFontMetrics>

namespace {

// Baseline start of a text whose reference point is at the origin.
QPoint TextOrigin(const QFontMetrics& metrics, const QString& text, CPainterAdapter::TextAlign align) {
    const int width = metrics.horizontalAdvance(text);
    switch (align) {
    case CPainterAdapter::TopCenter:
        return {-width / 2, metrics.ascent()};
    case CPainterAdapter::TopRight:
        return {-width, metrics.ascent()};
    case CPainterAdapter::BottomCenter:
        return {-width / 2, -metrics.descent()};
    }
    return {};
}

} // namespace

CPainterAdapter::CPainterAdapter(QPainter& painter) : m_painter(painter) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    SelectPen(Qt::black);
}

void CPainterAdapter::SelectPen(const QColor& color) {
    QPen pen(color);
    pen.setWidth(1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap); // a flat-capped one-pixel line leaves its last pixel out
    m_painter.setPen(pen);
}

void CPainterAdapter::MoveTo(int x, int y) {
    m_x = x;
    m_y = y;
}

void CPainterAdapter::LineTo(int x, int y) {
    if (x != m_x || y != m_y) // a line to the current position draws nothing
        m_painter.drawLine(m_x, m_y, x, y);
    m_x = x;
    m_y = y;
}

void CPainterAdapter::TextOut(int x, int y, const QString& text, TextAlign align, Background background) {
    const QFontMetrics metrics = m_painter.fontMetrics();
    const QPoint origin = QPoint(x, y) + TextOrigin(metrics, text, align);
    if (background == OpaqueWhite)
        m_painter.fillRect(origin.x(), origin.y() - metrics.ascent(), metrics.horizontalAdvance(text), metrics.height(),
                           Qt::white);
    m_painter.drawText(origin, text);
}

void CPainterAdapter::TextOutUpward(int x, int y, const QString& text, TextAlign align) {
    m_painter.save();
    m_painter.translate(x, y);
    m_painter.rotate(-90.0);
    m_painter.drawText(TextOrigin(m_painter.fontMetrics(), text, align), text);
    m_painter.restore();
}
