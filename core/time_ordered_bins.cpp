#include "time_ordered_bins.h"

#include "local_time_cache.h"
#include "period_histograms.h"
#include "stamp_store.h"

#include <algorithm>

namespace {

std::array<std::uint16_t, 4> PackedBins(const std::optional<PeriodBins>& bins) {
    if (!bins)
        return {CTimeOrderedBins::kNoBin, CTimeOrderedBins::kNoBin, CTimeOrderedBins::kNoBin,
                CTimeOrderedBins::kNoBin};
    std::array<std::uint16_t, 4> packed{};
    packed[VIEW_DAY] = static_cast<std::uint16_t>(bins->day);
    packed[VIEW_WEEK] = static_cast<std::uint16_t>(bins->week);
    packed[VIEW_MONTH] = static_cast<std::uint16_t>(bins->month);
    packed[VIEW_YEAR] = static_cast<std::uint16_t>(bins->year);
    return packed;
}

} // namespace

void CTimeOrderedBins::Build(const CStampStore& store) {
    m_entries.clear();
    m_entries.reserve(static_cast<std::size_t>(store.GetSize()));
    for (const FileStamp& stamp : store.span())
        m_entries.push_back(Entry{stamp.m_lastWrite, {}, {}});
    std::sort(m_entries.begin(), m_entries.end(),
              [](const Entry& a, const Entry& b) { return a.time < b.time; });
    WithPeriodBinning(store.Basis() == TimeBasis::WallClock, [this](const auto& binsOf) {
        const Entry* previous = nullptr;
        for (Entry& entry : m_entries) {
            entry.bins = PackedBins(binsOf(entry.time));
            const std::int64_t minute = ActiveMinuteStart(entry.time);
            entry.minuteBins = previous != nullptr && ActiveMinuteStart(previous->time) == minute
                                   ? previous->minuteBins
                                   : PackedBins(binsOf(minute));
            previous = &entry;
        }
    });
}

std::span<const CTimeOrderedBins::Entry> CTimeOrderedBins::WrittenIn(const DateRange& range) const {
    const auto before = [](const Entry& entry, std::int64_t t) { return entry.time < t; };
    const auto first = std::lower_bound(m_entries.begin(), m_entries.end(), range.since, before);
    const auto end = std::lower_bound(first, m_entries.end(), std::max(range.since, range.until), before);
    return {first, end};
}
