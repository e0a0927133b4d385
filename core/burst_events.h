#pragma once

#include "files_at.h"
#include "stamp_store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// How far apart two seconds of one burst may lie: a second joins the burst when it comes at
// most this many seconds after the burst's last second (10 and 12 join, 10 and 13 do not).
inline constexpr std::int64_t kBurstGapSeconds = 2;

// One burst of writing: seconds that follow one another closely and write into the same folder.
struct BurstEvent {
    std::int64_t start = 0; // its first second, seconds since 1970 UTC
    std::int64_t end = 0;   // its last second
    std::int64_t files = 0;
    // The deepest folder holding more than half of its files, its subfolders' included: the
    // one to leave out to leave the burst out. None without places, for commits, or when no
    // folder holds more than half (times listed without their paths).
    FolderCount mainFolder;
    bool operator==(const BurstEvent&) const = default;
};

// The bursts of a store: the largest ones, and how many there are and hold together.
struct BurstEvents {
    std::vector<BurstEvent> largest; // largest first; of bursts as large, the earlier first
    std::int64_t count = 0;          // every burst, each of two records at least
    std::int64_t files = 0;          // the records they hold together
};

// The records of the store taken in time order, second by second. A second joins the burst
// before it when it comes at most kBurstGapSeconds after the burst's last second and writes into
// the same folder: some folder below the top (the analysed folder) holds more than half of the
// burst's files and more than half of the second's files, or the two have the same main folder
// (both spread over the whole tree). Records without places (a store that keeps none, a
// history's commits, a time list's times without their path) join by time alone. Every record of
// a second goes to one burst, so a burst holds exactly the records written from its start to its
// end. One file is no burst. Returns the `most` largest and the totals. Throws std::bad_alloc
// when memory runs out.
BurstEvents FindBurstEvents(const CStampStore& store, int most);

// When a burst was written: "2024-03-05 16:48:38 to 16:48:51", the end's date given only when
// it is another day; the one time alone for a burst of one second.
std::string FormatBurstSpan(const BurstEvent& burst, TimeBasis basis);

// "68% of these files were written in 40 bursts" (or commits) when the bursts hold more than
// half of the records; nothing else. The share is rounded down.
std::optional<std::string> BurstShareText(const BurstEvents& bursts, std::int64_t records, RecordKind kind);
