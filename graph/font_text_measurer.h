#pragma once

#include "text_measurer.h"

#include <QFontMetrics>

// Measures axis texts with the panel's fonts as they are at this moment.
class CFontTextMeasurer : public ITextMeasurer {
public:
    CFontTextMeasurer(const QFont& large, const QFont& small, const QFont& vertical);

    int TextWidth(std::string_view text, AxisFont font) const override;
    int LineHeight(AxisFont font) const override;

private:
    const QFontMetrics& MetricsOf(AxisFont font) const;

    QFontMetrics m_large;
    QFontMetrics m_small;
    QFontMetrics m_vertical;
};
