#include "files_at.h"

#include "analysis_period.h"
#include "c_locale_format.h"
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

std::int64_t SlotOf(std::int64_t t) {
    const std::int64_t slot = t / kBurstSeconds;
    return slot * kBurstSeconds > t ? slot - 1 : slot; // rounded down for times before 1970 too
}

} // namespace

std::vector<CStampStore::Index> RecordsInBins(const CStampStore& store, int view, const BinRange& range) {
    std::vector<CStampStore::Index> records;
    CLocalTimeCache localTime;
    const std::span<const FileStamp> stamps = store.span();
    for (std::size_t i = 0; i < stamps.size(); ++i) {
        const std::optional<PeriodBins> bins = localTime.Bins(stamps[i].m_lastWrite);
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

std::vector<Burst> LargestBursts(const CStampStore& store, int most) {
    std::vector<Burst> bursts;
    if (most <= 0 || store.IsEmpty())
        return bursts;
    {
        std::vector<std::int64_t> slots;
        slots.reserve(static_cast<std::size_t>(store.GetSize()));
        for (const FileStamp& stamp : store.span())
            slots.push_back(SlotOf(stamp.m_lastWrite));
        std::sort(slots.begin(), slots.end());
        const auto larger = [](const Burst& a, const Burst& b) {
            return a.files != b.files ? a.files > b.files : a.start < b.start;
        };
        for (std::size_t run = 0; run < slots.size();) {
            std::size_t end = run;
            while (end < slots.size() && slots[end] == slots[run])
                ++end;
            const Burst burst{slots[run] * kBurstSeconds, static_cast<std::int64_t>(end - run), {}};
            const bool alone = burst.files < 2; // one file is no burst
            // Slots come in time order, so an equal count never displaces an earlier burst.
            if (!alone && (bursts.size() < static_cast<std::size_t>(most) || larger(burst, bursts.back()))) {
                bursts.insert(std::upper_bound(bursts.begin(), bursts.end(), burst, larger), burst);
                if (bursts.size() > static_cast<std::size_t>(most))
                    bursts.pop_back();
            }
            run = end;
        }
    }
    if (!store.KeepsPlaces())
        return bursts;

    // One pass over the records gives each burst's folders.
    std::vector<std::unordered_map<CStampPlaces::FolderIndex, std::int64_t>> folderFiles(bursts.size());
    std::vector<std::unordered_map<CStampPlaces::FolderIndex, CStampStore::Index>> firstMet(bursts.size());
    const std::span<const FileStamp> stamps = store.span();
    for (std::size_t i = 0; i < stamps.size(); ++i) {
        const std::int64_t start = SlotOf(stamps[i].m_lastWrite) * kBurstSeconds;
        for (std::size_t b = 0; b < bursts.size(); ++b) {
            if (bursts[b].start != start)
                continue;
            const CStampPlaces::FolderIndex folder = store.Places().FolderOf(static_cast<CStampStore::Index>(i));
            ++folderFiles[b][folder];
            firstMet[b].try_emplace(folder, static_cast<CStampStore::Index>(i));
        }
    }
    for (std::size_t b = 0; b < bursts.size(); ++b) {
        FolderCount& main = bursts[b].mainFolder;
        CStampStore::Index mainFirst = 0;
        for (const auto& [folder, files] : folderFiles[b]) {
            const CStampStore::Index first = firstMet[b].at(folder);
            if (files > main.files || (files == main.files && first < mainFirst)) {
                main = {folder, files};
                mainFirst = first;
            }
        }
    }
    return bursts;
}

std::string FormatLocalDateTime(std::int64_t t) {
    const std::optional<LocalBreakdown> local = BreakDownLocal(t);
    if (!local)
        return "@" + std::to_string(t);
    return FormatInCLocale("%04lld-%02d-%02d %02d:%02d:%02d", static_cast<long long>(local->year), local->month,
                           local->monthDay, local->hour, local->minute, local->second);
}

std::string FolderListPath(const CStampPlaces& places, CStampPlaces::FolderIndex folder) {
    std::string path = places.FolderPath(folder);
    return path.empty() ? "." : path;
}

std::string FormatShare(std::int64_t part, std::int64_t whole) {
    return FormatInCLocale("%.1f%%", whole > 0 ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0);
}
