#include "scan_report.h"

#include "stamp_store.h"

#include <cstring>

std::optional<std::string> ScanProblemMessage(const ScanProblems& problems, const std::string& folder) {
    if (problems.rootError != 0)
        return "Cannot read " + folder + ": " + std::strerror(problems.rootError) + ".";
    if (problems.unreadableFolders == 1)
        return std::string("1 folder could not be read.");
    if (problems.unreadableFolders > 1)
        return std::to_string(problems.unreadableFolders) + " folders could not be read.";
    return std::nullopt;
}
