#pragma once

#include "date_range.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

class CStampStore;

// The records of a store in the order they were written, each with its bin in the four periods
// and the bins of the minute it was written in, so that the histograms of any date range are
// recounted from one slice, with no time broken down again. Built once per analysis.
class CTimeOrderedBins {
public:
    // The bins of a time the platform cannot break down.
    static constexpr std::uint16_t kNoBin = 0xffff;

    struct Entry {
        std::int64_t time = 0;
        std::array<std::uint16_t, 4> bins{};       // indexed by ViewMode, or all kNoBin
        std::array<std::uint16_t, 4> minuteBins{}; // the same for the first second of its minute
    };

    // Sorts the store's records by time and bins each. Throws std::bad_alloc when memory runs out.
    void Build(const CStampStore& store);
    void Clear() { m_entries.clear(); }

    // The records written within the range, oldest first.
    std::span<const Entry> WrittenIn(const DateRange& range) const;
    std::span<const Entry> All() const { return m_entries; }

private:
    std::vector<Entry> m_entries;
};
