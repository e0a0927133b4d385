#pragma once

#include "text_measurer.h"

#include <string_view>

// Fixed metrics: every character of the large font is 10 pixels wide except "W" (15), the
// small font's are 6, the vertical font's 9; line heights 19, 12 and 19.
class CFakeTextMeasurer : public ITextMeasurer {
public:
    int TextWidth(std::string_view text, AxisFont font) const override {
        int width = 0;
        for (const char c : text) {
            switch (font) {
            case AxisFont::Large:
                width += c == 'W' ? 15 : 10;
                break;
            case AxisFont::Small:
                width += 6;
                break;
            case AxisFont::Vertical:
                width += 9;
                break;
            }
        }
        return width;
    }
    int LineHeight(AxisFont font) const override { return font == AxisFont::Small ? 12 : 19; }
};
