#pragma once

#include <atomic>
#include <cstdint>

// Shared between a running walk and whoever watches it: progress counters that the walk raises
// as it goes, and a stop request that it honours between folders and chunks.
struct WalkControl {
    std::atomic<bool> stopRequested{false};
    std::atomic<std::int64_t> filesFound{0};
    std::atomic<std::int64_t> foldersListed{0};
};

// For readers that add records one by one (a history, a list): every `kRecordsBetweenLooks`
// records they publish how many they have and look at the stop request.
inline constexpr std::int64_t kRecordsBetweenLooks = 4096;
// True when the reader should stop; control may be null (nobody watches).
inline bool PublishAndLookForStop(WalkControl* control, std::int64_t records) {
    if (control == nullptr || records % kRecordsBetweenLooks != 0)
        return false;
    control->filesFound.store(records, std::memory_order_relaxed);
    return control->stopRequested.load(std::memory_order_relaxed);
}
