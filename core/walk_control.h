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
