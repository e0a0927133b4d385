#pragma once

#include <string_view>

enum class AxisFont { Large, Small, Vertical };

// Text extents in pixels, as the axis fonts would draw them: the width of a text along its
// writing direction and the height of a line (the same for every text of a font).
class ITextMeasurer {
public:
    virtual ~ITextMeasurer() = default;
    virtual int TextWidth(std::string_view text, AxisFont font) const = 0;
    virtual int LineHeight(AxisFont font) const = 0;
};
