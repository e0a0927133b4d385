#pragma once

#include <QFont>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

// Drawing with the semantics the graph's arithmetic is written for: a current position
// moved by MoveTo, LineTo lines that leave their end pixel undrawn, and text placed by a
// reference point (top centre, top right, bottom centre). Antialiasing stays off so that
// lines are exactly one pixel wide.
class CPainterAdapter {
public:
    enum TextAlign { TopCenter, TopRight, BottomCenter };

    explicit CPainterAdapter(QPainter& painter);

    // Selects a one-pixel pen of the colour for the following lines.
    void SelectPen(const QColor& color);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);

    // Text with its reference point at (x, y) in the painter's current font; an opaque
    // text first fills its cell (advance width by line height) with white.
    enum Background { Transparent, OpaqueWhite };
    void TextOut(int x, int y, const QString& text, TextAlign align, Background background = Transparent);

    // The same text turned 90 degrees so that it reads upward; (x, y) is the reference
    // point of the unturned text, so BottomCenter puts x at the right edge of the line.
    void TextOutUpward(int x, int y, const QString& text, TextAlign align);

private:
    // The device's pixels in the painter's coordinates, within its clip: nothing outside can show.
    QRect PaintArea() const;

    QPainter& m_painter;
    QColor m_penColor;
    std::vector<QPoint> m_pixels; // reused by LineTo
    int m_x = 0;
    int m_y = 0;
};
