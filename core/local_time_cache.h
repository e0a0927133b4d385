#pragma once

#include "local_time.h"
#include "period_bins.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

// Local breakdown of many times at once. The zone's UTC offset is constant between its
// transitions, so the offset interval around a time is found once with localtime and the
// fields of every later time inside it are computed arithmetically; the bounds of each
// local year are asked of mktime once. Gives exactly what localtime and mktime give,
// provided the zone has no two offset changes within one probe step (a day) that return to
// the same offset. Build one per batch: it does not follow later changes of TZ.
class CLocalTimeCache {
public:
    // Bins of t in the four periods, or nothing when the platform cannot break t down.
    std::optional<PeriodBins> Bins(std::int64_t t);

    // Number of offset intervals found so far.
    std::size_t SegmentCount() const { return m_segments.size(); }

private:
    // Times first..last (inclusive, UTC seconds) share one UTC offset.
    struct Segment {
        std::int64_t first;
        std::int64_t last;
        std::int64_t offset;
    };

    const Segment* FindSegment(std::int64_t t);
    const Segment* AddSegment(std::int64_t t, std::size_t position);
    std::optional<YearBounds> BoundsOfYear(std::int64_t year);

    std::vector<Segment> m_segments; // sorted and disjoint
    std::size_t m_lastSegment = 0;
    std::unordered_map<std::int64_t, std::optional<YearBounds>> m_years;
    std::int64_t m_lastYear = 0;
    std::optional<YearBounds> m_lastYearBounds;
    bool m_haveLastYear = false;
    bool m_plainOnly = false; // the zone reports fields the arithmetic cannot (leap seconds)
};
