#include "files_at.h"

#include "analysis_period.h"
#include "c_locale_format.h"
#include "civil_time.h"
#include "local_time.h"
#include "local_time_cache.h"

#include <algorithm>
#include <unordered_map>

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

std::vector<FolderCount> CountByFolder(const CStampPlaces& places, std::span<const CStampStore::Index> records) {
    std::unordered_map<CStampPlaces::FolderIndex, std::size_t> position;
    std::vector<FolderCount> folders;
    for (const CStampStore::Index record : records) {
        const CStampPlaces::FolderIndex folder = places.FolderOf(record);
        const auto [found, added] = position.try_emplace(folder, folders.size());
        if (added)
            folders.push_back({folder, 0});
        ++folders[found->second].files;
    }
    std::stable_sort(folders.begin(), folders.end(),
                     [](const FolderCount& a, const FolderCount& b) { return a.files > b.files; });
    return folders;
}

std::vector<CStampStore::Index> GroupByFolder(const CStampPlaces& places, std::span<const CStampStore::Index> records,
                                              std::span<const FolderCount> folders) {
    // Where each folder's run begins in the grouped list.
    std::unordered_map<CStampPlaces::FolderIndex, std::size_t> next;
    std::size_t start = 0;
    for (const FolderCount& folder : folders) {
        next.emplace(folder.folder, start);
        start += static_cast<std::size_t>(folder.files);
    }
    std::vector<CStampStore::Index> grouped(start);
    for (const CStampStore::Index record : records)
        grouped[next.at(places.FolderOf(record))++] = record;
    return grouped;
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
