#include "local_time_cache.h"

#include "civil_time.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kProbeStep = 86400;        // offset changes are further apart than this
constexpr std::int64_t kMaxReach = 400LL * 86400; // how far one search looks either way

std::optional<std::int64_t> OffsetAt(std::int64_t t) {
    const std::optional<LocalBreakdown> local = BreakDownLocal(t);
    if (!local)
        return std::nullopt;
    return local->utcOffset;
}

bool SameFields(const LocalBreakdown& a, const LocalBreakdown& b) {
    return a.year == b.year && a.month == b.month && a.monthDay == b.monthDay && a.weekDay == b.weekDay &&
           a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

// The last time from `from` towards `limit` (either direction) that still has `offset`,
// probing a day at a time and bisecting the step in which the offset changes.
std::int64_t ReachOfOffset(std::int64_t from, std::int64_t limit, std::int64_t offset) {
    const std::int64_t direction = limit >= from ? 1 : -1;
    std::int64_t good = from;
    while (good != limit) {
        const std::int64_t remaining = (limit - good) * direction;
        const std::int64_t probe = good + direction * std::min(remaining, kProbeStep);
        if (OffsetAt(probe) == offset) {
            good = probe;
            continue;
        }
        std::int64_t bad = probe;
        while ((bad - good) * direction > 1) {
            const std::int64_t middle = good + (bad - good) / 2;
            if (OffsetAt(middle) == offset)
                good = middle;
            else
                bad = middle;
        }
        break;
    }
    return good;
}

} // namespace

std::optional<PeriodBins> CLocalTimeCache::Bins(std::int64_t t) {
    LocalBreakdown local;
    if (m_plainOnly) {
        const std::optional<LocalBreakdown> plain = BreakDownLocal(t);
        if (!plain)
            return std::nullopt;
        local = *plain;
    } else {
        const Segment* segment = FindSegment(t);
        if (segment == nullptr)
            return m_plainOnly ? Bins(t) : std::nullopt;
        local = BreakDownAtOffset(t, segment->offset);
    }
    const std::optional<YearBounds> year = BoundsOfYear(local.year);
    if (!year)
        return std::nullopt;
    return BinsFromLocal(local, t, *year);
}

const CLocalTimeCache::Segment* CLocalTimeCache::FindSegment(std::int64_t t) {
    if (m_lastSegment < m_segments.size()) {
        const Segment& last = m_segments[m_lastSegment];
        if (t >= last.first && t <= last.last)
            return &last;
    }
    const auto after = std::upper_bound(m_segments.begin(), m_segments.end(), t,
                                        [](std::int64_t value, const Segment& s) { return value < s.first; });
    if (after != m_segments.begin() && t <= std::prev(after)->last) {
        m_lastSegment = static_cast<std::size_t>(std::prev(after) - m_segments.begin());
        return &*std::prev(after);
    }
    return AddSegment(t, static_cast<std::size_t>(after - m_segments.begin()));
}

// Finds the offset interval around t, kept clear of its neighbours at position - 1 and position.
const CLocalTimeCache::Segment* CLocalTimeCache::AddSegment(std::int64_t t, std::size_t position) {
    const std::optional<LocalBreakdown> local = BreakDownLocal(t);
    if (!local)
        return nullptr;
    if (!SameFields(*local, BreakDownAtOffset(t, local->utcOffset))) {
        m_plainOnly = true;
        return nullptr;
    }
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    std::int64_t lowLimit = t >= kMin + kMaxReach ? t - kMaxReach : kMin;
    std::int64_t highLimit = t <= kMax - kMaxReach ? t + kMaxReach : kMax;
    if (position > 0)
        lowLimit = std::max(lowLimit, m_segments[position - 1].last + 1);
    if (position < m_segments.size())
        highLimit = std::min(highLimit, m_segments[position].first - 1);
    const Segment segment{ReachOfOffset(t, lowLimit, local->utcOffset),
                          ReachOfOffset(t, highLimit, local->utcOffset), local->utcOffset};
    m_segments.insert(m_segments.begin() + static_cast<std::ptrdiff_t>(position), segment);
    m_lastSegment = position;
    return &m_segments[position];
}

std::optional<YearBounds> CLocalTimeCache::BoundsOfYear(std::int64_t year) {
    if (m_haveLastYear && year == m_lastYear)
        return m_lastYearBounds;
    auto found = m_years.find(year);
    if (found == m_years.end())
        found = m_years.emplace(year, LocalYearBounds(year)).first;
    m_haveLastYear = true;
    m_lastYear = year;
    m_lastYearBounds = found->second;
    return found->second;
}
