#include "dialog_units.h"

#include <QFontMetrics>

namespace {

// value * numerator / denominator, rounded half away from zero.
int MulDiv(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator : (product - half) / denominator);
}

} // namespace

QFont DialogFont() {
    // The templates were laid out for an 8-point face that is narrower than Liberation Sans;
    // at 7.5 points Liberation Sans gives the same text widths, so every text fits its box.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(7.5);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    return {metrics.averageCharWidth(), metrics.height()};
}

QRect DialogUnitsToPixels(const QRect& dialogUnits, DialogBaseUnits base) {
    return QRect(MulDiv(dialogUnits.x(), base.avgCharWidth, 4), MulDiv(dialogUnits.y(), base.charHeight, 8),
                 MulDiv(dialogUnits.width(), base.avgCharWidth, 4),
                 MulDiv(dialogUnits.height(), base.charHeight, 8));
}
