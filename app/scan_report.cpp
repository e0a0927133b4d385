#include "scan_report.h"

#include "stamp_store.h"

#include <cerrno>
#include <cstring>

namespace {

std::string OutOfMemoryMessage(const std::string& folder) {
    return "Not enough memory to analyze " + folder + ".";
}

} // namespace

std::optional<std::string> ScanProblemMessage(const ScanProblems& problems, const std::string& folder) {
    if (problems.rootError == ENOMEM)
        return OutOfMemoryMessage(folder);
    if (problems.rootError != 0)
        return "Cannot read " + folder + ": " + std::strerror(problems.rootError) + ".";
    if (problems.unreadableFolders == 1)
        return std::string("1 folder could not be read.");
    if (problems.unreadableFolders > 1)
        return std::to_string(problems.unreadableFolders) + " folders could not be read.";
    return std::nullopt;
}

std::optional<std::string> AnalysisOutcomeMessage(CBackgroundWalk::Outcome outcome,
                                                  const ScanProblems& problems, const std::string& folder) {
    switch (outcome) {
    case CBackgroundWalk::Outcome::Stopped:
        return std::string("Analysis stopped.");
    case CBackgroundWalk::Outcome::NoThread:
        return OutOfMemoryMessage(folder);
    case CBackgroundWalk::Outcome::Complete:
        break;
    }
    return ScanProblemMessage(problems, folder);
}
