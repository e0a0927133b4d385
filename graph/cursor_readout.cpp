#include "cursor_readout.h"

#include "analysis_period.h"
#include "wrap.h"

#include <cmath>

int BinUnderPointer(int x, int plotWidth, int bins, double xOffset) {
    if (plotWidth <= 0 || bins <= 0)
        return -1;
    const std::int64_t turned = static_cast<std::int64_t>(x) * bins;
    return static_cast<int>(std::trunc(WrapOffset(static_cast<double>(turned) / plotWidth - xOffset, bins)));
}

std::string ReadoutText(int view, int bin, std::int64_t count, CountRule rule) {
    return FormatBinTime(view, bin) + " - " + std::to_string(count) + " " + CountedUnits(rule) + ".";
}
