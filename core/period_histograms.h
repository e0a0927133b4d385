#pragma once

#include "growable_array.h"

#include <cstdint>

class CStampStore;

using Histogram = CGrowableArray<std::int32_t>;

// The four period histograms, recounted from the store after every scan.
class CPeriodHistograms {
public:
    // Sizes the four arrays on first use, zeroes them and counts every record of the store
    // once in each; a time the platform cannot break down is left out of all four. Throws
    // std::bad_alloc only if the arrays themselves cannot be allocated at the first rebuild.
    void RebuildHistograms(const CStampStore& store);

    // The histogram of a view, or nullptr for a value outside 0..3.
    const Histogram* ForView(int view) const;

    Histogram m_yearBins;
    Histogram m_monthBins;
    Histogram m_weekBins;
    Histogram m_dayBins;

    // Records counted by the last rebuild: the store's size less the times that could not be binned.
    std::int64_t m_nBinned = 0;

private:
    template <typename BinsOf> void Recount(const CStampStore& store, BinsOf binsOf);
};
