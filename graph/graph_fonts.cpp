#include "graph_fonts.h"

#include "screen_units.h"

QFont BoldPointFont(const QString& family, QFont::StyleHint hint, int tenthsOfPoint, int dotsPerInchY) {
    QFont font(family);
    font.setStyleHint(hint);
    font.setBold(true);
    font.setPixelSize(PointTenthsToPixels(tenthsOfPoint, dotsPerInchY));
    return font;
}
