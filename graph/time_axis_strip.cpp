#include "time_axis_strip.h"

#include "wrap.h"

#include <algorithm>

int TimeAxisShift(int plotWidth, double xOffset, int bins) {
    if (plotWidth <= 0 || bins <= 0)
        return 0;
    return WrapIndex(PixelShift(plotWidth, xOffset, bins), plotWidth);
}

std::vector<StripCopy> StripCopies(int shift, int scaleWidth, int plotWidth, int stripLeft) {
    std::vector<StripCopy> copies;
    // Both pieces go to the band's left edge; a source outside the scale columns brings nothing.
    for (const int sourceX : {stripLeft - shift, stripLeft - shift + plotWidth}) {
        const int from = std::max(sourceX, stripLeft);
        const int to = std::min(sourceX + scaleWidth, stripLeft + scaleWidth);
        if (from < to)
            copies.push_back({from, stripLeft + (from - sourceX), to - from});
    }
    return copies;
}
