#pragma once

#include "bin_range.h"
#include "stamp_store.h"

#include <cstdint>
#include <string>
#include <vector>

// The records whose bin in the view lies in the range, in walk order, binned as the histograms
// bin them: local times, or wall-clock times as they read. A time the platform cannot break
// down is in no bin.
std::vector<CStampStore::Index> RecordsInBins(const CStampStore& store, int view, const BinRange& range);

// A folder and how many of a set of records it holds.
struct FolderCount {
    CStampPlaces::FolderIndex folder = CStampPlaces::kNoFolder;
    std::int64_t files = 0;
    bool operator==(const FolderCount&) const = default;
};


// "2024-03-05 14:30:12" in local time, or as the clock read for a wall-clock time; "@SECONDS"
// for a time the platform cannot break down.
std::string FormatRecordTime(std::int64_t t, TimeBasis basis);

// A folder as lists show it: its path below the chosen folder, "." for the chosen one itself.
std::string FolderListPath(const CStampPlaces& places, CStampPlaces::FolderIndex folder);

// A share in percent with one decimal: "99.9%"; "0.0%" of nothing.
std::string FormatShare(std::int64_t part, std::int64_t whole);
