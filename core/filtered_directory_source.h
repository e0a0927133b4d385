#pragma once

#include "directory_source.h"
#include "entry_filter.h"
#include "entry_matcher.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

// A listing with some entries left out: the walk leaves out an entry whose name or path
// matches a pattern through EntryScreen (a folder is then never opened), a file written outside
// the range reads as gone (ENOENT), so the walk passes over it as over a vanished file, and a
// folder on another file system that is left out (a made-up one such as proc or sysfs unless the
// chosen folder is on one too, or any other with oneFileSystem) lists as empty; all are counted.
// Safe to call from several threads at once when the wrapped source is.
class CFilteredDirectorySource final : public CForwardingDirectorySource {
public:
    CFilteredDirectorySource(IDirectorySource& source, EntryFilter filter);

    OpenResult OpenRoot(const std::string& path) override;
    OpenResult OpenChild(Handle parent, const char* name) override;
    int List(Handle folder, CFolderListing& listing) override;
    EntryTime ReadTime(Handle folder, const char* name) override;
    void Close(Handle folder) override;
    IEntryScreen* EntryScreen() override { return m_matcher.IsEmpty() ? m_inner.EntryScreen() : &m_matcher; }

    // Entries left out for their names or paths, files for their times, and mount points not
    // entered since construction, as far as the filter asked for them, and the mount points'
    // paths (their names alone where the source cannot tell a path).
    LeftOutCounts Counts() const;

private:
    bool LeavesOutFileSystemOf(const OpenResult& opened);

    const EntryFilter m_filter;
    CEntryMatcher m_matcher;
    std::uint64_t m_rootDevice = 0;
    bool m_rootOnPseudoFileSystem = false;
    std::atomic<std::int64_t> m_filesOutsideRange{0};
    std::atomic<bool> m_anyEmptied{false}; // set once a folder has been left out

    mutable std::mutex m_mutex;                                        // guards the members below
    std::map<std::uint64_t, bool> m_pseudoDevices;                     // device -> made up
    std::set<Handle> m_emptied;                                        // open folders listed as empty
    std::set<std::pair<std::uint64_t, std::uint64_t>> m_mountsLeftOut; // device and inode
    std::vector<std::string> m_mountPaths; // of the first kMountPointPathsKept, as found
};
