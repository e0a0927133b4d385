#include "painter_adapter.h"

#include "line_pixels.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <algorithm>

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
    m_penColor = color;
    QPen pen(color);
    pen.setWidth(1);
    pen.setCosmetic(true);
    m_painter.setPen(pen);
}

void CPainterAdapter::MoveTo(int x, int y) {
    m_x = x;
    m_y = y;
}

void CPainterAdapter::LineTo(int x, int y) {
    if (x == m_x || y == m_y) {
        // Straight runs are the common case (axes, ticks, the curve's steps): fill them at once,
        // from the start pixel up to the one before the end.
        const int lastX = x > m_x ? x - 1 : (x < m_x ? x + 1 : x);
        const int lastY = y > m_y ? y - 1 : (y < m_y ? y + 1 : y);
        if (x != m_x || y != m_y)
            m_painter.fillRect(QRect(QPoint(std::min(m_x, lastX), std::min(m_y, lastY)),
                                     QPoint(std::max(m_x, lastX), std::max(m_y, lastY))),
                               m_penColor);
    } else {
        ClippedLinePixels({m_x, m_y}, {x, y}, PaintArea(), m_pixels);
        if (m_painter.deviceTransform().isScaling()) {
            // On a scaled screen a point is one device pixel and a slanted run would come out
            // dotted; each pixel of the stepping is filled whole, as the straight runs are.
            for (const QPoint& pixel : m_pixels)
                m_painter.fillRect(QRect(pixel, QSize(1, 1)), m_penColor);
        } else {
            m_painter.drawPoints(m_pixels.data(), static_cast<int>(m_pixels.size()));
        }
    }
    m_x = x;
    m_y = y;
}

QRect CPainterAdapter::PaintArea() const {
    const QPaintDevice* device = m_painter.paintEngine()->paintDevice();
    QRect area = m_painter.deviceTransform()
                     .inverted()
                     .mapRect(QRectF(0, 0, device->width(), device->height()))
                     .toAlignedRect()
                     .adjusted(-1, -1, 1, 1);
    if (m_painter.hasClipping())
        area &= m_painter.clipBoundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
    return area;
}

void CPainterAdapter::TextOut(int x, int y, const QString& text, TextAlign align, Background background) {
    const QFontMetrics metrics = m_painter.fontMetrics();
    const QPoint origin = QPoint(x, y) + TextOrigin(metrics, text, align);
    if (background == OpaqueWhite)
        m_painter.fillRect(origin.x(), origin.y() - metrics.ascent(), metrics.horizontalAdvance(text),
                           metrics.height(), Qt::white);
    m_painter.drawText(origin, text);
}

void CPainterAdapter::TextOutUpward(int x, int y, const QString& text, TextAlign align) {
    m_painter.save();
    m_painter.translate(x, y);
    m_painter.rotate(-90.0);
    m_painter.drawText(TextOrigin(m_painter.fontMetrics(), text, align), text);
    m_painter.restore();
}
