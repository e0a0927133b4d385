#pragma once

#include "directory_source.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What a walk leaves out, as the report's options and the window's Leave Out dialog both give
// it: entries by name or by path, the version-control folders, other file systems, and files
// written outside a time range.
struct EntryFilter {
    // Shell patterns (fnmatch): one without a '/' is matched against an entry's name alone, one
    // with a '/' against the entry's path relative to the chosen folder ("build/*.o").
    std::vector<std::string> excludedNames;
    bool excludeVersionControl = false;    // .git, .hg, .svn, .bzr
    bool oneFileSystem = false;            // stay on the chosen folder's file system
    std::optional<std::int64_t> since;     // the first second kept
    std::optional<std::int64_t> until;     // the first second no longer kept

    bool operator==(const EntryFilter&) const = default;
    // Whether entries are left out by name or path.
    bool LeavesOutNames() const { return excludeVersionControl || !excludedNames.empty(); }
};

// What a walk left out; the counts of entries and of files are there only when that kind of
// leaving out was asked for.
struct LeftOutCounts {
    std::optional<std::int64_t> excludedEntries;   // entries left out for their names or paths
    std::optional<std::int64_t> filesOutsideRange; // files written outside the time range
    std::int64_t mountPoints = 0;                  // mount points not entered
};

// The names of the version-control folders --exclude-vcs leaves out.
inline constexpr std::string_view kVersionControlFolders[] = {".git", ".hg", ".svn", ".bzr"};

// Whether name matches one of the patterns. A '*' matches a leading dot too.
bool MatchesAnyPattern(const char* name, const std::vector<std::string>& patterns);

// A pattern as it is matched: a path pattern loses a leading "/" or "./" and a trailing "/", so
// that "/build/", "./build" and "build" name the same folder below the chosen one. Empty when
// nothing is left of it.
std::string NormalisedPattern(std::string_view pattern);

// Whether a last-write time lies within the filter's range.
bool WrittenInRange(std::int64_t lastWrite, const EntryFilter& filter);

// A listing with some entries left out: an entry whose name or relative path matches a pattern
// is not listed (a folder is then never opened), a file written outside the range reads as gone
// (ENOENT), so the walk passes over it as over a vanished file, and a folder on another file
// system that is left out (a made-up one such as proc or sysfs unless the chosen folder is on
// one too, or any other with oneFileSystem) lists as empty; all are counted. Safe to call from
// several threads at once when the wrapped source is.
class CFilteredDirectorySource final : public CForwardingDirectorySource {
public:
    CFilteredDirectorySource(IDirectorySource& source, EntryFilter filter);

    OpenResult OpenRoot(const std::string& path) override;
    OpenResult OpenChild(Handle parent, const char* name) override;
    int List(Handle folder, CFolderListing& listing) override;
    EntryTime ReadTime(Handle folder, const char* name) override;
    void Close(Handle folder) override;

    // Entries left out for their names or paths, files for their times, and mount points
    // not entered, since construction.
    std::int64_t ExcludedEntries() const { return m_excludedEntries.load(std::memory_order_relaxed); }
    std::int64_t FilesOutsideRange() const { return m_filesOutsideRange.load(std::memory_order_relaxed); }
    std::int64_t MountPointsLeftOut() const;
    // The three counts, as far as the filter asked for them.
    LeftOutCounts Counts() const;

private:
    bool LeavesOutFileSystemOf(const OpenResult& opened);

    const EntryFilter m_filter;
    std::vector<std::string> m_namePatterns;
    std::vector<std::string> m_pathPatterns;
    std::uint64_t m_rootDevice = 0;
    bool m_rootOnPseudoFileSystem = false;
    std::atomic<std::int64_t> m_excludedEntries{0};
    std::atomic<std::int64_t> m_filesOutsideRange{0};
    std::atomic<bool> m_anyEmptied{false}; // set once a folder has been left out

    mutable std::mutex m_mutex; // guards the members below
    std::map<std::uint64_t, bool> m_pseudoDevices;               // device -> made up
    std::set<Handle> m_emptied;                                  // open folders listed as empty
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_mountsLeftOut; // device and inode
    std::map<Handle, std::string> m_paths;                       // open folder -> relative path
};
