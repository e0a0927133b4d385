#include "files_at.h"

#include "analysis_period.h"
#include "c_locale_format.h"
#include "civil_time.h"
#include "local_time.h"
#include "local_time_cache.h"

#include <algorithm>
#include <functional>
#include <map>

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

// The deepest folder that holds, with its subfolders, more than half of files, given the files
// each folder holds itself. A folder is always added after its parent, so its index is larger:
// taking the folders from the largest index down hands every count on to the parent before the
// parent is taken, and the first folder over half is the deepest.
FolderCount DeepestMajorityFolder(const CStampPlaces& places,
                                  std::map<CStampPlaces::FolderIndex, std::int64_t, std::greater<>>& held,
                                  std::int64_t files) {
    for (auto folder = held.begin(); folder != held.end(); ++folder) {
        const auto [index, count] = *folder;
        if (2 * count > files)
            return {index, count};
        if (places.ParentOf(index) != CStampPlaces::kNoFolder)
            held[places.ParentOf(index)] += count;
    }
    return {};
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

// Sorting a copy of the times makes each second one run; a short sorted list keeps the fullest.
std::vector<Burst> LargestBursts(const CStampStore& store, int most) {
    std::vector<Burst> bursts;
    if (most <= 0 || store.IsEmpty())
        return bursts;
    const std::span<const FileStamp> stamps = store.span();
    {
        std::vector<std::int64_t> times;
        times.reserve(stamps.size());
        for (const FileStamp& stamp : stamps)
            times.push_back(stamp.m_lastWrite);
        std::sort(times.begin(), times.end());
        const auto larger = [](const Burst& a, const Burst& b) {
            return a.files != b.files ? a.files > b.files : a.second < b.second;
        };
        const auto limit = static_cast<std::size_t>(most);
        for (auto run = times.begin(); run != times.end();) {
            const auto end = std::upper_bound(run, times.end(), *run);
            const Burst burst{*run, static_cast<std::int64_t>(end - run), {}};
            const bool alone = burst.files < 2; // one file is no burst
            // Seconds come in time order, so one holding as many never displaces an earlier one.
            if (!alone && (bursts.size() < limit || larger(burst, bursts.back()))) {
                bursts.insert(std::upper_bound(bursts.begin(), bursts.end(), burst, larger), burst);
                if (bursts.size() > limit)
                    bursts.pop_back();
            }
            run = end;
        }
    }
    if (!store.KeepsPlaces() || store.Kind() == RecordKind::Commits) // all commits share one place
        return bursts;

    // One pass over the records counts each burst's files per folder.
    std::vector<std::map<CStampPlaces::FolderIndex, std::int64_t, std::greater<>>> held(bursts.size());
    for (std::size_t i = 0; i < stamps.size(); ++i) {
        const CStampPlaces::FolderIndex folder = store.Places().FolderOf(static_cast<CStampStore::Index>(i));
        if (folder == CStampPlaces::kNoFolder)
            continue; // a time listed without its path has no folder to name
        const auto burst = std::find_if(bursts.begin(), bursts.end(),
                                        [&](const Burst& b) { return b.second == stamps[i].m_lastWrite; });
        if (burst != bursts.end())
            ++held[static_cast<std::size_t>(burst - bursts.begin())][folder];
    }
    for (std::size_t b = 0; b < bursts.size(); ++b)
        bursts[b].mainFolder = DeepestMajorityFolder(store.Places(), held[b], bursts[b].files);
    return bursts;
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
