#include "entry_filter.h"

#include "glob_pattern.h"
#include "wall_clock_time.h"

#include <filesystem>

std::string VersionControlFolderList() {
    std::string names;
    for (const std::string_view name : kVersionControlFolders)
        names += (names.empty() ? "" : " ") + std::string(name);
    return names;
}

namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// Why a pattern is refused: it names no entry ("/", "./") or opens a '[' that it never closes.
std::string PatternProblem(std::string_view pattern) {
    if (!LeaveOutPattern::Read(pattern))
        return "The pattern \"" + std::string(pattern) + "\" names no entry.";
    if (!LiteralsOf(pattern).wellFormed)
        return "The pattern \"" + std::string(pattern) + "\" opens a '[' that it never closes.";
    return {};
}

// Why a pattern as it is kept is refused: PatternProblem, or blanks at its ends.
std::string KeptPatternProblem(const std::string& pattern) {
    if (pattern != Trimmed(pattern))
        return "The pattern \"" + pattern + "\" has blanks at its ends.";
    return PatternProblem(pattern);
}

} // namespace

std::string AddPattern(EntryFilter& filter, std::string_view typed, const std::string& folder) {
    const std::string_view pattern = Trimmed(typed);
    std::string problem = PatternProblem(pattern);
    if (!problem.empty())
        return problem;
    if (folder.empty())
        filter.excludedNames.emplace_back(pattern);
    else
        filter.folderRules.push_back({folder, std::string(pattern)});
    return {};
}

std::string SetRangeEnd(std::optional<std::int64_t>& end, std::string_view typed) {
    const std::string_view text = Trimmed(typed);
    const std::optional<WallClockTime> wall = ParseIsoDateTime(text);
    const std::optional<std::int64_t> first = wall ? FirstSecondShowing(*wall, LocalUtcOffset) : std::nullopt;
    if (!first)
        return "\"" + std::string(text) + "\" is not a date such as 2024-03-31 or 2024-03-31T14:30.";
    end = first;
    return {};
}

std::string RulesProblem(const EntryFilter& filter) {
    for (const std::string& pattern : filter.excludedNames)
        if (std::string problem = KeptPatternProblem(pattern); !problem.empty())
            return problem;
    for (const FolderRule& rule : filter.folderRules) {
        if (rule.folder != RuleFolder(rule.folder))
            return "The folder \"" + rule.folder + "\" of a rule is not a whole path.";
        if (std::string problem = KeptPatternProblem(rule.pattern); !problem.empty())
            return problem;
    }
    if (filter.since && filter.until && *filter.since >= *filter.until)
        return "The time range is empty: its end must come after its start.";
    return {};
}

bool WrittenInRange(std::int64_t lastWrite, const EntryFilter& filter) {
    return (!filter.since || lastWrite >= *filter.since) && (!filter.until || lastWrite < *filter.until);
}

std::int64_t RuleCount(const EntryFilter& filter) {
    return static_cast<std::int64_t>(filter.excludedNames.size() + filter.folderRules.size()) +
           (filter.excludeVersionControl ? 1 : 0) + (filter.oneFileSystem ? 1 : 0) +
           (filter.since || filter.until ? 1 : 0);
}

std::string RuleFolder(std::string_view folder) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(folder), error);
    if (error)
        path = std::filesystem::path(folder);
    std::string normal = path.lexically_normal().string();
    while (normal.size() > 1 && normal.ends_with('/'))
        normal.pop_back();
    return normal;
}

EntryFilter RulesInForce(const EntryFilter& rules, std::span<const std::string> folders) {
    EntryFilter inForce = rules;
    inForce.folderRules.clear();
    if (folders.size() != 1)
        return inForce;
    const std::string folder = RuleFolder(folders.front());
    for (const FolderRule& rule : rules.folderRules)
        if (rule.folder == folder)
            inForce.excludedNames.push_back(rule.pattern);
    return inForce;
}
