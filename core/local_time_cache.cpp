#include "local_time_cache.h"

#include "civil_time.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kProbeStep = kSecondsPerDay; // offset changes are further apart than this
constexpr std::int64_t kMaxReach = 400 * kSecondsPerDay;

// What the local fields of t add to t: the zone's UTC offset and, in a zone that counts leap
// seconds, minus the leap seconds inserted so far.
std::int64_t FieldOffset(const LocalBreakdown& local, std::int64_t t) {
    return SecondsFromCivil(local.year, local.month, local.monthDay, local.hour, local.minute, local.second) -
           t;
}

// The offset that gives the fields of t by arithmetic; nothing for a leap second itself
// (second 60), whose fields no offset gives.
std::optional<std::int64_t> OffsetAt(std::int64_t t) {
    const std::optional<LocalBreakdown> local = BreakDownLocal(t);
    if (!local || local->second > 59)
        return std::nullopt;
    return FieldOffset(*local, t);
}

bool SameFields(const LocalBreakdown& a, const LocalBreakdown& b) {
    return a.year == b.year && a.month == b.month && a.monthDay == b.monthDay && a.weekDay == b.weekDay &&
           a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

// The last time from `from` towards `limit` (either direction) that still has `offset` (a leap
// second ends a stretch like a change of the zone's offset), probing a day at a time and
// searching the step in which the offset changes.
std::int64_t ReachOfOffset(std::int64_t from, std::int64_t limit, std::int64_t offset) {
    const std::int64_t direction = limit >= from ? 1 : -1;
    std::int64_t good = from;
    while (good != limit) {
        const std::int64_t remaining = (limit - good) * direction;
        const std::int64_t probe = good + direction * std::min(remaining, kProbeStep);
        if (OffsetAt(probe) != offset) {
            // The offset changes within this step: the second next to the change on this side.
            const auto has = [offset](std::int64_t t) -> std::optional<bool> {
                return OffsetAt(t) == offset;
            };
            const auto lacks = [offset](std::int64_t t) -> std::optional<bool> {
                return OffsetAt(t) != offset;
            };
            return direction > 0 ? *FirstSecondReached(good, probe, lacks) - 1
                                 : *FirstSecondReached(probe, good, has);
        }
        good = probe;
    }
    return good;
}

} // namespace

std::optional<PeriodBins> CLocalTimeCache::BinsOffTheHint(std::int64_t t) {
    const Segment* segment = m_plainOnly ? nullptr : FindSegment(t);
    if (segment == nullptr)
        return m_plainOnly ? ReferencePeriodBins(t) : std::nullopt;
    if (!segment->year)
        return std::nullopt;
    return BinsInSegment(*segment, t);
}

const CLocalTimeCache::Segment* CLocalTimeCache::FindSegment(std::int64_t t) {
    std::uint32_t& hint = m_hints[HintSlot(t)];
    const auto after = std::upper_bound(m_segments.begin(), m_segments.end(), t,
                                        [](std::int64_t value, const Segment& s) { return value < s.first; });
    std::size_t index = static_cast<std::size_t>(after - m_segments.begin());
    if (after == m_segments.begin() || t > std::prev(after)->last) {
        if (AddSegment(t, index) == nullptr)
            return nullptr;
    } else {
        --index;
    }
    hint = static_cast<std::uint32_t>(index);
    return &m_segments[index];
}

// Finds the stretch around t, kept clear of its neighbours at position - 1 and position.
const CLocalTimeCache::Segment* CLocalTimeCache::AddSegment(std::int64_t t, std::size_t position) {
    const std::optional<LocalBreakdown> local = BreakDownLocal(t);
    if (!local)
        return nullptr;
    const std::int64_t offset = FieldOffset(*local, t);
    if (!SameFields(*local, BreakDownAtOffset(t, offset))) {
        m_plainOnly = true;
        return nullptr;
    }
    const std::int64_t firstLocalDay = DaysFromCivil(local->year, 1, 1);
    const std::int64_t nextFirstLocalDay = DaysFromCivil(local->year + 1, 1, 1);

    std::int64_t lowLimit = std::max(t - kMaxReach, firstLocalDay * kSecondsPerDay - offset);
    std::int64_t highLimit = std::min(t + kMaxReach, nextFirstLocalDay * kSecondsPerDay - offset - 1);
    if (position > 0)
        lowLimit = std::max(lowLimit, m_segments[position - 1].last + 1);
    if (position < m_segments.size())
        highLimit = std::min(highLimit, m_segments[position].first - 1);

    auto year = m_years.find(local->year);
    if (year == m_years.end())
        year = m_years.emplace(local->year, LocalYearBounds(local->year)).first;

    const Segment segment{ReachOfOffset(t, lowLimit, offset),
                          ReachOfOffset(t, highLimit, offset),
                          offset,
                          firstLocalDay,
                          year->second,
                          IsLeapYear(local->year)};
    m_segments.insert(m_segments.begin() + static_cast<std::ptrdiff_t>(position), segment);
    return &m_segments[position];
}
