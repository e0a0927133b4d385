#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What a walk leaves out, as the report's options and the window's Leave Out dialog both give
// it: entries by name or by path, the version-control folders, other file systems, and files
// written outside a time range. Both read and check every rule here, so that they accept and
// refuse the same texts with the same messages.
//
// A pattern is a shell pattern (fnmatch). One without a '/' is matched against an entry's name
// at any depth. A leading '/' (or "./") anchors a pattern to the analysed folder, and a pattern
// with a '/' inside is matched against the entry's path below it ("build/*.o"), where '*'
// stays within one folder and a "**" part matches any number of folders ("src/**/gen",
// "**/cache"). A trailing '/' matches folders only ("build/").
//
// A pattern applies everywhere, or only below one analysed folder: the window ties the rules
// made in its Files window to the folder they were made in, so that they never leave out
// anything of another analysis.
struct FolderRule {
    std::string folder;  // the analysed folder, as RuleFolder gives it
    std::string pattern; // read below that folder as the patterns that apply everywhere are
    bool operator==(const FolderRule&) const = default;
};
struct EntryFilter {
    std::vector<std::string> excludedNames; // the patterns that apply everywhere, as accepted
    std::vector<FolderRule> folderRules;    // the patterns tied to one analysed folder
    bool excludeVersionControl = false;     // .git, .hg, .svn, .bzr
    bool oneFileSystem = false;             // stay on the chosen folder's file system
    std::optional<std::int64_t> since;      // the first second kept
    std::optional<std::int64_t> until;      // the first second no longer kept

    bool operator==(const EntryFilter&) const = default;
    // Whether entries are left out by name or path.
    bool LeavesOutNames() const {
        return excludeVersionControl || !excludedNames.empty() || !folderRules.empty();
    }
};

// How many rules the filter holds: each pattern, each switch that is on, and the time range as one.
std::int64_t RuleCount(const EntryFilter& filter);

// A folder as a rule is tied to it: absolute (from the current folder) and without "." or ".."
// parts or a trailing '/' ("/usr" for "/usr/./lib/.."). Links are not followed.
std::string RuleFolder(std::string_view folder);

// The rules in force for an analysis of the folders: those that apply everywhere, and the ones
// tied to the folder when it is analysed alone, as patterns that apply everywhere. Rules tied to
// a folder never apply to several analysed together, where they would match below each.
EntryFilter RulesInForce(const EntryFilter& rules, std::span<const std::string> folders);

// What a walk left out; the counts of entries and of files are there only when that kind of
// leaving out was asked for.
struct LeftOutCounts {
    std::optional<std::int64_t> excludedEntries;   // entries left out for their names or paths
    std::optional<std::int64_t> filesOutsideRange; // files written outside the time range
    std::int64_t mountPoints = 0;                  // mount points not entered
    std::vector<std::string> mountPointPaths;      // the first kMountPointPathsKept of them, sorted
};
// How many mount points not entered are named; the rest are only counted.
inline constexpr std::size_t kMountPointPathsKept = 100;

// The names of the version-control folders --exclude-vcs leaves out.
inline constexpr std::string_view kVersionControlFolders[] = {".git", ".hg", ".svn", ".bzr"};
// Those names one after another: ".git .hg .svn .bzr".
std::string VersionControlFolderList();

// Each of these returns why the text is refused, or an empty text when it is good; blanks at
// either end of a typed text are dropped first.

// Adds a pattern as typed, to apply everywhere, or below the folder only (given as RuleFolder
// gives it) when there is one. It is refused when it names no entry ("/", "./") or opens a '['
// that it never closes.
std::string AddPattern(EntryFilter& filter, std::string_view typed, const std::string& folder = {});
// Sets one end of the time range from a local ISO 8601 date or date and time as typed.
std::string SetRangeEnd(std::optional<std::int64_t>& end, std::string_view typed);
// Why the rules as a whole are refused: a pattern that is, or the time range is empty.
std::string RulesProblem(const EntryFilter& filter);

// Whether a last-write time lies within the filter's range.
bool WrittenInRange(std::int64_t lastWrite, const EntryFilter& filter);
