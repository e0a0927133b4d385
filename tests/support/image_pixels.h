#pragma once

#include <QImage>
#include <QRect>

// Scans of a rendered picture: the pixels inside area (the whole image when area is empty)
// for which match(QRgb) holds.
template <typename Match> int CountPixels(const QImage& image, Match match, QRect area = QRect()) {
    area = area.isEmpty() ? image.rect() : area & image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += match(image.pixel(x, y)) ? 1 : 0;
    return count;
}

// The bounds of those pixels; empty when there are none.
template <typename Match> QRect PixelBounds(const QImage& image, Match match, QRect area = QRect()) {
    area = area.isEmpty() ? image.rect() : area & image.rect();
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// A match for one colour.
inline auto IsColour(QRgb colour) {
    return [colour](QRgb pixel) { return pixel == colour; };
}
