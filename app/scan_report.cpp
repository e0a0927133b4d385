#include "scan_report.h"

#include "analysis_period.h"
#include "stamp_store.h"

#include <cerrno>
#include <cstring>
#include <vector>

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
    if (problems.unreadableFolders > 0)
        return CountOf(problems.unreadableFolders, "folder", "folders") + " could not be read.";
    return std::nullopt;
}

std::optional<std::string> LeftOutMessage(const LeftOutCounts& leftOut) {
    std::vector<std::string> parts;
    if (leftOut.excludedEntries.value_or(0) > 0)
        parts.push_back(CountOf(*leftOut.excludedEntries, "entry", "entries"));
    if (leftOut.filesOutsideRange.value_or(0) > 0)
        parts.push_back(CountOf(*leftOut.filesOutsideRange, "file", "files") + " outside the time range");
    if (leftOut.mountPoints > 0)
        parts.push_back(CountOf(leftOut.mountPoints, "mount point", "mount points"));
    if (parts.empty())
        return std::nullopt;
    std::string message = parts.front();
    for (std::size_t i = 1; i < parts.size(); ++i)
        message += (i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return message + " left out.";
}

std::optional<std::string> AnalysisOutcomeMessage(CBackgroundWalk::Outcome outcome, const SourceLoad& load,
                                                  const ScanProblems& problems, const std::string& label) {
    switch (outcome) {
    case CBackgroundWalk::Outcome::Stopped:
        return std::string("Analysis stopped.");
    case CBackgroundWalk::Outcome::NoThread:
        return OutOfMemoryMessage(label);
    case CBackgroundWalk::Outcome::Complete:
        break;
    }
    if (load.failure != SourceLoad::Failure::None)
        return StatusSentence(load.message);
    std::vector<std::string> sentences;
    for (const std::string& notice : load.notices)
        sentences.push_back(StatusSentence(notice));
    for (const auto& part : {ScanProblemMessage(problems, label), LeftOutMessage(load.leftOut)})
        if (part)
            sentences.push_back(*part);
    if (sentences.empty())
        return std::nullopt;
    std::string message = sentences.front();
    for (std::size_t i = 1; i < sentences.size(); ++i)
        message += " " + sentences[i];
    return message;
}

std::string StatusSentence(std::string problem) {
    if (!problem.empty() && problem.front() >= 'a' && problem.front() <= 'z')
        problem.front() = static_cast<char>(problem.front() - 'a' + 'A');
    return problem + '.';
}
