#pragma once

#include <cstddef>
#include <cstdint>

// What a walk could not see.
struct ScanProblems {
    std::int64_t unreadableFolders = 0; // folders below the chosen one that could not be listed
    int rootError = 0;                  // errno of the chosen folder itself; 0 when it was listed
    std::size_t rootIndex = 0;          // which of several chosen folders rootError belongs to
    std::int64_t skippedLoops = 0;      // folders not entered again because they are their own ancestor
};
