#include "files_at.h"

#include "analysis_period.h"
#include "c_locale_format.h"
#include "civil_time.h"
#include "local_time.h"
#include "local_time_cache.h"

#include <algorithm>

namespace {

int BinOfView(const PeriodBins& bins, int view) {
    switch (view) {
    case VIEW_WEEK:
        return bins.week;
    case VIEW_MONTH:
        return bins.month;
    case VIEW_YEAR:
        return bins.year;
    default:
        return bins.day;
    }
}

} // namespace

std::vector<CStampStore::Index> RecordsInBins(const CStampStore& store, int view, const BinRange& range) {
    std::vector<CStampStore::Index> records;
    CLocalTimeCache localTime;
    const bool wallClock = store.Basis() == TimeBasis::WallClock;
    const std::span<const FileStamp> stamps = store.span();
    for (std::size_t i = 0; i < stamps.size(); ++i) {
        const std::int64_t t = stamps[i].m_lastWrite;
        const std::optional<PeriodBins> bins = wallClock ? UtcPeriodBins(t) : localTime.Bins(t);
        if (bins && range.Contains(BinOfView(*bins, view)))
            records.push_back(static_cast<CStampStore::Index>(i));
    }
    return records;
}

std::string FormatRecordTime(std::int64_t t, TimeBasis basis) {
    const std::optional<LocalBreakdown> local =
        basis == TimeBasis::WallClock ? BreakDownUtc(t) : BreakDownLocal(t);
    if (!local)
        return "@" + std::to_string(t);
    return IsoDateTimeText(*local, ' ');
}

std::string FolderListPath(const CStampPlaces& places, CStampPlaces::FolderIndex folder) {
    std::string path = places.FolderPath(folder);
    return path.empty() ? "." : path;
}

std::string FormatShare(std::int64_t part, std::int64_t whole) {
    return FormatInCLocale("%.1f%%", whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0);
}
