#pragma once

#include "local_time.h"
#include "period_bins.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

// Bins of many file times at once. The zone's UTC offset is constant between its
// transitions, so the stretch of time around a file time that shares its offset and its
// local year is found once with localtime (and the year's bounds once with mktime); the
// fields of every later time inside that stretch are computed arithmetically. Gives exactly
// the plain breakdown's bins, provided the zone never changes its offset twice within one
// probe step (a day) and returns to the same offset. Build one per batch: it does not follow
// later changes of TZ.
class CLocalTimeCache {
public:
    // Bins of t in the four periods, or nothing when the platform cannot break t down.
    std::optional<PeriodBins> Bins(std::int64_t t);

    // Number of stretches found so far.
    std::size_t SegmentCount() const { return m_segments.size(); }

private:
    // Times first..last (inclusive, UTC seconds) share one UTC offset and one local year.
    struct Segment {
        std::int64_t first;
        std::int64_t last;
        std::int64_t offset;
        std::int64_t firstLocalDay; // days since 1970-01-01 of 1 January of the local year
        std::optional<YearBounds> year;
        bool leapYear;
    };

    const Segment* FindSegment(std::int64_t t);
    const Segment* AddSegment(std::int64_t t, std::size_t position);
    static PeriodBins BinsInSegment(const Segment& segment, std::int64_t t);

    // Which segment served the last time in each 2^16-second slice of the time line (slices
    // folded onto the table); a hint that is checked before use.
    static constexpr std::size_t kHintSlots = 1 << 14;
    static constexpr int kHintSliceBits = 16;

    std::vector<Segment> m_segments; // sorted and disjoint
    std::vector<std::uint32_t> m_hints = std::vector<std::uint32_t>(kHintSlots, 0);
    std::unordered_map<std::int64_t, std::optional<YearBounds>> m_years;
    bool m_plainOnly = false; // the zone reports fields the arithmetic cannot (leap seconds)
};
