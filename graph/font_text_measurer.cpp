#include "font_text_measurer.h"

#include <QString>

CFontTextMeasurer::CFontTextMeasurer(const QFont& large, const QFont& small, const QFont& vertical)
    : m_large(large), m_small(small), m_vertical(vertical) {}

int CFontTextMeasurer::TextWidth(std::string_view text, AxisFont font) const {
    return MetricsOf(font).horizontalAdvance(
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

int CFontTextMeasurer::LineHeight(AxisFont font) const {
    return MetricsOf(font).height();
}

const QFontMetrics& CFontTextMeasurer::MetricsOf(AxisFont font) const {
    switch (font) {
    case AxisFont::Small:
        return m_small;
    case AxisFont::Vertical:
        return m_vertical;
    case AxisFont::Large:
        break;
    }
    return m_large;
}
