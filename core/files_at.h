#pragma once

#include "bin_range.h"
#include "stamp_store.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The records whose bin in the view lies in the range, in walk order. A time the platform
// cannot break down is in no bin, as in the histograms.
std::vector<CStampStore::Index> RecordsInBins(const CStampStore& store, int view, const BinRange& range);

// A folder and how many of a set of records it holds.
struct FolderCount {
    CStampPlaces::FolderIndex folder = CStampPlaces::kNoFolder;
    std::int64_t files = 0;
    bool operator==(const FolderCount&) const = default;
};

// The folders of the records with their counts, largest first; folders with equal counts in
// the order the walk met them. Needs places kept at least at the Folders detail.
std::vector<FolderCount> CountByFolder(const CStampPlaces& places, std::span<const CStampStore::Index> records);

// The records grouped by folder in the order of CountByFolder, walk order inside each folder.
std::vector<CStampStore::Index> GroupByFolder(const CStampPlaces& places, std::span<const CStampStore::Index> records,
                                              std::span<const FolderCount> folders);

// Ten seconds that hold many files: the slot starting at start (a multiple of ten seconds
// since 1970 UTC), its file count, and the folder that holds most of them.
struct Burst {
    std::int64_t start = 0;
    std::int64_t files = 0;
    FolderCount mainFolder;
    bool operator==(const Burst&) const = default;
};

inline constexpr std::int64_t kBurstSeconds = 10;

// The `most` ten-second slots holding the most files, two at least, largest first (equal
// counts: earlier first). The main folders need places kept; without them they name no folder.
std::vector<Burst> LargestBursts(const CStampStore& store, int most);

// "2024-03-05 14:30:12" in local time; "@SECONDS" for a time the platform cannot break down.
std::string FormatLocalDateTime(std::int64_t t);

// A folder as lists show it: its path below the chosen folder, "." for the chosen one itself.
std::string FolderListPath(const CStampPlaces& places, CStampPlaces::FolderIndex folder);

// A share in percent with one decimal: "99.9%"; "0.0%" of nothing.
std::string FormatShare(std::int64_t part, std::int64_t whole);
