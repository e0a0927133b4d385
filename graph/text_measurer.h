#pragma once

#include <string_view>

enum class AxisFont { Large, Small, Vertical };

// Text widths in pixels, as the axis fonts would draw them.
class ITextMeasurer {
public:
    virtual ~ITextMeasurer() = default;
    virtual int TextWidth(std::string_view text, AxisFont font) const = 0;
    virtual int LineHeight(AxisFont font) const = 0;
};
