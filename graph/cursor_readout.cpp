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

int CursorColumn(int bin, int plotWidth, int bins, double xOffset) {
    if (plotWidth <= 0 || bins <= 0)
        return -1;
    // Where the bin's start lies across the plot; the truncations of BinUnderPointer can put the
    // first column that reads the bin one further right.
    const double start = WrapOffset(bin + xOffset, bins) * plotWidth / bins;
    const int column = WrapIndex(static_cast<std::int64_t>(std::floor(start)), plotWidth);
    for (const int candidate : {column, WrapIndex(std::int64_t{column} + 1, plotWidth)})
        if (BinUnderPointer(candidate, plotWidth, bins, xOffset) == bin)
            return candidate;
    return column;
}

std::string ReadoutText(int view, int bin, std::int64_t count, CountRule rule, RecordKind kind) {
    return FormatBinTime(view, bin) + " - " + std::to_string(count) + " " + CountedUnits(rule, kind) + ".";
}

std::string ComparedReadoutText(int view, int bin, std::int64_t count, std::int64_t comparedCount,
                                const std::string& comparedName, CountRule rule, RecordKind kind) {
    const char* units = CountedUnits(rule, kind);
    return FormatBinTime(view, bin) + " - " + std::to_string(count) + " " + units + ", against " +
           std::to_string(comparedCount) + " " + units + " in " + comparedName + ".";
}

std::string LegendText(const std::string& rangeName, std::int64_t count, CountRule rule, RecordKind kind) {
    if (count == 0)
        return rangeName + " - nothing written";
    return rangeName + " - " + std::to_string(count) + " " + CountedUnits(rule, kind);
}
