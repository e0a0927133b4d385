#pragma once

#include "directory_source.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a walk leaves out: entries by name, and files written outside a time range.
struct EntryFilter {
    std::vector<std::string> excludedNames; // shell patterns (fnmatch) matched against the name alone
    std::optional<std::int64_t> since;      // the first second kept
    std::optional<std::int64_t> until;      // the first second no longer kept
};

// The names of the version-control folders --exclude-vcs leaves out.
inline constexpr std::string_view kVersionControlFolders[] = {".git", ".hg", ".svn", ".bzr"};

// Whether name matches one of the patterns. A '*' matches a leading dot too.
bool MatchesAnyPattern(const char* name, const std::vector<std::string>& patterns);

// Whether a last-write time lies within the filter's range.
bool WrittenInRange(std::int64_t lastWrite, const EntryFilter& filter);

// A listing with some entries left out: an entry whose name matches a pattern is not listed (a
// folder is then never opened), and a file written outside the range reads as gone (ENOENT), so
// the walk passes over it as over a vanished file; both are counted. Safe to call from several
// threads at once when the wrapped source is.
class CFilteredDirectorySource final : public CForwardingDirectorySource {
public:
    CFilteredDirectorySource(IDirectorySource& source, EntryFilter filter);

    int List(Handle folder, CFolderListing& listing) override;
    EntryTime ReadTime(Handle folder, const char* name) override;

    // Entries left out for their names, and files for their times, since construction.
    std::int64_t ExcludedEntries() const { return m_excludedEntries.load(std::memory_order_relaxed); }
    std::int64_t FilesOutsideRange() const { return m_filesOutsideRange.load(std::memory_order_relaxed); }

private:
    const EntryFilter m_filter;
    std::atomic<std::int64_t> m_excludedEntries{0};
    std::atomic<std::int64_t> m_filesOutsideRange{0};
};
