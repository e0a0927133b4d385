#include "burst_events.h"

#include "analysis_period.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace {

using FolderIndex = CStampPlaces::FolderIndex;
constexpr FolderIndex kNoFolder = CStampPlaces::kNoFolder;

// A record's time and folder, sorted so that each second is one run and, inside it, each folder.
struct Written {
    std::int64_t time = 0;
    FolderIndex folder = kNoFolder;
    bool operator<(const Written& other) const {
        return time != other.time ? time < other.time : folder < other.folder;
    }
};

// The files below each folder, its subfolders' included.
using SubtreeCounts = std::unordered_map<FolderIndex, std::int64_t>;

// The files of one second below each folder, subfolders included, into summed in folder order:
// each run of a folder counts for the folder and for every folder above it. counts is working space.
void CountSecondSubtrees(const CStampPlaces& places, std::span<const Written> second,
                         std::vector<FolderCount>& counts, std::vector<FolderCount>& summed) {
    counts.clear();
    summed.clear();
    for (auto run = second.begin(); run != second.end();) {
        const auto end =
            std::find_if(run, second.end(), [&](const Written& w) { return w.folder != run->folder; });
        for (FolderIndex folder = run->folder; folder != kNoFolder; folder = places.ParentOf(folder))
            counts.push_back({folder, end - run});
        run = end;
    }
    std::sort(counts.begin(), counts.end(),
              [](const FolderCount& a, const FolderCount& b) { return a.folder < b.folder; });
    for (const FolderCount& count : counts) {
        if (!summed.empty() && summed.back().folder == count.folder)
            summed.back().files += count.files;
        else
            summed.push_back(count);
    }
}

// The folders holding more than half of some files make one chain down from the top; a folder
// is always added after its parent, so the deepest of them has the largest index.
FolderIndex DeepestMajority(std::span<const FolderCount> subtree, std::int64_t files) {
    FolderIndex deepest = kNoFolder;
    for (const FolderCount& count : subtree)
        if (2 * count.files > files)
            deepest = count.folder; // in folder order, so the last one found is the deepest
    return deepest;
}

// The deepest folder above or at first or second (each a main folder of part of the files) that
// holds more than half of all of them: any folder holding more than half of the whole holds more
// than half of one part, so it lies on one of the two chains.
FolderIndex DeepestMajorityOnChains(const CStampPlaces& places, const SubtreeCounts& subtree,
                                    std::int64_t files, FolderIndex first, FolderIndex second) {
    FolderIndex deepest = kNoFolder;
    for (const FolderIndex start : {first, second})
        for (FolderIndex folder = start; folder != kNoFolder; folder = places.ParentOf(folder)) {
            const auto found = subtree.find(folder);
            if (found != subtree.end() && 2 * found->second > files) {
                if (deepest == kNoFolder || folder > deepest)
                    deepest = folder;
                break; // the folders above hold more, but are not deeper
            }
        }
    return deepest;
}

// Whether a second whose main folder is second writes into the same folder as a burst whose main
// folder is burst: their nearest common folder lies below a top folder, or they are the same.
bool WriteIntoSameFolder(const CStampPlaces& places, FolderIndex burst, FolderIndex second) {
    if (burst == second)
        return true;
    if (burst == kNoFolder || second == kNoFolder)
        return false;
    // A parent's index is smaller than its child's: climbing from the larger meets the common
    // folder, or leaves its top when the two lie in trees of their own (several folders analysed).
    while (burst != second) {
        FolderIndex& deeper = burst > second ? burst : second;
        deeper = places.ParentOf(deeper);
        if (deeper == kNoFolder)
            return false;
    }
    return places.ParentOf(burst) != kNoFolder;
}

// Whether a later second comes at most kBurstGapSeconds after last (for any two times).
bool WithinGap(std::int64_t last, std::int64_t later) {
    return static_cast<std::uint64_t>(later) - static_cast<std::uint64_t>(last) <=
           static_cast<std::uint64_t>(kBurstGapSeconds);
}

bool Larger(const BurstEvent& a, const BurstEvent& b) {
    return a.files != b.files ? a.files > b.files : a.start < b.start;
}

} // namespace

BurstEvents FindBurstEvents(const CStampStore& store, int most) {
    BurstEvents result;
    if (store.IsEmpty())
        return result;
    const bool byFolder =
        store.KeepsPlaces() && store.Kind() != RecordKind::Commits; // commits share one place
    const CStampPlaces& places = store.Places();
    const std::span<const FileStamp> stamps = store.span();
    std::vector<Written> written(stamps.size());
    for (std::size_t i = 0; i < stamps.size(); ++i)
        written[i] = {stamps[i].m_lastWrite,
                      byFolder ? places.FolderOf(static_cast<CStampStore::Index>(i)) : kNoFolder};
    std::sort(written.begin(), written.end());

    // The largest bursts so far, in a heap with the smallest of them at its front.
    const auto limit = static_cast<std::size_t>(std::max(most, 0));
    std::vector<BurstEvent>& kept = result.largest;
    BurstEvent burst;
    // The burst's files below each folder: a list while it is one second, as most are, and a
    // table once a second joins it.
    std::vector<FolderCount> firstSecond;
    SubtreeCounts burstSubtree;
    bool severalSeconds = false;
    const auto close = [&] {
        if (burst.files < 2)
            return; // one file is no burst
        if (burst.mainFolder.folder != kNoFolder && severalSeconds)
            burst.mainFolder.files = burstSubtree.at(burst.mainFolder.folder);
        else if (burst.mainFolder.folder != kNoFolder)
            burst.mainFolder.files =
                std::find_if(firstSecond.begin(), firstSecond.end(), [&](const FolderCount& c) {
                    return c.folder == burst.mainFolder.folder;
                })->files;
        ++result.count;
        result.files += burst.files;
        if (kept.size() < limit) {
            kept.push_back(burst);
            std::push_heap(kept.begin(), kept.end(), Larger);
        } else if (limit > 0 && Larger(burst, kept.front())) {
            std::pop_heap(kept.begin(), kept.end(), Larger);
            kept.back() = burst;
            std::push_heap(kept.begin(), kept.end(), Larger);
        }
    };
    std::vector<FolderCount> counts;
    std::vector<FolderCount> subtree;
    const std::span<const Written> all(written);
    for (std::size_t start = 0; start < all.size();) {
        std::size_t end = start;
        while (end < all.size() && all[end].time == all[start].time)
            ++end;
        const std::span<const Written> second = all.subspan(start, end - start);
        const auto files = static_cast<std::int64_t>(second.size());
        CountSecondSubtrees(places, second, counts, subtree);
        const FolderIndex main = DeepestMajority(subtree, files);
        const bool joins = burst.files > 0 && WithinGap(burst.end, second.front().time) &&
                           WriteIntoSameFolder(places, burst.mainFolder.folder, main);
        if (!joins) {
            close();
            burst = {second.front().time, second.front().time, 0, {main, 0}};
            firstSecond.swap(subtree);
            severalSeconds = false;
        } else {
            if (!severalSeconds) {
                // A fresh table: clearing a large one would cost its size for every burst after it.
                SubtreeCounts().swap(burstSubtree);
                for (const FolderCount& count : firstSecond)
                    burstSubtree[count.folder] += count.files;
                severalSeconds = true;
            }
            for (const FolderCount& count : subtree)
                burstSubtree[count.folder] += count.files;
        }
        burst.end = second.front().time;
        burst.files += files;
        if (joins)
            burst.mainFolder.folder =
                DeepestMajorityOnChains(places, burstSubtree, burst.files, burst.mainFolder.folder, main);
        start = end;
    }
    close();
    std::sort(kept.begin(), kept.end(), Larger);
    return result;
}

std::string FormatBurstSpan(const BurstEvent& burst, TimeBasis basis) {
    std::string start = FormatRecordTime(burst.start, basis);
    if (burst.end == burst.start)
        return start;
    std::string end = FormatRecordTime(burst.end, basis);
    const std::size_t date = end.find(' ') + 1; // "@SECONDS" has no date to leave out
    if (date > 0 && start.compare(0, date, end, 0, date) == 0)
        end.erase(0, date);
    return start + " to " + end;
}

std::optional<std::string> BurstShareText(const BurstEvents& bursts, std::int64_t records, RecordKind kind) {
    if (records <= 0 || 2 * bursts.files <= records)
        return std::nullopt;
    return std::to_string(100 * bursts.files / records) + "% of these " + RecordNoun(kind) +
           " were written in " + CountOf(bursts.count, "burst", "bursts");
}
