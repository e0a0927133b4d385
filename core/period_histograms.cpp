#include "period_histograms.h"

#include "analysis_period.h"
#include "local_time_cache.h"
#include "stamp_store.h"
#include "time_ordered_bins.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <new>

namespace {

std::int64_t MinuteOf(std::int64_t t) {
    return t / 60 - (t % 60 < 0 ? 1 : 0);
}

// The first second of a minute; a minute so early that it has none (it begins before the
// earliest time there is) gives the earliest time, which no calendar can break down either.
std::int64_t MinuteStart(std::int64_t minute) {
    std::int64_t start = 0;
    return __builtin_mul_overflow(minute, 60, &start) ? std::numeric_limits<std::int64_t>::min() : start;
}

// Minutes as offsets from the earliest are marked in a bitmap when the bitmap is no larger than
// about one word per record (plus half a megabyte); farther spreads are sorted instead.
constexpr std::uint64_t kBitmapSpareWords = 1 << 16;

std::vector<std::int64_t> MinutesByBitmap(std::span<const FileStamp> stamps, std::int64_t first,
                                          std::uint64_t spread) {
    std::vector<std::uint64_t> seen(spread / 64 + 1, 0);
    for (const FileStamp& stamp : stamps) {
        const std::uint64_t offset =
            static_cast<std::uint64_t>(MinuteOf(stamp.m_lastWrite)) - static_cast<std::uint64_t>(first);
        seen[offset / 64] |= std::uint64_t{1} << (offset % 64);
    }
    std::size_t count = 0;
    for (const std::uint64_t word : seen)
        count += static_cast<std::size_t>(std::popcount(word));
    std::vector<std::int64_t> starts;
    starts.reserve(count);
    for (std::size_t w = 0; w < seen.size(); ++w) {
        for (std::uint64_t word = seen[w]; word != 0; word &= word - 1) {
            const std::uint64_t offset = w * 64 + static_cast<std::uint64_t>(std::countr_zero(word));
            starts.push_back(
                MinuteStart(static_cast<std::int64_t>(static_cast<std::uint64_t>(first) + offset)));
        }
    }
    return starts;
}

std::vector<std::int64_t> MinutesBySorting(std::span<const FileStamp> stamps) {
    std::vector<std::int64_t> minutes;
    minutes.reserve(stamps.size());
    for (const FileStamp& stamp : stamps)
        minutes.push_back(MinuteOf(stamp.m_lastWrite));
    std::sort(minutes.begin(), minutes.end());
    minutes.erase(std::unique(minutes.begin(), minutes.end()), minutes.end());
    for (std::int64_t& minute : minutes)
        minute = MinuteStart(minute);
    return minutes;
}

std::int64_t TimeOf(const FileStamp& stamp) {
    return stamp.m_lastWrite;
}

std::int64_t TimeOf(std::int64_t t) {
    return t;
}

} // namespace

std::int64_t ActiveMinuteStart(std::int64_t t) {
    return MinuteStart(MinuteOf(t));
}

std::vector<std::int64_t> ActiveMinuteStarts(std::span<const FileStamp> stamps) {
    if (stamps.empty())
        return {};
    std::int64_t first = MinuteOf(stamps.front().m_lastWrite);
    std::int64_t last = first;
    for (const FileStamp& stamp : stamps) {
        const std::int64_t minute = MinuteOf(stamp.m_lastWrite);
        first = std::min(first, minute);
        last = std::max(last, minute);
    }
    const std::uint64_t spread = static_cast<std::uint64_t>(last) - static_cast<std::uint64_t>(first);
    if (spread / 64 <= stamps.size() + kBitmapSpareWords)
        return MinutesByBitmap(stamps, first, spread);
    return MinutesBySorting(stamps);
}

void CPeriodHistograms::SizeAndZero() {
    m_yearBins.SetSize(BinsForView(VIEW_YEAR));
    m_monthBins.SetSize(BinsForView(VIEW_MONTH));
    m_weekBins.SetSize(BinsForView(VIEW_WEEK));
    m_dayBins.SetSize(BinsForView(VIEW_DAY));
    m_yearBins.Zero();
    m_monthBins.Zero();
    m_weekBins.Zero();
    m_dayBins.Zero();
    m_nBinned = 0;
    m_nCounted = 0;
}

void CPeriodHistograms::RecountWrittenIn(const CTimeOrderedBins& ordered, const DateRange& range,
                                         CountRule rule) {
    SizeAndZero();
    m_countRule = rule;
    const auto count = [this](const std::array<std::uint16_t, 4>& bins) {
        ++m_nCounted;
        if (bins[VIEW_DAY] == CTimeOrderedBins::kNoBin)
            return;
        ++m_dayBins[bins[VIEW_DAY]];
        ++m_weekBins[bins[VIEW_WEEK]];
        ++m_monthBins[bins[VIEW_MONTH]];
        ++m_yearBins[bins[VIEW_YEAR]];
        ++m_nBinned;
    };
    const std::span<const CTimeOrderedBins::Entry> written = ordered.WrittenIn(range);
    if (rule == CountRule::Files) {
        for (const CTimeOrderedBins::Entry& entry : written)
            count(entry.bins);
        return;
    }
    // In time order the records of one minute follow one another: each minute is counted at its first.
    std::int64_t lastMinute = 0;
    for (std::size_t i = 0; i < written.size(); ++i) {
        const std::int64_t minute = MinuteOf(written[i].time);
        if (i == 0 || minute != lastMinute)
            count(written[i].minuteBins);
        lastMinute = minute;
    }
}

void CPeriodHistograms::RebuildHistograms(const CStampStore& store, CountRule rule) {
    SizeAndZero();
    m_countRule = rule;
    const auto rebuild = [this, &store](const auto& times) {
        WithPeriodBinning(store.Basis() == TimeBasis::WallClock,
                          [&](const auto& binsOf) { Recount(times, binsOf); });
    };
    if (rule == CountRule::Files)
        rebuild(store.span());
    else
        rebuild(ActiveMinuteStarts(store.span()));
}

template <typename Times, typename BinsOf>
void CPeriodHistograms::Recount(const Times& times, BinsOf binsOf) {
    SizeAndZero();
    for (const auto& time : times) {
        ++m_nCounted;
        const std::optional<PeriodBins> bins = binsOf(TimeOf(time));
        if (!bins)
            continue;
        ++m_dayBins[bins->day];
        ++m_weekBins[bins->week];
        ++m_monthBins[bins->month];
        ++m_yearBins[bins->year];
        ++m_nBinned;
    }
}

const Histogram* CPeriodHistograms::ForView(int view) const {
    switch (view) {
    case VIEW_DAY:
        return &m_dayBins;
    case VIEW_WEEK:
        return &m_weekBins;
    case VIEW_MONTH:
        return &m_monthBins;
    case VIEW_YEAR:
        return &m_yearBins;
    default:
        return nullptr;
    }
}

std::string FormatAnalysisTitle(std::int64_t files, const std::string& folder,
                                const CPeriodHistograms& histograms, RecordKind kind,
                                const std::string& rangeName) {
    std::string title = FormatFilesTitle(files, folder, kind);
    if (!rangeName.empty())
        title += ", " + rangeName;
    if (histograms.m_countRule == CountRule::ActiveMinutes)
        title += " (" + std::to_string(histograms.m_nCounted) + " active minutes)";
    return title;
}

const char* CountedUnits(CountRule rule, RecordKind kind) {
    if (rule == CountRule::ActiveMinutes)
        return "minute(s)";
    return kind == RecordKind::Commits ? "commit(s)" : "file(s)";
}
